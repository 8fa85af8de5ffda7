#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "color/host/FontEngine.h"
#include "color/host/Gdi.h"
#include "color/host/Raster.h"
#include "color/host/detail/CanvasAccess.h"
#include "color/host/detail/GdiTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

using namespace plx;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

std::unique_ptr<TBitmap> Page(int w, int h, TColor color = clWhite)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect(Rect(0, 0, w, h));
    b->Canvas().Font().SetName("DejaVu Sans");
    b->Canvas().Font().SetHeight(-16);
    b->Canvas().Font().SetColor(clBlack);
    b->Canvas().Brush().SetStyle(bsClear);
    return b;
}

PixelSet PixelsOf(TBitmap& b, TColor c)
{
    PixelSet s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixels(x, y) == c)
                s.insert({ x, y });
    return s;
}

PixelSet PixelsNot(TBitmap& b, TColor c)
{
    PixelSet s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixels(x, y) != c)
                s.insert({ x, y });
    return s;
}

PixelSet Shift(const PixelSet& s, int dx, int dy)
{
    PixelSet out;
    for (auto [x, y] : s)
        out.insert({ x + dx, y + dy });
    return out;
}

TRect BoundsOf(const PixelSet& s)
{
    TRect r { 1 << 30, 1 << 30, -(1 << 30), -(1 << 30) };
    for (auto [x, y] : s) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
    }
    return r;
}

// The glyph pixels of a text drawn black at (x, y) on a fresh white page.
PixelSet Glyphs(const std::string& text, int x, int y, int w = 300, int h = 80, int height = -16)
{
    auto b = Page(w, h);
    b->Canvas().Font().SetHeight(height);
    b->Canvas().TextOut(x, y, text);
    return PixelsOf(*b, clBlack);
}

// Rows on which every pixel of [x0, x1) is black.
std::set<int> FullRows(TBitmap& b, int x0, int x1)
{
    std::set<int> rows;
    for (int y = 0; y < b.Height(); ++y) {
        bool full = true;
        for (int x = x0; x < x1 && full; ++x)
            full = b.Canvas().Pixels(x, y) == clBlack;
        if (full)
            rows.insert(y);
    }
    return rows;
}

} // namespace

// ---- Measuring ------------------------------------------------------------

TEST(TextMetrics, PositiveHeightIsTheCellHeight)
{
    auto b = Page(10, 10);
    for (int h : { 9, 13, 17, 24, 40, 57 }) {
        b->Canvas().Font().SetHeight(h);
        EXPECT_EQ(b->Canvas().TextHeight("Wg"), h);
    }
}

TEST(TextMetrics, NegativeHeightIsTheCharacterHeightAndSizeConverts)
{
    auto b = Page(10, 10);
    TFont& f = b->Canvas().Font();
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16) << "12 points at 96 pixels per inch";
    const int cell16 = b->Canvas().TextHeight("x");
    EXPECT_GT(cell16, 16) << "the cell holds the character height plus internal leading";
    EXPECT_LT(cell16, 24);
    f.SetHeight(-32);
    EXPECT_GT(b->Canvas().TextHeight("x"), cell16);
}

TEST(TextMetrics, WidthIsTheSumOfAdvancesAndExtentHoldsBoth)
{
    auto b = Page(10, 10);
    TCanvas& c = b->Canvas();
    EXPECT_EQ(c.TextWidth(""), 0);
    EXPECT_EQ(c.TextHeight(""), c.TextHeight("Wg")) << "the cell height, also for an empty text";
    EXPECT_EQ(c.TextWidth("AVAV"), 2 * c.TextWidth("AV")) << "no kerning";
    EXPECT_EQ(c.TextWidth("Hello world"), c.TextWidth("Hello") + c.TextWidth(" ") + c.TextWidth("world"));
    TSize e = c.TextExtent("Hello");
    EXPECT_EQ(e.cx, c.TextWidth("Hello"));
    EXPECT_EQ(e.cy, c.TextHeight("Hello"));
}

TEST(TextMetrics, BoldIsWiderAndLargerSizesAreLarger)
{
    auto b = Page(10, 10);
    TCanvas& c = b->Canvas();
    int regular = c.TextWidth("Hello world");
    c.Font().SetStyle({ fsBold });
    EXPECT_GT(c.TextWidth("Hello world"), regular);
    c.Font().SetStyle({});
    c.Font().SetHeight(-32);
    EXPECT_GT(c.TextWidth("Hello world"), regular * 3 / 2);
}

TEST(TextMetrics, HugeHeightsAreCappedNotAllocated)
{
    auto b = Page(50, 50);
    TCanvas& c = b->Canvas();
    c.Font().SetHeight(-1000000);
    EXPECT_LE(c.TextHeight("W"), 3000);
    c.TextOut(0, 0, "W"); // draws a clipped part of a large glyph
    c.Font().SetHeight(1000000);
    EXPECT_LE(c.TextHeight("W"), 3000);
}

TEST(TextMetrics, LargeGlyphsDrawAlikeWithoutBeingCached)
{
    auto b = Page(1500, 900);
    TCanvas& c = b->Canvas();
    c.Font().SetHeight(-700);
    c.TextOut(0, 0, "WW");
    const auto& w = detail::FontEngine::Instance().Resolve(detail::CanvasAccess::TextFont(c))->GlyphOf(U'W');
    EXPECT_GT(w.coverage.size(), 256u << 10) << "larger than the cache takes";
    const int advance = c.TextWidth("W");
    PixelSet first, second;
    for (auto [x, y] : PixelsOf(*b, clBlack))
        (x < advance ? first : second).insert({ x, y });
    ASSERT_GT(first.size(), 10000u);
    EXPECT_EQ(Shift(first, advance, 0), second);
}

