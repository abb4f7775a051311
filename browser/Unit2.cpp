#include "browser/Unit2.h"

#include <commctrl.h>

#include <algorithm>

#include "browser/BrowserItems.h"
#include "resources/Images.h"
#include "resources/ResourceIds.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Font.h"
#include "toolkit/Text.h"

namespace browser {

TForm2* Form2 = nullptr;

namespace {

// The designed layout, in pixels at 96 dots per inch.
constexpr int kLeft = 219;
constexpr int kTop = 211;
constexpr int kClientWidth = 688;
constexpr int kClientHeight = 453;
constexpr int kToolBarHeight = 29;

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

constexpr wchar_t kCaption[] = L"Corvane Browser";
constexpr wchar_t kCaptionPrefix[] = L"Corvane Browser - ";
constexpr wchar_t kLiveProblemPrefix[] = L" \u2014 ライブ プレビュー: 更新できません (";

constexpr wchar_t kScriptErrorsTip[] = L"このページのスクリプト エラー: ";
constexpr wchar_t kScriptErrorsUnit[] = L" 件";
constexpr wchar_t kLastScriptError[] = L"最後のエラー: ";
constexpr wchar_t kLineUnit[] = L" 行目";
constexpr wchar_t kCharacterUnit[] = L" 文字目";
constexpr std::size_t kTipMessageLength = 300;  // a message is cut there: a tip is no page

// "このページのスクリプト エラー: 2 件", then the last error: where it happened, its message, its script.
std::wstring ScriptErrorsTip(int count, const TScriptError& last) {
    std::wstring tip = kScriptErrorsTip + std::to_wstring(count) + kScriptErrorsUnit + L"\n" + kLastScriptError;
    if (last.line > 0) tip += std::to_wstring(last.line) + kLineUnit;
    if (last.line > 0 && last.character > 0) tip += L" " + std::to_wstring(last.character) + kCharacterUnit;
    tip += L"\n" + last.message.substr(0, kTipMessageLength);
    if (last.message.size() > kTipMessageLength) tip += L"…";
    if (!last.url.empty()) tip += L"\n" + last.url.substr(0, kTipMessageLength);
    return tip;
}

toolkit::WindowPlacement DesignedPlacement() {
    RECT outer{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    toolkit::WindowPlacement placement;
    placement.exStyle = kExStyle;
    placement.style = kStyle;
    placement.x = kLeft;
    placement.y = kTop;
    placement.width = outer.right - outer.left;
    placement.height = outer.bottom - outer.top;
    placement.parent = toolkit::App().Handle();  // the owner: no taskbar button of its own
    return placement;
}

}  // namespace

// What each tool bar item does: the handler a click runs; and the member that names its button.
std::span<const toolkit::ToolCommand<TForm2>> TForm2::Commands() {
    static constexpr toolkit::ToolCommand<TForm2> kCommands[] = {
        {kNavigate, &TForm2::Btn_NavigateClick, nullptr, &TForm2::Btn_Navigate},
        {kBack, &TForm2::Btn_BackClick, nullptr, &TForm2::Btn_Back},
        {kForward, &TForm2::Btn_ForwardClick, nullptr, &TForm2::Btn_Forward},
        {kRefresh, &TForm2::Btn_RefreshClick, nullptr, &TForm2::Btn_Refresh},
        {kStop, &TForm2::Btn_StopClick, nullptr, &TForm2::Btn_Stop},
        {kLive, &TForm2::Btn_LiveClick, nullptr, &TForm2::Btn_Live},
        {kScriptErrors, nullptr, nullptr, &TForm2::Btn_ScriptErrors},
    };
    static_assert(toolkit::CommandsNameItems<TForm2>(kCommands, kBrowserItems));
    return kCommands;
}

TForm2::TForm2() : font_(toolkit::CreateFormFont()), pageCaption_(toolkit::WideToAnsi(kCaption)) {
    toolkit::WindowClass windowClass{L"TForm2"};
    windowClass.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CORVANE));
    CreateWindowObject(windowClass, kCaption, DesignedPlacement());
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    ImageList1 = std::make_unique<toolkit::TImageList>(toolkit::kSmallImageSize, toolkit::kSmallImageSize);
    ImageList2 = std::make_unique<toolkit::TImageList>(toolkit::kSmallImageSize, toolkit::kSmallImageSize);
    resources::LoadImageStrip(*ImageList1, IDB_BROWSER_HOT);
    resources::LoadImageStrip(*ImageList2, IDB_BROWSER_NORMAL);
    CreateToolBar();
    CreateWebBrowser();
}

