// The canvas calls that only the host's own units make: the font text calls
// use, drawing decoded text, and raster transfers into a canvas.
#pragma once

#include "color/host/Canvas.h"
#include "color/host/FontEngine.h"
#include "color/host/detail/RasterOps.h"

#include <cstddef>
#include <cstdint>
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
    //! Draws decoded text with the cell's top-left corner at `at` (canvas
    //! coordinates); returns the text's width.
    static std::int32_t PaintText(TCanvas& canvas, TPoint at, std::u32string_view text, const TextPaint& options);
    //! Transfers sourceRect of source (raster coordinates) into dest (canvas
    //! coordinates) with the canvas's brush as the pattern; params gives the
    //! operation and the colours, its pattern is filled in here.
    static void BlitFrom(TCanvas& canvas, const TRect& dest, const Raster& source, const TRect& sourceRect, BlitParams params);
};

} // namespace plx::detail
