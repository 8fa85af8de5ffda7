#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/Gdi.h"
#include "color/host/SysColors.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"
#include "rtl/System.h"

#include "TestBitmaps.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <string>

using namespace plx;
using plx::test::Filled;

namespace {

// A bitmap whose pixel (x, y) has a colour unique to that position.
std::unique_ptr<TBitmap> Numbered(std::int32_t w, std::int32_t h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            b->Canvas().SetPixels(x, y, RGB(x, y, 0x40));
    return b;
}

} // namespace

// ---- Small queries ------------------------------------------------------------

TEST(DrawManQueries, TransColorIsTheTopLeftPixel)
{
    auto b = Filled(3, 3, clRed);
    b->Canvas().SetPixels(0, 0, 0x123456);
    EXPECT_EQ(TransColor(*b), 0x123456);
    TBitmap empty;
    EXPECT_EQ(TransColor(empty), clInvalid);
}

TEST(DrawManQueries, BmpIsNilForAbsentOrZeroSizedBitmaps)
{
    EXPECT_TRUE(BmpIsNil(nullptr));
    TBitmap a(0, 5), b(5, 0), c(1, 1);
    EXPECT_TRUE(BmpIsNil(&a));
    EXPECT_TRUE(BmpIsNil(&b));
    EXPECT_FALSE(BmpIsNil(&c));
}

TEST(DrawManQueries, SetSizeSetsWidthThenHeight)
{
    TBitmap b;
    int changes = 0;
    b.SetOnChange([&](TObject*) { ++changes; });
    SetSize(b, 7, 4);
    EXPECT_EQ(b.Width(), 7);
    EXPECT_EQ(b.Height(), 4);
    EXPECT_EQ(changes, 2) << "width and height are set one after the other";
}

// ---- Transparent drawing ------------------------------------------------------

TEST(DrawManTransparent, TransparentBltLeavesOutTheGivenColour)
{
    auto canvas = Filled(6, 6, clWhite);
    auto picture = Filled(3, 3, clLime);
    picture->Canvas().SetPixels(1, 1, clBlue);
    TransparentBlt(canvas->Canvas(), *picture, 2, 1, clLime);
    EXPECT_EQ(canvas->Canvas().Pixels(3, 2), clBlue);
    EXPECT_EQ(canvas->Canvas().Pixels(2, 1), clWhite);
    EXPECT_EQ(canvas->Canvas().Pixels(4, 3), clWhite);
    EXPECT_TRUE(picture->Transparent()) << "the bitmap keeps its transparency settings";
    EXPECT_EQ(picture->TransparentColor(), clLime);
}

TEST(DrawManTransparent, TransBltUsesTheBitmapsOwnTransparentColour)
{
    auto canvas = Filled(4, 4, clWhite);
    auto picture = Filled(2, 2, clRed);
    picture->Canvas().SetPixels(1, 0, clNavy); // the bottom-left pixel (0, 1) stays red
    TransBlt(canvas->Canvas(), *picture, 1, 1);
    EXPECT_EQ(canvas->Canvas().Pixels(2, 1), clNavy);
    EXPECT_EQ(canvas->Canvas().Pixels(1, 1), clWhite);
    EXPECT_EQ(canvas->Canvas().Pixels(1, 2), clWhite);
    EXPECT_EQ(picture->TransparentColor(), clRed);
}

TEST(DrawManTransparent, DrawingPartlyOffTheCanvasClips)
{
    auto canvas = Filled(4, 4, clWhite);
    auto picture = Numbered(3, 3);
    TransparentBlt(canvas->Canvas(), *picture, -1, 2, clFuchsia);
    EXPECT_EQ(canvas->Canvas().Pixels(0, 2), RGB(1, 0, 0x40));
    EXPECT_EQ(canvas->Canvas().Pixels(1, 3), RGB(2, 1, 0x40));
    EXPECT_EQ(canvas->Canvas().Pixels(2, 2), clWhite);
}

// ---- Edge-softened drawing ----------------------------------------------------

TEST(DrawManSmoothBlt, BackgroundNextToOpaquePixelsTakesEightyPercentOfThem)
{
    constexpr TColor kEdge = 0x2060A0;
    auto canvas = Filled(5, 5, clWhite);
    auto picture = Filled(3, 3, clLime);
    picture->Canvas().SetPixels(1, 1, kEdge);
    SmoothBlt(canvas->Canvas(), 1, 1, *picture, clLime);
    const TColor blended = MergeColorExt(clWhite, kEdge, 20);
    for (std::int32_t y = 0; y < 5; ++y)
        for (std::int32_t x = 0; x < 5; ++x) {
            TColor expected = clWhite;
            if (x == 2 && y == 2)
                expected = kEdge;
            else if ((x == 2 && (y == 1 || y == 3)) || (y == 2 && (x == 1 || x == 3)))
                expected = blended;
            EXPECT_EQ(canvas->Canvas().Pixels(x, y), expected) << x << ", " << y;
        }
    EXPECT_TRUE(picture->Transparent());
}

TEST(DrawManSmoothBlt, NegativeTransparentColourTakesTheTopLeftPixel)
{
    auto canvas = Filled(5, 3, clWhite);
    auto picture = Filled(3, 1, clYellow);
    picture->Canvas().SetPixels(2, 0, clNavy);
    SmoothBlt(canvas->Canvas(), 1, 1, *picture, -1);
    EXPECT_EQ(canvas->Canvas().Pixels(1, 1), clWhite);
    EXPECT_EQ(canvas->Canvas().Pixels(2, 1), MergeColorExt(clWhite, clNavy, 20));
    EXPECT_EQ(canvas->Canvas().Pixels(3, 1), clNavy);
    EXPECT_EQ(picture->TransparentColor(), clYellow);
}

