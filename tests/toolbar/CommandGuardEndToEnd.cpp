// The planted toolbar stays live under Corvane's own boxes, since a box disables only top-level
// windows: while a box or menu of Corvane is open, or before its browser window exists, the
// toolbar takes no command. A staged Corvane in the stand-in host, the browser window scripted.

#include <gtest/gtest.h>

#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/ToolbarDriver.h"

namespace {

using namespace testsupport;
using namespace toolbartest;

constexpr char kRefuseVariable[] = "CORVANE_SCRIPTED_BROWSER_REFUSE";

// Checks, after a moment, that the one box is still alone, no menu came up and the browser was
// never sent anywhere.
void ExpectNothingStarted(CorvaneOnHost& corvane, const ScriptedBrowserRegistration& browser) {
    PumpFor(500);
    EXPECT_EQ(corvane.VisibleWindows("#32770").size(), 1u) << "a box opened inside the first";
    EXPECT_TRUE(corvane.VisibleWindows("#32768").empty()) << "a menu opened inside the box";
    EXPECT_TRUE(browser.NavigatedUrls().empty());
    EXPECT_TRUE(corvane.Corvane().Running());
}

// A click on an item and Enter in the address box, posted to Corvane's windows as the system
// delivers them.
void PostClick(const CorvaneOnHost& corvane, int index) {
    const RECT item = corvane.ItemRect(index);
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::PostMessageW(corvane.Buttons(), WM_MOUSEMOVE, 0, point);
    ::PostMessageW(corvane.Buttons(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(corvane.Buttons(), WM_LBUTTONUP, 0, point);
}

void PostEnter(const CorvaneOnHost& corvane) {
    ::PostMessageW(corvane.URL(), WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(corvane.URL(), WM_CHAR, '\r', 1);
}

TEST(CommandGuard, WhileABoxIsOpenTheToolbarTakesNoCommand) {
    ScriptedBrowserRegistration browser;
    CorvaneOnHost corvane;
    HostSim::Options options;
    options.text = "<p>unsaved</p>";
    options.hasText = true;
    corvane.Start(options);

    corvane.ClickItem(kBtnKestrixtoBrouser);  // a document without a file: the warning first
    const HWND box = corvane.WaitForBox(5000);
    ASSERT_NE(box, nullptr);
    corvane.ClickItem(kBtnKestrixtoBrouser);
    corvane.ClickItem(kBtnTag);
    corvane.FocusURL(0);
    PressKey(VK_RETURN);
    corvane.ClickItem(kBtnNavigate);
    ExpectNothingStarted(corvane, browser);
    PressMessageBoxButton(box);

    // The one preview that was asked for goes on; nothing else was queued behind the box.
    EXPECT_EQ(browser.WaitForNavigatedUrls(1, 5000), std::vector<std::string>{corvane.Folder() + "Buffer.htm"});
    PumpFor(500);
    EXPECT_EQ(browser.NavigatedUrls().size(), 1u);
    EXPECT_EQ(corvane.WaitForBox(0), nullptr);
}

TEST(CommandGuard, ABrowserWindowThatCouldNotBeMadeEndsWithExitCode1WhateverArrivesMeanwhile) {
    ScriptedBrowserRegistration browser;
    CorvaneOnHost corvane;
    ::SetEnvironmentVariableA(kRefuseVariable, "1");
    corvane.Start(HostSim::Options{});
    ::SetEnvironmentVariableA(kRefuseVariable, nullptr);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());

    const HWND box = corvane.WaitForBox(15000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowCaption(box), "アプリケーション エラー");
    // Wine keeps real input away from the planted toolbar while this task-modal box is open, so
    // the clicks and the key arrive as posted messages.
    PostClick(corvane, kBtnKestrixtoBrouser);
    PostClick(corvane, kBtnNavigate);
    PostEnter(corvane);
    ExpectNothingStarted(corvane, browser);
    PressMessageBoxButton(box);
    DWORD exitCode = 0;
    ASSERT_TRUE(corvane.Corvane().WaitExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

}  // namespace
