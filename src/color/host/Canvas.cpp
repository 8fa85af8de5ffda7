#include "color/host/Canvas.h"

#include "color/host/Bitmap.h"
#include "color/host/Raster.h"
#include "color/host/SysColors.h"
#include "color/host/detail/CanvasAccess.h"
#include "color/host/detail/GdiTable.h"
#include "color/host/detail/LineWalk.h"
#include "color/host/detail/RasterOps.h"
#include "color/host/detail/WideRect.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace plx {

using detail::ClipTo;
using detail::FillPattern;
using detail::LineWalk;
using detail::StepRange;
using detail::WidePoint;
using detail::WideRect;

// Every drawing call works in 64 bits until it has clipped: canvas coordinates
// plus the origin, a box grown by a wide pen or a position plus a size may lie
// beyond the int32 range, and the work of a call is bounded by its visible part.

namespace {

// ---- Pens --------------------------------------------------------------------

// On/off run lengths of the dotted and dashed pen styles (width 1 only).
std::span<const std::int32_t> DashPattern(TPenStyle style) noexcept
{
    static constexpr std::int32_t kDash[] = { 6, 2 };
    static constexpr std::int32_t kDot[] = { 1, 1 };
    static constexpr std::int32_t kDashDot[] = { 6, 2, 1, 2 };
    static constexpr std::int32_t kDashDotDot[] = { 6, 2, 1, 2, 1, 2 };
    switch (style) {
    case psDash:
        return kDash;
    case psDot:
        return kDot;
    case psDashDot:
        return kDashDot;
    case psDashDotDot:
        return kDashDotDot;
    default:
        return {};
    }
}

bool DashOn(std::span<const std::int32_t> pattern, std::int64_t phase) noexcept
{
    std::int64_t period = 0;
    for (auto n : pattern)
        period += n;
    phase %= period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (phase < pattern[i])
            return i % 2 == 0;
        phase -= pattern[i];
    }
    return true;
}

constexpr WidePoint Widen(TPoint p) noexcept
{
    return { p.X, p.Y };
}

constexpr WidePoint Widen(WidePoint p) noexcept
{
    return p;
}

bool BrushFills(const TBrush& brush) noexcept
{
    return brush.Style() != bsClear || brush.Bitmap();
}

// What the canvas draws on: its raster, the raster point of canvas (0, 0), and
// the clip in raster coordinates.
struct Target {
    Raster& raster;
    TPoint origin;
    TRect clip;

    // Paints the canvas span [x0, x1) of canvas row y, clipped.
    void Span(std::int64_t y, std::int64_t x0, std::int64_t x1, const FillPattern& pattern, TPenMode mode) const
    {
        const std::int64_t dy = y + origin.Y;
        if (dy < clip.Top || dy >= clip.Bottom)
            return;
        const std::int64_t a = std::max<std::int64_t>(x0 + origin.X, clip.Left);
        const std::int64_t b = std::min<std::int64_t>(x1 + origin.X, clip.Right);
        if (a < b)
            detail::PaintSpan(raster, static_cast<std::int32_t>(dy), static_cast<std::int32_t>(a), static_cast<std::int32_t>(b),
                pattern, mode);
    }
};

// ---- Shapes ------------------------------------------------------------------

WideRect Normalized(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) noexcept
{
    return { std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2) };
}

// The pixels whose centres lie inside the ellipse of the box, on row y: [x0, x1).
// Computing the left end only and mirroring it keeps the shape symmetric; the
// arithmetic is relative to the box, so a shape draws the same wherever it lies.
bool EllipseSpan(const WideRect& box, std::int64_t y, std::int64_t& x0, std::int64_t& x1) noexcept
{
    if (box.IsEmpty() || y < box.Top || y >= box.Bottom)
        return false;
    const double a = static_cast<double>(box.Width()) / 2.0;
    const double b = static_cast<double>(box.Height()) / 2.0;
    const double u = static_cast<double>(box.Width() - 1) / 2.0;
    const double v = static_cast<double>(box.Height() - 1) / 2.0;
    const double t = (static_cast<double>(y - box.Top) - v) / b;
    const double inside = 1.0 - t * t;
    if (inside < 0)
        return false;
    const double half = a * std::sqrt(inside);
    const auto left = static_cast<std::int64_t>(std::ceil(u - half - 1e-9));
    if (static_cast<double>(left) > u + 1e-9)
        return false;
    x0 = box.Left + left;
    x1 = box.Right - left;
    return true;
}

