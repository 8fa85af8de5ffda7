#include "paint/Gradient.h"

#include "color/ColorMan.h"
#include "color/host/Bitmap.h"
#include "color/host/GraphicsObject.h"
#include "color/host/Raster.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "paint/DrawMan.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace plx {

// ---- TGradient --------------------------------------------------------------

void TGradient::SetGradientStyle(TGradientStyle value)
{
    Store(m_gradientStyle, value, [this] { Changed(); });
}

void TGradient::SetLineSize(std::int32_t value)
{
    Store(m_lineSize, value, [this] { Changed(); });
}

void TGradient::SetColor1(TColor value)
{
    Store(m_color1, value, [this] { Changed(); });
}

void TGradient::SetColor2(TColor value)
{
    Store(m_color2, value, [this] { Changed(); });
}

void TGradient::SetColor3(TColor value)
{
    Store(m_color3, value, [this] { Changed(); });
}

void TGradient::SetColor4(TColor value)
{
    Store(m_color4, value, [this] { Changed(); });
}

void TGradient::SetColor5(TColor value)
{
    Store(m_color5, value, [this] { Changed(); });
}

void TGradient::SetColorCount(TColorCount value)
{
    Store(m_colorCount, value, [this] { Changed(); });
}

void TGradient::SetLineDir(TDirection value)
{
    Store(m_lineDirection, value, [this] { Changed(); });
}

void TGradient::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TGradient*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_gradientStyle = other->m_gradientStyle;
    m_lineSize = other->m_lineSize;
    m_color1 = other->m_color1;
    m_color2 = other->m_color2;
    m_color3 = other->m_color3;
    m_color4 = other->m_color4;
    m_color5 = other->m_color5;
    m_colorCount = other->m_colorCount;
    m_lineDirection = other->m_lineDirection;
    Changed();
}

void TGradient::Changed()
{
    if (m_onChange)
        m_onChange(this);
}

const TEnumInfo& TGradient::GradientStyleInfo()
{
    static const TEnumInfo info { "TGradientStyle", { "gsLine", "gsEllipse", "gsRect", "gsCustomRect" } };
    return info;
}

const TEnumInfo& TGradient::DirectionInfo()
{
    static const TEnumInfo info { "TDirection", { "diHorizonal", "diVertical" } };
    return info;
}

const TClassInfo& TGradient::StaticClassInfo()
{
    // Every property is written to form files: none has a default.
    static const TClassInfo info = TClassInfoBuilder<TGradient>("TGradient", &TPersistent::StaticClassInfo())
        .Enum("GradientStyle", GradientStyleInfo(), &TGradient::GradientStyle, &TGradient::SetGradientStyle)
        .Integer("LineSize", &TGradient::LineSize, &TGradient::SetLineSize)
        .Integer("Color1", &TGradient::Color1, &TGradient::SetColor1, std::nullopt, &ColorIdents(), "TColor")
        .Integer("Color2", &TGradient::Color2, &TGradient::SetColor2, std::nullopt, &ColorIdents(), "TColor")
        .Integer("Color3", &TGradient::Color3, &TGradient::SetColor3, std::nullopt, &ColorIdents(), "TColor")
        .Integer("Color4", &TGradient::Color4, &TGradient::SetColor4, std::nullopt, &ColorIdents(), "TColor")
        .Integer("Color5", &TGradient::Color5, &TGradient::SetColor5, std::nullopt, &ColorIdents(), "TColor")
        .Integer("ColorCount", &TGradient::ColorCount, &TGradient::SetColorCount, std::nullopt, nullptr, "TColorCount")
        .Enum("LineDirection", DirectionInfo(), &TGradient::LineDirection, &TGradient::SetLineDir)
        .Event("OnDrawRect", "TDrawRectEvent", &TGradient::OnDrawRect, &TGradient::SetOnDrawRect)
        .Event("OnChange", "TNotifyEvent", &TGradient::OnChange, &TGradient::SetOnChange)
        .Build();
    return info;
}

const TClassInfo& TGradient::ClassType() const
{
    return StaticClassInfo();
}

// ---- Band engine ------------------------------------------------------------

