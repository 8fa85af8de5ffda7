// Coordinate sums of the control layer in 64 bits: adding int32 coordinates
// (a position and a size, a parent's origin and a child's) never wraps, and
// results are clamped back into the int32 range only where they are stored.
#pragma once

#include "color/host/Types.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plx::detail {

[[nodiscard]] constexpr std::int32_t ClampToInt32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

//! A rectangle with 64-bit edges (right and bottom exclusive, as TRect).
struct TRect64 {
    std::int64_t Left { 0 };
    std::int64_t Top { 0 };
    std::int64_t Right { 0 };
    std::int64_t Bottom { 0 };

    [[nodiscard]] static constexpr TRect64 Of(const TRect& r) noexcept { return { r.Left, r.Top, r.Right, r.Bottom }; }
    [[nodiscard]] constexpr TRect64 Offset(std::int64_t dx, std::int64_t dy) const noexcept
    {
        return { Left + dx, Top + dy, Right + dx, Bottom + dy };
    }
    //! Every edge clamped into the int32 range.
    [[nodiscard]] constexpr TRect Clamped() const noexcept
    {
        return { ClampToInt32(Left), ClampToInt32(Top), ClampToInt32(Right), ClampToInt32(Bottom) };
    }
};

[[nodiscard]] constexpr TRect64 Bounds64(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) noexcept
{
    return { left, top, left + width, top + height };
}

//! The part of r inside clip; (0, 0, 0, 0) when they do not meet. The result
//! lies in clip, so it always fits in 32 bits.
[[nodiscard]] constexpr TRect ClipTo(const TRect64& r, const TRect& clip) noexcept
{
    TRect result { ClampToInt32(std::max<std::int64_t>(r.Left, clip.Left)), ClampToInt32(std::max<std::int64_t>(r.Top, clip.Top)),
        ClampToInt32(std::min<std::int64_t>(r.Right, clip.Right)), ClampToInt32(std::min<std::int64_t>(r.Bottom, clip.Bottom)) };
    return result.IsEmpty() ? TRect {} : result;
}

} // namespace plx::detail
