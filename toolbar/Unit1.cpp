// The main form: loading it builds the toolbar from its table, its image lists and menus;
// FormCreate then plants the toolbar in the host, and the watchdog is armed after it. Also the
// watchdog, the address box, the navigate and close buttons and the application's message filter.

#include "toolbar/Unit1.h"

#include <algorithm>

#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "resources/Images.h"
#include "resources/ResourceIds.h"
#include "toolbar/LivePreview.h"
#include "toolbar/PreviewContent.h"
#include "toolbar/ToolBar1.h"
#include "toolbar/core/ToolbarSettings.h"
#include "toolkit/Application.h"
#include "toolkit/Font.h"
#include "toolkit/Text.h"

namespace toolbar {

TForm1* Form1 = nullptr;

namespace {

using hostlink::HostWindow;

constexpr int kClientWidth = 342;
constexpr int kClientHeight = 81;
constexpr UINT kWatchdogIntervalMs = 1000;
// Messages of this identifier never reach a window of this program.
constexpr UINT kFilteredMessage = 0x0900;
constexpr DWORD kSettingBufferLimit = 65536;

// The toolbar's items, left to right.
enum ItemId : int {
    kToolButton4 = 1,
    kBtnKestrixtoBrouser,
    kURL,
    kBtnNavigate,
    kBtnFavorite,
    kToolButton9,
    kBtnTag,
    kToolButton1,
    kBtnClose,
};

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
    browser::Form2->Open(toolkit::AnsiToWide(address), browser::OpenOrder::NavigateThenShow);
}

}  // namespace

// One toolbar item: what it is, where it sits and its picture; the handler a click runs (for the
// address box's place: Enter in the box), or the menu a drop-down button shows.
struct TForm1::ToolbarRow {
    toolkit::ToolItem item;
    void (TForm1::*click)() = nullptr;
    toolkit::TPopupMenu& (*menu)(TForm1& form) = nullptr;
};

std::span<const TForm1::ToolbarRow> TForm1::ToolbarRows() {
    using enum toolkit::ToolKind;
    static constexpr ToolbarRow kRows[] = {
        {{kToolButton4, Separator, 0, 8}},
        {{kBtnKestrixtoBrouser, Button, 8, 0, 1}, &TForm1::Btn_KestrixtoBrouserClick},
        {{kURL, Placeholder, 31, 121}, &TForm1::URLEnter},
        {{kBtnNavigate, Button, 152, 0, 7}, &TForm1::Btn_NavigateClick},
        {{kBtnFavorite, DropDown, 175, 0, 8}, nullptr, [](TForm1& f) -> toolkit::TPopupMenu& { return f.LaunchPopup; }},
        {{kToolButton9, Separator, 198, 8}},
        {{kBtnTag, DropDown, 206, 0, 0}, nullptr, [](TForm1& f) -> toolkit::TPopupMenu& { return f.PopupMenu; }},
        {{kToolButton1, Button, 229, 0, 9}, &TForm1::ToolButton1Click},
        {{kBtnClose, Button, 252, 0, 6, L"Corvane を終了します"}, &TForm1::Btn_CloseClick},
    };
    static_assert(toolkit::ItemsAdjoin(kRows, TToolBar1::kButtonSize.cx));
    return kRows;
}

std::vector<toolkit::ToolItem> TForm1::ToolbarItems() {
    std::vector<toolkit::ToolItem> items;
    for (const ToolbarRow& row : ToolbarRows()) items.push_back(row.item);
    return items;
}

int TForm1::AddressItem() { return kURL; }

TForm1::TForm1() {
    toolkit::WindowPlacement placement;
    placement.style = WS_POPUP | WS_CLIPCHILDREN;
    placement.width = kClientWidth;
    placement.height = kClientHeight;
    placement.parent = toolkit::App().Handle();
    CreateWindowObject(toolkit::WindowClass{L"TForm1", 0, ::GetSysColorBrush(COLOR_BTNFACE)}, L"Form1", placement);

    constexpr int kSize = toolkit::kSmallImageSize;
    ImageList1 = std::make_unique<toolkit::TImageList>(kSize, kSize);
    resources::LoadImageStrip(*ImageList1, IDB_TOOLBAR_HOT);
    ImageList2 = std::make_unique<toolkit::TImageList>(kSize, kSize);
    resources::LoadImageStrip(*ImageList2, IDB_TOOLBAR_NORMAL);
    ImageList3 = std::make_unique<toolkit::TImageList>(kSize, kSize);
    ToolBar1 = std::make_unique<TToolBar1>(Handle(), *ImageList2, *ImageList1, ToolbarItems(), AddressItem(),
                                           toolkit::CreateFormFont());
    ConnectToolBar();
    SetUpPopupMenu();
    SetUpLaunchPopup();

    // The watchdog is armed once the set-up is over, whether it planted the toolbar or not. An
    // error that stops the set-up (a missing Tag.ini) stays on screen until the user closes it: an
    // end request would close the open box with it. Afterwards the watchdog ends the program at
    // its first tick that finds the host's toolbar in sight, as this toolbar was never planted.
    toolkit::App().Guard([this] { FormCreate(); });
    Timer1 = std::make_unique<toolkit::Timer>(kWatchdogIntervalMs, [this] { Timer1Timer(); });
    Timer1->SetEnabled(true);
}

