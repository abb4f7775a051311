#pragma once
// Live preview's decisions: after a preview, whether one check of the browser window and the host
// calls for rewriting Buffer.htm, reloading the page or going over to the document's new file.
// What a check sees comes in through LiveSight, looked at only as far as the decision needs it, so
// one check costs at most one read of the host's text or one look at a file, and a read of the
// file's content only when its folder has changed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace toolbar {

// A file's size and last-write time, as the file system gives them.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool operator==(const FileStamp&) const = default;
};

// Where a check looks. Addresses and paths are UTF-16, as the file system and the browser name them.
class LiveSight {
public:
    virtual ~LiveSight() = default;
    // Whether the browser window's address is still address.
    virtual bool WindowShows(const std::wstring& address) = 0;
    // The host document's file name; empty while it has none.
    virtual std::wstring HostFileName() = 0;
    // Nothing when the text cannot be read (the host gone, the text refused): no empty document.
    virtual std::optional<std::string> HostText() = 0;
    // Nothing when the file cannot be looked at (gone, or not yet there).
    virtual std::optional<FileStamp> StampOf(const std::wstring& path) = 0;
    // Whether anything in path's folder may have changed since the last call for that folder (a
    // change notification arrived, or the folder cannot be watched); false at the first call.
    virtual bool FolderChanged(const std::wstring& path) = 0;
    // ContentHash of the file's bytes; nothing when it cannot be read.
    virtual std::optional<std::uint64_t> ContentHashOf(const std::wstring& path) = 0;
};

struct LiveAction {
    enum Kind {
        None,
        Rewrite,  // write text into Buffer.htm as the preview does, then reload the page
        Reload,   // reload the page where it is
        Open,     // send the window to address (the document's own file)
    };
    Kind kind = None;
    std::string text;     // Rewrite: the host's text
    std::wstring address;  // Open: the file
};

class LiveFollow {
public:
    // The preview button sent the window to bufferAddress after writing text into it.
    void PreviewedText(std::wstring bufferAddress, std::string text);
    // The preview button sent the window to the document's own file.
    void PreviewedFile(std::wstring path);
    // Nothing is followed until the next preview.
    void Forget();
    // The action of the last check could not be carried out: a later check calls for it again.
    void Failed();

    bool Following() const noexcept { return kind_ != Kind::Nothing; }
    // One check.
    LiveAction Check(LiveSight& sight);

private:
    enum class Kind { Nothing, Text, File };

    LiveAction CheckText(LiveSight& sight);
    LiveAction CheckFile(LiveSight& sight);

    Kind kind_ = Kind::Nothing;
    std::wstring address_;               // where the preview sent the window
    std::optional<std::string> written_;  // Text: what Buffer.htm last received; nothing: not known
    std::optional<std::string> seen_;    // Text: a changed text seen at the last check
    bool stampKnown_ = false;            // File: stamp_ holds what the last check saw
    std::optional<FileStamp> stamp_;
    std::optional<std::uint64_t> hash_;  // File: the content's hash as last read
    bool hashOwed_ = false;              // File: the folder changed and the content is still to be read
    LiveAction::Kind owed_ = LiveAction::None;  // a reload or an opening that failed
    LiveAction::Kind last_ = LiveAction::None;  // what the last check called for
};

// A cheap 64-bit hash of bytes (FNV-1a), to tell one content from another.
std::uint64_t ContentHash(std::string_view bytes) noexcept;

// Whether the address a browser reports (a plain path, or a file URL with "/" and %-escapes of
// UTF-8 bytes) names the file at path. Paths compare without regard to ASCII case or the kind of
// separator.
bool IsAddressOf(std::wstring_view location, std::wstring_view path);

}  // namespace toolbar
