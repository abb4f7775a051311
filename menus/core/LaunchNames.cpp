#include "menus/core/LaunchNames.h"

#include <algorithm>
#include <cstring>

namespace menus {

bool IsListedFolder(std::wstring_view name, std::uint32_t attributes) noexcept {
    return (attributes & kAttributeDirectory) != 0 && name != L"." && name != L"..";
}

bool IsListedFile(std::uint32_t attributes) noexcept {
    return (attributes & (kAttributeDirectory | kAttributeHidden | kAttributeSystem)) == 0;
}

namespace {

std::wstring Prefixed(wchar_t kind, std::wstring_view name) {
    std::wstring entry;
    entry.reserve(name.size() + 1);
    entry += kind;
    entry += name;
    return entry;
}

}  // namespace

void FolderEntries::AddFolder(std::wstring_view name, bool isLink) { entries_.push_back({Prefixed(L'0', name), isLink}); }

void FolderEntries::AddFile(std::wstring_view name) { entries_.push_back({Prefixed(L'1', name), false}); }

void FolderEntries::Sort(const std::function<bool(const std::wstring&, const std::wstring&)>& less) {
    // A merge sort: a collation that is not a strict weak order can misplace entries but never
    // lose or duplicate one, nor read outside the list.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [&less](const Entry& a, const Entry& b) { return less(a.text, b.text); });
}

namespace {

// "*" and "?" matching with one remembered star: linear unless stars have to retry.
bool MatchesWildcards(std::wstring_view name, std::wstring_view pattern) noexcept {
    size_t n = 0, p = 0;
    size_t starAt = std::wstring_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (starAt != std::wstring_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::wstring_view name, std::wstring_view pattern) noexcept {
    if (MatchesWildcards(name, pattern)) return true;
    // "name.*" also finds "name": the dot and what follows may be missing altogether.
    constexpr std::wstring_view kAnyExtension = L".*";
    return pattern.size() >= kAnyExtension.size() && pattern.substr(pattern.size() - kAnyExtension.size()) == kAnyExtension &&
           name.find(L'.') == std::wstring_view::npos &&
           MatchesWildcards(name, pattern.substr(0, pattern.size() - kAnyExtension.size()));
}

void ListedFiles::Add(std::wstring_view folder, std::wstring_view name) {
    if (folders_.empty() || folders_.back() != folder) folders_.emplace_back(folder);
    files_.push_back(File{static_cast<std::uint32_t>(folders_.size() - 1), static_cast<std::uint32_t>(names_.size()),
                          static_cast<std::uint32_t>(name.size())});
    names_ += name;
}

void ListedFiles::ShrinkToFit() {
    folders_.shrink_to_fit();
    names_.shrink_to_fit();
    files_.shrink_to_fit();
}

std::wstring_view ListedFiles::Name(size_t file) const {
    const File& entry = files_.at(file);
    return std::wstring_view(names_).substr(entry.nameStart, entry.nameLength);
}

const std::wstring& ListedFiles::Folder(size_t file) const { return folders_.at(files_.at(file).folder); }

std::wstring ListedFiles::Path(size_t file) const {
    std::wstring path = Folder(file);
    path += Name(file);
    return path;
}

std::wstring CaptionForFile(std::wstring_view fileName) {
    const size_t dot = fileName.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos ? fileName : fileName.substr(0, dot));
}

std::wstring IconKeyForFile(std::wstring_view fileName) {
    const size_t dot = fileName.rfind(L'.');
    if (dot == std::wstring_view::npos) return {};
    std::wstring key(fileName.substr(dot));
    for (wchar_t& c : key)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
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

}  // namespace menus
