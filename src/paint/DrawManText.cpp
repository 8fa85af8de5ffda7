// DrawMan, text effects: outlined, relief, shadowed, smoothed, rotated and
// picture-filled text, and reading the pixels of a text or bitmap.
#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace plx {

namespace {

// The four outline passes, in drawing order.
constexpr TPoint kOutlineOffsets[] = { { 1, 1 }, { -1, 1 }, { -1, -1 }, { 1, -1 } };

// A monochrome bitmap of width x height, white except the glyph pixels of the
// text drawn at (0, 0) in a black copy of the canvas font.
std::unique_ptr<TBitmap> TextMask(const TCanvas& canvas, const std::string& text, std::int32_t width, std::int32_t height)
{
    auto mask = std::make_unique<TBitmap>();
    mask->SetMonochrome(true);
    mask->SetSize(width, height);
    TCanvas& c = mask->Canvas();
    c.SetFont(canvas.Font());
    c.Font().SetColor(clBlack);
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, width, height));
    c.TextOut(0, 0, text);
    return mask;
}

// The mask of a text measured in the mask's own font (a copy of the canvas font).
std::unique_ptr<TBitmap> TextMaskInOwnFont(const TCanvas& canvas, const std::string& text)
{
    TBitmap probe;
    probe.Canvas().SetFont(canvas.Font());
    TSize size = probe.Canvas().TextExtent(text);
    return TextMask(canvas, text, size.cx, size.cy);
}

// A copy of the canvas area of the given size whose top-left corner is (x, y).
std::unique_ptr<TBitmap> CopyOfArea(TCanvas& canvas, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    auto work = std::make_unique<TBitmap>(width, height);
    work->Canvas().CopyRect(Rect(0, 0, width, height), canvas, Rect(x, y, x + width, y + height));
    return work;
}

// ((background XOR picture) AND mask) XOR picture, on the work bitmap; the
// picture is drawn unscaled or stretched to the mask.
void PaintThroughMask(TBitmap& work, TBitmap& mask, const TBitmap& picture, bool stretched)
{
    TCanvas& c = work.Canvas();
    const TRect whole = Rect(0, 0, mask.Width(), mask.Height());
    auto drawPicture = [&] {
        c.SetCopyMode(cmSrcInvert);
        if (stretched)
            c.StretchDraw(whole, picture);
        else
            c.Draw(0, 0, picture);
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
    auto mask = TextMaskInOwnFont(canvas, text);
    auto work = CopyOfArea(canvas, x, y, mask->Width(), mask->Height());
    PaintThroughMask(*work, *mask, picture, stretched);
    canvas.Draw(x, y, *work);
}

} // namespace

void DrawTextOutline(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor outlineColor)
{
    canvas.Font().SetColor(outlineColor);
    canvas.Brush().SetStyle(bsClear);
    for (TPoint d : kOutlineOffsets)
        canvas.TextOut(x + d.X, y + d.Y, text);
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
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font().SetColor(upLeftColor);
    canvas.TextOut(x - 1, y - 1, text);
    canvas.Font().SetColor(fontColor);
    canvas.TextOut(x, y, text);
}

void DrawShadowTextExt(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor shadowColor,
    std::int32_t xOffset, std::int32_t yOffset)
{
    const TColor fontColor = canvas.Font().Color();
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(shadowColor);
    canvas.TextOut(x + xOffset, y + yOffset, text);
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
    auto mask = TextMask(canvas, text, size.cx, size.cy);
    auto work = CopyOfArea(canvas, x, y, size.cx + 2, size.cy + 2);
    TCanvas& m = mask->Canvas();
    TCanvas& w = work->Canvas();
    // Resolved first: a system colour's own bits are no colour to mix with.
    const TColor color = ColorToRGB(canvas.Font().Color());
    auto black = [&m](std::int32_t i, std::int32_t j) { return m.Pixels(i, j) == clBlack; };
    auto soften = [&w, color](std::int32_t i, std::int32_t j) { w.SetPixels(i, j, MergeColorExt(color, w.Pixels(i, j), 30)); };
    for (std::int32_t i = 0; i < size.cx; ++i) {
        for (std::int32_t j = 0; j < size.cy; ++j) {
            if (!black(i, j))
                continue;
            w.SetPixels(i, j, color);
            if (!black(i + 1, j))
                soften(i + 1, j);
            if (!black(i, j + 1))
                soften(i, j + 1);
        }
    }
    canvas.Draw(x, y, *work);
}

void DrawTextAnglo(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, std::int32_t angle)
{
    const TFont& font = canvas.Font();
    const TFontStyles style = font.Style();
    TGdiObjectHandle rotated(CreateFontA(std::abs(font.Height()), 0, angle, angle, style.Contains(fsBold) ? FW_BOLD : FW_NORMAL,
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

void ReadPixels(const TBitmap& bitmap, const TPixelProc& callback)
{
    if (!callback)
        return;
    const TCanvas& canvas = bitmap.Canvas();
    const std::int32_t width = bitmap.Width(), height = bitmap.Height();
    for (std::int32_t x = 0; x < width; ++x)
        for (std::int32_t y = 0; y < height; ++y)
            callback(canvas.Pixels(x, y));
}

void ReadText(TCanvas& canvas, const std::string& text, const TPixelProc& callback)
{
    const TSize size = canvas.TextExtent(text);
    auto mask = TextMask(canvas, text, size.cx, size.cy);
    ReadPixels(*mask, callback);
}

} // namespace plx
