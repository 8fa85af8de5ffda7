#include "color/host/Bitmap.h"
#include "color/host/Gdi.h"
#include "color/host/SysColors.h"
#include "color/host/detail/LineWalk.h"

#include "TestBitmaps.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace plx;
using plx::test::Filled;

namespace {

// The set of pixels of a given colour.
std::set<std::pair<int, int>> PixelsOf(TBitmap& b, TColor c)
{
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixels(x, y) == c)
                s.insert({ x, y });
    return s;
}

} // namespace

TEST(CanvasPixels, ReadBackExactAndInvalidOutside)
{
    TBitmap b(4, 3);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clWhite) << "a new bitmap is white";
    b.Canvas().SetPixels(1, 2, 0x123456);
    EXPECT_EQ(b.Canvas().Pixels(1, 2), 0x123456);
    EXPECT_EQ(b.Canvas().Pixels(4, 0), clInvalid);
    EXPECT_EQ(b.Canvas().Pixels(-1, 0), clInvalid);
    b.Canvas().SetPixels(4, 0, 0); // outside: nothing happens
    b.Canvas().SetPixels(1, 1, clBtnFace);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), 0xC0C0C0) << "system colours are resolved when drawn";
}

TEST(CanvasFill, RightAndBottomEdgesAreExclusive)
{
    auto bOwner = Filled(6, 6);
    TBitmap& b = *bOwner;
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(Rect(1, 1, 3, 4));
    EXPECT_EQ(PixelsOf(b, clRed).size(), 6u);
    EXPECT_EQ(b.Canvas().Pixels(2, 3), clRed);
    EXPECT_EQ(b.Canvas().Pixels(3, 3), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(2, 4), clWhite);
    // Adjacent fills leave no gap and do not overlap.
    b.Canvas().Brush().SetColor(clBlue);
    b.Canvas().FillRect(Rect(3, 1, 5, 4));
    for (int x = 1; x < 5; ++x)
        EXPECT_NE(b.Canvas().Pixels(x, 2), clWhite);
}

TEST(CanvasFill, ClearBrushFillsNothingAndSettingAColourMakesItSolid)
{
    auto bOwner = Filled(4, 4);
    TBitmap& b = *bOwner;
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(PixelsOf(b, clWhite).size(), 16u);
    b.Canvas().Brush().SetColor(clRed);
    EXPECT_EQ(b.Canvas().Brush().Style(), bsSolid);
    b.Canvas().FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(PixelsOf(b, clRed).size(), 16u);
}

TEST(CanvasFill, EmptyAndReversedRectanglesFillNothing)
{
    auto bOwner = Filled(4, 4);
    TBitmap& b = *bOwner;
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(Rect(2, 2, 2, 4));
    b.Canvas().FillRect(Rect(3, 3, 1, 1));
    EXPECT_TRUE(PixelsOf(b, clRed).empty());
}

TEST(CanvasFill, BrushBitmapIsAPatternAlignedToTheCanvasOrigin)
{
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.Canvas().SetPixels(x, y, (x + y) % 2 ? clBlack : clWhite);
    auto bOwner = Filled(20, 20, clRed);
    TBitmap& b = *bOwner;
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().Brush().SetBitmap(&pattern);
    b.Canvas().FillRect(Rect(3, 5, 19, 17));
    for (int y = 5; y < 17; ++y)
        for (int x = 3; x < 19; ++x)
            ASSERT_EQ(b.Canvas().Pixels(x, y), (x + y) % 2 ? clBlack : clWhite) << x << "," << y;
    EXPECT_EQ(b.Canvas().Pixels(2, 5), clRed);
}

TEST(CanvasShapes, RectangleOutlinesInsideTheBoxAndFillsTheInterior)
{
    auto bOwner = Filled(8, 8);
    TBitmap& b = *bOwner;
    b.Canvas().Pen().SetColor(clBlack);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().Rectangle(1, 1, 6, 5);
    for (int x = 1; x < 6; ++x) {
        EXPECT_EQ(b.Canvas().Pixels(x, 1), clBlack);
        EXPECT_EQ(b.Canvas().Pixels(x, 4), clBlack);
    }
    for (int y = 1; y < 5; ++y) {
        EXPECT_EQ(b.Canvas().Pixels(1, y), clBlack);
        EXPECT_EQ(b.Canvas().Pixels(5, y), clBlack);
    }
    EXPECT_EQ(PixelsOf(b, clRed).size(), 6u); // 3 x 2 interior
    EXPECT_EQ(b.Canvas().Pixels(6, 1), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(1, 5), clWhite);
}

TEST(CanvasShapes, WidePenIsCentredOnTheEdge)
{
    auto bOwner = Filled(20, 20);
    TBitmap& b = *bOwner;
    b.Canvas().Pen().SetWidth(3);
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().Rectangle(5, 5, 15, 15);
    // The one-pixel outline would run on columns 5 and 14; a 3-pixel pen covers 4..6 and 13..15.
    for (int x : { 4, 5, 6, 13, 14, 15 })
        EXPECT_EQ(b.Canvas().Pixels(x, 10), clBlack) << x;
    EXPECT_EQ(b.Canvas().Pixels(3, 10), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(7, 10), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(12, 10), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(16, 10), clWhite);
}