struct Shape {
    enum Kind { Box, Oval, Round } kind;
    WideRect box;
    std::int64_t cornerWidth { 0 };
    std::int64_t cornerHeight { 0 };
    // Arcs keep the outline pixels between two angles (radians, counter-clockwise).
    bool arc { false };
    double startAngle { 0 };
    double sweep { 0 };

    // The span of the figure of this kind in box b (corners cw x ch) on row y.
    [[nodiscard]] bool Span(const WideRect& b, std::int64_t cw, std::int64_t ch, std::int64_t y, std::int64_t& x0,
        std::int64_t& x1) const noexcept
    {
        if (b.IsEmpty() || y < b.Top || y >= b.Bottom)
            return false;
        switch (kind) {
        case Box:
            break;
        case Oval:
            return EllipseSpan(b, y, x0, x1);
        case Round:
            return RoundSpan(b, cw, ch, y, x0, x1);
        }
        x0 = b.Left;
        x1 = b.Right;
        return true;
    }

    // A rounded rectangle: the rows of the corner ellipse's top half at the top,
    // mirrored at the bottom, and full rows between.
    static bool RoundSpan(const WideRect& b, std::int64_t cw, std::int64_t ch, std::int64_t y, std::int64_t& x0,
        std::int64_t& x1) noexcept
    {
        cw = std::min(cw, b.Width());
        ch = std::min(ch, b.Height());
        x0 = b.Left;
        x1 = b.Right;
        if (cw <= 0 || ch <= 0)
            return true;
        std::int64_t row = y;
        if (2 * (y - b.Top) + 1 < ch)
            row = y;
        else if (2 * (b.Bottom - 1 - y) + 1 < ch)
            row = b.Top + (b.Bottom - 1 - y);
        else
            return true;
        std::int64_t c0 = 0, c1 = 0;
        if (!EllipseSpan({ b.Left, b.Top, b.Left + cw, b.Top + ch }, row, c0, c1))
            return false;
        x0 = c0;
        x1 = b.Left + b.Right - c0;
        return true;
    }
};

// The figures a pen outline lies between: the shape grown by the part of the
// pen outside its one-pixel outline and shrunk by the part inside.
struct PenBands {
    WideRect outer, inner;
    std::int64_t outerCw, outerCh, innerCw, innerCh;
    bool wide; //!< the inner figure limits the hole (wide and inside-frame pens)
};

PenBands BandsOf(const Shape& shape, const TPen& pen, bool penOn) noexcept
{
    PenBands bands { shape.box, shape.box, shape.cornerWidth, shape.cornerHeight, shape.cornerWidth, shape.cornerHeight,
        false };
    if (!penOn)
        return bands;
    // A pen of width w covers, around the one-pixel outline, (w - 1) / 2
    // pixels outwards and w / 2 inwards; an inside-frame pen stays in the box.
    const std::int64_t w = pen.Width();
    const bool insideFrame = pen.Style() == psInsideFrame;
    const std::int64_t out = insideFrame ? 0 : (w - 1) / 2;
    const std::int64_t in = insideFrame ? w : w / 2 + 1;
    bands.outer = shape.box.Inflated(out, out);
    bands.inner = shape.box.Inflated(-in, -in);
    bands.outerCw += 2 * out;
    bands.outerCh += 2 * out;
    bands.innerCw = std::max<std::int64_t>(bands.innerCw - 2 * in, 0);
    bands.innerCh = std::max<std::int64_t>(bands.innerCh - 2 * in, 0);
    bands.wide = w >= 2 || insideFrame;
    return bands;
}

// Paints a shape row by row: the brush inside the outline, the pen on it.
class ShapePainter {
public:
    ShapePainter(const Target& target, const Shape& shape, const TCanvas& canvas, bool penOn, bool brushOn)
        : m_target(target)
        , m_shape(shape)
        , m_bands(BandsOf(shape, canvas.Pen(), penOn))
        , m_penOn(penOn)
        , m_brushOn(brushOn)
        , m_penColor(ColorToRGB(canvas.Pen().Color()))
        , m_pen(detail::SolidPattern(m_penColor))
        , m_brush(detail::BrushPattern(canvas.Brush(), target.origin, canvas.TextColor(), canvas.BkColor()))
        , m_mode(canvas.Pen().Mode())
    {
    }

