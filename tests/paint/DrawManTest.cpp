#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/Gdi.h"
#include "color/host/SysColors.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"

#include "TestBitmaps.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

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
