#include "paint/Gradient.h"

#include "color/ColorMan.h"
#include "color/host/Bitmap.h"
#include "color/host/GraphicsObject.h"
#include "color/host/Raster.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "paint/DrawMan.h"
#include "paint/detail/BandWalk.h"
#include "paint/detail/RowBands.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

using detail::BandWalk;

constexpr std::int32_t kStripSide = 8;

std::int32_t Clamp32(std::int64_t v) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Floor division for a positive divisor.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
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

bool SolidBrush(const TCanvas& canvas) noexcept
{
    return canvas.Brush().Style() == bsSolid && !canvas.Brush().Bitmap();
}

// True when copying onto the canvas stores the source's colours as a fill of
// those colours would: a plain copy onto a surface that is not monochrome (a copy
// into a monochrome surface compares with the source's background colour instead).
bool PlainCopy(const TCanvas& canvas) noexcept
{
    return canvas.CopyMode() == cmSrcCopy && canvas.Surface() && !canvas.Surface()->IsMonochrome();
}

// The bands of the concentric styles: band k is inset by k line sizes from the
// top-left corner, for as long as x < Right div 2 and y < Bottom div 2; the
// segments are half the larger of width and height divided by the count.
struct Concentric {
    Concentric(const TRect& rect, const BandSetup& setup) noexcept
        : left(rect.Left)
        , top(rect.Top)
        , right(rect.Right)
        , bottom(rect.Bottom)
        , step(setup.lineSize)
        , segment(std::max(right - left, bottom - top) / setup.count / 2)
    {
        // Right div 2 truncates, as Pascal's div does.
        const std::int64_t endX = right / 2, endY = bottom / 2;
        auto bandsBefore = [this](std::int64_t from, std::int64_t end) {
            return end > from ? (end - from + step - 1) / step : std::int64_t { 0 };
        };
        count = std::min(bandsBefore(left, endX), bandsBefore(top, endY));
    }

    [[nodiscard]] std::int64_t X(std::int64_t k) const noexcept { return left + k * step; }
    [[nodiscard]] std::int64_t Y(std::int64_t k) const noexcept { return top + k * step; }
    [[nodiscard]] BandWalk Walk(std::span<const TColor> colors, std::int32_t colorCount) const
    {
        return BandWalk(colors, colorCount, segment, step, top);
    }

    std::int64_t left, top, right, bottom;
    std::int64_t step;
    std::int64_t segment;
    std::int64_t count { 0 }; //!< bands painted
};

// Writes finished pixels straight into a canvas's surface, for painters whose
// every pixel is one solid colour stored as a plain fill or copy stores it. The
// canvas's listeners hear of the change through one pixel repainted with
// FillRect (see Announce).
class SurfaceWriter {
public:
    explicit SurfaceWriter(TCanvas& canvas) noexcept
        : m_canvas(canvas)
        , m_raster(canvas.Surface())
        , m_origin(canvas.Origin())
        , m_clip(canvas.ClipRect())
    {
    }

    //! The visible part, in canvas coordinates (empty without a surface).
    [[nodiscard]] const TRect& Clip() const noexcept { return m_clip; }
    //! The word a fill of the colour stores on this surface.
    [[nodiscard]] std::uint32_t Word(TColor color) const { return m_raster->Store(color); }
    //! Row y (canvas coordinates, inside Clip), from the clip's left column on.
    [[nodiscard]] std::uint32_t* Row(std::int32_t y) const noexcept
    {
        return m_raster->Row(y + m_origin.Y) + (m_clip.Left + m_origin.X);
    }
    //! Repaints pixel (x, y), which holds color already, with FillRect, so the
    //! canvas reports a change; pen, brush and copy mode are left as they were.
    void Announce(std::int32_t x, std::int32_t y, TColor color) const
    {
        TCanvasStateGuard guard(m_canvas);
        m_canvas.Brush().SetBitmap(nullptr);
        m_canvas.Brush().SetStyle(bsSolid);
        m_canvas.Brush().SetColor(color);
        m_canvas.FillRect(Rect(x, y, x + 1, y + 1));
    }

private:
    TCanvas& m_canvas;
    Raster* m_raster;
    TPoint m_origin;
    TRect m_clip;
};

