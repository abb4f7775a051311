#include "browser/Unit2.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "resources/Images.h"
#include "resources/ResourceIds.h"
#include "toolkit/Application.h"
#include "toolkit/Text.h"

TForm2* Form2 = nullptr;

namespace {

// The designed layout, in pixels at 96 dots per inch.
constexpr int kLeft = 219;
constexpr int kTop = 211;
constexpr int kClientWidth = 688;
constexpr int kClientHeight = 453;
constexpr int kToolBarHeight = 29;
constexpr int kAddressWidth = 337;
constexpr int kAddressHeight = 22;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kImageSize = 16;

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

constexpr wchar_t kCaption[] = L"Corvane Browser";
constexpr wchar_t kCaptionPrefix[] = L"Corvane Browser - ";
constexpr wchar_t kFontName[] = L"ＭＳ Ｐゴシック";

enum ButtonId : int { kNavigate = 1, kBack, kForward, kRefresh, kStop };

struct ButtonEntry {
    ButtonId id;
    int image;
    std::unique_ptr<TToolButton> TForm2::*button;
    void (TForm2::*click)();
};

// In their order on the tool bar, after the address box.
constexpr ButtonEntry kButtons[] = {
    {kNavigate, 0, &TForm2::Btn_Navigate, &TForm2::Btn_NavigateClick},
    {kBack, 1, &TForm2::Btn_Back, &TForm2::Btn_BackClick},
    {kForward, 2, &TForm2::Btn_Forward, &TForm2::Btn_ForwardClick},
    {kRefresh, 3, &TForm2::Btn_Refresh, &TForm2::Btn_RefreshClick},
    {kStop, 4, &TForm2::Btn_Stop, &TForm2::Btn_StopClick},
};

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

HFONT CreateWindowFont() {
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::copy(std::begin(kFontName), std::end(kFontName), font.lfFaceName);
    return ::CreateFontIndirectW(&font);
}

}  // namespace

TForm2::TForm2() : font_(CreateWindowFont()) {
    toolkit::WindowClass windowClass{L"TForm2"};
    windowClass.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CORVANE));
    CreateWindowObject(windowClass, kCaption, DesignedPlacement());
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    CreateImageLists();
    CreateToolBar();
    CreateWebBrowser();
}

TForm2::~TForm2() { destroying_ = true; }

void TForm2::CreateImageLists() {
    ImageList1 = std::make_unique<toolkit::TImageList>(kImageSize, kImageSize);
    ImageList2 = std::make_unique<toolkit::TImageList>(kImageSize, kImageSize);
    resources::LoadImageStrip(*ImageList1, IDB_BROWSER_HOT);
    resources::LoadImageStrip(*ImageList2, IDB_BROWSER_NORMAL);
}

void TForm2::CreateToolBar() {
    ToolBar1 = std::make_unique<TToolBar>(Handle(), kClientWidth, kToolBarHeight, kButtonWidth, kButtonHeight);
    ToolBar1->SetImages(*ImageList2, *ImageList1);
    ToolBar1->AddSpace(kAddressWidth);
    for (const ButtonEntry& entry : kButtons) {
        ToolBar1->AddButton(entry.id, entry.image);
        this->*entry.button = std::make_unique<TToolButton>(*ToolBar1, entry.id);
    }
    Edt_URL = std::make_unique<TAddressEdit>(ToolBar1->Handle(), RECT{0, 0, kAddressWidth, kAddressHeight}, font_.Get());
    Edt_URL->OnKeyDown = [this](WORD& key) { Edt_URLKeyDown(key); };
    Edt_URL->OnKeyPress = [this](wchar_t& key) { Edt_URLKeyPress(key); };
}

void TForm2::CreateWebBrowser() {
    WebBrowser = std::make_unique<TWebBrowser>(Handle(), RECT{0, kToolBarHeight, kClientWidth, kClientHeight});
    WebBrowser->OnCommandStateChange = [this](toolkit::TObject& sender, std::int32_t command, VARIANT_BOOL enable) {
        WebBrowserCommandStateChange(sender, command, enable);
    };
    WebBrowser->OnNavigateComplete2 = [this](toolkit::TObject& sender, IDispatch* pDisp, const VARIANT& url) {
        WebBrowserNavigateComplete2(sender, pDisp, url);
    };
}

void TForm2::Show() {
    if (!::IsWindowVisible(Handle())) ::ShowWindow(Handle(), SW_SHOW);
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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

// The frame that completed is not looked at: every completion shows the top-level page's values.
void TForm2::WebBrowserNavigateComplete2(toolkit::TObject&, IDispatch*, const VARIANT&) {
    Edt_URL->SetText(toolkit::WideToAnsi(WebBrowser->LocationURL()));
    const std::string caption = toolkit::WideToAnsi(kCaptionPrefix + WebBrowser->LocationName());
    ::SetWindowTextA(Handle(), caption.c_str());
}

void TForm2::WebBrowserCommandStateChange(toolkit::TObject&, std::int32_t Command, VARIANT_BOOL Enable) {
    const bool enabled = Enable != 0;
    if (Command == CSC_NAVIGATEFORWARD)
        Btn_Forward->SetEnabled(enabled);
    else if (Command == CSC_NAVIGATEBACK)
        Btn_Back->SetEnabled(enabled);
}

void TForm2::Edt_URLKeyPress(wchar_t& Key) {
    if (Key == L'\r') Key = 0;
}

// Every key-down stops here, so the box takes typed characters (and Backspace) only.
void TForm2::Edt_URLKeyDown(WORD& Key) {
    if (Key == VK_RETURN) WebBrowser->Navigate(toolkit::AnsiToWide(Edt_URL->Text()));
    Key = 0;
}

void TForm2::Layout(int clientWidth, int clientHeight) {
    if (ToolBar1) ToolBar1->SetWidth(clientWidth);
    if (WebBrowser) WebBrowser->SetBounds(RECT{0, kToolBarHeight, clientWidth, std::max(clientHeight, kToolBarHeight)});
}

void TForm2::ButtonClicked(int id) {
    const auto entry = std::find_if(std::begin(kButtons), std::end(kButtons),
                                    [id](const ButtonEntry& e) { return e.id == id; });
    if (entry != std::end(kButtons)) (this->*(entry->click))();
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
    case WM_COMMAND:
        if (ToolBar1 && reinterpret_cast<HWND>(lParam) == ToolBar1->Handle()) {
            ButtonClicked(LOWORD(wParam));
            return 0;
        }
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
