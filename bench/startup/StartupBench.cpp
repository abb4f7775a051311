// How long Corvane takes to start: from CreateProcess until (a) its toolbar is a visible child of
// the host's toolbar, (b) its browser window (class TForm2) exists and (c) it has entered its
// message loop, having created the browser control (the first time its thread waits for input
// with none pending: WaitForInputIdle), each as a ratio to the time a minimal window program takes
// to show its one hidden window. The toolbar planted and the loop entered are also given as ratios
// to the least program that plants a window in the host's toolbar (startup/planting.cpp), started
// the same way and seen planted the same way: a visible child of the host's toolbar. Runs
// alternate between the programs so that all see the same machine; the medians are compared. Also
// the toolbar planted with a Tag.ini of 200,000 entries in one group, as a ratio to the same with
// ten entries.
//
//   startup_bench [runs]     (default 9)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/testbed/HostSim.h"
#include "tests/testbed/TestSupport.h"
#include "bench/BenchReport.h"

namespace {

using testsupport::HostSim;
using testsupport::Process;

constexpr double kGiveUpMs = 10000;
constexpr char kTagIni[] = "%Tags\r\n&<b></b>\r\n&<i></i>\r\n%More\r\n&<br>\r\n";

// A Tag.ini of one group with this many entries.
std::string OneGroupTagIni(int entries) {
    std::string text = "%Tags\r\n";
    for (int i = 0; i < entries; ++i) text += "&<span class=\"e" + std::to_string(i) + "\"></span>\r\n";
    return text;
}

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// Polls every millisecond; the benchmark's own thread has no windows that need serving.
void Nap() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(1);
}

