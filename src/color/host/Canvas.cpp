#include "color/host/Canvas.h"

#include "color/host/Bitmap.h"
#include "color/host/Raster.h"
#include "color/host/SysColors.h"
#include "color/host/detail/CanvasAccess.h"
#include "color/host/detail/GdiTable.h"
#include "color/host/detail/RasterOps.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

namespace plx {

using detail::FillPattern;

namespace {

// Spans covered by wide lines, merged per row before painting so that each
// pixel is combined with the pen only once.
class Coverage {
public:
    void Add(std::int32_t y, std::int32_t x0, std::int32_t x1) { m_rows[y].emplace_back(x0, x1); }

    template <class F>
    void ForEach(F paint)
    {
        for (auto& [y, spans] : m_rows) {
            std::sort(spans.begin(), spans.end());
            std::int32_t a = spans.front().first, b = spans.front().second;
            for (std::size_t i = 1; i < spans.size(); ++i) {
                if (spans[i].first <= b) {
                    b = std::max(b, spans[i].second);
                } else {
                    paint(y, a, b);
                    a = spans[i].first;
                    b = spans[i].second;
                }
            }
            paint(y, a, b);
        }
    }

private:
    std::map<std::int32_t, std::vector<std::pair<std::int32_t, std::int32_t>>> m_rows;
};

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

bool DashOn(std::span<const std::int32_t> pattern, std::int32_t phase) noexcept
{
    std::int32_t period = 0;
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

TRect Normalized(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) noexcept
{
    return { std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2) };
}

// The pixels whose centres lie inside the ellipse of the box, on row y: [x0, x1).
// Computing the left end only and mirroring it keeps the shape symmetric.
bool EllipseSpan(const TRect& box, std::int32_t y, std::int32_t& x0, std::int32_t& x1) noexcept
{
    if (box.IsEmpty() || y < box.Top || y >= box.Bottom)
        return false;
    double a = box.Width() / 2.0;
    double b = box.Height() / 2.0;
    double u = (static_cast<double>(box.Left) + box.Right - 1) / 2.0;
    double v = (static_cast<double>(box.Top) + box.Bottom - 1) / 2.0;
    double t = (y - v) / b;
    double inside = 1.0 - t * t;
    if (inside < 0)
        return false;
    double half = a * std::sqrt(inside);
    auto left = static_cast<std::int32_t>(std::ceil(u - half - 1e-9));
    if (left > u + 1e-9)
        return false;
    x0 = left;
    x1 = box.Left + box.Right - left;
    return true;
}

} // namespace

struct TCanvas::ShapeBox {
    enum Kind { Box, Oval, Round } kind;
    TRect box;
    std::int32_t cornerWidth { 0 };
    std::int32_t cornerHeight { 0 };
    // Arcs keep the outline pixels between two angles (radians, counter-clockwise).
    bool arc { false };
    double startAngle { 0 };
    double sweep { 0 };

