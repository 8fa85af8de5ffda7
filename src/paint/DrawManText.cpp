// DrawMan, text effects: outlined, relief, shadowed, smoothed, rotated and
// picture-filled text, and reading the pixels of a text or bitmap.
#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "paint/detail/VisibleArea.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

namespace plx {

namespace {

// The four outline passes, in drawing order.
constexpr TPoint kOutlineOffsets[] = { { 1, 1 }, { -1, 1 }, { -1, -1 }, { 1, -1 } };

// A monochrome bitmap of width x height, white except the glyph pixels of the
// text drawn at (-left, -top) in a black copy of the canvas font: the part of
// the text's mask whose corner is (left, top).
std::unique_ptr<TBitmap> TextMask(const TCanvas& canvas, const std::string& text, std::int32_t left, std::int32_t top,
    std::int32_t width, std::int32_t height)
{
    auto mask = std::make_unique<TBitmap>();
    mask->SetMonochrome(true);
    mask->SetSize(width, height);
    TCanvas& c = mask->Canvas();
    c.SetFont(canvas.Font());
    c.Font().SetColor(clBlack);
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, width, height));
    c.TextOut(-left, -top, text);
    return mask;
}

// The size of a text measured in the mask's own font (a copy of the canvas font).
TSize ExtentInOwnFont(const TCanvas& canvas, const std::string& text)
{
    TBitmap probe;
    probe.Canvas().SetFont(canvas.Font());
    return probe.Canvas().TextExtent(text);
}

// A copy of the canvas area.
std::unique_ptr<TBitmap> CopyOfArea(TCanvas& canvas, const TRect& area)
{
    auto work = std::make_unique<TBitmap>(area.Width(), area.Height());
    work->Canvas().CopyRect(Rect(0, 0, area.Width(), area.Height()), canvas, area);
    return work;
}

// ((background XOR picture) AND mask) XOR picture, on the work bitmap, which
// holds the part of the text's area whose corner is `corner` away from the
// text's; the picture is drawn unscaled or stretched to the text's size.
void PaintThroughMask(TBitmap& work, TBitmap& mask, const TBitmap& picture, TPoint corner, TSize text, bool stretched)
{
    TCanvas& c = work.Canvas();
    const TRect whole = Rect(0, 0, mask.Width(), mask.Height());
    auto drawPicture = [&] {
        c.SetCopyMode(cmSrcInvert);
        if (stretched)
            c.StretchDraw(Bounds(corner.X, corner.Y, text.cx, text.cy), picture);
        else
            c.Draw(corner.X, corner.Y, picture);
    };
    drawPicture();
    c.SetCopyMode(cmSrcAnd);
    if (stretched)
        c.Draw(0, 0, mask);
    else
        c.CopyRect(whole, mask.Canvas(), whole);
    drawPicture();
}

void PaintOnTextWith(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, const TBitmap& picture,
    bool stretched)
{
    // Only the visible part of the text's area is worked on, so a text far off
    // the canvas, or wider than a bitmap may be, costs what shows.
    const TSize size = ExtentInOwnFont(canvas, text);
    const TRect area = detail::VisibleArea(canvas, x, y, size.cx, size.cy);
    if (area.IsEmpty())
        return;
    const TPoint corner { static_cast<std::int32_t>(std::int64_t { x } - area.Left),
        static_cast<std::int32_t>(std::int64_t { y } - area.Top) };
    auto mask = TextMask(canvas, text, -corner.X, -corner.Y, area.Width(), area.Height());
    auto work = CopyOfArea(canvas, area);
    PaintThroughMask(*work, *mask, picture, corner, size, stretched);
    canvas.Draw(area.Left, area.Top, *work);
}

// TextOut at a position computed in 64 bits. A pass placed beyond the
// coordinate range is left out: the canvas shows nothing that far.
void TextOutAt(TCanvas& canvas, std::int64_t x, std::int64_t y, const std::string& text)
{
    if (x != detail::SaturatedCoordinate(x) || y != detail::SaturatedCoordinate(y))
        return;
    canvas.TextOut(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), text);
}

} // namespace

void DrawTextOutline(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor outlineColor)
{
    canvas.Font().SetColor(outlineColor);
    canvas.Brush().SetStyle(bsClear);
    for (TPoint d : kOutlineOffsets)
        TextOutAt(canvas, std::int64_t { x } + d.X, std::int64_t { y } + d.Y, text);
}

void DrawOutlinedText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor outlineColor)
{
    const TColor fontColor = canvas.Font().Color();
    DrawTextOutline(canvas, x, y, text, outlineColor);
    canvas.Font().SetColor(fontColor);
    canvas.TextOut(x, y, text);
}

void Draw3DText(TCanvas& canvas, const std::string& text, std::int32_t x, std::int32_t y, TColor upLeftColor,
    TColor downRightColor)
{
    const TColor fontColor = canvas.Font().Color();
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(downRightColor);
    TextOutAt(canvas, std::int64_t { x } + 1, std::int64_t { y } + 1, text);
    canvas.Font().SetColor(upLeftColor);
    TextOutAt(canvas, std::int64_t { x } - 1, std::int64_t { y } - 1, text);
    canvas.Font().SetColor(fontColor);
    canvas.TextOut(x, y, text);
}

