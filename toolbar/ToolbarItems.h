#pragma once
// The planted toolbar's items, left to right: what each is, how wide it is, its picture and its
// tooltip. No item names its place: each sits where the one before it ends, so a new or wider
// item moves the ones after it. The form (toolbar/Unit1.cpp) says what each item does; whatever
// drives the toolbar from outside (tests, tools, benchmarks) asks here where an item is.

#include <windows.h>

#include "toolkit/ToolBar.h"

namespace toolbar {

enum ToolbarItemId : int {
    kToolButton4 = 1,
    kBtnKestrixtoBrouser,
    kURL,  // the address box's place
    kBtnNavigate,
    kBtnFavorite,
    kToolButton9,
    kBtnTag,
    kToolButton1,
    kBtnClose,
};

inline constexpr SIZE kToolbarButtonSize{23, 22};

inline constexpr toolkit::ToolItem kToolbarItems[] = {
    {kToolButton4, toolkit::ToolKind::Separator, 8},
    {kBtnKestrixtoBrouser, toolkit::ToolKind::Button, 0, 1},
    {kURL, toolkit::ToolKind::Placeholder, 121},
    {kBtnNavigate, toolkit::ToolKind::Button, 0, 7},
    {kBtnFavorite, toolkit::ToolKind::DropDown, 0, 8},
    {kToolButton9, toolkit::ToolKind::Separator, 8},
    {kBtnTag, toolkit::ToolKind::DropDown, 0, 0},
    {kToolButton1, toolkit::ToolKind::Button, 0, 9},
    {kBtnClose, toolkit::ToolKind::Button, 0, 6, L"Corvane を終了します"},
};

// An item's left edge in the toolbar control's client area, which is the planted window's.
constexpr int ToolbarItemLeft(int id) { return toolkit::LeftOf(kToolbarItems, id, kToolbarButtonSize.cx); }

// An item's width: a button's, or the separator's or placeholder's own.
constexpr int ToolbarItemWidth(int id) {
    const toolkit::ToolItem* item = toolkit::FindItem(kToolbarItems, id);
    return item ? toolkit::WidthOf(*item, kToolbarButtonSize.cx) : 0;
}

// The x of an item's middle, where a click on it lands.
constexpr int ToolbarItemMiddle(int id) { return ToolbarItemLeft(id) + ToolbarItemWidth(id) / 2; }

// The places the items have always had: users know the toolbar by them.
static_assert(ToolbarItemLeft(kToolButton4) == 0 && ToolbarItemLeft(kBtnKestrixtoBrouser) == 8 &&
              ToolbarItemLeft(kURL) == 31 && ToolbarItemLeft(kBtnNavigate) == 152 &&
              ToolbarItemLeft(kBtnFavorite) == 175 && ToolbarItemLeft(kToolButton9) == 198 &&
              ToolbarItemLeft(kBtnTag) == 206 && ToolbarItemLeft(kToolButton1) == 229 &&
              ToolbarItemLeft(kBtnClose) == 252);

}  // namespace toolbar