TForm1::~TForm1() { toolkit::App().SetOnMessage(nullptr); }

void TForm1::Close() { toolkit::App().Terminate(); }

void TForm1::FormCreate() {
    BuildTagMenu();
    toolkit::App().SetOnMessage([this](MSG& msg, bool& handled) { AppMessage(msg, handled); });
    LoadSettings();
    ToolBar1->SetParentWindow(hostlink::FindHostToolbar(HostWindow));
    PlaceToolbar();
    // The address box first, while the toolbar is still hidden: the toolbar then shows whole, at once.
    ::ShowWindow(ToolBar1->URL().Handle(), SW_SHOWNOACTIVATE);
    ::ShowWindow(ToolBar1->Handle(), SW_SHOWNOACTIVATE);
    // What the planted toolbar does not show at once comes after it: its tips' window, and the
    // shell's first use (the toolbar waits for no library it does not need).
    ToolBar1->Buttons().AddTips();
    PointLaunchPopupAtFavorites();
}

void TForm1::LoadSettings() {
    const std::string iniPath = hostlink::GetHostIniFilePath(HostWindow);
    ToolBar1->SetFlat(toolbar::IniBooleanOr(ReadHostSetting(iniPath, "Option", "FlatToolBar"), true));
    MenuPosition = toolbar::IniIntegerOr(ReadHostSetting(iniPath, "Browser", "Menu"), 0);
    const toolbar::ToolbarFrame frame = toolbar::ToolbarFrameFor(ToolBar1->Flat());
    ToolBar1->SetTop(frame.top);
    ToolBar1->SetBorderWidth(frame.borderWidth);
}

void TForm1::PlaceToolbar() {
    // The host is asked only when the settings leave the place to it.
    const std::uint8_t layoutCode =
        toolbar::ToolbarLeftNeedsHost(MenuPosition) ? hostlink::GetHostLayoutCode(HostWindow) : 0;
    ToolBar1->SetLeft(toolbar::ToolbarLeft(MenuPosition, layoutCode));
}

void TForm1::Timer1Timer() {
    const HWND hostToolbar = hostlink::FindHostToolbar(HostWindow);
    const bool hostGone = !::IsWindow(hostlink::ToHwnd(HostWindow)) || !::IsWindow(hostToolbar);
    const bool toolbarLost = !hostGone && ::IsWindowVisible(hostToolbar) && !::IsWindowVisible(ToolBar1->Handle());
    if (hostGone || toolbarLost) toolkit::App().Terminate();
    PlaceToolbar();
}

void TForm1::AppMessage(MSG& msg, bool& handled) {
    if (msg.message == kFilteredMessage) handled = true;
}

void TForm1::ConnectToolBar() {
    ToolBar1->Buttons().OnItem = [this](int id) { ToolbarItemChosen(id); };
    ToolBar1->URL().OnKeyDown = [this](WORD& key) { URLKeyDown(key); };
    ToolBar1->URL().OnKeyPress = [this](wchar_t& key) { URLKeyPress(key); };
}

// Every command of the toolbar starts here. None runs while a box or menu of this program is open
// (the toolbar, planted in the host, stays live under them) or before the browser window exists
// (while the start-up error about it is shown).
void TForm1::ToolbarItemChosen(int id) {
    if (toolkit::App().ModalOpen() || !browser::Form2) return;
    const std::span<const ToolbarRow> rows = ToolbarRows();
    const auto row = std::find_if(rows.begin(), rows.end(), [id](const ToolbarRow& r) { return r.item.id == id; });
    if (row == rows.end()) return;
    if (row->menu)
        ToolBar1->Buttons().DropDown(id, row->menu(*this));
    else if (row->click)
        (this->*(row->click))();
}

void TForm1::Btn_CloseClick() { Close(); }

void TForm1::URLKeyPress(wchar_t& key) {
    if (key == '\r') key = 0;
}

void TForm1::URLKeyDown(WORD& key) {
    if (key == VK_RETURN) ToolbarItemChosen(kURL);
    // The box never handles a key going down itself: no caret keys, no Delete, no window keys.
    key = 0;
}

void TForm1::URLEnter() { NavigateBrowserTo(ToolBar1->URL().Text()); }

void TForm1::Btn_NavigateClick() {
    const std::string address = ToolBar1->URL().Text();
    if (!address.empty() && address != "http://") NavigateBrowserTo(address);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Close();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace toolbar