namespace {

constexpr std::int32_t kStripSide = 8;

std::int32_t Clamp32(std::int64_t v) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

struct BandSetup {
    std::int32_t count;
    std::int32_t lineSize;
};

// The guards every painter applies before its first band: nothing for a
// rectangle at Right = 0 or Bottom = 0 or for an empty list; a line size below 1
// counts as 1, a count below 1 as 3, and a count beyond the list as its last
// index (at least 1, so a list of one colour paints that colour).
std::optional<BandSetup> Prepare(const TRect& rect, std::span<const TColor> colors, std::int32_t count, std::int32_t lineSize)
{
    if (rect.Right == 0 || rect.Bottom == 0 || colors.empty())
        return std::nullopt;
    BandSetup s { count, std::max(lineSize, 1) };
    if (s.count < 1)
        s.count = 3;
    const auto high = static_cast<std::int64_t>(colors.size()) - 1;
    if (s.count > high)
        s.count = static_cast<std::int32_t>(std::max<std::int64_t>(high, 1));
    return s;
}

// The current colour of a gradient and its walk through the colour list. The
// channels are doubles advanced by one addition per band (not recomputed), and
// rounded through ERGB for each band, so long runs keep their exact values.
class BandColors {
public:
    BandColors(std::span<const TColor> colors, std::int32_t count, std::int64_t segment, std::int32_t lineSize)
        : m_colors(colors.begin(), colors.end())
        , m_count(count)
        , m_segment(segment)
        , m_boundary(segment)
        , m_lineSize(lineSize)
    {
        m_start = At(0);
        m_target = count > 1 ? At(1) : At(0);
        m_index = 1;
        std::int32_t r = 0, g = 0, b = 0;
        DeColor(m_start, r, g, b);
        m_r = r;
        m_g = g;
        m_b = b;
        UpdateStep();
    }

    [[nodiscard]] TColor Current() const noexcept
    {
        return ERGB(static_cast<float>(m_r), static_cast<float>(m_g), static_cast<float>(m_b));
    }

    //! After a band, with the position (line) or the top inset (concentric) of
    //! the next one: enters the next segment at its boundary, then steps.
    void Next(std::int64_t position) noexcept
    {
        if (position >= m_boundary) {
            m_boundary += m_segment;
            m_index = std::min(m_index + 1, m_count);
            m_start = m_target;
            m_target = At(m_index);
            UpdateStep();
        }
        m_r += m_dr;
        m_g += m_dg;
        m_b += m_db;
    }

private:
    [[nodiscard]] TColor At(std::int32_t i) const noexcept
    {
        return m_colors[static_cast<std::size_t>(std::min<std::int64_t>(i, static_cast<std::int64_t>(m_colors.size()) - 1))];
    }

    // A segment of length 0 keeps the colour where it is.
    void UpdateStep() noexcept
    {
        if (m_segment == 0) {
            m_dr = m_dg = m_db = 0;
            return;
        }
        std::int32_t r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
        DeColor(m_start, r1, g1, b1);
        DeColor(m_target, r2, g2, b2);
        const auto d = static_cast<double>(m_segment);
        m_dr = (r2 - r1) / d * m_lineSize;
        m_dg = (g2 - g1) / d * m_lineSize;
        m_db = (b2 - b1) / d * m_lineSize;
    }

