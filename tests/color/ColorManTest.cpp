#include "color/ColorMan.h"

#include "color/host/Bitmap.h"
#include "color/host/SysColors.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace plx;

TEST(ColorManRounding, CorrectColorRoundsTiesToEvenAndClamps)
{
    EXPECT_EQ(CorrectColor(255.5f), 255);
    EXPECT_EQ(CorrectColor(-0.4f), 0);
    EXPECT_EQ(CorrectColor(2.5f), 2);
    EXPECT_EQ(CorrectColor(3.5f), 4);
    EXPECT_EQ(CorrectColor(127.5f), 128);
    EXPECT_EQ(CorrectColor(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(CorrectColor(std::numeric_limits<float>::infinity()), 255);
    EXPECT_EQ(CorrectColor(-std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(CorrectColor(1e30f), 255);
    EXPECT_EQ(ERGB(300.0f, -5.0f, 12.5f), RGB(255, 0, 12));
}

TEST(ColorManChannels, ComposeAndCompare)
{
    std::int32_t r, g, b;
    DeColor(static_cast<TColor>(0x7F123456), r, g, b);
    EXPECT_EQ(r, 0x56);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(InvertColor(0x102030), 0xEFDFCF);
    EXPECT_EQ(ColorAdd(0x808080, 0x808080), 0xFFFFFF);
    EXPECT_EQ(ColorMinus(0x101010, 0x202020), 0x000000);
    EXPECT_EQ(CompareR(0x0000FF, 0x000001), 254);
    EXPECT_EQ(SumRGB(0xFFFFFF), 765);
    EXPECT_EQ(RGBAvg(0x000002), 0);
    EXPECT_EQ(CompareColor(0xFFFFFF, 0), 255);
}

TEST(ColorManGrey, WeightsAndTies)
{
    EXPECT_EQ(ColorToGrey(0xFFFFFF), 0xFFFFFF);
    EXPECT_EQ(ColorToGrey(0x0000FF), 0x333333);
    EXPECT_EQ(ColorToGrey(0x00FF00), 0x808080) << "127.5 rounds to the even 128";
    EXPECT_EQ(ColorToGrey(0xFF0000), 0x4C4C4C) << "76.5 rounds to the even 76";
    EXPECT_TRUE(IsLightColor(0x00FF00));
    EXPECT_FALSE(IsLightColor(0x0000FF));
    EXPECT_EQ(AutoBW(0x00FF00), clBlack);
    EXPECT_EQ(AutoBW(0x0000FF), clWhite);
    EXPECT_TRUE(IsGreyColor(0x777777));
    EXPECT_FALSE(IsGreyColor(0x777778));
    EXPECT_FALSE(IsGreyColor(clBtnFace)) << "the raw low bytes of a system colour: 0F 00 00";
}

TEST(ColorManMixing, MergeColorise)
{
    EXPECT_EQ(MergeColorExt(0x123456, 0xABCDEF, 100), 0x123456);
    EXPECT_EQ(MergeColorExt(0x123456, 0xABCDEF, 0), 0xABCDEF);
    EXPECT_EQ(MergeColor(0x000000, 0xFFFFFF), 0x808080);
    EXPECT_EQ(MergeColorExt(0x000000, 0xFFFFFF, 30), 0xB2B2B2) << "178.5 rounds to the even 178";
    EXPECT_EQ(Colorise(0x00FF00, 0x000000), 0x808080) << "a black tint keeps the grey";
    EXPECT_EQ(Colorise(0x00FF00, 0x0000FF), RGB(255, 128, 128));
    EXPECT_EQ(CentreRGB(0x0000FF, 0), 0x0000FF);
    EXPECT_EQ(CentreRGB(0x0000FF, 1), 0x555555);
}

TEST(ColorManBrightness, ResolvesSystemColoursAndClamps)
{
    EXPECT_EQ(BrightenColor(clBtnFace, 64), 0xFFFFFF);
    EXPECT_EQ(DarkenColor(clBtnFace, 64), 0x808080);
    EXPECT_EQ(DarkenColor(0x808080, 48), 0x505050);
    EXPECT_EQ(BrightenColor(0x808080, 48), 0xB0B0B0);
    EXPECT_EQ(BrightenColor(0xFFFFFF, 64), 0xFFFFFF);
    EXPECT_EQ(DarkenColor(0xFFFFFF, 64), 0xBFBFBF);
    EXPECT_EQ(BrightenColor(0x102030, -64), 0x000000);
}

TEST(ColorManConsole, QBColorAndBack)
{
    EXPECT_EQ(QBColor(0), 0x000000);
    EXPECT_EQ(QBColor(1), 0x800000);
    EXPECT_EQ(QBColor(7), 0xC0C0C0);
    EXPECT_EQ(QBColor(12), 0x0000FF);
    EXPECT_EQ(QBColor(15), 0xFFFFFF);
    EXPECT_EQ(QBColor(16), 0);
    EXPECT_EQ(QBColor(-1), 0);
    EXPECT_EQ(ToQBColor(0x123456), 0);
    EXPECT_EQ(ToQBColor(0xC0C0C0), 7);
    EXPECT_EQ(ToQBColor(0), 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ToQBColor(QBColor(i)), i);
}

TEST(ColorManHex, ParsesHexOrRaises)
{
    EXPECT_EQ(HexToColor("FF"), 255);
    EXPECT_EQ(HexToColor("FF0000"), 0xFF0000);
    EXPECT_EQ(HexToInt("ff"), 255);
    EXPECT_THROW((void)HexToColor(""), EConvertError);
    EXPECT_THROW((void)HexToColor("xyz"), EConvertError);
    try {
        (void)HexToInt("G1");
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'$G1' is not a valid integer value");
    }
}

TEST(ColorManAverages, MiscBmpToColorClipsAndAverages)
{
    TBitmap b(4, 4);
    b.Canvas().SetPixels(0, 0, 0x000000);
    b.Canvas().SetPixels(1, 0, 0x000003);
    TRect r = Rect(-5, -5, 1, 0); // only (0, 0) and (1, 0) lie inside
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), 3, 3, r), 0x000002) << "1.5 rounds to the even 2";
    TRect none = Rect(10, 10, 20, 20);
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), 3, 3, none), 0) << "no sample gives black";
    TRect huge = Rect(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), 3, 3, huge), RGB(223, 223, 223)) << "a huge rectangle visits only the bitmap";
}

