// Rectangles with 64-bit edges: canvas or raster positions before they are
// clipped, which may lie beyond the int32 range (a far coordinate plus an
// origin or a size).
#pragma once

#include "color/host/Types.h"

#include <algorithm>
#include <cstdint>

namespace plx::detail {

struct WidePoint {
    std::int64_t X { 0 };
    std::int64_t Y { 0 };
    constexpr bool operator==(const WidePoint&) const = default;
};

//! Left and top inclusive, right and bottom exclusive, as TRect.
struct WideRect {
    std::int64_t Left { 0 };
    std::int64_t Top { 0 };
    std::int64_t Right { 0 };
    std::int64_t Bottom { 0 };

    [[nodiscard]] static constexpr WideRect From(const TRect& r) noexcept { return { r.Left, r.Top, r.Right, r.Bottom }; }
    [[nodiscard]] constexpr std::int64_t Width() const noexcept { return Right - Left; }
    [[nodiscard]] constexpr std::int64_t Height() const noexcept { return Bottom - Top; }
    [[nodiscard]] constexpr bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
    [[nodiscard]] constexpr WideRect Offset(std::int64_t dx, std::int64_t dy) const noexcept
    {
        return { Left + dx, Top + dy, Right + dx, Bottom + dy };
    }
    [[nodiscard]] constexpr WideRect Offset(TPoint p) const noexcept { return Offset(p.X, p.Y); }
    [[nodiscard]] constexpr WideRect Inflated(std::int64_t dx, std::int64_t dy) const noexcept
    {
        return { Left - dx, Top - dy, Right + dx, Bottom + dy };
    }
    constexpr bool operator==(const WideRect&) const = default;
};

//! The part of r inside clip: empty, or a rectangle within clip (so it fits in
//! 32 bits).
[[nodiscard]] constexpr TRect ClipTo(const WideRect& r, const TRect& clip) noexcept
{
    const WideRect c { std::max<std::int64_t>(r.Left, clip.Left), std::max<std::int64_t>(r.Top, clip.Top),
        std::min<std::int64_t>(r.Right, clip.Right), std::min<std::int64_t>(r.Bottom, clip.Bottom) };
    if (c.IsEmpty())
        return {};
    return { static_cast<std::int32_t>(c.Left), static_cast<std::int32_t>(c.Top), static_cast<std::int32_t>(c.Right),
        static_cast<std::int32_t>(c.Bottom) };
}

} // namespace plx::detail