TEST(DrawManSmoothBlt, APixelBetweenTwoOpaqueOnesIsBlendedTwiceInScanOrder)
{
    auto canvas = Filled(3, 1, clWhite);
    auto picture = Filled(3, 1, clLime);
    picture->Canvas().SetPixels(0, 0, clRed);
    picture->Canvas().SetPixels(2, 0, clBlue);
    SmoothBlt(canvas->Canvas(), 0, 0, *picture, clLime);
    EXPECT_EQ(canvas->Canvas().Pixels(1, 0), MergeColorExt(MergeColorExt(clWhite, clRed, 20), clBlue, 20));
}

TEST(DrawManSmoothBlt, OpaquePixelsOnTheBorderBlendOneRingInsideOnly)
{
    auto canvas = Filled(8, 6, clWhite);
    auto picture = Filled(4, 4, clLime);
    for (std::int32_t y = 0; y < 4; ++y)
        picture->Canvas().SetPixels(0, y, clMaroon);
    SmoothBlt(canvas->Canvas(), 2, 1, *picture, clLime);
    const TColor blended = MergeColorExt(clWhite, clMaroon, 20);
    for (std::int32_t y = 0; y < 6; ++y)
        for (std::int32_t x = 0; x < 8; ++x) {
            TColor expected = clWhite;
            if (y >= 1 && y <= 4 && x == 2)
                expected = clMaroon;
            else if (y >= 1 && y <= 4 && x == 3)
                expected = blended;
            EXPECT_EQ(canvas->Canvas().Pixels(x, y), expected) << x << ", " << y;
        }
}

TEST(DrawManSmoothBlt, NearTheCanvasEdgesNothingOutsideTheClipChanges)
{
    auto canvas = Numbered(6, 6);
    auto before = Numbered(6, 6);
    canvas->Canvas().SetClipRect(Rect(1, 1, 5, 5));
    auto picture = Filled(3, 3, clLime);
    picture->Canvas().SetPixels(1, 1, clBlue);
    SmoothBlt(canvas->Canvas(), 0, 0, *picture, clLime); // the work area reaches past the top-left corner
    SmoothBlt(canvas->Canvas(), 3, 3, *picture, clLime); // and past the bottom-right one
    canvas->Canvas().SetClipRect(Rect(0, 0, 6, 6));
    for (std::int32_t y = 0; y < 6; ++y)
        for (std::int32_t x = 0; x < 6; ++x) {
            TColor expected = before->Canvas().Pixels(x, y);
            if ((x == 1 && y == 1) || (x == 4 && y == 4))
                expected = clBlue;
            else if ((x == 2 && y == 1) || (x == 1 && y == 2) || (x == 3 && y == 4) || (x == 4 && y == 3))
                expected = MergeColorExt(expected, clBlue, 20);
            // (0, 1), (1, 0), (5, 4) and (4, 5) would be blended too, but lie outside the clip.
            EXPECT_EQ(canvas->Canvas().Pixels(x, y), expected) << x << ", " << y;
        }
}

TEST(DrawManSmoothBlt, EmptyBitmapDrawsNothing)
{
    auto canvas = Numbered(3, 3);
    TBitmap empty;
    SmoothBlt(canvas->Canvas(), 0, 0, empty, -1);
    EXPECT_EQ(canvas->Canvas().Pixels(1, 1), RGB(1, 1, 0x40));
}

// ---- Masks ----------------------------------------------------------------------

TEST(DrawManMask, CreateMaskIsWhiteForTheTransparentColourAndBlackElsewhere)
{
    auto picture = Filled(4, 3, clLime);
    picture->Canvas().SetPixels(1, 1, clRed);
    picture->Canvas().SetPixels(3, 2, clBlack);
    const std::int32_t objects = GdiObjectCount();
    TGdiObjectHandle handle(CreateMask(*picture, clLime));
    ASSERT_TRUE(handle);
    EXPECT_EQ(GdiObjectCount(), objects + 1) << "the mask belongs to the caller";
    TBitmap mask;
    mask.SetHandle(handle.Release());
    EXPECT_EQ(GdiObjectCount(), objects);
    EXPECT_TRUE(mask.Monochrome());
    ASSERT_EQ(mask.Width(), 4);
    ASSERT_EQ(mask.Height(), 3);
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 4; ++x) {
            bool shows = (x == 1 && y == 1) || (x == 3 && y == 2);
            EXPECT_EQ(mask.Canvas().Pixels(x, y), shows ? clBlack : clWhite) << x << ", " << y;
        }
    EXPECT_EQ(picture->Canvas().BkColor(), clWhite) << "the source's background colour is restored";
}

TEST(DrawManMask, CreateMaskResolvesSystemColoursAndReleasesWithDeleteObject)
{
    auto picture = Filled(2, 2, ColorToRGB(clBtnFace));
    const std::int32_t objects = GdiObjectCount();
    HBITMAP handle = CreateMask(*picture, clBtnFace);
    TBitmap copy;
    copy.SetHandle(handle); // copies the handle's image only when another bitmap owns it
    EXPECT_EQ(GdiObjectCount(), objects);
    EXPECT_EQ(copy.Canvas().Pixels(1, 1), clWhite);

    HBITMAP second = CreateMask(*picture, clBtnFace);
    EXPECT_EQ(GdiObjectCount(), objects + 1);
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_EQ(GdiObjectCount(), objects);
}

