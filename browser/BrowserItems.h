#pragma once
// The browser window's tool bar items, left to right: what each is, how wide it is, its picture and
// its tooltip. No item names its place: each sits where the one before it ends. The window
// (browser/Unit2.cpp) says what each item does; whatever drives the bar from outside (tests,
// benchmarks) asks here where an item is.

#include <windows.h>

#include "toolkit/ToolBar.h"

namespace browser {

enum BrowserItemId : int { kAddress = 1, kNavigate, kBack, kForward, kRefresh, kStop, kLive, kScriptErrors };

inline constexpr SIZE kBrowserButtonSize{23, 22};
inline constexpr int kAddressWidth = 337;

inline constexpr wchar_t kLiveTip[] = L"ライブ プレビュー: 編集に合わせて自動で表示を更新します";

inline constexpr toolkit::ToolItem kBrowserItems[] = {
    {kAddress, toolkit::ToolKind::Placeholder, kAddressWidth},
    {kNavigate, toolkit::ToolKind::Button, 0, 0},
    {kBack, toolkit::ToolKind::Button, 0, 1},
    {kForward, toolkit::ToolKind::Button, 0, 2},
    {kRefresh, toolkit::ToolKind::Button, 0, 3},
    {kStop, toolkit::ToolKind::Button, 0, 4},
    {kLive, toolkit::ToolKind::Check, 0, 5, kLiveTip},
    {kScriptErrors, toolkit::ToolKind::Button, 0, 6},
};

// An item's left edge in the bar's client area, while no item before it is hidden.
constexpr int BrowserItemLeft(int id) { return toolkit::LeftOf(kBrowserItems, id, kBrowserButtonSize.cx); }

// The places the buttons have always had: users know the bar by them.
static_assert(BrowserItemLeft(kNavigate) == 337 && BrowserItemLeft(kBack) == 360 && BrowserItemLeft(kForward) == 383 &&
              BrowserItemLeft(kRefresh) == 406 && BrowserItemLeft(kStop) == 429 && BrowserItemLeft(kLive) == 452 &&
              BrowserItemLeft(kScriptErrors) == 475);

}  // namespace browser
