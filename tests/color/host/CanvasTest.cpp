#include "color/host/Bitmap.h"
#include "color/host/Gdi.h"
#include "color/host/SysColors.h"

#include "TestBitmaps.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
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