TEST(CanvasShapes, EllipseIsSymmetricInsideItsBoxAndItsOutlineHasNoGaps)
{
    for (auto [w, h] : { std::pair { 9, 9 }, { 20, 11 }, { 7, 30 }, { 2, 2 }, { 1, 5 } }) {
        auto bOwner = Filled(w + 4, h + 4);
    TBitmap& b = *bOwner;
        b.Canvas().Brush().SetColor(clRed);
        b.Canvas().Ellipse(2, 2, 2 + w, 2 + h);
        auto outline = PixelsOf(b, clBlack);
        auto inside = PixelsOf(b, clRed);
        ASSERT_FALSE(outline.empty());
        for (auto [x, y] : outline) {
            EXPECT_TRUE(x >= 2 && x < 2 + w && y >= 2 && y < 2 + h) << "outside the box at " << x << "," << y;
            // Mirror images across both axes are outline pixels too.
            EXPECT_TRUE(outline.count({ 2 + 2 + w - 1 - x, y })) << w << "x" << h;
            EXPECT_TRUE(outline.count({ x, 2 + 2 + h - 1 - y })) << w << "x" << h;
        }
        // Every interior pixel's four neighbours are interior or outline: the fill cannot leak.
        for (auto [x, y] : inside)
            for (auto [dx, dy] : { std::pair { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } })
                EXPECT_TRUE(inside.count({ x + dx, y + dy }) || outline.count({ x + dx, y + dy }));
    }
}

TEST(CanvasShapes, ClearPenFillsTheWholeShape)
{
    auto bOwner = Filled(10, 10);
    TBitmap& b = *bOwner;
    b.Canvas().Pen().SetStyle(psClear);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().Rectangle(2, 2, 6, 6);
    EXPECT_EQ(PixelsOf(b, clRed).size(), 16u);
    EXPECT_TRUE(PixelsOf(b, clBlack).empty());
}

TEST(CanvasShapes, RoundRectCutsItsCorners)
{
    auto bOwner = Filled(20, 20);
    TBitmap& b = *bOwner;
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().RoundRect(0, 0, 20, 20, 8, 8);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(19, 19), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(0, 10), clBlack);
    EXPECT_EQ(b.Canvas().Pixels(10, 0), clBlack);
    EXPECT_EQ(b.Canvas().Pixels(10, 10), clRed);
}

TEST(CanvasShapes, ArcRunsCounterClockwiseFromTheStartRadial)
{
    auto bOwner = Filled(21, 21);
    TBitmap& b = *bOwner;
    // From the right (3 o'clock) counter-clockwise to the top (12 o'clock): the upper-right quarter.
    b.Canvas().Arc(0, 0, 21, 21, 20, 10, 10, 0);
    auto drawn = PixelsOf(b, clBlack);
    ASSERT_FALSE(drawn.empty());
    for (auto [x, y] : drawn)
        EXPECT_TRUE(x >= 10 && y <= 10) << x << "," << y;
    EXPECT_TRUE(drawn.count({ 20, 10 }) || drawn.count({ 20, 9 }));
    auto cOwner = Filled(21, 21);
    TBitmap& c = *cOwner;
    c.Canvas().Arc(0, 0, 21, 21, 10, 0, 20, 10); // the other three quarters
    for (auto [x, y] : PixelsOf(c, clBlack))
        EXPECT_FALSE(x > 11 && y < 9) << x << "," << y;
}

TEST(CanvasLines, LastPointIsNotDrawn)
{
    auto bOwner = Filled(10, 10);
    TBitmap& b = *bOwner;
    b.Canvas().MoveTo(1, 1);
    b.Canvas().LineTo(5, 1);
    EXPECT_EQ(PixelsOf(b, clBlack), (std::set<std::pair<int, int>> { { 1, 1 }, { 2, 1 }, { 3, 1 }, { 4, 1 } }));
    EXPECT_EQ(b.Canvas().PenPos(), Point(5, 1));
    auto cOwner = Filled(10, 10);
    TBitmap& c = *cOwner;
    c.Canvas().Polyline({ Point(1, 1), Point(1, 4), Point(4, 4) });
    EXPECT_EQ(PixelsOf(c, clBlack).size(), 6u);
    EXPECT_EQ(c.Canvas().Pixels(1, 4), clBlack);
    EXPECT_EQ(c.Canvas().Pixels(4, 4), clWhite);
}

TEST(CanvasLines, XorPenTwiceRestores)
{
    auto bOwner = Filled(10, 10, 0x336699);
    TBitmap& b = *bOwner;
    b.Canvas().Pen().SetMode(pmXor);
    b.Canvas().Pen().SetColor(0xFFFFFF);
    b.Canvas().MoveTo(0, 0);
    b.Canvas().LineTo(9, 9);
    EXPECT_EQ(b.Canvas().Pixels(3, 3), 0x336699 ^ 0xFFFFFF);
    b.Canvas().MoveTo(0, 0);
    b.Canvas().LineTo(9, 9);
    EXPECT_EQ(PixelsOf(b, 0x336699).size(), 100u);
}

