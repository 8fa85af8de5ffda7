// Bitmaps for tests: made in one call and owned by the caller.
#pragma once

#include "color/host/Bitmap.h"

#include <memory>

namespace plx::test {

//! A bitmap of the given size, filled with one colour.
inline std::unique_ptr<TBitmap> Filled(std::int32_t width, std::int32_t height, TColor color = clWhite)
{
    auto b = std::make_unique<TBitmap>(width, height);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect(Rect(0, 0, width, height));
    return b;
}

} // namespace plx::test
