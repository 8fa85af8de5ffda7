// The canvas calls that only the host's own units make: the font text calls
// use, drawing decoded text, and raster transfers into a canvas.
#pragma once

#include "color/host/Canvas.h"
#include "color/host/FontEngine.h"
#include "color/host/detail/RasterOps.h"
#include "color/host/detail/WideRect.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace plx::detail {

//! How CanvasAccess::PaintText draws a run of text.
struct TextPaint {
    //! Indices of characters drawn with an underline of their own (accelerators).
    std::vector<std::size_t> underlined;
    //! Limits the text to this rectangle (canvas coordinates) when set.
    const TRect* clip { nullptr };
    //! Fills the text cell with the brush colour first.
    bool opaque { false };
};

class CanvasAccess {
public:
    //! The font text calls use: the one selected into the canvas's device
    //! context, or else the canvas's Font.
    [[nodiscard]] static FontSpec TextFont(const TCanvas& canvas);
    //! Draws decoded text with the cell's top-left corner at (x, y) (canvas
    //! coordinates, which may lie beyond the int32 range); returns the text's
    //! width, saturated.
    static std::int32_t PaintText(TCanvas& canvas, std::int64_t x, std::int64_t y, std::u32string_view text,
        const TextPaint& options);
    //! Transfers sourceRect of source (raster coordinates) into dest (canvas
    //! coordinates) with the canvas's brush as the pattern; params gives the
    //! operation and the colours, its pattern is filled in here.
    static void BlitFrom(TCanvas& canvas, const WideRect& dest, const Raster& source, const WideRect& sourceRect,
        BlitParams params);
    //! FillRect for a rectangle of canvas coordinates that may reach beyond the int32 range.
    static void Fill(TCanvas& canvas, const WideRect& rect);
    //! Polyline for points that may lie beyond the int32 range.
    static void Polyline(TCanvas& canvas, std::span<const WidePoint> points);
    //! Makes a device context's handle the canvas's own, without the canvas
    //! owning it (the context owns the canvas): a memory device context.
    static void AttachHandle(TCanvas& canvas, HDC dc) noexcept;
};

} // namespace plx::detail
