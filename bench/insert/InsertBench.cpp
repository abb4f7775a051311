// A tag's road into the editor, against a bare SendMessage round trip to the same editor window
// (the stand-in host in its own process), measured in the same run:
//   - the whole road: from the key that chooses an entry of Corvane's tag menu until the text is
//     in the host's edit control (Corvane, in its own process, planted in the host);
//   - InsertTextIntoHost alone, called from here: the shared block made, filled, announced with
//     0x819B and read by the host.
//
// Usage: insert_bench [rounds]   (default 15 menu choices; a hundred times as many calls)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "HostSim.h"
#include "TestSupport.h"
#include "hostlink/Kestrix.h"

#include "bench/BenchClock.h"
#include "bench/BenchReport.h"

namespace {

using namespace testsupport;

constexpr char kTagIni[] = "%Tags\r\n&<b></b>\r\n";
constexpr char kTag[] = "<b></b>";
constexpr int kButtonWidth = 23;
constexpr int kBtnTagX = 206;
constexpr double kGiveUpMs = 5000;

// The toolbar control inside the toolbar that Corvane planted in the host.
HWND PlantedButtons(const HostSim& host, const Process& corvane) {
    const HWND planted = WaitForPlantedToolbar(host, corvane.Id());
    if (!planted || ClassNameOf(planted) == "ToolbarWindow32") return planted;
    return ::FindWindowExA(planted, nullptr, "ToolbarWindow32", nullptr);
}

LRESULT TextLength(HWND edit) { return ::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0); }

// A key pressed and released at once, without waiting afterwards.
void Tap(WORD key) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Drops the tag menu, opens its group, and times the Enter that chooses the entry until the
// host's edit control holds the longer text. Negative when the text never came.
double MenuChoiceToText(HWND buttons, const Process& corvane, HWND edit) {
    RECT client{};
    ::GetClientRect(buttons, &client);
    POINT point{kBtnTagX + kButtonWidth / 2, client.bottom / 2};
    ::ClientToScreen(buttons, &point);
    ClickAt(point);
    if (WaitForOpenMenus(corvane.Id(), 1).empty()) return -1;
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    if (WaitForOpenMenus(corvane.Id(), 2).size() < 2) return -1;
    const LRESULT before = TextLength(edit);
    const double start = bench::NowMs();
    Tap(VK_RETURN);
    while (bench::NowMs() - start < kGiveUpMs)
        if (TextLength(edit) > before) return bench::NowMs() - start;
    return -1;
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
    const HWND edit = host.Memo();
    const HWND main = host.Main();

    // The baseline and the call alone, many times each, alternating so both see the same machine.
    std::vector<double> bare, call;
    for (int i = 0; i < rounds * 100; ++i) {
        double start = bench::NowMs();
        ::SendMessageW(main, WM_NULL, 0, 0);
        bare.push_back(bench::NowMs() - start);
        start = bench::NowMs();
        hostlink::InsertTextIntoHost(host.Handle32(), kTag);
        call.push_back(bench::NowMs() - start);
    }

    Process corvane = StartCorvane(exe, host);
    const HWND buttons = PlantedButtons(host, corvane);
    if (!buttons) {
        std::printf("insert benchmark: Corvane planted no toolbar\n");
        return 1;
    }
    std::vector<double> road;
    MenuChoiceToText(buttons, corvane, edit);  // the first round loads the menu's code; not counted
    for (int i = 0; i < rounds; ++i) {
        host.BringToFront();
        if (const double ms = MenuChoiceToText(buttons, corvane, edit); ms >= 0) road.push_back(ms);
    }
    corvane.Kill();

    const double bareMs = bench::Median(bare);
    std::printf("tag insertion: medians; a bare SendMessage round trip to the host's window %.4f ms\n", bareMs);
    std::printf("  InsertTextIntoHost alone:        %9.4f ms (%d calls)\n", bench::Median(call), rounds * 100);
    std::printf("  menu choice to text in the host: %9.4f ms (%zu of %d rounds)\n", bench::Median(road), road.size(),
                rounds);
    bench::Report("InsertTextIntoHost call", bench::Median(call), "ms", "bare SendMessage to the host", bareMs);
    if (!road.empty())
        bench::Report("tag menu choice to text in the host", bench::Median(road), "ms", "bare SendMessage to the host",
                      bareMs);
    RemoveTree(dir);
    return road.empty() ? 1 : 0;
}
