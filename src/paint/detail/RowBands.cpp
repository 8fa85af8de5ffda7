#include "paint/detail/RowBands.h"

#include <algorithm>
#include <thread>
#include <vector>

#if defined(__linux__)
#include <sched.h>
#endif

namespace plx::detail {

namespace {

unsigned CountUsableCores() noexcept
{
#if defined(__linux__)
    // The affinity mask, not the machine's core count: a process pinned to one
    // core gains nothing from threads.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0)
        return static_cast<unsigned>(std::max(CPU_COUNT(&set), 1));
#endif
    return std::max(std::thread::hardware_concurrency(), 1u);
}

} // namespace

unsigned UsableCores() noexcept
{
    static const unsigned cores = CountUsableCores();
    return cores;
}

void ForRowBands(std::int32_t rows, std::int64_t pixels,
    const std::function<void(std::int32_t, std::int32_t, std::int32_t)>& work, std::int64_t minPixels)
{
    if (rows <= 0)
        return;
    const auto bands = static_cast<std::int32_t>(std::min<std::int64_t>(UsableCores(), rows));
    if (bands <= 1 || pixels < minPixels) {
        work(0, 0, rows);
        return;
    }
    auto bandStart = [&](std::int32_t i) { return static_cast<std::int32_t>(std::int64_t { rows } * i / bands); };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(bands - 1));
    for (std::int32_t i = 1; i < bands; ++i) {
        try {
            threads.emplace_back(work, i, bandStart(i), bandStart(i + 1));
        } catch (...) {
            // No thread to be had: this thread does the band itself.
            work(i, bandStart(i), bandStart(i + 1));
        }
    }
    work(0, 0, bandStart(1));
    for (auto& t : threads)
        t.join();
}

} // namespace plx::detail
