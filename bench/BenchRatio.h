// Timing a routine against a baseline of the same size in one run.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace plx::bench {

//! Runs baseline and subject once per iteration, each timed on its own, and
//! reports their ratio as the counter "ratio". Run at several sizes: a subject
//! that grows as its baseline does keeps the same ratio at every size.
template <class Baseline, class Subject>
void CompareWithBaseline(benchmark::State& state, Baseline baseline, Subject subject)
{
    using Clock = std::chrono::steady_clock;
    Clock::duration baselineTime {}, subjectTime {};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        baseline();
        const auto t1 = Clock::now();
        subject();
        const auto t2 = Clock::now();
        baselineTime += t1 - t0;
        subjectTime += t2 - t1;
        benchmark::ClobberMemory();
    }
    state.counters["ratio"] = baselineTime.count() > 0
        ? static_cast<double>(subjectTime.count()) / static_cast<double>(baselineTime.count())
        : 0.0;
    state.counters["subject_us"] = benchmark::Counter(
        std::chrono::duration<double, std::micro>(subjectTime).count(), benchmark::Counter::kAvgIterations);
}

} // namespace plx::bench
