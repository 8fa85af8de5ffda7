// Internal pixel loops shared by the canvas and the GDI-style calls: pattern
// fills, binary (pen) and ternary (blit) raster operations, and block transfers.
#pragma once

#include "color/host/Brush.h"
#include "color/host/Raster.h"
#include "color/host/detail/WideRect.h"

#include <array>
#include <cstdint>

namespace plx::detail {

//! What a brush paints: one colour, or an up to 8 x 8 pattern aligned to the
//! canvas origin whose cells may be transparent (hatch backgrounds).
struct FillPattern {
    bool solid { true };
    TColor color { 0 };
    std::int32_t width { 1 };
    std::int32_t height { 1 };
    std::array<TColor, 64> cells {};
    std::array<bool, 64> opaque {};
    TPoint origin; //!< raster point of canvas (0, 0)

    [[nodiscard]] TColor At(std::int32_t x, std::int32_t y, bool& isOpaque) const noexcept
    {
        if (solid) {
            isOpaque = true;
            return color;
        }
        // The origin may lie anywhere in the int32 range: the distance to it needs 64 bits.
        const auto px = static_cast<std::int32_t>(((std::int64_t { x } - origin.X) % width + width) % width);
        const auto py = static_cast<std::int32_t>(((std::int64_t { y } - origin.Y) % height + height) % height);
        std::size_t i = static_cast<std::size_t>(py * 8 + px);
        isOpaque = opaque[i];
        return cells[i];
    }
};

[[nodiscard]] FillPattern SolidPattern(TColor color) noexcept;
//! Resolves a brush: its bitmap (top-left 8 x 8, monochrome pixels taking the text
//! and background colours), its hatch in the brush colour, or its colour.
[[nodiscard]] FillPattern BrushPattern(const TBrush& brush, TPoint origin, TColor textColor, TColor bkColor);

//! Pen mode applied to a pen colour and a destination colour (24-bit values).
[[nodiscard]] std::uint32_t Rop2(TPenMode mode, std::uint32_t pen, std::uint32_t dst) noexcept;
//! A ternary raster operation (the code's truth table, byte 2 of the ROP) on
//! pattern, source and destination colours.
[[nodiscard]] std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) noexcept;
[[nodiscard]] constexpr std::uint8_t RopCode(std::uint32_t rop) noexcept { return static_cast<std::uint8_t>(rop >> 16); }
[[nodiscard]] constexpr bool RopUsesSource(std::uint8_t code) noexcept { return (((code >> 2) ^ code) & 0x33) != 0; }
[[nodiscard]] constexpr bool RopUsesPattern(std::uint8_t code) noexcept { return (((code >> 4) ^ code) & 0x0F) != 0; }

//! Combines one pixel with a colour through a pen mode.
void PlotPixel(Raster& raster, std::int32_t x, std::int32_t y, TColor color, TPenMode mode);
//! Paints the span [x0, x1) of row y (already clipped) with the pattern and mode.
void PaintSpan(Raster& raster, std::int32_t y, std::int32_t x0, std::int32_t x1, const FillPattern& pattern, TPenMode mode);
//! Paints a rectangle (raster coordinates, already clipped).
void FillArea(Raster& raster, const TRect& area, const FillPattern& pattern, TPenMode mode);

struct BlitParams {
    std::uint32_t rop { 0x00CC0020 };
    TColor sourceBkColor { 0xFFFFFF }; //!< colour to monochrome: this colour becomes white
    TColor destTextColor { 0x000000 }; //!< monochrome to colour: black becomes this
    TColor destBkColor { 0xFFFFFF }; //!< monochrome to colour: white becomes this
    const FillPattern* pattern { nullptr };
    const TColor* transparentKey { nullptr }; //!< source pixels of this colour are skipped
};

//! Transfers sourceRect of source into destRect of dest (raster coordinates,
//! scaling by nearest neighbour when the sizes differ, mirroring when exactly one
//! of the rectangles is reversed), limited to destClip. Destination pixels whose
//! source pixel lies outside the source keep their value. source may be dest.
//! The work is bounded by the visible part of destRect, whatever its size.
void Blit(Raster& dest, const TRect& destClip, const WideRect& destRect, const Raster& source, const WideRect& sourceRect,
    const BlitParams& params);
//! A pattern-and-destination operation over a rectangle (no source).
void PatternBlit(Raster& dest, const TRect& destClip, const WideRect& destRect, const BlitParams& params);

} // namespace plx::detail