    // Rows outside the clip paint nothing (and each row's spans are computed on
    // their own), so a shape far larger than the surface costs only its visible rows.
    void Paint()
    {
        const std::int64_t top = std::int64_t { m_target.clip.Top } - m_target.origin.Y;
        const std::int64_t bottom = std::int64_t { m_target.clip.Bottom } - m_target.origin.Y;
        const std::int64_t first = std::max(m_bands.outer.Top, top), end = std::min(m_bands.outer.Bottom, bottom);
        for (std::int64_t y = first; y < end; ++y)
            PaintRow(y);
    }

private:
    void PaintRow(std::int64_t y)
    {
        std::int64_t a = 0, b = 0;
        if (!OuterSpan(y, a, b))
            return;
        if (!m_penOn) {
            m_target.Span(y, a, b, m_brush, m_mode);
            return;
        }
        std::int64_t c = 0, d = 0;
        if (!Hole(y, a, b, c, d)) {
            PenSpan(y, a, b);
            return;
        }
        if (m_brushOn)
            m_target.Span(y, c, d, m_brush, m_mode);
        PenSpan(y, a, c);
        PenSpan(y, d, b);
    }

    bool OuterSpan(std::int64_t y, std::int64_t& a, std::int64_t& b) const noexcept
    {
        return m_shape.Span(m_bands.outer, m_bands.outerCw, m_bands.outerCh, y, a, b);
    }

    // The hole inside the outline on row y: pixels whose four neighbours all lie
    // in the outer shape (so the outline is always closed), and, for wider pens,
    // inside the inner shape too.
    bool Hole(std::int64_t y, std::int64_t a, std::int64_t b, std::int64_t& c, std::int64_t& d) const noexcept
    {
        std::int64_t ua = 0, ub = 0, la = 0, lb = 0;
        if (!OuterSpan(y - 1, ua, ub) || !OuterSpan(y + 1, la, lb))
            return false;
        c = std::max({ a + 1, ua, la });
        d = std::min({ b - 1, ub, lb });
        if (m_bands.wide) {
            std::int64_t ia = 0, ib = 0;
            if (!m_shape.Span(m_bands.inner, m_bands.innerCw, m_bands.innerCh, y, ia, ib))
                return false;
            c = std::max(c, ia);
            d = std::min(d, ib);
        }
        return c < d;
    }

    void PenSpan(std::int64_t y, std::int64_t x0, std::int64_t x1) const
    {
        if (!m_shape.arc) {
            m_target.Span(y, x0, x1, m_pen, m_mode);
            return;
        }
        const TRect& clip = m_target.clip;
        const std::int64_t dy = y + m_target.origin.Y;
        if (dy < clip.Top || dy >= clip.Bottom)
            return;
        const std::int64_t a = std::max<std::int64_t>(x0 + m_target.origin.X, clip.Left);
        const std::int64_t b = std::min<std::int64_t>(x1 + m_target.origin.X, clip.Right);
        // Pixel centres relative to the box's centre, measured from the box.
        const WideRect& box = m_shape.box;
        const double cx = static_cast<double>(box.Width()) / 2.0, cy = static_cast<double>(box.Height()) / 2.0;
        const double v = static_cast<double>(y - box.Top) + 0.5 - cy;
        for (std::int64_t x = a; x < b; ++x) {
            const double u = static_cast<double>(x - m_target.origin.X - box.Left) + 0.5 - cx;
            const double angle = std::atan2(-v, u);
            const double offset = std::fmod(angle - m_shape.startAngle + 4 * std::numbers::pi, 2 * std::numbers::pi);
            if (offset <= m_shape.sweep + 1e-9)
                detail::PlotPixel(
                    m_target.raster, static_cast<std::int32_t>(x), static_cast<std::int32_t>(dy), m_penColor, m_mode);
        }
    }

    const Target& m_target;
    const Shape& m_shape;
    const PenBands m_bands;
    const bool m_penOn, m_brushOn;
    const TColor m_penColor;
    const FillPattern m_pen, m_brush;
    const TPenMode m_mode;
};