// ---- Font names ------------------------------------------------------------

TEST(TextFonts, UnknownNamesFallBackToDejaVuSans)
{
    auto& engine = detail::FontEngine::Instance();
    auto unknown = engine.ResolveFace("No Such Face 4711", 400, false);
    EXPECT_TRUE(unknown.fallback);
    EXPECT_EQ(unknown.family, "DejaVu Sans");
    auto dejavu = engine.ResolveFace("DejaVu Sans", 400, false);
    EXPECT_FALSE(dejavu.fallback);
    EXPECT_EQ(dejavu.file, unknown.file);

    auto b = Page(10, 10);
    int width = b->Canvas().TextWidth("Hello");
    b->Canvas().Font().SetName("No Such Face 4711");
    EXPECT_EQ(b->Canvas().TextWidth("Hello"), width) << "an unresolvable name still draws, with the fallback";
}

TEST(TextFonts, InstalledFamiliesAndWindowsNamesResolve)
{
    auto& engine = detail::FontEngine::Instance();
    auto serif = engine.ResolveFace("DejaVu Serif", 400, false);
    EXPECT_FALSE(serif.fallback);
    EXPECT_EQ(serif.family, "DejaVu Serif");
    for (const char* name : { "Arial", "MS Sans Serif" }) {
        auto face = engine.ResolveFace(name, 400, false);
        EXPECT_FALSE(face.file.empty()) << name;
        auto b = Page(10, 10);
        b->Canvas().Font().SetName(name);
        EXPECT_GT(b->Canvas().TextWidth("Hello"), 0) << name;
    }
}

TEST(TextFonts, StylesPickTheirFaces)
{
    auto& engine = detail::FontEngine::Instance();
    auto regular = engine.ResolveFace("DejaVu Sans", 400, false);
    auto bold = engine.ResolveFace("DejaVu Sans", 700, false);
    auto italic = engine.ResolveFace("DejaVu Sans", 400, true);
    auto both = engine.ResolveFace("DejaVu Sans", 700, true);
    std::set<std::string> files { regular.file, bold.file, italic.file, both.file };
    EXPECT_EQ(files.size(), 4u) << "DejaVu Sans has four faces of its own";
    EXPECT_FALSE(bold.syntheticBold);
    EXPECT_FALSE(italic.syntheticItalic);
}

// ---- Drawing ---------------------------------------------------------------

TEST(TextOut, GlyphsAreOneBitByDefault)
{
    auto b = Page(200, 40, 0x00C0FF);
    b->Canvas().Font().SetColor(clNavy);
    b->Canvas().TextOut(4, 4, "Hello, world");
    auto others = PixelsNot(*b, 0x00C0FF);
    ASSERT_FALSE(others.empty());
    EXPECT_EQ(PixelsOf(*b, clNavy), others) << "only the font colour and the background";
}

TEST(TextOut, AntiAliasedFontsBlendTheirEdges)
{
    auto b = Page(200, 40);
    b->Canvas().Font().SetAntiAliased(true);
    b->Canvas().TextOut(4, 4, "Hello, world");
    auto marked = PixelsNot(*b, clWhite);
    auto black = PixelsOf(*b, clBlack);
    EXPECT_GT(marked.size(), black.size() + 20) << "grey edge pixels";
    for (auto [x, y] : marked) {
        TColor c = b->Canvas().Pixels(x, y);
        EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << "a mix of black and white";
    }
}

TEST(TextOut, GlyphsStayInsideTheCell)
{
    auto b = Page(200, 60);
    TCanvas& c = b->Canvas();
    c.TextOut(10, 12, "Hello, Wjg|");
    TSize e = c.TextExtent("Hello, Wjg|");
    TRect glyphs = BoundsOf(PixelsOf(*b, clBlack));
    EXPECT_GE(glyphs.Left, 10);
    EXPECT_GE(glyphs.Top, 12);
    EXPECT_LE(glyphs.Right, 10 + e.cx);
    EXPECT_LE(glyphs.Bottom, 12 + e.cy);
}

