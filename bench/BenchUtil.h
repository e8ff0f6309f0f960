// Timing for the benchmarks: the median of several repetitions of a piece of work, in
// microseconds, measured by the performance counter. Figures are compared only with a baseline
// measured in the same run and process.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double MedianMicros(int repetitions, const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One result line: what was measured, its time, the baseline's, and the ratio.
inline void Report(const std::string& what, double micros, const std::string& baseline, double baseMicros)
{
    std::printf("%-44s %12.1f us   %-34s %12.1f us   ratio %7.2f\n", what.c_str(), micros, baseline.c_str(),
                baseMicros, baseMicros > 0 ? micros / baseMicros : 0.0);
    std::fflush(stdout);
}

inline std::string TempPath(const std::string& name)
{
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

}  // namespace bench
