// How long the folder launch menu takes to load a tree of N shortcuts (icons included), next to a
// bare FindFirstFileA walk of the same tree measured in the same run, and how much memory each
// loaded item keeps; then the same for a tree whose folder and file names the ANSI code page
// cannot hold, against a bare FindFirstFileW walk of that tree.
//
// The load with icons is the favorites menu's: on a thread of its own, items that show the same
// icon sharing one image, timed from the request until the menu holds the tree. While it runs, this
// thread dispatches its messages as the program's would, and the longest of those dispatches is the
// longest stall of the user-interface thread; its baseline is the same load run on this thread,
// which stalls it for the whole load.
//
// Usage: launch_bench [N ...]   (default 1000 10000 50000). The trees go under the temporary
// folder and are removed afterwards.

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "menus/LaunchPopup.h"
#include "toolkit/ImageList.h"
#include "toolkit/Text.h"

#include "bench/BenchClock.h"
#include "bench/BenchReport.h"

namespace {

constexpr int kFilesPerFolder = 100;
constexpr int kFoldersPerGroup = 10;
constexpr int kRuns = 5;

using bench::BestOf;
const auto Now = bench::NowMs;

void Touch(const std::string& path) {
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        std::exit(1);
    }
    static const char content[] = "[InternetShortcut]\r\nURL=http://example.invalid/\r\n";
    DWORD written = 0;
    ::WriteFile(file, content, sizeof content - 1, &written, nullptr);
    ::CloseHandle(file);
}

// root\gG\fF\sS.url: groups of ten folders of a hundred shortcuts, plus a few beside the groups.
std::string MakeTree(int files) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "corvane-launch-bench-" + std::to_string(files) + "\\";
    ::CreateDirectoryA(root.c_str(), nullptr);
    int made = 0;
    for (int group = 0; made < files; ++group) {
        const std::string groupDir = root + "group " + std::to_string(group) + "\\";
        ::CreateDirectoryA(groupDir.c_str(), nullptr);
        for (int folder = 0; folder < kFoldersPerGroup && made < files; ++folder) {
            const std::string dir = groupDir + "folder " + std::to_string(folder) + "\\";
            ::CreateDirectoryA(dir.c_str(), nullptr);
            for (int i = 0; i < kFilesPerFolder && made < files; ++i, ++made)
                Touch(dir + "Shortcut " + std::to_string(i) + ".url");
        }
    }
    return root;
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(dir + name + "\\");
            else
                ::DeleteFileA((dir + name).c_str());
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

// The baseline: one FindFirstFileA pass per folder, counting the shortcuts.
int BareWalk(const std::string& dir) {
    int files = 0;
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA((dir + "*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != "." && name != "..") files += BareWalk(dir + name + "\\");
        } else {
            ++files;
        }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return files;
}

// The same shape with names of several scripts: "Ordner é 한국 G-F\\Lesezeichen ü 简体 S.url".
std::wstring MakeWideTree(int files) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"corvane-launch-bench-wide-" + std::to_wstring(files) + L"\\";
    ::CreateDirectoryW(root.c_str(), nullptr);
    static const char content[] = "[InternetShortcut]\r\nURL=http://example.invalid/\r\n";
    int made = 0;
    for (int folder = 0; made < files; ++folder) {
        const std::wstring dir = root + L"Ordner é 한국 " + std::to_wstring(folder) + L"\\";
        ::CreateDirectoryW(dir.c_str(), nullptr);
        for (int i = 0; i < kFilesPerFolder && made < files; ++i, ++made) {
            const std::wstring path = dir + L"Lesezeichen ü 简体 " + std::to_wstring(i) + L".url";
            const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            ::WriteFile(file, content, sizeof content - 1, &written, nullptr);
            ::CloseHandle(file);
        }
    }
    return root;
}

// Counts (walk) or removes (remove) what lies under dir, through the wide API.
int WideWalk(const std::wstring& dir, bool remove) {
    int files = 0;
    WIN32_FIND_DATAW entry;
    const HANDLE find = ::FindFirstFileW((dir + L"*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::wstring name = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..") files += WideWalk(dir + name + L"\\", remove);
        } else {
            ++files;
            if (remove) ::DeleteFileW((dir + name).c_str());
        }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    if (remove) ::RemoveDirectoryW(dir.c_str());
    return files;
}

struct Memory {
    double workingSet;
    double privateBytes;
};

Memory MemoryNow() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Some systems leave PrivateUsage empty; the commit charge (PagefileUsage) is the same figure.
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return {static_cast<double>(counters.WorkingSetSize), static_cast<double>(privateBytes)};
}

struct Loaded {
    std::unique_ptr<toolkit::TImageList> images;
    std::unique_ptr<menus::TLaunchPopup> popup;
};

Loaded Prepare(const std::wstring& root, bool withImages) {
    Loaded loaded;
    if (withImages) loaded.images = std::make_unique<toolkit::TImageList>(16, 16);
    loaded.popup = std::make_unique<menus::TLaunchPopup>();
    loaded.popup->SetMask(L"*.url");
    loaded.popup->SetSearchDirectory(true);
    loaded.popup->SetImages(loaded.images.get());
    loaded.popup->SetShareImages(withImages);
    loaded.popup->SetDirectory(root);
    return loaded;
}