// Draws a shape with the canvas's pen and brush; false when there was nothing to draw.
bool DrawShape(const TCanvas& canvas, const Shape& shape)
{
    Raster* raster = canvas.Surface();
    const TRect clip = canvas.DeviceClip();
    if (!raster || clip.IsEmpty())
        return false;
    const bool penOn = canvas.Pen().Style() != psClear;
    const bool brushOn = !shape.arc && BrushFills(canvas.Brush());
    if (!penOn && !brushOn)
        return false;
    const Target target { *raster, canvas.Origin(), clip };
    ShapePainter(target, shape, canvas, penOn, brushOn).Paint();
    return true;
}

// ---- Lines -------------------------------------------------------------------

// A line from a towards b with the canvas's pen; b itself is left out. Only the
// steps whose pixels (or, for wide pens, whose squares) meet the clip are
// visited, so any line costs what its visible part costs.
class LinePainter {
public:
    LinePainter(const Target& target, const TCanvas& canvas)
        : m_target(target)
        , m_penColor(ColorToRGB(canvas.Pen().Color()))
        , m_mode(canvas.Pen().Mode())
        , m_width(canvas.Pen().Width())
        , m_dashes(m_width == 1 ? DashPattern(canvas.Pen().Style()) : std::span<const std::int32_t> {})
        , m_gapsFilled(canvas.Brush().Style() == bsSolid && !canvas.Brush().Bitmap())
        , m_gapColor(ColorToRGB(canvas.Brush().Color()))
    {
    }

    void Paint(WidePoint a, WidePoint b, std::int64_t& phase) const
    {
        const LineWalk walk(a.X, a.Y, b.X, b.Y);
        if (m_width == 1) {
            PaintThin(walk, phase);
            phase += walk.Steps();
        } else {
            PaintWide(walk);
        }
    }

private:
    // The dashes keep their phase: step k of the line is step phase + k of the pattern.
    void PaintThin(const LineWalk& walk, std::int64_t phase) const
    {
        const TRect& clip = m_target.clip;
        const TPoint o = m_target.origin;
        const StepRange columns = walk.WithX(std::int64_t { clip.Left } - o.X, std::int64_t { clip.Right } - o.X);
        const StepRange rows = walk.WithY(std::int64_t { clip.Top } - o.Y, std::int64_t { clip.Bottom } - o.Y);
        const StepRange visible = columns.Intersect(rows);
        walk.Walk(visible, [&](std::int64_t x, std::int64_t y, std::int64_t k) {
            const auto px = static_cast<std::int32_t>(x + o.X), py = static_cast<std::int32_t>(y + o.Y);
            if (m_dashes.empty() || DashOn(m_dashes, phase + k))
                detail::PlotPixel(m_target.raster, px, py, m_penColor, m_mode);
            else if (m_gapsFilled)
                detail::PlotPixel(m_target.raster, px, py, m_gapColor, m_mode);
        });
    }

    // A pen of width w puts a w x w square on each step, starting (w - 1) / 2
    // up and left of it. On any row, the squares that cover it belong to a range
    // of steps whose x moves by at most one per step, so together they cover one
    // span: each visible row is painted once.
    void PaintWide(const LineWalk& walk) const
    {
        if (walk.Steps() == 0)
            return;
        const std::int64_t w = m_width, lo = (w - 1) / 2;
        const TRect& clip = m_target.clip;
        const TPoint o = m_target.origin;
        const std::int64_t y0 = walk.Y(0), y1 = walk.Y(walk.Steps() - 1);
        const std::int64_t first = std::max(std::min(y0, y1) - lo, std::int64_t { clip.Top } - o.Y);
        const std::int64_t end = std::min(std::max(y0, y1) - lo + w, std::int64_t { clip.Bottom } - o.Y);
        const FillPattern pen = detail::SolidPattern(m_penColor);
        for (std::int64_t y = first; y < end; ++y) {
            const StepRange steps = walk.WithY(y + lo - w + 1, y + lo + 1);
            if (steps.Empty())
                continue;
            const std::int64_t xa = walk.X(steps.first), xb = walk.X(steps.end - 1);
            m_target.Span(y, std::min(xa, xb) - lo, std::max(xa, xb) - lo + w, pen, m_mode);
        }
    }

    const Target& m_target;
    const TColor m_penColor;
    const TPenMode m_mode;
    const std::int32_t m_width;
    const std::span<const std::int32_t> m_dashes;
    const bool m_gapsFilled;
    const TColor m_gapColor;
};

