#include "framework/host/detail/ControlPaint.h"

#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "color/host/SysColors.h"

#include <algorithm>
#include <array>

namespace plx::detail {

namespace {

void Fill(TCanvas& canvas, const TRect& rect, TColor color)
{
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

void InvertPixel(TCanvas& canvas, std::int32_t x, std::int32_t y)
{
    TColor c = canvas.Pixels(x, y);
    if (c != clInvalid)
        canvas.SetPixels(x, y, c ^ 0xFFFFFF);
}

} // namespace

void DrawFocusRect(TCanvas& canvas, const TRect& rect)
{
    if (rect.IsEmpty())
        return;
    // Only the visible part is walked: a rectangle may be as large as int32 allows.
    const TRect clip = canvas.ClipRect();
    auto dot = [&](std::int32_t x, std::int32_t y) {
        if (((static_cast<std::int64_t>(x) - rect.Left) + (static_cast<std::int64_t>(y) - rect.Top)) % 2 == 0)
            InvertPixel(canvas, x, y);
    };
    const std::int32_t last = rect.Bottom - 1, right = rect.Right - 1;
    const std::int32_t x0 = std::max(rect.Left, clip.Left), x1 = std::min(right, clip.Right - 1);
    for (std::int32_t x = x0; x <= x1 && x0 <= x1; ++x) {
        dot(x, rect.Top);
        if (last > rect.Top)
            dot(x, last);
        if (x == INT32_MAX)
            break;
    }
    const std::int32_t y0 = std::max(rect.Top + 1, clip.Top), y1 = std::min(last - 1, clip.Bottom - 1);
    for (std::int32_t y = y0; y <= y1 && y0 <= y1; ++y) {
        dot(rect.Left, y);
        if (right > rect.Left)
            dot(right, y);
        if (y == INT32_MAX)
            break;
    }
}

void DrawFrame(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight)
{
    if (rect.IsEmpty())
        return;
    const TRect r = rect;
    Fill(canvas, Rect(r.Left, r.Top, r.Right - 1, r.Top + 1), topLeft);
    Fill(canvas, Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1), topLeft);
    Fill(canvas, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottomRight);
    Fill(canvas, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottomRight);
    InflateRect(rect, -1, -1);
}

void DrawRaisedEdge(TCanvas& canvas, TRect& rect)
{
    DrawFrame(canvas, rect, clBtnHighlight, cl3DDkShadow);
    DrawFrame(canvas, rect, cl3DLight, clBtnShadow);
}

void DrawSunkenEdge(TCanvas& canvas, TRect& rect)
{
    DrawFrame(canvas, rect, clBtnShadow, clBtnHighlight);
    DrawFrame(canvas, rect, cl3DDkShadow, cl3DLight);
}

TRect DrawPushButton(TCanvas& canvas, TRect rect, TButtonFace face)
{
    switch (face) {
    case TButtonFace::Up:
        DrawRaisedEdge(canvas, rect);
        Fill(canvas, rect, clBtnFace);
        return rect;
    case TButtonFace::Default:
        DrawFrame(canvas, rect, clWindowFrame, clWindowFrame);
        DrawRaisedEdge(canvas, rect);
        Fill(canvas, rect, clBtnFace);
        return rect;
    case TButtonFace::Pressed:
        DrawFrame(canvas, rect, clWindowFrame, clWindowFrame);
        DrawFrame(canvas, rect, clBtnShadow, clBtnShadow);
        Fill(canvas, rect, clBtnFace);
        OffsetRect(rect, 1, 1);
        return rect;
    }
    return rect;
}

void DrawSpeedButtonFace(TCanvas& canvas, TRect& rect, bool down)
{
    if (down) {
        DrawFrame(canvas, rect, cl3DDkShadow, clBtnHighlight);
        DrawFrame(canvas, rect, clBtnShadow, cl3DLight);
    } else {
        DrawFrame(canvas, rect, clBtnHighlight, cl3DDkShadow);
        DrawFrame(canvas, rect, cl3DLight, clBtnShadow);
    }
    Fill(canvas, rect, clBtnFace);
}

void DrawFlatPushedFace(TCanvas& canvas, TRect& rect)
{
    DrawFrame(canvas, rect, clBtnShadow, clBtnShadow);
    Fill(canvas, rect, clBtnFace);
}

void DrawArrow(TCanvas& canvas, const TRect& rect, TArrowDirection direction, bool enabled)
{
    const bool vertical = direction == TArrowDirection::Up || direction == TArrowDirection::Down;
    const std::int32_t across = vertical ? rect.Width() : rect.Height();
    const std::int32_t along = vertical ? rect.Height() : rect.Width();
    // The base is odd so the tip is one pixel wide; seven pixels on a 16-pixel button.
    std::int64_t wide = std::min<std::int64_t>({ 7, std::int64_t { across } - 5, 2 * std::int64_t { along } - 7 });
    auto base = static_cast<std::int32_t>(std::max<std::int64_t>(wide, 1));
    if (base < 1)
        base = 1;
    if (base % 2 == 0)
        --base;
    const std::int32_t rows = (base + 1) / 2;
    const std::int32_t a0 = (vertical ? rect.Left : rect.Top) + (across - base) / 2;
    const std::int32_t b0 = (vertical ? rect.Top : rect.Left) + (along - rows) / 2;
    auto paint = [&](std::int32_t dx, std::int32_t dy, TColor color) {
        canvas.Brush().SetColor(color);
        for (std::int32_t i = 0; i < rows; ++i) {
            // Row i from the tip has 2 i + 1 pixels.
            const bool tipFirst = direction == TArrowDirection::Up || direction == TArrowDirection::Left;
            const std::int32_t b = b0 + (tipFirst ? i : rows - 1 - i);
            const std::int32_t a = a0 + rows - 1 - i;
            TRect r = vertical ? Rect(a, b, a + 2 * i + 1, b + 1) : Rect(b, a, b + 1, a + 2 * i + 1);
            OffsetRect(r, dx, dy);
            canvas.FillRect(r);
        }
    };
    if (enabled) {
        paint(0, 0, clBtnText);
    } else {
        paint(1, 1, clBtnHighlight);
        paint(0, 0, clBtnShadow);
    }
}

void DrawCheckBox(TCanvas& canvas, std::int32_t x, std::int32_t y, TCheckMark mark, bool enabled, bool pushed)
{
    TRect r = Bounds(x, y, kCheckSize, kCheckSize);
    DrawSunkenEdge(canvas, r);
    Fill(canvas, r, pushed || !enabled || mark == TCheckMark::Grayed ? clBtnFace : clWindow);
    if (mark == TCheckMark::Unchecked)
        return;
    // The classic seven-by-seven tick.
    static constexpr std::array<const char*, 7> kTick { "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...." };
    const TColor ink = enabled && mark == TCheckMark::Checked ? clWindowText : clBtnShadow;
    for (std::int32_t row = 0; row < 7; ++row)
        for (std::int32_t col = 0; col < 7; ++col)
            if (kTick[static_cast<std::size_t>(row)][col] == '#')
                canvas.SetPixels(x + 3 + col, y + 3 + row, ColorToRGB(ink));
}

void DrawRadioButton(TCanvas& canvas, std::int32_t x, std::int32_t y, bool checked, bool enabled, bool pushed)
{
    // Pixels by their centre's distance from the circle's centre (6, 6): the
    // outer ring, the inner ring, the well and the dot; the top-left half of
    // each ring dark, the bottom-right half light, as the sunken edge.
    const TColor well = ColorToRGB(pushed || !enabled ? clBtnFace : clWindow);
    for (std::int32_t row = 0; row < kRadioSize; ++row)
        for (std::int32_t col = 0; col < kRadioSize; ++col) {
            const std::int32_t dx = 2 * col + 1 - kRadioSize, dy = 2 * row + 1 - kRadioSize; // doubled offsets
            const std::int32_t d2 = dx * dx + dy * dy; // four times the squared distance
            const bool topLeft = col + row < kRadioSize - 1;
            TColor c;
            if (d2 >= 4 * 36)
                continue;
            if (d2 >= 4 * 25)
                c = topLeft ? clBtnShadow : clBtnHighlight;
            else if (d2 >= 4 * 16)
                c = topLeft ? cl3DDkShadow : cl3DLight;
            else if (checked && d2 < 4 * 4)
                c = enabled ? clWindowText : clBtnShadow;
            else
                c = well;
            canvas.SetPixels(x + col, y + row, ColorToRGB(c));
        }
}

void DrawCaption(TCanvas& canvas, std::string_view text, TRect rect, std::uint32_t flags, bool enabled)
{
    canvas.Brush().SetStyle(bsClear);
    if (enabled) {
        DrawText(canvas, text, rect, flags);
        return;
    }
    const TColor color = canvas.Font().Color();
    TRect below = rect;
    OffsetRect(below, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    DrawText(canvas, text, below, flags);
    canvas.Font().SetColor(clBtnShadow);
    DrawText(canvas, text, rect, flags);
    canvas.Font().SetColor(color);
}

void FillDithered(TCanvas& canvas, const TRect& rect)
{
    TBitmap pattern(8, 8);
    const TColor light = ColorToRGB(clBtnHighlight), face = ColorToRGB(clBtnFace);
    for (std::int32_t y = 0; y < 8; ++y)
        for (std::int32_t x = 0; x < 8; ++x)
            pattern.Canvas().SetPixels(x, y, (x + y) % 2 == 0 ? light : face);
    canvas.Brush().SetBitmap(&pattern);
    canvas.FillRect(rect);
    canvas.Brush().SetBitmap(nullptr);
}

TScrollBarLayout TScrollBarLayout::Make(const TRect& bar, std::int32_t position, std::int32_t max, std::int32_t page) noexcept
{
    TScrollBarLayout l;
    l.bar = bar;
    l.enabled = max > 0;
    const std::int32_t arrow = static_cast<std::int32_t>(std::min<std::int64_t>(kScrollBarSize, bar.Height() / 2));
    l.up = Rect(bar.Left, bar.Top, bar.Right, bar.Top + arrow);
    l.down = Rect(bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom);
    l.track = Rect(bar.Left, l.up.Bottom, bar.Right, l.down.Top);
    const std::int32_t trackHeight = l.track.Height();
    constexpr std::int32_t kMinThumb = 8;
    if (!l.enabled || trackHeight < kMinThumb)
        return l;
    // The thumb is as long as the page is a part of everything, at least 8 pixels.
    const std::int64_t total = static_cast<std::int64_t>(max) + std::max(page, 1);
    const auto thumbHeight = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(trackHeight * static_cast<std::int64_t>(std::max(page, 1)) / total, kMinThumb, trackHeight));
    const std::int32_t room = trackHeight - thumbHeight;
    const std::int32_t clamped = std::clamp(position, 0, max);
    const auto top = l.track.Top + static_cast<std::int32_t>(static_cast<std::int64_t>(room) * clamped / max);
    l.thumb = Rect(bar.Left, top, bar.Right, top + thumbHeight);
    return l;
}

TScrollPart TScrollBarLayout::HitTest(TPoint p) const noexcept
{
    if (!bar.Contains(p))
        return TScrollPart::None;
    if (up.Contains(p))
        return TScrollPart::LineUp;
    if (down.Contains(p))
        return TScrollPart::LineDown;
    if (!enabled || thumb.IsEmpty())
        return TScrollPart::None;
    if (thumb.Contains(p))
        return TScrollPart::Thumb;
    return p.Y < thumb.Top ? TScrollPart::PageUp : TScrollPart::PageDown;
}

std::int32_t TScrollBarLayout::PositionAt(std::int32_t thumbTop, std::int32_t max) const noexcept
{
    const std::int32_t room = track.Height() - thumb.Height();
    if (room <= 0 || max <= 0)
        return 0;
    const std::int64_t offset = std::clamp<std::int64_t>(static_cast<std::int64_t>(thumbTop) - track.Top, 0, room);
    return static_cast<std::int32_t>((offset * max + room / 2) / room);
}

void DrawVScrollBar(TCanvas& canvas, const TScrollBarLayout& layout, TScrollPart pressed)
{
    auto arrowButton = [&](TRect r, TArrowDirection direction, bool down) {
        if (r.IsEmpty())
            return;
        if (down) {
            DrawFlatPushedFace(canvas, r);
            OffsetRect(r, 1, 1);
        } else {
            DrawRaisedEdge(canvas, r);
            Fill(canvas, r, clBtnFace);
        }
        DrawArrow(canvas, r, direction, layout.enabled);
    };
    arrowButton(layout.up, TArrowDirection::Up, pressed == TScrollPart::LineUp);
    arrowButton(layout.down, TArrowDirection::Down, pressed == TScrollPart::LineDown);
    if (layout.track.IsEmpty())
        return;
    FillDithered(canvas, layout.track);
    if (layout.thumb.IsEmpty())
        return;
    if (pressed == TScrollPart::PageUp)
        Fill(canvas, Rect(layout.track.Left, layout.track.Top, layout.track.Right, layout.thumb.Top), cl3DDkShadow);
    if (pressed == TScrollPart::PageDown)
        Fill(canvas, Rect(layout.track.Left, layout.thumb.Bottom, layout.track.Right, layout.track.Bottom), cl3DDkShadow);
    TRect thumb = layout.thumb;
    DrawRaisedEdge(canvas, thumb);
    Fill(canvas, thumb, clBtnFace);
}

} // namespace plx::detail
