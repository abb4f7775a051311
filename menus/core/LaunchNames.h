#pragma once
// Pure rules of the folder launch menu: which directory entries it lists, how it orders them,
// what a file item is called, which file names share a type icon, and the pixel copying that lets
// one rendered icon serve many items. No Windows header here: this builds and is tested natively.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace launchmenu {

// The attribute bits of a directory entry that the listing looks at.
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;

// Hidden and system folders are listed; "." and ".." are not folders of the tree.
bool IsListedFolder(std::string_view name, std::uint32_t attributes) noexcept;
// Hidden and system files are not listed, nor anything that is a folder.
bool IsListedFile(std::uint32_t attributes) noexcept;

// A folder's entries before sorting: "0" + folder name or "1" + file name, so that one sort over
// whole entries puts every folder before every file.
class FolderEntries {
public:
    void AddFolder(std::string_view name);
    void AddFile(std::string_view name);

    // less(a, b) decides the collation; entries that collate equal keep the order they were found in.
    void Sort(const std::function<bool(const std::string&, const std::string&)>& less);

    size_t Count() const noexcept { return entries_.size(); }
    bool IsFolder(size_t index) const { return entries_.at(index).front() == '0'; }
    std::string_view Name(size_t index) const { return std::string_view(entries_.at(index)).substr(1); }

private:
    std::vector<std::string> entries_;
};

// A file item's caption: the name up to its last ".", without it; the whole name when it has none.
std::string CaptionForFile(std::string_view fileName);

// Tells whether a byte opens a two-byte character in the program's ANSI code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// Names that share this key get the same type icon: the text from the name's last "." on (empty
// without one), single-byte letters in lower case. Never coarser than the shell's own notion of an
// extension, so asking once per key gives every file the icon it would get on its own.
std::string IconKeyForFile(std::string_view fileName, LeadBytePredicate isLeadByte);

// Copies a width x height block of 1-bit pixels (rows of srcStride bytes, most significant bit
// first) into dst at pixel column dstX of rows of dstStride bytes.
void CopyMonoBlock(const std::uint8_t* src, size_t srcStride, std::uint8_t* dst, size_t dstStride, size_t dstX,
                   size_t width, size_t height) noexcept;

}  // namespace launchmenu
