// What the controls of unit KnCtrls share inside the package: the scroll bars'
// repeat timer and frame bitmap, and a guard for the blits that key out a colour.
#pragma once

#include "color/host/Bitmap.h"

namespace plx {

class TTimer;

namespace detail {

//! The scroll bars' shared repeat timer (100 ms); null while the unit is not started.
[[nodiscard]] TTimer* RepeatTimer() noexcept;
//! The scratch bitmap a picture's frame is cut into before it is drawn; null
//! while the unit is not started.
[[nodiscard]] TBitmap* GlyphFrame() noexcept;
//! The scroll bar the repeat timer's handler calls into, or null: a scroll bar
//! being destroyed while it is the one unhooks the timer.
[[nodiscard]] const void* RepeatClient() noexcept;
void SetRepeatClient(const void* client) noexcept;

//! TransparentBlt, TransBlt and SmoothBlt leave the bitmap they draw with
//! Transparent on and the key colour fixed. A control that draws its own
//! pictures that way keeps them as they were, so the next render (or a draw
//! that honours Transparent, like StretchDraw) is not changed by the last one.
class TTransparencyKeeper {
public:
    explicit TTransparencyKeeper(TBitmap& bitmap) noexcept
        : m_bitmap(bitmap)
        , m_transparent(bitmap.Transparent())
        , m_mode(bitmap.TransparentMode())
        , m_color(bitmap.TransparentColor())
    {
    }
    ~TTransparencyKeeper()
    {
        m_bitmap.SetTransparent(m_transparent);
        if (m_mode == tmFixed)
            m_bitmap.SetTransparentColor(m_color);
        else
            m_bitmap.SetTransparentMode(tmAuto);
    }
    TTransparencyKeeper(const TTransparencyKeeper&) = delete;
    TTransparencyKeeper& operator=(const TTransparencyKeeper&) = delete;

private:
    TBitmap& m_bitmap;
    bool m_transparent;
    TTransparentMode m_mode;
    TColor m_color;
};

} // namespace detail

} // namespace plx