// The colours of bands [first, first + n) of a walk (which stands at band 0),
// and the words they are stored as.
struct BandPalette {
    std::int64_t first { 0 };
    std::vector<TColor> colors;
    std::vector<std::uint32_t> words;

    [[nodiscard]] std::uint32_t Word(std::int64_t band) const noexcept
    {
        return words[static_cast<std::size_t>(band - first)];
    }
    [[nodiscard]] TColor Color(std::int64_t band) const noexcept
    {
        return colors[static_cast<std::size_t>(band - first)];
    }
};

BandPalette Palette(BandWalk walk, std::int64_t first, std::int64_t last, const SurfaceWriter& out)
{
    BandPalette p;
    p.first = first;
    const auto n = static_cast<std::size_t>(last - first + 1);
    p.colors.reserve(n);
    p.words.reserve(n);
    walk.Advance(static_cast<std::uint64_t>(first));
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0)
            walk.Next();
        p.colors.push_back(walk.Current());
        p.words.push_back(out.Word(p.colors.back()));
    }
    return p;
}

// The colour of the last band, which the painters leave in the brush.
TColor LastColor(BandWalk walk, std::int64_t bands) noexcept
{
    walk.Advance(static_cast<std::uint64_t>(std::max<std::int64_t>(bands - 1, 0)));
    return walk.Current();
}

// ---- Ellipses ---------------------------------------------------------------

// std::ceil without a call into the library: the same value (a zero may lose
// its sign, which no caller sees).
double Ceil(double v) noexcept
{
    if (!(std::fabs(v) < 0x1p52))
        return v; // already whole, or not a number
    const auto t = static_cast<double>(static_cast<std::int64_t>(v));
    return t < v ? t + 1 : t;
}

// The ellipse bands Ellipse(x, y, R - x, B - y) share their centre; on each row
// they give the spans the canvas's Ellipse fills: the pixels whose centres lie
// inside, found from the left end and mirrored. The arithmetic is the canvas's
// own, step by step, so the spans are the same; as every step is monotonic in
// the band, each band's span on a row lies inside the previous band's, and the
// bands covering a row are a prefix of them. Boxes are kept in 64 bits: one
// wider than the 32-bit range (an area over 2^31 pixels wide) keeps its true
// size here, where drawing it through the canvas would clamp it.
class EllipseBands {
public:
    explicit EllipseBands(const Concentric& c) noexcept
        : m_c(c)
        , m_u((static_cast<double>(c.right) - 1) / 2.0)
        , m_v((static_cast<double>(c.bottom) - 1) / 2.0)
    {
    }

    //! The left end of band k's span on row y; false when it misses the row.
    bool Left(std::int64_t k, std::int32_t y, std::int64_t& left) const noexcept
    {
        const std::int64_t y0 = m_c.Y(k);
        if (y < y0 || y >= m_c.bottom - y0)
            return false;
        double inside = 0;
        const double l = LeftEnd(k, y, inside);
        if (inside < 0 || l > m_u + 1e-9)
            return false;
        left = static_cast<std::int64_t>(l);
        return true;
    }
    //! The left end of band k's span on row y, for a band that covers the row.
    [[nodiscard]] std::int64_t CoveringLeft(std::int64_t k, std::int32_t y) const noexcept
    {
        double inside = 0;
        return static_cast<std::int64_t>(LeftEnd(k, y, inside));
    }
    //! The right end (exclusive) of a span with that left end.
    [[nodiscard]] std::int64_t Right(std::int64_t left) const noexcept { return m_c.right - left; }

private:
    // The canvas's steps: the half axes and centre of the box, the row's offset
    // from the centre in half heights, the half width of the span there, and its
    // left end rounded up (with the canvas's tolerance).
    double LeftEnd(std::int64_t k, std::int32_t y, double& inside) const noexcept
    {
        const std::int64_t x0 = m_c.X(k), y0 = m_c.Y(k);
        const double a = static_cast<double>(m_c.right - 2 * x0) / 2.0;
        const double b = static_cast<double>(m_c.bottom - 2 * y0) / 2.0;
        const double t = (y - m_v) / b;
        inside = 1.0 - t * t;
        const double half = a * std::sqrt(std::max(inside, 0.0));
        return Ceil(m_u - half - 1e-9);
    }