    [[nodiscard]] bool Span(const TRect& b, std::int32_t cw, std::int32_t ch, std::int32_t y, std::int32_t& x0,
        std::int32_t& x1) const noexcept
    {
        if (b.IsEmpty() || y < b.Top || y >= b.Bottom)
            return false;
        switch (kind) {
        case Box:
            x0 = b.Left;
            x1 = b.Right;
            return true;
        case Oval:
            return EllipseSpan(b, y, x0, x1);
        case Round: {
            cw = std::min(cw, b.Width());
            ch = std::min(ch, b.Height());
            if (cw <= 0 || ch <= 0) {
                x0 = b.Left;
                x1 = b.Right;
                return true;
            }
            std::int32_t row = -1;
            if (2 * (y - b.Top) + 1 < ch)
                row = y;
            else if (2 * (b.Bottom - 1 - y) + 1 < ch)
                row = b.Top + (b.Bottom - 1 - y);
            if (row < 0) {
                x0 = b.Left;
                x1 = b.Right;
                return true;
            }
            std::int32_t c0 = 0, c1 = 0;
            if (!EllipseSpan(Rect(b.Left, b.Top, b.Left + cw, b.Top + ch), row, c0, c1))
                return false;
            x0 = c0;
            x1 = b.Left + b.Right - c0;
            return true;
        }
        }
        return false;
    }
};

TCanvas::TCanvas() = default;

TCanvas::~TCanvas()
{
    if (m_handle)
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
    TRect r = DeviceClip();
    if (r.IsEmpty())
        return {};
    OffsetRect(r, -m_origin.X, -m_origin.Y);
    return r;
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

TColor TCanvas::Pixels(std::int32_t x, std::int32_t y) const
{
    TPoint p { x + m_origin.X, y + m_origin.Y };
    if (!DeviceClip().Contains(p))
        return clInvalid;
    return m_raster->GetColor(p.X, p.Y);
}

void TCanvas::SetPixels(std::int32_t x, std::int32_t y, TColor color)
{
    TPoint p { x + m_origin.X, y + m_origin.Y };
    if (!DeviceClip().Contains(p))
        return;
    m_raster->SetColor(p.X, p.Y, ColorToRGB(color));
    Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    if (!m_raster || (m_brush.Style() == bsClear && !m_brush.Bitmap()))
        return;
    TRect area = rect;
    OffsetRect(area, m_origin.X, m_origin.Y);
    area = Intersect(area, DeviceClip());
    if (area.IsEmpty())
        return;
    FillPattern pattern = detail::BrushPattern(m_brush, m_origin, m_textColor, m_bkColor);
    detail::FillArea(*m_raster, area, pattern, pmCopy);
    Changed();
}

void TCanvas::FrameRect(const TRect& rect)
{
    if (rect.IsEmpty())
        return;
    FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + 1));
    FillRect(Rect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
    FillRect(Rect(rect.Left, rect.Top + 1, rect.Left + 1, rect.Bottom - 1));
    FillRect(Rect(rect.Right - 1, rect.Top + 1, rect.Right, rect.Bottom - 1));
}

void TCanvas::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    TRect box = Normalized(x1, y1, x2, y2);
    auto dashes = DashPattern(m_pen.Style());
    if (!dashes.empty() && m_pen.Width() == 1) {
        // Dotted outlines follow the frame as a path, so the dots run around it.
        if (m_brush.Style() != bsClear || m_brush.Bitmap()) {
            TCanvasStateGuard guard(*this);
            m_pen.SetStyle(psClear);
            DrawShape({ ShapeBox::Box, Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1) });
        }
        if (box.IsEmpty())
            return;
        TPoint pts[] = { { box.Left, box.Top }, { box.Right - 1, box.Top }, { box.Right - 1, box.Bottom - 1 },
            { box.Left, box.Bottom - 1 }, { box.Left, box.Top } };
        std::int32_t phase = 0;
        for (std::size_t i = 0; i + 1 < std::size(pts); ++i)
            PaintLine(pts[i], pts[i + 1], phase);
        Changed();
        return;
    }
    DrawShape({ ShapeBox::Box, box });
}

void TCanvas::RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3, std::int32_t y3)
{
    DrawShape({ ShapeBox::Round, Normalized(x1, y1, x2, y2), std::abs(x3), std::abs(y3) });
}

void TCanvas::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    DrawShape({ ShapeBox::Oval, Normalized(x1, y1, x2, y2) });
}

void TCanvas::Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3, std::int32_t y3,
    std::int32_t x4, std::int32_t y4)
{
    TRect box = Normalized(x1, y1, x2, y2);
    double cx = (static_cast<double>(box.Left) + box.Right) / 2.0;
    double cy = (static_cast<double>(box.Top) + box.Bottom) / 2.0;
    // Angles grow counter-clockwise on screen, where y grows downwards.
    double start = std::atan2(-(y3 + 0.5 - cy), x3 + 0.5 - cx);
    double end = std::atan2(-(y4 + 0.5 - cy), x4 + 0.5 - cx);
    double sweep = std::fmod(end - start + 4 * std::numbers::pi, 2 * std::numbers::pi);
    if (sweep < 1e-12)
        sweep = 2 * std::numbers::pi;
    ShapeBox shape { ShapeBox::Oval, box };
    shape.arc = true;
    shape.startAngle = start;
    shape.sweep = sweep;
    DrawShape(shape);
}

