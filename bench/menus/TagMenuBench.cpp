// How long the tag menu takes for a large Tag.ini (10,000 entries in 100 groups, one group much
// larger than the rest): building the menu from the file, and opening the menu and its largest
// group, each as a ratio to reading the file's bytes alone, measured in the same run. For scale,
// it also builds every Win32 menu of the tree at once, as a menu built in one go would have to.
// Then one group of 200,000 entries: building the menu (its entries are made only when the group
// first opens) and that first opening, into the group's first page of entries and a choice there;
// and a drop-down's look at an unchanged Tag.ini, against reading its bytes.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "menus/TagMenu.h"
#include "toolkit/Application.h"
#include "toolkit/Files.h"
#include "toolkit/Handles.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"
#include "toolkit/Text.h"

#include "bench/BenchReport.h"

namespace {

constexpr int kGroups = 100;
constexpr int kEntries = 10000;
constexpr int kLargestGroup = kEntries - (kGroups - 1) * 90;  // the first group; the others hold 90

std::string MakeTagFile() {
    std::string text = "This file is generated for the benchmark.\r\n";
    int entry = 0;
    for (int group = 0; group < kGroups; ++group) {
        text += "%Group " + std::to_string(group) + "\r\n";
        const int count = group == 0 ? kLargestGroup : 90;
        for (int i = 0; i < count; ++i, ++entry) text += "&<span class=\"e" + std::to_string(entry) + "\"></span>\r\n";
    }
    return text;
}

// 100,000 lines: 1,000 groups, each its heading and 99 entries.
std::string MakeLargeTagFile() {
    std::string text;
    for (int group = 0; group < 1000; ++group) {
        text += "%Group " + std::to_string(group) + "\r\n";
        for (int i = 1; i < 100; ++i) text += "&<span class=\"e" + std::to_string(i) + "\"></span>\r\n";
    }
    return text;
}

constexpr int kHugeGroup = 200000;

std::string MakeOneGroupTagFile(int entries) {
    std::string text = "%One group\r\n";
    for (int i = 0; i < entries; ++i) text += "&<span class=\"e" + std::to_string(i) + "\"></span>\r\n";
    return text;
}

double Seconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median of several timed runs, in seconds.
double Median(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        work();
        times.push_back(Seconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string ReadBytes(const std::string& path) {
    toolkit::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

// As the form builds its tag menu.
void BuildTagMenu(toolkit::TPopupMenu& menu, const std::string& path, int& chosen) {
    const std::wstring widePath = toolkit::AnsiToWide(path);
    menus::BuildTagMenu(menu, menus::LoadTagDocument(widePath), [&chosen](toolkit::TMenuItem&) { ++chosen; }, widePath);
}

// The medians of reading a tag file's bytes and of building its menu (read, parse, model).
std::pair<double, double> ReadAndBuild(const std::string& path, int runs, int& chosen) {
    const double read = Median(runs, [&] { (void)ReadBytes(path); });
    const double build = Median(runs, [&] {
        toolkit::TPopupMenu menu;
        BuildTagMenu(menu, path, chosen);
    });
    return {read, build};
}

// Every Win32 menu of the tree built at once, and destroyed again.
void BuildWholeWin32Tree(toolkit::TMenuItem& root) {
    toolkit::MenuHandle top(::CreatePopupMenu());
    for (size_t g = 0; g < root.Count(); ++g) {
        toolkit::TMenuItem& group = root.Item(g);
        group.MakeChildren();
        HMENU sub = ::CreatePopupMenu();
        for (size_t e = 0; e < group.Count(); ++e)
            ::AppendMenuW(sub, MF_STRING, e + 1, toolkit::AnsiToWide(group.Item(e).Caption()).c_str());
        ::AppendMenuW(top.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                      toolkit::AnsiToWide(group.Caption()).c_str());
    }
}

}  // namespace

int main() {
    toolkit::App().Initialize();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "corvane-menus-bench\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = dir + "Tag.ini";
    toolkit::ReplaceFileContent(toolkit::AnsiToWide(path), MakeTagFile());

    int chosen = 0;
    const auto [read, build] = ReadAndBuild(path, 31, chosen);

    toolkit::TImageList images(16, 16);
    toolkit::TPopupMenu menu;
    menu.SetImages(&images);
    menu.SetAutoLineReduction(true);
    BuildTagMenu(menu, path, chosen);
    // The keys wait in the queue for the menu's loop.
    auto openWith = [&](std::initializer_list<UINT> keys) {
        return Median(11, [&] {
            for (UINT key : keys) ::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, key, 1);
            menu.Popup(10, 10);
        });
    };
    const double openTop = openWith({VK_DOWN, VK_ESCAPE});
    // Into the first (largest) group, and choose an entry there.
    const double open = openWith({VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    const double whole = Median(11, [&] { BuildWholeWin32Tree(menu.Items()); });

    std::printf("Tag.ini: %d entries in %d groups, the largest with %d\n", kEntries, kGroups, kLargestGroup);
    std::printf("baseline, reading the file's bytes:          %8.3f ms = 1\n", read * 1000);
    std::printf("building the menu (read, parse, model):      %8.3f ms = %7.1f x baseline\n", build * 1000,
                build / read);
    std::printf("opening the menu (its %d groups):            %8.3f ms = %7.1f x baseline\n", kGroups,
                openTop * 1000, openTop / read);
    std::printf("opening the menu and its largest group:      %8.3f ms = %7.1f x baseline (%d of 11 choices seen)\n",
                open * 1000, open / read, chosen);
    std::printf("for scale, all Win32 menus built, unshown:   %8.3f ms = %7.1f x baseline\n", whole * 1000,
                whole / read);
    bench::Report("tag menu of 10,000 entries: build", build * 1000, "ms", "reading Tag.ini's bytes", read * 1000);
    bench::Report("tag menu of 10,000 entries: open", openTop * 1000, "ms", "reading Tag.ini's bytes", read * 1000);
    bench::Report("tag menu of 10,000 entries: open largest group", open * 1000, "ms", "reading Tag.ini's bytes",
                  read * 1000);

    // A Tag.ini far beyond any real one still builds its menu, and so lets Corvane start, at once.
    const std::string largePath = dir + "Large.ini";
    toolkit::ReplaceFileContent(toolkit::AnsiToWide(largePath), MakeLargeTagFile());
    int largeChosen = 0;
    const auto [largeRead, largeBuild] = ReadAndBuild(largePath, 7, largeChosen);
    std::printf("Tag.ini of 100,000 lines (1,000 groups of 100):\n");
    std::printf("baseline, reading the file's bytes:          %8.3f ms = 1\n", largeRead * 1000);
    std::printf("building the menu (read, parse, model):      %8.3f ms = %7.1f x baseline\n", largeBuild * 1000,
                largeBuild / largeRead);
    bench::Report("Tag.ini of 100,000 lines: build", largeBuild * 1000, "ms", "reading its bytes", largeRead * 1000);
    ::DeleteFileA(largePath.c_str());

    // One group of 200,000 entries: the build does not make them; the group's first opening does.
    const std::string hugePath = dir + "Huge.ini";
    toolkit::ReplaceFileContent(toolkit::AnsiToWide(hugePath), MakeOneGroupTagFile(kHugeGroup));
    int hugeChosen = 0;
    const auto [hugeRead, hugeBuild] = ReadAndBuild(hugePath, 7, hugeChosen);
    const double hugeOpen = Median(3, [&] {
        toolkit::TPopupMenu huge;
        huge.SetImages(&images);
        huge.SetAutoLineReduction(true);
        BuildTagMenu(huge, hugePath, hugeChosen);
        // Into the group, into its first page of entries, and choose the first entry there.
        for (UINT key : {VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RETURN}) ::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, key, 1);
        huge.Popup(10, 10);
    });
    std::printf("Tag.ini of one group of %d entries:\n", kHugeGroup);
    std::printf("baseline, reading the file's bytes:          %8.3f ms = 1\n", hugeRead * 1000);
    std::printf("building the menu (read, outline):           %8.3f ms = %7.1f x baseline\n", hugeBuild * 1000,
                hugeBuild / hugeRead);
    std::printf("first opening of the group and a page:       %8.3f ms = %7.1f x baseline (%d of 3 choices seen)\n",
                hugeOpen * 1000, hugeOpen / hugeRead, hugeChosen);
    bench::Report("one group of 200,000 entries: build", hugeBuild * 1000, "ms", "reading its bytes", hugeRead * 1000);
    bench::Report("one group of 200,000 entries: first open of the group", hugeOpen * 1000, "ms", "reading its bytes",
                  hugeRead * 1000);
    ::DeleteFileA(hugePath.c_str());

    // A drop-down with Tag.ini unchanged looks only at its size and time.
    const std::wstring widePath = toolkit::AnsiToWide(path);
    toolkit::TPopupMenu following;
    menus::TagMenuFile tagFile(widePath, following, [](toolkit::TMenuItem&) {});
    const double unchanged = Median(101, [&] { tagFile.Follow(); });
    const double readSmall = Median(101, [&] { (void)ReadBytes(path); });
    std::printf("drop-down, Tag.ini of %d entries unchanged: %8.4f ms = %7.3f x reading its bytes (%8.4f ms)\n",
                kEntries, unchanged * 1000, unchanged / readSmall, readSmall * 1000);
    bench::Report("tag menu of 10,000 entries: drop-down, Tag.ini unchanged", unchanged * 1000, "ms",
                  "reading Tag.ini's bytes", readSmall * 1000);
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(dir.c_str());
    return chosen == 11 && hugeChosen == 3 ? 0 : 1;
}
