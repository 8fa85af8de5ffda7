#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/Gdi.h"
#include "color/host/SysColors.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace plx;

namespace {

using PixelSet = std::set<std::pair<int, int>>;
using Picture = std::vector<std::vector<TColor>>; // [y][x]

constexpr int kW = 160;
constexpr int kH = 60;

std::unique_ptr<TBitmap> Page(TColor background = clWhite, int w = kW, int h = kH)
{
    auto b = std::make_unique<TBitmap>(w, h);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(background);
    c.FillRect(Rect(0, 0, w, h));
    c.Font().SetName("DejaVu Sans");
    c.Font().SetHeight(-16);
    c.Font().SetColor(clBlack);
    return b;
}

Picture Snapshot(TBitmap& b)
{
    Picture p(static_cast<std::size_t>(b.Height()), std::vector<TColor>(static_cast<std::size_t>(b.Width())));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            p[y][x] = b.Canvas().Pixels(x, y);
    return p;
}

// The glyph pixels of the text in the canvas's font, relative to the text's
// top-left corner, read back through ReadText (column by column).
PixelSet MaskOf(TCanvas& canvas, const std::string& text)
{
    const int h = canvas.TextHeight(text);
    PixelSet mask;
    int n = 0;
    ReadText(canvas, text, [&](TColor c) {
        if (c == clBlack)
            mask.insert({ n / h, n % h });
        ++n;
    });
    return mask;
}

// What drawing the mask in these colours at these offsets, in order, over a
// background gives.
Picture Layered(const Picture& background, const PixelSet& mask, int x, int y,
    const std::vector<std::pair<TPoint, TColor>>& passes)
{
    Picture p = background;
    for (auto [offset, color] : passes)
        for (auto [i, j] : mask) {
            int px = x + offset.X + i, py = y + offset.Y + j;
            if (px >= 0 && py >= 0 && py < static_cast<int>(p.size()) && px < static_cast<int>(p[0].size()))
                p[py][px] = color;
        }
    return p;
}

struct CanvasLook {
    TCanvas::State state;
    std::string fontName;
    std::int32_t fontHeight;
    TFontStyles fontStyle;
    bool operator==(const CanvasLook& o) const
    {
        const auto& a = state;
        const auto& b = o.state;
        return a.penColor == b.penColor && a.brushColor == b.brushColor && a.fontColor == b.fontColor
            && a.penStyle == b.penStyle && a.penWidth == b.penWidth && a.penMode == b.penMode
            && a.brushStyle == b.brushStyle && a.brushBitmap == b.brushBitmap && a.copyMode == b.copyMode
            && fontName == o.fontName && fontHeight == o.fontHeight && fontStyle == o.fontStyle;
    }
};

CanvasLook LookOf(const TCanvas& c)
{
    return { c.SaveState(), c.Font().Name(), c.Font().Height(), c.Font().Style() };
}

} // namespace

// ---- Multi-pass text ---------------------------------------------------------

TEST(DrawOutlinedText, FourDiagonalPassesThenTheText)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clYellow); // solid before the call
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Outline");
    DrawOutlinedText(c, 20, 10, "Outline", clRed);
    EXPECT_EQ(Snapshot(*b),
        Layered(background, mask, 20, 10,
            { { { 1, 1 }, clRed }, { { -1, 1 }, clRed }, { { -1, -1 }, clRed }, { { 1, -1 }, clRed }, { { 0, 0 }, clBlack } }));
    EXPECT_EQ(c.Brush().Style(), bsClear);
    EXPECT_EQ(c.Font().Color(), clBlack);
}

TEST(DrawOutlinedText, InTheFontColourItIsOnePixelBolderOnEveryDiagonal)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Font().SetColor(clNavy);
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Bold");
    DrawOutlinedText(c, 5, 5, "Bold", clNavy);
    EXPECT_EQ(Snapshot(*b),
        Layered(background, mask, 5, 5, { { { 1, 1 }, clNavy }, { { -1, 1 }, clNavy }, { { -1, -1 }, clNavy }, { { 1, -1 }, clNavy }, { { 0, 0 }, clNavy } }));
    EXPECT_EQ(c.Font().Color(), clNavy);
}

