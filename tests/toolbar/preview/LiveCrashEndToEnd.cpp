// Live preview end to end while the editor dies: a staged Corvane planted in the stand-in host,
// the browser window served by the scripted control, live preview following an unsaved document,
// and the editor killed at a moment drawn anew each trial. The buffer file keeps the editor's last
// text: checks that find no editor never take that for an empty document.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/toolbar/preview/LiveDriver.h"

namespace {

using namespace livetest;

TEST(LivePreviewEditorKilled, BufferKeepsTheEditorsLastTextWhenTheEditorIsKilledAtAnyMoment) {
    constexpr int kTrials = 6;
    ScriptedBrowserRegistration browser;
    std::mt19937 random(16);
    for (int trial = 0; trial < kTrials; ++trial) {
        const std::string last = Utf8ToAnsi("<p>試行 " + std::to_string(trial) + " の最後の文</p>");
        // Spread over two check intervals, so that every phase of the checks is met.
        const DWORD killAfterMs = static_cast<DWORD>(trial * 1000 / kTrials) + random() % (1000 / kTrials);
        CorvaneOnHost corvane;
        corvane.Start(UnsavedDocument("<p>start</p>"));
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        PreviewOn(corvane, &browser, true);
        PressLiveOn(corvane);
        corvane.Host().SetText(last);
        const std::string buffer = corvane.Folder() + "Buffer.htm";
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(buffer) == last + "\r\n"; }, kFollowTimeoutMs)) << trial;
        PumpFor(killAfterMs);
        corvane.Host().Proc().Kill();
        EXPECT_TRUE(corvane.WaitForEnd(5000)) << "trial " << trial;
        EXPECT_EQ(ReadFileBytes(buffer), last + "\r\n") << "trial " << trial << ", killed " << killAfterMs << " ms after";
    }
}

}  // namespace