TEST(DrawManMask, CreateMaskOfAnEmptyBitmapIsZero)
{
    TBitmap empty;
    const std::int32_t objects = GdiObjectCount();
    EXPECT_EQ(CreateMask(empty, clWhite), 0u);
    EXPECT_EQ(GdiObjectCount(), objects);
}

namespace {

std::unique_ptr<TBitmap> MaskOf(TBitmap& picture, TColor transparent)
{
    auto mask = std::make_unique<TBitmap>();
    mask->SetHandle(CreateMask(picture, transparent));
    return mask;
}

} // namespace

TEST(DrawManMask, PaintOnMaskShowsThePictureWhereTheMaskIsBlack)
{
    auto canvas = Numbered(6, 6);
    auto picture = Filled(3, 3, clBlue);
    picture->Canvas().SetPixels(1, 1, clLime);
    auto mask = MaskOf(*picture, clLime);
    PaintOnMask(canvas->Canvas(), 2, 2, *mask, *picture);
    for (std::int32_t y = 0; y < 6; ++y)
        for (std::int32_t x = 0; x < 6; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 2 && y < 5 && !(x == 3 && y == 3);
            EXPECT_EQ(canvas->Canvas().Pixels(x, y), inside ? clBlue : RGB(x, y, 0x40)) << x << ", " << y;
        }
    EXPECT_EQ(canvas->Canvas().CopyMode(), cmSrcCopy) << "the target canvas's copy mode is not touched";
}

TEST(DrawManMask, AllWhiteMaskLeavesTheCanvasUnchanged)
{
    auto canvas = Numbered(5, 5);
    auto picture = Filled(4, 4, clFuchsia);
    auto mask = MaskOf(*picture, clFuchsia);
    PaintOnMask(canvas->Canvas(), 1, 1, *mask, *picture);
    for (std::int32_t y = 0; y < 5; ++y)
        for (std::int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(canvas->Canvas().Pixels(x, y), RGB(x, y, 0x40));
}

TEST(DrawManMask, PaintOnMaskNearTheCanvasEdgesClips)
{
    auto canvas = Numbered(4, 4);
    auto picture = Filled(3, 3, clRed);
    auto mask = MaskOf(*picture, clLime);
    PaintOnMask(canvas->Canvas(), -2, -2, *mask, *picture);
    PaintOnMask(canvas->Canvas(), 3, 3, *mask, *picture);
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 4; ++x) {
            bool painted = (x == 0 && y == 0) || (x == 3 && y == 3);
            EXPECT_EQ(canvas->Canvas().Pixels(x, y), painted ? clRed : RGB(x, y, 0x40)) << x << ", " << y;
        }
}

TEST(DrawManMask, StretchPaintOnMaskScalesThePictureToTheMask)
{
    auto canvas = Filled(5, 5, clWhite);
    auto picture = std::make_unique<TBitmap>(2, 2);
    picture->Canvas().SetPixels(0, 0, clRed);
    picture->Canvas().SetPixels(1, 0, clLime);
    picture->Canvas().SetPixels(0, 1, clBlue);
    picture->Canvas().SetPixels(1, 1, clYellow);
    auto shape = Filled(4, 4, clBlack);
    shape->Canvas().SetPixels(0, 0, clWhite); // transparent corner
    auto mask = MaskOf(*shape, clWhite);
    StretchPaintOnMask(canvas->Canvas(), 1, 1, *mask, *picture);
    const TColor quarters[2][2] = { { clRed, clLime }, { clBlue, clYellow } };
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 4; ++x) {
            TColor expected = x == 0 && y == 0 ? clWhite : quarters[y / 2][x / 2];
            EXPECT_EQ(canvas->Canvas().Pixels(x + 1, y + 1), expected) << x << ", " << y;
        }
    EXPECT_EQ(canvas->Canvas().Pixels(0, 0), clWhite);
}

// ---- Tiling -----------------------------------------------------------------------

namespace {

// Counts the copies a routine issues (each one reports a change of the target).
struct CopyCounter {
    explicit CopyCounter(TBitmap& b)
    {
        b.SetOnChange([this](TObject*) { ++count; });
    }
    int count { 0 };
};

} // namespace

TEST(DrawManTiling, MultiPaintStartsEveryRowAtTheRectanglesCorner)
{
    auto canvas = Filled(40, 30, clWhite);
    auto tile = Numbered(10, 10);
    CopyCounter copies(*canvas);
    MultiPaint(canvas->Canvas(), *tile, Rect(5, 5, 30, 17));
    EXPECT_EQ(copies.count, 6) << "tiles at x = 5, 15, 25 in the rows y = 5 and 15";
    for (std::int32_t y = 0; y < 30; ++y)
        for (std::int32_t x = 0; x < 40; ++x) {
            bool inside = x >= 5 && x < 30 && y >= 5 && y < 17;
            TColor expected = inside ? RGB((x - 5) % 10, (y - 5) % 10, 0x40) : clWhite;
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), expected) << x << ", " << y;
        }
}

TEST(DrawManTiling, MultiClipPaintAlignsTilesToTheCanvasOrigin)
{
    auto canvas = Filled(40, 30, clWhite);
    auto tile = Numbered(10, 10);
    CopyCounter copies(*canvas);
    const TRect r = Rect(5, 5, 30, 17);
    MultiClipPaint(canvas->Canvas(), *tile, r, r);
    EXPECT_EQ(copies.count, 6) << "pieces from x = 5, 10, 20 in the rows from y = 5 and 10";
    for (std::int32_t y = 0; y < 30; ++y)
        for (std::int32_t x = 0; x < 40; ++x) {
            bool inside = x >= 5 && x < 30 && y >= 5 && y < 17;
            TColor expected = inside ? RGB(x % 10, y % 10, 0x40) : clWhite;
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), expected) << x << ", " << y;
        }
}