TEST(DrawTextOutline, OnlyTheOutlineAndTheFontKeepsItsColour)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Hollow");
    DrawTextOutline(c, 20, 10, "Hollow", clGreen);
    EXPECT_EQ(Snapshot(*b),
        Layered(background, mask, 20, 10, { { { 1, 1 }, clGreen }, { { -1, 1 }, clGreen }, { { -1, -1 }, clGreen }, { { 1, -1 }, clGreen } }));
    EXPECT_EQ(c.Font().Color(), clGreen) << "left at the outline colour";
    EXPECT_EQ(c.Brush().Style(), bsClear);
}

TEST(Draw3DText, DownRightThenUpLeftThenTheText)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Relief");
    Draw3DText(c, "Relief", 20, 10, clWhite, clGray);
    EXPECT_EQ(Snapshot(*b),
        Layered(background, mask, 20, 10, { { { 1, 1 }, clGray }, { { -1, -1 }, clWhite }, { { 0, 0 }, clBlack } }));
    EXPECT_EQ(c.Brush().Style(), bsClear);
    EXPECT_EQ(c.Font().Color(), clBlack);
}

TEST(Draw3DText, BackgroundColouredReliefLeavesOnlyTheText)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Flat");
    Draw3DText(c, "Flat", 20, 10, clSilver, clSilver);
    EXPECT_EQ(Snapshot(*b), Layered(background, mask, 20, 10, { { { 0, 0 }, clBlack } }));
}

TEST(DrawShadowText, AGreyCopyTwoPixelsRightAndDown)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Shadow");
    DrawShadowText(c, 20, 10, "Shadow");
    EXPECT_EQ(Snapshot(*b), Layered(background, mask, 20, 10, { { { 2, 2 }, 0x808080 }, { { 0, 0 }, clBlack } }));
    EXPECT_EQ(c.Brush().Style(), bsClear);
    EXPECT_EQ(c.Font().Color(), clBlack);
}

TEST(DrawShadowTextExt, TakesColourAndOffsetsInThatOrder)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Font().SetColor(clRed);
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Offset");
    DrawShadowTextExt(c, 20, 10, "Offset", clBlue, -3, 4);
    EXPECT_EQ(Snapshot(*b), Layered(background, mask, 20, 10, { { { -3, 4 }, clBlue }, { { 0, 0 }, clRed } }));
    EXPECT_EQ(c.Font().Color(), clRed);
}

// ---- Smoothed text ---------------------------------------------------------------

namespace {

// TextSmooth worked out from the mask: the work area of (w + 2) x (h + 2) at (x, y)
// (white where it lies outside the canvas), glyph pixels set, right and lower
// neighbours mixed, columns outer and rows inner, then written back.
Picture Smoothed(const Picture& before, const PixelSet& mask, int w, int h, int x, int y, TColor font)
{
    const int bw = static_cast<int>(before[0].size()), bh = static_cast<int>(before.size());
    Picture work(static_cast<std::size_t>(h + 2), std::vector<TColor>(static_cast<std::size_t>(w + 2), clWhite));
    for (int j = 0; j < h + 2; ++j)
        for (int i = 0; i < w + 2; ++i)
            if (x + i >= 0 && x + i < bw && y + j >= 0 && y + j < bh)
                work[j][i] = before[y + j][x + i];
    auto black = [&](int i, int j) { return mask.count({ i, j }) > 0; };
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j) {
            if (!black(i, j))
                continue;
            work[j][i] = font;
            if (!black(i + 1, j))
                work[j][i + 1] = MergeColorExt(font, work[j][i + 1], 30);
            if (!black(i, j + 1))
                work[j + 1][i] = MergeColorExt(font, work[j + 1][i], 30);
        }
    Picture after = before;
    for (int j = 0; j < h + 2; ++j)
        for (int i = 0; i < w + 2; ++i)
            if (x + i >= 0 && x + i < bw && y + j >= 0 && y + j < bh)
                after[y + j][x + i] = work[j][i];
    return after;
}

} // namespace