TEST(CanvasLines, NotPenInvertsUnderRectangle)
{
    auto bOwner = Filled(4, 4, 0x102030);
    TBitmap& b = *bOwner;
    b.Canvas().Pen().SetMode(pmNot);
    b.Canvas().Brush().SetStyle(bsClear);
    b.Canvas().Rectangle(0, 0, 4, 4);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0xEFDFCF);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), 0x102030);
}

TEST(CanvasClip, DrawingStaysInsideTheClipRect)
{
    auto bOwner = Filled(10, 10);
    TBitmap& b = *bOwner;
    b.Canvas().SetClipRect(Rect(2, 2, 5, 5));
    EXPECT_EQ(b.Canvas().ClipRect(), Rect(2, 2, 5, 5));
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(PixelsOf(b, clRed).size(), 9u);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clInvalid) << "outside the clip reads as invalid";
}

TEST(CanvasCopy, CopyModeCombinesSourceAndDestination)
{
    auto srcOwner = Filled(2, 1, 0x0F0F0F);
    TBitmap& src = *srcOwner;
    src.Canvas().SetPixels(1, 0, 0xF0F0F0);
    auto dstOwner = Filled(2, 1, 0x3C3C3C);
    TBitmap& dst = *dstOwner;
    dst.Canvas().SetCopyMode(cmSrcInvert);
    dst.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst.Canvas().Pixels(0, 0), 0x3C3C3C ^ 0x0F0F0F);
    EXPECT_EQ(dst.Canvas().Pixels(1, 0), 0x3C3C3C ^ 0xF0F0F0);
    dst.Canvas().SetCopyMode(cmSrcAnd);
    dst.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst.Canvas().Pixels(0, 0), (0x3C3C3C ^ 0x0F0F0F) & 0x0F0F0F);
}

TEST(CanvasCopy, MaskPassesShowPictureWhereMaskIsBlack)
{
    // ((background XOR picture) AND mask) XOR picture
    auto backgroundOwner = Filled(2, 1, 0x123456);
    TBitmap& background = *backgroundOwner;
    auto pictureOwner = Filled(2, 1, 0xABCDEF);
    TBitmap& picture = *pictureOwner;
    auto maskOwner = Filled(2, 1, clWhite);
    TBitmap& mask = *maskOwner;
    mask.SetMonochrome(true);
    mask.Canvas().SetPixels(0, 0, clBlack);
    TCanvas& c = background.Canvas();
    c.SetCopyMode(cmSrcInvert);
    c.Draw(0, 0, picture);
    c.SetCopyMode(cmSrcAnd);
    c.Draw(0, 0, mask);
    c.SetCopyMode(cmSrcInvert);
    c.Draw(0, 0, picture);
    EXPECT_EQ(c.Pixels(0, 0), 0xABCDEF);
    EXPECT_EQ(c.Pixels(1, 0), 0x123456);
}

TEST(CanvasCopy, DestinationPixelsWithoutSourceStayUnchanged)
{
    auto srcOwner = Filled(3, 3, clRed);
    TBitmap& src = *srcOwner;
    auto dstOwner = Filled(6, 6);
    TBitmap& dst = *dstOwner;
    dst.Canvas().CopyRect(Rect(0, 0, 6, 6), src.Canvas(), Rect(0, 0, 6, 6));
    EXPECT_EQ(PixelsOf(dst, clRed).size(), 9u);
    EXPECT_EQ(PixelsOf(dst, clWhite).size(), 27u);
    dst.Canvas().Draw(4, 4, src); // partly outside the destination
    EXPECT_EQ(dst.Canvas().Pixels(5, 5), clRed);
    dst.Canvas().Draw(-2, -2, src);
    EXPECT_EQ(dst.Canvas().Pixels(0, 0), clRed);
}

TEST(CanvasCopy, StretchDrawScalesByNearestPixel)
{
    TBitmap src(2, 1);
    src.Canvas().SetPixels(0, 0, clRed);
    src.Canvas().SetPixels(1, 0, clBlue);
    auto dstOwner = Filled(8, 2);
    TBitmap& dst = *dstOwner;
    dst.Canvas().StretchDraw(Rect(0, 0, 8, 2), src);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(dst.Canvas().Pixels(x, y), x < 4 ? clRed : clBlue);
}

TEST(CanvasCopy, TransparentBitmapLeavesItsTransparentColourOut)
{
    auto srcOwner = Filled(2, 2, clLime);
    TBitmap& src = *srcOwner;
    src.Canvas().SetPixels(0, 0, clRed);
    EXPECT_EQ(src.TransparentColor(), clLime) << "the bottom-left pixel by default";
    src.SetTransparent(true);
    auto dstOwner = Filled(2, 2, clBlue);
    TBitmap& dst = *dstOwner;
    dst.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst.Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(dst.Canvas().Pixels(1, 1), clBlue);
}

