#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/WinControl.h"
#include "paint/detail/VisibleArea.h"
#include "rtl/System.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

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
// an opaque picture pixel move 80 % towards that pixel's colour. The picture's
// pixel (i, j) lies at (i + at.X, j + at.Y) in the work bitmap, which may hold
// only part of the picture's surroundings: only the pixels whose neighbours
// fall inside it are visited, in the same order as over the whole picture.
void SoftenEdges(TBitmap& work, const TBitmap& bitmap, TColor transparentColor, TPoint at)
{
    const Raster& picture = bitmap.Image();
    const std::int32_t w = bitmap.Width(), h = bitmap.Height();
    // A neighbour outside the bitmap is never transparent.
    auto isTransparent = [&](std::int32_t i, std::int32_t j) {
        return i >= 0 && j >= 0 && i < w && j < h && picture.GetColor(i, j) == transparentColor;
    };
    const std::int32_t firstColumn = std::max(0, -at.X - 1), lastColumn = std::min(w, work.Width() - at.X + 1);
    const std::int32_t firstRow = std::max(0, -at.Y - 1), lastRow = std::min(h, work.Height() - at.Y + 1);
    TCanvas& wc = work.Canvas();
    static constexpr TPoint kNeighbours[] = { { -1, 0 }, { 0, -1 }, { 1, 0 }, { 0, 1 } };
    for (std::int32_t i = firstColumn; i < lastColumn; ++i)
        for (std::int32_t j = firstRow; j < lastRow; ++j) {
            const TColor c = picture.GetColor(i, j);
            if (c == transparentColor)
                continue;
            for (TPoint d : kNeighbours) {
                const std::int32_t n = i + d.X, m = j + d.Y;
                if (!isTransparent(n, m))
                    continue;
                const TPoint p { n + at.X, m + at.Y };
                wc.SetPixels(p.X, p.Y, MergeColorExt(wc.Pixels(p.X, p.Y), c, 20));
            }
        }
}

// Background XOR picture, AND mask, XOR picture on a copy of the canvas area of
// width x height at (x, y), drawn back. Only the visible part is copied; the
// picture and the mask are drawn at the area's corner in it.
template <class DrawPicture>
void PaintThroughMask(TCanvas& canvas, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
    const TBitmap& mask, DrawPicture drawPicture)
{
    const TRect area = detail::VisibleArea(canvas, x, y, width, height);
    if (area.IsEmpty())
        return;
    const TPoint corner { static_cast<std::int32_t>(std::int64_t { x } - area.Left),
        static_cast<std::int32_t>(std::int64_t { y } - area.Top) };
    TBitmap work(area.Width(), area.Height());
    TCanvas& wc = work.Canvas();
    wc.CopyRect(Rect(0, 0, area.Width(), area.Height()), canvas, area);
    wc.SetCopyMode(cmSrcInvert);
    drawPicture(wc, corner);
    wc.SetCopyMode(cmSrcAnd);
    wc.Draw(corner.X, corner.Y, mask);
    wc.SetCopyMode(cmSrcInvert);
    drawPicture(wc, corner);
    canvas.Draw(area.Left, area.Top, work);
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
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(transparentColor);
    // The work area reaches one pixel beyond the picture on every side. Only its
    // visible part is copied and worked on: the rest would be clipped when drawn
    // back. So the work bitmap is never larger than the canvas, whatever the
    // picture's size or position.
    const TRect area = detail::VisibleArea(canvas, std::int64_t { x } - 1, std::int64_t { y } - 1,
        std::int64_t { bitmap.Width() } + 2, std::int64_t { bitmap.Height() } + 2);
    if (area.IsEmpty())
        return;
    const TPoint at { static_cast<std::int32_t>(std::int64_t { x } - area.Left),
        static_cast<std::int32_t>(std::int64_t { y } - area.Top) };
    TBitmap work(area.Width(), area.Height());
    work.Canvas().CopyRect(Rect(0, 0, work.Width(), work.Height()), canvas, area);
    TransparentBlt(work.Canvas(), bitmap, at.X, at.Y, transparentColor);
    SoftenEdges(work, bitmap, transparentColor, at);
    canvas.Draw(area.Left, area.Top, work);
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
    PaintThroughMask(canvas, x, y, picture.Width(), picture.Height(), mask,
        [&](TCanvas& wc, TPoint corner) { wc.Draw(corner.X, corner.Y, picture); });
}

