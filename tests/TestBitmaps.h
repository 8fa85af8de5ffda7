// Bitmaps for tests: made in one call and owned by the caller.
#pragma once

#include "color/host/Bitmap.h"

#include <initializer_list>
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

//! Frames of one colour each, side by side, frameWidth x height each (the
//! pictures of a skinned control's states).
inline std::unique_ptr<TBitmap> Frames(std::int32_t frameWidth, std::int32_t height, std::initializer_list<TColor> colors)
{
    auto b = std::make_unique<TBitmap>(frameWidth * static_cast<std::int32_t>(colors.size()), height);
    std::int32_t x = 0;
    for (TColor c : colors) {
        b->Canvas().Brush().SetColor(c);
        b->Canvas().FillRect(Rect(x, 0, x + frameWidth, height));
        x += frameWidth;
    }
    return b;
}

} // namespace plx::test
