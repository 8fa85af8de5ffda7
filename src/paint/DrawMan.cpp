#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/WinControl.h"
#include "rtl/System.h"

#include <algorithm>
#include <vector>

namespace plx {

namespace {

constexpr std::int32_t kBlockSide = 48;

// The remainder with the sign of the divisor (divisor > 0), so tiling stays
// aligned to the origin on both sides of it.
std::int64_t FloorMod(std::int64_t value, std::int64_t divisor) noexcept
{
    std::int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

// Copies a piece of the bitmap; every tiling routine goes through here.
void CopyPiece(TCanvas& canvas, const TBitmap& bitmap, std::int64_t x, std::int64_t y, std::int64_t sx, std::int64_t sy,
    std::int64_t w, std::int64_t h)
{
    canvas.CopyRect(Bounds(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), static_cast<std::int32_t>(w),
                        static_cast<std::int32_t>(h)),
        bitmap.Canvas(),
        Bounds(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy), static_cast<std::int32_t>(w),
            static_cast<std::int32_t>(h)));
}

// A memory device context with a bitmap selected, released on every exit.
class TSelectedBitmapDC {
public:
    explicit TSelectedBitmapDC(HBITMAP bitmap)
        : m_dc(CreateCompatibleDC(0))
        , m_previous(SelectObject(m_dc, bitmap))
    {
    }
    ~TSelectedBitmapDC()
    {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
    }
    TSelectedBitmapDC(const TSelectedBitmapDC&) = delete;
    TSelectedBitmapDC& operator=(const TSelectedBitmapDC&) = delete;

    [[nodiscard]] HDC Handle() const noexcept { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The softened edge of SmoothBlt: background pixels of the work bitmap next to
// an opaque picture pixel move 80 % towards that pixel's colour.
void SoftenEdges(TBitmap& work, const TBitmap& bitmap, TColor transparentColor)
{
    const std::int32_t w = bitmap.Width(), h = bitmap.Height();
    std::vector<TColor> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::int32_t j = 0; j < h; ++j)
        for (std::int32_t i = 0; i < w; ++i)
            pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(w) + static_cast<std::size_t>(i)]
                = bitmap.Image().GetColor(i, j);
    // A neighbour outside the bitmap is never transparent.
    auto isTransparent = [&](std::int32_t i, std::int32_t j) {
        return i >= 0 && j >= 0 && i < w && j < h
            && pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(w) + static_cast<std::size_t>(i)]
            == transparentColor;
    };
    TCanvas& wc = work.Canvas();
    static constexpr TPoint kNeighbours[] = { { -1, 0 }, { 0, -1 }, { 1, 0 }, { 0, 1 } };
    for (std::int32_t i = 0; i < w; ++i)
        for (std::int32_t j = 0; j < h; ++j) {
            TColor c = pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(w) + static_cast<std::size_t>(i)];
            if (c == transparentColor)
                continue;
            for (TPoint d : kNeighbours) {
                std::int32_t n = i + d.X, m = j + d.Y;
                if (!isTransparent(n, m))
                    continue;
                wc.SetPixels(n + 1, m + 1, MergeColorExt(wc.Pixels(n + 1, m + 1), c, 20));
            }
        }
}

// Background XOR picture, AND mask, XOR picture on a copy of the canvas area at
// (x, y) of the work bitmap's size, drawn back.
template <class DrawPicture>
void PaintThroughMask(TCanvas& canvas, std::int32_t x, std::int32_t y, TBitmap& work, const TBitmap& mask, DrawPicture drawPicture)
{
    const TRect all = Rect(0, 0, work.Width(), work.Height());
    TCanvas& wc = work.Canvas();
    wc.CopyRect(all, canvas, Bounds(x, y, all.Right, all.Bottom));
    wc.SetCopyMode(cmSrcInvert);
    drawPicture(wc);
    wc.SetCopyMode(cmSrcAnd);
    wc.Draw(0, 0, mask);
    wc.SetCopyMode(cmSrcInvert);
    drawPicture(wc);
    canvas.Draw(x, y, work);
}

} // namespace

TColor TransColor(const TBitmap& bitmap) noexcept
{
    if (bitmap.Empty())
        return clInvalid;
    return bitmap.Image().GetColor(0, 0);
}

bool BmpIsNil(const TBitmap* bitmap) noexcept
{
    return !bitmap || bitmap->Width() == 0 || bitmap->Height() == 0;
}

void SetSize(TBitmap& bitmap, std::int32_t width, std::int32_t height)
{
    bitmap.SetWidth(width);
    bitmap.SetHeight(height);
}

void TransparentBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y, TColor transparentColor)
{
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(transparentColor);
    canvas.Draw(x, y, bitmap);
}

void TransBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y)
{
    TransparentBlt(canvas, bitmap, x, y, bitmap.TransparentColor());
}