TEST(CanvasCopy, CopyWithinOneBitmapHandlesOverlap)
{
    TBitmap b(4, 1);
    for (int x = 0; x < 4; ++x)
        b.Canvas().SetPixels(x, 0, x);
    b.Canvas().CopyRect(Rect(1, 0, 4, 1), b.Canvas(), Rect(0, 0, 3, 1));
    EXPECT_EQ(b.Canvas().Pixels(1, 0), 0);
    EXPECT_EQ(b.Canvas().Pixels(2, 0), 1);
    EXPECT_EQ(b.Canvas().Pixels(3, 0), 2);
}

TEST(Frame3D, TopLeftAndBottomRightColoursAndShrink)
{
    auto bOwner = Filled(6, 6);
    TBitmap& b = *bOwner;
    TRect r = Rect(0, 0, 6, 6);
    Frame3D(b.Canvas(), r, clRed, clBlue, 1);
    EXPECT_EQ(r, Rect(1, 1, 5, 5));
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixels(4, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixels(5, 0), clBlue) << "the top-right corner belongs to the bottom-right colour";
    EXPECT_EQ(b.Canvas().Pixels(0, 4), clRed);
    EXPECT_EQ(b.Canvas().Pixels(0, 5), clBlue);
    EXPECT_EQ(b.Canvas().Pixels(5, 5), clBlue);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), clWhite);
    TRect r2 = Rect(0, 0, 6, 6);
    auto cOwner = Filled(6, 6);
    TBitmap& c = *cOwner;
    Frame3D(c.Canvas(), r2, clRed, clBlue, 2);
    EXPECT_EQ(r2, Rect(2, 2, 4, 4));
    EXPECT_EQ(c.Canvas().Pixels(1, 1), clRed);
    EXPECT_EQ(c.Canvas().Pixels(4, 4), clBlue);
    EXPECT_EQ(c.Canvas().Pen().Color(), clBlue);
}

TEST(CanvasStateGuard, RestoresPenBrushFontColourAndCopyMode)
{
    TBitmap b(2, 2);
    TCanvas& c = b.Canvas();
    c.Brush().SetStyle(bsClear);
    {
        TCanvasStateGuard guard(c);
        c.Pen().SetColor(clRed);
        c.Pen().SetWidth(3);
        c.Brush().SetColor(clBlue);
        c.Font().SetColor(clLime);
        c.SetCopyMode(cmSrcAnd);
    }
    EXPECT_EQ(c.Pen().Color(), clBlack);
    EXPECT_EQ(c.Pen().Width(), 1);
    EXPECT_EQ(c.Brush().Style(), bsClear);
    EXPECT_EQ(c.Font().Color(), clWindowText);
    EXPECT_EQ(c.CopyMode(), cmSrcCopy);
}

TEST(SystemColours, ClassicSchemeAndChangeableTable)
{
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0x8000000F));
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(SystemColor(200)), 0) << "an unknown index resolves to black";
    SetSysColor(15, 0x00FF00);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x00FF00);
    ResetSysColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
}

TEST(Geometry, RectHelpers)
{
    TRect r = Bounds(1, 2, 3, 4);
    EXPECT_EQ(r, Rect(1, 2, 4, 6));
    EXPECT_TRUE(PtInRect(r, Point(1, 2)));
    EXPECT_FALSE(PtInRect(r, Point(4, 2))) << "right edge is exclusive";
    EXPECT_FALSE(PtInRect(r, Point(1, 6))) << "bottom edge is exclusive";
    InflateRect(r, 1, 2);
    EXPECT_EQ(r, Rect(0, 0, 5, 8));
    OffsetRect(r, 2, -1);
    EXPECT_EQ(r, Rect(2, -1, 7, 7));
    EXPECT_EQ(Intersect(Rect(0, 0, 2, 2), Rect(3, 3, 4, 4)), TRect {});
}

// ---- Far coordinates -------------------------------------------------------
//
// Any int32 coordinate is valid: a call costs what its visible part costs, and
// nothing wraps. A canvas whose origin lies far away shows the pixels of far
// coordinates, so drawing there must give exactly the pixels drawn near (0, 0).

namespace {

using Words = std::vector<std::uint32_t>;

Words WordsOf(const TBitmap& b)
{
    auto words = b.Image().Words();
    return { words.begin(), words.end() };
}

// The pixels where two bitmaps of one size differ, as "x,y" pairs.
std::string Differences(const TBitmap& a, const TBitmap& b)
{
    std::string out;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Canvas().Pixels(x, y) != b.Canvas().Pixels(x, y))
                out += std::to_string(x) + "," + std::to_string(y) + " ";
    return out;
}

// A canvas on b's pixels whose own (0, 0) is the bitmap's point origin.
std::unique_ptr<TCanvas> CanvasAt(TBitmap& b, TPoint origin)
{
    auto c = std::make_unique<TCanvas>();
    c->SetSurface(&b.Image(), origin, b.Image().Bounds());
    return c;
}