TEST(DrawManTiling, MultiClipPaintJoinsSeamlesslyAcrossCalls)
{
    auto whole = Filled(40, 30, clWhite);
    auto parts = Filled(40, 30, clWhite);
    auto tile = Numbered(7, 9);
    const TRect r = Rect(3, 2, 37, 29);
    MultiClipPaint(whole->Canvas(), *tile, r, r);
    for (const TRect& part : { Rect(3, 2, 20, 13), Rect(20, 2, 37, 13), Rect(3, 13, 37, 29) })
        MultiClipPaint(parts->Canvas(), *tile, part, part);
    for (std::int32_t y = 0; y < 30; ++y)
        for (std::int32_t x = 0; x < 40; ++x)
            ASSERT_EQ(parts->Canvas().Pixels(x, y), whole->Canvas().Pixels(x, y)) << x << ", " << y;
}

TEST(DrawManTiling, MultiClipPaintWithNegativeCoordinatesUsesTheNonNegativeRemainder)
{
    auto canvas = Filled(20, 20, clWhite);
    auto tile = Numbered(10, 10);
    // The canvas shows only its own part, so a canvas with an origin inside a
    // larger surface is simulated by a rectangle starting left of and above 0.
    const TRect r = Rect(-13, -7, 15, 12);
    MultiClipPaint(canvas->Canvas(), *tile, r, r);
    for (std::int32_t y = 0; y < 20; ++y)
        for (std::int32_t x = 0; x < 20; ++x) {
            bool inside = x < 15 && y < 12;
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), inside ? RGB(x % 10, y % 10, 0x40) : clWhite) << x << ", " << y;
        }
}

TEST(DrawManTiling, NegativeCanvasCoordinatesMapToTheRemainder)
{
    // A canvas whose (0, 0) lies at raster point (5, 5): canvas (-5, -5) is the
    // raster's corner and must show tile pixel (5, 5).
    TBitmap surface(20, 20);
    TCanvas canvas;
    canvas.SetSurface(&surface.Image(), Point(5, 5), Rect(0, 0, 20, 20));
    auto tile = Numbered(10, 10);
    const TRect r = Rect(-5, -5, 15, 15);
    MultiClipPaint(canvas, *tile, r, r);
    for (std::int32_t y = -5; y < 15; ++y)
        for (std::int32_t x = -5; x < 15; ++x)
            ASSERT_EQ(canvas.Pixels(x, y), RGB((x + 10) % 10, (y + 10) % 10, 0x40)) << x << ", " << y;
}

TEST(DrawManTiling, HugeRectanglesVisitOnlyTheTilesOnTheCanvas)
{
    auto canvas = Filled(40, 30, clWhite);
    auto tile = Numbered(10, 10);
    const TRect huge = Rect(-1999999997, -2000000000, 2000000000, 2000000000);
    CopyCounter copies(*canvas);
    MultiPaint(canvas->Canvas(), *tile, huge);
    EXPECT_EQ(copies.count, 5 * 3) << "columns from x = -7, 3, ..., 33; rows from 0, 10, 20";
    for (std::int32_t y = 0; y < 30; ++y)
        for (std::int32_t x = 0; x < 40; ++x)
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), RGB((x + 7) % 10, y % 10, 0x40)) << x << ", " << y;

    copies.count = 0;
    MultiClipPaint(canvas->Canvas(), *tile, huge, huge);
    EXPECT_EQ(copies.count, 4 * 3);
    for (std::int32_t y = 0; y < 30; ++y)
        for (std::int32_t x = 0; x < 40; ++x)
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), RGB(x % 10, y % 10, 0x40)) << x << ", " << y;

    copies.count = 0;
    MultiPaint(canvas->Canvas(), *tile, Rect(100, 100, 2000000000, 2000000000));
    EXPECT_EQ(copies.count, 0) << "a rectangle beside the canvas copies nothing";
}

TEST(DrawManTiling, EmptyBitmapTilesNothing)
{
    auto canvas = Filled(10, 10, clWhite);
    TBitmap empty;
    TBitmap flat(5, 0);
    CopyCounter copies(*canvas);
    MultiPaint(canvas->Canvas(), empty, Rect(0, 0, 10, 10));
    MultiClipPaint(canvas->Canvas(), flat, Rect(0, 0, 10, 10), Rect(0, 0, 10, 10));
    BytesPaint(canvas->Canvas(), Rect(0, 0, 10, 10), empty);
    EXPECT_EQ(copies.count, 0);
}

TEST(DrawManTiling, BytesPaintCopiesTheBitmapInBlocksOf48)
{
    auto canvas = Filled(120, 120, clWhite);
    auto picture = Numbered(100, 100);
    CopyCounter copies(*canvas);
    BytesPaint(canvas->Canvas(), Rect(10, 10, 110, 110), *picture);
    EXPECT_EQ(copies.count, 9) << "blocks of 48, 48 and 4 in each direction";
    for (std::int32_t y = 0; y < 120; ++y)
        for (std::int32_t x = 0; x < 120; ++x) {
            bool inside = x >= 10 && x < 110 && y >= 10 && y < 110;
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), inside ? RGB(x - 10, y - 10, 0x40) : clWhite) << x << ", " << y;
        }
}