TEST(TextSmooth, BlendsTheRightAndLowerNeighboursOfGlyphPixels)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    auto before = Snapshot(*b);
    auto mask = MaskOf(c, "Smooth");
    const TSize e = c.TextExtent("Smooth");
    TextSmooth(c, 20, 10, "Smooth");
    auto after = Snapshot(*b);
    EXPECT_EQ(after, Smoothed(before, mask, e.cx, e.cy, 20, 10, clBlack));

    // A glyph pixel whose right neighbour is background and is not below another
    // glyph pixel: 30 % black and 70 % white make 178.5, which rounds to the even 178.
    int checked = 0;
    for (auto [i, j] : mask) {
        if (mask.count({ i + 1, j }) || mask.count({ i + 1, j - 1 }))
            continue;
        EXPECT_EQ(after[10 + j][20 + i], clBlack);
        EXPECT_EQ(after[10 + j][20 + i + 1], 0xB2B2B2);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(TextSmooth, WorksInColourAndResolvesSystemFontColours)
{
    auto b = Page(0x204080);
    TCanvas& c = b->Canvas();
    c.Font().SetColor(0xF0E0D0);
    auto before = Snapshot(*b);
    auto mask = MaskOf(c, "Colour");
    const TSize e = c.TextExtent("Colour");
    TextSmooth(c, 7, 9, "Colour");
    EXPECT_EQ(Snapshot(*b), Smoothed(before, mask, e.cx, e.cy, 7, 9, 0xF0E0D0));

    auto s = Page();
    s->Canvas().Font().SetColor(clWindowText);
    TextSmooth(s->Canvas(), 7, 9, "Colour");
    auto k = Page();
    TextSmooth(k->Canvas(), 7, 9, "Colour");
    EXPECT_EQ(Snapshot(*s), Snapshot(*k)) << "the window text colour is black";
}

TEST(TextSmooth, NearTheEdgesOnlyTheCanvasChanges)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    auto before = Snapshot(*b);
    auto mask = MaskOf(c, "Edge");
    const TSize e = c.TextExtent("Edge");
    TextSmooth(c, kW - e.cx / 2, -4, "Edge");
    EXPECT_EQ(Snapshot(*b), Smoothed(before, mask, e.cx, e.cy, kW - e.cx / 2, -4, clBlack));
}

TEST(TextSmooth, LeavesPenBrushAndFontAlone)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clYellow);
    c.Pen().SetColor(clRed);
    c.Font().SetStyle({ fsBold });
    auto look = LookOf(c);
    TextSmooth(c, 3, 3, "State");
    EXPECT_TRUE(LookOf(c) == look);
}

// ---- Rotated text ------------------------------------------------------------------

TEST(DrawTextAnglo, AtZeroItDrawsLikeTextOutWithTheCellHeight)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Brush().SetStyle(bsClear);
    const auto objects = GdiObjectCount();
    TFont* font = &c.Font();
    auto look = LookOf(c);
    DrawTextAnglo(c, 10, 10, "Angle", 0);
    EXPECT_EQ(GdiObjectCount(), objects) << "the created font is released";
    EXPECT_EQ(&c.Font(), font);
    EXPECT_TRUE(LookOf(c) == look);

    auto k = Page();
    k->Canvas().Brush().SetStyle(bsClear);
    k->Canvas().Font().SetHeight(16);
    k->Canvas().TextOut(10, 10, "Angle");
    EXPECT_EQ(Snapshot(*b), Snapshot(*k));
    EXPECT_EQ(c.TextHeight("Angle"), c.TextHeight("x")) << "the canvas is back on its own font";
}

