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

// The medians of a piece of work and of its baseline, measured in turns so that load on a shared
// machine weighs on both alike.
struct Paired {
    double micros = 0;
    double baseMicros = 0;
};
inline Paired MedianPair(int repetitions, const std::function<void()>& work, const std::function<void()>& base)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times[2];
    const auto once = [&](const std::function<void()>& f, std::vector<double>& into) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        f();
        QueryPerformanceCounter(&end);
        into.push_back(double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart));
    };
    for (int i = 0; i < repetitions; ++i) {
        once(base, times[1]);
        once(work, times[0]);
    }
    for (auto& t : times)
        std::sort(t.begin(), t.end());
    return {times[0][times[0].size() / 2], times[1][times[1].size() / 2]};
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
