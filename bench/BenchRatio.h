// Timing a routine against a baseline of the same size in one run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>

namespace plx::bench {

//! The calling thread's processor time in nanoseconds: unlike the wall clock,
//! it does not count the time other programs on the machine take.
inline std::int64_t ThreadNanoseconds() noexcept
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

//! Runs baseline and subject once per iteration, each timed on its own, and
//! reports their ratio as the counter "ratio" (and the subject's time per
//! iteration as "subject_us"). Run at several sizes: a subject that grows as
//! its baseline does keeps the same ratio at every size.
template <class Baseline, class Subject>
void CompareWithBaseline(benchmark::State& state, Baseline baseline, Subject subject)
{
    std::int64_t baselineTime = 0, subjectTime = 0;
    for (auto _ : state) {
        const std::int64_t t0 = ThreadNanoseconds();
        baseline();
        const std::int64_t t1 = ThreadNanoseconds();
        subject();
        const std::int64_t t2 = ThreadNanoseconds();
        baselineTime += t1 - t0;
        subjectTime += t2 - t1;
        benchmark::ClobberMemory();
    }
    state.counters["ratio"] = baselineTime > 0 ? static_cast<double>(subjectTime) / static_cast<double>(baselineTime) : 0.0;
    state.counters["subject_us"] = benchmark::Counter(static_cast<double>(subjectTime) / 1000.0, benchmark::Counter::kAvgIterations);
}

//! CompareWithBaseline timed by the wall clock, for work that another process
//! (an X server) does in part: its processor time is not the caller's.
template <class Baseline, class Subject>
void CompareWithBaselineWallClock(benchmark::State& state, Baseline baseline, Subject subject)
{
    auto now = [] {
        timespec t {};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    std::int64_t baselineTime = 0, subjectTime = 0;
    for (auto _ : state) {
        const std::int64_t t0 = now();
        baseline();
        const std::int64_t t1 = now();
        subject();
        const std::int64_t t2 = now();
        baselineTime += t1 - t0;
        subjectTime += t2 - t1;
        benchmark::ClobberMemory();
    }
    state.counters["ratio"] = baselineTime > 0 ? static_cast<double>(subjectTime) / static_cast<double>(baselineTime) : 0.0;
    state.counters["subject_us"] = benchmark::Counter(static_cast<double>(subjectTime) / 1000.0, benchmark::Counter::kAvgIterations);
    state.counters["baseline_us"] = benchmark::Counter(static_cast<double>(baselineTime) / 1000.0, benchmark::Counter::kAvgIterations);
}

} // namespace plx::bench
