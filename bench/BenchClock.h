#pragma once
// The benchmarks' clock: milliseconds from the performance counter, and the best of several runs.

#include <windows.h>

#include <algorithm>
#include <functional>

namespace bench {

inline double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double BestOf(int runs, const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        run();
        best = std::min(best, NowMs() - start);
    }
    return best;
}

}  // namespace bench
