// Corvane's peak working set (its process, planted in the stand-in host) after its start and after
// loading a Favorites folder of 10,000 shortcuts through its favorites menu, each against the peak
// working set of a minimal program that creates one hidden window, measured in the same run. The
// load runs on a thread of Corvane's own: the figure is taken once that thread has ended and the
// tree has been taken over, and the menu is then dropped to see that it holds the tree.
//
// The Favorites folder of the Wine prefix is taken over for the run: what was there is moved
// aside and put back afterwards.
//
// Usage: memory_bench [shortcuts]   (default 10000)

#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "toolbar/ToolbarItems.h"

#include "bench/BenchReport.h"

namespace {

using namespace testsupport;

constexpr char kTagIni[] = "%Tags\r\n&<b></b>\r\n";
constexpr int kShortcutsPerFolder = 100;
constexpr DWORD kLoadTimeoutMs = 300000;

double PeakWorkingSetMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// The user's Favorites folder of this prefix, filled with shortcuts for the run and given back after.
class TakenFavorites {
public:
    explicit TakenFavorites(int shortcuts) {
        char path[MAX_PATH] = {};
        ::SHGetFolderPathA(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path);
        folder_ = path;
        if (folder_.empty()) return;
        aside_ = folder_ + " (kept aside by memory_bench)";
        movedAside_ = ::MoveFileA(folder_.c_str(), aside_.c_str()) != 0;
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        const std::string content = "[InternetShortcut]\r\nURL=http://example.invalid/\r\n";
        for (int i = 0; i < shortcuts; ++i) {
            const std::string sub = folder_ + "\\folder " + std::to_string(i / kShortcutsPerFolder);
            if (i % kShortcutsPerFolder == 0) ::CreateDirectoryA(sub.c_str(), nullptr);
            WriteFileBytes(sub + "\\shortcut " + std::to_string(i) + ".url", content);
        }
    }
    ~TakenFavorites() {
        if (folder_.empty()) return;
        RemoveTree(folder_ + "\\");
        if (movedAside_) ::MoveFileA(aside_.c_str(), folder_.c_str());
    }
    TakenFavorites(const TakenFavorites&) = delete;
    TakenFavorites& operator=(const TakenFavorites&) = delete;

    bool Ready() const { return !folder_.empty(); }

private:
    std::string folder_, aside_;
    bool movedAside_ = false;
};

double MinimalProgramPeakMb(const std::string& exe) {
    Process minimal = Process::Start(exe, "");
    const bool shown = WaitUntil([&] { return !TopLevelWindowsOf(minimal.Id(), "TMinimalBenchWindow").empty(); }, 10000);
    const double peak = shown ? PeakWorkingSetMb(minimal.Handle()) : 0;
    minimal.Kill();
    return peak;
}

constexpr int kItemHeight = 19;

// Drops the favorites menu and gives the client height of its window, then closes it; -1 when no
// menu opened.
int DroppedMenuHeight(HWND buttons, const Process& corvane) {
    RECT client{};
    ::GetClientRect(buttons, &client);
    POINT point{toolbar::ToolbarItemMiddle(toolbar::kBtnFavorite), client.bottom / 2};
    ::ClientToScreen(buttons, &point);
    ClickAt(point);
    const std::vector<HWND> menus = WaitForOpenMenus(corvane.Id(), 1);
    if (menus.empty()) return -1;
    RECT menu{};
    ::GetClientRect(menus[0], &menu);
    PressKey(VK_ESCAPE);
    if (!WaitUntil([&] { return VisibleWindowsOf(corvane.Id(), "#32768").empty(); }, 5000)) return -1;
    return menu.bottom;
}

int ThreadsOf(DWORD processId) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int threads = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId) ++threads;
    ::CloseHandle(snapshot);
    return threads;
}

HWND PlantedButtons(const HostSim& host, const Process& corvane) {
    HWND buttons = WaitForPlantedToolbar(host, corvane.Id());
    if (buttons && ClassNameOf(buttons) != "ToolbarWindow32")
        buttons = ::FindWindowExA(buttons, nullptr, "ToolbarWindow32", nullptr);
    return buttons;
}

// Drops the favorites menu and chooses its first entry, which loads the folder on a thread of its
// own; returns once that thread has ended and Corvane has had time to take the tree over. The
// menu is not opened again before the figure is taken: opening it costs memory of its own.
bool StartLoadAndWaitForItsThread(HWND buttons, const Process& corvane, int& unloadedHeight) {
    unloadedHeight = DroppedMenuHeight(buttons, corvane);
    if (unloadedHeight < 0) return false;
    const int threadsBefore = ThreadsOf(corvane.Id());
    RECT client{};
    ::GetClientRect(buttons, &client);
    POINT point{toolbar::ToolbarItemMiddle(toolbar::kBtnFavorite), client.bottom / 2};
    ::ClientToScreen(buttons, &point);
    ClickAt(point);
    if (WaitForOpenMenus(corvane.Id(), 1).empty()) return false;
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    if (!WaitUntil([&] { return VisibleWindowsOf(corvane.Id(), "#32768").empty(); }, 5000)) return false;
    if (!WaitUntil([&] { return ThreadsOf(corvane.Id()) <= threadsBefore; }, kLoadTimeoutMs)) return false;
    PumpFor(1500);
    return true;
}

// Until the menu shows the loaded tree it shows two lines: the first entry and the progress line.
bool MenuShowsTheTree(HWND buttons, const Process& corvane, int unloadedHeight) {
    const int height = DroppedMenuHeight(buttons, corvane);
    return height >= 0 && height != unloadedHeight + kItemHeight;
}

}  // namespace

int main(int argc, char** argv) {
    const int shortcuts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const std::string dir = ScratchDir("memory-bench");
    const std::string exe = StageCorvane(dir, kTagIni);
    TakenFavorites favorites(shortcuts);
    if (!favorites.Ready()) {
        std::printf("memory benchmark: this prefix names no Favorites folder\n");
        return 1;
    }
    const double minimal = MinimalProgramPeakMb(WinePath(MINIMAL_EXE_UNIX));

    HostSim host = HostSim::Start();
    Process corvane = StartCorvane(exe, host);
    if (!WaitForPlantedToolbar(host, corvane.Id())) {
        std::printf("memory benchmark: Corvane planted no toolbar\n");
        return 1;
    }
    PumpFor(500);
    const double started = PeakWorkingSetMb(corvane.Handle());
    double afterLoad = 0;
    const HWND buttons = PlantedButtons(host, corvane);
    int unloadedHeight = 0;
    const bool loaded = buttons && StartLoadAndWaitForItsThread(buttons, corvane, unloadedHeight) &&
                        [&] {
                            const double peak = PeakWorkingSetMb(corvane.Handle());
                            afterLoad = peak;
                            return MenuShowsTheTree(buttons, corvane, unloadedHeight);
                        }();
    corvane.Kill();
    RemoveTree(dir);

    std::printf("peak working set: minimal window program %.1f MB, Corvane started %.1f MB", minimal, started);
    if (loaded) std::printf(", after loading %d favorites %.1f MB", shortcuts, afterLoad);
    std::printf("\n");
    if (minimal <= 0) return 1;
    bench::Report("peak working set, Corvane started", started, "MB", "minimal window program", minimal);
    const std::string figure = "peak working set, after " + std::to_string(shortcuts) + " favorites loaded";
    if (loaded) bench::Report(figure.c_str(), afterLoad, "MB", "minimal window program", minimal);
    return loaded ? 0 : 1;
}
