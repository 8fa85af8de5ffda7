// The host's rounding and truncation: the one place Plumex turns reals into integers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace plx {

//! Rounds to the nearest integer, ties to even (2.5 gives 2, 3.5 gives 4). NaN
//! gives 0 and values beyond the 64-bit range clamp to it.
[[nodiscard]] inline std::int64_t Round(double value) noexcept
{
    if (std::isnan(value))
        return 0;
    double r = std::nearbyint(value); // the default rounding mode: to nearest, ties to even
    if (r >= 9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

//! Rounds a single-precision value (widening a float to double is exact, so a
//! single that is exactly n + 0.5 still goes to the even neighbour).
[[nodiscard]] inline std::int64_t Round(float value) noexcept
{
    return Round(static_cast<double>(value));
}

//! Rounds an extended-precision value without first narrowing it.
[[nodiscard]] inline std::int64_t Round(long double value) noexcept
{
    if (std::isnan(value))
        return 0;
    long double r = std::nearbyint(value);
    if (r >= 9.2233720368547758e18L)
        return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2233720368547758e18L)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

//! Cuts toward zero; NaN gives 0 and values beyond the 64-bit range clamp.
[[nodiscard]] inline std::int64_t Trunc(double value) noexcept
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

} // namespace plx