void TCanvas::DrawShape(const ShapeBox& shape)
{
    if (!m_raster)
        return;
    const TRect clip = DeviceClip();
    if (clip.IsEmpty())
        return;
    const bool penOn = m_pen.Style() != psClear;
    const bool brushOn = !shape.arc && (m_brush.Style() != bsClear || m_brush.Bitmap());
    if (!penOn && !brushOn)
        return;
    const std::int32_t w = m_pen.Width();
    TRect outer = shape.box;
    TRect inner = shape.box;
    std::int32_t outerCw = shape.cornerWidth, outerCh = shape.cornerHeight;
    std::int32_t innerCw = shape.cornerWidth, innerCh = shape.cornerHeight;
    if (penOn) {
        // A pen of width w covers, around the one-pixel outline, (w - 1) / 2
        // pixels outwards and w / 2 inwards; an inside-frame pen stays in the box.
        std::int32_t out = m_pen.Style() == psInsideFrame ? 0 : (w - 1) / 2;
        std::int32_t in = m_pen.Style() == psInsideFrame ? w : w / 2 + 1;
        InflateRect(outer, out, out);
        InflateRect(inner, -in, -in);
        outerCw += 2 * out;
        outerCh += 2 * out;
        innerCw = std::max(innerCw - 2 * in, 0);
        innerCh = std::max(innerCh - 2 * in, 0);
    }
    const TColor penColor = ColorToRGB(m_pen.Color());
    const FillPattern penPattern = detail::SolidPattern(penColor);
    const FillPattern brush = detail::BrushPattern(m_brush, m_origin, m_textColor, m_bkColor);
    const TPenMode mode = m_pen.Mode();
    const double cx = (static_cast<double>(shape.box.Left) + shape.box.Right) / 2.0;
    const double cy = (static_cast<double>(shape.box.Top) + shape.box.Bottom) / 2.0;

    auto paint = [&](std::int32_t y, std::int32_t x0, std::int32_t x1, const FillPattern& pattern, bool isPen) {
        std::int32_t dy = y + m_origin.Y;
        if (dy < clip.Top || dy >= clip.Bottom)
            return;
        std::int32_t a = std::max(x0 + m_origin.X, clip.Left);
        std::int32_t b = std::min(x1 + m_origin.X, clip.Right);
        if (a >= b)
            return;
        if (!isPen || !shape.arc) {
            detail::PaintSpan(*m_raster, dy, a, b, pattern, mode);
            return;
        }
        for (std::int32_t x = a; x < b; ++x) {
            double angle = std::atan2(-(y + 0.5 - cy), (x - m_origin.X) + 0.5 - cx);
            double offset = std::fmod(angle - shape.startAngle + 4 * std::numbers::pi, 2 * std::numbers::pi);
            if (offset <= shape.sweep + 1e-9)
                detail::PlotPixel(*m_raster, x, dy, penColor, mode);
        }
    };

    // Rows outside the clip paint nothing (and each row's spans are computed on
    // their own), so a shape far larger than the surface costs only its visible rows.
    const std::int32_t firstRow = std::max(outer.Top, clip.Top - m_origin.Y);
    const std::int32_t endRow = std::min(outer.Bottom, clip.Bottom - m_origin.Y);
    for (std::int32_t y = firstRow; y < endRow; ++y) {
        std::int32_t a = 0, b = 0;
        if (!shape.Span(outer, outerCw, outerCh, y, a, b))
            continue;
        if (!penOn) {
            paint(y, a, b, brush, false);
            continue;
        }
        // The hole inside the outline: pixels whose four neighbours all lie in
        // the outer shape (so the outline is always closed), and, for wider pens,
        // inside the inner shape too.
        std::int32_t c = 0, d = 0, ua = 0, ub = 0, la = 0, lb = 0;
        bool hole = shape.Span(outer, outerCw, outerCh, y - 1, ua, ub) && shape.Span(outer, outerCw, outerCh, y + 1, la, lb);
        if (hole) {
            c = std::max({ a + 1, ua, la });
            d = std::min({ b - 1, ub, lb });
            if (w >= 2 || m_pen.Style() == psInsideFrame) {
                std::int32_t ia = 0, ib = 0;
                if (shape.Span(inner, innerCw, innerCh, y, ia, ib)) {
                    c = std::max(c, ia);
                    d = std::min(d, ib);
                } else {
                    c = d;
                }
            }
            hole = c < d;
        }
        if (!hole) {
            paint(y, a, b, penPattern, true);
            continue;
        }
        if (brushOn)
            paint(y, c, d, brush, false);
        paint(y, a, c, penPattern, true);
        paint(y, d, b, penPattern, true);
    }
    Changed();
}

