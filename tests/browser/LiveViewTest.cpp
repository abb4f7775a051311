// What live preview asks of the browser window, in this process around the scripted control: a
// reload that the control refuses loads the same address anew without a box; live preview's problem stays in the caption, past every completed
// navigation, until it is cleared.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/browser/BrowserDriver.h"
#include "tests/testbed/TestSupport.h"

namespace {

using browsertest::CaptionOf;
using browsertest::ScriptedWindow;
using browsertest::Settle;
using scriptedbrowser::ScriptedDispatch;

constexpr wchar_t kPage[] = L"C:\\Corvane\\Buffer.htm";

void Complete(scriptedbrowser::ScriptedBrowserControl& control, const std::wstring& url, const std::wstring& name) {
    control.SetLocation(url, name);
    control.FireNavigateComplete2(nullptr, url);
    Settle();
}

TEST(BrowserLiveView, AReloadTheControlCannotMakeLoadsTheSameAddressWithoutABox) {
    ScriptedWindow window;
    auto& control = *window.control.Get();
    Complete(control, kPage, L"Buffer");
    control.SetDocument(ScriptedDispatch::Create());
    struct Case {
        const char* what;
        HRESULT refreshFails;  // S_OK: it does not
        std::vector<std::wstring> calls;
    };
    const std::wstring again = std::wstring(L"Navigate ") + kPage;
    const Case cases[] = {
        {"a control that reloads", S_OK, {L"Refresh"}},
        {"a control that refuses", E_FAIL, {L"Refresh", again}},
        {"a control that refuses without a description", E_NOTIMPL, {L"Refresh", again}},
    };
    for (const Case& c : cases) {
        control.ClearFailures();
        if (c.refreshFails != S_OK)
            control.FailMethod(L"Refresh", c.refreshFails, c.refreshFails == E_FAIL ? L"Scripted: no reload" : L"");
        const size_t before = control.Calls().size();
        EXPECT_NO_THROW(window.form->Reload()) << c.what;
        const std::vector<std::wstring> calls(control.Calls().begin() + static_cast<std::ptrdiff_t>(before),
                                              control.Calls().end());
        EXPECT_EQ(calls, c.calls) << c.what;
    }
    EXPECT_TRUE(testsupport::TopLevelWindowsOf(::GetCurrentProcessId(), "#32770").empty());
}

TEST(BrowserLiveView, AProblemStaysInTheCaptionThroughNavigationsUntilCleared) {
    ScriptedWindow window;
    auto& control = *window.control.Get();
    const HWND hwnd = window.form->Handle();
    Complete(control, kPage, L"ページ");
    const std::wstring problem = L"ファイル C:\\Corvane\\Buffer.htm を作成できません";
    const std::wstring status = L" \u2014 ライブ プレビュー: 更新できません (" + problem + L")";
    window.form->ShowLiveProblem(problem);
    EXPECT_EQ(CaptionOf(hwnd), L"Corvane Browser - ページ" + status);
    Complete(control, kPage, L"次のページ");
    EXPECT_EQ(CaptionOf(hwnd), L"Corvane Browser - 次のページ" + status);
    window.form->ShowLiveProblem(L"");
    EXPECT_EQ(CaptionOf(hwnd), L"Corvane Browser - 次のページ");
}

}  // namespace
