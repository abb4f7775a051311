// Live preview end to end: a staged Corvane planted in the stand-in host, the browser window served
// by the scripted control, the live button pressed with the mouse. An unsaved document is written
// into Buffer.htm again and the page refreshed (never navigated anew) once typing pauses; a saved
// document is refreshed when the editor saves it; nothing happens while live preview is off or the
// window hidden, nor while the window shows another page.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ScriptedBrowser.h"
#include "ToolbarDriver.h"
#include "hostlink/core/HostProtocol.h"

namespace {

using namespace testsupport;
using namespace toolbartest;

constexpr int kLiveButtonX = 452;
constexpr int kBackButtonX = 360;
// Live preview checks every half second and writes after one check without change: a second at
// most after typing pauses, given time to spare under load.
constexpr DWORD kFollowTimeoutMs = 4000;
// Long enough for several checks.
constexpr DWORD kQuietMs = 2000;

class LivePreview : public ::testing::Test {
protected:
    void Start(const std::string& text, const std::string& fileName = {}) {
        HostSim::Options options;
        options.text = text;
        options.hasText = true;
        corvane_.Start(options);
        if (HasFatalFailure() || fileName.empty()) return;
        corvane_.Host().SetFileName(fileName);
    }
    std::string BufferPath() const { return corvane_.Folder() + "Buffer.htm"; }
    std::string Buffer() const { return ReadFileBytes(BufferPath()); }

    // The preview button, through its warning when the document has no file.
    void Preview(bool warned) {
        corvane_.ClickItem(kBtnKestrixtoBrouser);
        if (warned) {
            const HWND box = corvane_.WaitForBox(5000);
            ASSERT_NE(box, nullptr) << "no warning";
            PressMessageBoxButton(box);
        }
        ASSERT_EQ(browser_.WaitForNavigatedUrls(1, 5000).size(), 1u);
        ASSERT_TRUE(WaitUntil([&] { return corvane_.BrowserShown(); }, 3000));
    }

    void PressLive() {
        const int live = corvane_.BrowserButtonAt(kLiveButtonX);
        ASSERT_GE(live, 0) << "no button at x = " << kLiveButtonX;
        corvane_.ClickBrowserItem(live);
    }
    bool LiveChecked() const {
        return (corvane_.BrowserButton(corvane_.BrowserButtonAt(kLiveButtonX)).fsState & TBSTATE_CHECKED) != 0;
    }

    size_t Count(const std::string& call) const {
        const std::vector<std::string> calls = browser_.Calls();
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }
    size_t Refreshes() const { return Count("Refresh"); }
    bool WaitForRefreshes(size_t count) const {
        return WaitUntil([&] { return Refreshes() >= count; }, kFollowTimeoutMs) && Refreshes() == count;
    }

    ScriptedBrowserRegistration browser_;
    CorvaneOnHost corvane_;
};

TEST_F(LivePreview, UnsavedDocumentIsRewrittenAndRefreshedOnlyOnceTypingPauses) {
    const std::string typed = Utf8ToAnsi("<p>打ち込み中の本文");
    Start(typed.substr(0, 3));
    Preview(true);
    PressLive();
    EXPECT_TRUE(LiveChecked());

    // One character every 150 ms: quicker than the checks, so every check sees a newer text.
    for (size_t length = 5; length <= typed.size(); length += 2) {  // whole double-byte characters
        corvane_.Host().SetText(typed.substr(0, length));
        PumpFor(150);
        ASSERT_EQ(Refreshes(), 0u) << "reloaded while typing, at " << length << " bytes";
        ASSERT_EQ(Buffer(), typed.substr(0, 3) + "\r\n") << "rewritten while typing";
    }
    EXPECT_TRUE(WaitForRefreshes(1));
    EXPECT_EQ(Buffer(), typed + "\r\n");
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 1u) << "reloaded again without a change";
    EXPECT_EQ(browser_.NavigatedUrls().size(), 1u) << "navigated anew instead of refreshing";
    EXPECT_TRUE(corvane_.Host().MessagesWithId(hostlink::kMsgSaveDocument).empty());

    // Under the next preview's warning live preview waits: the box comes first.
    corvane_.Host().SetText("<p>next</p>");
    corvane_.ClickItem(kBtnKestrixtoBrouser);
    const HWND box = corvane_.WaitForBox(5000);
    ASSERT_NE(box, nullptr);
    PumpFor(kQuietMs);
    EXPECT_EQ(Buffer(), typed + "\r\n") << "written under the warning";
    EXPECT_EQ(Refreshes(), 1u);
    PressMessageBoxButton(box);
    EXPECT_EQ(browser_.WaitForNavigatedUrls(2, 5000).size(), 2u);
    EXPECT_EQ(Buffer(), "<p>next</p>\r\n");
}