// Draws connected segments (closed: back to the first point) with one dash phase.
template <class PointType>
void PaintPath(const TCanvas& canvas, std::span<const PointType> points, bool closed)
{
    Raster* raster = canvas.Surface();
    if (!raster || canvas.Pen().Style() == psClear)
        return;
    const Target target { *raster, canvas.Origin(), canvas.DeviceClip() };
    const LinePainter painter(target, canvas);
    std::int64_t phase = 0;
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i)
        painter.Paint(Widen(points[i]), Widen(points[(i + 1) % points.size()]), phase);
}

// ---- Polygons ----------------------------------------------------------------

// Alternate filling: on each row, the pixels whose centres lie between pairs of
// edge crossings. Only rows inside the clip are visited.
void FillPolygon(const TCanvas& canvas, std::span<const TPoint> points)
{
    const Target target { *canvas.Surface(), canvas.Origin(), canvas.DeviceClip() };
    const FillPattern brush = detail::BrushPattern(canvas.Brush(), target.origin, canvas.TextColor(), canvas.BkColor());
    std::int64_t top = points[0].Y, bottom = points[0].Y;
    for (auto p : points) {
        top = std::min<std::int64_t>(top, p.Y);
        bottom = std::max<std::int64_t>(bottom, p.Y);
    }
    top = std::max(top, std::int64_t { target.clip.Top } - target.origin.Y);
    bottom = std::min(bottom, std::int64_t { target.clip.Bottom } - target.origin.Y);
    std::vector<std::int64_t> xs;
    for (std::int64_t y = top; y < bottom; ++y) {
        xs.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint p = points[i], q = points[(i + 1) % points.size()];
            if ((p.Y <= y && q.Y > y) || (q.Y <= y && p.Y > y)) {
                // The crossing at the row's centre line, measured from p, rounded
                // to the first pixel centre at or right of it.
                const double offset = (static_cast<double>(y - p.Y) + 0.5) * static_cast<double>(std::int64_t { q.X } - p.X)
                    / static_cast<double>(std::int64_t { q.Y } - p.Y);
                xs.push_back(p.X + static_cast<std::int64_t>(std::ceil(offset - 0.5)));
            }
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            target.Span(y, xs[i], xs[i + 1], brush, canvas.Pen().Mode());
    }
}

// ---- Copies ------------------------------------------------------------------

// Copies into a canvas from a bitmap or another canvas read a monochrome source
// as black and white, whatever the destination's text and background colours
// are (masks rely on it).
detail::BlitParams CopyParams(std::uint32_t rop, TColor sourceBkColor, const TColor* transparentKey) noexcept
{
    detail::BlitParams params;
    params.rop = rop;
    params.sourceBkColor = sourceBkColor;
    params.destTextColor = clBlack;
    params.destBkColor = clWhite;
    params.transparentKey = transparentKey;
    return params;
}

// Draws a bitmap into a rectangle of canvas coordinates (which a position plus
// the bitmap's size may carry beyond the int32 range).
void DrawBitmap(TCanvas& canvas, const WideRect& dest, const TBitmap& bitmap)
{
    if (bitmap.Empty() || !canvas.HasSurface())
        return;
    const TColor sourceBk = bitmap.Canvas().BkColor();
    const WideRect all = WideRect::From(bitmap.Image().Bounds());
    if (bitmap.Transparent()) {
        const TColor key = ColorToRGB(bitmap.TransparentColor());
        detail::CanvasAccess::BlitFrom(canvas, dest, bitmap.Image(), all, CopyParams(SRCCOPY, sourceBk, &key));
    } else {
        detail::CanvasAccess::BlitFrom(canvas, dest, bitmap.Image(), all,
            CopyParams(static_cast<std::uint32_t>(canvas.CopyMode()), sourceBk, nullptr));
    }
}

} // namespace

// ---- The canvas ----------------------------------------------------------------

TCanvas::TCanvas() = default;

TCanvas::~TCanvas()
{
    if (m_handle && m_ownsHandle)
        detail::UnregisterObject(m_handle);
}

void TCanvas::SetSurface(Raster* raster, TPoint origin, const TRect& clip) noexcept
{
    m_raster = raster;
    m_origin = origin;
    m_clip = clip;
}

