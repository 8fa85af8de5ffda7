// DrawMan: drawing routines over a host canvas: text effects, and bitmap
// routines (transparent blits, masks, tiling, frames, round buttons).
#pragma once

#include "color/host/Bitmap.h"
#include "color/host/Canvas.h"
#include "color/host/Gdi.h"
#include "color/host/Types.h"

#include <cstdint>
#include <string>

namespace plx {

// ---- Bitmap routines -------------------------------------------------------

//! The colour of the bitmap's pixel (0, 0); clInvalid for an empty bitmap.
[[nodiscard]] TColor TransColor(const TBitmap& bitmap) noexcept;
//! True when the bitmap is absent or has no width or no height.
[[nodiscard]] bool BmpIsNil(const TBitmap* bitmap) noexcept;
//! Sets the width, then the height.
void SetSize(TBitmap& bitmap, std::int32_t width, std::int32_t height);
//! Draws the bitmap at (x, y) without its pixels of transparentColor. The bitmap
//! keeps Transparent on and that colour as its TransparentColor.
void TransparentBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y, TColor transparentColor);
//! TransparentBlt with the bitmap's own TransparentColor.
void TransBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y);

// ---- Text effects ----------------------------------------------------------

} // namespace plx
