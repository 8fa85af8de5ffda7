#include "paint/DrawMan.h"

#include "color/ColorMan.h"
#include "color/host/Gdi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace plx;

namespace {

std::unique_ptr<TBitmap> Filled(std::int32_t w, std::int32_t h, TColor color)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect(Rect(0, 0, w, h));
    return b;
}

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
