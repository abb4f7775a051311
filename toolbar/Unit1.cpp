// The main form: loading it builds the toolbar, its image lists and menus and arms the watchdog;
// FormCreate then plants the toolbar in the host. Also the watchdog, the address box, the navigate
// and close buttons and the application's message filter.

#include "toolbar/Unit1.h"

#include <iterator>

#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "resources/Images.h"
#include "resources/ResourceIds.h"
#include "toolbar/ToolBar1.h"
#include "toolbar/core/ToolbarSettings.h"
#include "toolkit/Application.h"
#include "toolkit/Text.h"

TForm1* Form1 = nullptr;

namespace {

using kestrix::HostWindow;
using Item = TToolBar1::Item;

constexpr int kClientWidth = 342;
constexpr int kClientHeight = 81;
constexpr int kImageSize = 16;
constexpr UINT kWatchdogIntervalMs = 1000;
// Messages of this identifier never reach a window of this program.
constexpr UINT kFilteredMessage = 0x0900;
constexpr DWORD kSettingBufferLimit = 65536;

toolkit::FontHandle FormFont() {
    constexpr wchar_t kFace[] = L"ＭＳ Ｐゴシック";
    static_assert(std::size(kFace) <= LF_FACESIZE);
    LOGFONTW font{};
    font.lfHeight = -12;  // a character height of 12 pixels
    font.lfCharSet = SHIFTJIS_CHARSET;
    for (size_t i = 0; i < std::size(kFace); ++i) font.lfFaceName[i] = kFace[i];
    return toolkit::FontHandle(::CreateFontIndirectW(&font));
}

// A value of the host's settings file; empty when the file, the section or the key is missing.
std::string ReadHostSetting(const std::string& iniPath, const char* section, const char* key) {
    if (iniPath.empty()) return {};
    std::string value(256, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(value.size());
        const DWORD length = ::GetPrivateProfileStringA(section, key, "", value.data(), size, iniPath.c_str());
        // A value that filled the buffer may have been cut: a cut value could read as another number.
        if (length + 1 < size || size >= kSettingBufferLimit) {
            value.resize(length);
            return value;
        }
        value.assign(static_cast<size_t>(size) * 2, '\0');
    }
}

void NavigateBrowserTo(const std::string& address) {
    Form2->WebBrowser->Navigate(toolkit::AnsiToWide(address));
    Form2->Show();
}

void ConnectToolBar(TForm1& form) {
    TToolBar1& bar = *form.ToolBar1;
    bar.SetOnClick(Item::Btn_KestrixtoBrouser, [&form] { form.Btn_KestrixtoBrouserClick(); });
    bar.SetOnClick(Item::Btn_Navigate, [&form] { form.Btn_NavigateClick(); });
    bar.SetDropDownMenu(Item::Btn_Favorite, form.LaunchPopup);
    bar.SetDropDownMenu(Item::Btn_Tag, form.PopupMenu);
    bar.SetOnClick(Item::ToolButton1, [&form] { form.ToolButton1Click(); });
    bar.SetOnClick(Item::Btn_Close, [&form] { form.Btn_CloseClick(); });
    bar.URL.OnKeyDown = [&form](WORD& key) { form.URLKeyDown(key); };
    bar.URL.OnKeyPress = [&form](char& key) { form.URLKeyPress(key); };
}

}  // namespace