// A small picture whose pixels all differ.
std::unique_ptr<TBitmap> Picture(int w, int h)
{
    auto p = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->Canvas().SetPixels(x, y, RGB(20 * x + 5, 30 * y + 7, 99));
    return p;
}

// Draws with draw(canvas, shift) once at (0, 0) and once shifted by `shift` on
// a canvas whose origin takes the shift back, and compares the pixels.
template <class Draw>
void ExpectSameWhereverDrawn(Draw draw, std::initializer_list<TPoint> shifts)
{
    auto nearOwner = Filled(48, 40);
    draw(nearOwner->Canvas(), TPoint {});
    for (TPoint shift : shifts) {
        auto farOwner = Filled(48, 40);
        auto far = CanvasAt(*farOwner, Point(-shift.X, -shift.Y));
        draw(*far, shift);
        EXPECT_EQ(Differences(*farOwner, *nearOwner), "") << "shifted by " << shift.X << ", " << shift.Y;
    }
}

// Shifts that are multiples of 8 keep brush patterns aligned; coordinates up to
// 60 past them stay in the int32 range.
constexpr TPoint kFarRight { 2147483584, 2147483584 };
constexpr TPoint kFarLeft { -2147483584, -2147483584 };
constexpr TPoint kFarMixed { 2147483584, -2147483584 };

// The walk the canvas's lines take, over the whole line (no clipping): the
// reference for every clipped line.
std::vector<TPoint> WholeLine(TPoint a, TPoint b)
{
    std::vector<TPoint> points;
    int x = a.X, y = a.Y;
    const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
    const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy;
    while (x != b.X || y != b.Y) {
        points.push_back({ x, y });
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return points;
}

} // namespace

TEST(CanvasFar, EveryFigureDrawsTheSameWhereverItLies)
{
    auto picture = Picture(6, 5);
    const auto shifted = [](TPoint s, int x, int y) { return Point(s.X + x, s.Y + y); };
    ExpectSameWhereverDrawn(
        [&](TCanvas& c, TPoint s) {
            c.Brush().SetColor(clYellow);
            c.FillRect(Rect(s.X + 1, s.Y + 1, s.X + 9, s.Y + 5));
            c.Brush().SetStyle(bsDiagCross);
            c.Brush().SetColor(clNavy);
            c.FillRect(Rect(s.X + 30, s.Y + 1, s.X + 47, s.Y + 8));
            c.Brush().SetColor(clRed);
            c.Pen().SetWidth(3);
            c.Rectangle(s.X + 2, s.Y + 6, s.X + 14, s.Y + 15);
            c.Ellipse(s.X + 15, s.Y + 2, s.X + 28, s.Y + 13);
            c.Pen().SetWidth(1);
            c.RoundRect(s.X + 30, s.Y + 10, s.X + 46, s.Y + 22, 7, 5);
            c.Arc(s.X + 1, s.Y + 16, s.X + 18, s.Y + 31, s.X + 17, s.Y + 20, s.X + 3, s.Y + 29);
            c.Polygon({ shifted(s, 20, 16), shifted(s, 29, 30), shifted(s, 13, 27), shifted(s, 24, 21) });
            c.Pen().SetStyle(psDashDot);
            c.Polyline({ shifted(s, 0, 33), shifted(s, 40, 39), shifted(s, 47, 24) });
            c.Pen().SetStyle(psSolid);
            c.Pen().SetWidth(4);
            c.MoveTo(s.X + 33, s.Y + 38);
            c.LineTo(s.X + 46, s.Y + 26);
            c.Pen().SetWidth(1);
            c.Draw(s.X + 40, s.Y + 0, *picture);
            c.StretchDraw(Rect(s.X + 2, s.Y + 33, s.X + 14, s.Y + 40), *picture);
            c.CopyRect(Rect(s.X + 16, s.Y + 33, s.X + 21, s.Y + 36), picture->Canvas(), Rect(1, 1, 6, 4));
            TRect frame = Rect(s.X + 22, s.Y + 31, s.X + 32, s.Y + 40);
            Frame3D(c, frame, clLime, clPurple, 2);
            EXPECT_EQ(frame, Rect(s.X + 24, s.Y + 33, s.X + 30, s.Y + 38));
            c.SetPixels(s.X + 47, s.Y + 39, clAqua);
            EXPECT_EQ(c.Pixels(s.X + 47, s.Y + 39), clAqua);
        },
        { kFarRight, kFarLeft, kFarMixed, Point(8, -16) });
}

