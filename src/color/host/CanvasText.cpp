// TCanvas's text calls: measuring and drawing strings with the font engine.
#include "color/host/Canvas.h"

#include "color/host/FontEngine.h"
#include "color/host/Raster.h"
#include "color/host/SysColors.h"
#include "color/host/detail/CanvasAccess.h"
#include "color/host/detail/GdiTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace plx {

namespace {

using detail::FontMetrics;
using detail::ClipTo;
using detail::WideRect;

// Writes glyphs and solid areas into a raster within a clip rectangle. Positions
// are raster coordinates in 64 bits: text may start or run far outside the
// int32 range, and only what meets the clip is touched.
class TextPainter {
public:
    TextPainter(Raster& raster, const TRect& clip, TColor color)
        : m_raster(raster)
        , m_clip(clip)
        , m_color(color)
        , m_word(raster.Store(color))
    {
    }

    [[nodiscard]] const TRect& Clip() const noexcept { return m_clip; }

    void Fill(const WideRect& area, std::uint32_t word) noexcept
    {
        const TRect r = ClipTo(area, m_clip);
        for (std::int32_t y = r.Top; y < r.Bottom; ++y)
            std::fill(m_raster.Row(y) + r.Left, m_raster.Row(y) + r.Right, word);
    }
    void Fill(const WideRect& area) noexcept { Fill(area, m_word); }

    // The pixels whose centres fall inside a rectangle of text space (u along the
    // baseline, v down from the cell's top), turned by the angle about the
    // origin (ox, oy). Positions are taken relative to the origin, so the
    // arithmetic is as exact far away as near (0, 0).
    void FillTurned(double u0, double v0, double u1, double v1, std::int64_t ox, std::int64_t oy, double c, double s,
        std::uint32_t word)
    {
        double xs[4], ys[4];
        const double us[4] = { u0, u1, u1, u0 }, vs[4] = { v0, v0, v1, v1 };
        for (int i = 0; i < 4; ++i) {
            xs[i] = us[i] * c + vs[i] * s;
            ys[i] = -us[i] * s + vs[i] * c;
        }
        const WideRect box { ox + Floor(*std::min_element(xs, xs + 4)) - 1, oy + Floor(*std::min_element(ys, ys + 4)) - 1,
            ox + Floor(*std::max_element(xs, xs + 4)) + 2, oy + Floor(*std::max_element(ys, ys + 4)) + 2 };
        const TRect r = ClipTo(box, m_clip);
        for (std::int32_t y = r.Top; y < r.Bottom; ++y) {
            std::uint32_t* row = m_raster.Row(y);
            const double dy = static_cast<double>(y - oy) + 0.5;
            for (std::int32_t x = r.Left; x < r.Right; ++x) {
                const double dx = static_cast<double>(x - ox) + 0.5;
                const double u = dx * c - dy * s, v = dx * s + dy * c;
                if (u >= u0 && u < u1 && v >= v0 && v < v1)
                    row[x] = word;
            }
        }
    }

    void Glyph(const detail::Glyph& g, std::int64_t x, std::int64_t y)
    {
        const TRect r = ClipTo({ x, y, x + g.width, y + g.height }, m_clip);
        if (r.IsEmpty())
            return;
        const auto stride = static_cast<std::size_t>(g.width);
        const auto columns = static_cast<std::size_t>(r.Right - r.Left);
        const std::uint8_t* cover
            = g.coverage.data() + static_cast<std::size_t>(r.Top - y) * stride + static_cast<std::size_t>(r.Left - x);
        for (std::int32_t row = r.Top; row < r.Bottom; ++row, cover += stride) {
            std::uint32_t* out = m_raster.Row(row) + r.Left;
            for (std::size_t i = 0; i < columns; ++i) {
                const std::uint8_t a = cover[i];
                if (a == 255)
                    out[i] = m_word;
                else if (a != 0)
                    out[i] = m_raster.Store(Blend(static_cast<TColor>(out[i] & 0xFFFFFF), a));
            }
        }
    }

    [[nodiscard]] std::uint32_t Word() const noexcept { return m_word; }

private:
    static std::int64_t Floor(double v) noexcept
    {
        return static_cast<std::int64_t>(std::floor(std::clamp(v, -4e18, 4e18)));
    }

