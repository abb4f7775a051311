#pragma once
// Pure rules of the folder launch menu: which directory entries it lists, how it orders them,
// what a file item is called, which file names share a type icon, and the pixel copying that lets
// one rendered icon serve many items. Names are UTF-16 text, as the file system gives them, so no
// name is cut or changed on its way into the menu. No Windows header here: this builds and is
// tested natively.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace menus {

// The attribute bits of a directory entry that the listing looks at.
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;

// Hidden and system folders are listed; "." and ".." are not folders of the tree.
bool IsListedFolder(std::wstring_view name, std::uint32_t attributes) noexcept;
// Hidden and system files are not listed, nor anything that is a folder.
bool IsListedFile(std::uint32_t attributes) noexcept;

// A folder's entries before sorting: "0" + folder name or "1" + file name, so that one sort over
// whole entries puts every folder before every file. A folder may be marked as a link (a junction
// or a symbolic link), which can lead back to a folder above it.
class FolderEntries {
public:
    void AddFolder(std::wstring_view name, bool isLink = false);
    void AddFile(std::wstring_view name);

    // less(a, b) decides the collation; entries that collate equal keep the order they were found in.
    void Sort(const std::function<bool(const std::wstring&, const std::wstring&)>& less);

    size_t Count() const noexcept { return entries_.size(); }
    bool IsFolder(size_t index) const { return entries_.at(index).text.front() == L'0'; }
    bool IsLink(size_t index) const { return entries_.at(index).isLink; }
    std::wstring_view Name(size_t index) const { return std::wstring_view(entries_.at(index).text).substr(1); }

private:
    struct Entry {
        std::wstring text;
        bool isLink = false;
    };
    std::vector<Entry> entries_;
};

// Whether a file name matches a pattern of the platform's wildcard syntax ("*.url"), the way a
// folder listing matches it: "*" stands for any run of characters, "?" for any one, and a pattern
// that ends in ".*" also matches a name without any dot ("*.*" matches every name). Letters are
// compared as given: the caller folds the case of both first.
bool MatchesPattern(std::wstring_view name, std::wstring_view pattern) noexcept;

// A file item's caption: the name up to its last ".", without it; the whole name when it has none.
std::wstring CaptionForFile(std::wstring_view fileName);

// Names that share this key get the same type icon: the text from the name's last "." on (empty
// without one), the letters A to Z in lower case. Never coarser than the shell's own notion of an
// extension, so asking once per key gives every file the icon it would get on its own.
std::wstring IconKeyForFile(std::wstring_view fileName);

// The files of one load, in their order: each folder's path is kept once, and every name in one
// buffer, so that a large load keeps a few bytes per file besides its name rather than a string
// of its whole path.
class ListedFiles {
public:
    // A file named name in the folder at folder (a path ending with its separator). The files of a
    // folder come one after another.
    void Add(std::wstring_view folder, std::wstring_view name);
    // Gives back the room kept for more files: the list is complete.
    void ShrinkToFit();

    size_t Count() const noexcept { return files_.size(); }
    // File number file's name, the path of its folder (with its separator) and its whole path.
    std::wstring_view Name(size_t file) const;
    const std::wstring& Folder(size_t file) const;
    std::wstring Path(size_t file) const;

private:
    struct File {
        std::uint32_t folder;
        std::uint32_t nameStart;
        std::uint32_t nameLength;
    };
    std::vector<std::wstring> folders_;
    std::wstring names_;
    std::vector<File> files_;
};

// Copies a width x height block of 1-bit pixels (rows of srcStride bytes, most significant bit
// first) into dst at pixel column dstX of rows of dstStride bytes.
void CopyMonoBlock(const std::uint8_t* src, size_t srcStride, std::uint8_t* dst, size_t dstStride, size_t dstX,
                   size_t width, size_t height) noexcept;

}  // namespace menus