TEST(TextOut, SolidBrushFillsTheCellAndClearBrushKeepsTheBackground)
{
    auto solid = Page(200, 60);
    TCanvas& c = solid->Canvas();
    c.Brush().SetColor(clRed);
    c.TextOut(10, 12, "Hello");
    TSize e = c.TextExtent("Hello");
    const TRect cell = Bounds(10, 12, e.cx, e.cy);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            TColor p = c.Pixels(x, y);
            if (cell.Contains({ x, y })) {
                EXPECT_TRUE(p == clRed || p == clBlack) << x << "," << y;
            } else {
                EXPECT_EQ(p, clWhite) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(PixelsOf(*solid, clBlack), Glyphs("Hello", 10, 12, 200, 60));

    // A striped background survives everywhere but under the glyph pixels.
    auto clear = Page(200, 60);
    TCanvas& k = clear->Canvas();
    for (int y = 0; y < 60; y += 2)
        for (int x = 0; x < 200; ++x)
            k.SetPixels(x, y, clYellow);
    k.Brush().SetStyle(bsClear);
    k.TextOut(10, 12, "Hello");
    auto glyphs = Glyphs("Hello", 10, 12, 200, 60);
    EXPECT_EQ(PixelsOf(*clear, clBlack), glyphs);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (!glyphs.count({ x, y })) {
                EXPECT_EQ(k.Pixels(x, y), y % 2 == 0 ? clYellow : clWhite);
            }
}

TEST(TextOut, HatchedBrushesDrawTransparentText)
{
    auto b = Page(100, 40);
    b->Canvas().Brush().SetColor(clRed);
    b->Canvas().Brush().SetStyle(bsCross);
    b->Canvas().TextOut(4, 4, "Hi");
    EXPECT_EQ(PixelsNot(*b, clWhite), Glyphs("Hi", 4, 4, 100, 40));
}

TEST(TextOut, EmptyTextDrawsNothingAndThePenMovesToTheEnd)
{
    auto b = Page(100, 40);
    b->Canvas().Brush().SetColor(clRed);
    b->Canvas().TextOut(4, 4, "");
    EXPECT_TRUE(PixelsNot(*b, clWhite).empty());
    EXPECT_EQ(b->Canvas().PenPos(), Point(4, 4));
    b->Canvas().TextOut(4, 9, "Hi");
    EXPECT_EQ(b->Canvas().PenPos(), Point(4 + b->Canvas().TextWidth("Hi"), 9));
}

TEST(TextOut, HonoursTheClipRectangleAndTheOrigin)
{
    auto full = Glyphs("Hello, world", 6, 6, 200, 40);
    auto b = Page(200, 40);
    b->Canvas().SetClipRect(Rect(0, 0, 50, 40));
    b->Canvas().Brush().SetColor(clRed);
    b->Canvas().TextOut(6, 6, "Hello, world");
    for (int y = 0; y < 40; ++y)
        for (int x = 50; x < 200; ++x)
            ASSERT_EQ(b->Canvas().Pixels(x, y), clInvalid) << "outside the clip reads as invalid";
    b->Canvas().SetClipRect(Rect(0, 0, 200, 40));
    PixelSet left;
    for (auto p : full)
        if (p.first < 50)
            left.insert(p);
    EXPECT_EQ(PixelsOf(*b, clBlack), left);
    for (int y = 0; y < 40; ++y)
        EXPECT_EQ(b->Canvas().Pixels(120, y), clWhite) << "the cell is filled only inside the clip";

    // A canvas whose (0, 0) is raster point (20, 10).
    auto target = Page(200, 60);
    TCanvas shifted;
    shifted.SetSurface(&target->Image(), Point(20, 10), Rect(0, 0, 200, 60));
    shifted.SetFont(target->Canvas().Font());
    shifted.Brush().SetStyle(bsClear);
    shifted.TextOut(6, 6, "Hello, world");
    EXPECT_EQ(PixelsOf(*target, clBlack), Shift(full, 20, 10));
}

TEST(TextOut, PaletteAndMonochromeBitmapsStoreTheNearestColour)
{
    auto reference = Glyphs("Hello", 3, 3, 80, 30);
    TBitmap palette(80, 30);
    palette.SetPixelFormat(pf8bit);
    palette.Canvas().Font().SetName("DejaVu Sans");
    palette.Canvas().Font().SetHeight(-16);
    palette.Canvas().Font().SetColor(0x0000FE);
    palette.Canvas().Brush().SetStyle(bsClear);
    palette.Canvas().TextOut(3, 3, "Hello");
    EXPECT_EQ(PixelsOf(palette, clRed), reference) << "stored as the table's red";

    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(80, 30);
    mono.Canvas().Font().SetName("DejaVu Sans");
    mono.Canvas().Font().SetHeight(-16);
    mono.Canvas().Font().SetColor(0x303030);
    mono.Canvas().Brush().SetColor(0xE0E0E0);
    mono.Canvas().TextOut(3, 3, "Hello");
    EXPECT_TRUE(mono.Monochrome());
    EXPECT_EQ(PixelsOf(mono, clBlack), reference);
    EXPECT_EQ(PixelsNot(mono, clBlack), PixelsOf(mono, clWhite));
}

TEST(TextOut, UnderlineAndStrikeOutSpanTheText)
{
    auto plain = Page(200, 40);
    plain->Canvas().TextOut(5, 5, "Hello");
    const int w = plain->Canvas().TextWidth("Hello");
    EXPECT_TRUE(FullRows(*plain, 5, 5 + w).empty());

    auto under = Page(200, 40);
    under->Canvas().Font().SetStyle({ fsUnderline });
    under->Canvas().TextOut(5, 5, "Hello");
    const int ascent = detail::FontEngine::Instance()
                           .Resolve(detail::CanvasAccess::TextFont(under->Canvas()))
                           ->Metrics()
                           .ascent;
    auto rows = FullRows(*under, 5, 5 + w);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(*rows.begin(), 5 + ascent) << "below the baseline";
    EXPECT_LT(*rows.rbegin(), 5 + under->Canvas().TextHeight("x"));
    EXPECT_EQ(under->Canvas().Pixels(5 + w, *rows.begin()), clWhite) << "no further than the text";

    auto struck = Page(200, 40);
    struck->Canvas().Font().SetStyle({ fsStrikeOut });
    struck->Canvas().TextOut(5, 5, "Hello");
    auto strikeRows = FullRows(*struck, 5, 5 + w);
    ASSERT_FALSE(strikeRows.empty());
    EXPECT_LT(*strikeRows.rbegin(), 5 + ascent) << "above the baseline";
    EXPECT_GT(*strikeRows.begin(), 5);
}

TEST(TextOut, ItalicSlantsTheGlyphs)
{
    auto b = Page(100, 40);
    b->Canvas().Font().SetStyle({ fsItalic });
    b->Canvas().TextOut(5, 5, "l");
    auto italic = PixelsOf(*b, clBlack);
    auto upright = Glyphs("l", 5, 5, 100, 40);
    TRect r = BoundsOf(italic);
    EXPECT_GT(r.Width(), BoundsOf(upright).Width());
    // The top of the stroke lies further right than its foot.
    int topX = 0, bottomX = 0;
    for (auto [x, y] : italic) {
        if (y == r.Top)
            topX = std::max(topX, x);
        if (y == r.Bottom - 1)
            bottomX = std::max(bottomX, x);
    }
    EXPECT_GT(topX, bottomX);
}

TEST(TextOut, TextIsUtf8WithWindows1252ForStrayBytes)
{
    EXPECT_EQ(detail::DecodeText("a\xC3\xA9"), U"a\u00E9");
    EXPECT_EQ(detail::DecodeText("\xE9t\xE9"), U"\u00E9t\u00E9");
    EXPECT_EQ(detail::DecodeText("\x80\x96\x81"), U"\u20AC\u2013\u0081");
    EXPECT_EQ(detail::DecodeText("\xE2\x82\xAC"), U"\u20AC");
    EXPECT_EQ(detail::DecodeText("\xF0\x9F\x98\x80"), U"\U0001F600");
    EXPECT_EQ(detail::DecodeText("\xC3("), U"\u00C3(") << "a lead byte without its continuation";
    EXPECT_EQ(detail::DecodeText("\xC0\xAF"), U"\u00C0\u00AF") << "overlong forms are not UTF-8";
    EXPECT_EQ(detail::DecodeText("\xED\xA0\x80"), U"\u00ED\u00A0\u20AC") << "nor are surrogates";
    EXPECT_EQ(detail::DecodeText("\xE2\x82"), U"\u00E2\u201A") << "a cut sequence";

    EXPECT_EQ(Glyphs("caf\xE9", 4, 4), Glyphs("caf\xC3\xA9", 4, 4));
    EXPECT_EQ(Glyphs("\x80", 4, 4), Glyphs("\xE2\x82\xAC", 4, 4));
    EXPECT_FALSE(Glyphs("\x80", 4, 4).empty());
}

TEST(TextOut, RepeatedAndInterleavedSizesDrawTheSame)
{
    auto first = Glyphs("Cache me", 4, 4);
    auto big = Glyphs("Cache me", 4, 4, 300, 80, -40);
    EXPECT_NE(first, big);
    EXPECT_EQ(Glyphs("Cache me", 4, 4), first);
}

TEST(TextRect, FillsTheRectangleAndClipsTheText)
{
    auto b = Page(200, 50);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clYellow);
    const TRect r = Rect(10, 5, 40, 30);
    c.TextRect(r, 12, 8, "Hello, world");
    auto full = Glyphs("Hello, world", 12, 8, 200, 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 200; ++x) {
            TColor p = c.Pixels(x, y);
            if (!r.Contains({ x, y })) {
                EXPECT_EQ(p, clWhite);
            } else {
                EXPECT_EQ(p, full.count({ x, y }) ? clBlack : clYellow);
            }
        }
    }
}

