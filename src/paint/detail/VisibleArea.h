// The visible part of an area given in 64-bit canvas coordinates, for the
// DrawMan routines that work through temporary bitmaps.
#pragma once

#include "color/host/Canvas.h"
#include "color/host/Types.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plx::detail {

//! The value clamped to the coordinate range.
[[nodiscard]] constexpr std::int32_t SaturatedCoordinate(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

//! The part of the area width x height at (left, top) that the canvas shows;
//! empty when none does. The result lies inside the clip rectangle, so its
//! coordinates and sizes fit 32 bits whatever the area's do. A routine that
//! works on a copy of the canvas area and draws it back does the same on this
//! part alone: the rest would be clipped when drawn back.
[[nodiscard]] inline TRect VisibleArea(const TCanvas& canvas, std::int64_t left, std::int64_t top, std::int64_t width,
    std::int64_t height) noexcept
{
    const TRect clip = canvas.ClipRect();
    const std::int64_t l = std::max<std::int64_t>(left, clip.Left);
    const std::int64_t t = std::max<std::int64_t>(top, clip.Top);
    const std::int64_t r = std::min<std::int64_t>(left + width, clip.Right);
    const std::int64_t b = std::min<std::int64_t>(top + height, clip.Bottom);
    if (l >= r || t >= b)
        return {};
    return Rect(static_cast<std::int32_t>(l), static_cast<std::int32_t>(t), static_cast<std::int32_t>(r),
        static_cast<std::int32_t>(b));
}

} // namespace plx::detail
