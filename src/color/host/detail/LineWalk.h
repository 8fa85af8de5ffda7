// The pixels of a line as the canvas draws it, reachable anywhere along the
// line without walking the part before it.
#pragma once

#include <algorithm>
#include <cstdint>

namespace plx::detail {

//! A range of steps [first, end) along a line.
struct StepRange {
    std::int64_t first { 0 };
    std::int64_t end { 0 };

    [[nodiscard]] constexpr bool Empty() const noexcept { return end <= first; }
    [[nodiscard]] constexpr StepRange Intersect(StepRange other) const noexcept
    {
        return { std::max(first, other.first), std::min(end, other.end) };
    }
};

//! The error-term walk from a towards b that leaves b out. Each step moves one
//! pixel along the major axis (the longer one; x on a tie), so the walk has
//! Steps() = max(|dx|, |dy|) pixels. After k steps the minor coordinate has moved
//! floor((2 m k + M) / (2 M)) pixels (M, m the major and minor lengths): the
//! closed form of the walk's error term, which lets a caller start anywhere.
//! Coordinates are 64-bit: end points anywhere in the int32 range work, and the
//! arithmetic behind the closed form uses 128 bits.
class LineWalk {
public:
    LineWalk(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) noexcept;

    [[nodiscard]] std::int64_t Steps() const noexcept { return m_major; }
    [[nodiscard]] std::int64_t X(std::int64_t k) const noexcept;
    [[nodiscard]] std::int64_t Y(std::int64_t k) const noexcept;
    //! The steps whose pixel has its x in [lo, hi), within [0, Steps()). The x of
    //! a line never turns back, so they form one range; likewise for y.
    [[nodiscard]] StepRange WithX(std::int64_t lo, std::int64_t hi) const noexcept;
    [[nodiscard]] StepRange WithY(std::int64_t lo, std::int64_t hi) const noexcept;

    //! Calls plot(x, y, k) for each step of the range, in order.
    template <class F>
    void Walk(StepRange range, F plot) const
    {
        range = range.Intersect({ 0, m_major });
        if (range.Empty())
            return;
        std::int64_t x = X(range.first), y = Y(range.first), err = ErrorAt(range.first);
        const std::int64_t dx = m_dx, dy = -m_dy;
        for (std::int64_t k = range.first; k < range.end; ++k) {
            plot(x, y, k);
            const std::int64_t e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += m_sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += m_sy;
            }
        }
    }

private:
    [[nodiscard]] std::int64_t Minor(std::int64_t k) const noexcept;
    //! Steps whose minor offset lies in [lo, hi).
    [[nodiscard]] StepRange WithMinor(std::int64_t lo, std::int64_t hi) const noexcept;
    //! Steps whose coordinate start + sign * offset lies in [lo, hi), offset from
    //! the major or the minor axis.
    [[nodiscard]] StepRange WithCoordinate(std::int64_t start, std::int64_t sign, bool major, std::int64_t lo,
        std::int64_t hi) const noexcept;
    //! The walk's error term on arriving at step k.
    [[nodiscard]] std::int64_t ErrorAt(std::int64_t k) const noexcept;

    std::int64_t m_ax, m_ay;
    std::int64_t m_dx, m_dy; //!< lengths, >= 0
    std::int64_t m_sx, m_sy; //!< directions, +1 or -1
    bool m_xMajor;
    std::int64_t m_major, m_minor;
};

} // namespace plx::detail