void TCanvas::PaintLine(TPoint a, TPoint b, std::int32_t& phase)
{
    if (!m_raster || m_pen.Style() == psClear)
        return;
    const TRect clip = DeviceClip();
    const TColor penColor = ColorToRGB(m_pen.Color());
    const TPenMode mode = m_pen.Mode();
    const std::int32_t w = m_pen.Width();
    auto dashes = w == 1 ? DashPattern(m_pen.Style()) : std::span<const std::int32_t> {};
    const bool gapsFilled = m_brush.Style() == bsSolid && !m_brush.Bitmap();
    const TColor gapColor = ColorToRGB(m_brush.Color());
    Coverage wide;

    // Bresenham from a towards b; b itself is left out.
    std::int32_t x = a.X, y = a.Y;
    std::int32_t dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
    std::int32_t sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    std::int32_t err = dx + dy;
    const std::int32_t lo = (w - 1) / 2;
    while (x != b.X || y != b.Y) {
        if (w == 1) {
            TPoint p { x + m_origin.X, y + m_origin.Y };
            if (clip.Contains(p)) {
                if (dashes.empty() || DashOn(dashes, phase))
                    detail::PlotPixel(*m_raster, p.X, p.Y, penColor, mode);
                else if (gapsFilled)
                    detail::PlotPixel(*m_raster, p.X, p.Y, gapColor, mode);
            }
            ++phase;
        } else {
            for (std::int32_t k = 0; k < w; ++k)
                wide.Add(y - lo + k, x - lo, x - lo + w);
        }
        std::int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    if (w > 1) {
        const FillPattern pen = detail::SolidPattern(penColor);
        wide.ForEach([&](std::int32_t row, std::int32_t x0, std::int32_t x1) {
            std::int32_t dyRow = row + m_origin.Y;
            if (dyRow < clip.Top || dyRow >= clip.Bottom)
                return;
            std::int32_t l = std::max(x0 + m_origin.X, clip.Left), r = std::min(x1 + m_origin.X, clip.Right);
            if (l < r)
                detail::PaintSpan(*m_raster, dyRow, l, r, pen, mode);
        });
    }
}

void TCanvas::MoveTo(std::int32_t x, std::int32_t y)
{
    m_penPos = { x, y };
}

void TCanvas::LineTo(std::int32_t x, std::int32_t y)
{
    std::int32_t phase = 0;
    PaintLine(m_penPos, { x, y }, phase);
    m_penPos = { x, y };
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.size() < 2)
        return;
    std::int32_t phase = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        PaintLine(points[i], points[i + 1], phase);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    if (!m_raster || points.size() < 2)
        return;
    const TRect clip = DeviceClip();
    if (m_brush.Style() != bsClear || m_brush.Bitmap()) {
        const FillPattern brush = detail::BrushPattern(m_brush, m_origin, m_textColor, m_bkColor);
        std::int32_t top = points[0].Y, bottom = points[0].Y;
        for (auto p : points) {
            top = std::min(top, p.Y);
            bottom = std::max(bottom, p.Y);
        }
        std::vector<double> xs;
        for (std::int32_t y = top; y < bottom; ++y) {
            double cy = y + 0.5;
            xs.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                TPoint p = points[i], q = points[(i + 1) % points.size()];
                if ((p.Y <= cy && q.Y > cy) || (q.Y <= cy && p.Y > cy))
                    xs.push_back(p.X + (cy - p.Y) * (q.X - p.X) / static_cast<double>(q.Y - p.Y));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                auto x0 = static_cast<std::int32_t>(std::ceil(xs[i] - 0.5));
                auto x1 = static_cast<std::int32_t>(std::ceil(xs[i + 1] - 0.5));
                std::int32_t dy = y + m_origin.Y;
                if (dy < clip.Top || dy >= clip.Bottom)
                    continue;
                std::int32_t l = std::max(x0 + m_origin.X, clip.Left), r = std::min(x1 + m_origin.X, clip.Right);
                if (l < r)
                    detail::PaintSpan(*m_raster, dy, l, r, brush, m_pen.Mode());
            }
        }
    }
    std::int32_t phase = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        PaintLine(points[i], points[(i + 1) % points.size()], phase);
    Changed();
}

