#include "menus/TagMenu.h"

#include <memory>

#include "toolkit/Error.h"
#include "toolkit/Files.h"
#include "toolkit/Module.h"
#include "toolkit/Text.h"

namespace menus {

std::wstring TagFilePath() { return TagFilePathFor(toolkit::ExecutablePath()); }

std::vector<TagGroup> LoadTagFile(const std::wstring& path) {
    const std::optional<std::string> bytes = toolkit::ReadFileBytes(path, kTagFileLimit + 1);
    if (!bytes || bytes->size() > kTagFileLimit)
        throw toolkit::Error(toolkit::FormatMessageText(L"ファイル %s は開けません", path));
    return ParseTagFile(*bytes, &toolkit::IsAnsiLeadByte);
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