TEST(CanvasFar, AFarOriginShowsCoordinatesBeyondTheEndOfTheIntRange)
{
    // Canvas column INT32_MAX - 10 is bitmap column 0: a picture drawn at
    // INT32_MAX - 5 runs past the end of the int32 range and shows whole.
    auto picture = Picture(10, 2);
    auto b = Filled(20, 2);
    auto c = CanvasAt(*b, Point(-(INT32_MAX - 10), 0));
    c->Draw(INT32_MAX - 5, 0, *picture);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(b->Canvas().Pixels(x, y), x >= 5 && x < 15 ? picture->Canvas().Pixels(x - 5, y) : clWhite) << x;

    auto d = Filled(20, 2);
    auto dc = CanvasAt(*d, Point(-(INT32_MAX - 10), 0));
    EXPECT_TRUE(BitBlt(dc->Handle(), INT32_MAX - 5, 0, 10, 2, picture->Canvas().Handle(), 0, 0, SRCCOPY));
    EXPECT_EQ(WordsOf(*d), WordsOf(*b));
}

TEST(CanvasFar, StretchingAcrossMoreThanTheIntRangeMapsEveryPixel)
{
    auto red = Filled(10, 10, clRed);
    auto b = Filled(20, 20);
    b->Canvas().StretchDraw(Rect(-1100000000, 0, 1100000000, 10), *red);
    EXPECT_EQ(PixelsOf(*b, clRed).size(), 200u);

    // Across the whole range, each visible pixel shows the source pixel under
    // its centre: column 5 of 10 (2^31 + x of 2^32 - 1 columns, times 10).
    auto picture = Picture(10, 1);
    auto c = Filled(20, 1);
    c->Canvas().CopyRect(Rect(INT32_MIN, 0, INT32_MAX, 1), picture->Canvas(), Rect(0, 0, 10, 1));
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(c->Canvas().Pixels(x, 0), picture->Canvas().Pixels(5, 0)) << x;
    // Reversed, the same rectangle mirrors: column 4.
    c->Canvas().CopyRect(Rect(INT32_MAX, 0, INT32_MIN, 1), picture->Canvas(), Rect(0, 0, 10, 1));
    EXPECT_EQ(c->Canvas().Pixels(0, 0), picture->Canvas().Pixels(4, 0));
}

TEST(CanvasFar, ShapesSpanningTheIntRangeDrawTheirVisiblePart)
{
    auto b = Filled(20, 20);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(clRed);
    c.Ellipse(INT32_MIN, 0, INT32_MAX, 10);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(c.Pixels(x, 0), clBlack) << "the top row is outline";
        EXPECT_EQ(c.Pixels(x, 5), clRed);
        EXPECT_EQ(c.Pixels(x, 9), clBlack) << "the bottom row is outline";
        EXPECT_EQ(c.Pixels(x, 10), clWhite);
    }

    // A wide pen on a box reaching the end of the range: the same visible pixels
    // as on a box whose far edges are merely off the bitmap.
    auto wide = [](const TRect& box) {
        auto w = Filled(20, 20);
        w->Canvas().Pen().SetWidth(5);
        w->Canvas().Brush().SetColor(clBlue);
        w->Canvas().Rectangle(box);
        return WordsOf(*w);
    };
    EXPECT_EQ(wide(Rect(0, 0, INT32_MAX, INT32_MAX)), wide(Rect(0, 0, 1000, 1000)));
    EXPECT_EQ(wide(Rect(INT32_MIN, INT32_MIN, 12, 12)), wide(Rect(-1000, -1000, 12, 12)));

    // Corners larger than the box are the box: the smallest int32 corner too.
    auto rounded = [](std::int32_t corner) {
        auto r = Filled(12, 12);
        r->Canvas().RoundRect(1, 1, 11, 11, corner, corner);
        return WordsOf(*r);
    };
    EXPECT_EQ(rounded(INT32_MIN), rounded(10));
    EXPECT_EQ(rounded(INT32_MAX), rounded(10));
}

TEST(CanvasFar, LongLinesCostTheirVisiblePart)
{
    auto b = Filled(10, 10);
    TCanvas& c = b->Canvas();
    c.MoveTo(-1000000000, 5);
    c.LineTo(1000000000, 5);
    EXPECT_EQ(PixelsOf(*b, clBlack).size(), 10u);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(c.Pixels(x, 5), clBlack);

    // A shallow line across the whole range: at x = 0..9 it has climbed 5 of its 10 rows.
    auto s = Filled(10, 10);
    s->Canvas().MoveTo(-1000000000, 0);
    s->Canvas().LineTo(1000000000, 10);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(s->Canvas().Pixels(x, 5), clBlack) << x;
    EXPECT_EQ(PixelsOf(*s, clBlack).size(), 10u);

    // From one corner of the range to the other: the diagonal.
    auto d = Filled(10, 10);
    d->Canvas().MoveTo(INT32_MIN + 1, INT32_MIN + 1);
    d->Canvas().LineTo(INT32_MAX, INT32_MAX);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(d->Canvas().Pixels(i, i), clBlack) << i;
    EXPECT_EQ(PixelsOf(*d, clBlack).size(), 10u);

    // Dots stay in phase: pixel x is step x + 999999999 of the line.
    auto dots = Filled(10, 10);
    dots->Canvas().Pen().SetStyle(psDot);
    dots->Canvas().Brush().SetStyle(bsClear);
    dots->Canvas().MoveTo(-999999999, 5);
    dots->Canvas().LineTo(1000000000, 5);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(dots->Canvas().Pixels(x, 5), x % 2 == 1 ? clBlack : clWhite) << x;

    // A wide pen over ten million pixels paints only its visible rows.
    auto w = Filled(10, 10);
    w->Canvas().Pen().SetWidth(4);
    w->Canvas().MoveTo(-5000000, 5);
    w->Canvas().LineTo(5000000, 5);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(w->Canvas().Pixels(3, y), y >= 4 && y <= 7 ? clBlack : clWhite) << y;
}

