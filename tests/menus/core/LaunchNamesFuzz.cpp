// Fuzzes the file-name rules of the folder launch menu with names of UTF-16 units: a caption is
// the name or a prefix of it that holds no further "."; an icon key is the name's tail from its
// last "." and differs from it only in the letters A to Z; sorting keeps every entry; a name
// matches a pattern of itself and "*", and one name matched against the next as a pattern ends.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "menus/core/LaunchNames.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

void CheckName(const std::wstring& name) {
    const std::wstring caption = menus::CaptionForFile(name);
    Check(name.compare(0, caption.size(), caption) == 0);
    Check(caption.size() == name.size() || name[caption.size()] == L'.');
    Check(caption.size() == name.size() || name.find(L'.', caption.size() + 1) == std::wstring::npos);

    const std::wstring key = menus::IconKeyForFile(name);
    Check(key.empty() == (name.find(L'.') == std::wstring::npos));
    Check(key.size() == name.size() - (key.empty() ? name.size() : caption.size()));
    for (size_t i = 0; i < key.size(); ++i) Check(key[i] == Lower(name[caption.size() + i]));

    Check(menus::MatchesPattern(name, L"*"));
    if (name.find_first_of(L"*?") == std::wstring::npos) Check(menus::MatchesPattern(name, name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two bytes a unit, little-endian, as the file system's names are; a zero unit splits names.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    menus::FolderEntries entries;
    size_t names = 0;
    std::wstring previous;
    for (size_t start = 0; start <= text.size(); ++names) {
        size_t end = text.find(L'\0', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring name = text.substr(start, end - start);
        CheckName(name);
        menus::MatchesPattern(previous, name);
        previous = name;
        if (names % 2) entries.AddFolder(name); else entries.AddFile(name);
        start = end + 1;
    }
    entries.Sort([](const std::wstring& a, const std::wstring& b) { return a < b; });
    Check(entries.Count() == names);
    for (size_t i = 1; i < entries.Count(); ++i) Check(entries.IsFolder(i - 1) || !entries.IsFolder(i));
    return 0;
}