    std::vector<TColor> m_colors;
    std::int32_t m_count;
    std::int64_t m_segment;
    std::int64_t m_boundary;
    std::int32_t m_lineSize;
    std::int32_t m_index { 0 };
    TColor m_start { 0 };
    TColor m_target { 0 };
    double m_r { 0 }, m_g { 0 }, m_b { 0 };
    double m_dr { 0 }, m_dg { 0 }, m_db { 0 };
};

bool SolidBrush(const TCanvas& canvas) noexcept
{
    return canvas.Brush().Style() == bsSolid && !canvas.Brush().Bitmap();
}

// True when the ellipse of the box certainly fills every pixel of the clip: the
// centres of the clip's corner pixels lie inside it (with a margin), and the
// ellipse is convex. Lets a band hidden by the next one be left out.
bool EllipseCovers(const TRect& box, const TRect& clip) noexcept
{
    if (box.IsEmpty() || clip.IsEmpty())
        return false;
    const double a = box.Width() / 2.0, b = box.Height() / 2.0;
    const double u = (static_cast<double>(box.Left) + box.Right - 1) / 2.0;
    const double v = (static_cast<double>(box.Top) + box.Bottom - 1) / 2.0;
    for (double px : { static_cast<double>(clip.Left), static_cast<double>(clip.Right) - 1 })
        for (double py : { static_cast<double>(clip.Top), static_cast<double>(clip.Bottom) - 1 }) {
            const double dx = (px - u) / a, dy = (py - v) / b;
            if (dx * dx + dy * dy > 0.999)
                return false;
        }
    return true;
}

// The concentric styles: bands inset by the line size from the top-left corner
// while x < Right div 2 and y < Bottom div 2; segments are half the larger of
// width and height divided by the count. drawBand(x, y, colour, isLast) returns
// false when the band, and so every band inside it, lies off the canvas.
template <class DrawBand>
void Concentric(const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize, DrawBand drawBand)
{
    const auto setup = Prepare(rect, colors, colorCount, lineSize);
    if (!setup)
        return;
    const std::int64_t s = setup->lineSize;
    const std::int64_t extent = std::max<std::int64_t>(static_cast<std::int64_t>(rect.Right) - rect.Left,
        static_cast<std::int64_t>(rect.Bottom) - rect.Top);
    BandColors colours(colors, setup->count, extent / setup->count / 2, setup->lineSize);
    const std::int64_t endX = rect.Right / 2, endY = rect.Bottom / 2;
    for (std::int64_t x = rect.Left, y = rect.Top; x < endX && y < endY;) {
        const bool last = !(x + s < endX && y + s < endY);
        if (!drawBand(x, y, colours.Current(), last))
            break;
        x += s;
        y += s;
        colours.Next(y);
    }
}

// True when copying onto the canvas stores the source's colours as a fill of
// those colours would: a plain copy onto a surface that is not monochrome (a copy
// into a monochrome surface compares with the source's background colour instead).
bool PlainCopy(const TCanvas& canvas) noexcept
{
    return canvas.CopyMode() == cmSrcCopy && canvas.Surface() && !canvas.Surface()->IsMonochrome();
}

// Tiling a strip whose every row is one colour across [left, right) stores, row
// by row, exactly a fill of that colour; one fill per run of equal rows does it
// without a copy per tile and row. The canvas's brush is restored afterwards.
void FillUniformRows(TCanvas& canvas, const TBitmap& strip, std::int32_t left, std::int32_t right, std::int32_t top)
{
    TCanvasStateGuard guard(canvas);
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(bsSolid);
    const Raster& image = strip.Image();
    for (std::int32_t y0 = 0; y0 < image.Height();) {
        const TColor color = image.GetColor(0, y0);
        std::int32_t y1 = y0 + 1;
        while (y1 < image.Height() && image.GetColor(0, y1) == color)
            ++y1;
        canvas.Brush().SetColor(color);
        canvas.FillRect(Rect(left, top + y0, right, top + y1));
        y0 = y1;
    }
}

} // namespace

// ---- Painters -----------------------------------------------------------------

void LineGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    TDirection direction, std::int32_t lineSize)
{
    const auto setup = Prepare(rect, colors, colorCount, lineSize);
    if (!setup)
        return;
    const bool horizontal = direction != diVertical;
    const std::int64_t s = setup->lineSize;
    const std::int64_t first = horizontal ? rect.Top : rect.Left;
    const std::int64_t end = horizontal ? rect.Bottom : rect.Right;
    BandColors colours(colors, setup->count, (end - first) / setup->count, setup->lineSize);
    // Bands past the visible part change nothing, and the loop stops there;
    // bands before it are counted (the colour walks on) but not filled.
    const TRect clip = canvas.ClipRect();
    const std::int64_t visibleFirst = horizontal ? clip.Top : clip.Left;
    const std::int64_t visibleEnd = horizontal ? clip.Bottom : clip.Right;
    for (std::int64_t p = first; p <= end && p < visibleEnd;) {
        if (p + s > visibleFirst) {
            canvas.Brush().SetColor(colours.Current());
            const auto a = Clamp32(p), b = Clamp32(p + s);
            canvas.FillRect(horizontal ? Rect(rect.Left, a, rect.Right, b) : Rect(a, rect.Top, b, rect.Bottom));
        }
        p += s;
        colours.Next(p);
    }
}

void FastLineGrad(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    TDirection direction, std::int32_t lineSize)
{
    if (rect.Right == 0 || rect.Bottom == 0 || colors.empty())
        return;
    const TRect visible = Intersect(rect, canvas.ClipRect());
    if (visible.IsEmpty())
        return;
    const bool horizontal = direction != diVertical;
    const std::int64_t extent
        = horizontal ? static_cast<std::int64_t>(rect.Bottom) - rect.Top : static_cast<std::int64_t>(rect.Right) - rect.Left;
    if (extent > std::numeric_limits<std::int32_t>::max()) {
        // FIXME: a strip this long has no rectangle to describe it; such an area
        // is painted directly, with its bands counted from its own corner.
        LineGradient(canvas, rect, colors, colorCount, direction, lineSize);
        return;
    }
    // The strip holds only the visible stretch of the bands: a canvas over it
    // shifted by the hidden part runs the bands of the whole extent from 0.
    TBitmap strip;
    TCanvas stripCanvas;
    if (horizontal) {
        strip.SetSize(kStripSide, visible.Height());
        stripCanvas.SetSurface(&strip.Image(), Point(0, rect.Top - visible.Top), Rect(0, 0, kStripSide, visible.Height()));
        LineGradient(stripCanvas, Rect(0, 0, kStripSide, static_cast<std::int32_t>(extent)), colors, colorCount, direction,
            lineSize);
        if (PlainCopy(canvas))
            FillUniformRows(canvas, strip, rect.Left, rect.Right, visible.Top);
        else
            MultiPaint(canvas, strip, Rect(rect.Left, visible.Top, rect.Right, visible.Bottom));
    } else {
        strip.SetSize(visible.Width(), kStripSide);
        stripCanvas.SetSurface(&strip.Image(), Point(rect.Left - visible.Left, 0), Rect(0, 0, visible.Width(), kStripSide));
        LineGradient(stripCanvas, Rect(0, 0, static_cast<std::int32_t>(extent), kStripSide), colors, colorCount, direction,
            lineSize);
        MultiPaint(canvas, strip, Rect(visible.Left, rect.Top, visible.Right, rect.Bottom));
    }
}

void EllipseGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize)
{
    if (!Prepare(rect, colors, colorCount, lineSize))
        return;
    canvas.Pen().SetWidth(0);
    canvas.Pen().SetStyle(psClear);
    const std::int64_t s = std::max(lineSize, 1);
    const TRect clip = canvas.ClipRect();
    auto box = [&](std::int64_t x, std::int64_t y) {
        return Rect(Clamp32(x), Clamp32(y), Clamp32(rect.Right - x), Clamp32(rect.Bottom - y));
    };
    Concentric(rect, colors, colorCount, lineSize, [&](std::int64_t x, std::int64_t y, TColor color, bool last) {
        const TRect band = box(x, y);
        // Each ellipse lies inside the previous one's box.
        if (Intersect(band, clip).IsEmpty())
            return false;
        canvas.Brush().SetColor(color);
        if (last || !SolidBrush(canvas) || !EllipseCovers(box(x + s, y + s), clip))
            canvas.Ellipse(band);
        return true;
    });
}

void RectGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize)
{
    const std::int32_t s = std::max(lineSize, 1);
    const TRect clip = canvas.ClipRect();
    Concentric(rect, colors, colorCount, lineSize, [&](std::int64_t x, std::int64_t y, TColor color, bool last) {
        const TRect band = Rect(Clamp32(x), Clamp32(y), rect.Right, rect.Bottom);
        if (Intersect(band, clip).IsEmpty())
            return false;
        canvas.Brush().SetColor(color);
        if (last || !SolidBrush(canvas)) {
            canvas.FillRect(band);
            return true;
        }
        // The next band covers all but the top and left edges of this one.
        const std::int32_t inner = Clamp32(y + s), innerLeft = Clamp32(x + s);
        const TRect top = Rect(band.Left, band.Top, band.Right, std::min(inner, band.Bottom));
        const TRect left = Rect(band.Left, inner, std::min(innerLeft, band.Right), band.Bottom);
        if (!Intersect(top, clip).IsEmpty())
            canvas.FillRect(top);
        if (!Intersect(left, clip).IsEmpty())
            canvas.FillRect(left);
        return true;
    });
}

void CustomGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize, const TDrawRectEvent& onDrawRect)
{
    if (!Prepare(rect, colors, colorCount, lineSize))
        return;
    canvas.Pen().SetWidth(0);
    canvas.Pen().SetStyle(psClear);
    Concentric(rect, colors, colorCount, lineSize, [&](std::int64_t x, std::int64_t y, TColor color, bool) {
        canvas.Brush().SetColor(color);
        if (onDrawRect)
            onDrawRect(nullptr, canvas, Rect(Clamp32(x), Clamp32(y), rect.Right, rect.Bottom));
        return true;
    });
}

void PaintGradient(TCanvas& canvas, const TRect& rect, const TGradient& gradient)
{
    if (rect.Right == 0 || rect.Bottom == 0)
        return;
    const TColor colors[] = { gradient.Color1(), gradient.Color2(), gradient.Color3(), gradient.Color4(), gradient.Color5() };
    const std::int32_t count = gradient.ColorCount();
    const std::int32_t lineSize = gradient.LineSize();
    switch (gradient.GradientStyle()) {
    case gsLine:
        FastLineGrad(canvas, rect, colors, count, gradient.LineDirection(), lineSize);
        break;
    case gsEllipse:
        EllipseGradient(canvas, rect, colors, count, lineSize);
        break;
    case gsRect:
        RectGradient(canvas, rect, colors, count, lineSize);
        break;
    case gsCustomRect:
        if (gradient.OnDrawRect())
            CustomGradient(canvas, rect, colors, count, lineSize, gradient.OnDrawRect());
        else
            RectGradient(canvas, rect, colors, count, lineSize);
        break;
    }
}

} // namespace plx