TEST_F(LivePreview, NothingHappensWhileOffOrHiddenAndFollowingResumesWhenShown) {
    Start("<p>one</p>");
    Preview(true);
    EXPECT_FALSE(LiveChecked()) << "live preview is off at start";
    corvane_.Host().SetText("<p>two</p>");
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 0u);
    EXPECT_EQ(Buffer(), "<p>one</p>\r\n");

    PressLive();
    EXPECT_TRUE(WaitForRefreshes(1)) << "turning live preview on does not catch up";
    EXPECT_EQ(Buffer(), "<p>two</p>\r\n");

    ::PostMessageW(corvane_.Browser(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !corvane_.BrowserShown(); }, 3000));
    corvane_.Host().SetText("<p>three</p>");
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 1u) << "followed while hidden";
    EXPECT_EQ(Buffer(), "<p>two</p>\r\n");

    ::ShowWindow(corvane_.Browser(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(WaitForRefreshes(2));
    EXPECT_EQ(Buffer(), "<p>three</p>\r\n");

    PressLive();
    EXPECT_FALSE(LiveChecked());
    corvane_.Host().SetText("<p>four</p>");
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 2u) << "followed after being turned off";
}

TEST_F(LivePreview, SavedDocumentIsRefreshedWhenTheEditorSavesItNotWhileItIsEdited) {
    const std::string dir = ScratchDir("live preview saved document");
    const std::string path = dir + Utf8ToAnsi("見本.htm");
    WriteFileBytes(path, "<p>saved</p>");
    Start("<p>saved</p>", path);
    Preview(false);
    PressLive();

    corvane_.Host().SetText("<p>edited, not saved</p>");
    corvane_.Host().SetModified(true);
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 0u) << "reloaded a file that did not change";

    ::SendMessageW(corvane_.Host().Main(), hostlink::kMsgSaveDocument, 0, 0);  // the editor saves
    EXPECT_EQ(ReadFileBytes(path), "<p>edited, not saved</p>");
    EXPECT_TRUE(WaitForRefreshes(1));
    EXPECT_EQ(browser_.NavigatedUrls().size(), 1u);
    EXPECT_EQ(corvane_.Host().MessagesWithId(hostlink::kMsgSaveDocument).size(), 1u) << "Corvane asked the host to save";
    EXPECT_FALSE(FileExists(BufferPath()));
    RemoveTree(dir);
}

TEST_F(LivePreview, AnotherPageStopsTheFollowingBackOnThePreviewResumesItAndASaveGoesOverToTheFile) {
    Start("<p>one</p>");
    Preview(true);
    PressLive();

    ::SendMessageA(corvane_.URL(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("http://example.org/"));
    corvane_.ClickItem(kBtnNavigate);
    ASSERT_EQ(browser_.WaitForNavigatedUrls(2, 5000).size(), 2u);
    corvane_.Host().SetText("<p>two</p>");
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 0u) << "reloaded another page";
    EXPECT_EQ(Buffer(), "<p>one</p>\r\n") << "followed while the window showed another page";

    corvane_.ClickBrowserItem(corvane_.BrowserButtonAt(kBackButtonX));
    EXPECT_TRUE(WaitForRefreshes(1)) << "not followed again back on the preview";
    EXPECT_EQ(Buffer(), "<p>two</p>\r\n");

    // Saved under a name in the editor: the window goes over to the file, without a save asked.
    const std::string dir = ScratchDir("live preview saved later");
    const std::string path = dir + "page.htm";
    WriteFileBytes(path, "<p>two</p>");
    corvane_.Host().SetFileName(path);
    EXPECT_EQ(browser_.WaitForNavigatedUrls(3, kFollowTimeoutMs).size(), 3u);
    EXPECT_EQ(browser_.NavigatedUrls().back(), path);
    EXPECT_TRUE(corvane_.Host().MessagesWithId(hostlink::kMsgSaveDocument).empty());
    PumpFor(kQuietMs);  // the window is there and the file's stamp known
    EXPECT_EQ(Refreshes(), 1u);
    WriteFileBytes(path, "<p>three</p>");
    EXPECT_TRUE(WaitForRefreshes(2)) << "the file is not followed";
    RemoveTree(dir);
}

}  // namespace