TEST(DrawTextAnglo, AtNinetyDegreesTheTextReadsBottomToTop)
{
    auto b = Page(clWhite, 60, 120);
    TCanvas& c = b->Canvas();
    c.Brush().SetStyle(bsClear);
    c.Font().SetStyle({ fsBold, fsItalic });
    DrawTextAnglo(c, 10, 110, "Up", 900);
    TCanvas probe;
    probe.SetFont(c.Font());
    probe.Font().SetHeight(16);
    const int w = probe.TextWidth("Up");
    int minX = kW, maxY = 0, minY = 1000;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 60; ++x)
            if (c.Pixels(x, y) == clBlack) {
                minX = std::min(minX, x);
                maxY = std::max(maxY, y);
                minY = std::min(minY, y);
            }
    EXPECT_GE(minX, 10);
    EXPECT_LE(maxY, 110);
    EXPECT_GE(minY, 110 - w - 2);
}

// ---- Picture-filled text ------------------------------------------------------------

namespace {

std::unique_ptr<TBitmap> Gradient(int w, int h)
{
    auto p = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->Canvas().SetPixels(x, y, RGB(x * 3 + 1, y * 5 + 2, 100));
    return p;
}

} // namespace

TEST(PaintOnText, ThePictureShowsThroughTheLetters)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    auto before = Snapshot(*b);
    auto mask = MaskOf(c, "Picture");
    auto picture = Gradient(80, 30);
    auto look = LookOf(c);
    PaintOnText(c, 12, 8, "Picture", *picture);
    Picture expected = before;
    for (auto [i, j] : mask)
        expected[8 + j][12 + i] = RGB(i * 3 + 1, j * 5 + 2, 100);
    EXPECT_EQ(Snapshot(*b), expected);
    EXPECT_TRUE(LookOf(c) == look);
}

TEST(PaintOnText, LettersBeyondASmallPictureComeOutBlack)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    c.Font().SetColor(clRed);
    auto before = Snapshot(*b);
    auto mask = MaskOf(c, "Picture");
    auto picture = Gradient(20, 8);
    PaintOnText(c, 12, 8, "Picture", *picture);
    Picture expected = before;
    for (auto [i, j] : mask)
        expected[8 + j][12 + i] = i < 20 && j < 8 ? RGB(i * 3 + 1, j * 5 + 2, 100) : clBlack;
    EXPECT_EQ(Snapshot(*b), expected);
}

TEST(StretchPaintOnText, ThePictureIsScaledToTheText)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    auto before = Snapshot(*b);
    auto mask = MaskOf(c, "Stretch");
    const int w = c.TextWidth("Stretch");
    TBitmap halves(2, 1);
    halves.Canvas().SetPixels(0, 0, clRed);
    halves.Canvas().SetPixels(1, 0, clBlue);
    auto look = LookOf(c);
    StretchPaintOnText(c, 12, 8, "Stretch", halves);
    auto after = Snapshot(*b);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int i = x - 12, j = y - 8;
            if (!mask.count({ i, j })) {
                ASSERT_EQ(after[y][x], before[y][x]) << x << "," << y;
            } else if (2 * i + 1 < w) {
                ASSERT_EQ(after[y][x], clRed) << x << "," << y;
            } else {
                ASSERT_EQ(after[y][x], clBlue) << x << "," << y;
            }
        }
    EXPECT_TRUE(LookOf(c) == look);
}

TEST(PictureFilledText, EmptyTextsDrawNothing)
{
    auto b = Page(clSilver);
    TCanvas& c = b->Canvas();
    auto before = Snapshot(*b);
    auto picture = Gradient(10, 10);
    PaintOnText(c, 5, 5, "", *picture);
    StretchPaintOnText(c, 5, 5, "", *picture);
    TextSmooth(c, 5, 5, "");
    EXPECT_EQ(Snapshot(*b), before);
}

// ---- Reading pixels -------------------------------------------------------------------

TEST(ReadPixels, CallsBackColumnByColumn)
{
    TBitmap b(3, 2);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y)
            b.Canvas().SetPixels(x, y, RGB(x, y, 7));
    std::vector<TColor> seen;
    ReadPixels(b, [&](TColor c) { seen.push_back(c); });
    const std::vector<TColor> expected { RGB(0, 0, 7), RGB(0, 1, 7), RGB(1, 0, 7), RGB(1, 1, 7), RGB(2, 0, 7), RGB(2, 1, 7) };
    EXPECT_EQ(seen, expected);

    TBitmap empty;
    int calls = 0;
    ReadPixels(empty, [&](TColor) { ++calls; });
    EXPECT_EQ(calls, 0);
    ReadPixels(b, TPixelProc {}); // no callback: nothing to call
}