    const Concentric& m_c;
    double m_u, m_v;
};

// The first k in [from, to) for which pred(k) is false, pred being true up to
// some point and false after it.
template <class Pred>
std::int64_t FirstFalse(std::int64_t from, std::int64_t to, Pred pred)
{
    while (from < to) {
        const std::int64_t mid = from + (to - from) / 2;
        if (pred(mid))
            from = mid + 1;
        else
            to = mid;
    }
    return from;
}

// The same, searching outwards from hint first: cheap when the answer is near.
template <class Pred>
std::int64_t FirstFalseNear(std::int64_t from, std::int64_t to, std::int64_t hint, Pred pred)
{
    hint = std::clamp(hint, from, to);
    std::int64_t lo = from, hi = to;
    if (hint < to && pred(hint)) {
        lo = hint + 1;
        for (std::int64_t step = 1;; step *= 2) {
            const std::int64_t j = lo + step - 1;
            if (j >= to)
                break;
            if (!pred(j)) {
                hi = j;
                break;
            }
            lo = j + 1;
        }
    } else {
        hi = hint;
        for (std::int64_t step = 1;; step *= 2) {
            const std::int64_t j = hi - step;
            if (j < from)
                break;
            if (pred(j)) {
                lo = j + 1;
                break;
            }
            hi = j;
        }
    }
    return FirstFalse(lo, hi, pred);
}

// Which bands to visit on one row: [first, end) (end = first: none).
struct RowBands {
    std::int64_t first { 0 };
    std::int64_t end { 0 };
};

// Where the searches of VisibleBands ended on a row, a good start for the next.
struct RowSearch {
    std::int64_t covering { 0 };
    std::int64_t end { 0 };
    std::int64_t leftOuter { 0 };
    std::int64_t rightOuter { 0 };
};

// For many bands, the bands that show on row y within [cl, cr): from the
// outermost whose span edge lies in the window to the first that lies wholly
// outside it, which then counts as the innermost.
RowBands VisibleBands(const EllipseBands& bands, std::int64_t count, std::int32_t y, std::int64_t cl, std::int64_t cr,
    RowSearch& near)
{
    std::int64_t left = 0;
    auto at = [&](std::int64_t k) {
        [[maybe_unused]] bool covers = bands.Left(k, y, left);
        return left;
    };
    near.covering = FirstFalseNear(0, count, near.covering, [&](std::int64_t k) { return bands.Left(k, y, left); });
    near.end = FirstFalseNear(0, near.covering, near.end, [&](std::int64_t k) {
        const std::int64_t l = at(k);
        return l < cr && bands.Right(l) > cl;
    });
    if (near.end == 0)
        return {};
    // The last band whose left end is at or before cl, and the last whose right
    // end is at or after cr: the runs of all bands before them lie outside.
    near.leftOuter = FirstFalseNear(0, near.end, near.leftOuter, [&](std::int64_t k) { return at(k) <= cl; });
    near.rightOuter = FirstFalseNear(0, near.end, near.rightOuter, [&](std::int64_t k) { return bands.Right(at(k)) >= cr; });
    return { std::max<std::int64_t>(std::min(near.leftOuter, near.rightOuter) - 1, 0), near.end };
}