void StretchPaintOnMask(TCanvas& canvas, std::int32_t x, std::int32_t y, const TBitmap& mask, const TBitmap& picture)
{
    PaintThroughMask(canvas, x, y, mask.Width(), mask.Height(), mask, [&](TCanvas& wc, TPoint corner) {
        wc.StretchDraw(Bounds(corner.X, corner.Y, mask.Width(), mask.Height()), picture);
    });
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
        // At the edge of the coordinate range the light outline stops there.
        canvas.Rectangle(detail::SaturatedCoordinate(std::int64_t { r.Left } + 1),
            detail::SaturatedCoordinate(std::int64_t { r.Top } + 1), detail::SaturatedCoordinate(std::int64_t { r.Right } + 1),
            detail::SaturatedCoordinate(std::int64_t { r.Bottom } + 1));
        canvas.Pen().SetColor(dark);
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        break;
    default:
        break;
    }
}

namespace {

// A box in 64-bit coordinates, its corners in any order, as the round button's
// arithmetic gives them; the canvas gets them saturated to 32 bits.
struct TBox64 {
    std::int64_t Left { 0 }, Top { 0 }, Right { 0 }, Bottom { 0 };
};

// The upper-left half (first colour) and the lower-right half (second colour) of
// an ellipse outline, split at the points one fifth in from its corners.
void ShadedOutline(TCanvas& canvas, const TBox64& box, TColor upperLeft, TColor lowerRight)
{
    using detail::SaturatedCoordinate;
    const std::int64_t w = box.Right - box.Left, h = box.Bottom - box.Top;
    const std::int32_t l = SaturatedCoordinate(box.Left), t = SaturatedCoordinate(box.Top);
    const std::int32_t r = SaturatedCoordinate(box.Right), b = SaturatedCoordinate(box.Bottom);
    const TPoint first { SaturatedCoordinate(box.Left + 4 * (w / 5)), SaturatedCoordinate(box.Top + h / 5) };
    const TPoint second { SaturatedCoordinate(box.Left + w / 5), SaturatedCoordinate(box.Top + 4 * (h / 5)) };
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(upperLeft);
    canvas.Arc(l, t, r, b, first.X, first.Y, second.X, second.Y);
    canvas.Pen().SetColor(lowerRight);
    canvas.Arc(l, t, r, b, second.X, second.Y, first.X, first.Y);
}

struct TInterval {
    long double Low { 1 }, High { 0 };

    [[nodiscard]] bool Empty() const noexcept { return Low > High; }
};

// The rings of the round button are one ellipse moved by (-i, -i) for ring i.
// With the ellipse's centre (u, v) in pixel coordinates and its semi-axes a and
// b (as the canvas rasterises a box), these give the rings i for which a point
// lies inside, and for which the ellipse reaches into a rectangle.
struct TRingGeometry {
    long double u { 0 }, v { 0 }, a { 0 }, b { 0 };

    // Solves ((x - u + i) / a')^2 + ((y - v + i) / b')^2 <= 1 for i.
    [[nodiscard]] TInterval Containing(long double x, long double y, long double margin) const noexcept
    {
        const long double a2 = (a + margin) * (a + margin), b2 = (b + margin) * (b + margin);
        if (a + margin <= 0 || b + margin <= 0)
            return {};
        const long double p = x - u, q = y - v;
        const long double alpha = 1 / a2 + 1 / b2;
        const long double beta = 2 * (p / a2 + q / b2);
        const long double gamma = p * p / a2 + q * q / b2 - 1;
        const long double disc = beta * beta - 4 * alpha * gamma;
        if (disc < 0)
            return {};
        const long double root = std::sqrt(disc);
        return { (-beta - root) / (2 * alpha), (-beta + root) / (2 * alpha) };
    }