// ---- Rotated text and GDI font objects --------------------------------------

namespace {

// Draws text with a GDI font of the given escapement on a fresh page.
PixelSet Turned(const std::string& text, int escapement, int x, int y)
{
    auto b = Page(160, 160);
    HFONT font = CreateFontA(-16, 0, escapement, escapement, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ old = SelectObject(b->Canvas().Handle(), font);
    b->Canvas().TextOut(x, y, text);
    SelectObject(b->Canvas().Handle(), old);
    DeleteObject(font);
    return PixelsOf(*b, clBlack);
}

double MeanY(const PixelSet& s)
{
    double sum = 0;
    for (auto p : s)
        sum += p.second;
    return sum / static_cast<double>(s.size());
}

double MeanX(const PixelSet& s)
{
    double sum = 0;
    for (auto p : s)
        sum += p.first;
    return sum / static_cast<double>(s.size());
}

PixelSet Minus(const PixelSet& a, const PixelSet& b)
{
    PixelSet out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
    return out;
}

} // namespace

TEST(TextRotated, ZeroAndFullTurnsDrawLikeTextOut)
{
    auto plain = Glyphs("Hello", 20, 30, 160, 160);
    EXPECT_EQ(Turned("Hello", 0, 20, 30), plain);
    EXPECT_EQ(Turned("Hello", 3600, 20, 30), plain);
}

TEST(TextRotated, QuarterTurnsMoveTheTextAroundItsCorner)
{
    auto b = Page(10, 10);
    const TSize e = b->Canvas().TextExtent("Hello");
    const int x = 80, y = 80;
    auto up = Turned("Hello", 900, x, y);
    TRect r = BoundsOf(up);
    EXPECT_GE(r.Left, x);
    EXPECT_LE(r.Right, x + e.cy);
    EXPECT_LE(r.Bottom, y + 1);
    EXPECT_GE(r.Top, y - e.cx);
    // Reading bottom to top: "H" alone lies below the rest.
    auto h = Turned("H", 900, x, y);
    EXPECT_GT(MeanY(h), MeanY(Minus(up, h)));

    auto down = Turned("Hello", 2700, x, y);
    r = BoundsOf(down);
    EXPECT_LE(r.Right, x + 1);
    EXPECT_GE(r.Left, x - e.cy);
    EXPECT_GE(r.Top, y);
    EXPECT_LE(r.Bottom, y + e.cx);
    auto h2 = Turned("H", 2700, x, y);
    EXPECT_LT(MeanY(h2), MeanY(Minus(down, h2)));

    auto upsideDown = Turned("Hello", 1800, x, y);
    r = BoundsOf(upsideDown);
    EXPECT_LE(r.Right, x + 1);
    EXPECT_LE(r.Bottom, y + 1);
    auto h3 = Turned("H", 1800, x, y);
    EXPECT_GT(MeanX(h3), MeanX(Minus(upsideDown, h3)));
}

TEST(TextRotated, AQuarterTurnIsTheUprightTextTurned)
{
    auto upright = Turned("Hello", 0, 0, 0);
    auto up = Turned("Hello", 900, 0, 100);
    // Turning counter-clockwise maps (x, y) to (y, -x) about the corner.
    PixelSet turned;
    for (auto [x, y] : upright)
        turned.insert({ y, 100 - 1 - x });
    std::size_t common = 0;
    for (auto p : turned)
        common += up.count(p);
    EXPECT_GE(common * 10, turned.size() * 9) << "hinting aside, the same pixels";
    EXPECT_LE(std::max(up.size(), turned.size()) * 9, std::min(up.size(), turned.size()) * 10);
}

TEST(TextRotated, SolidBrushFillsTheTurnedCell)
{
    auto b = Page(160, 160);
    b->Canvas().Brush().SetColor(clRed);
    HFONT font = CreateFontA(-16, 0, 900, 900, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ old = SelectObject(b->Canvas().Handle(), font);
    const TSize e = b->Canvas().TextExtent("Hello");
    b->Canvas().TextOut(80, 80, "Hello");
    SelectObject(b->Canvas().Handle(), old);
    DeleteObject(font);
    auto marked = PixelsNot(*b, clWhite);
    EXPECT_EQ(BoundsOf(marked), Rect(80, 80 - e.cx, 80 + e.cy, 80));
    EXPECT_EQ(marked.size(), static_cast<std::size_t>(e.cx * e.cy));
}

TEST(GdiFonts, CreatedFontsCountUntilDeleted)
{
    const auto before = GdiObjectCount();
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, 1, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_STROKE_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH, "DejaVu Sans");
    ASSERT_NE(font, 0u);
    EXPECT_EQ(GdiObjectCount(), before + 1);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GdiObjectCount(), before);
    EXPECT_FALSE(DeleteObject(font)) << "released once only";
    EXPECT_FALSE(DeleteObject(detail::CanvasFontHandle())) << "the canvas font handle is not the caller's";
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(GdiFonts, ASelectedFontServesTextCallsUntilDeselected)
{
    auto b = Page(200, 60);
    TCanvas& c = b->Canvas();
    const TSize own = c.TextExtent("Hello");
    HFONT big = CreateFontA(40, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ previous = SelectObject(c.Handle(), big);
    EXPECT_EQ(previous, detail::CanvasFontHandle());
    EXPECT_EQ(c.TextHeight("Hello"), 40);
    EXPECT_GT(c.TextWidth("Hello"), own.cx);
    c.Font().SetColor(clRed);
    c.TextOut(0, 0, "Hi");
    EXPECT_FALSE(PixelsOf(*b, clRed).empty()) << "drawn in the canvas font's colour";
    EXPECT_EQ(SelectObject(c.Handle(), previous), big);
    EXPECT_EQ(c.TextExtent("Hello"), own);
    EXPECT_TRUE(DeleteObject(big));
}

TEST(GdiFonts, ADeletedSelectedFontFallsBackToTheCanvasFont)
{
    auto b = Page(100, 40);
    TCanvas& c = b->Canvas();
    const TSize own = c.TextExtent("Hello");
    HFONT font = CreateFontA(30, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    (void)SelectObject(c.Handle(), font);
    EXPECT_EQ(c.TextHeight("x"), 30) << "a null face name is the default face";
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(c.TextExtent("Hello"), own);
    c.TextOut(0, 0, "Hello");
}

TEST(GdiFonts, LongFaceNamesAreCutAndQualitySelectsSmoothing)
{
    const std::string longName(100, 'x');
    HFONT font = CreateFontA(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ANTIALIASED_QUALITY, 0, longName.c_str());
    auto* object = detail::Lookup<detail::GdiFont>(font);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(std::string(object->logFont.lfFaceName), std::string(31, 'x'));
    auto b = Page(100, 40);
    (void)SelectObject(b->Canvas().Handle(), font);
    b->Canvas().TextOut(2, 2, "Smooth");
    EXPECT_GT(PixelsNot(*b, clWhite).size(), PixelsOf(*b, clBlack).size());
    (void)SelectObject(b->Canvas().Handle(), detail::CanvasFontHandle());
    EXPECT_TRUE(DeleteObject(font));
}

TEST(GdiFonts, WidthNarrowsTheGlyphs)
{
    auto b = Page(100, 40);
    TCanvas& c = b->Canvas();
    const int natural = c.TextWidth("Hello world");
    HFONT narrow = CreateFontA(-16, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    (void)SelectObject(c.Handle(), narrow);
    EXPECT_LT(c.TextWidth("Hello world"), natural * 3 / 4);
    (void)SelectObject(c.Handle(), detail::CanvasFontHandle());
    EXPECT_TRUE(DeleteObject(narrow));
}

// ---- DrawText -----------------------------------------------------------------

TEST(DrawText, CalcRectMeasuresOneOrSeveralLines)
{
    auto b = Page(10, 10);
    TCanvas& c = b->Canvas();
    const int lh = c.TextHeight("x");
    TRect r = Rect(5, 7, 6, 8);
    EXPECT_EQ(DrawText(c, "Hello", r, DT_CALCRECT), lh);
    EXPECT_EQ(r, Rect(5, 7, 5 + c.TextWidth("Hello"), 7 + lh));

    r = Rect(0, 0, 1, 1);
    EXPECT_EQ(DrawText(c, "a\nbb\r\nccc", r, DT_CALCRECT), 3 * lh);
    EXPECT_EQ(r, Rect(0, 0, c.TextWidth("ccc"), 3 * lh));
    r = Rect(0, 0, 1, 1);
    EXPECT_EQ(DrawText(c, "a\n", r, DT_CALCRECT), lh) << "a closing line break opens no line";
    r = Rect(0, 0, 1, 1);
    EXPECT_EQ(DrawText(c, "a\n\nb", r, DT_CALCRECT), 3 * lh);
    r = Rect(0, 0, 1, 1);
    EXPECT_EQ(DrawText(c, "a\nbb", r, DT_CALCRECT | DT_SINGLELINE), lh);
    r = Rect(3, 3, 9, 9);
    EXPECT_EQ(DrawText(c, "", r, DT_CALCRECT), 0);
    EXPECT_EQ(r, Rect(3, 3, 3, 3));
}

TEST(DrawText, WordBreakFillsLinesGreedily)
{
    auto b = Page(10, 10);
    TCanvas& c = b->Canvas();
    const int lh = c.TextHeight("x");
    TRect r = Rect(0, 0, c.TextWidth("aaa bbb"), 0);
    EXPECT_EQ(DrawText(c, "aaa bbb ccc", r, DT_CALCRECT | DT_WORDBREAK), 2 * lh);
    EXPECT_EQ(r.Right, c.TextWidth("aaa bbb")) << "the space at the break is dropped";
    r = Rect(0, 0, 1, 0);
    EXPECT_EQ(DrawText(c, "aaa bbb", r, DT_CALCRECT | DT_WORDBREAK), 2 * lh);
    EXPECT_EQ(r.Right, std::max(c.TextWidth("aaa"), c.TextWidth("bbb"))) << "a word wider than the rectangle stays whole";
    r = Rect(0, 0, 1000, 0);
    EXPECT_EQ(DrawText(c, "aaa bbb ccc", r, DT_CALCRECT | DT_WORDBREAK), lh);
}

TEST(DrawText, AcceleratorsAreUnderlinedAndDoubledAmpersandsLiteral)
{
    auto b = Page(10, 10);
    TCanvas& c = b->Canvas();
    TRect r = Rect(0, 0, 1, 1);
    DrawText(c, "&File", r, DT_CALCRECT);
    EXPECT_EQ(r.Right, c.TextWidth("File"));
    r = Rect(0, 0, 1, 1);
    DrawText(c, "A&&B", r, DT_CALCRECT);
    EXPECT_EQ(r.Right, c.TextWidth("A&B"));
    r = Rect(0, 0, 1, 1);
    DrawText(c, "&File", r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.Right, c.TextWidth("&File"));
    r = Rect(0, 0, 1, 1);
    DrawText(c, "End&", r, DT_CALCRECT);
    EXPECT_EQ(r.Right, c.TextWidth("End"));

    auto marked = Page(120, 40);
    TRect box = Rect(4, 4, 120, 40);
    DrawText(marked->Canvas(), "F&ile", box, DT_SINGLELINE);
    auto plain = Glyphs("File", 4, 4, 120, 40);
    auto extra = Minus(PixelsOf(*marked, clBlack), plain);
    ASSERT_FALSE(extra.empty());
    const int f = c.TextWidth("F"), i = c.TextWidth("i");
    TRect line = BoundsOf(extra);
    EXPECT_GE(line.Left, 4 + f);
    EXPECT_LE(line.Right, 4 + f + i);
    EXPECT_GE(line.Top, 4 + detail::FontEngine::Instance().Resolve(detail::CanvasAccess::TextFont(c))->Metrics().ascent);
}

TEST(DrawText, AlignsInTheRectangle)
{
    struct Case {
        std::uint32_t format;
        int x, y;
    };
    auto probe = Page(10, 10);
    const TSize e = probe->Canvas().TextExtent("Hello");
    const TRect r = Rect(10, 6, 150, 56);
    const Case cases[] = {
        { DT_LEFT, 10, 6 },
        { DT_CENTER, 10 + (140 - e.cx) / 2, 6 },
        { DT_RIGHT, 150 - e.cx, 6 },
        { DT_SINGLELINE | DT_VCENTER, 10, 6 + (50 - e.cy) / 2 },
        { DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 150 - e.cx, 56 - e.cy },
        { DT_VCENTER, 10, 6 }, // vertical placement needs a single line
    };
    for (const auto& k : cases) {
        auto b = Page(160, 70);
        TRect rect = r;
        const int result = DrawText(b->Canvas(), "Hello", rect, k.format);
        EXPECT_EQ(PixelsOf(*b, clBlack), Glyphs("Hello", k.x, k.y, 160, 70)) << "format " << k.format;
        EXPECT_EQ(result, k.format & (DT_VCENTER | DT_BOTTOM) && k.format & DT_SINGLELINE ? k.y - 6 + e.cy : e.cy);
        EXPECT_EQ(rect, r) << "only DT_CALCRECT changes the rectangle";
    }
}

TEST(DrawText, ExpandsTabsToEightAverageWidths)
{
    auto b = Page(200, 40);
    TCanvas& c = b->Canvas();
    const int tab = 8 * detail::FontEngine::Instance().Resolve(detail::CanvasAccess::TextFont(c))->Metrics().averageWidth;
    TRect r = Rect(4, 4, 200, 40);
    DrawText(c, "ab\tc", r, DT_EXPANDTABS | DT_NOCLIP);
    auto expected = Glyphs("ab", 4, 4, 200, 40);
    for (auto p : Glyphs("c", 4 + tab, 4, 200, 40))
        expected.insert(p);
    EXPECT_EQ(PixelsOf(*b, clBlack), expected);
    r = Rect(0, 0, 1, 1);
    DrawText(c, "ab\tc", r, DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(r.Right, tab + c.TextWidth("c"));
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
    auto clipped = Page(200, 40);
    TRect r = Rect(4, 4, 30, 40);
    DrawText(clipped->Canvas(), "Hello, world", r, DT_SINGLELINE);
    auto full = Glyphs("Hello, world", 4, 4, 200, 40);
    PixelSet inside;
    for (auto p : full)
        if (p.first < 30)
            inside.insert(p);
    EXPECT_EQ(PixelsOf(*clipped, clBlack), inside);

    auto open = Page(200, 40);
    DrawText(open->Canvas(), "Hello, world", r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(PixelsOf(*open, clBlack), full);
}

TEST(DrawText, MultipleLinesStackAndSolidBrushesFillBehindThem)
{
    auto b = Page(200, 80);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clYellow);
    TRect r = Rect(4, 4, 200, 80);
    const int lh = c.TextHeight("x");
    EXPECT_EQ(DrawText(c, "One\nTwo", r, DT_LEFT), 2 * lh);
    auto expected = Glyphs("One", 4, 4, 200, 80);
    for (auto p : Glyphs("Two", 4, 4 + lh, 200, 80))
        expected.insert(p);
    EXPECT_EQ(PixelsOf(*b, clBlack), expected);
    for (int y = 4; y < 4 + lh; ++y)
        for (int x = 4; x < 4 + c.TextWidth("One"); ++x)
            EXPECT_TRUE(c.Pixels(x, y) == clYellow || c.Pixels(x, y) == clBlack);
    EXPECT_EQ(c.Pixels(4 + c.TextWidth("Two"), 4 + lh), clWhite) << "only behind the text";
}

TEST(DrawText, ThePlatformFormTakesADeviceContextAndALength)
{
    auto b = Page(200, 40);
    TRect r = Rect(4, 4, 200, 40);
    EXPECT_EQ(DrawTextA(0x7FFFFFFF, "x", -1, r, 0), 0);
    EXPECT_EQ(DrawTextA(b->Canvas().Handle(), nullptr, -1, r, 0), 0);
    EXPECT_GT(DrawTextA(b->Canvas().Handle(), "Hello, world", 5, r, DT_SINGLELINE), 0);
    EXPECT_EQ(PixelsOf(*b, clBlack), Glyphs("Hello", 4, 4, 200, 40));
    TRect m = Rect(0, 0, 0, 0);
    DrawTextA(b->Canvas().Handle(), "Hello", -1, m, DT_CALCRECT);
    EXPECT_EQ(m.Right, b->Canvas().TextWidth("Hello"));
}

// ---- Far coordinates, memory device contexts, the glyph budget -------------

namespace {

using Words = std::vector<std::uint32_t>;

Words WordsOf(const TBitmap& b)
{
    auto words = b.Image().Words();
    return { words.begin(), words.end() };
}

// A font turned by escapement tenths of a degree, selected into a canvas for
// the life of the object.
class TurnedFont {
public:
    TurnedFont(TCanvas& canvas, std::int32_t escapement, std::int32_t height = -11, bool underline = false)
        : m_dc(canvas.Handle())
        , m_font(CreateFontA(height, 0, escapement, 0, FW_NORMAL, 0, underline, 0, 0, 0, 0, 0, 0, "DejaVu Sans"))
        , m_previous(SelectObject(m_dc, m_font.Get()))
    {
    }
    ~TurnedFont() { SelectObject(m_dc, m_previous); }
    TurnedFont(const TurnedFont&) = delete;
    TurnedFont& operator=(const TurnedFont&) = delete;

private:
    HDC m_dc;
    TGdiObjectHandle m_font;
    HGDIOBJ m_previous;
};

} // namespace

TEST(TextFar, TurnedTextFarOffTheBitmapDrawsNothing)
{
    for (std::int32_t escapement : { 900, 450, 1800, 2700, 3150 }) {
        for (bool solid : { false, true }) {
            auto b = Page(60, 40);
            TCanvas& c = b->Canvas();
            if (solid)
                c.Brush().SetColor(clYellow);
            const Words before = WordsOf(*b);
            TurnedFont font(c, escapement, -11, solid);
            for (TPoint at : { Point(INT32_MAX, 20), Point(INT32_MIN, 20), Point(20, INT32_MAX), Point(20, INT32_MIN),
                     Point(INT32_MAX, INT32_MIN), Point(-100000, 20) })
                c.TextOut(at.X, at.Y, "W and more");
            EXPECT_EQ(WordsOf(*b), before) << escapement;
        }
    }
}

TEST(TextFar, TextDrawsTheSameWhereverItLies)
{
    // A canvas whose origin takes a far shift back shows exactly the text drawn
    // near (0, 0): upright and turned, with a solid brush and an underline.
    auto draw = [](TCanvas& c, TPoint s) {
        c.Font().SetName("DejaVu Sans");
        c.Font().SetHeight(-14);
        c.Font().SetColor(clNavy);
        c.Brush().SetColor(clYellow);
        c.TextOut(s.X + 2, s.Y + 1, "Far away");
        c.Brush().SetStyle(bsClear);
        c.TextRect(Rect(s.X + 60, s.Y + 0, s.X + 90, s.Y + 12), s.X + 58, s.Y - 3, "Clipped");
        TurnedFont font(c, 300, -13, true);
        c.Brush().SetColor(clSilver);
        c.TextOut(s.X + 10, s.Y + 55, "Turned");
        TRect r = Rect(s.X + 70, s.Y + 20, s.X + 118, s.Y + 60);
        DrawText(c, "in a box", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };
    TBitmap near(120, 64);
    draw(near.Canvas(), {});
    for (TPoint s : { Point(2147483520, 2147483520), Point(-2147483520, -2147483520), Point(2147483520, -2147483520) }) {
        TBitmap far(120, 64);
        TCanvas c;
        c.SetSurface(&far.Image(), Point(-s.X, -s.Y), far.Image().Bounds());
        draw(c, s);
        EXPECT_EQ(WordsOf(far), WordsOf(near)) << s.X << ", " << s.Y;
    }
    EXPECT_GT(PixelsOf(near, clNavy).size(), 100u);
}

TEST(TextFar, DrawTextOverTheWholeIntRangeCentresExactly)
{
    // 2^32 - 1 and 1999 are both odd: centring in either rectangle puts the text
    // at the same distance left of its middle.
    auto draw = [](const TRect& rect) {
        auto b = Page(40, 40);
        TCanvas c;
        c.SetSurface(&b->Image(), Point(20, 20), b->Image().Bounds());
        c.Font().SetName("DejaVu Sans");
        c.Font().SetHeight(-16);
        c.Brush().SetColor(clYellow);
        TRect r = rect;
        DrawText(c, "Hm", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        TRect measured = rect;
        EXPECT_EQ(DrawText(c, "Hm\nHm", measured, DT_CALCRECT), 2 * c.TextHeight("Hm"));
        EXPECT_EQ(measured.Left, rect.Left);
        return WordsOf(*b);
    };
    const Words whole = draw(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_EQ(whole, draw(Rect(-1000, -1000, 999, 999)));
    EXPECT_NE(whole, WordsOf(*Page(40, 40)));
}

TEST(TextFar, FontsSelectedIntoAMemoryContextServeItsText)
{
    const std::int32_t before = GdiObjectCount();
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    auto page = Page(200, 100);
    HGDIOBJ old = SelectObject(page->Canvas().Handle(), big);
    const int height = page->Canvas().TextHeight("Hg");
    SelectObject(page->Canvas().Handle(), old);
    EXPECT_GT(height, 40);

    HDC dc = CreateCompatibleDC(0);
    HBITMAP surface = CreateBitmap(200, 100, 1, 32, nullptr);
    (void)SelectObject(dc, surface);
    (void)SelectObject(dc, big);
    TRect r = Rect(0, 0, 0, 0);
    EXPECT_EQ(DrawTextA(dc, "Hg", -1, r, DT_CALCRECT), height);
    EXPECT_EQ(r.Bottom, height);

    // A turned font turns the text drawn through the context too.
    HFONT turned = CreateFontA(-20, 0, 900, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    (void)SelectObject(dc, turned);
    SetPixel(dc, 0, 0, clBlack); // the bitmap starts black: paint it white first
    PatBlt(dc, 0, 0, 200, 100, WHITENESS);
    TRect box = Rect(10, 10, 190, 90);
    DrawTextA(dc, "Up", -1, box, DT_NOCLIP);
    auto expected = Page(200, 100);
    {
        TurnedFont font(expected->Canvas(), 900, -20);
        TRect same = box;
        DrawText(expected->Canvas(), "Up", same, DT_NOCLIP);
    }
    auto shown = std::make_unique<TBitmap>();
    shown->SetHandle(surface);
    surface = 0;
    EXPECT_EQ(WordsOf(*shown), WordsOf(*expected));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(big));
    EXPECT_TRUE(DeleteObject(turned));
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(GlyphCache, MeasuringRendersNoGlyph)
{
    // Twenty thousand distinct characters at 300 pixels: advances come from the
    // face's metrics, so the glyph cache does not grow.
    auto b = Page(10, 10);
    b->Canvas().Font().SetHeight(-300);
    std::string text;
    for (char32_t c = 0x4E00; c < 0x4E00 + 20000; ++c) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    const std::size_t cached = detail::FontInstance::CachedGlyphBytes();
    const int width = b->Canvas().TextWidth(text);
    EXPECT_GT(width, 20000 * 100);
    EXPECT_EQ(detail::FontInstance::CachedGlyphBytes(), cached);
    EXPECT_EQ(b->Canvas().TextWidth(text), width);

    // Advances measured without rendering are the drawn ones.
    auto c = Page(400, 40);
    c->Canvas().Font().SetHeight(-17);
    c->Canvas().Font().SetStyle({ fsBold });
    const std::string sample = "Wide \xC3\xA9t\xC3\xA9 \xE2\x82\xAC";
    const int measured = c->Canvas().TextWidth(sample);
    c->Canvas().TextOut(0, 0, sample);
    EXPECT_EQ(c->Canvas().PenPos().X, measured);
}

TEST(GlyphCache, StaysWithinItsBudgetAsGlyphsAreAdded)
{
    auto& engine = detail::FontEngine::Instance();
    detail::FontSpec spec;
    spec.name = "DejaVu Sans";
    spec.height = -300;
    auto font = engine.Resolve(spec);
    const std::vector<std::uint8_t> first = font->GlyphOf(U'A').coverage;
    ASSERT_GT(first.size(), 10000u);
    std::size_t most = 0;
    for (char32_t c = 0x100; c < 0x100 + 700; ++c) {
        (void)font->GlyphOf(c);
        most = std::max(most, detail::FontInstance::CachedGlyphBytes());
    }
    EXPECT_LE(most, detail::FontInstance::kGlyphBudget);
    EXPECT_GT(most, detail::FontInstance::kGlyphBudget / 2) << "the cache is used";
    EXPECT_EQ(font->GlyphOf(U'A').coverage, first) << "a dropped glyph renders again alike";
}