// On this thread, which answers nothing until the load is over.
Loaded Load(const std::wstring& root, bool withImages) {
    Loaded loaded = Prepare(root, withImages);
    loaded.popup->LoadItems();
    return loaded;
}

// On the menu's own loading thread, this one dispatching its messages meanwhile; longestStall
// receives the longest time this thread spent without looking at its queue.
Loaded LoadInBackground(const std::wstring& root, double* longestStall = nullptr) {
    Loaded loaded = Prepare(root, true);
    double longest = 0;
    double busySince = Now();
    loaded.popup->BeginLoadItems();
    while (loaded.popup->Loading()) {
        longest = std::max(longest, Now() - busySince);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        busySince = Now();
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
            longest = std::max(longest, Now() - busySince);
            busySince = Now();
        }
    }
    longest = std::max(longest, Now() - busySince);
    if (longestStall) *longestStall = longest;
    return loaded;
}

// Where the time of a straightforward load would go: asking the shell for each file's icon and
// copying each into the list, timed on a sample of the tree's files.
void MeasurePerFileIcons(const std::string& root) {
    std::vector<std::string> sample;
    for (int i = 0; i < 200; ++i)
        sample.push_back(root + "group 0\\folder " + std::to_string(i / kFilesPerFolder) + "\\Shortcut " +
                         std::to_string(i % kFilesPerFolder) + ".url");
    toolkit::TImageList images(16, 16);
    std::vector<HICON> icons;
    const double start = Now();
    for (const std::string& path : sample) {
        SHFILEINFOA info{};
        ::SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
        icons.push_back(info.hIcon);
    }
    const double asked = Now();
    for (HICON icon : icons) images.AddIcon(icon);
    const double copied = Now();
    for (HICON icon : icons)
        if (icon) ::DestroyIcon(icon);
    const double n = static_cast<double>(sample.size());
    std::printf("  per file, done one by one: shell icon %.3f ms, copy into the list %.3f ms"
                " (%.0f ms per 1000 items)\n",
                (asked - start) / n, (copied - asked) / n, (copied - start) / n * 1000.0);
}

void Measure(int files) {
    const std::string root = MakeTree(files);
    const int walked = BareWalk(root);  // also warms the file system's caches

    const double walk = BestOf(kRuns, [&] { BareWalk(root); });
    const std::wstring wideRoot = toolkit::AnsiToWide(root);
    const double plain = BestOf(kRuns, [&] { Load(wideRoot, false); });
    const double full = BestOf(kRuns, [&] { LoadInBackground(wideRoot); });
    double stall = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        double longest = 0;
        LoadInBackground(wideRoot, &longest);
        stall = std::min(stall, longest);
    }
    const double onThisThread = BestOf(kRuns, [&] { Load(wideRoot, true); });

    const Memory before = MemoryNow();
    Loaded kept = LoadInBackground(wideRoot);
    const Memory after = MemoryNow();
    const int items = kept.popup->ItemCount();
    const int images = kept.images->Count();

    const double per1000 = 1000.0 / files;
    std::printf("%6d shortcuts (%d walked, %d items, %d images)\n", files, walked, items, images);
    std::printf("  bare walk          %8.1f ms  %7.2f ms/1000\n", walk, walk * per1000);
    std::printf("  load, no images    %8.1f ms  %7.2f ms/1000  ratio to walk %5.2f\n", plain, plain * per1000, plain / walk);
    std::printf("  load, with icons   %8.1f ms  %7.2f ms/1000  ratio to walk %5.2f\n", full, full * per1000, full / walk);
    std::printf("  longest UI stall   %8.2f ms  (the load on the UI thread: %.1f ms)\n", stall, onThisThread);
    std::printf("  memory per item    %8.0f bytes working set, %8.0f bytes private\n",
                (after.workingSet - before.workingSet) / items, (after.privateBytes - before.privateBytes) / items);
    const std::string figure = "favorites load of " + std::to_string(files) + " shortcuts";
    bench::Report((figure + ", no icons").c_str(), plain, "ms", "bare FindFirstFileA walk", walk);
    bench::Report((figure + ", with icons").c_str(), full, "ms", "bare FindFirstFileA walk", walk);
    bench::Report(("longest UI-thread stall during the " + figure).c_str(), stall, "ms",
                  "the same load run on the UI thread", onThisThread);
    kept = Loaded{};
    if (files >= 200) MeasurePerFileIcons(root);
    RemoveTree(root);

    const std::wstring wide = MakeWideTree(files);
    const int wideWalked = WideWalk(wide, false);
    const double wideWalk = BestOf(kRuns, [&] { WideWalk(wide, false); });
    const double wideFull = BestOf(kRuns, [&] { LoadInBackground(wide); });
    std::printf("  names outside the code page (%d walked):\n", wideWalked);
    std::printf("  bare wide walk     %8.1f ms  %7.2f ms/1000\n", wideWalk, wideWalk * per1000);
    std::printf("  load, with icons   %8.1f ms  %7.2f ms/1000  ratio to wide walk %5.2f\n", wideFull,
                wideFull * per1000, wideFull / wideWalk);
    bench::Report((figure + ", names outside the code page, with icons").c_str(), wideFull, "ms",
                  "bare FindFirstFileW walk of that tree", wideWalk);
    WideWalk(wide, true);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000, 50000};
    for (const int files : sizes) {
        if (files > 0) Measure(files);
        std::fflush(stdout);
    }
    return 0;
}
