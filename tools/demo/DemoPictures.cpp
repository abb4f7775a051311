// demopictures: sets the scenes of the user's guide's pictures in the running demo (the stand-in
// editor with Corvane planted in its toolbar), one after another, for scripts/demo.sh to take:
//   tagmenu    the tag menu dropped down, its first group open
//   favorites  the favorites menu after loading, a folder open; the shortcuts are made here, in
//              the Favorites folder of the demo's own Wine prefix
//   browser    the browser window after a preview of the editor's document
// For each scene it writes NAME.ready into the folder it is given, holding the screen area to
// keep as WxH+X+Y, and waits for the script to create NAME.taken.
//
// The planted toolbar may lie under the demo's drawn copy of it (see ToolbarPicture.cpp), so its
// buttons are pressed with messages posted to the planted toolbar itself, not with the mouse.
//
// Usage: demopictures FOLDER   (a Windows path with a trailing "\")

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/testbed/TestSupport.h"
#include "toolbar/ToolbarItems.h"

namespace {

using namespace testsupport;

constexpr DWORD kSceneTimeoutMs = 60000;

struct Demo {
    HWND host = nullptr;
    HWND buttons = nullptr;  // the toolbar control Corvane planted in the host's toolbar
    DWORD corvane = 0;
};

Demo FindDemo() {
    Demo demo;
    demo.host = ::FindWindowA("TKestrixMainForm", nullptr);
    const HWND hostToolbar = demo.host ? ::FindWindowExA(demo.host, nullptr, "TToolbar", nullptr) : nullptr;
    if (!hostToolbar) return demo;
    DWORD hostProcess = 0;
    ::GetWindowThreadProcessId(hostToolbar, &hostProcess);
    for (HWND child = ::GetWindow(hostToolbar, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(child, &owner);
        if (owner == hostProcess) continue;
        demo.corvane = owner;
        demo.buttons = ClassNameOf(child) == "ToolbarWindow32" ? child
                                                                : ::FindWindowExA(child, nullptr, "ToolbarWindow32", nullptr);
    }
    return demo;
}

void PressButton(const Demo& demo, int id, bool dropsDown) {
    RECT client{};
    ::GetClientRect(demo.buttons, &client);
    const LPARAM point = MAKELPARAM(toolbar::ToolbarItemMiddle(id), client.bottom / 2);
    ::PostMessageW(demo.buttons, WM_LBUTTONDOWN, MK_LBUTTON, point);
    // A drop-down opens its menu on the press; the menu's loop would take a release as a click.
    if (!dropsDown) ::PostMessageW(demo.buttons, WM_LBUTTONUP, 0, point);
    PumpFor(300);
}

RECT Union(std::vector<HWND> windows) {
    RECT all{};
    for (HWND window : windows) {
        RECT r{};
        ::GetWindowRect(window, &r);
        ::UnionRect(&all, &all, &r);
    }
    return all;
}

// The drawn copy of the toolbar goes back on top, with Corvane's open menus above it: the editor's
// window, raised by a menu's choice, would hide it.
void RaiseDrawnToolbar(const Demo& demo) {
    constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (HWND copy = nullptr; (copy = ::FindWindowExA(nullptr, copy, nullptr, "ToolBar1")) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(copy, &owner);
        if (owner != demo.corvane) ::SetWindowPos(copy, HWND_TOPMOST, 0, 0, 0, 0, kKeep);
    }
    for (HWND menu : VisibleWindowsOf(demo.corvane, "#32768")) ::SetWindowPos(menu, HWND_TOPMOST, 0, 0, 0, 0, kKeep);
}

// Tells the script the area to keep and waits until it has taken the picture.
bool Take(const std::string& folder, const std::string& name, const Demo& demo, const RECT& area) {
    RaiseDrawnToolbar(demo);
    PumpFor(700);  // menus fade in, tooltips settle
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", area.right - area.left, area.bottom - area.top,
                  area.left, area.top);
    const std::string taken = folder + name + ".taken";
    ::DeleteFileA(taken.c_str());
    WriteFileBytes(folder + name + ".ready", geometry);
    const bool done = WaitUntil([&] { return FileExists(taken); }, kSceneTimeoutMs);
    if (!done) std::fprintf(stderr, "demopictures: the %s picture was not taken\n", name.c_str());
    return done;
}

void CloseMenus(const Demo& demo) {
    for (int i = 0; i < 3 && !VisibleWindowsOf(demo.corvane, "#32768").empty(); ++i) PressKey(VK_ESCAPE);
    WaitUntil([&] { return VisibleWindowsOf(demo.corvane, "#32768").empty(); }, 3000);
}

// Drops a button's menu, walks into a submenu with the keys, and has the editor with both menus taken.
bool MenuPicture(const Demo& demo, const std::string& folder, const std::string& name, int button,
                 std::initializer_list<WORD> keys) {
    PressButton(demo, button, true);
    if (WaitForOpenMenus(demo.corvane, 1).empty()) return false;
    for (WORD key : keys) PressKey(key);
    std::vector<HWND> windows = WaitForOpenMenus(demo.corvane, 2);
    windows.push_back(demo.host);
    const bool taken = Take(folder, name, demo, Union(windows));
    CloseMenus(demo);
    return taken;
}

bool TagMenuScene(const Demo& demo, const std::string& folder) {
    return MenuPicture(demo, folder, "tagmenu", toolbar::kBtnTag, {VK_DOWN, VK_RIGHT});
}

// A few sample shortcuts in the prefix's Favorites folder, two of them in subfolders.
void MakeSampleFavorites() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    const std::wstring root = std::wstring(path) + L"\\";
    ::CreateDirectoryW((root + L"HTML の資料").c_str(), nullptr);
    ::CreateDirectoryW((root + L"よく見るページ").c_str(), nullptr);
    const struct {
        const wchar_t* name;
        const char* url;
    } shortcuts[] = {
        {L"HTML の資料\\タグの一覧.url", "http://example.com/tags"},
        {L"HTML の資料\\色の名前.url", "http://example.com/colors"},
        {L"HTML の資料\\文字参照.url", "http://example.com/entities"},
        {L"よく見るページ\\天気.url", "http://example.com/weather"},
        {L"自分のサイト.url", "http://example.com/"},
        {L"下書き置き場.url", "http://example.com/drafts"},
    };
    for (const auto& shortcut : shortcuts) {
        const std::string content = std::string("[InternetShortcut]\r\nURL=") + shortcut.url + "\r\n";
        const HANDLE file = ::CreateFileW((root + shortcut.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD written = 0;
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

bool FavoritesScene(const Demo& demo, const std::string& folder) {
    MakeSampleFavorites();
    // The first entry loads the folder; the menu closes with the choice.
    PressButton(demo, toolbar::kBtnFavorite, true);
    if (WaitForOpenMenus(demo.corvane, 1).empty()) return false;
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    CloseMenus(demo);
    // The load runs on a thread of Corvane's own; a few shortcuts take a moment at most.
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(demo.buttons, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
    ::Sleep(2000);

    // Past the disabled first entry (the separator is skipped) to the first folder, opened.
    return MenuPicture(demo, folder, "favorites", toolbar::kBtnFavorite, {VK_DOWN, VK_DOWN, VK_RIGHT});
}

bool BrowserScene(const Demo& demo, const std::string& folder) {
    PressButton(demo, toolbar::kBtnKestrixtoBrouser, false);
    HWND browser = nullptr;
    WaitUntil([&] {
        const std::vector<HWND> shown = VisibleWindowsOf(demo.corvane, "TForm2");
        browser = shown.empty() ? nullptr : shown.front();
        return browser != nullptr;
    }, 10000);
    if (!browser) return false;
    return Take(folder, "browser", demo, Union({browser}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demopictures FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    Demo demo;
    WaitUntil([&] { return (demo = FindDemo()).buttons != nullptr; }, 30000);
    if (!demo.buttons) {
        std::fprintf(stderr, "demopictures: no Corvane toolbar planted in the editor\n");
        return 1;
    }
    bool ok = TagMenuScene(demo, folder);
    ok = FavoritesScene(demo, folder) && ok;
    ok = BrowserScene(demo, folder) && ok;
    return ok ? 0 : 1;
}