void DrawShadowTextExt(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor shadowColor,
    std::int32_t xOffset, std::int32_t yOffset)
{
    const TColor fontColor = canvas.Font().Color();
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(shadowColor);
    TextOutAt(canvas, std::int64_t { x } + xOffset, std::int64_t { y } + yOffset, text);
    canvas.Font().SetColor(fontColor);
    canvas.TextOut(x, y, text);
}

void DrawShadowText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text)
{
    DrawShadowTextExt(canvas, x, y, text, 0x808080, 2, 2);
}

void TextSmooth(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text)
{
    const TSize size = canvas.TextExtent(text);
    // The work area is two pixels larger than the text; only its visible part
    // is worked on. The mask is rendered for that part and the column and row
    // before it, whose glyph pixels soften their right and lower neighbours.
    const TRect area = detail::VisibleArea(canvas, x, y, std::int64_t { size.cx } + 2, std::int64_t { size.cy } + 2);
    if (area.IsEmpty())
        return;
    const std::int64_t areaLeft = area.Left - std::int64_t { x }, areaTop = area.Top - std::int64_t { y };
    const auto maskLeft = static_cast<std::int32_t>(std::max<std::int64_t>(areaLeft - 1, 0));
    const auto maskTop = static_cast<std::int32_t>(std::max<std::int64_t>(areaTop - 1, 0));
    const auto maskRight = static_cast<std::int32_t>(std::min<std::int64_t>(areaLeft + area.Width(), size.cx));
    const auto maskBottom = static_cast<std::int32_t>(std::min<std::int64_t>(areaTop + area.Height(), size.cy));
    auto work = CopyOfArea(canvas, area);
    if (maskLeft < maskRight && maskTop < maskBottom) {
        auto mask = TextMask(canvas, text, maskLeft, maskTop, maskRight - maskLeft, maskBottom - maskTop);
        TCanvas& m = mask->Canvas();
        TCanvas& w = work->Canvas();
        // Resolved first: a system colour's own bits are no colour to mix with.
        const TColor color = ColorToRGB(canvas.Font().Color());
        // In text coordinates; a mask pixel beyond the rendered part counts as
        // not black, which matters only for work pixels outside the area.
        auto black = [&](std::int32_t i, std::int32_t j) { return m.Pixels(i - maskLeft, j - maskTop) == clBlack; };
        const auto workX = static_cast<std::int32_t>(-areaLeft), workY = static_cast<std::int32_t>(-areaTop);
        auto set = [&](std::int32_t i, std::int32_t j, TColor c) { w.SetPixels(i + workX, j + workY, c); };
        auto soften = [&](std::int32_t i, std::int32_t j) {
            set(i, j, MergeColorExt(color, w.Pixels(i + workX, j + workY), 30));
        };
        for (std::int32_t i = maskLeft; i < maskRight; ++i) {
            for (std::int32_t j = maskTop; j < maskBottom; ++j) {
                if (!black(i, j))
                    continue;
                set(i, j, color);
                if (!black(i + 1, j))
                    soften(i + 1, j);
                if (!black(i, j + 1))
                    soften(i, j + 1);
            }
        }
    }
    canvas.Draw(area.Left, area.Top, *work);
}

void DrawTextAnglo(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, std::int32_t angle)
{
    const TFont& font = canvas.Font();
    const TFontStyles style = font.Style();
    // The cell height; -2^31 has no positive counterpart and takes the largest.
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    const std::int32_t height = font.Height() == kLowest ? std::numeric_limits<std::int32_t>::max() : std::abs(font.Height());
    TGdiObjectHandle rotated(CreateFontA(height, 0, angle, angle, style.Contains(fsBold) ? FW_BOLD : FW_NORMAL,
        style.Contains(fsItalic), style.Contains(fsUnderline), style.Contains(fsStrikeOut), ANSI_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_STROKE_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.Name().substr(0, 31).c_str()));
    const HDC dc = canvas.Handle();
    // Back to the canvas's own font on every path, then the font is released.
    struct Selection {
        HDC dc;
        HGDIOBJ previous;
        ~Selection() { SelectObject(dc, previous); }
    } selection { dc, SelectObject(dc, rotated.Get()) };
    canvas.TextOut(x, y, text);
}

void PaintOnText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, const TBitmap& picture)
{
    PaintOnTextWith(canvas, x, y, text, picture, false);
}

void StretchPaintOnText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, const TBitmap& picture)
{
    PaintOnTextWith(canvas, x, y, text, picture, true);
}

void ReadPixels(const TBitmap& bitmap, const TPixelProc& pixelProc)
{
    if (!pixelProc)
        return;
    // The callback's own copy, and the pixels read through the device context
    // alone: the callback may replace the function it was passed in, or change
    // or free the bitmap (whose pixels then read as clInvalid).
    const TPixelProc callback = pixelProc;
    // The device context is made on first use; making it changes no pixel.
    const HDC dc = const_cast<TBitmap&>(bitmap).Canvas().Handle();
    const std::int32_t width = bitmap.Width(), height = bitmap.Height();
    for (std::int32_t x = 0; x < width; ++x)
        for (std::int32_t y = 0; y < height; ++y)
            callback(GetPixel(dc, x, y));
}

void ReadText(TCanvas& canvas, const std::string& text, const TPixelProc& callback)
{
    const TSize size = canvas.TextExtent(text);
    auto mask = TextMask(canvas, text, 0, 0, size.cx, size.cy);
    ReadPixels(*mask, callback);
}

} // namespace plx