TEST(DrawManTiling, BytesPaintLeavesPixelsBeyondTheBitmapUnchanged)
{
    auto canvas = Filled(60, 60, clWhite);
    auto picture = Numbered(30, 20);
    BytesPaint(canvas->Canvas(), Rect(5, 5, 1000000, 1000000), *picture);
    for (std::int32_t y = 0; y < 60; ++y)
        for (std::int32_t x = 0; x < 60; ++x) {
            bool inside = x >= 5 && x < 35 && y >= 5 && y < 25;
            ASSERT_EQ(canvas->Canvas().Pixels(x, y), inside ? RGB(x - 5, y - 5, 0x40) : clWhite) << x << ", " << y;
        }
    // A rectangle smaller than the bitmap takes its top-left part.
    BytesPaint(canvas->Canvas(), Rect(40, 40, 43, 42), *picture);
    EXPECT_EQ(canvas->Canvas().Pixels(42, 41), RGB(2, 1, 0x40));
    EXPECT_EQ(canvas->Canvas().Pixels(43, 41), clWhite);
}

// ---- Rectangles -------------------------------------------------------------------

TEST(DrawManRects, MergeRectHoldsEveryRectangle)
{
    EXPECT_EQ(MergeRect({ Rect(1, 2, 3, 4) }), Rect(1, 2, 3, 4));
    EXPECT_EQ(MergeRect({ Rect(1, 2, 3, 4), Rect(-5, 3, 2, 10), Rect(0, 0, 8, 1) }), Rect(-5, 0, 8, 10));
    // Not normalised: a reversed rectangle takes part by its coordinates.
    EXPECT_EQ(MergeRect({ Rect(5, 5, 1, 1), Rect(2, 2, 3, 3) }), Rect(2, 2, 3, 3));
    EXPECT_EQ(MergeRect(std::span<const TRect> {}), Rect(0, 0, 0, 0));
}

// ---- Frames and buttons -------------------------------------------------------

TEST(DrawManFrames, RaisedAndSunkenFramesUseLightAndDarkShades)
{
    constexpr TColor kBase = 0x808080;
    const TColor light = BrightenColor(kBase, 40), dark = DarkenColor(kBase, 64);
    for (std::int32_t style : { 1, 2 }) {
        auto canvas = Filled(12, 12, clWhite);
        Draw3D(canvas->Canvas(), Rect(1, 1, 11, 11), kBase, style, 2);
        TColor topLeft = style == 1 ? light : dark;
        TColor bottomRight = style == 1 ? dark : light;
        TCanvas& c = canvas->Canvas();
        EXPECT_EQ(c.Pixels(5, 1), topLeft);
        EXPECT_EQ(c.Pixels(5, 2), topLeft);
        EXPECT_EQ(c.Pixels(1, 5), topLeft);
        EXPECT_EQ(c.Pixels(5, 10), bottomRight);
        EXPECT_EQ(c.Pixels(9, 5), bottomRight);
        EXPECT_EQ(c.Pixels(5, 5), clWhite);
        EXPECT_EQ(c.Pixels(0, 0), clWhite);
    }
}

TEST(DrawManFrames, DoubleOutlineIsLightUnderDark)
{
    constexpr TColor kBase = 0x406080;
    auto canvas = Filled(14, 14, clWhite);
    TCanvas& c = canvas->Canvas();
    Draw3D(c, Rect(1, 1, 11, 11), kBase, 3, 1);
    const TColor light = BrightenColor(kBase, 40), dark = DarkenColor(kBase, 64);
    EXPECT_EQ(c.Pixels(1, 5), dark);
    EXPECT_EQ(c.Pixels(10, 5), dark);
    EXPECT_EQ(c.Pixels(2, 5), light);
    EXPECT_EQ(c.Pixels(11, 5), light);
    EXPECT_EQ(c.Pixels(5, 11), light);
    EXPECT_EQ(c.Pixels(5, 5), clWhite) << "outlines only";
    EXPECT_EQ(c.Brush().Style(), bsClear);
    EXPECT_EQ(c.Pen().Color(), dark);
}

TEST(DrawManFrames, OtherStylesDrawNothing)
{
    for (std::int32_t style : { 0, 4, -1 }) {
        auto canvas = Filled(8, 8, clWhite);
        CopyCounter changes(*canvas);
        Draw3D(canvas->Canvas(), Rect(0, 0, 8, 8), clRed, style, 2);
        EXPECT_EQ(changes.count, 0) << style;
    }
}

namespace {

std::set<TColor> ColoursOf(TBitmap& b)
{
    std::set<TColor> colours;
    for (std::int32_t y = 0; y < b.Height(); ++y)
        for (std::int32_t x = 0; x < b.Width(); ++x)
            colours.insert(b.Canvas().Pixels(x, y));
    return colours;
}

} // namespace

TEST(DrawManRoundButton, BorderOfThreeShadesTheRimWithAmounts80Then0)
{
    constexpr TColor kFace = 0x8080C0, kBorder = 0x404040;
    auto canvas = Filled(40, 40, clWhite);
    RoundButton(canvas->Canvas(), Rect(0, 0, 40, 40), kFace, kBorder, 3);
    const std::set<TColor> allowed { clWhite, kBorder, DarkenColor(kBorder, 32), DarkenColor(kBorder, 64), kFace,
        DarkenColor(kFace, 80), DarkenColor(kFace, 16), DarkenColor(kFace, 32) };
    auto colours = ColoursOf(*canvas);
    for (TColor c : colours)
        EXPECT_TRUE(allowed.count(c)) << std::hex << c;
    EXPECT_TRUE(colours.count(DarkenColor(kFace, 80))) << "the first ring shows on the lower right";
    EXPECT_TRUE(colours.count(kFace));
    EXPECT_EQ(canvas->Canvas().Pixels(20, 20), kFace);
}

