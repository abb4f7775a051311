// A tag's road into the editor (the stand-in host in its own process), each figure against the host
// inserting the same text by itself when asked by a plain message, measured alternately with the
// same pauses in the same run:
//   - InsertTextIntoHost alone, called from here: the shared block made, filled, announced with
//     0x819B, read and inserted by the host; against SendMessage(kInsertAgain), the host inserting
//     the same text without a block, and against a bare SendMessage round trip to the idle host;
//   - the whole road: from the key that chooses an entry of Corvane's tag menu (Corvane planted in
//     the host) until the host has inserted the text; against posting kInsertAgain until the host
//     has inserted it. The end of both is the host's own time stamp (kGetInsertTime), looked at
//     once a millisecond, so that looking does not slow down what is measured.
// Every measured step comes after the same pause, so that the host has repainted and is idle, and
// each round starts again from the same document, so that no figure grows with the text.
//
// Usage: insert_bench [rounds]   (default 15 menu choices; ten times as many calls)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "hostlink/Kestrix.h"
#include "toolbar/ToolbarItems.h"

#include "bench/BenchClock.h"
#include "bench/BenchReport.h"

namespace {

using namespace testsupport;

constexpr char kTagIni[] = "%Tags\r\n&<b></b>\r\n";
constexpr char kTag[] = "<b></b>";
constexpr double kGiveUpMs = 5000;

// The toolbar control inside the toolbar that Corvane planted in the host.
HWND PlantedButtons(const HostSim& host, const Process& corvane) {
    const HWND planted = WaitForPlantedToolbar(host, corvane.Id());
    if (!planted || ClassNameOf(planted) == "ToolbarWindow32") return planted;
    return ::FindWindowExA(planted, nullptr, "ToolbarWindow32", nullptr);
}

// Before each measured step: the host has repainted what the last one changed and is idle.
constexpr DWORD kPauseMs = 30;

// What the host holds at the start of each round: a page of short lines.
std::string Document() {
    std::string document;
    for (int line = 0; line < 100; ++line) document += "<p>line " + std::to_string(line) + "</p>\r\n";
    return document;
}

LONGLONG Ticks() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double TicksToMs(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LONGLONG InsertTime(HWND main) { return static_cast<LONGLONG>(::SendMessageW(main, hostsim::kGetInsertTime, 0, 0)); }

// Waits, looking once a millisecond, until the host has inserted again since `previous`; the time
// from `start` to the host's own stamp of that insertion, or -1 when it never came.
double UntilInserted(HWND main, LONGLONG previous, LONGLONG start) {
    const double begin = bench::NowMs();
    while (bench::NowMs() - begin < kGiveUpMs) {
        if (const LONGLONG stamp = InsertTime(main); stamp != previous) return TicksToMs(stamp - start);
        ::Sleep(1);
    }
    return -1;
}

// Times one synchronous message to the host's main window.
double RoundTrip(HWND main, UINT message) {
    const double start = bench::NowMs();
    ::SendMessageW(main, message, 0, 0);
    return bench::NowMs() - start;
}

// A key pressed and released at once, without waiting afterwards.
void Tap(WORD key) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Drops the tag menu, opens its group, and times the Enter that chooses the entry until the host
// has inserted the text. Negative when the text never came.
double MenuChoiceToText(HWND buttons, const Process& corvane, HWND main) {
    RECT client{};
    ::GetClientRect(buttons, &client);
    POINT point{toolbar::ToolbarItemMiddle(toolbar::kBtnTag), client.bottom / 2};
    ::ClientToScreen(buttons, &point);
    ClickAt(point);
    if (WaitForOpenMenus(corvane.Id(), 1).empty()) return -1;
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    if (WaitForOpenMenus(corvane.Id(), 2).size() < 2) return -1;
    ::Sleep(kPauseMs);
    const LONGLONG previous = InsertTime(main);
    const LONGLONG start = Ticks();
    Tap(VK_RETURN);
    return UntilInserted(main, previous, start);
}

// The baseline of the road: the host asked by a posted message to insert the same text itself.
double HostInsertsOnItsOwn(HWND main) {
    ::Sleep(kPauseMs);
    const LONGLONG previous = InsertTime(main);
    const LONGLONG start = Ticks();
    ::PostMessageW(main, hostsim::kInsertAgain, 0, 0);
    return UntilInserted(main, previous, start);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string dir = ScratchDir("insert-bench");
    const std::string exe = StageCorvane(dir, kTagIni);
    HostSim host = HostSim::Start();
    if (!host.Main()) {
        std::printf("insert benchmark: the stand-in host did not start\n");
        return 1;
    }
    const HWND main = host.Main();

    // The call alone, the host's own insertion and the bare round trip, alternating so that all
    // three see the same machine and the same growing text.
    hostlink::InsertTextIntoHost(host.Handle32(), kTag);  // gives kInsertAgain its text; not counted
    std::vector<double> bare, call, own;
    const std::string document = Document();
    for (int i = 0; i < rounds * 10; ++i) {
        host.SetText(document);
        ::Sleep(kPauseMs);
        bare.push_back(RoundTrip(main, WM_NULL));
        ::Sleep(kPauseMs);
        const double start = bench::NowMs();
        hostlink::InsertTextIntoHost(host.Handle32(), kTag);
        call.push_back(bench::NowMs() - start);
        ::Sleep(kPauseMs);
        own.push_back(RoundTrip(main, hostsim::kInsertAgain));
    }

    Process corvane = StartCorvane(exe, host);
    const HWND buttons = PlantedButtons(host, corvane);
    if (!buttons) {
        std::printf("insert benchmark: Corvane planted no toolbar\n");
        return 1;
    }
    std::vector<double> road, ownPosted;
    MenuChoiceToText(buttons, corvane, main);  // the first round loads the menu's code; not counted
    for (int i = 0; i < rounds; ++i) {
        host.BringToFront();
        host.SetText(document);
        if (const double ms = MenuChoiceToText(buttons, corvane, main); ms >= 0) road.push_back(ms);
        host.SetText(document);
        if (const double ms = HostInsertsOnItsOwn(main); ms >= 0) ownPosted.push_back(ms);
    }
    corvane.Kill();

    const int calls = rounds * 10;
    std::printf("tag insertion: medians of %d calls and %d menu choices, each after a %lu ms pause\n", calls, rounds,
                static_cast<unsigned long>(kPauseMs));
    std::printf("  bare SendMessage to the idle host:          %9.4f ms\n", bench::Median(bare));
    std::printf("  host inserting the text (sent message):      %9.4f ms\n", bench::Median(own));
    std::printf("  InsertTextIntoHost alone:                    %9.4f ms\n", bench::Median(call));
    std::printf("  host inserting the text (posted message):    %9.4f ms (%zu of %d rounds)\n", bench::Median(ownPosted),
                ownPosted.size(), rounds);
    std::printf("  menu choice to text in the host:             %9.4f ms (%zu of %d rounds)\n", bench::Median(road),
                road.size(), rounds);
    bench::Report("InsertTextIntoHost call", bench::Median(call), "ms", "host inserting the same text (sent message)",
                  bench::Median(own));
    bench::Report("InsertTextIntoHost call, to a bare round trip", bench::Median(call), "ms",
                  "bare SendMessage to the idle host", bench::Median(bare));
    if (!road.empty() && !ownPosted.empty())
        bench::Report("tag menu choice to text in the host", bench::Median(road), "ms",
                      "host inserting the same text (posted message)", bench::Median(ownPosted));
    RemoveTree(dir);
    return road.empty() ? 1 : 0;
}