void TCanvas::SetSurface(Raster* raster) noexcept
{
    SetSurface(raster, {}, Rect(0, 0, kMaxBitmapSide, kMaxBitmapSide));
}

TRect TCanvas::DeviceClip() const noexcept
{
    if (!m_raster)
        return {};
    return Intersect(m_clip, m_raster->Bounds());
}

TRect TCanvas::ClipRect() const noexcept
{
    const TRect r = DeviceClip();
    if (r.IsEmpty())
        return {};
    const WideRect c = WideRect::From(r).Offset(-std::int64_t { m_origin.X }, -std::int64_t { m_origin.Y });
    return { SaturateInt32(c.Left), SaturateInt32(c.Top), SaturateInt32(c.Right), SaturateInt32(c.Bottom) };
}

void TCanvas::SetClipRect(const TRect& rect) noexcept
{
    TRect r = rect;
    OffsetRect(r, m_origin.X, m_origin.Y);
    m_clip = r;
}

HDC TCanvas::Handle()
{
    if (!m_handle)
        m_handle = detail::RegisterCanvas(this);
    return m_handle;
}

TColor TCanvas::SetTextColor(TColor color) noexcept
{
    return std::exchange(m_textColor, color);
}

TColor TCanvas::SetBkColor(TColor color) noexcept
{
    return std::exchange(m_bkColor, color);
}

void TCanvas::Changed()
{
    if (m_onChange)
        m_onChange(this);
}

TCanvas::State TCanvas::SaveState() const noexcept
{
    return { m_pen.Color(), m_brush.Color(), m_font.Color(), m_pen.Style(), m_pen.Width(), m_pen.Mode(), m_brush.Style(),
        m_brush.Bitmap(), m_copyMode };
}

void TCanvas::RestoreState(const State& s)
{
    m_pen.SetColor(s.penColor);
    m_pen.SetStyle(s.penStyle);
    m_pen.SetWidth(s.penWidth);
    m_pen.SetMode(s.penMode);
    m_brush.SetColor(s.brushColor);
    m_brush.SetStyle(s.brushStyle);
    m_brush.SetBitmap(s.brushBitmap);
    m_font.SetColor(s.fontColor);
    m_copyMode = s.copyMode;
}

namespace {

// The raster point of a canvas point, when it lies inside the clip.
bool ToDevice(std::int32_t x, std::int32_t y, TPoint origin, const TRect& clip, TPoint& device) noexcept
{
    const std::int64_t dx = std::int64_t { x } + origin.X, dy = std::int64_t { y } + origin.Y;
    if (dx < clip.Left || dx >= clip.Right || dy < clip.Top || dy >= clip.Bottom)
        return false;
    device = { static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy) };
    return true;
}

} // namespace

TColor TCanvas::Pixels(std::int32_t x, std::int32_t y) const
{
    TPoint p;
    if (!ToDevice(x, y, m_origin, DeviceClip(), p))
        return clInvalid;
    return m_raster->GetColor(p.X, p.Y);
}

void TCanvas::SetPixels(std::int32_t x, std::int32_t y, TColor color)
{
    TPoint p;
    if (!ToDevice(x, y, m_origin, DeviceClip(), p))
        return;
    m_raster->SetColor(p.X, p.Y, ColorToRGB(color));
    Changed();
}

void detail::CanvasAccess::Fill(TCanvas& canvas, const WideRect& rect)
{
    if (!canvas.m_raster || !BrushFills(canvas.m_brush))
        return;
    const TRect area = ClipTo(rect.Offset(canvas.m_origin), canvas.DeviceClip());
    if (area.IsEmpty())
        return;
    const FillPattern pattern = BrushPattern(canvas.m_brush, canvas.m_origin, canvas.m_textColor, canvas.m_bkColor);
    FillArea(*canvas.m_raster, area, pattern, pmCopy);
    canvas.Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    detail::CanvasAccess::Fill(*this, WideRect::From(rect));
}

void TCanvas::FrameRect(const TRect& rect)
{
    if (rect.IsEmpty())
        return;
    const WideRect r = WideRect::From(rect);
    detail::CanvasAccess::Fill(*this, { r.Left, r.Top, r.Right, r.Top + 1 });
    detail::CanvasAccess::Fill(*this, { r.Left, r.Bottom - 1, r.Right, r.Bottom });
    detail::CanvasAccess::Fill(*this, { r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1 });
    detail::CanvasAccess::Fill(*this, { r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1 });
}

