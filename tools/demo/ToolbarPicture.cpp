// toolbarpicture: draws Corvane's toolbar for the demo's screenshot.
//
// Wine does not draw a window that sits inside another process's window: the toolbar that
// Corvane plants in the host is there and takes clicks and keys, but shows nothing on a Wine
// display. For the picture, this program builds the same toolbar (the program's own TToolBar1,
// pictures, items and font) as a window of its own, lays it exactly over the place where Corvane planted
// its toolbar, and rests the mouse on the close button so that the picture shows a hot button
// and the tooltip.
//
// Usage: toolbarpicture SECONDS [READY-FILE]
//   waits up to 30 s for a planted toolbar, then stays SECONDS; once the tooltip has had time to
//   show, it creates READY-FILE, when given.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>

#include "resources/Images.h"
#include "resources/ResourceIds.h"
#include "toolbar/ToolBar1.h"
#include "toolbar/ToolbarItems.h"
#include "toolkit/Application.h"
#include "toolkit/Font.h"

namespace {

// The toolbar that another process planted in the host's toolbar.
HWND FindPlantedToolbar() {
    const HWND host = ::FindWindowA("TKestrixMainForm", nullptr);
    const HWND hostToolbar = host ? ::FindWindowExA(host, nullptr, "TToolbar", nullptr) : nullptr;
    if (!hostToolbar) return nullptr;
    DWORD hostProcess = 0;
    ::GetWindowThreadProcessId(hostToolbar, &hostProcess);
    for (HWND child = ::GetWindow(hostToolbar, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(child, &owner);
        if (owner != hostProcess && ::IsWindowVisible(child)) return child;
    }
    return nullptr;
}

void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD stayMs = static_cast<DWORD>(argc > 1 ? std::atoi(argv[1]) : 10) * 1000;
    HWND planted = nullptr;
    for (int i = 0; i < 300 && !(planted = FindPlantedToolbar()); ++i) ::Sleep(100);
    if (!planted) {
        std::fprintf(stderr, "toolbarpicture: no planted toolbar\n");
        return 1;
    }
    RECT place{};
    ::GetWindowRect(planted, &place);

    toolkit::App().Initialize();
    toolkit::TImageList hot(toolkit::kSmallImageSize, toolkit::kSmallImageSize);
    toolkit::TImageList normal(toolkit::kSmallImageSize, toolkit::kSmallImageSize);
    resources::LoadImageStrip(hot, IDB_TOOLBAR_HOT);
    resources::LoadImageStrip(normal, IDB_TOOLBAR_NORMAL);
    const HWND form = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 342, 81, toolkit::App().Handle(), nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
    auto bar = std::make_unique<toolbar::TToolBar1>(form, normal, hot, toolbar::kToolbarItems, toolbar::kURL,
                                                    toolkit::CreateFormFont());
    bar->SetBorderWidth(1);
    bar->SetParentWindow(nullptr);
    bar->SetLeft(place.left);
    bar->SetTop(place.top);
    ::SetWindowPos(bar->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::ShowWindow(bar->URL().Handle(), SW_SHOWNOACTIVATE);

    // Rest the mouse on the close button.
    POINT closeButton{toolbar::ToolbarItemMiddle(toolbar::kBtnClose), toolbar::kToolbarButtonSize.cy / 2};
    ::ClientToScreen(bar->Handle(), &closeButton);
    ::SetCursorPos(closeButton.x - 5, closeButton.y);
    PumpFor(100);
    ::SetCursorPos(closeButton.x, closeButton.y);
    INPUT nudge{};
    nudge.type = INPUT_MOUSE;
    nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
    ::SendInput(1, &nudge, sizeof nudge);
    constexpr DWORD kTooltipShownMs = 2000;
    PumpFor(kTooltipShownMs);
    if (argc > 2) {
        const HANDLE ready = ::CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) ::CloseHandle(ready);
    }
    PumpFor(stayMs);
    bar.reset();
    ::DestroyWindow(form);
    return 0;
}
