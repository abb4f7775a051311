#pragma once
// The tag menu: Tag.ini on disk (where it is, how it is read, whether it has changed) and the menu
// built from its groups.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "menus/core/TagFile.h"
#include "toolkit/Files.h"
#include "toolkit/FolderWatch.h"
#include "toolkit/Menu.h"
#include "toolkit/Module.h"

namespace menus {

using toolkit::IsAnsiLeadByte;

// A Tag.ini larger than this is refused with the file-open error rather than read: a real tag
// file is a few kilobytes, and the menu of a far larger one would be of no use.
inline constexpr std::size_t kTagFileLimit = 64u * 1024 * 1024;

// The executable's folder, with its trailing separator, plus "Tag.ini".
std::wstring TagFilePath();

// A tag file read and outlined, in whichever encoding it was saved. A file that cannot be opened or
// read, or is larger than kTagFileLimit, throws toolkit::Error "ファイル <path> は開けません"; the
// file is closed again before this returns. The file is read with others allowed to read and write
// it meanwhile, so a save in progress elsewhere cannot block it.
std::shared_ptr<const TagDocument> LoadTagDocument(const std::wstring& path);

// The groups of a tag file, each caption and entry as the bytes it sends to the host: an ANSI
// file's bytes as they are, a Unicode file's text in the code page (see HostText).
std::vector<TagGroup> LoadTagFile(const std::wstring& path);

// Text in the ANSI code page for the host: characters the code page cannot hold become HTML
// numeric character references.
std::string HostText(std::wstring_view text);

// Replaces the items of menu with one item per group, each with its entries in the reverse of
// their order in the file; a group's entry items are made when it first opens. Choosing an entry
// runs onChoose with the entry's item (TagEntryHostText gives what it inserts). A document without
// groups gives one disabled item that says so and names the file at path.
void BuildTagMenu(toolkit::TPopupMenu& menu, std::shared_ptr<const TagDocument> document,
                  const toolkit::TMenuClickEvent& onChoose, const std::wstring& path);
// The bytes an entry item sends to the host: the entry as written in the file, "&" and all.
std::string TagEntryHostText(const toolkit::TMenuItem& entry);
toolkit::TMenuItem& AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption);
toolkit::TMenuItem& AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index);

// The tag menu following its file: built from Tag.ini at first, and built again before a drop-down
// when the file has changed since (its size or last-write time differs, or its folder reported a
// change, and its bytes differ).
class TagMenuFile {
public:
    // Reads the file and builds the menu; throws the file-open error when the file cannot be read.
    TagMenuFile(std::wstring path, toolkit::TPopupMenu& menu, toolkit::TMenuClickEvent onChoose);

    // Brings the menu up to date before it drops down. When nothing changed this only looks at the
    // file's size and time. A file that cannot be read at this moment (being saved, deleted) keeps
    // the last menu, without a message; the next drop-down tries again.
    void Follow();

private:
    bool MayHaveChanged();

    std::wstring path_;
    toolkit::TPopupMenu& menu_;
    toolkit::TMenuClickEvent onChoose_;
    std::shared_ptr<const TagDocument> document_;
    std::optional<toolkit::FileStamp> stamp_;  // the file as last read; nothing while it is unreadable
    std::optional<toolkit::FolderWatch> folderChanges_;  // the file's folder
};

}  // namespace menus
