// The main form: loading it builds the toolbar from its table, its image lists and menus;
// FormCreate then plants the toolbar in the host, and the watchdog is armed after it. Also the
// watchdog, the address box, the navigate and close buttons and the application's message filter.

#include "toolbar/Unit1.h"

#include "browser/Unit2.h"
#include "hostlink/Kestrix.h"
#include "hostlink/SettingsFile.h"
#include "resources/Images.h"
#include "resources/ResourceIds.h"
#include "toolbar/ToolBar1.h"
#include "toolbar/ToolbarItems.h"
#include "toolbar/core/ToolbarSettings.h"
#include "toolkit/Application.h"
#include "toolkit/Font.h"
#include "toolkit/KeyEdit.h"
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

void NavigateBrowserTo(const std::string& address) {
    browser::Form2->Open(toolkit::AnsiToWide(address), browser::OpenOrder::NavigateThenShow);
}

}  // namespace

// What each toolbar item does: the handler a click runs (for the address box's place: Enter in the
// box), or the menu a drop-down button shows.
std::span<const toolkit::ToolCommand<TForm1>> TForm1::ToolbarCommands() {
    static constexpr toolkit::ToolCommand<TForm1> kCommands[] = {
        {kBtnKestrixtoBrouser, &TForm1::Btn_KestrixtoBrouserClick},
        {kURL, &TForm1::URLEnter},
        {kBtnNavigate, &TForm1::Btn_NavigateClick},
        {kBtnFavorite, nullptr, [](TForm1& f) -> toolkit::TPopupMenu& { return f.LaunchPopup; }},
        {kBtnTag, nullptr, [](TForm1& f) -> toolkit::TPopupMenu& { return f.PopupMenu; }},
        {kToolButton1, &TForm1::ToolButton1Click},
        {kBtnClose, &TForm1::Btn_CloseClick},
    };
    static_assert(toolkit::CommandsNameItems<TForm1>(kCommands, kToolbarItems));
    return kCommands;
}

TForm1::TForm1() {
    // Never shown, the form is a child of the application's hidden window rather than a window of
    // its own: the system makes a top-level window a frame on the display (several milliseconds of
    // the start, before the toolbar is planted), and the form needs none.
    toolkit::WindowPlacement placement;
    placement.style = WS_CHILD | WS_CLIPCHILDREN;
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
    ToolBar1 = std::make_unique<TToolBar1>(Handle(), *ImageList2, *ImageList1, kToolbarItems, kURL,
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
    const hostlink::HostSettings settings = hostlink::ReadHostSettings(HostWindow);
    ToolBar1->SetFlat(settings.flatToolBar);
    MenuPosition = settings.menuPosition;
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
    // Enter in the address box is a command like the buttons' clicks.
    toolkit::HandleAddressKeys(ToolBar1->URL(), [this] { ToolbarItemChosen(kURL); });
}

// Every command of the toolbar starts here. None runs while a box or menu of this program is open
// (the toolbar, planted in the host, stays live under them) or before the browser window exists
// (while the start-up error about it is shown).
void TForm1::ToolbarItemChosen(int id) {
    if (toolkit::App().ModalOpen() || !browser::Form2) return;
    toolkit::RunToolCommand(ToolbarCommands(), id, *this, ToolBar1->Buttons());
}

void TForm1::Btn_CloseClick() { Close(); }

void TForm1::Btn_KestrixtoBrouserClick() { Preview.Run(HostWindow); }

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