TForm2::~TForm2() {
    destroying_ = true;
    if (liveListener_) liveListener_->ViewGone();
}

void TForm2::CreateToolBar() {
    const toolkit::ToolBarLook look{{0, 0, kClientWidth, kToolBarHeight}, kBrowserButtonSize, true};
    ToolBar1 = std::make_unique<toolkit::TToolBar>(Handle(), look, *ImageList2, *ImageList1, kBrowserItems);
    ToolBar1->OnItem = [this](int id) { ItemChosen(id); };
    for (const toolkit::ToolCommand<TForm2>& command : Commands())
        if (command.button) this->*command.button = std::make_unique<toolkit::TToolButton>(*ToolBar1, command.id);
    toolkit::KeyEditOptions options;
    options.selectAllOnFocus = true;
    Edt_URL = std::make_unique<toolkit::TKeyEdit>(ToolBar1->Handle(), RECT{0, 0, kAddressWidth, kBrowserButtonSize.cy},
                                                  font_.Get(), options);
    toolkit::HandleAddressKeys(*Edt_URL, [this] { WebBrowser->Navigate(toolkit::AnsiToWide(Edt_URL->Text())); });
    ToolBar1->SetHidden(kScriptErrors, true);
}

void TForm2::CreateWebBrowser() {
    WebBrowser = std::make_unique<TWebBrowser>(Handle(), RECT{0, kToolBarHeight, kClientWidth, kClientHeight});
    WebBrowser->OnCommandStateChange = [this](toolkit::TObject& sender, std::int32_t command, VARIANT_BOOL enable) {
        WebBrowserCommandStateChange(sender, command, enable);
    };
    WebBrowser->OnNavigateComplete2 = [this](toolkit::TObject& sender, IDispatch* pDisp, const VARIANT& url) {
        WebBrowserNavigateComplete2(sender, pDisp, url);
    };
    WebBrowser->OnScriptError = [this](toolkit::TObject& sender, const TScriptError& error) {
        WebBrowserScriptError(sender, error);
    };
    WebBrowser->OnDownloadBegin = [this](toolkit::TObject& sender) { WebBrowserDownloadBegin(sender); };
}