TEST(ReadText, HandsOverTheMaskAsBlackAndWhite)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Font().SetColor(clRed);
    c.Brush().SetColor(clYellow);
    auto look = LookOf(c);
    const TSize e = c.TextExtent("Read");
    std::map<TColor, int> counts;
    ReadText(c, "Read", [&](TColor color) { ++counts[color]; });
    EXPECT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[clBlack] + counts[clWhite], e.cx * e.cy);
    EXPECT_TRUE(LookOf(c) == look);

    // The mask's black pixels are the glyphs TextOut draws.
    auto mask = MaskOf(c, "Read");
    auto k = Page();
    k->Canvas().Brush().SetStyle(bsClear);
    k->Canvas().TextOut(0, 0, "Read");
    PixelSet drawn;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (k->Canvas().Pixels(x, y) == clBlack)
                drawn.insert({ x, y });
    EXPECT_EQ(mask, drawn);

    int calls = 0;
    ReadText(c, "", [&](TColor) { ++calls; });
    EXPECT_EQ(calls, 0);
}

// ---- Far coordinates and long texts ---------------------------------------------------

namespace {

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

// Draws on a page clipped to clip and on an unclipped one: inside the clip both
// must agree, outside it the clipped page must be unchanged.
void ExpectClippedPartOfTheWhole(const TRect& clip, const std::function<void(TCanvas&)>& draw, const std::string& what)
{
    auto whole = Page(clSilver);
    auto clipped = Page(clSilver);
    const Picture before = Snapshot(*clipped);
    draw(whole->Canvas());
    clipped->Canvas().SetClipRect(clip);
    draw(clipped->Canvas());
    clipped->Canvas().SetClipRect(Rect(0, 0, kW, kH));
    const Picture all = Snapshot(*whole);
    const Picture part = Snapshot(*clipped);
    int differences = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const TColor expected = clip.Contains(Point(x, y)) ? all[y][x] : before[y][x];
            if (part[y][x] != expected && ++differences <= 3)
                ADD_FAILURE() << what << ": pixel " << x << ", " << y;
        }
    EXPECT_EQ(differences, 0) << what;
}

} // namespace

TEST(TextEffectsFar, PassesBeyondTheCoordinateRangeAreLeftOut)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Font().SetColor(clRed);
    auto background = Snapshot(*b);
    auto mask = MaskOf(c, "Far");
    DrawShadowTextExt(c, 20, 10, "Far", clBlue, kMaxInt, kMaxInt);
    DrawShadowTextExt(c, 20, 10, "Far", clBlue, kMinInt, 3);
    EXPECT_EQ(Snapshot(*b), Layered(background, mask, 20, 10, { { { 0, 0 }, clRed } })) << "the text, without its shadows";
    EXPECT_EQ(c.Font().Color(), clRed);

    auto edge = Page();
    const Picture empty = Snapshot(*edge);
    TCanvas& e = edge->Canvas();
    DrawOutlinedText(e, kMaxInt, kMaxInt, "Far", clGreen);
    DrawOutlinedText(e, kMinInt, kMinInt, "Far", clGreen);
    DrawTextOutline(e, kMaxInt, 0, "Far", clGreen);
    Draw3DText(e, "Far", kMinInt, kMinInt, clWhite, clGray);
    Draw3DText(e, "Far", kMaxInt, kMaxInt, clWhite, clGray);
    DrawShadowText(e, kMaxInt, kMaxInt, "Far");
    EXPECT_EQ(Snapshot(*edge), empty);
}

