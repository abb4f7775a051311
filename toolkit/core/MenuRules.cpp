#include "toolkit/core/MenuRules.h"

#include <algorithm>

namespace toolkit {

std::vector<bool> ShownMenuItems(std::span<const MenuSlot> items, bool reduceSeparators) {
    std::vector<bool> shown(items.size(), false);
    if (!reduceSeparators) {
        for (size_t i = 0; i < items.size(); ++i) shown[i] = items[i].visible;
        return shown;
    }
    // Walk backwards so that "the next visible item" is already known at each separator.
    bool nextIsItem = false;  // the next visible item exists and is not a separator
    std::vector<bool> itemFollows(items.size(), false);
    for (size_t i = items.size(); i-- > 0;) {
        if (!items[i].visible) continue;
        itemFollows[i] = nextIsItem;
        nextIsItem = !items[i].separator;
    }
    bool itemBefore = false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].visible) continue;
        if (items[i].separator) {
            shown[i] = itemBefore && itemFollows[i];
        } else {
            shown[i] = true;
            itemBefore = true;
        }
    }
    return shown;
}

bool ShowsAnyMenuItem(std::span<const MenuSlot> items, bool reduceSeparators) {
    // A reduced menu of separators alone shows none of them.
    return std::any_of(items.begin(), items.end(), [&](const MenuSlot& slot) {
        return slot.visible && (!reduceSeparators || !slot.separator);
    });
}

wchar_t AccessKeyOf(std::wstring_view caption) noexcept {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;  // "&&" draws one "&" and marks nothing
    }
    return 0;
}

}  // namespace toolkit
