#pragma once
// Drives a popup menu of this process from a helper thread while the test's main thread sits in
// the menu's modal loop: finds the open menu windows, reads their Win32 menus, sends keys, chars
// and mouse clicks. Every wait is bounded, and whatever is still open at the end is closed.

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace menutest {

// One item of an open Win32 menu, as the menu system holds it.
struct ShownItem {
    std::wstring text;
    bool separator = false;
    bool ownerDrawn = false;
    bool disabled = false;
    HMENU submenu = nullptr;
    RECT rect{};  // on the screen; empty when the menu system gives none
};

std::vector<ShownItem> ItemsOf(HMENU menu);
// The visible menu windows ("#32768") of this process, the most recently opened first.
std::vector<HWND> OpenMenuWindows();
bool AnyMenuOpen();
HMENU MenuOfWindow(HWND menuWindow);

class MenuDriver {
public:
    // Starts script on a helper thread at once; it usually begins with WaitForMenus(1).
    explicit MenuDriver(std::function<void(MenuDriver&)> script);
    ~MenuDriver();  // Finish()
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    // Waits until count menu windows are open; returns the most recent one, or null on time-out.
    HWND WaitForMenus(size_t count, DWORD timeoutMs = 5000);
    // Waits until no menu window is open; false on time-out.
    bool WaitForClosed(DWORD timeoutMs = 5000);

    void Key(HWND menuWindow, UINT virtualKey);  // a key press as the menu's loop receives it
    void Char(HWND menuWindow, wchar_t c);        // a typed character (access keys)
    void Click(POINT screenPoint);                // a real left click with the mouse
    void Pause(DWORD ms);

    // Joins the helper thread, which closes any menu that its script left open.
    void Finish();

private:
    void CloseAll();

    std::thread thread_;
};

}  // namespace menutest