    [[nodiscard]] TColor Blend(TColor under, std::uint32_t a) const noexcept
    {
        auto mix = [a](std::uint32_t fg, std::uint32_t bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
        return RGB(static_cast<std::int32_t>(mix(GetRValue(m_color), GetRValue(under))),
            static_cast<std::int32_t>(mix(GetGValue(m_color), GetGValue(under))),
            static_cast<std::int32_t>(mix(GetBValue(m_color), GetBValue(under))));
    }

    Raster& m_raster;
    TRect m_clip;
    TColor m_color;
    std::uint32_t m_word;
};

void CosSin(std::int32_t escapement, double angle, double& c, double& s) noexcept
{
    if (escapement % 900 == 0) {
        static constexpr double kCos[] = { 1, 0, -1, 0 }, kSin[] = { 0, 1, 0, -1 };
        std::int32_t quadrant = ((escapement / 900) % 4 + 4) % 4;
        c = kCos[quadrant];
        s = kSin[quadrant];
        return;
    }
    c = std::cos(angle);
    s = std::sin(angle);
}

} // namespace

detail::FontSpec detail::CanvasAccess::TextFont(const TCanvas& canvas)
{
    FontSpec spec;
    HFONT selected = canvas.m_handle ? SelectedFont(canvas.m_handle) : 0;
    if (auto* gdiFont = selected ? Lookup<GdiFont>(selected) : nullptr) {
        const LOGFONTA& lf = gdiFont->logFont;
        if (lf.lfFaceName[0] != '\0')
            spec.name.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
        spec.height = lf.lfHeight;
        spec.width = std::max(lf.lfWidth, 0);
        spec.escapement = lf.lfEscapement;
        spec.weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
        spec.italic = lf.lfItalic != 0;
        spec.underline = lf.lfUnderline != 0;
        spec.strikeOut = lf.lfStrikeOut != 0;
        spec.antiAliased = lf.lfQuality == ANTIALIASED_QUALITY || lf.lfQuality == CLEARTYPE_QUALITY;
        return spec;
    }
    const TFont& font = canvas.m_font;
    TFontStyles style = font.Style();
    spec.name = font.Name();
    spec.height = font.Height();
    spec.weight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    spec.italic = style.Contains(fsItalic);
    spec.underline = style.Contains(fsUnderline);
    spec.strikeOut = style.Contains(fsStrikeOut);
    spec.antiAliased = font.AntiAliased();
    return spec;
}

TSize TCanvas::TextExtent(std::string_view text) const
{
    auto font = detail::FontEngine::Instance().Resolve(detail::CanvasAccess::TextFont(*this));
    return { font->Width(detail::DecodeText(text)), font->Metrics().height };
}

std::int32_t TCanvas::TextWidth(std::string_view text) const
{
    return TextExtent(text).cx;
}

std::int32_t TCanvas::TextHeight(std::string_view text) const
{
    return TextExtent(text).cy;
}

void TCanvas::TextOut(std::int32_t x, std::int32_t y, std::string_view text)
{
    detail::TextPaint options;
    options.opaque = m_brush.Style() == bsSolid;
    const std::int32_t width = detail::CanvasAccess::PaintText(*this, x, y, detail::DecodeText(text), options);
    m_penPos = { SaturatingAdd(x, width), y };
}

void TCanvas::TextRect(const TRect& rect, std::int32_t x, std::int32_t y, std::string_view text)
{
    if (m_raster && m_brush.Style() == bsSolid) {
        const TRect area = ClipTo(WideRect::From(rect).Offset(m_origin), DeviceClip());
        const std::uint32_t word = m_raster->Store(ColorToRGB(m_brush.Color()));
        for (std::int32_t row = area.Top; row < area.Bottom; ++row)
            std::fill(m_raster->Row(row) + area.Left, m_raster->Row(row) + area.Right, word);
    }
    detail::TextPaint options;
    options.clip = &rect;
    detail::CanvasAccess::PaintText(*this, x, y, detail::DecodeText(text), options);
}

namespace {

// Pen offsets along the baseline: pens[i] is where character i starts, and the
// last entry is the text's width.
std::vector<std::int64_t> PenOffsets(detail::FontInstance& font, std::u32string_view text)
{
    std::vector<std::int64_t> pens;
    pens.reserve(text.size() + 1);
    std::int64_t pen = 0;
    for (char32_t ch : text) {
        pens.push_back(pen);
        pen += font.Advance(ch);
    }
    pens.push_back(pen);
    return pens;
}

// A line across the text (underline, strike-out) or under one character
// (accelerators), as a span of text space: [u0, u1) x [v0, v0 + thickness).
struct TextLine {
    std::int64_t u0, u1, v0, thickness;
};

std::vector<TextLine> TextLines(const detail::FontInstance& font, const std::vector<std::int64_t>& pens,
    const detail::TextPaint& options)
{
    const FontMetrics& m = font.Metrics();
    const std::size_t length = pens.size() - 1;
    std::vector<TextLine> lines;
    const std::int64_t underlineTop = m.ascent + m.underlineOffset;
    if (font.Spec().underline)
        lines.push_back({ 0, pens.back(), underlineTop, m.underlineThickness });
    if (font.Spec().strikeOut)
        lines.push_back({ 0, pens.back(), m.ascent + m.strikeOutOffset, m.strikeOutThickness });
    for (std::size_t i : options.underlined)
        if (i < length)
            lines.push_back({ pens[i], pens[i + 1], underlineTop, m.underlineThickness });
    return lines;
}

// What one call draws: the text, its pen offsets and lines, and the cell's
// top-left corner in raster coordinates.
struct TextRun {
    std::u32string_view text;
    const std::vector<std::int64_t>& pens;
    const std::vector<TextLine>& lines;
    std::int64_t ox, oy;
    bool opaque;
    std::uint32_t background;
};

void PaintUpright(TextPainter& painter, detail::FontInstance& font, const TextRun& run)
{
    const FontMetrics& m = font.Metrics();
    const std::int64_t ox = run.ox, oy = run.oy;
    if (run.opaque)
        painter.Fill({ ox, oy, ox + run.pens.back(), oy + m.height }, run.background);
    // Glyphs well outside the clip are not even rendered; a cell height of
    // margin covers what a glyph draws beyond its advance and its cell.
    const std::int64_t margin = m.height;
    const TRect& clip = painter.Clip();
    if (oy + m.height + margin >= clip.Top && oy - margin < clip.Bottom) {
        const std::int64_t baseline = oy + m.ascent;
        const std::int64_t* pens = run.pens.data();
        const std::u32string_view text = run.text;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (ox + pens[i + 1] + margin < clip.Left)
                continue;
            if (ox + pens[i] - margin >= clip.Right)
                break;
            const detail::Glyph& g = font.GlyphOf(text[i]);
            painter.Glyph(g, ox + pens[i] + g.left, baseline - g.top);
        }
    }
    for (const TextLine& l : run.lines)
        painter.Fill({ ox + l.u0, oy + l.v0, ox + l.u1, oy + l.v0 + l.thickness });
}

// The cell turns about its top-left corner; each glyph is placed at its turned
// pen position, rounded to whole pixels. A glyph is rendered only when its
// position is near enough to the clip for its picture to reach it.
void PaintTurned(TextPainter& painter, detail::FontInstance& font, const TextRun& run)
{
    const FontMetrics& m = font.Metrics();
    double c = 1, s = 0;
    CosSin(font.Spec().escapement, font.Angle(), c, s);
    if (run.opaque)
        painter.FillTurned(0, 0, static_cast<double>(run.pens.back()), m.height, run.ox, run.oy, c, s, run.background);
    const TRect& clip = painter.Clip();
    for (std::size_t i = 0; i < run.text.size(); ++i) {
        const auto u = static_cast<double>(run.pens[i]);
        const std::int64_t px = run.ox + static_cast<std::int64_t>(std::floor(u * c + m.ascent * s + 0.5));
        const std::int64_t py = run.oy + static_cast<std::int64_t>(std::floor(-u * s + m.ascent * c + 0.5));
        // A glyph's picture lies within its cell and its advance of its pen
        // position, whichever way it is turned; twice that is a safe reach.
        const std::int64_t reach = 2 * (std::int64_t { m.height } + m.averageWidth + (run.pens[i + 1] - run.pens[i]));
        if (px + reach < clip.Left || px - reach >= clip.Right || py + reach < clip.Top || py - reach >= clip.Bottom)
            continue;
        const detail::Glyph& g = font.GlyphOf(run.text[i]);
        painter.Glyph(g, px + g.left, py - g.top);
    }
    for (const TextLine& l : run.lines)
        painter.FillTurned(static_cast<double>(l.u0), static_cast<double>(l.v0), static_cast<double>(l.u1),
            static_cast<double>(l.v0 + l.thickness), run.ox, run.oy, c, s, painter.Word());
}

} // namespace