std::optional<double> Median(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double MinimalRun(const std::string& exe) {
    const double start = NowMs();
    Process minimal = Process::Start(exe, "");
    double shown = -1;
    while (NowMs() - start < kGiveUpMs) {
        if (!testsupport::TopLevelWindowsOf(minimal.Id(), "TMinimalBenchWindow").empty()) {
            shown = NowMs() - start;
            break;
        }
        Nap();
    }
    minimal.Kill();
    return shown;
}

// The least planting program, started as Corvane is: the time until its window is a visible child
// of the host's toolbar.
double PlantingRun(const std::string& exe, const HostSim& host) {
    const double start = NowMs();
    Process planting = testsupport::StartCorvane(exe, host, testsupport::CorvaneStart::WithHandle);
    double planted = -1;
    while (NowMs() - start < kGiveUpMs && planting.Running()) {
        const HWND window = testsupport::FindPlantedToolbar(host, planting.Id());
        if (window && ::IsWindowVisible(window)) {
            planted = NowMs() - start;
            break;
        }
        Nap();
    }
    planting.Kill();
    planting.WaitExit(5000);
    return planted;
}

struct CorvaneTimes {
    double planted = -1;  // -1: not within the time
    double browser = -1;
    double loop = -1;
    bool Complete() const { return planted >= 0 && browser >= 0 && loop >= 0; }
};

CorvaneTimes CorvaneRun(const std::string& exe, const HostSim& host) {
    CorvaneTimes times;
    const double start = NowMs();
    Process corvane = testsupport::StartCorvane(exe, host, testsupport::CorvaneStart::WithHandle);
    while (NowMs() - start < kGiveUpMs && !times.Complete() && corvane.Running()) {
        if (times.planted < 0) {
            const HWND planted = testsupport::FindPlantedToolbar(host, corvane.Id());
            if (planted && ::IsWindowVisible(planted)) times.planted = NowMs() - start;
        }
        if (times.browser < 0 && !testsupport::TopLevelWindowsOf(corvane.Id(), "TForm2").empty())
            times.browser = NowMs() - start;
        if (times.loop < 0 && ::WaitForInputIdle(corvane.Handle(), 0) == 0) times.loop = NowMs() - start;
        Nap();
    }
    corvane.Kill();
    // The next instance may only start once this one's mutex is gone with it.
    corvane.WaitExit(5000);
    return times;
}

void Report(const char* what, const std::vector<double>& times, int runs, double baseline,
            const char* baselineName = "minimal program: window created") {
    const std::optional<double> median = Median(times);
    if (median) bench::Report(what, *median, "ms", baselineName, baseline);
    if (!median) {
        std::printf("  %-34s not reached in any of %d runs (gave up after %.0f ms)\n", what, runs, kGiveUpMs);
        return;
    }
    std::printf("  %-34s %8.1f ms  ratio %.2f", what, *median, *median / baseline);
    if (static_cast<int>(times.size()) < runs) std::printf("  (reached in %zu of %d runs)", times.size(), runs);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::string dir = testsupport::ScratchDir("startup-bench");
    const std::string corvaneExe = testsupport::StageCorvane(dir, kTagIni);
    const std::string minimalExe = testsupport::WinePath(MINIMAL_EXE_UNIX);
    const std::string plantingExe = testsupport::WinePath(PLANTING_EXE_UNIX);
    const std::string tenDir = testsupport::ScratchDir("startup-bench ten entries");
    const std::string tenExe = testsupport::StageCorvane(tenDir, OneGroupTagIni(10).c_str());
    const std::string largeDir = testsupport::ScratchDir("startup-bench 200000 entries");
    const std::string largeExe = testsupport::StageCorvane(largeDir, OneGroupTagIni(200000).c_str());

    HostSim host = HostSim::Start();
    if (!host.Main()) {
        std::printf("startup benchmark: the stand-in host did not start\n");
        return 1;
    }
    // One of each first, not counted: the first start of a program pays for loading it from disk.
    MinimalRun(minimalExe);
    PlantingRun(plantingExe, host);
    CorvaneRun(corvaneExe, host);
    CorvaneRun(tenExe, host);
    CorvaneRun(largeExe, host);

    std::vector<double> minimal, leastPlanting, planted, browser, loop, plantedTen, plantedLarge;
    for (int i = 0; i < runs; ++i) {
        if (const double t = MinimalRun(minimalExe); t >= 0) minimal.push_back(t);
        if (const double t = PlantingRun(plantingExe, host); t >= 0) leastPlanting.push_back(t);
        const CorvaneTimes times = CorvaneRun(corvaneExe, host);
        if (times.planted >= 0) planted.push_back(times.planted);
        if (times.browser >= 0) browser.push_back(times.browser);
        if (times.loop >= 0) loop.push_back(times.loop);
        if (const double t = CorvaneRun(tenExe, host).planted; t >= 0) plantedTen.push_back(t);
        if (const double t = CorvaneRun(largeExe, host).planted; t >= 0) plantedLarge.push_back(t);
    }

    std::printf("startup benchmark: medians of %d runs, ratios to the minimal window program\n", runs);
    const std::optional<double> baseline = Median(minimal);
    if (!baseline || *baseline <= 0) {
        std::printf("  the minimal program never showed its window: no baseline\n");
        return 1;
    }
    std::printf("  %-34s %8.1f ms  ratio 1.00 (baseline)\n", "minimal program: window created", *baseline);
    if (planted.empty())
        std::printf("  %-34s not planted (no visible toolbar in the host's within %.0f ms, %d runs)\n",
                    "Corvane: toolbar planted", kGiveUpMs, runs);
    else
        Report("Corvane: toolbar planted", planted, runs, *baseline);
    Report("Corvane: browser window created", browser, runs, *baseline);
    Report("Corvane: message loop entered", loop, runs, *baseline);
    if (const std::optional<double> planting = Median(leastPlanting); planting && *planting > 0) {
        constexpr char kPlantingBaseline[] = "least planting program: window planted";
        std::printf("  %-34s %8.1f ms  ratio 1.00 (baseline of the next two)\n", "least planting program: planted",
                    *planting);
        Report("Corvane: toolbar planted, to planting", planted, runs, *planting, kPlantingBaseline);
        Report("Corvane: message loop entered, to planting", loop, runs, *planting, kPlantingBaseline);
    } else {
        std::printf("  the least planting program never planted its window: no planting baseline\n");
    }
    const std::optional<double> ten = Median(plantedTen), large = Median(plantedLarge);
    if (ten && large) {
        std::printf("  %-34s %8.1f ms  ratio %.2f to %.1f ms with ten entries\n", "200,000 entries: toolbar planted",
                    *large, *large / *ten, *ten);
        bench::Report("Corvane, Tag.ini of 200,000 entries in one group: toolbar planted", *large, "ms",
                      "the same, Tag.ini of ten entries", *ten);
    }
    testsupport::RemoveTree(largeDir);
    testsupport::RemoveTree(tenDir);
    testsupport::RemoveTree(dir);
    return 0;
}
