#include "tests/testbed/MenuDriver.h"

#include <algorithm>

namespace menutest {

namespace {

constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM list) {
    wchar_t name[16] = {};
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::GetClassNameW(window, name, 16) && std::wstring(name) == L"#32768" &&
        ::IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(10);
    }
    return true;
}

}  // namespace

std::vector<ShownItem> ItemsOf(HMENU menu) {
    std::vector<ShownItem> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT position = static_cast<UINT>(i);
        ShownItem item;
        wchar_t text[512] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 511;
        ::GetMenuItemInfoW(menu, position, TRUE, &info);
        item.text = text;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
        item.disabled = (info.fState & MFS_DISABLED) != 0;
        item.submenu = info.hSubMenu;
        ::GetMenuItemRect(nullptr, menu, position, &item.rect);
        items.push_back(item);
    }
    return items;
}

std::vector<HWND> OpenMenuWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(&CollectMenuWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool AnyMenuOpen() { return !OpenMenuWindows().empty(); }

HMENU MenuOfWindow(HWND menuWindow) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(menuWindow, kGetMenuOfWindow, 0, 0, SMTO_ABORTIFHUNG, 3000, &result)) return nullptr;
    return reinterpret_cast<HMENU>(result);
}

MenuDriver::MenuDriver(std::function<void(MenuDriver&)> script)
    : thread_([this, script = std::move(script)] {
          script(*this);
          CloseAll();
      }) {}

MenuDriver::~MenuDriver() { Finish(); }

HWND MenuDriver::WaitForMenus(size_t count, DWORD timeoutMs) {
    std::vector<HWND> windows;
    // A window that has just appeared may not have its menu yet.
    const bool found = WaitFor(
        [&] {
            windows = OpenMenuWindows();
            return windows.size() >= count && MenuOfWindow(windows.front()) != nullptr &&
                   ::GetMenuItemCount(MenuOfWindow(windows.front())) > 0;
        },
        timeoutMs);
    if (!found) return nullptr;
    Pause(50);  // let the menu finish showing before input arrives
    return windows.front();
}

bool MenuDriver::WaitForClosed(DWORD timeoutMs) {
    return WaitFor([] { return !AnyMenuOpen(); }, timeoutMs);
}

void MenuDriver::Key(HWND menuWindow, UINT virtualKey) {
    ::PostMessageW(menuWindow, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(menuWindow, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
    Pause(60);
}

void MenuDriver::Char(HWND menuWindow, wchar_t c) {
    ::PostMessageW(menuWindow, WM_CHAR, c, 1);
    Pause(60);
}

void MenuDriver::Click(POINT point) {
    ::SetCursorPos(point.x, point.y);
    Pause(30);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input[0], sizeof(INPUT));
    Pause(40);
    ::SendInput(1, &input[1], sizeof(INPUT));
    Pause(80);
}

void MenuDriver::Pause(DWORD ms) { ::Sleep(ms); }

void MenuDriver::Finish() {
    if (thread_.joinable()) thread_.join();
}

void MenuDriver::CloseAll() {
    // A script that stopped early leaves the menu open, and the main thread inside it.
    for (int attempt = 0; attempt < 20 && AnyMenuOpen(); ++attempt) {
        for (HWND window : OpenMenuWindows()) ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
        ::Sleep(100);
    }
    if (AnyMenuOpen()) ::EndMenu();
}

}  // namespace menutest