// Writes the runs of one row, in ascending order and next to each other: a
// short run goes out as one block of four words, whose surplus the following
// runs overwrite (so only a run that ends the row is written exactly).
class RunWriter {
public:
    RunWriter(std::uint32_t* row, std::int64_t cl, std::int64_t cr, std::int64_t end) noexcept
        : m_row(row)
        , m_cl(cl)
        , m_cr(cr)
        , m_end(std::min(end, cr))
    {
    }
    //! The band of the first run written, or -1.
    [[nodiscard]] std::int64_t FirstBand() const noexcept { return m_firstBand; }

    void Run(std::int64_t x0, std::int64_t x1, std::int64_t band, std::uint32_t word) noexcept
    {
        x0 = std::max(x0, m_cl);
        x1 = std::min(x1, m_cr);
        if (x0 >= x1)
            return;
        if (m_firstBand < 0)
            m_firstBand = band;
        std::uint32_t* p = m_row + (x0 - m_cl);
        std::uint32_t* stop = m_row + (x1 - m_cl);
        if (x0 + 4 <= m_end) {
            const std::uint32_t block[4] = { word, word, word, word };
            std::memcpy(p, block, sizeof(block));
            p += 4;
        }
        for (; p < stop; ++p)
            *p = word;
    }

private:
    std::uint32_t* m_row;
    std::int64_t m_cl, m_cr, m_end;
    std::int64_t m_firstBand { -1 };
};

// The columns a row painted, [from, to), and the band of its first pixel.
struct RowPainted {
    std::int64_t from { 0 };
    std::int64_t to { 0 };
    std::int64_t band { -1 };
};

// Paints row y with the bands [visit.first, visit.end), all of which cover it:
// band k takes its span minus the next band's, the last its whole span. The
// left ends are worked out first, in a loop without branches on the data (so
// the divisions and square roots of many bands overlap), then the runs are
// written from left to right.
RowPainted PaintEllipseRow(const EllipseBands& bands, const BandPalette& palette, RowBands visit,
    std::int32_t y, std::uint32_t* row, std::int64_t cl, std::int64_t cr, std::int64_t* lefts) noexcept
{
    const std::int64_t n = visit.end - visit.first;
    if (n <= 0)
        return {};
    for (std::int64_t i = 0; i < n; ++i)
        lefts[i] = bands.CoveringLeft(visit.first + i, y);
    const std::int64_t from = std::max(lefts[0], cl), to = std::min(bands.Right(lefts[0]), cr);
    RunWriter out(row, cl, cr, to);
    for (std::int64_t i = 0; i + 1 < n; ++i)
        out.Run(lefts[i], lefts[i + 1], visit.first + i, palette.Word(visit.first + i));
    out.Run(lefts[n - 1], bands.Right(lefts[n - 1]), visit.end - 1, palette.Word(visit.end - 1));
    for (std::int64_t i = n - 2; i >= 0; --i)
        out.Run(bands.Right(lefts[i + 1]), bands.Right(lefts[i]), visit.first + i, palette.Word(visit.first + i));
    return { from, to, out.FirstBand() };
}