TEST(CanvasFar, ClippedLinesKeepThePixelsOfTheWholeLine)
{
    // Every line between points around a 20 x 14 bitmap, drawn through clips
    // and origins, against the whole walk plotted pixel by pixel.
    std::uint32_t seed = 12345;
    auto next = [&seed](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(hi - lo + 1));
    };
    for (int round = 0; round < 400; ++round) {
        const TPoint a { next(-30, 50), next(-30, 45) }, z { next(-30, 50), next(-30, 45) };
        const TPoint origin { next(-3, 3), next(-3, 3) };
        const TRect clip = Rect(next(0, 8), next(0, 6), next(10, 20), next(8, 14));
        const int width = round % 4 == 3 ? next(2, 5) : 1;
        const TPenStyle style = round % 4 == 1 ? psDashDotDot : psSolid;

        auto drawn = Filled(20, 14);
        TCanvas c;
        c.SetSurface(&drawn->Image(), origin, clip);
        c.Pen().SetWidth(width);
        c.Pen().SetStyle(style);
        c.Brush().SetStyle(bsClear);
        c.MoveTo(a.X, a.Y);
        c.LineTo(z.X, z.Y);

        auto expected = Filled(20, 14);
        const auto steps = WholeLine(a, z);
        const int lo = (width - 1) / 2;
        const int dashes[] = { 6, 2, 1, 2, 1, 2 };
        for (std::size_t k = 0; k < steps.size(); ++k) {
            int phase = static_cast<int>(k % 14), run = 0;
            while (phase >= dashes[run])
                phase -= dashes[run++];
            if (style != psSolid && run % 2 == 1)
                continue;
            for (int dy = 0; dy < width; ++dy)
                for (int dx = 0; dx < width; ++dx) {
                    const TPoint p { steps[k].X - lo + dx + origin.X, steps[k].Y - lo + dy + origin.Y };
                    if (clip.Contains(p))
                        expected->Canvas().SetPixels(p.X, p.Y, clBlack);
                }
        }
        ASSERT_EQ(WordsOf(*drawn), WordsOf(*expected))
            << "line (" << a.X << "," << a.Y << ")-(" << z.X << "," << z.Y << ") width " << width << " style " << style;
    }
}

TEST(CanvasFar, PolygonsAndDottedFramesCostTheirVisibleRows)
{
    auto b = Filled(10, 10);
    b->Canvas().Brush().SetColor(clRed);
    b->Canvas().Polygon({ Point(-100000000, 100000000), Point(5, -100000000), Point(100000000, 100000000) });
    EXPECT_EQ(PixelsOf(*b, clRed).size(), 100u);

    auto d = Filled(10, 10);
    d->Canvas().Pen().SetStyle(psDot);
    d->Canvas().Brush().SetStyle(bsClear);
    d->Canvas().Rectangle(-100000000, -100000000, 100000000, 100000000);
    EXPECT_EQ(PixelsOf(*d, clWhite).size(), 100u) << "the frame is far outside";
    // The left edge is drawn last, after 4e8 - 3 steps of the other three: its
    // dots fall on the even rows.
    auto e = Filled(10, 10);
    e->Canvas().Pen().SetStyle(psDot);
    e->Canvas().Brush().SetStyle(bsClear);
    e->Canvas().Rectangle(0, -100000000, 100000000, 100000000);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(e->Canvas().Pixels(0, y), y % 2 == 0 ? clBlack : clWhite) << y;
}

