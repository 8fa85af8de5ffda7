#include "color/host/detail/LineWalk.h"

namespace plx::detail {

namespace {

using Wide = __int128;

// The smallest integer not below n / d, for d > 0.
Wide CeilDiv(Wide n, Wide d) noexcept
{
    Wide q = n / d;
    return n % d != 0 && n > 0 ? q + 1 : q;
}

std::int64_t ClampSteps(Wide v, std::int64_t steps) noexcept
{
    return static_cast<std::int64_t>(v < 0 ? Wide { 0 } : v > steps ? Wide { steps } : v);
}

} // namespace

LineWalk::LineWalk(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) noexcept
    : m_ax(ax)
    , m_ay(ay)
    , m_dx(bx > ax ? bx - ax : ax - bx)
    , m_dy(by > ay ? by - ay : ay - by)
    , m_sx(ax < bx ? 1 : -1)
    , m_sy(ay < by ? 1 : -1)
    , m_xMajor(m_dx >= m_dy)
    , m_major(m_xMajor ? m_dx : m_dy)
    , m_minor(m_xMajor ? m_dy : m_dx)
{
}

std::int64_t LineWalk::Minor(std::int64_t k) const noexcept
{
    if (m_minor == 0)
        return 0;
    return static_cast<std::int64_t>((Wide { 2 } * m_minor * k + m_major) / (Wide { 2 } * m_major));
}

std::int64_t LineWalk::X(std::int64_t k) const noexcept
{
    return m_ax + m_sx * (m_xMajor ? k : Minor(k));
}

std::int64_t LineWalk::Y(std::int64_t k) const noexcept
{
    return m_ay + m_sy * (m_xMajor ? Minor(k) : k);
}

std::int64_t LineWalk::ErrorAt(std::int64_t k) const noexcept
{
    // The error starts at dx - dy and moves by -dy for each x step and by +dx
    // for each y step; it stays within a few line lengths of zero.
    const Wide xSteps = m_xMajor ? k : Minor(k);
    const Wide ySteps = m_xMajor ? Minor(k) : k;
    return static_cast<std::int64_t>(Wide { m_dx } - m_dy - xSteps * m_dy + ySteps * m_dx);
}

StepRange LineWalk::WithMinor(std::int64_t lo, std::int64_t hi) const noexcept
{
    if (lo >= hi)
        return {};
    if (m_minor == 0)
        return lo <= 0 && 0 < hi ? StepRange { 0, m_major } : StepRange {};
    // floor((2mk + M) / 2M) >= lo  <=>  k >= (2M lo - M) / 2m, and likewise for < hi.
    const Wide twoM = Wide { 2 } * m_major, twoMinor = Wide { 2 } * m_minor;
    return { ClampSteps(CeilDiv(twoM * lo - m_major, twoMinor), m_major),
        ClampSteps(CeilDiv(twoM * hi - m_major, twoMinor), m_major) };
}

StepRange LineWalk::WithCoordinate(std::int64_t start, std::int64_t sign, bool major, std::int64_t lo,
    std::int64_t hi) const noexcept
{
    if (lo >= hi)
        return {};
    // start + sign * offset in [lo, hi): the offsets [lo - start, hi - start)
    // going forwards, (start - hi, start - lo] going backwards.
    const std::int64_t from = sign > 0 ? lo - start : start - hi + 1;
    const std::int64_t to = sign > 0 ? hi - start : start - lo + 1;
    if (!major)
        return WithMinor(from, to);
    return StepRange { from, to }.Intersect({ 0, m_major });
}

StepRange LineWalk::WithX(std::int64_t lo, std::int64_t hi) const noexcept
{
    return WithCoordinate(m_ax, m_sx, m_xMajor, lo, hi);
}

StepRange LineWalk::WithY(std::int64_t lo, std::int64_t hi) const noexcept
{
    return WithCoordinate(m_ay, m_sy, !m_xMajor, lo, hi);
}

} // namespace plx::detail