void SmoothBlt(TCanvas& canvas, std::int32_t x, std::int32_t y, TBitmap& bitmap, TColor transparentColor)
{
    if (BmpIsNil(&bitmap))
        return;
    if (transparentColor < 0)
        transparentColor = TransColor(bitmap);
    // The work area reaches one pixel beyond the picture on every side. Where it
    // lies outside the canvas it has no source; those pixels are clipped again
    // when the work bitmap is drawn back, so the canvas keeps them unchanged.
    TBitmap work(bitmap.Width() + 2, bitmap.Height() + 2);
    work.Canvas().CopyRect(Rect(0, 0, work.Width(), work.Height()), canvas, Bounds(x - 1, y - 1, work.Width(), work.Height()));
    TransparentBlt(work.Canvas(), bitmap, 1, 1, transparentColor);
    SoftenEdges(work, bitmap, transparentColor);
    canvas.Draw(x - 1, y - 1, work);
}

HBITMAP CreateMask(TBitmap& bitmap, TColor transparentColor)
{
    if (!bitmap.Handle())
        return 0;
    TGdiObjectHandle mask(CreateBitmap(bitmap.Width(), bitmap.Height(), 1, 1, nullptr));
    {
        TSelectedBitmapDC maskDC(mask.Get());
        HDC source = bitmap.Canvas().Handle();
        TColor oldBk = SetBkColor(source, ColorToRGB(transparentColor));
        BitBlt(maskDC.Handle(), 0, 0, bitmap.Width(), bitmap.Height(), source, 0, 0, SRCCOPY);
        SetBkColor(source, oldBk);
    }
    return mask.Release();
}

void PaintOnMask(TCanvas& canvas, std::int32_t x, std::int32_t y, const TBitmap& mask, const TBitmap& picture)
{
    TBitmap work(picture.Width(), picture.Height());
    PaintThroughMask(canvas, x, y, work, mask, [&](TCanvas& wc) { wc.Draw(0, 0, picture); });
}

void StretchPaintOnMask(TCanvas& canvas, std::int32_t x, std::int32_t y, const TBitmap& mask, const TBitmap& picture)
{
    TBitmap work(mask.Width(), mask.Height());
    const TRect all = Rect(0, 0, mask.Width(), mask.Height());
    PaintThroughMask(canvas, x, y, work, mask, [&](TCanvas& wc) { wc.StretchDraw(all, picture); });
}

void MultiPaint(TCanvas& canvas, const TBitmap& bitmap, const TRect& rect)
{
    const std::int64_t bw = bitmap.Width(), bh = bitmap.Height();
    if (bw == 0 || bh == 0)
        return;
    // Only the tiles that meet the visible part are copied; they are the same
    // tiles, at the same places, as when tiling the whole rectangle.
    const TRect visible = Intersect(rect, canvas.ClipRect());
    if (visible.IsEmpty())
        return;
    const std::int64_t left = rect.Left + (static_cast<std::int64_t>(visible.Left) - rect.Left) / bw * bw;
    std::int64_t y = rect.Top + (static_cast<std::int64_t>(visible.Top) - rect.Top) / bh * bh;
    while (y < visible.Bottom) {
        const std::int64_t h = std::min<std::int64_t>(rect.Bottom - y, bh);
        for (std::int64_t x = left; x < visible.Right;) {
            const std::int64_t w = std::min<std::int64_t>(rect.Right - x, bw);
            CopyPiece(canvas, bitmap, x, y, 0, 0, w, h);
            x += w;
        }
        y += h;
    }
}

void MultiClipPaint(TCanvas& canvas, const TBitmap& bitmap, const TRect& /*areaRect*/, const TRect& rect)
{
    const std::int64_t bw = bitmap.Width(), bh = bitmap.Height();
    if (bw == 0 || bh == 0)
        return;
    const TRect visible = Intersect(rect, canvas.ClipRect());
    if (visible.IsEmpty())
        return;
    for (std::int64_t y = visible.Top; y < visible.Bottom;) {
        const std::int64_t sy = FloorMod(y, bh);
        const std::int64_t h = std::min<std::int64_t>(rect.Bottom - y, bh - sy);
        for (std::int64_t x = visible.Left; x < visible.Right;) {
            const std::int64_t sx = FloorMod(x, bw);
            const std::int64_t w = std::min<std::int64_t>(rect.Right - x, bw - sx);
            CopyPiece(canvas, bitmap, x, y, sx, sy, w, h);
            x += w;
        }
        y += h;
    }
}

