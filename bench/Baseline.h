// Ratios to a baseline measured in the same run: a benchmark times each of its
// own iterations and then the baseline (several runs), and reports the quotient
// of the two medians as a counter, so that the figure survives a busy machine
// better than two separate timings would.
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

//! Times each iteration of a benchmark's loop in wall-clock time (threads
//! included): Begin and End around the work of an iteration, Report after the
//! loop. Medians on both sides keep the ratio steady on a busy machine, where a
//! mean would count the time the process waited for a core.
class IterationTimes {
public:
    void Begin() { m_start = std::chrono::steady_clock::now(); }
    void End() { m_times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count()); }

    //! Sets counter `name` to the median iteration time divided by the
    //! baseline's median time, the baseline being run `runs` times now.
    template <class F>
    void Report(benchmark::State& state, const std::string& name, F&& baseline, int runs = 15)
    {
        if (m_times.empty())
            return;
        std::nth_element(m_times.begin(), m_times.begin() + static_cast<std::ptrdiff_t>(m_times.size() / 2), m_times.end());
        state.counters[name] = m_times[m_times.size() / 2] / MedianSeconds(baseline, runs);
    }

private:
    std::chrono::steady_clock::time_point m_start;
    std::vector<double> m_times;
};

} // namespace plx::bench