// Every pixel gets the colour of the last band that covers it, written once.
// The bands are symmetric about the middle row, so a row and its mirror image
// have the same spans: where both show, the second is a copy of the first.
void PaintEllipseBands(TCanvas& canvas, const Concentric& c, std::span<const TColor> colors, std::int32_t colorCount)
{
    const SurfaceWriter out(canvas);
    const TRect clip = out.Clip();
    const EllipseBands bands(c);
    const BandWalk walk = c.Walk(colors, colorCount);
    // Band 0 covers the rows [Top, Bottom - Top).
    const std::int32_t firstRow = Clamp32(std::max<std::int64_t>(clip.Top, c.top));
    const std::int32_t endRow = Clamp32(std::min<std::int64_t>(clip.Bottom, c.bottom - c.top));
    if (clip.IsEmpty() || c.count == 0 || firstRow >= endRow)
        return;
    const std::int64_t cl = clip.Left, cr = clip.Right;
    auto mirror = [&](std::int64_t y) { return c.bottom - 1 - y; };
    auto shows = [&](std::int64_t y) { return y >= firstRow && y < endRow; };
    // The rows worked out: those above the middle, and those whose mirror
    // image does not show.
    std::vector<std::int32_t> rows;
    for (std::int32_t y = firstRow; y < endRow; ++y)
        if (y <= mirror(y) || !shows(mirror(y)))
            rows.push_back(y);
    const auto count = static_cast<std::int32_t>(rows.size());

    // Few bands are all visited from the outermost, up to the last that covers
    // the row; many, only where they show (found beforehand).
    const bool few = c.count <= 2 * (static_cast<std::int64_t>(clip.Width()) + clip.Height()) + 64;
    std::vector<RowBands> visits;
    BandPalette palette;
    std::int64_t longest = c.count;
    if (few) {
        palette = Palette(walk, 0, c.count - 1, out);
    } else {
        visits.resize(rows.size());
        std::int64_t lowest = c.count, highest = -1;
        longest = 0;
        RowSearch near;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            visits[i] = VisibleBands(bands, c.count, rows[i], cl, cr, near);
            if (visits[i].first < visits[i].end) {
                lowest = std::min(lowest, visits[i].first);
                highest = std::max(highest, visits[i].end - 1);
                longest = std::max(longest, visits[i].end - visits[i].first);
            }
        }
        if (highest < 0)
            return;
        palette = Palette(walk, lowest, highest, out);
    }

    const auto scratch = static_cast<std::size_t>(longest);
    std::vector<std::int64_t> lefts(scratch * detail::UsableCores());
    std::vector<RowPainted> painted(rows.size());
    detail::ForRowBands(count, static_cast<std::int64_t>(endRow - firstRow) * (cr - cl),
        [&](std::int32_t band, std::int32_t from, std::int32_t to) {
            std::int64_t* own = lefts.data() + static_cast<std::size_t>(band) * scratch;
            std::int64_t covering = 0;
            for (std::int32_t i = from; i < to; ++i) {
                const auto at = static_cast<std::size_t>(i);
                const std::int32_t y = rows[at];
                RowBands visit;
                if (few) {
                    std::int64_t left = 0;
                    covering = FirstFalseNear(0, c.count, covering, [&](std::int64_t k) { return bands.Left(k, y, left); });
                    visit = { 0, covering };
                } else {
                    visit = visits[at];
                }
                const RowPainted p = PaintEllipseRow(bands, palette, visit, y, out.Row(y), cl, cr, own);
                painted[at] = p;
                const std::int64_t other = mirror(y);
                if (p.from < p.to && other != y && shows(other))
                    std::copy(out.Row(y) + (p.from - cl), out.Row(y) + (p.to - cl), out.Row(static_cast<std::int32_t>(other)) + (p.from - cl));
            }
        });
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (painted[i].from < painted[i].to) {
            out.Announce(static_cast<std::int32_t>(painted[i].from), rows[i], palette.Color(painted[i].band));
            return;
        }
}

// ---- Rectangles ---------------------------------------------------------------

