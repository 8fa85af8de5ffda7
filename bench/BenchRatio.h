// Timing a subject against a baseline in the same run: the ratio of their times
// is reported as a counter, a figure that survives a busy or a different
// machine better than two separate timings would.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace plx::bench {

//! The clock that times baseline and subject.
enum class Clock : std::uint8_t {
    //! The calling thread's processor time: other programs on the machine do
    //! not count in it.
    Thread,
    //! Wall-clock time, for work that other threads or another process (an X
    //! server) do in part: their processor time is not the caller's.
    Wall,
};

//! The clock's time now, in nanoseconds.
[[nodiscard]] inline std::int64_t Nanoseconds(Clock clock) noexcept
{
    timespec t {};
    clock_gettime(clock == Clock::Thread ? CLOCK_THREAD_CPUTIME_ID : CLOCK_MONOTONIC, &t);
    return std::int64_t { t.tv_sec } * 1000000000 + t.tv_nsec;
}

//! Runs of a subject and of its baseline, each timed on its own in the same
//! run, and the ratio of their times. Thread time is summed: waiting for a
//! core does not count in it. Wall-clock runs are compared by their medians,
//! which a run that waited for a core does not move as it would a mean.
class TimeRatio {
public:
    explicit TimeRatio(Clock clock) noexcept
        : m_clock(clock)
    {
    }

    //! Times `runs` runs of the baseline, each on its own.
    template <class F>
    void Baseline(F&& baseline, int runs = 1)
    {
        for (int i = 0; i < runs; ++i)
            m_baseline.Add(Time(baseline), m_clock);
    }
    //! Times one run of the subject.
    template <class F>
    void Subject(F&& subject)
    {
        m_subject.Add(Time(subject), m_clock);
    }

    //! Sets counter `name` to the subject's time over the baseline's, and
    //! "subject_us" and "baseline_us" to the time of one run of each. Reports
    //! nothing while either has no run (a skipped benchmark).
    void Report(benchmark::State& state, const std::string& name = "ratio")
    {
        if (m_subject.runs == 0 || m_baseline.runs == 0)
            return;
        const double subject = m_subject.OneRun(m_clock), baseline = m_baseline.OneRun(m_clock);
        state.counters[name] = baseline > 0 ? subject / baseline : 0.0;
        state.counters["subject_us"] = subject / 1000.0;
        state.counters["baseline_us"] = baseline / 1000.0;
    }

private:
    struct Times {
        std::int64_t total { 0 };
        std::int64_t runs { 0 };
        std::vector<std::int64_t> each; //!< wall-clock runs only, for the median

        void Add(std::int64_t t, Clock clock)
        {
            total += t;
            ++runs;
            if (clock == Clock::Wall)
                each.push_back(t);
        }
        //! Nanoseconds: the mean of thread time, the median of wall-clock time.
        [[nodiscard]] double OneRun(Clock clock)
        {
            if (clock == Clock::Thread)
                return static_cast<double>(total) / static_cast<double>(runs);
            const auto middle = each.begin() + static_cast<std::ptrdiff_t>(each.size() / 2);
            std::nth_element(each.begin(), middle, each.end());
            return static_cast<double>(*middle);
        }
    };

    template <class F>
    std::int64_t Time(F& f)
    {
        const std::int64_t start = Nanoseconds(m_clock);
        f();
        benchmark::ClobberMemory();
        return Nanoseconds(m_clock) - start;
    }

    Clock m_clock;
    Times m_baseline;
    Times m_subject;
};

//! Runs baseline and subject once in every iteration of the benchmark's loop
//! and reports their ratio as the counter "ratio" (see TimeRatio). Run at
//! several sizes: a subject that grows as its baseline does keeps the same
//! ratio at every size.
template <class Baseline, class Subject>
void CompareWithBaseline(benchmark::State& state, Baseline&& baseline, Subject&& subject, Clock clock = Clock::Thread)
{
    TimeRatio ratio(clock);
    for (auto _ : state) {
        ratio.Baseline(baseline);
        ratio.Subject(subject);
    }
    ratio.Report(state);
}

} // namespace plx::bench
