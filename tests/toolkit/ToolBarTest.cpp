// The tool bar built from a table of items, in this process on real windows: where the items sit,
// what a click on each kind of item reports, check buttons, tooltips, a control kept over its
// placeholder, and notifications that reach the control that sent them instead of its parent.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "tests/testbed/TestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/ImageList.h"
#include "toolkit/ToolBar.h"
#include "toolkit/Window.h"

namespace {

using toolkit::ToolItem;
using enum toolkit::ToolKind;

enum Id : int { kGap = 1, kPlain, kSlot, kLive, kMenu, kClose };

// An item and the place the bar must give it.
struct Row {
    ToolItem item;
    int x;
};

constexpr Row kRows[] = {
    {{kGap, Separator, 8}, 0},
    {{kPlain, Button, 0, 0}, 8},
    {{kSlot, Placeholder, 40}, 31},
    {{kLive, Check, 0, 1, L"Live"}, 71},
    {{kMenu, DropDown, 0, 2}, 94},
    {{kClose, Button, 0, 3, L"Close"}, 117},
};

constexpr std::array<ToolItem, std::size(kRows)> ItemsOf(const Row (&rows)[std::size(kRows)]) {
    std::array<ToolItem, std::size(kRows)> items{};
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = rows[i].item;
    return items;
}
constexpr auto kItems = ItemsOf(kRows);

constexpr bool EveryItemWhereItsRowSays() {
    for (const Row& row : kRows)
        if (toolkit::LeftOf(kItems, row.item.id, 23) != row.x) return false;
    return true;
}
static_assert(EveryItemWhereItsRowSays());
static_assert(toolkit::LeftOf(kItems, 99, 23) == -1);  // no such item

// A window of the toolkit that records the WM_COMMAND messages it gets itself.
class Parent : public toolkit::Window {
public:
    Parent() {
        toolkit::WindowPlacement placement;
        placement.style = WS_POPUP | WS_VISIBLE;
        placement.x = 40;
        placement.y = 40;
        placement.width = 300;
        placement.height = 60;
        CreateWindowObject(toolkit::WindowClass{L"ToolBarTestParent", 0, ::GetSysColorBrush(COLOR_BTNFACE)}, L"",
                           placement);
    }
    std::vector<HWND> commandSenders;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commandSenders.push_back(reinterpret_cast<HWND>(lParam));
        return Default(message, wParam, lParam);
    }
};

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool initialized = false;
        if (!initialized) toolkit::App().Initialize();
        initialized = true;
        const toolkit::ToolBarLook look{{0, 0, 300, 28}, {23, 22}, false};
        bar_ = std::make_unique<toolkit::TToolBar>(parent_.Handle(), look, images_, images_, kItems);
        bar_->OnItem = [this](int id) { chosen_.push_back(id); };
        testsupport::PumpFor(50);
    }

    void Click(int id) {
        const RECT rect = bar_->ItemRect(id);
        const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        ::PostMessageW(bar_->Handle(), WM_MOUSEMOVE, 0, point);
        ::PostMessageW(bar_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::PostMessageW(bar_->Handle(), WM_LBUTTONUP, 0, point);
        testsupport::PumpFor(100);
    }

    Parent parent_;
    toolkit::TImageList images_{toolkit::kSmallImageSize, toolkit::kSmallImageSize};
    std::unique_ptr<toolkit::TToolBar> bar_;
    std::vector<int> chosen_;
};

TEST_F(ToolBarTest, ItemsSitWhereTheTableSaysAndEachClickReportsItsItemOnce) {
    for (const Row& row : kRows) EXPECT_EQ(bar_->ItemRect(row.item.id).left, row.x) << "item " << row.item.id;
    EXPECT_EQ(bar_->ItemRect(kSlot).right - bar_->ItemRect(kSlot).left, 40);

    Click(kPlain);
    Click(kMenu);  // a drop-down button reports its press, not a click besides
    Click(kClose);
    Click(kGap);   // separators and placeholders report nothing
    Click(kSlot);
    EXPECT_EQ(chosen_, (std::vector<int>{kPlain, kMenu, kClose}));
    // The bar's own clicks never reach its parent's handler.
    EXPECT_TRUE(parent_.commandSenders.empty());

    bar_->SetEnabled(kPlain, false);
    Click(kPlain);
    EXPECT_FALSE(bar_->Enabled(kPlain));
    EXPECT_EQ(chosen_.size(), 3u);
}

TEST_F(ToolBarTest, CheckButtonsToggleOnEveryClickAndReportIt) {
    EXPECT_FALSE(bar_->Checked(kLive));
    Click(kLive);
    EXPECT_TRUE(bar_->Checked(kLive));
    Click(kLive);
    EXPECT_FALSE(bar_->Checked(kLive));
    EXPECT_EQ(chosen_, (std::vector<int>{kLive, kLive}));
    bar_->SetChecked(kLive, true);
    EXPECT_TRUE(bar_->Checked(kLive));
}

TEST_F(ToolBarTest, TooltipsAreTheBarsOwnOnePerItemWithATip) {
    EXPECT_EQ(::GetWindowLongW(bar_->Handle(), GWL_STYLE) & TBSTYLE_TOOLTIPS, 0);
    const HWND tooltip = reinterpret_cast<HWND>(::SendMessageW(bar_->Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    wchar_t text[16] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = bar_->Handle();
    tool.uId = kLive;
    tool.lpszText = text;
    ::SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Live");
}

TEST_F(ToolBarTest, APlacedControlFollowsItsPlaceholderAndNotificationsOfOtherChildrenReachTheParent) {
    const HWND box = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 40, 22, bar_->Handle(), nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
    bar_->PlaceOver(kSlot, box);
    const auto leftOfBox = [&] {
        RECT rect{};
        ::GetWindowRect(box, &rect);
        ::MapWindowPoints(nullptr, bar_->Handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect.left;
    };
    EXPECT_EQ(leftOfBox(), 31);
    bar_->SetFlat(false);
    EXPECT_EQ(leftOfBox(), bar_->ItemRect(kSlot).left);

    // A child that is no object of the toolkit leaves its notifications to the parent.
    const HWND plain = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 200, 30, 40, 20,
                                         parent_.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(parent_.Handle(), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(parent_.commandSenders, std::vector<HWND>{plain});
    EXPECT_TRUE(chosen_.empty());
}

}  // namespace