TForm1::TForm1() {
    toolkit::WindowPlacement placement;
    placement.style = WS_POPUP | WS_CLIPCHILDREN;
    placement.width = kClientWidth;
    placement.height = kClientHeight;
    placement.parent = toolkit::App().Handle();
    CreateWindowObject(toolkit::WindowClass{L"TForm1", 0, ::GetSysColorBrush(COLOR_BTNFACE)}, L"Form1", placement);

    ImageList1 = std::make_unique<toolkit::TImageList>(kImageSize, kImageSize);
    resources::LoadImageStrip(*ImageList1, IDB_TOOLBAR_HOT);
    ImageList2 = std::make_unique<toolkit::TImageList>(kImageSize, kImageSize);
    resources::LoadImageStrip(*ImageList2, IDB_TOOLBAR_NORMAL);
    ImageList3 = std::make_unique<toolkit::TImageList>(kImageSize, kImageSize);
    ToolBar1 = std::make_unique<TToolBar1>(Handle(), *ImageList2, *ImageList1, FormFont());
    ConnectToolBar(*this);
    SetUpPopupMenu();
    SetUpLaunchPopup();

    // Armed before FormCreate, so that a form that fails to plant its toolbar still ends.
    Timer1 = std::make_unique<toolkit::Timer>(kWatchdogIntervalMs, [this] { Timer1Timer(); });
    Timer1->SetEnabled(true);

    toolkit::App().Guard([this] { FormCreate(); });
}

TForm1::~TForm1() { toolkit::App().SetOnMessage(nullptr); }

void TForm1::Close() { toolkit::App().Terminate(); }

void TForm1::FormCreate() {
    PointLaunchPopupAtFavorites();
    BuildTagMenu();
    toolkit::App().SetOnMessage([this](MSG& msg, bool& handled) { AppMessage(msg, handled); });
    LoadSettings();
    ToolBar1->SetParentWindow(kestrix::FindHostToolbar(HostWindow));
    PlaceToolbar();
    ::ShowWindow(ToolBar1->Handle(), SW_SHOWNOACTIVATE);
    ::ShowWindow(ToolBar1->URL.Handle(), SW_SHOWNOACTIVATE);
}

void TForm1::LoadSettings() {
    const std::string iniPath = kestrix::GetHostIniFilePath(HostWindow);
    ToolBar1->SetFlat(toolbar::IniBooleanOr(ReadHostSetting(iniPath, "Option", "FlatToolBar"), true));
    MenuPosition = toolbar::IniIntegerOr(ReadHostSetting(iniPath, "Browser", "Menu"), 0);
    const toolbar::ToolbarFrame frame = toolbar::ToolbarFrameFor(ToolBar1->Flat());
    ToolBar1->SetTop(frame.top);
    ToolBar1->SetBorderWidth(frame.borderWidth);
}

void TForm1::PlaceToolbar() {
    // The host is asked only when the settings leave the place to it.
    const std::uint8_t layoutCode =
        toolbar::ToolbarLeftNeedsHost(MenuPosition) ? kestrix::GetHostLayoutCode(HostWindow) : 0;
    ToolBar1->SetLeft(toolbar::ToolbarLeft(MenuPosition, layoutCode));
}

void TForm1::Timer1Timer() {
    const HWND hostToolbar = kestrix::FindHostToolbar(HostWindow);
    const bool hostGone = !::IsWindow(kestrix::ToHwnd(HostWindow)) || !::IsWindow(hostToolbar);
    const bool toolbarLost = !hostGone && ::IsWindowVisible(hostToolbar) && !::IsWindowVisible(ToolBar1->Handle());
    if (hostGone || toolbarLost) toolkit::App().Terminate();
    PlaceToolbar();
}

void TForm1::AppMessage(MSG& msg, bool& handled) {
    if (msg.message == kFilteredMessage) handled = true;
}

void TForm1::Btn_CloseClick() { Close(); }

void TForm1::URLKeyPress(char& key) {
    if (key == '\r') key = 0;
}

void TForm1::URLKeyDown(WORD& key) {
    if (key == VK_RETURN) NavigateBrowserTo(ToolBar1->URLText());
    // The box never handles a key going down itself: no caret keys, no Delete, no window keys.
    key = 0;
}

void TForm1::Btn_NavigateClick() {
    const std::string address = ToolBar1->URLText();
    if (!address.empty() && address != "http://") NavigateBrowserTo(address);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Close();
        return 0;
    }
    return Default(message, wParam, lParam);
}