void TForm2::Show() {
    if (!::IsWindowVisible(Handle())) ::ShowWindow(Handle(), SW_SHOW);
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm2::Open(const std::wstring& address, OpenOrder order) {
    if (order == OpenOrder::ShowThenNavigate) Show();
    WebBrowser->Navigate(address);
    if (order == OpenOrder::NavigateThenShow) Show();
}

bool TForm2::LiveOn() const { return Btn_Live->Checked(); }

bool TForm2::Showing() const { return ::IsWindowVisible(Handle()) && !::IsIconic(Handle()); }

// A box of the page is modal to this window: it disables the window while it is open, and the
// engine tells its frame too.
bool TForm2::PageDialogOpen() const { return WebBrowser->DialogOpen() || !::IsWindowEnabled(Handle()); }

std::wstring TForm2::Address() const { return WebBrowser->LocationURL(); }

void TForm2::Reload() {
    // A control that refuses (one without an engine has no document to reload) loads the same
    // address anew: the page is shown again, only from its top.
    try {
        WebBrowser->Refresh();
    } catch (const toolkit::Error&) {
        WebBrowser->Navigate(WebBrowser->LocationURL());
    }
}

void TForm2::GoTo(const std::wstring& address) { WebBrowser->Navigate(address); }

void TForm2::ShowLiveProblem(const std::wstring& problem) {
    if (problem == liveProblem_) return;
    liveProblem_ = problem;
    ShowCaption();
}

// The page's caption, and after it what live preview could not do, kept in the system's wide
// text so that no character of it is lost to the code page.
void TForm2::ShowCaption() {
    if (liveProblem_.empty()) {
        ::SetWindowTextA(Handle(), pageCaption_.c_str());
        return;
    }
    const std::wstring caption = toolkit::AnsiToWide(pageCaption_) + kLiveProblemPrefix + liveProblem_ + L")";
    ::SetWindowTextW(Handle(), caption.c_str());
}

void TForm2::ItemChosen(int id) {
    if (destroying_) return;
    toolkit::RunToolCommand(Commands(), id, *this, *ToolBar1);
}

void TForm2::Btn_NavigateClick() {
    if (Edt_URL->Text().empty()) return;
    WebBrowser->Navigate(toolkit::AnsiToWide(Edt_URL->Text()));
}

void TForm2::Btn_BackClick() { WebBrowser->GoBack(); }

void TForm2::Btn_ForwardClick() { WebBrowser->GoForward(); }

void TForm2::Btn_RefreshClick() {
    const bool loaded = WebBrowser->Document() != nullptr;  // the document's reference goes at once
    if (loaded) WebBrowser->Refresh();
}

void TForm2::Btn_StopClick() {
    if (WebBrowser->Busy()) WebBrowser->Stop();
}

void TForm2::Btn_LiveClick() {
    if (liveListener_) liveListener_->LiveSwitched();
}

// The frame that completed is not looked at: every completion shows the top-level page's values.
void TForm2::WebBrowserNavigateComplete2(toolkit::TObject&, IDispatch*, const VARIANT&) {
    Edt_URL->SetText(toolkit::WideToAnsi(WebBrowser->LocationURL()));
    pageCaption_ = toolkit::WideToAnsi(kCaptionPrefix + WebBrowser->LocationName());
    ShowCaption();
}

void TForm2::WebBrowserCommandStateChange(toolkit::TObject&, std::int32_t Command, VARIANT_BOOL Enable) {
    const bool enabled = Enable != 0;
    if (Command == CSC_NAVIGATEFORWARD)
        Btn_Forward->SetEnabled(enabled);
    else if (Command == CSC_NAVIGATEBACK)
        Btn_Back->SetEnabled(enabled);
}

void TForm2::WebBrowserScriptError(toolkit::TObject&, const TScriptError& Error) {
    ++scriptErrors_;
    lastScriptError_ = Error;
    ShowScriptErrors();
}

// A new page, or the same page loaded again: its scripts start without errors.
void TForm2::WebBrowserDownloadBegin(toolkit::TObject&) {
    if (scriptErrors_ == 0) return;
    scriptErrors_ = 0;
    lastScriptError_ = {};
    ShowScriptErrors();
}

void TForm2::ShowScriptErrors() {
    ToolBar1->SetHidden(kScriptErrors, scriptErrors_ == 0);
    ToolBar1->SetTip(kScriptErrors, scriptErrors_ == 0 ? std::wstring() : ScriptErrorsTip(scriptErrors_, lastScriptError_));
}

void TForm2::Layout(int clientWidth, int clientHeight) {
    if (ToolBar1) ToolBar1->SetBounds(RECT{0, 0, clientWidth, kToolBarHeight});
    if (WebBrowser) WebBrowser->SetBounds(RECT{0, kToolBarHeight, clientWidth, std::max(clientHeight, kToolBarHeight)});
}

// The focus comes back to the control that had it, at first to the page.
void TForm2::Activated(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(Handle(), focus)) lastFocus_ = focus;
        return;
    }
    if (HIWORD(state) == 0) FocusControl();  // not while minimised
}

void TForm2::FocusControl() {
    HWND target = lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(Handle(), lastFocus_) ? lastFocus_ : nullptr;
    if (!target && WebBrowser) target = WebBrowser->ControlWindow();
    if (!target && Edt_URL) target = Edt_URL->Handle();
    if (target) ::SetFocus(target);
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (destroying_) return Default(message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        // After the change, so that the window's state is the new one; the default handling
        // sends WM_SIZE and WM_MOVE.
        if (liveListener_) liveListener_->ShowingChanged();
        return Default(message, wParam, lParam);
    case WM_ACTIVATE:
        Activated(wParam);
        return 0;
    case WM_SETFOCUS:
        FocusControl();
        return 0;
    case WM_CLOSE:
        // The window is not the application's main window: closing only hides it.
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

}  // namespace browser
