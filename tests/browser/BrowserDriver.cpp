#include "tests/browser/BrowserDriver.h"

#include <commctrl.h>

#include "tests/testbed/TestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/OleControl.h"

namespace browsertest {

using Microsoft::WRL::ComPtr;
using scriptedbrowser::ScriptedBrowserControl;

void EnsureApplication() {
    static bool initialized = false;
    if (initialized) return;
    toolkit::App().Initialize();
    initialized = true;
}

ScriptedControlInjection::ScriptedControlInjection(ComPtr<ScriptedBrowserControl> control) {
    toolkit::TOleControl::SetObjectFactory([control](const CLSID&, IUnknown** object) {
        return control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(object));
    });
}

ScriptedControlInjection::~ScriptedControlInjection() { toolkit::TOleControl::SetObjectFactory({}); }

ScriptedWindow::ScriptedWindow() : control(ScriptedBrowserControl::Create()) {
    EnsureApplication();
    ScriptedControlInjection injection(control);
    form = std::make_unique<TForm2>();
    form->Show();
    Settle();
}

ScriptedWindow::~ScriptedWindow() {
    form.reset();
    Settle();
}

void Settle() { testsupport::PumpFor(50); }

void Click(TForm2& form, const TToolButton& button) {
    RECT rect{};
    ::SendMessageW(Parts(form).ToolBar1.Handle(), TB_GETRECT, static_cast<WPARAM>(button.Id()), reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::PostMessageW(Parts(form).ToolBar1.Handle(), WM_MOUSEMOVE, 0, point);
    ::PostMessageW(Parts(form).ToolBar1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(Parts(form).ToolBar1.Handle(), WM_LBUTTONUP, 0, point);
    Settle();
}

void PressKey(HWND window, WORD key, bool alt) {
    const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (alt ? (1 << 29) : 0);
    const LPARAM up = down | (1 << 30) | (static_cast<LPARAM>(1) << 31);
    ::PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
    ::PostMessageW(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, up);
    Settle();
}

void TypeText(HWND window, const std::wstring& text) {
    for (const wchar_t c : text) ::PostMessageW(window, WM_CHAR, c, 1);
    Settle();
}

std::string Ansi(const std::wstring& text) { return testsupport::Utf8ToAnsi(testsupport::WideToUtf8(text)); }

std::wstring CaptionOf(HWND window) {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(window, buffer, 1024);
    return buffer;
}

std::string AnsiTextOf(HWND window) { return testsupport::WindowTextAnsi(window); }

DWORD Selection(HWND edit) {
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return MAKELONG(start, end);
}

ErrorBoxWatcher::ErrorBoxWatcher(DWORD timeoutMs) {
    helper_ = std::thread([this, timeoutMs] {
        const HWND box = testsupport::WaitForMessageBox(::GetCurrentProcessId(), timeoutMs);
        if (!box) return;
        text_ = testsupport::MessageBoxText(box);
        caption_ = testsupport::WindowCaption(box);
        owner_ = ::GetWindow(box, GW_OWNER);
        const HWND watched = watched_.load();
        othersDisabled_ = watched && !::IsWindowEnabled(watched);
        seen_ = true;
        testsupport::PressMessageBoxButton(box);
    });
}

ErrorBoxWatcher::~ErrorBoxWatcher() { Wait(); }

bool ErrorBoxWatcher::Wait() {
    if (helper_.joinable()) helper_.join();
    return seen_;
}

}  // namespace browsertest
