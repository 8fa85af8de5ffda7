#include "paint/detail/BandWalk.h"

#include "color/ColorMan.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plx::detail {

namespace {

// A stretch of the positive doubles on one grid: every double in [lo, hi] is a
// multiple of unit, and every real in [lo, hi] rounds to the nearest multiple of
// unit (ties to the even multiple, as the even significand). In units of unit,
// lo and hi are the integers low and high.
struct Grid {
    int exponent; //!< unit = 2^exponent
    std::int64_t low;
    std::int64_t high;
};

constexpr std::int64_t kTwo52 = std::int64_t { 1 } << 52;
constexpr std::int64_t kTwo53 = std::int64_t { 1 } << 53;

// The grid of a positive finite value: its binade [2^e, 2^(e+1)] with unit
// 2^(e-52), or for the subnormals and the smallest normal binade the one grid
// [2^-1074, 2^-1021] of unit 2^-1074 (zero left out: a sum that reaches zero
// takes its sign from the rounding rules, so it is done as a real addition).
Grid GridOf(double value) noexcept
{
    constexpr double kSmall = 0x1p-1021;
    if (value < kSmall)
        return { -1074, 1, kTwo53 };
    int e = 0;
    (void)std::frexp(value, &e); // value = m × 2^e, m in [0.5, 1)
    return { e - 1 - 52, kTwo52, kTwo53 };
}

// Takes as many additions of step as stay on value's grid, in one go, and
// returns how many it took (0 when the next addition leaves the grid, or when
// a tie would go the other way first). value > 0 and step != 0, both finite.
std::uint64_t SkipOnGrid(double& value, double step, std::uint64_t times) noexcept
{
    const Grid grid = GridOf(value);
    // A step at least as long as the grid leaves it at once.
    if (std::fabs(step) >= std::ldexp(static_cast<double>(grid.high - grid.low), grid.exponent))
        return 0;
    const auto m = static_cast<std::int64_t>(std::ldexp(value, -grid.exponent)); // exact
    const double d = std::ldexp(step, -grid.exponent); // exact: a power-of-two scaling
    const double below = std::floor(d);
    const double fraction = d - below; // exact
    double q = below;
    if (fraction > 0.5)
        q = below + 1;
    else if (fraction == 0.5) {
        // m + d lies halfway: the sum goes to the even neighbour. From an even m
        // that is always m + (the even one of floor d, ceil d), the same step
        // every time; from an odd m the caller first takes one real addition.
        if (m % 2 != 0)
            return 0;
        if (std::fmod(below, 2.0) != 0)
            q = below + 1;
    }
    const auto step64 = static_cast<std::int64_t>(q);
    const double f = d - q; // in [-0.5, 0.5], exact
    // Addition j (from m + j q) stays on the grid while its exact sum
    // m + j q + d = m + (j + 1) q + f lies in [low, high].
    std::uint64_t fit = 0;
    if (step64 == 0) {
        // Every addition rounds back to value, unless its sum m + f falls off
        // the grid (m is an integer in [low, high) and |f| <= 0.5).
        if (m == grid.low && f < 0)
            return 0;
        return times;
    }
    if (step64 > 0) {
        // (j + 1) q + f <= high - m, for every j < fit.
        const std::int64_t room = grid.high - m - (f > 0 ? 1 : 0);
        if (room < step64)
            return 0;
        fit = static_cast<std::uint64_t>(room / step64);
    } else {
        // m + (j + 1) q + f >= low, for every j < fit.
        const std::int64_t room = m - grid.low - (f < 0 ? 1 : 0);
        if (room < -step64)
            return 0;
        fit = static_cast<std::uint64_t>(room / -step64);
    }
    const std::uint64_t taken = std::min(fit, times);
    value = std::ldexp(static_cast<double>(m + static_cast<std::int64_t>(taken) * step64), grid.exponent);
    return taken;
}

} // namespace

