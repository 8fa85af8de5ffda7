// BandWalk: the colour walk of the gradient band painters, band by band or
// many bands at once with the same result.
#pragma once

#include "color/host/Types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace plx::detail {

//! The value of `value` after `times` repetitions of `value = value + step` in
//! double precision, each addition rounded to nearest (ties to even), computed
//! in a number of operations that does not grow with `times`: within a binade
//! every sum lands on the same grid, so equal steps add up exactly there.
[[nodiscard]] double AddRepeatedly(double value, double step, std::uint64_t times) noexcept;

//! The current colour of a gradient and its walk through the colour list. The
//! channels are doubles advanced by one addition per band (not recomputed by
//! interpolation) and rounded through ERGB for each band. Segment boundaries
//! lie at multiples of the segment length counted from coordinate 0; after a
//! band, the position of the next one (the line position, or the top inset of
//! the concentric styles) that reaches the boundary enters the next segment:
//! the boundary moves on by one segment, the start colour becomes the previous
//! target and the target the next colour of the list (never beyond `count`),
//! and the walk goes on from the current value. A segment of length 0 keeps the
//! colour where it is.
class BandWalk {
public:
    //! colors must not be empty; count >= 1; lineSize >= 1; first is the
    //! position of band 0.
    BandWalk(std::span<const TColor> colors, std::int32_t count, std::int64_t segment, std::int64_t lineSize,
        std::int64_t first);

    //! The colour of the current band.
    [[nodiscard]] TColor Current() const noexcept;
    //! The position of the current band.
    [[nodiscard]] std::int64_t Position() const noexcept { return m_position; }
    //! Moves to the next band.
    void Next() noexcept;
    //! Moves `bands` bands on, exactly as that many calls of Next would, in time
    //! that grows with the number of segment changes passed, not with `bands`.
    void Advance(std::uint64_t bands) noexcept;

private:
    [[nodiscard]] TColor At(std::int32_t i) const noexcept;
    //! True when no later band can change the colour.
    [[nodiscard]] bool Settled() const noexcept;
    void EnterNextSegment() noexcept;
    void UpdateStep() noexcept;

    std::vector<TColor> m_colors;
    std::int32_t m_count;
    std::int64_t m_segment;
    std::int64_t m_boundary;
    std::int64_t m_lineSize;
    std::int64_t m_position;
    std::int32_t m_index { 0 };
    TColor m_start { 0 };
    TColor m_target { 0 };
    double m_r { 0 }, m_g { 0 }, m_b { 0 };
    double m_dr { 0 }, m_dg { 0 }, m_db { 0 };
};

} // namespace plx::detail