void TCanvas::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const WideRect box = Normalized(x1, y1, x2, y2);
    if (DashPattern(m_pen.Style()).empty() || m_pen.Width() != 1) {
        if (DrawShape(*this, { Shape::Box, box }))
            Changed();
        return;
    }
    // Dotted outlines follow the frame as a path, so the dots run around it.
    if (BrushFills(m_brush)) {
        TCanvasStateGuard guard(*this);
        m_pen.SetStyle(psClear);
        if (DrawShape(*this, { Shape::Box, box.Inflated(-1, -1) }))
            Changed();
    }
    if (box.IsEmpty())
        return;
    const auto right = static_cast<std::int32_t>(box.Right - 1), bottom = static_cast<std::int32_t>(box.Bottom - 1);
    const auto left = static_cast<std::int32_t>(box.Left), top = static_cast<std::int32_t>(box.Top);
    const TPoint frame[] = { { left, top }, { right, top }, { right, bottom }, { left, bottom }, { left, top } };
    PaintPath(*this, std::span<const TPoint>(frame), false);
    Changed();
}

void TCanvas::RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3, std::int32_t y3)
{
    const Shape shape { Shape::Round, Normalized(x1, y1, x2, y2), std::abs(std::int64_t { x3 }), std::abs(std::int64_t { y3 }) };
    if (DrawShape(*this, shape))
        Changed();
}

void TCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    if (DrawShape(*this, { Shape::Oval, Normalized(x1, y1, x2, y2) }))
        Changed();
}

void TCanvas::Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3, std::int32_t y3,
    std::int32_t x4, std::int32_t y4)
{
    const WideRect box = Normalized(x1, y1, x2, y2);
    const double cx = static_cast<double>(box.Width()) / 2.0, cy = static_cast<double>(box.Height()) / 2.0;
    // Angles grow counter-clockwise on screen, where y grows downwards; the
    // radials are measured from the box's centre, relative to the box.
    auto angleOf = [&](std::int32_t x, std::int32_t y) {
        return std::atan2(-(static_cast<double>(y - box.Top) + 0.5 - cy), static_cast<double>(x - box.Left) + 0.5 - cx);
    };
    const double start = angleOf(x3, y3);
    const double end = angleOf(x4, y4);
    double sweep = std::fmod(end - start + 4 * std::numbers::pi, 2 * std::numbers::pi);
    if (sweep < 1e-12)
        sweep = 2 * std::numbers::pi;
    Shape shape { Shape::Oval, box };
    shape.arc = true;
    shape.startAngle = start;
    shape.sweep = sweep;
    if (DrawShape(*this, shape))
        Changed();
}

void TCanvas::MoveTo(std::int32_t x, std::int32_t y)
{
    m_penPos = { x, y };
}

void TCanvas::LineTo(std::int32_t x, std::int32_t y)
{
    const TPoint segment[] = { m_penPos, { x, y } };
    PaintPath(*this, std::span<const TPoint>(segment), false);
    m_penPos = { x, y };
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.size() < 2)
        return;
    PaintPath(*this, points, false);
    Changed();
}

void detail::CanvasAccess::Polyline(TCanvas& canvas, std::span<const WidePoint> points)
{
    if (points.size() < 2)
        return;
    PaintPath(canvas, points, false);
    canvas.Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    if (!m_raster || points.size() < 2)
        return;
    if (BrushFills(m_brush))
        FillPolygon(*this, points);
    PaintPath(*this, points, true);
    Changed();
}

void detail::CanvasAccess::BlitFrom(TCanvas& canvas, const WideRect& dest, const Raster& source, const WideRect& sourceRect,
    BlitParams params)
{
    if (!canvas.m_raster)
        return;
    // Most copies never read the brush: resolve it only for operations that do.
    std::optional<FillPattern> pattern;
    if (RopUsesPattern(RopCode(params.rop)))
        pattern = BrushPattern(canvas.m_brush, canvas.m_origin, params.destTextColor, params.destBkColor);
    params.pattern = pattern ? &*pattern : nullptr;
    Blit(*canvas.m_raster, canvas.DeviceClip(), dest.Offset(canvas.m_origin), source, sourceRect, params);
    canvas.Changed();
}