double AddRepeatedly(double value, double step, std::uint64_t times) noexcept
{
    while (times > 0) {
        const double next = value + step;
        --times;
        // After a zero step, or once the value is infinite or NaN, every further
        // addition gives the same result again; so does one that changes nothing
        // (value is not 0 then, as step is not).
        if (step == 0 || !std::isfinite(next) || next == value)
            return next;
        value = next;
        if (times == 0 || value == 0)
            continue;
        // Rounding is symmetric, so a negative walk is the mirror of a positive one.
        const bool negative = value < 0;
        double magnitude = negative ? -value : value;
        times -= SkipOnGrid(magnitude, negative ? -step : step, times);
        value = negative ? -magnitude : magnitude;
    }
    return value;
}

BandWalk::BandWalk(std::span<const TColor> colors, std::int32_t count, std::int64_t segment, std::int64_t lineSize,
    std::int64_t first)
    : m_colors(colors.begin(), colors.end())
    , m_count(count)
    , m_segment(segment)
    , m_boundary(segment)
    , m_lineSize(lineSize)
    , m_position(first)
{
    m_start = At(0);
    m_target = count > 1 ? At(1) : At(0);
    m_index = 1;
    std::int32_t r = 0, g = 0, b = 0;
    DeColor(m_start, r, g, b);
    m_r = r;
    m_g = g;
    m_b = b;
    UpdateStep();
}

TColor BandWalk::Current() const noexcept
{
    return ERGB(static_cast<float>(m_r), static_cast<float>(m_g), static_cast<float>(m_b));
}

TColor BandWalk::At(std::int32_t i) const noexcept
{
    return m_colors[static_cast<std::size_t>(std::min<std::int64_t>(i, static_cast<std::int64_t>(m_colors.size()) - 1))];
}

void BandWalk::UpdateStep() noexcept
{
    if (m_segment == 0) {
        m_dr = m_dg = m_db = 0;
        return;
    }
    std::int32_t r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
    DeColor(m_start, r1, g1, b1);
    DeColor(m_target, r2, g2, b2);
    const auto d = static_cast<double>(m_segment);
    const auto s = static_cast<double>(m_lineSize);
    m_dr = (r2 - r1) / d * s;
    m_dg = (g2 - g1) / d * s;
    m_db = (b2 - b1) / d * s;
}

void BandWalk::EnterNextSegment() noexcept
{
    m_boundary += m_segment;
    m_index = std::min(m_index + 1, m_count);
    m_start = m_target;
    m_target = At(m_index);
    UpdateStep();
}

void BandWalk::Next() noexcept
{
    m_position += m_lineSize;
    if (m_position >= m_boundary)
        EnterNextSegment();
    m_r += m_dr;
    m_g += m_dg;
    m_b += m_db;
}

bool BandWalk::Settled() const noexcept
{
    // Without segments every step is 0; past the last colour every new segment
    // runs from that colour to itself.
    return m_segment == 0 || (m_index == m_count && m_start == m_target && m_target == At(m_count));
}

void BandWalk::Advance(std::uint64_t bands) noexcept
{
    while (bands > 0) {
        if (Settled()) {
            // Adding zero steps changes no colour (at most the sign of a zero).
            m_position += static_cast<std::int64_t>(bands) * m_lineSize;
            return;
        }
        // The number of bands up to and including the one whose position first
        // reaches the boundary.
        const std::int64_t gap = m_boundary - m_position;
        const std::uint64_t untilChange
            = gap <= m_lineSize ? 1 : static_cast<std::uint64_t>((gap + m_lineSize - 1) / m_lineSize);
        const std::uint64_t plain = std::min(untilChange - 1, bands);
        m_r = AddRepeatedly(m_r, m_dr, plain);
        m_g = AddRepeatedly(m_g, m_dg, plain);
        m_b = AddRepeatedly(m_b, m_db, plain);
        m_position += static_cast<std::int64_t>(plain) * m_lineSize;
        bands -= plain;
        if (bands > 0) {
            Next();
            --bands;
        }
    }
}

} // namespace plx::detail
