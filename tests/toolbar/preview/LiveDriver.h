#pragma once
// Live preview driven from outside, as a person uses it: the preview button (through its
// warning), the browser window's live button, and waiting for what follows while watching that
// Corvane opens no box.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/ToolbarDriver.h"
#include "browser/BrowserItems.h"

namespace livetest {

using namespace testsupport;
using namespace toolbartest;

inline constexpr int kLiveButtonX = browser::BrowserItemLeft(browser::kLive);
// Live preview checks every half second and writes after one check without change: a second at
// most after typing pauses, given time to spare under load.
inline constexpr DWORD kFollowTimeoutMs = 4000;

// An unsaved document holding text.
inline HostSim::Options UnsavedDocument(const std::string& text) {
    HostSim::Options options;
    options.text = text;
    options.hasText = true;
    return options;
}

// The preview button, through its warning when the document has no file; with a scripted
// browser, until it has navigated once more.
inline void PreviewOn(CorvaneOnHost& corvane, const ScriptedBrowserRegistration* browser, bool warned) {
    const size_t navigated = browser ? browser->NavigatedUrls().size() : 0;
    corvane.ClickItem(kBtnKestrixtoBrouser);
    if (warned) {
        const HWND box = corvane.WaitForBox(5000);
        ASSERT_NE(box, nullptr) << "no warning";
        PressMessageBoxButton(box);
    }
    if (browser) {
        ASSERT_EQ(browser->WaitForNavigatedUrls(navigated + 1, 5000).size(), navigated + 1);
    }
    ASSERT_TRUE(WaitUntil([&] { return corvane.BrowserShown(); }, 3000));
}

inline void PressLiveOn(const CorvaneOnHost& corvane) {
    const int live = corvane.BrowserButtonAt(kLiveButtonX);
    ASSERT_GE(live, 0) << "no button at x = " << kLiveButtonX;
    corvane.ClickBrowserItem(live);
}

inline bool LiveCheckedOn(const CorvaneOnHost& corvane) {
    return (corvane.BrowserButton(corvane.BrowserButtonAt(kLiveButtonX)).fsState & TBSTATE_CHECKED) != 0;
}

// Waits until cond holds; false, with a test failure, when Corvane shows a box meanwhile.
inline bool WaitWithoutBox(const CorvaneOnHost& corvane, const std::function<bool()>& cond, DWORD timeoutMs) {
    bool box = false;
    const bool held = WaitUntil([&] { return (box = corvane.WaitForBox(0) != nullptr) || cond(); }, timeoutMs);
    EXPECT_FALSE(box) << "Corvane opened a box";
    return held && !box;
}

}  // namespace livetest