void detail::CanvasAccess::AttachHandle(TCanvas& canvas, HDC dc) noexcept
{
    canvas.m_handle = dc;
    canvas.m_ownsHandle = false;
}

void TCanvas::Draw(std::int32_t x, std::int32_t y, const TBitmap& bitmap)
{
    DrawBitmap(*this, { x, y, std::int64_t { x } + bitmap.Width(), std::int64_t { y } + bitmap.Height() }, bitmap);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap)
{
    DrawBitmap(*this, WideRect::From(rect), bitmap);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    if (!m_raster || !source.m_raster)
        return;
    const WideRect from = WideRect::From(sourceRect).Offset(source.m_origin);
    detail::CanvasAccess::BlitFrom(*this, WideRect::From(dest), *source.m_raster, from,
        CopyParams(static_cast<std::uint32_t>(m_copyMode), source.m_bkColor, nullptr));
}

// ---- Frame3D -------------------------------------------------------------------

namespace {

// The rings of a frame: ring k (0 <= k < width) draws on the columns left + k
// and right - k and the rows top + k and bottom - k of the frame's inclusive
// edges, and on no other pixel. Each of those four lines meets the clip on one
// range of rings, so only the rings in those ranges can change a pixel; the
// others (all of them, once the frame has turned inside out and left the clip)
// are skipped.
struct FrameRings {
    std::int64_t left, top, right, bottom; //!< inclusive edges of ring 0
    std::int64_t width;

    // Rings k with from + sign * k in [lo, hi).
    [[nodiscard]] StepRange Meeting(std::int64_t from, std::int64_t sign, std::int64_t lo, std::int64_t hi) const noexcept
    {
        const StepRange r = sign > 0 ? StepRange { lo - from, hi - from } : StepRange { from - hi + 1, from - lo + 1 };
        return r.Intersect({ 0, width });
    }

    // The rings that may touch the clip (canvas coordinates), in increasing order, without repeats.
    [[nodiscard]] std::vector<StepRange> Visible(const WideRect& clip) const
    {
        std::vector<StepRange> ranges { Meeting(left, 1, clip.Left, clip.Right), Meeting(right, -1, clip.Left, clip.Right),
            Meeting(top, 1, clip.Top, clip.Bottom), Meeting(bottom, -1, clip.Top, clip.Bottom) };
        std::erase_if(ranges, [](StepRange r) { return r.Empty(); });
        std::sort(ranges.begin(), ranges.end(), [](StepRange a, StepRange b) { return a.first < b.first; });
        std::vector<StepRange> merged;
        for (StepRange r : ranges) {
            if (!merged.empty() && r.first <= merged.back().end)
                merged.back().end = std::max(merged.back().end, r.end);
            else
                merged.push_back(r);
        }
        return merged;
    }

    void Draw(TCanvas& canvas, std::int64_t k, TColor topColor, TColor bottomColor) const
    {
        const std::int64_t l = left + k, t = top + k, r = right - k, b = bottom - k;
        canvas.Pen().SetColor(topColor);
        const WidePoint topLeft[] = { { l, b }, { l, t }, { r, t } };
        detail::CanvasAccess::Polyline(canvas, topLeft);
        canvas.Pen().SetColor(bottomColor);
        const WidePoint bottomRight[] = { { r, t }, { r, b }, { l - 1, b } };
        detail::CanvasAccess::Polyline(canvas, bottomRight);
    }
};

} // namespace

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, std::int32_t width)
{
    canvas.Pen().SetWidth(1);
    if (width <= 0)
        return;
    const FrameRings rings { rect.Left, rect.Top, std::int64_t { rect.Right } - 1, std::int64_t { rect.Bottom } - 1, width };
    const TPoint origin = canvas.Origin();
    const WideRect clip = WideRect::From(canvas.DeviceClip()).Offset(-std::int64_t { origin.X }, -std::int64_t { origin.Y });
    if (!clip.IsEmpty())
        for (StepRange range : rings.Visible(clip))
            for (std::int64_t k = range.first; k < range.end; ++k)
                rings.Draw(canvas, k, topColor, bottomColor);
    canvas.Pen().SetColor(bottomColor);
    InflateRect(rect, -width, -width);
}

} // namespace plx