TEST(ColorManAverages, MiscBmpToColorAtTheEndOfTheRangeVisitsOnlyTheDevice)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    TBitmap b(4, 3);
    b.Canvas().Brush().SetColor(0x102030);
    b.Canvas().FillRect(Rect(0, 0, 4, 3));
    b.Canvas().SetPixels(3, 2, 0x405060);
    TRect edge = Rect(kMax - 1, 0, kMax, 0);
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), kMax, kMax, edge), 0) << "nothing of it lies on the device";
    TRect all = Rect(0, 0, kMax, kMax);
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), kMax, kMax, all), RGB(0x34, 0x24, 0x14)) << "the twelve pixels, no more";
    TRect corner = Rect(3, 2, kMax, kMax);
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), kMax, kMax, corner), 0x405060);
    EXPECT_EQ(all, Rect(0, 0, kMax, kMax)) << "the rectangle is not changed";
    b.Canvas().SetClipRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(MiscBmpToColor(b.Canvas().Handle(), kMax, kMax, all), 0x102030) << "a clipped device shows its clip only";
    TRect some = Rect(0, 0, 3, 2);
    EXPECT_EQ(MiscBmpToColor(0, 3, 2, some), 0) << "no device, no samples";
}

TEST(ColorManAverages, MiscColorConvertsVariants)
{
    std::vector<Variant> v { std::int64_t { 0x000010 }, 32.0, std::string("48") };
    EXPECT_EQ(MiscColor(v), 0x000020);
    EXPECT_EQ(MiscColor({}), 0);
    std::vector<Variant> bad { std::int64_t { 1 }, std::string("red") };
    EXPECT_THROW((void)MiscColor(bad), EConvertError);
}
