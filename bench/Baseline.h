// Ratios to a baseline measured in the same run: a benchmark times its own loop
// and then the baseline (the median of several runs), and reports the quotient
// of the two as a counter, so that the figure survives a busy machine better
// than two separate timings would.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace plx::bench {

//! Wall-clock seconds of one run of f: the median of `runs` runs.
template <class F>
double MedianSeconds(F&& f, int runs)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        benchmark::ClobberMemory();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

//! Times the benchmark's loop in wall-clock time (threads included). Start it
//! just before the loop and call Report after it.
class LoopTimer {
public:
    LoopTimer()
        : m_start(std::chrono::steady_clock::now())
    {
    }

    //! Sets counter `name` to the loop's time per iteration divided by the
    //! baseline's median time, the baseline being run `runs` times now.
    template <class F>
    void Report(benchmark::State& state, const std::string& name, F&& baseline, int runs = 15) const
    {
        const double loop = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
        const double perIteration = loop / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters[name] = perIteration / MedianSeconds(baseline, runs);
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

} // namespace plx::bench
