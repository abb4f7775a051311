#include "menus/core/LaunchNames.h"

#include <algorithm>
#include <cstring>

namespace launchmenu {

bool IsListedFolder(std::string_view name, std::uint32_t attributes) noexcept {
    return (attributes & kAttributeDirectory) != 0 && name != "." && name != "..";
}

bool IsListedFile(std::uint32_t attributes) noexcept {
    return (attributes & (kAttributeDirectory | kAttributeHidden | kAttributeSystem)) == 0;
}

void FolderEntries::AddFolder(std::string_view name) {
    std::string entry;
    entry.reserve(name.size() + 1);
    entry += '0';
    entry += name;
    entries_.push_back(std::move(entry));
}

void FolderEntries::AddFile(std::string_view name) {
    std::string entry;
    entry.reserve(name.size() + 1);
    entry += '1';
    entry += name;
    entries_.push_back(std::move(entry));
}

void FolderEntries::Sort(const std::function<bool(const std::string&, const std::string&)>& less) {
    // A merge sort: a collation that is not a strict weak order can misplace entries but never
    // lose or duplicate one, nor read outside the list.
    std::stable_sort(entries_.begin(), entries_.end(), less);
}

std::string CaptionForFile(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::string IconKeyForFile(std::string_view fileName, LeadBytePredicate isLeadByte) {
    // "." never occurs as the second byte of a two-byte character, so the last one found
    // byte by byte is a real one; lowering must skip second bytes, which can look like letters.
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string key(fileName.substr(dot));
    for (size_t i = 0; i < key.size(); ++i) {
        const auto byte = static_cast<unsigned char>(key[i]);
        if (isLeadByte(byte)) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            key[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return key;
}

void CopyMonoBlock(const std::uint8_t* src, size_t srcStride, std::uint8_t* dst, size_t dstStride, size_t dstX,
                   size_t width, size_t height) noexcept {
    if (dstX % 8 == 0 && width % 8 == 0) {
        for (size_t row = 0; row < height; ++row)
            std::memcpy(dst + row * dstStride + dstX / 8, src + row * srcStride, width / 8);
        return;
    }
    for (size_t row = 0; row < height; ++row) {
        const std::uint8_t* from = src + row * srcStride;
        std::uint8_t* to = dst + row * dstStride;
        for (size_t x = 0; x < width; ++x) {
            const bool set = (from[x / 8] >> (7 - x % 8)) & 1;
            const size_t bit = dstX + x;
            const auto mask = static_cast<std::uint8_t>(0x80u >> (bit % 8));
            if (set) {
                to[bit / 8] = static_cast<std::uint8_t>(to[bit / 8] | mask);
            } else {
                to[bit / 8] = static_cast<std::uint8_t>(to[bit / 8] & ~mask);
            }
        }
    }
}

}  // namespace launchmenu