TEST(DrawManRoundButton, RimLightensFromAmount80TowardsTheLastRing)
{
    constexpr TColor kFace = 0x808080, kBorder = 0x202020;
    auto canvas = Filled(60, 60, clWhite);
    RoundButton(canvas->Canvas(), Rect(0, 0, 60, 60), kFace, kBorder, 5); // amounts 80, 40, 0, -40
    auto colours = ColoursOf(*canvas);
    EXPECT_TRUE(colours.count(DarkenColor(kFace, 80)));
    EXPECT_TRUE(colours.count(DarkenColor(kFace, 40)));
    EXPECT_TRUE(colours.count(BrightenColor(kFace, 40)));
}

TEST(DrawManRoundButton, ThinBorderDrawsNoRingButTheFaceHighlight)
{
    constexpr TColor kFace = 0x60A0E0, kBorder = 0x000080;
    for (std::int32_t bw : { 1, 0 }) {
        auto canvas = Filled(30, 30, clWhite);
        RoundButton(canvas->Canvas(), Rect(0, 0, 30, 30), kFace, kBorder, bw);
        auto colours = ColoursOf(*canvas);
        EXPECT_FALSE(colours.count(kFace)) << "no ring fills the face";
        EXPECT_TRUE(colours.count(DarkenColor(kFace, 16))) << "the highlight is drawn";
        EXPECT_TRUE(colours.count(DarkenColor(kFace, 32)));
        EXPECT_EQ(canvas->Canvas().Pixels(15, 15), clWhite);
    }
}

TEST(DrawManRoundButton, LeavesPenAndBrushAsTheHighlightSetThem)
{
    constexpr TColor kFace = 0x30C060;
    for (std::int32_t bw : { 1, 3, 6 }) {
        auto canvas = Filled(30, 30, clWhite);
        TCanvas& c = canvas->Canvas();
        c.Brush().SetStyle(bsClear);
        RoundButton(c, Rect(0, 0, 30, 30), kFace, clBlack, bw);
        EXPECT_EQ(c.Pen().Width(), 1) << bw;
        EXPECT_EQ(c.Pen().Color(), DarkenColor(kFace, 32)) << bw;
        EXPECT_EQ(c.Brush().Style(), bsSolid) << bw;
        EXPECT_EQ(c.Brush().Color(), kFace) << bw;
    }
}

TEST(ControlGeometry, CtrlPointSumsAllAncestorsAndCtrlRectSkipsTheTopLevel)
{
    plx::TForm form(nullptr);
    form.SetBounds(100, 200, 300, 300);
    auto* panel = new plx::TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(5, 6, 100, 100);
    auto* control = new plx::TPanel(&form);
    control->SetParent(&form);
    control->SetBounds(10, 20, 30, 40);
    EXPECT_EQ(plx::GetCtrlPoint(*control), plx::Point(110, 220));
    EXPECT_EQ(plx::GetCtrlRect(*control), plx::Rect(0, 0, 30, 40)) << "directly on the form: its client rectangle";
    control->SetParent(panel);
    EXPECT_EQ(plx::GetCtrlPoint(*control), plx::Point(115, 226));
    EXPECT_EQ(plx::GetCtrlRect(*control), plx::Rect(5, 6, 35, 46));
}

// ---- Far coordinates and large pictures -------------------------------------------

namespace {

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

void ExpectSamePixels(TBitmap& actual, TBitmap& expected, const std::string& what)
{
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    int differences = 0;
    for (std::int32_t y = 0; y < actual.Height(); ++y)
        for (std::int32_t x = 0; x < actual.Width(); ++x)
            if (actual.Canvas().Pixels(x, y) != expected.Canvas().Pixels(x, y) && ++differences <= 3)
                ADD_FAILURE() << what << ": pixel " << x << ", " << y << " is " << std::hex << actual.Canvas().Pixels(x, y)
                              << " instead of " << expected.Canvas().Pixels(x, y);
    EXPECT_EQ(differences, 0) << what;
}

// Draws on a canvas clipped to clip and on an unclipped one: inside the clip
// both must agree, outside it the clipped one must be unchanged.
void ExpectClippedPartOfTheWhole(std::int32_t w, std::int32_t h, const TRect& clip, const std::function<void(TCanvas&)>& draw,
    const std::string& what)
{
    auto whole = Numbered(w, h);
    auto clipped = Numbered(w, h);
    draw(whole->Canvas());
    clipped->Canvas().SetClipRect(clip);
    draw(clipped->Canvas());
    clipped->Canvas().SetClipRect(Rect(0, 0, w, h));
    auto expected = Numbered(w, h);
    expected->Canvas().CopyRect(clip, whole->Canvas(), clip);
    ExpectSamePixels(*clipped, *expected, what);
}

std::string Where(const TRect& r)
{
    return "clip " + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", "
        + std::to_string(r.Bottom);
}

// A picture with a lime (transparent) frame and holes, and colours unique to
// each opaque position.
std::unique_ptr<TBitmap> Holed(std::int32_t w, std::int32_t h)
{
    auto b = Numbered(w, h);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            if (x == 0 || y == h - 1 || (x + 2 * y) % 5 == 0)
                b->Canvas().SetPixels(x, y, clLime);
    return b;
}

} // namespace