TEST(Frame3D, SkippedRingsChangeNoPixelAndTheRectangleShrinksByTheWidth)
{
    // The reference draws every ring, as the frame is defined.
    auto everyRing = [](TCanvas& c, TRect r, std::int32_t width) {
        c.Pen().SetWidth(1);
        --r.Bottom;
        --r.Right;
        for (int k = 0; k < width; ++k) {
            c.Pen().SetColor(clLime);
            c.Polyline({ Point(r.Left, r.Bottom), r.TopLeft(), Point(r.Right, r.Top) });
            c.Pen().SetColor(clPurple);
            c.Polyline({ Point(r.Right, r.Top), r.BottomRight(), Point(r.Left - 1, r.Bottom) });
            InflateRect(r, -1, -1);
        }
    };
    for (TRect box : { Rect(2, 3, 15, 12), Rect(-20, 5, 40, 9), Rect(8, 8, 8, 30), Rect(-5, -5, 25, 25) }) {
        for (std::int32_t width : { 1, 3, 7, 12, 40 }) {
            for (TPenMode mode : { pmCopy, pmXor }) {
                auto drawn = Filled(20, 20), expected = Filled(20, 20);
                drawn->Canvas().Pen().SetMode(mode);
                expected->Canvas().Pen().SetMode(mode);
                TRect r = box;
                Frame3D(drawn->Canvas(), r, clLime, clPurple, width);
                everyRing(expected->Canvas(), box, width);
                EXPECT_EQ(WordsOf(*drawn), WordsOf(*expected)) << box.Left << "," << box.Top << " width " << width;
                EXPECT_EQ(r, Rect(box.Left + width, box.Top + width, box.Right - width, box.Bottom - width));
                EXPECT_EQ(drawn->Canvas().Pen().Color(), clPurple);
            }
        }
    }
    // Frames far wider than the canvas: as many rings as reach it, then none.
    for (std::int32_t width : { 16000, 100000 }) {
        auto drawn = Filled(50, 50), expected = Filled(50, 50);
        TRect r = Rect(0, 0, 50, 50);
        Frame3D(drawn->Canvas(), r, clLime, clPurple, width);
        everyRing(expected->Canvas(), Rect(0, 0, 50, 50), 100);
        EXPECT_EQ(WordsOf(*drawn), WordsOf(*expected));
        EXPECT_EQ(r, Rect(width, width, 50 - width, 50 - width));
    }
    auto huge = Filled(50, 50);
    TRect r = Rect(10, -10, 50, -5);
    Frame3D(huge->Canvas(), r, clLime, clPurple, INT32_MAX);
    EXPECT_EQ(r, Rect(INT32_MAX, INT32_MAX - 10, 50 - INT32_MAX, INT32_MIN)) << "edges stop at the ends of the range";
}

TEST(Geometry, WidthsAreExactAndMovedEdgesSaturate)
{
    EXPECT_EQ(Rect(INT32_MIN, 0, INT32_MAX, 1).Width(), 4294967295LL);
    EXPECT_EQ(Rect(0, INT32_MAX, 0, INT32_MIN).Height(), -4294967295LL);
    EXPECT_EQ(Bounds(INT32_MAX - 5, INT32_MIN, 10, -10), Rect(INT32_MAX - 5, INT32_MIN, INT32_MAX, INT32_MIN));
    TRect r = Rect(INT32_MIN + 1, 5, INT32_MAX - 1, 10);
    InflateRect(r, 4, INT32_MIN);
    EXPECT_EQ(r, Rect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN + 10));
    TRect s = Rect(-10, 10, 20, 30);
    OffsetRect(s, INT32_MAX, INT32_MIN);
    EXPECT_EQ(s, Rect(INT32_MAX - 10, INT32_MIN + 10, INT32_MAX, INT32_MIN + 30));
    EXPECT_EQ(SaturateInt32(1LL << 40), INT32_MAX);
}

TEST(LineWalk, StartingAnywhereFollowsTheWholeWalk)
{
    // Lines up to 2^32 long: from any step, walking on visits the pixels the
    // closed form gives, and the range of steps with a coordinate in a window
    // holds exactly those.
    const std::int64_t far = INT32_MAX, near = INT32_MIN;
    using Line = std::array<std::int64_t, 4>;
    for (auto [ax, ay, bx, by] : { Line { near, -7, far, 12 }, Line { far, near, near, far }, Line { 3, near, -4, far },
             Line { 0, 0, 7, 3 }, Line { 5, 5, 5, -9 }, Line { near + 1, far, far, far - 2 } }) {
        const detail::LineWalk walk(ax, ay, bx, by);
        for (std::int64_t k : { std::int64_t { 0 }, walk.Steps() / 3, walk.Steps() / 2 + 1, walk.Steps() - 5 }) {
            if (k < 0 || k >= walk.Steps())
                continue;
            std::int64_t expected = k;
            walk.Walk({ k, std::min(k + 5, walk.Steps()) }, [&](std::int64_t x, std::int64_t y, std::int64_t step) {
                EXPECT_EQ(step, expected++);
                EXPECT_EQ(x, walk.X(step));
                EXPECT_EQ(y, walk.Y(step));
            });
            const std::int64_t x = walk.X(k), y = walk.Y(k);
            const detail::StepRange both = walk.WithX(x - 2, x + 3).Intersect(walk.WithY(y - 2, y + 3));
            EXPECT_LE(both.first, k);
            EXPECT_GT(both.end, k);
            for (std::int64_t j : { both.first - 1, both.end }) {
                if (j >= 0 && j < walk.Steps()) {
                    EXPECT_FALSE(std::abs(walk.X(j) - x) <= 2 && std::abs(walk.Y(j) - y) <= 2) << j;
                }
            }
        }
        EXPECT_EQ(walk.X(walk.Steps()), bx) << "one step past the last pixel is the end point";
        EXPECT_EQ(walk.Y(walk.Steps()), by);
    }
}