void detail::CanvasAccess::BlitFrom(TCanvas& canvas, const TRect& dest, const Raster& source, const TRect& sourceRect,
    BlitParams params)
{
    if (!canvas.m_raster)
        return;
    TRect d = dest;
    OffsetRect(d, canvas.m_origin.X, canvas.m_origin.Y);
    const FillPattern pattern = BrushPattern(canvas.m_brush, canvas.m_origin, params.destTextColor, params.destBkColor);
    params.pattern = &pattern;
    Blit(*canvas.m_raster, canvas.DeviceClip(), d, source, sourceRect, params);
    canvas.Changed();
}

namespace {

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

} // namespace

void TCanvas::Draw(std::int32_t x, std::int32_t y, const TBitmap& bitmap)
{
    StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap)
{
    if (bitmap.Empty() || !m_raster)
        return;
    const TColor sourceBk = bitmap.Canvas().BkColor();
    if (bitmap.Transparent()) {
        const TColor key = ColorToRGB(bitmap.TransparentColor());
        detail::CanvasAccess::BlitFrom(*this, rect, bitmap.Image(), bitmap.Image().Bounds(), CopyParams(SRCCOPY, sourceBk, &key));
    } else {
        detail::CanvasAccess::BlitFrom(*this, rect, bitmap.Image(), bitmap.Image().Bounds(),
            CopyParams(static_cast<std::uint32_t>(m_copyMode), sourceBk, nullptr));
    }
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    if (!m_raster || !source.m_raster)
        return;
    TRect s = sourceRect;
    OffsetRect(s, source.m_origin.X, source.m_origin.Y);
    detail::CanvasAccess::BlitFrom(*this, dest, *source.m_raster, s,
        CopyParams(static_cast<std::uint32_t>(m_copyMode), source.m_bkColor, nullptr));
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, std::int32_t width)
{
    canvas.Pen().SetWidth(1);
    --rect.Bottom;
    --rect.Right;
    while (width > 0) {
        --width;
        TPoint topRight { rect.Right, rect.Top };
        TPoint bottomLeft { rect.Left, rect.Bottom };
        canvas.Pen().SetColor(topColor);
        canvas.Polyline({ bottomLeft, rect.TopLeft(), topRight });
        canvas.Pen().SetColor(bottomColor);
        --bottomLeft.X;
        canvas.Polyline({ topRight, rect.BottomRight(), bottomLeft });
        InflateRect(rect, -1, -1);
    }
    ++rect.Bottom;
    ++rect.Right;
}

} // namespace plx