// Pixel (x, y) lies in bands 0 .. min(column band, row band), so the last band
// covering it is the smaller of the two (and at most the last band): each row is
// the row of column bands up to the row's own band, then that band to the end.
void PaintRectBands(TCanvas& canvas, const Concentric& c, std::span<const TColor> colors, std::int32_t colorCount)
{
    const SurfaceWriter out(canvas);
    const TRect clip = out.Clip();
    const std::int64_t c0 = std::max<std::int64_t>(clip.Left, c.left), c1 = std::min<std::int64_t>(clip.Right, c.right);
    const std::int64_t r0 = std::max<std::int64_t>(clip.Top, c.top), r1 = std::min<std::int64_t>(clip.Bottom, c.bottom);
    if (clip.IsEmpty() || c.count == 0 || c0 >= c1 || r0 >= r1)
        return;
    auto columnBand = [&](std::int64_t x) { return std::min((x - c.left) / c.step, c.count - 1); };
    auto rowBand = [&](std::int64_t y) { return std::min((y - c.top) / c.step, c.count - 1); };
    const std::int64_t lowest = std::min(columnBand(c0), rowBand(r0));
    const std::int64_t highest = std::min(columnBand(c1 - 1), rowBand(r1 - 1));
    const BandPalette palette = Palette(c.Walk(colors, colorCount), lowest, highest, out);

    const auto width = static_cast<std::size_t>(c1 - c0);
    std::vector<std::uint32_t> columns(width);
    for (std::size_t i = 0; i < width; ++i)
        columns[i] = palette.Word(std::min(columnBand(c0 + static_cast<std::int64_t>(i)), highest));
    // Copies and fills at memory speed: more threads would gain little.
    const std::int64_t skip = c0 - clip.Left;
    for (auto y = static_cast<std::int32_t>(r0); y < r1; ++y) {
        // Columns beyond the last visible band hold that band already.
        const std::int64_t band = std::min(rowBand(y), highest);
        const auto split = static_cast<std::size_t>(std::clamp<std::int64_t>(c.X(band) - c0, 0, static_cast<std::int64_t>(width)));
        std::uint32_t* row = out.Row(y) + skip;
        std::copy_n(columns.data(), split, row);
        std::fill(row + split, row + width, palette.Word(band));
    }
    out.Announce(static_cast<std::int32_t>(c0), static_cast<std::int32_t>(r0), palette.Color(lowest));
}

// ---- Lines --------------------------------------------------------------------

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

// Vertical bands copied plainly: every visible row is the same, so one row of
// the visible columns is made once and copied to the others.
void CopyVerticalBands(TCanvas& canvas, const TRect& rect, const TRect& visible, std::span<const TColor> colors,
    const BandSetup& setup)
{
    const SurfaceWriter out(canvas);
    const std::int64_t s = setup.lineSize;
    const std::int64_t extent = static_cast<std::int64_t>(rect.Right) - rect.Left;
    // The strip's bands start at the rectangle's left edge, as at the origin.
    BandWalk walk(colors, setup.count, extent / setup.count, s, 0);
    const std::int64_t firstBand = (static_cast<std::int64_t>(visible.Left) - rect.Left) / s;
    walk.Advance(static_cast<std::uint64_t>(firstBand));
    const auto width = static_cast<std::size_t>(visible.Width());
    std::vector<std::uint32_t> line(width);
    std::int64_t band = firstBand;
    const TColor firstColor = walk.Current();
    std::uint32_t word = out.Word(firstColor);
    for (std::size_t i = 0; i < width; ++i) {
        const std::int64_t b = (static_cast<std::int64_t>(visible.Left) + static_cast<std::int64_t>(i) - rect.Left) / s;
        if (b != band) {
            walk.Advance(static_cast<std::uint64_t>(b - band));
            band = b;
            word = out.Word(walk.Current());
        }
        line[i] = word;
    }
    // Copies at memory speed: more threads would gain little.
    const std::int64_t skip = static_cast<std::int64_t>(visible.Left) - out.Clip().Left;
    for (std::int32_t y = visible.Top; y < visible.Bottom; ++y)
        std::copy_n(line.data(), width, out.Row(y) + skip);
    out.Announce(visible.Left, visible.Top, firstColor);
}

