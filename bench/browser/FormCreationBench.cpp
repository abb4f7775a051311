// How long creating the browser window takes, as a ratio to creating one plain hidden top-level
// window measured in the same run: once around the system's web browser control, and once around
// the scripted stand-in, which leaves the window's own share without the engine's.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "tests/testbed/ScriptedBrowser/ScriptedBrowserControl.h"
#include "bench/BenchReport.h"
#include "browser/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/OleControl.h"

namespace {

constexpr int kRounds = 25;

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// The median of kRounds timings of create(); each result is destroyed outside the timing.
double MedianMs(const std::function<std::function<void()>()>& create) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const double start = Now();
        std::function<void()> destroy = create();
        times.push_back(Now() - start);
        destroy();
        Pump();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::function<void()> CreatePlainWindow() {
    const HWND window = ::CreateWindowExW(0, L"BenchPlain", L"plain", WS_OVERLAPPEDWINDOW, 219, 211, 696, 480,
                                          toolkit::App().Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return [window] { ::DestroyWindow(window); };
}

std::function<void()> CreateBrowserWindow() {
    auto form = std::make_shared<browser::TForm2>();
    return [form]() mutable { form.reset(); };
}

}  // namespace

int main() {
    toolkit::App().Initialize();
    WNDCLASSEXW plain{};
    plain.cbSize = sizeof plain;
    plain.lpfnWndProc = ::DefWindowProcW;
    plain.hInstance = ::GetModuleHandleW(nullptr);
    plain.lpszClassName = L"BenchPlain";
    ::RegisterClassExW(&plain);

    // A first round of each loads the code and the control's libraries; it is not counted.
    CreatePlainWindow()();
    CreateBrowserWindow()();
    Pump();

    const double baseline = MedianMs(&CreatePlainWindow);
    const double system = MedianMs(&CreateBrowserWindow);
    toolkit::TOleControl::SetObjectFactory([](const CLSID&, IUnknown** object) {
        return scriptedbrowser::ScriptedBrowserControl::Create()->QueryInterface(IID_IUnknown,
                                                                                 reinterpret_cast<void**>(object));
    });
    const double scripted = MedianMs(&CreateBrowserWindow);
    toolkit::TOleControl::SetObjectFactory({});

    std::printf("browser window creation, median of %d (plain hidden window = 1.0, %.3f ms)\n", kRounds, baseline);
    std::printf("  around the system control:   %.1f x\n", system / baseline);
    std::printf("  around the scripted control: %.1f x\n", scripted / baseline);
    bench::Report("browser window creation, system control", system, "ms", "plain hidden window", baseline);
    bench::Report("browser window creation, scripted control", scripted, "ms", "plain hidden window", baseline);
    return 0;
}
