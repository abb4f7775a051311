// Live preview end to end: a staged Corvane planted in the stand-in host, the browser window served
// by the scripted control, the live button pressed with the mouse. An unsaved document is written
// into Buffer.htm again and the page refreshed (never navigated anew) once typing pauses; a saved
// document is refreshed when the editor saves it; nothing happens while live preview is off or the
// window hidden, nor while the window shows another page.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/toolbar/preview/LiveDriver.h"
#include "tests/testbed/ScriptedBrowser.h"
#include "tests/testbed/ToolbarDriver.h"
#include "browser/BrowserItems.h"
#include "hostlink/core/HostProtocol.h"

namespace {

using namespace testsupport;
using namespace toolbartest;
using namespace livetest;

constexpr int kBackButtonX = browser::BrowserItemLeft(browser::kBack);
// Long enough for several checks.
constexpr DWORD kQuietMs = 2000;

class LivePreview : public ::testing::Test {
protected:
    void Start(const std::string& text, const std::string& fileName = {}) {
        corvane_.Start(UnsavedDocument(text));
        if (HasFatalFailure() || fileName.empty()) return;
        corvane_.Host().SetFileName(fileName);
    }
    std::string BufferPath() const { return corvane_.Folder() + "Buffer.htm"; }
    std::string Buffer() const { return ReadFileBytes(BufferPath()); }

    void Preview(bool warned) { PreviewOn(corvane_, &browser_, warned); }
    void PressLive() { PressLiveOn(corvane_); }
    bool LiveChecked() const { return LiveCheckedOn(corvane_); }

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

// Two editor windows, one Corvane each, both from one folder, both live: each shows its own text.
TEST_F(LivePreview, TwoInstancesInOneFolderEachWriteAndShowTheirOwnBufferFile) {
    Start("<p>first</p>");
    Preview(true);
    PressLive();
    CorvaneOnHost second;
    second.StartBeside(corvane_, UnsavedDocument("<p>second</p>"));
    ASSERT_FALSE(HasFatalFailure());
    PreviewOn(second, &browser_, true);
    PressLiveOn(second);
    const std::string own = corvane_.Folder() + "Buffer-" + std::to_string(second.Host().Handle32()) + ".htm";
    EXPECT_EQ(Buffer(), "<p>first</p>\r\n");
    EXPECT_EQ(ReadFileBytes(own), "<p>second</p>\r\n");
    const std::vector<std::string> urls = browser_.NavigatedUrls();
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0], BufferPath());
    EXPECT_EQ(urls[1], own);

    corvane_.Host().SetText("<p>first, typed</p>");
    second.Host().SetText("<p>second, typed</p>");
    EXPECT_TRUE(WaitForRefreshes(2));
    EXPECT_EQ(Buffer(), "<p>first, typed</p>\r\n");
    EXPECT_EQ(ReadFileBytes(own), "<p>second, typed</p>\r\n");
    EXPECT_EQ(browser_.NavigatedUrls().size(), 2u);

    // The second's file goes with it; Buffer.htm stays, as it always has.
    EXPECT_TRUE(second.Host().Close());
    EXPECT_TRUE(second.WaitForEnd(5000));
    EXPECT_FALSE(FileExists(own));
    EXPECT_EQ(Buffer(), "<p>first, typed</p>\r\n");
}

// A buffer file that cannot be replaced: no box, the reason in the caption, the following goes on
// and the text arrives once the file can be written again.
TEST_F(LivePreview, AFailedCheckIsShownInTheCaptionRetriedAndClearedWithoutABox) {
    Start("<p>one</p>");
    Preview(true);
    PressLive();
    ASSERT_TRUE(::SetFileAttributesA(BufferPath().c_str(), FILE_ATTRIBUTE_READONLY));
    corvane_.Host().SetText("<p>two</p>");
    const std::string status = "ライブ プレビュー: 更新できません (ファイル ";
    EXPECT_TRUE(WaitWithoutBox(corvane_, [&] { return WindowCaption(corvane_.Browser()).find(status) != std::string::npos; },
                               kFollowTimeoutMs))
        << WindowCaption(corvane_.Browser());
    EXPECT_FALSE(WaitWithoutBox(corvane_, [] { return false; }, kQuietMs));
    EXPECT_TRUE(LiveChecked());
    EXPECT_EQ(Buffer(), "<p>one</p>\r\n");
    EXPECT_EQ(Refreshes(), 0u);

    ASSERT_TRUE(::SetFileAttributesA(BufferPath().c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(WaitForRefreshes(1));
    EXPECT_EQ(Buffer(), "<p>two</p>\r\n");
    EXPECT_TRUE(WaitUntil([&] { return WindowCaption(corvane_.Browser()).find(status) == std::string::npos; }, 2000))
        << WindowCaption(corvane_.Browser());
    EXPECT_TRUE(LiveChecked());
}

// A save that keeps the file's size and last-write time (a coarse clock, a copy with its old time).
TEST_F(LivePreview, ASaveThatKeepsSizeAndTimeIsReloaded) {
    const std::string dir = ScratchDir("live preview same stamp");
    const std::string path = dir + "page.htm";
    WriteFileBytes(path, "<p>saved one</p>");
    Start("<p>saved one</p>", path);
    Preview(false);
    PressLive();
    PumpFor(kQuietMs);  // the file's stamp and content known
    WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &before);
    ASSERT_TRUE(WriteFileKeepingTime(path, "<p>saved two</p>"));
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &after);
    ASSERT_EQ(::CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    ASSERT_EQ(before.nFileSizeLow, after.nFileSizeLow);
    EXPECT_TRUE(WaitForRefreshes(1)) << "a save with the same size and time went unseen";
    PumpFor(kQuietMs);
    EXPECT_EQ(Refreshes(), 1u);
    RemoveTree(dir);
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

// Wine's own browser control has no engine and refuses every reload: live preview loads the page
// anew instead, through pause after pause, and never opens a box.
TEST(LivePreviewOwnControl, FollowsAnUnsavedDocumentThroughManyPausesWithoutABox) {
    CorvaneOnHost corvane;
    corvane.Start(UnsavedDocument("<p>0</p>"));
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    PreviewOn(corvane, nullptr, true);
    PressLiveOn(corvane);
    const std::string buffer = corvane.Folder() + "Buffer.htm";
    for (int pause = 1; pause <= 5; ++pause) {
        const std::string text = "<p>pause " + std::to_string(pause) + "</p>";
        corvane.Host().SetText(text);
        ASSERT_TRUE(WaitWithoutBox(corvane, [&] { return ReadFileBytes(buffer) == text + "\r\n"; }, kFollowTimeoutMs))
            << "pause " << pause;
        PumpFor(600);  // the reload after it
    }
    EXPECT_TRUE(LiveCheckedOn(corvane));
    EXPECT_EQ(WindowCaption(corvane.Browser()).find("ライブ プレビュー"), std::string::npos) << WindowCaption(corvane.Browser());
}

}  // namespace