void BytesPaint(TCanvas& canvas, const TRect& rect, const TBitmap& bitmap)
{
    const std::int64_t bw = bitmap.Width(), bh = bitmap.Height();
    if (bw == 0 || bh == 0)
        return;
    const std::int64_t width = static_cast<std::int64_t>(rect.Right) - rect.Left;
    const std::int64_t height = static_cast<std::int64_t>(rect.Bottom) - rect.Top;
    // Blocks beyond the bitmap's own size would have no source: they are left
    // out, and so are the parts of the last blocks that reach past it.
    const std::int64_t copyWidth = std::min(width, bw), copyHeight = std::min(height, bh);
    for (std::int64_t dy = 0; dy < copyHeight;) {
        const std::int64_t h = std::min({ std::int64_t { kBlockSide }, bh, height - dy });
        for (std::int64_t dx = 0; dx < copyWidth;) {
            const std::int64_t w = std::min({ std::int64_t { kBlockSide }, bw, width - dx });
            CopyPiece(canvas, bitmap, rect.Left + dx, rect.Top + dy, dx, dy, std::min(w, bw - dx), std::min(h, bh - dy));
            dx += w;
        }
        dy += h;
    }
}

TRect MergeRect(std::span<const TRect> rects) noexcept
{
    if (rects.empty())
        return {};
    TRect r = rects.front();
    for (const TRect& next : rects.subspan(1)) {
        r.Left = std::min(r.Left, next.Left);
        r.Top = std::min(r.Top, next.Top);
        r.Right = std::max(r.Right, next.Right);
        r.Bottom = std::max(r.Bottom, next.Bottom);
    }
    return r;
}

TRect MergeRect(std::initializer_list<TRect> rects) noexcept
{
    return MergeRect(std::span<const TRect>(rects.begin(), rects.size()));
}

void Draw3D(TCanvas& canvas, const TRect& rect, TColor color, std::int32_t style, std::int32_t width)
{
    const TColor light = BrightenColor(color, 40);
    const TColor dark = DarkenColor(color, 64);
    TRect r = rect;
    switch (style) {
    case 1:
        Frame3D(canvas, r, light, dark, width);
        break;
    case 2:
        Frame3D(canvas, r, dark, light, width);
        break;
    case 3:
        canvas.Brush().SetStyle(bsClear);
        canvas.Pen().SetWidth(width);
        canvas.Pen().SetColor(light);
        canvas.Rectangle(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
        canvas.Pen().SetColor(dark);
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        break;
    default:
        break;
    }
}

namespace {

// The upper-left half (first colour) and the lower-right half (second colour) of
// an ellipse outline, split at the points one fifth in from its corners.
void ShadedOutline(TCanvas& canvas, const TRect& box, TColor upperLeft, TColor lowerRight)
{
    const std::int32_t w = box.Width(), h = box.Height();
    const TPoint a { box.Left + 4 * (w / 5), box.Top + h / 5 };
    const TPoint b { box.Left + w / 5, box.Top + 4 * (h / 5) };
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(upperLeft);
    canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, a.X, a.Y, b.X, b.Y);
    canvas.Pen().SetColor(lowerRight);
    canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, b.X, b.Y, a.X, a.Y);
}

} // namespace

void RoundButton(TCanvas& canvas, const TRect& rect, TColor faceColor, TColor borderColor, std::int32_t borderWidth)
{
    const std::int32_t bw = borderWidth;
    const TRect r = rect;
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(bw);
    canvas.Pen().SetColor(borderColor);
    canvas.Ellipse(r.Left + bw / 2, r.Top + bw / 2, r.Right - bw / 2, r.Bottom - bw / 2);
    ShadedOutline(canvas, r, DarkenColor(borderColor, 32), DarkenColor(borderColor, 64));

    // The rim: equal rings, each one pixel further up and left, lightening from
    // amount 80 to 0. A border of 3 would divide by zero; it takes 1 instead.
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(faceColor);
    const double divisor = bw == 3 ? 1.0 : static_cast<double>(bw - 3);
    for (std::int32_t i = 0; i <= bw - 2; ++i) {
        const auto amount = static_cast<std::int32_t>(Round(80.0 - 80.0 * i / divisor));
        canvas.Pen().SetColor(DarkenColor(faceColor, amount));
        canvas.Pen().SetWidth(2);
        canvas.Brush().SetColor(faceColor);
        canvas.Ellipse(r.Left + bw - i, r.Top + bw - i, r.Right - bw - i, r.Bottom - bw - i);
    }

    // The highlight follows the last ring's rectangle moved one pixel further up
    // and left; it is drawn even when there is no ring.
    const TRect face = Rect(r.Left + 1, r.Top + 1, r.Right - 2 * bw + 1, r.Bottom - 2 * bw + 1);
    ShadedOutline(canvas, face, DarkenColor(faceColor, 16), DarkenColor(faceColor, 32));
}

TRect GetCtrlRect(const TControl& control)
{
    TRect r = control.ClientRect();
    for (const TControl* c = &control; c->Parent() && c->Parent()->Parent(); c = c->Parent())
        OffsetRect(r, c->Parent()->Left(), c->Parent()->Top());
    return r;
}

TPoint GetCtrlPoint(const TControl& control)
{
    TPoint p { control.Left(), control.Top() };
    for (const TControl* c = control.Parent(); c; c = c->Parent()) {
        p.X += c->Left();
        p.Y += c->Top();
    }
    return p;
}

} // namespace plx
