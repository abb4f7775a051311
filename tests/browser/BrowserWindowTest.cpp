// The browser window around the scripted control, in this process, driven through its real
// windows: layout, the address box's keys, the buttons, the two events, hiding and showing, and
// the error box for a control that fails.

#include <windows.h>
#include <commctrl.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <iterator>

#include "tests/browser/BrowserDriver.h"
#include "tests/testbed/TestSupport.h"
#include "browser/BrowserItems.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"

namespace {

using browsertest::Ansi;
using browsertest::AnsiTextOf;
using browsertest::CaptionOf;
using browsertest::Click;
using browsertest::Parts;
using browsertest::ErrorBoxWatcher;
using browsertest::PressKey;
using browsertest::ScriptedWindow;
using browsertest::Settle;
using browsertest::TypeText;
using Microsoft::WRL::ComPtr;
using scriptedbrowser::ScriptedBrowserControl;
using scriptedbrowser::ScriptedDispatch;

RECT ChildRect(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ButtonRect(TForm2& form, const TToolButton& button) {
    RECT rect{};
    ::SendMessageW(Parts(form).ToolBar1.Handle(), TB_GETRECT, static_cast<WPARAM>(button.Id()), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

std::vector<std::wstring> NoCalls() { return {}; }

class BrowserWindow : public ::testing::Test {
protected:
    ScriptedWindow window;
    TForm2& form = *window.form;
    ScriptedBrowserControl& control = *window.control.Get();
    HWND edit = Parts(form).Edt_URL.Handle();

    void SetAddress(const std::string& ansi) {
        Parts(form).Edt_URL.SetText(ansi);
        Settle();
    }
    void CompleteNavigation(const std::wstring& url, const std::wstring& name, IDispatch* frame = nullptr) {
        control.SetLocation(url, name);
        control.FireNavigateComplete2(frame, url);
        Settle();
    }
};

TEST(BrowserLayout, StartsHiddenEmptyAndLaidOutAsDesigned) {
    browsertest::EnsureApplication();
    browsertest::ScriptedControlInjection injection(ScriptedBrowserControl::Create());
    TForm2 fresh;
    const HWND hwnd = fresh.Handle();
    EXPECT_EQ(testsupport::ClassNameOf(hwnd), "TForm2");
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_EQ(CaptionOf(hwnd), L"Corvane Browser");
    EXPECT_EQ(::GetWindow(hwnd, GW_OWNER), toolkit::App().Handle());
    const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
    for (const LONG bit : {WS_THICKFRAME, WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_CAPTION})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;

    RECT outer{}, client{};
    ::GetWindowRect(hwnd, &outer);
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(outer.left, 219);
    EXPECT_EQ(outer.top, 211);
    EXPECT_EQ(client.right, 688);
    EXPECT_EQ(client.bottom, 453);

    const RECT bar = ChildRect(Parts(fresh).ToolBar1.Handle());
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.right - bar.left, 688);
    EXPECT_EQ(bar.bottom - bar.top, 29);
    EXPECT_EQ(::GetWindowLongW(Parts(fresh).ToolBar1.Handle(), GWL_STYLE) & TBSTYLE_TOOLTIPS, 0);

    const RECT address = ChildRect(Parts(fresh).Edt_URL.Handle());
    EXPECT_EQ(::GetParent(Parts(fresh).Edt_URL.Handle()), Parts(fresh).ToolBar1.Handle());
    EXPECT_EQ(address.left, 0);
    EXPECT_EQ(address.top, 0);
    EXPECT_EQ(address.right - address.left, browser::kAddressWidth);
    EXPECT_EQ(address.bottom - address.top, 22);
    EXPECT_EQ(AnsiTextOf(Parts(fresh).Edt_URL.Handle()), "");

    // Left to right, each where the window's table puts it (browser/BrowserItems.h).
    TToolButton* const buttons[] = {&Parts(fresh).Btn_Navigate, &Parts(fresh).Btn_Back, &Parts(fresh).Btn_Forward,
                                    &Parts(fresh).Btn_Refresh,  &Parts(fresh).Btn_Stop, &Parts(fresh).Btn_Live};
    int lastLeft = -1;
    for (TToolButton* button : buttons) {
        const RECT rect = ButtonRect(fresh, *button);
        EXPECT_EQ(rect.left, browser::BrowserItemLeft(button->Id())) << "button " << button->Id();
        EXPECT_GT(rect.left, lastLeft) << "button " << button->Id();
        lastLeft = rect.left;
        EXPECT_EQ(rect.right - rect.left, 23) << "button " << button->Id();
        EXPECT_EQ(rect.bottom - rect.top, 22) << "button " << button->Id();
        EXPECT_TRUE(button->Enabled()) << "button " << button->Id();
    }

    EXPECT_FALSE(Parts(fresh).Btn_Live.Checked()) << "live preview is off at start";
    EXPECT_FALSE(fresh.LiveOn());

    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Parts(fresh).Edt_URL.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
}

TEST_F(BrowserWindow, ControlIsActivatedInPlaceAndFollowsTheWindowSize) {
    EXPECT_TRUE(control.HasClientSite());
    EXPECT_TRUE(control.InPlaceActive());
    EXPECT_EQ(control.Sinks(), 1u);
    EXPECT_EQ(control.ViewParent(), form.Handle());
    EXPECT_EQ(Parts(form).WebBrowser.ControlWindow(), control.View());
    EXPECT_EQ(control.Calls(), NoCalls());  // no page at start
    RECT view = ChildRect(control.View());
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.top, 29);
    EXPECT_EQ(view.right, 688);
    EXPECT_EQ(view.bottom, 453);

    ::SetWindowPos(form.Handle(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    Settle();
    RECT client{};
    ::GetClientRect(form.Handle(), &client);
    view = ChildRect(control.View());
    EXPECT_EQ(view.top, 29);
    EXPECT_EQ(view.right, client.right);
    EXPECT_EQ(view.bottom, client.bottom);
    EXPECT_EQ(ChildRect(Parts(form).ToolBar1.Handle()).right, client.right);
    EXPECT_EQ(ChildRect(Parts(form).Edt_URL.Handle()).right, browser::kAddressWidth);  // fixed width
}

TEST_F(BrowserWindow, NavigateButtonPassesTheAddressUnchangedAndIgnoresAnEmptyBox) {
    Click(form, Parts(form).Btn_Navigate);
    EXPECT_EQ(control.Calls(), NoCalls());

    SetAddress("  example.com/a b ");
    Click(form, Parts(form).Btn_Navigate);
    SetAddress(Ansi(L"C:\\文書\\ページ.htm"));
    Click(form, Parts(form).Btn_Navigate);
    const std::vector<std::wstring> expected = {L"Navigate   example.com/a b ", L"Navigate C:\\文書\\ページ.htm"};
    EXPECT_EQ(control.Calls(), expected);
    EXPECT_EQ(control.NavigateArgumentsOmitted(), (std::vector<bool>{true, true}));
}

TEST_F(BrowserWindow, EnterNavigatesEvenWhenEmptyAndInsertsNothing) {
    ::SetFocus(edit);
    PressKey(edit, VK_RETURN);
    TypeText(edit, L"\r");
    EXPECT_EQ(control.Calls(), std::vector<std::wstring>{L"Navigate "});

    TypeText(edit, L"kestrix.example");
    PressKey(edit, VK_RETURN);
    TypeText(edit, L"\r");
    EXPECT_EQ(control.Calls().back(), L"Navigate kestrix.example");
    // The typed text stays until the next completed navigation replaces it.
    EXPECT_EQ(AnsiTextOf(edit), "kestrix.example");
    CompleteNavigation(L"http://kestrix.example/", L"Kestrix");
    EXPECT_EQ(AnsiTextOf(edit), "http://kestrix.example/");
}

TEST_F(BrowserWindow, AddressBoxTakesCharactersOnlyKeysThatActOnKeyDownDoNothing) {
    ::SetFocus(edit);
    TypeText(edit, L"abc");
    for (const WORD key : {VK_HOME, VK_LEFT, VK_UP, VK_PRIOR})
        PressKey(edit, key);
    TypeText(edit, L"d");
    EXPECT_EQ(AnsiTextOf(edit), "abcd");  // the caret never moved

    ::SendMessageW(edit, EM_SETSEL, 1, 1);
    PressKey(edit, VK_DELETE);
    PressKey(edit, VK_END);
    TypeText(edit, L"\b");
    EXPECT_EQ(AnsiTextOf(edit), "bcd");  // Delete did nothing, Backspace took the 'a'
    PressKey(edit, VK_SHIFT);
    PressKey(edit, VK_RIGHT);
    EXPECT_EQ(browsertest::Selection(edit), MAKELONG(0, 0));
    EXPECT_EQ(control.Calls(), NoCalls());
}

TEST_F(BrowserWindow, AltF4ClosesTheWindowButNotFromTheAddressBox) {
    ::SetFocus(edit);
    PressKey(edit, VK_F4, true);
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));

    PressKey(Parts(form).ToolBar1.Handle(), VK_F4, true);
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST_F(BrowserWindow, FocusFromTheKeyboardSelectsTheWholeAddressAClickDoesNot) {
    SetAddress("http://a.example/");
    ::SetFocus(control.View());
    ::SetFocus(edit);
    EXPECT_EQ(browsertest::Selection(edit), MAKELONG(0, 17));

    ::SetFocus(control.View());
    Settle();
    ::PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
    ::PostMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 5));
    Settle();
    EXPECT_EQ(::GetFocus(), edit);
    const DWORD selection = browsertest::Selection(edit);
    EXPECT_EQ(LOWORD(selection), HIWORD(selection));  // a caret, no selection
}

TEST_F(BrowserWindow, HistoryButtonsFollowOnlyTheirOwnCommands) {
    for (const LONG other : {-1L, 0L, 3L, 0x7FFFFFFFL}) {
        control.FireCommandStateChange(other, VARIANT_FALSE);
        Settle();
    }
    EXPECT_TRUE(Parts(form).Btn_Back.Enabled());
    EXPECT_TRUE(Parts(form).Btn_Forward.Enabled());

    control.FireCommandStateChange(1, VARIANT_FALSE);
    control.FireCommandStateChange(2, VARIANT_FALSE);
    Settle();
    EXPECT_FALSE(Parts(form).Btn_Forward.Enabled());
    EXPECT_FALSE(Parts(form).Btn_Back.Enabled());

    control.FireCommandStateChange(2, 5);  // any non-zero value enables
    Settle();
    EXPECT_TRUE(Parts(form).Btn_Back.Enabled());
    EXPECT_FALSE(Parts(form).Btn_Forward.Enabled());
    control.FireCommandStateChange(1, VARIANT_TRUE);
    Settle();
    EXPECT_TRUE(Parts(form).Btn_Forward.Enabled());
    for (TToolButton* other : {&Parts(form).Btn_Navigate, &Parts(form).Btn_Refresh, &Parts(form).Btn_Stop})
        EXPECT_TRUE(other->Enabled());
}

TEST_F(BrowserWindow, NavigateCompleteShowsTheTopLevelAddressAndTitle) {
    SetAddress("typed");
    CompleteNavigation(L"http://top.example/", L"トップ ページ");
    EXPECT_EQ(AnsiTextOf(edit), "http://top.example/");
    EXPECT_EQ(AnsiTextOf(form.Handle()), Ansi(L"Corvane Browser - トップ ページ"));

    // A frame's completion shows the page's values, not the frame's.
    const ComPtr<ScriptedDispatch> frame = ScriptedDispatch::Create();
    control.FireNavigateComplete2(frame.Get(), L"http://top.example/frame.htm");
    Settle();
    EXPECT_EQ(AnsiTextOf(edit), "http://top.example/");
    EXPECT_EQ(AnsiTextOf(form.Handle()), Ansi(L"Corvane Browser - トップ ページ"));

    CompleteNavigation(L"file:///C:/x.htm", L"");
    EXPECT_EQ(AnsiTextOf(form.Handle()), "Corvane Browser - ");

    // Characters without an equivalent in the code page come out as its default character.
    CompleteNavigation(L"http://e.example/\u0100", L"\u0100\u00e9");
    EXPECT_EQ(AnsiTextOf(form.Handle()), Ansi(L"Corvane Browser - ") + Ansi(L"\u0100\u00e9"));
    EXPECT_EQ(AnsiTextOf(edit), Ansi(L"http://e.example/\u0100"));
}

TEST_F(BrowserWindow, OnlyNavigateCompleteChangesTheCaption) {
    CompleteNavigation(L"http://a.example/", L"First");
    control.SetLocation(L"http://a.example/", L"Renamed");
    control.FireTitleChange(L"Renamed");
    control.FireEvent(250, {});  // BeforeNavigate2
    control.FireEvent(271, {});  // NavigateError
    Settle();
    EXPECT_EQ(CaptionOf(form.Handle()), L"Corvane Browser - First");
}

TEST_F(BrowserWindow, RefreshNeedsADocumentAndReleasesIt) {
    Click(form, Parts(form).Btn_Refresh);
    EXPECT_EQ(control.Calls(), NoCalls());
    EXPECT_EQ(control.PropertyReads(scriptedbrowser::kDocument), 1);

    const ComPtr<ScriptedDispatch> document = ScriptedDispatch::Create();
    control.SetDocument(document);
    const LONG before = document->References();
    Click(form, Parts(form).Btn_Refresh);
    EXPECT_EQ(control.Calls(), std::vector<std::wstring>{L"Refresh"});
    EXPECT_EQ(document->References(), before);
}

struct CountingListener : browser::LiveView::Listener {
    void LiveSwitched() override { ++switches; }
    void ShowingChanged() override { ++showings; }
    void ViewGone() override { ++gone; }
    int switches = 0, showings = 0, gone = 0;
};

// The live button is the tool bar's one button with a tip; it stays pressed until clicked again,
// reports each click and calls nothing on the control. Showing and hiding are reported too, and
// live preview reloads with Refresh, never with a new navigation.
TEST_F(BrowserWindow, LiveButtonTogglesWithItsOwnTipAndTheWindowReportsToLivePreview) {
    const HWND tooltip = reinterpret_cast<HWND>(::SendMessageW(Parts(form).ToolBar1.Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    ASSERT_EQ(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = text;
    ASSERT_TRUE(::SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uId, static_cast<UINT_PTR>(Parts(form).Btn_Live.Id()));
    EXPECT_STREQ(text, L"ライブ プレビュー: 編集に合わせて自動で表示を更新します");

    CountingListener listener;
    form.SetLiveListener(&listener);
    Click(form, Parts(form).Btn_Live);
    EXPECT_TRUE(form.LiveOn());
    Click(form, Parts(form).Btn_Live);
    EXPECT_FALSE(form.LiveOn());
    EXPECT_EQ(listener.switches, 2);
    EXPECT_EQ(control.Calls(), NoCalls());

    EXPECT_TRUE(form.Showing());
    ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Showing());
    EXPECT_GE(listener.showings, 1);
    const int hidden = listener.showings;
    form.Show();
    EXPECT_TRUE(form.Showing());
    EXPECT_GT(listener.showings, hidden);

    form.GoTo(L"C:\\page.htm");
    form.Reload();
    EXPECT_EQ(control.Calls(), (std::vector<std::wstring>{L"Navigate C:\\page.htm", L"Refresh"}));
    form.SetLiveListener(nullptr);
    EXPECT_EQ(listener.gone, 0);
}

// The tip the tool bar shows for a button; empty when it has none.
std::wstring TipOf(TForm2& form, const TToolButton& button) {
    const HWND tooltip = reinterpret_cast<HWND>(::SendMessageW(Parts(form).ToolBar1.Handle(), TB_GETTOOLTIPS, 0, 0));
    wchar_t text[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Parts(form).ToolBar1.Handle();
    tool.uId = static_cast<UINT_PTR>(button.Id());
    tool.lpszText = text;
    if (!tooltip || !::SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
    tool.lpszText = text;
    ::SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

// The engine reports each error of the page's scripts to the window's site: the window takes it,
// so no box opens and the scripts go on; the indicator right of the live button counts the
// current page's errors and tells the last one in its tip, and a page that starts loading starts
// without errors.
TEST_F(BrowserWindow, ScriptErrorsOpenNoBoxAndAreCountedQuietlyUntilTheNextPageLoads) {
    const TToolButton& indicator = Parts(form).Btn_ScriptErrors;
    EXPECT_TRUE(indicator.Hidden());
    struct Case {
        scriptedbrowser::ScriptedScriptError error;
        std::vector<std::wstring> tipHas;
    };
    const Case cases[] = {
        {{L"'foo' は定義されていません", 12, 5, static_cast<long>(0x800A1391), L"file:///C:/site/a.htm"},
         {L"このページのスクリプト エラー: 1 件", L"最後のエラー: 12 行目 5 文字目", L"'foo' は定義されていません",
          L"file:///C:/site/a.htm"}},
        {{L"構文エラーです", 3, 0, 0, L""}, {L"このページのスクリプト エラー: 2 件", L"3 行目\n構文エラーです"}},
        {{std::wstring(5000, L'x'), 0, 0, 0, L""}, {L": 3 件", std::wstring(300, L'x') + L"…"}},
    };
    for (const Case& c : cases) {
        const scriptedbrowser::ScriptErrorOutcome outcome = control.RaiseScriptError(c.error);
        Settle();
        EXPECT_EQ(outcome.result, S_OK);
        EXPECT_FALSE(outcome.boxShown);
        EXPECT_TRUE(outcome.scriptsGoOn);
        EXPECT_FALSE(indicator.Hidden());
        const std::wstring tip = TipOf(form, indicator);
        for (const std::wstring& part : c.tipHas) EXPECT_NE(tip.find(part), std::wstring::npos) << Ansi(tip);
        EXPECT_LT(tip.size(), 700u);
    }
    EXPECT_EQ(ButtonRect(form, Parts(form).Btn_Live).right, ButtonRect(form, indicator).left) << "right of the live button";
    EXPECT_EQ(control.Calls(), NoCalls());
    EXPECT_TRUE(::IsWindowEnabled(form.Handle()));

    // Other commands of the engine stay the engine's.
    VARIANT in, out;
    ::VariantInit(&in);
    ::VariantInit(&out);
    EXPECT_EQ(control.ExecOnSite(&scriptedbrowser::kDocHostCommandHandler, OLECMDID_SHOWMESSAGE, &in, &out),
              OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(control.ExecOnSite(nullptr, OLECMDID_SHOWSCRIPTERROR, &in, &out), OLECMDERR_E_NOTSUPPORTED);

    control.FireEvent(DISPID_DOWNLOADBEGIN, {});
    Settle();
    EXPECT_TRUE(indicator.Hidden());
    EXPECT_EQ(TipOf(form, indicator), L"");
    control.RaiseScriptError({L"again", 1, 1, 0, L""});
    Settle();
    EXPECT_NE(TipOf(form, indicator).find(L": 1 件"), std::wstring::npos) << Ansi(TipOf(form, indicator));
}

// Live preview asks before it reloads: a dialog of the page is open while the engine has disabled
// its frame's modeless windows, or while the window itself is disabled under the dialog.
TEST_F(BrowserWindow, APageDialogIsSeenWhileTheEngineOrTheWindowSaysItIsOpen) {
    EXPECT_FALSE(form.PageDialogOpen());
    control.SetPageDialogOpen(true);
    EXPECT_TRUE(form.PageDialogOpen());
    control.SetPageDialogOpen(false);
    EXPECT_FALSE(form.PageDialogOpen());
    ::EnableWindow(form.Handle(), FALSE);
    EXPECT_TRUE(form.PageDialogOpen());
    ::EnableWindow(form.Handle(), TRUE);
    EXPECT_FALSE(form.PageDialogOpen());
}

TEST(BrowserLifetime, AWindowThatGoesTellsLivePreviewLast) {
    browsertest::EnsureApplication();
    browsertest::ScriptedControlInjection injection(ScriptedBrowserControl::Create());
    CountingListener listener;
    {
        TForm2 window;
        window.SetLiveListener(&listener);
    }
    EXPECT_EQ(listener.gone, 1);
}

TEST_F(BrowserWindow, StopOnlyWhileBusyBackAndForwardAlwaysCall) {
    Click(form, Parts(form).Btn_Stop);
    EXPECT_EQ(control.Calls(), NoCalls());
    control.SetBusy(true);
    Click(form, Parts(form).Btn_Stop);
    Click(form, Parts(form).Btn_Back);
    Click(form, Parts(form).Btn_Forward);
    const std::vector<std::wstring> expected = {L"Stop", L"GoBack", L"GoForward"};
    EXPECT_EQ(control.Calls(), expected);
    // The automation interface is asked for once and kept.
    EXPECT_EQ(control.AutomationQueries(), 1);
}

TEST_F(BrowserWindow, FailedBackShowsTheControlsDescriptionAndChangesNothing) {
    CompleteNavigation(L"http://a.example/", L"A");
    SetAddress("typed");
    control.FailMethod(L"GoBack", E_FAIL, L"戻るページがありません. \r\n");
    ErrorBoxWatcher box;
    box.WatchDisabled(form.Handle());
    Click(form, Parts(form).Btn_Back);
    ASSERT_TRUE(box.Wait());
    EXPECT_EQ(box.Text(), "戻るページがありません.");
    EXPECT_EQ(testsupport::Utf8ToWide(box.Caption()), toolkit::App().Title());
    EXPECT_EQ(box.Owner(), toolkit::App().Handle());
    EXPECT_TRUE(box.OthersDisabled());
    EXPECT_TRUE(::IsWindowEnabled(form.Handle()));
    EXPECT_EQ(CaptionOf(form.Handle()), L"Corvane Browser - A");
    EXPECT_EQ(AnsiTextOf(edit), "typed");
    EXPECT_TRUE(Parts(form).Btn_Back.Enabled());
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
}

TEST_F(BrowserWindow, FailuresWithoutADescriptionUseTheSystemTextOrTheCode) {
    control.FailMethod(L"GoForward", E_OUTOFMEMORY);
    {
        ErrorBoxWatcher box;
        Click(form, Parts(form).Btn_Forward);
        ASSERT_TRUE(box.Wait());
        EXPECT_EQ(testsupport::Utf8ToWide(box.Text()), toolkit::ErrorBoxText(toolkit::OleErrorText(E_OUTOFMEMORY, nullptr)));
        EXPECT_NE(box.Text().find_first_not_of(". "), std::string::npos);
        EXPECT_EQ(box.Text().find("OLE"), std::string::npos);
    }
    control.FailMethod(L"GoForward", static_cast<HRESULT>(0x8004CAFE));
    ErrorBoxWatcher box;
    Click(form, Parts(form).Btn_Forward);
    ASSERT_TRUE(box.Wait());
    EXPECT_EQ(box.Text(), "OLE エラー 8004cafe.");
}

TEST_F(BrowserWindow, FailedPropertyReadsReachTheErrorBox) {
    control.SetBusy(true);
    control.FailProperty(scriptedbrowser::kBusy, E_ACCESSDENIED, L"Busy cannot be read");
    {
        ErrorBoxWatcher box;
        Click(form, Parts(form).Btn_Stop);
        ASSERT_TRUE(box.Wait());
        EXPECT_EQ(box.Text(), "Busy cannot be read.");
    }
    EXPECT_EQ(control.Calls(), NoCalls());

    // In an event handler: the box shows, the control's call returns normally.
    SetAddress("typed");
    control.FailProperty(scriptedbrowser::kLocationURL, E_FAIL, L"no address");
    ErrorBoxWatcher box;
    control.FireNavigateComplete2(nullptr, L"http://x.example/");
    ASSERT_TRUE(box.Wait());
    EXPECT_EQ(box.Text(), "no address.");
    EXPECT_EQ(AnsiTextOf(edit), "typed");
    EXPECT_EQ(CaptionOf(form.Handle()), L"Corvane Browser");
}

TEST_F(BrowserWindow, ClosingHidesAndShowingBringsEverythingBack) {
    CompleteNavigation(L"http://kept.example/", L"Kept");
    control.FireCommandStateChange(2, VARIANT_FALSE);
    Settle();
    ::SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    EXPECT_TRUE(control.InPlaceActive());

    form.Show();
    Settle();
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
    EXPECT_EQ(CaptionOf(form.Handle()), L"Corvane Browser - Kept");
    EXPECT_EQ(AnsiTextOf(edit), "http://kept.example/");
    EXPECT_FALSE(Parts(form).Btn_Back.Enabled());
    EXPECT_TRUE(Parts(form).Btn_Forward.Enabled());
    EXPECT_EQ(Parts(form).WebBrowser.ControlWindow(), control.View());
    EXPECT_TRUE(::IsWindowVisible(control.View()));
    EXPECT_EQ(control.Calls(), NoCalls());
}

TEST_F(BrowserWindow, ShowRaisesAVisibleWindow) {
    const HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED | WS_VISIBLE, 200, 200, 300, 300,
                                         nullptr, nullptr, nullptr, nullptr);
    ::SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Settle();
    form.Show();
    Settle();
    for (HWND w = ::GetWindow(form.Handle(), GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV))
        EXPECT_NE(w, other) << "the other window is still above";
    ::DestroyWindow(other);
}

TEST_F(BrowserWindow, NavigateWhileHiddenIsThereWhenShown) {
    ::ShowWindow(form.Handle(), SW_HIDE);
    Parts(form).WebBrowser.Navigate(L"file:///C:/hidden.htm");
    CompleteNavigation(L"file:///C:/hidden.htm", L"Hidden");
    form.Show();
    Settle();
    EXPECT_EQ(control.Calls(), std::vector<std::wstring>{L"Navigate file:///C:/hidden.htm"});
    EXPECT_EQ(CaptionOf(form.Handle()), L"Corvane Browser - Hidden");
}

// Keys typed in the page go to the control as accelerators first; the address box's do not.
TEST(BrowserKeyboard, KeysInTheControlsWindowsReachItsAcceleratorsThroughTheLoop) {
    ScriptedWindow window;
    ScriptedBrowserControl& control = *window.control.Get();
    const HWND view = control.View();
    const HWND inner = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, view, nullptr,
                                         nullptr, nullptr);
    ::PostMessageW(view, WM_KEYDOWN, 'K', 1);
    ::PostMessageW(inner, WM_KEYDOWN, VK_TAB, 1);
    ::PostMessageW(Parts(*window.form).Edt_URL.Handle(), WM_KEYDOWN, 'E', 1);
    toolkit::App().SetOnMessage([](MSG& message, bool&) {
        if (message.message == WM_APP && message.hwnd == nullptr) toolkit::App().Terminate();
    });
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0);
    ::SetTimer(nullptr, 0, 5000, nullptr);  // a loop that never ends still ends the test
    toolkit::App().Run();
    toolkit::App().SetOnMessage({});

    EXPECT_EQ(control.TranslatedKeys(), (std::vector<UINT>{'K', VK_TAB}));
    EXPECT_EQ(control.KeysReachingView(), std::vector<UINT>{});
}

TEST(BrowserLifetime, ControlIsReleasedWithTheWindowAndCreationFailureIsAnError) {
    browsertest::EnsureApplication();
    ComPtr<ScriptedBrowserControl> control = ScriptedBrowserControl::Create();
    {
        browsertest::ScriptedControlInjection injection(control);
        TForm2 form;
        Settle();
        EXPECT_GT(control->References(), 1);
    }
    Settle();
    EXPECT_FALSE(control->HasClientSite());
    EXPECT_FALSE(control->InPlaceActive());
    EXPECT_EQ(control->Sinks(), 0u);
    EXPECT_EQ(control->References(), 1);

    toolkit::TOleControl::SetObjectFactory([](const CLSID&, IUnknown** object) {
        *object = nullptr;
        return REGDB_E_CLASSNOTREG;
    });
    try {
        TForm2 form;
        ADD_FAILURE() << "a window without its control";
    } catch (const toolkit::Error& error) {
        EXPECT_EQ(error.Message(), toolkit::OleErrorText(REGDB_E_CLASSNOTREG, nullptr));
        EXPECT_FALSE(error.Message().empty());
    }
    toolkit::TOleControl::SetObjectFactory({});
    EXPECT_EQ(::FindWindowW(L"TForm2", nullptr), nullptr);
}

}  // namespace