std::int32_t detail::CanvasAccess::PaintText(TCanvas& canvas, std::int64_t x, std::int64_t y, std::u32string_view text,
    const TextPaint& options)
{
    auto font = FontEngine::Instance().Resolve(TextFont(canvas));
    // Glyphs are fetched one at a time as they are drawn: a large glyph is valid
    // only until the next one is fetched.
    const std::vector<std::int64_t> pens = PenOffsets(*font, text);
    const std::int32_t width = SaturateInt32(pens.back());
    if (!canvas.m_raster)
        return width;
    TRect clip = canvas.DeviceClip();
    if (options.clip)
        clip = ClipTo(WideRect::From(*options.clip).Offset(canvas.m_origin), clip);
    if (clip.IsEmpty())
        return width;

    TextPainter painter(*canvas.m_raster, clip, ColorToRGB(canvas.m_font.Color()));
    const std::vector<TextLine> lines = TextLines(*font, pens, options);
    const TextRun run { text, pens, lines, x + canvas.m_origin.X, y + canvas.m_origin.Y, options.opaque,
        canvas.m_raster->Store(ColorToRGB(canvas.m_brush.Color())) };
    if (font->Spec().escapement % 3600 == 0)
        PaintUpright(painter, *font, run);
    else
        PaintTurned(painter, *font, run);
    canvas.Changed();
    return width;
}

} // namespace plx
