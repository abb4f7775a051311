// The baseline of the start-up benchmark's planting figures: the least program that plants a
// window in the host's toolbar the way Corvane plants its own. It takes the host's window from
// "/w=<handle in decimal>", creates one hidden window and a hidden child of it, moves the child
// into the host's toolbar and shows it there, then waits to be closed.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "hostlink/core/HostProtocol.h"

namespace {
LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && !::GetParent(window)) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND HostFromCommandLine() {
    const char* value = std::strstr(::GetCommandLineA(), "/w=");
    if (!value) return nullptr;
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoul(value + 3, nullptr, 10)));
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"TPlantingBenchWindow";
    if (!::RegisterClassW(&windowClass)) return 1;
    const HWND main = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                        nullptr, instance, nullptr);
    if (!main) return 1;
    const HWND planted = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_CHILD, 0, 0, 100, 24, main,
                                           nullptr, instance, nullptr);
    const HWND hostToolbar = ::FindWindowExA(HostFromCommandLine(), nullptr, hostlink::kToolbarClass, nullptr);
    if (!planted || !hostToolbar) return 1;
    ::SetParent(planted, hostToolbar);
    ::ShowWindow(planted, SW_SHOWNOACTIVATE);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