TEST(DrawManFar, SmoothBltAtTheEndsOfTheCoordinateRangeChangesNothingVisible)
{
    auto picture = Holed(6, 5);
    for (TPoint at : { TPoint { kMinInt, kMinInt }, TPoint { kMaxInt, kMaxInt }, TPoint { kMinInt, 1 }, TPoint { 1, kMaxInt },
             TPoint { kMaxInt - 1, 0 }, TPoint { kMinInt + 1, kMinInt + 1 } }) {
        auto canvas = Numbered(8, 8);
        SmoothBlt(canvas->Canvas(), at.X, at.Y, *picture, clLime);
        auto before = Numbered(8, 8);
        ExpectSamePixels(*canvas, *before, std::to_string(at.X) + ", " + std::to_string(at.Y));
    }
    EXPECT_TRUE(picture->Transparent()) << "the picture keeps the settings also when nothing shows";
    EXPECT_EQ(picture->TransparentColor(), clLime);
}

TEST(DrawManFar, SmoothBltOnAClippedCanvasIsThatPartOfTheWhole)
{
    auto picture = Holed(7, 6);
    for (const TRect& clip : { Rect(0, 0, 12, 10), Rect(3, 2, 7, 6), Rect(0, 0, 4, 10), Rect(5, 4, 12, 10), Rect(4, 0, 5, 10) })
        for (TPoint at : { TPoint { 2, 2 }, TPoint { -3, 1 }, TPoint { 7, 6 }, TPoint { -1, -1 } })
            ExpectClippedPartOfTheWhole(12, 10, clip, [&](TCanvas& c) { SmoothBlt(c, at.X, at.Y, *picture, clLime); },
                Where(clip) + " at " + std::to_string(at.X) + ", " + std::to_string(at.Y));
}

TEST(DrawManFar, SmoothBltTakesPicturesAsWideAsABitmapMayBe)
{
    // A work bitmap two pixels larger than this picture could not be made.
    TBitmap picture(32766, 3);
    picture.Canvas().Brush().SetColor(clLime);
    picture.Canvas().FillRect(Rect(0, 0, 32766, 3));
    picture.Canvas().SetPixels(0, 1, clNavy);
    picture.Canvas().SetPixels(32765, 1, clMaroon);
    auto canvas = Filled(10, 5, clWhite);
    EXPECT_NO_THROW(SmoothBlt(canvas->Canvas(), 1, 1, picture, clLime));
    EXPECT_EQ(canvas->Canvas().Pixels(1, 2), clNavy);
    EXPECT_EQ(canvas->Canvas().Pixels(2, 2), MergeColorExt(clWhite, clNavy, 20));
    EXPECT_EQ(canvas->Canvas().Pixels(1, 1), MergeColorExt(clWhite, clNavy, 20));
    EXPECT_EQ(canvas->Canvas().Pixels(0, 2), clWhite) << "left of the picture: a neighbour outside it";
    auto right = Filled(10, 5, clWhite);
    SmoothBlt(right->Canvas(), 8 - 32765, 1, picture, clLime); // the right end at x = 8
    EXPECT_EQ(right->Canvas().Pixels(8, 2), clMaroon);
    EXPECT_EQ(right->Canvas().Pixels(7, 2), MergeColorExt(clWhite, clMaroon, 20));
    EXPECT_EQ(right->Canvas().Pixels(9, 2), clWhite);
}

TEST(DrawManFar, PaintOnMaskAtTheEndsOfTheCoordinateRangeChangesNothingVisible)
{
    auto picture = Filled(4, 4, clRed);
    auto mask = MaskOf(*picture, clLime);
    for (TPoint at : { TPoint { kMaxInt - 2, kMaxInt - 2 }, TPoint { kMinInt, kMinInt }, TPoint { kMaxInt, 0 }, TPoint { 0, kMinInt } }) {
        auto canvas = Numbered(6, 6);
        PaintOnMask(canvas->Canvas(), at.X, at.Y, *mask, *picture);
        StretchPaintOnMask(canvas->Canvas(), at.X, at.Y, *mask, *picture);
        auto before = Numbered(6, 6);
        ExpectSamePixels(*canvas, *before, std::to_string(at.X) + ", " + std::to_string(at.Y));
    }
}

TEST(DrawManFar, MasksOnAClippedCanvasAreThatPartOfTheWhole)
{
    auto picture = Numbered(5, 4);
    auto shape = Holed(7, 6);
    auto mask = MaskOf(*shape, clLime);
    for (const TRect& clip : { Rect(2, 1, 6, 5), Rect(0, 0, 3, 9), Rect(6, 5, 10, 9) })
        for (TPoint at : { TPoint { 1, 1 }, TPoint { -2, 3 }, TPoint { 5, -1 } }) {
            const std::string where = Where(clip) + " at " + std::to_string(at.X) + ", " + std::to_string(at.Y);
            ExpectClippedPartOfTheWhole(10, 9, clip, [&](TCanvas& c) { PaintOnMask(c, at.X, at.Y, *mask, *picture); }, where);
            ExpectClippedPartOfTheWhole(10, 9, clip, [&](TCanvas& c) { StretchPaintOnMask(c, at.X, at.Y, *mask, *picture); },
                "stretched, " + where);
        }
}