    // The rings whose ellipse, grown by margin, meets the pixels [l, r] x [t, b]:
    // those whose centre lies in the rectangle grown by the ellipse, which is
    // convex, so the parts found below join into one interval.
    [[nodiscard]] TInterval Meeting(long double l, long double t, long double r, long double bottom, long double margin) const noexcept
    {
        TInterval all;
        auto join = [&all](TInterval part) {
            if (part.Empty())
                return;
            if (all.Empty()) {
                all = part;
            } else {
                all.Low = std::min(all.Low, part.Low);
                all.High = std::max(all.High, part.High);
            }
        };
        // Centres (u - i, v - i) within the rectangle grown sideways or upwards.
        auto slab = [&](long double xl, long double xh, long double yl, long double yh) {
            join({ std::max(u - xh, v - yh), std::min(u - xl, v - yl) });
        };
        slab(l - a - margin, r + a + margin, t, bottom);
        slab(l, r, t - b - margin, bottom + b + margin);
        for (long double x : { l, r })
            for (long double y : { t, bottom })
                join(Containing(x, y, margin));
        return all;
    }
};

// Only the rings that reach into the clip can show, and later rings paint over
// earlier ones, so only those from the last one that covers the whole clip on.
// This bounds the work by what is visible when the border is far wider than the
// button (up to 2^31 rings). The margins of two pixels make both tests safe
// against the rasteriser's rounding and the pen's width of two.
std::pair<std::int64_t, std::int64_t> VisibleRings(const TRect& clip, const TBox64& ring, std::int64_t count, TPenMode mode)
{
    constexpr long double kMargin = 2;
    // Even where every ring meets the clip and none covers it, drawing this many
    // is enough for any button whose rings fit on a canvas.
    constexpr std::int64_t kMaxRings = 1 << 17;
    if (count <= 0 || clip.IsEmpty())
        return { 0, -1 };
    const long double x1 = std::min(ring.Left, ring.Right), x2 = std::max(ring.Left, ring.Right);
    const long double y1 = std::min(ring.Top, ring.Bottom), y2 = std::max(ring.Top, ring.Bottom);
    const TRingGeometry g { (x1 + x2 - 1) / 2, (y1 + y2 - 1) / 2, (x2 - x1) / 2, (y2 - y1) / 2 };
    const long double l = clip.Left, t = clip.Top, r = clip.Right - 1, b = clip.Bottom - 1;
    const TInterval meeting = g.Meeting(l, t, r, b, kMargin);
    if (meeting.Empty())
        return { 0, -1 };
    auto clampRing = [count](long double i) {
        return static_cast<std::int64_t>(std::clamp<long double>(i, -1, static_cast<long double>(count)));
    };
    std::int64_t first = std::max<std::int64_t>(0, clampRing(std::ceil(meeting.Low)));
    const std::int64_t last = std::min(count - 1, clampRing(std::floor(meeting.High)));
    TInterval covering { -std::numeric_limits<long double>::infinity(), std::numeric_limits<long double>::infinity() };
    for (long double x : { l, r })
        for (long double y : { t, b }) {
            const TInterval corner = g.Containing(x, y, -kMargin);
            covering.Low = std::max(covering.Low, corner.Low);
            covering.High = std::min(covering.High, corner.High);
        }
    // A ring hides the ones before it only where it paints without reading what
    // is there.
    const bool overwrites = mode == pmCopy || mode == pmNotCopy || mode == pmBlack || mode == pmWhite;
    if (overwrites && !covering.Empty()) {
        const std::int64_t lastCovering = std::min(last, clampRing(std::floor(covering.High)));
        if (lastCovering >= std::max(first, clampRing(std::ceil(covering.Low))))
            first = lastCovering;
    }
    return { first, std::min(last, first + kMaxRings - 1) };
}

} // namespace

void RoundButton(TCanvas& canvas, const TRect& rect, TColor faceColor, TColor borderColor, std::int32_t borderWidth)
{
    using detail::SaturatedCoordinate;
    // In 64 bits: a border width may be anything, and the boxes it gives reach
    // beyond the coordinate range.
    const std::int64_t bw = borderWidth;
    const std::int64_t l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(borderWidth);
    canvas.Pen().SetColor(borderColor);
    canvas.Ellipse(SaturatedCoordinate(l + bw / 2), SaturatedCoordinate(t + bw / 2), SaturatedCoordinate(r - bw / 2),
        SaturatedCoordinate(b - bw / 2));
    ShadedOutline(canvas, { l, t, r, b }, DarkenColor(borderColor, 32), DarkenColor(borderColor, 64));

    // The rim: equal rings, each one pixel further up and left, lightening from
    // amount 80 to 0. A border of 3 would divide by zero; it takes 1 instead.
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(faceColor);
    const double divisor = bw == 3 ? 1.0 : static_cast<double>(bw - 3);
    const auto [first, last] = VisibleRings(canvas.ClipRect(), { l + bw, t + bw, r - bw, b - bw }, bw - 1, canvas.Pen().Mode());
    for (std::int64_t i = first; i <= last; ++i) {
        const auto amount = static_cast<std::int32_t>(Round(80.0 - 80.0 * static_cast<double>(i) / divisor));
        canvas.Pen().SetColor(DarkenColor(faceColor, amount));
        canvas.Pen().SetWidth(2);
        canvas.Brush().SetColor(faceColor);
        canvas.Ellipse(SaturatedCoordinate(l + bw - i), SaturatedCoordinate(t + bw - i), SaturatedCoordinate(r - bw - i),
            SaturatedCoordinate(b - bw - i));
    }

    // The highlight follows the last ring's rectangle moved one pixel further up
    // and left; it is drawn even when there is no ring.
    const TBox64 face { l + 1, t + 1, r - 2 * bw + 1, b - 2 * bw + 1 };
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
