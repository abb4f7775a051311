#pragma once
// The one line a benchmark prints for each figure, which scripts/bench.sh collects into its table
// (the format is described in bench/README.md):
//   BENCH | figure | value unit | baseline | baseline-value unit
// Anything else a benchmark prints is for people reading its own output.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline void Report(const char* figure, double value, const char* unit, const char* baseline, double baselineValue) {
    std::printf("BENCH | %s | %.6g %s | %s | %.6g %s\n", figure, value, unit, baseline, baselineValue, unit);
    std::fflush(stdout);
}

// The median of a set of timings (the upper middle one of an even count); 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