TEST(DrawManFar, DoubleOutlineReachingTheEndOfTheRangeStopsThere)
{
    constexpr TColor kBase = 0x406080;
    const TColor light = BrightenColor(kBase, 40), dark = DarkenColor(kBase, 64);
    auto canvas = Filled(12, 12, clWhite);
    TCanvas& c = canvas->Canvas();
    Draw3D(c, Rect(2, 2, kMaxInt, kMaxInt), kBase, 3, 1);
    EXPECT_EQ(c.Pixels(2, 6), dark);
    EXPECT_EQ(c.Pixels(3, 6), light);
    EXPECT_EQ(c.Pixels(6, 2), dark);
    EXPECT_EQ(c.Pixels(6, 3), light);
    EXPECT_EQ(c.Pixels(6, 6), clWhite);
    auto far = Numbered(6, 6);
    Draw3D(far->Canvas(), Rect(kMaxInt - 3, kMaxInt - 3, kMaxInt, kMaxInt), kBase, 3, 2);
    Draw3D(far->Canvas(), Rect(kMinInt, kMinInt, kMinInt + 3, kMinInt + 3), kBase, 3, 2);
    auto before = Numbered(6, 6);
    ExpectSamePixels(*far, *before, "far outlines");
}

namespace {

// RoundButton as its steps read, every ring drawn: for borders whose boxes stay
// inside the coordinate range.
void EveryRingRoundButton(TCanvas& canvas, const TRect& r, TColor face, TColor border, std::int32_t bw)
{
    auto outline = [&canvas](const TRect& box, TColor upperLeft, TColor lowerRight) {
        const std::int32_t w = box.Right - box.Left, h = box.Bottom - box.Top;
        const TPoint a { box.Left + 4 * (w / 5), box.Top + h / 5 };
        const TPoint b { box.Left + w / 5, box.Top + 4 * (h / 5) };
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetColor(upperLeft);
        canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, a.X, a.Y, b.X, b.Y);
        canvas.Pen().SetColor(lowerRight);
        canvas.Arc(box.Left, box.Top, box.Right, box.Bottom, b.X, b.Y, a.X, a.Y);
    };
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(bw);
    canvas.Pen().SetColor(border);
    canvas.Ellipse(r.Left + bw / 2, r.Top + bw / 2, r.Right - bw / 2, r.Bottom - bw / 2);
    outline(r, DarkenColor(border, 32), DarkenColor(border, 64));
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(face);
    const double divisor = bw == 3 ? 1.0 : bw - 3.0;
    for (std::int32_t i = 0; i <= bw - 2; ++i) {
        canvas.Pen().SetColor(DarkenColor(face, static_cast<std::int32_t>(Round(80.0 - 80.0 * i / divisor))));
        canvas.Pen().SetWidth(2);
        canvas.Brush().SetColor(face);
        canvas.Ellipse(r.Left + bw - i, r.Top + bw - i, r.Right - bw - i, r.Bottom - bw - i);
    }
    outline(Rect(r.Left + 1, r.Top + 1, r.Right - 2 * bw + 1, r.Bottom - 2 * bw + 1), DarkenColor(face, 16), DarkenColor(face, 32));
}

} // namespace

TEST(DrawManFar, RoundButtonDrawsWhatEveryRingWouldShow)
{
    // Borders up to and beyond the button's half size (rings of inverted boxes),
    // with the canvas clipped to parts of the button, in the copying pen mode
    // (where covered rings are left out) and in an XOR mode (where they are not).
    constexpr TColor kFace = 0x3070B0, kBorder = 0x202060;
    for (TPenMode mode : { pmCopy, pmXor })
        for (const TRect& button : { Rect(4, 4, 44, 44), Rect(2, 10, 58, 30), Rect(20, 15, 150, 130) })
            for (std::int32_t bw : { 2, 3, 5, 9, 15, 19, 20, 21, 26, 33, 70, 1000 })
                for (const TRect& clip : { Rect(0, 0, 60, 60), Rect(18, 18, 26, 26), Rect(0, 0, 9, 60), Rect(35, 35, 60, 60) }) {
                    auto expected = Filled(60, 60, clWhite);
                    auto actual = Filled(60, 60, clWhite);
                    expected->Canvas().SetClipRect(clip);
                    actual->Canvas().SetClipRect(clip);
                    expected->Canvas().Pen().SetMode(mode);
                    actual->Canvas().Pen().SetMode(mode);
                    EveryRingRoundButton(expected->Canvas(), button, kFace, kBorder, bw);
                    RoundButton(actual->Canvas(), button, kFace, kBorder, bw);
                    ExpectSamePixels(*actual, *expected,
                        "border " + std::to_string(bw) + ", button " + std::to_string(button.Right) + ", " + Where(clip)
                            + (mode == pmXor ? ", XOR" : ""));
                }
}

TEST(DrawManFar, RoundButtonWithHugeBordersDrawsOnlyWhatCanShow)
{
    // About 2^31 rings each; only the few that reach the canvas are drawn.
    constexpr TColor kFace = 0x30C060;
    for (std::int32_t bw : { kMaxInt, kMaxInt - 1, kMinInt, kMinInt + 1, 1 << 30, 1000000, -7 }) {
        auto canvas = Filled(50, 50, clWhite);
        TCanvas& c = canvas->Canvas();
        RoundButton(c, Rect(0, 0, 50, 50), kFace, clBlack, bw);
        EXPECT_EQ(c.Pen().Width(), 1) << bw;
        EXPECT_EQ(c.Pen().Color(), DarkenColor(kFace, 32)) << bw;
        EXPECT_EQ(c.Brush().Color(), kFace) << bw;
    }
    auto far = Numbered(8, 8);
    RoundButton(far->Canvas(), Rect(kMaxInt - 40, kMaxInt - 40, kMaxInt, kMaxInt), kFace, clBlack, 6);
    RoundButton(far->Canvas(), Rect(kMinInt, kMinInt, kMinInt + 40, kMinInt + 40), kFace, clBlack, 6);
    RoundButton(far->Canvas(), Rect(kMinInt, kMinInt, kMaxInt, kMaxInt), kFace, clBlack, kMaxInt);
    SUCCEED();
}