TEST(TextEffectsFar, WorkBitmapsAtTheEndsOfTheRangeChangeNothingVisible)
{
    auto picture = Gradient(30, 20);
    for (TPoint at : { TPoint { kMaxInt, kMaxInt }, TPoint { kMaxInt - 1, 5 }, TPoint { kMinInt, kMinInt }, TPoint { 5, kMinInt + 1 } }) {
        auto b = Page();
        const Picture empty = Snapshot(*b);
        TCanvas& c = b->Canvas();
        TextSmooth(c, at.X, at.Y, "Far");
        PaintOnText(c, at.X, at.Y, "Far", *picture);
        StretchPaintOnText(c, at.X, at.Y, "Far", *picture);
        EXPECT_EQ(Snapshot(*b), empty) << at.X << ", " << at.Y;
    }
}

TEST(TextEffectsFar, WorkBitmapsOnAClippedCanvasAreThatPartOfTheWhole)
{
    auto picture = Gradient(40, 12);
    for (const TRect& clip : { Rect(25, 12, 40, 20), Rect(0, 0, 30, 60), Rect(44, 0, 46, 60), Rect(30, 20, 160, 60) })
        for (TPoint at : { TPoint { 20, 10 }, TPoint { -8, 5 }, TPoint { 30, 15 } }) {
            const std::string where = std::to_string(clip.Left) + ", " + std::to_string(clip.Top) + " at "
                + std::to_string(at.X) + ", " + std::to_string(at.Y);
            ExpectClippedPartOfTheWhole(clip, [&](TCanvas& c) { TextSmooth(c, at.X, at.Y, "Glyphs"); }, "smooth " + where);
            ExpectClippedPartOfTheWhole(clip, [&](TCanvas& c) { PaintOnText(c, at.X, at.Y, "Glyphs", *picture); },
                "picture " + where);
            ExpectClippedPartOfTheWhole(clip, [&](TCanvas& c) { StretchPaintOnText(c, at.X, at.Y, "Glyphs", *picture); },
                "stretched " + where);
        }
}

TEST(TextEffectsFar, TextsWiderThanABitmapMayBeAreDrawnWhereTheyShow)
{
    // About 45,000 pixels wide: no mask or work bitmap of the whole text can be made.
    const std::string text(5000, 'W');
    auto b = Page();
    TCanvas& c = b->Canvas();
    ASSERT_GT(c.TextWidth(text), 32767);
    const std::int32_t x = -c.TextWidth("W") * 2500;
    auto picture = Gradient(8, 8);
    EXPECT_NO_THROW(TextSmooth(c, x, 10, text));
    EXPECT_NO_THROW(PaintOnText(c, x, 30, text, *picture));
    // The middle of the text looks like the same letters drawn near the origin.
    auto near = Page();
    TextSmooth(near->Canvas(), 0, 10, std::string(40, 'W'));
    const Picture far = Snapshot(*b), close = Snapshot(*near);
    int glyphPixels = 0;
    for (int y = 10; y < 28; ++y)
        for (int col = 20; col < 120; ++col) {
            ASSERT_EQ(far[y][col], close[y][col]) << col << ", " << y;
            glyphPixels += close[y][col] == clBlack;
        }
    EXPECT_GT(glyphPixels, 100);
}

TEST(TextEffectsFar, RotatedTextWithTheLowestFontHeightIsDefined)
{
    auto b = Page();
    TCanvas& c = b->Canvas();
    c.Font().SetHeight(kMinInt);
    const auto objects = GdiObjectCount();
    EXPECT_NO_THROW(DrawTextAnglo(c, 5, 5, "A", 450));
    EXPECT_EQ(GdiObjectCount(), objects);
    EXPECT_EQ(c.Font().Height(), kMinInt);
}

TEST(ReadPixels, ACallbackMayFreeTheBitmapOrReplaceItself)
{
    auto b = std::make_unique<TBitmap>(3, 2);
    b->Canvas().SetPixels(0, 0, clRed);
    std::vector<TColor> seen;
    TPixelProc callback;
    callback = [&](TColor c) {
        seen.push_back(c);
        if (seen.size() == 2) {
            b.reset();
            callback = nullptr;
        }
    };
    ReadPixels(*b, callback);
    ASSERT_EQ(seen.size(), 6u) << "every position is still called back";
    EXPECT_EQ(seen[0], clRed);
    EXPECT_EQ(seen[5], clInvalid) << "a freed bitmap has no pixels left to read";
}
