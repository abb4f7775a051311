#include "menus/TagMenu.h"

#include <windows.h>

#include <memory>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"

namespace menus {

namespace {

[[noreturn]] void ThrowCannotOpen(const std::string& path) {
    throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s は開けません", toolkit::AnsiToWide(path)));
}

std::string ReadWholeFile(const std::string& path) {
    const toolkit::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowCannotOpen(path);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) ThrowCannotOpen(path);
        if (read == 0) return bytes;
        bytes.append(buffer, read);
    }
}

}  // namespace

std::string TagFilePath() { return TagFilePathFor(toolkit::ExecutablePath(), &toolkit::IsAnsiLeadByte); }

std::vector<TagGroup> LoadTagFile(const std::string& path) {
    return ParseTagFile(ReadWholeFile(path), &toolkit::IsAnsiLeadByte);
}

void BuildTagMenu(toolkit::TPopupMenu& menu, const std::vector<TagGroup>& groups,
                  const toolkit::TMenuClickEvent& onChoose) {
    for (const TagGroup& group : groups) {
        toolkit::TMenuItem& groupItem = AddMenuItem(menu, group.caption);
        // Each entry goes in front of those read before it, so a group lists its entries bottom up.
        for (const std::string& entry : group.entries) AddSubMenuItem(groupItem, entry, 0).SetOnClick(onChoose);
    }
}

toolkit::TMenuItem& AddMenuItem(toolkit::TPopupMenu& menu, const std::string& caption) {
    return menu.Items().Add(std::make_unique<toolkit::TMenuItem>(caption));
}

toolkit::TMenuItem& AddSubMenuItem(toolkit::TMenuItem& parent, const std::string& caption, size_t index) {
    return parent.Insert(index, std::make_unique<toolkit::TMenuItem>(caption));
}

}  // namespace menus