// Vertical bands filled plainly with a solid brush: every visible row is the
// same, so one row is made from the bands the walk passes over and copied to the
// others, instead of a fill per one-pixel-wide column. Leaves walk and k where
// the fills would have stopped, and returns the colour of the last band made.
std::optional<TColor> FillVerticalBands(TCanvas& canvas, const TRect& rect, BandWalk& walk, std::int64_t& k,
    std::int64_t bands, std::int64_t lineSize)
{
    const SurfaceWriter out(canvas);
    const TRect& clip = out.Clip();
    std::vector<std::uint32_t> line(static_cast<std::size_t>(std::max<std::int64_t>(clip.Width(), 0)));
    std::int64_t from = clip.Right, to = clip.Left;
    TColor firstColor = 0;
    std::optional<TColor> last;
    for (; k < bands && walk.Position() < clip.Right; ++k, walk.Next()) {
        last = walk.Current();
        const std::int64_t a = std::max<std::int64_t>(walk.Position(), clip.Left);
        const std::int64_t b = std::min<std::int64_t>(walk.Position() + lineSize, clip.Right);
        if (a >= b)
            continue;
        std::fill(line.begin() + (a - clip.Left), line.begin() + (b - clip.Left), out.Word(*last));
        if (a < from) {
            from = a;
            firstColor = *last;
        }
        to = std::max(to, b);
    }
    const std::int32_t top = std::max(clip.Top, rect.Top), bottom = std::min(clip.Bottom, rect.Bottom);
    if (top >= bottom || from >= to)
        return last;
    for (std::int32_t y = top; y < bottom; ++y)
        std::copy(line.begin() + (from - clip.Left), line.begin() + (to - clip.Left), out.Row(y) + (from - clip.Left));
    out.Announce(static_cast<std::int32_t>(from), top, firstColor);
    return last;
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
    // Bands start at first, first + s, ... up to end (included).
    const std::int64_t bands = end >= first ? (end - first) / s + 1 : 0;
    BandWalk walk(colors, setup->count, (end - first) / setup->count, s, first);
    // Bands outside the visible part change nothing: the walk jumps over those
    // before it, and the fills stop after it.
    const TRect clip = canvas.ClipRect();
    const std::int64_t visibleFirst = horizontal ? clip.Top : clip.Left;
    const std::int64_t visibleEnd = horizontal ? clip.Bottom : clip.Right;
    std::int64_t k = std::clamp<std::int64_t>(FloorDiv(visibleFirst - first, s), 0, std::max<std::int64_t>(bands - 1, 0));
    walk.Advance(static_cast<std::uint64_t>(k));
    if (!horizontal && canvas.Surface() && SolidBrush(canvas)) {
        if (const std::optional<TColor> last = FillVerticalBands(canvas, rect, walk, k, bands, s))
            canvas.Brush().SetColor(*last);
    }
    for (; k < bands && walk.Position() < visibleEnd; ++k, walk.Next()) {
        canvas.Brush().SetColor(walk.Current());
        const std::int64_t p = walk.Position();
        const auto a = Clamp32(p), b = Clamp32(p + s);
        canvas.FillRect(horizontal ? Rect(rect.Left, a, rect.Right, b) : Rect(a, rect.Top, b, rect.Bottom));
    }
    if (k < bands)
        canvas.Brush().SetColor(LastColor(walk, bands - k));
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
    if (!horizontal && PlainCopy(canvas)) {
        const auto setup = Prepare(Rect(0, 0, static_cast<std::int32_t>(extent), kStripSide), colors, colorCount, lineSize);
        CopyVerticalBands(canvas, rect, visible, colors, *setup);
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
    const auto setup = Prepare(rect, colors, colorCount, lineSize);
    if (!setup)
        return;
    canvas.Pen().SetWidth(0);
    canvas.Pen().SetStyle(psClear);
    const Concentric c(rect, *setup);
    const BandWalk walk = c.Walk(colors, setup->count);
    if (canvas.Surface() && SolidBrush(canvas) && canvas.Pen().Mode() == pmCopy) {
        // Each fill replaces what lies under it, so only the last band covering
        // a pixel shows.
        PaintEllipseBands(canvas, c, colors, setup->count);
    } else {
        // Patterns and pen modes combine with what the outer bands left: every
        // band is drawn whole, until one misses the visible part (so do all
        // inside it).
        const TRect clip = canvas.ClipRect();
        BandWalk band = walk;
        for (std::int64_t k = 0; k < c.count; ++k, band.Next()) {
            const std::int64_t x = c.X(k), y = c.Y(k);
            const TRect box = Rect(Clamp32(x), Clamp32(y), Clamp32(c.right - x), Clamp32(c.bottom - y));
            if (Intersect(box, clip).IsEmpty())
                break;
            canvas.Brush().SetColor(band.Current());
            canvas.Ellipse(box);
        }
    }
    if (c.count > 0)
        canvas.Brush().SetColor(LastColor(walk, c.count));
}

void RectGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize)
{
    const auto setup = Prepare(rect, colors, colorCount, lineSize);
    if (!setup)
        return;
    const Concentric c(rect, *setup);
    const BandWalk walk = c.Walk(colors, setup->count);
    if (canvas.Surface() && SolidBrush(canvas)) {
        PaintRectBands(canvas, c, colors, setup->count);
    } else {
        const TRect clip = canvas.ClipRect();
        BandWalk band = walk;
        for (std::int64_t k = 0; k < c.count; ++k, band.Next()) {
            const TRect box = Rect(Clamp32(c.X(k)), Clamp32(c.Y(k)), rect.Right, rect.Bottom);
            if (Intersect(box, clip).IsEmpty())
                break;
            canvas.Brush().SetColor(band.Current());
            canvas.FillRect(box);
        }
    }
    if (c.count > 0)
        canvas.Brush().SetColor(LastColor(walk, c.count));
}

void CustomGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize, const TDrawRectEvent& onDrawRect)
{
    // The handler may replace or free the one it was given (the gradient's own,
    // say) while it runs: the bands are drawn with a copy.
    const TDrawRectEvent handler = onDrawRect;
    const auto setup = Prepare(rect, colors, colorCount, lineSize);
    if (!setup)
        return;
    canvas.Pen().SetWidth(0);
    canvas.Pen().SetStyle(psClear);
    const Concentric c(rect, *setup);
    BandWalk band = c.Walk(colors, setup->count);
    for (std::int64_t k = 0; k < c.count; ++k, band.Next()) {
        canvas.Brush().SetColor(band.Current());
        if (handler)
            handler(nullptr, canvas, Rect(Clamp32(c.X(k)), Clamp32(c.Y(k)), rect.Right, rect.Bottom));
    }
}

void PaintGradient(TCanvas& canvas, const TRect& rect, const TGradient& gradient)
{
    if (rect.Right == 0 || rect.Bottom == 0)
        return;
    // Everything is read before the first band: a band handler may change or
    // free the gradient.
    const TColor colors[] = { gradient.Color1(), gradient.Color2(), gradient.Color3(), gradient.Color4(), gradient.Color5() };
    const std::int32_t count = gradient.ColorCount();
    const std::int32_t lineSize = gradient.LineSize();
    const TDirection direction = gradient.LineDirection();
    switch (gradient.GradientStyle()) {
    case gsLine:
        FastLineGrad(canvas, rect, colors, count, direction, lineSize);
        break;
    case gsEllipse:
        EllipseGradient(canvas, rect, colors, count, lineSize);
        break;
    case gsRect:
        RectGradient(canvas, rect, colors, count, lineSize);
        break;
    case gsCustomRect:
        if (const TDrawRectEvent handler = gradient.OnDrawRect())
            CustomGradient(canvas, rect, colors, count, lineSize, handler);
        else
            RectGradient(canvas, rect, colors, count, lineSize);
        break;
    }
}

} // namespace plx
