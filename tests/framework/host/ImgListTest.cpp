#include "color/host/Bitmap.h"
#include "framework/host/ImgList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

using namespace plx;

namespace {

// A 4 x 3 picture whose pixels all differ, and a list holding it with the
// picture's blue column 1 masked out.
std::unique_ptr<TBitmap> Picture()
{
    auto p = std::make_unique<TBitmap>(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            p->Canvas().SetPixels(x, y, x == 1 ? clBlue : RGB(40 * x + 10, 50 * y + 20, 30));
    return p;
}

} // namespace

TEST(ImageList, MaskedImagesLeaveTheirMaskedPixelsAndPlainOnesCopy)
{
    auto picture = Picture();
    TImageList list(nullptr, 4, 3);
    EXPECT_EQ(list.AddMasked(*picture, clBlue), 0);
    EXPECT_EQ(list.Add(*picture, nullptr), 1);

    TBitmap page(10, 8);
    page.Canvas().SetCopyMode(cmSrcAnd);
    list.Draw(page.Canvas(), 2, 3, 0);
    list.Draw(page.Canvas(), 6, 0, 1);
    EXPECT_EQ(page.Canvas().CopyMode(), cmSrcAnd) << "the copy mode is restored";
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(page.Canvas().Pixels(2 + x, 3 + y), x == 1 ? clWhite : picture->Canvas().Pixels(x, y));
            EXPECT_EQ(page.Canvas().Pixels(6 + x, y), picture->Canvas().Pixels(x, y)) << "copied, not combined";
        }
}

TEST(ImageList, MaskedImagesAtTheEndsOfTheIntRange)
{
    auto picture = Picture();
    TImageList list(nullptr, 4, 3);
    list.AddMasked(*picture, clBlue);
    TBitmap page(10, 8);
    for (auto [x, y] : { std::pair { INT32_MAX - 1, 0 }, std::pair { INT32_MIN, INT32_MAX }, std::pair { 3, INT32_MIN + 1 } })
        list.Draw(page.Canvas(), x, y, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(page.Canvas().Pixels(x, y), clWhite);

    // Through a canvas whose origin shows the last columns of the range.
    TCanvas far;
    far.SetSurface(&page.Image(), Point(-(INT32_MAX - 3), 0), page.Image().Bounds());
    list.Draw(far, INT32_MAX - 3, 2, 0);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(page.Canvas().Pixels(x, 2), x == 1 ? clWhite : picture->Canvas().Pixels(x, 0)) << x;
}
