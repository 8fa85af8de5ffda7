#include "color/host/Bitmap.h"
#include "color/host/Gdi.h"
#include "color/host/detail/RasterOps.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plx;

TEST(TernaryRop, TruthTableMatchesTheNamedCodes)
{
    const std::uint32_t p = 0xF0F0F0, s = 0xCCCCCC, d = 0xAAAAAA;
    EXPECT_EQ(detail::Rop3(detail::RopCode(SRCCOPY), p, s, d), s);
    EXPECT_EQ(detail::Rop3(detail::RopCode(SRCINVERT), p, s, d), s ^ d);
    EXPECT_EQ(detail::Rop3(detail::RopCode(SRCAND), p, s, d), s & d);
    EXPECT_EQ(detail::Rop3(detail::RopCode(SRCPAINT), p, s, d), s | d);
    EXPECT_EQ(detail::Rop3(detail::RopCode(NOTSRCCOPY), p, s, d), ~s & 0xFFFFFF);
    EXPECT_EQ(detail::Rop3(detail::RopCode(PATCOPY), p, s, d), p);
    EXPECT_EQ(detail::Rop3(detail::RopCode(0x00E20746), p, s, d), d ^ (s & (p ^ d)));
    // Every code's byte is its own truth table over P = F0, S = CC, D = AA.
    for (unsigned code = 0; code < 256; ++code)
        EXPECT_EQ(detail::Rop3(static_cast<std::uint8_t>(code), 0xF0, 0xCC, 0xAA) & 0xFF, code);
}

TEST(BitBlt, GenericCodeAgreesWithFastPathsAndPattern)
{
    TBitmap src(4, 1), dst(4, 1);
    for (int x = 0; x < 4; ++x) {
        src.Canvas().SetPixels(x, 0, 0x111111 * (x + 1));
        dst.Canvas().SetPixels(x, 0, 0x0F0F0F * (x + 2));
    }
    TBitmap expected(4, 1);
    expected.Canvas().CopyRect(Rect(0, 0, 4, 1), dst.Canvas(), Rect(0, 0, 4, 1));
    dst.Canvas().Brush().SetColor(0x00FF00);
    // DSPDxax: the brush where the source is set, the destination where it is not.
    ASSERT_TRUE(BitBlt(dst.Canvas().Handle(), 0, 0, 4, 1, src.Canvas().Handle(), 0, 0, 0x00E20746));
    for (int x = 0; x < 4; ++x) {
        std::uint32_t s = 0x111111u * (x + 1), d = 0x0F0F0Fu * (x + 2);
        EXPECT_EQ(static_cast<std::uint32_t>(dst.Canvas().Pixels(x, 0)), d ^ (s & (0x00FF00 ^ d)));
    }
}

TEST(BitBlt, MonochromeConversionsUseBackgroundAndTextColours)
{
    TBitmap colour(3, 1);
    colour.Canvas().SetPixels(0, 0, clRed);
    colour.Canvas().SetPixels(1, 0, clBlue);
    colour.Canvas().SetPixels(2, 0, clWhite);
    TBitmap mask(3, 1);
    mask.SetMonochrome(true);
    // To monochrome: the source's background colour becomes white, everything else black.
    TColor old = SetBkColor(colour.Canvas().Handle(), clRed);
    EXPECT_EQ(old, clWhite);
    BitBlt(mask.Canvas().Handle(), 0, 0, 3, 1, colour.Canvas().Handle(), 0, 0, SRCCOPY);
    EXPECT_EQ(mask.Canvas().Pixels(0, 0), clWhite);
    EXPECT_EQ(mask.Canvas().Pixels(1, 0), clBlack);
    EXPECT_EQ(mask.Canvas().Pixels(2, 0), clBlack);
    // From monochrome: white takes the destination's background colour, black its text colour.
    TBitmap out(3, 1);
    SetBkColor(out.Canvas().Handle(), clLime);
    SetTextColor(out.Canvas().Handle(), clNavy);
    BitBlt(out.Canvas().Handle(), 0, 0, 3, 1, mask.Canvas().Handle(), 0, 0, SRCCOPY);
    EXPECT_EQ(out.Canvas().Pixels(0, 0), clLime);
    EXPECT_EQ(out.Canvas().Pixels(1, 0), clNavy);
}

TEST(BitBlt, ClipsSourceAndDestination)
{
    TBitmap src(2, 2), dst(4, 4);
    src.Canvas().Brush().SetColor(clRed);
    src.Canvas().FillRect(Rect(0, 0, 2, 2));
    BitBlt(dst.Canvas().Handle(), 1, 1, 10, 10, src.Canvas().Handle(), -1, -1, SRCCOPY);
    EXPECT_EQ(dst.Canvas().Pixels(1, 1), clWhite) << "source (-1, -1) does not exist";
    EXPECT_EQ(dst.Canvas().Pixels(2, 2), clRed);
    EXPECT_EQ(dst.Canvas().Pixels(3, 3), clRed);
    EXPECT_EQ(GetPixel(dst.Canvas().Handle(), 3, 3), clRed);
    EXPECT_EQ(GetPixel(dst.Canvas().Handle(), 4, 3), clInvalid);
}

TEST(MemoryDC, SelectBitmapAndDraw)
{
    std::int32_t before = GdiObjectCount();
    HDC dc = CreateCompatibleDC(0);
    HBITMAP bmp = CreateBitmap(2, 2, 1, 32, nullptr);
    EXPECT_EQ(SelectObject(dc, bmp), 0u);
    SetPixel(dc, 1, 1, clRed);
    EXPECT_EQ(GetPixel(dc, 1, 1), clRed);
    EXPECT_EQ(GetPixel(dc, 0, 0), clBlack);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(BitBlt, EveryTernaryCodeMatchesItsTruthTable)
{
    // Fast row loops and the per-pixel path must agree with the truth table for all 256 codes.
    const std::uint32_t s = 0x3C5AA5, d = 0x0FF00F, p = 0x00FF00;
    for (unsigned code = 0; code < 256; ++code) {
        TBitmap src(2, 1), dst(2, 1);
        src.Canvas().SetPixels(0, 0, static_cast<TColor>(s));
        src.Canvas().SetPixels(1, 0, static_cast<TColor>(s));
        dst.Canvas().SetPixels(0, 0, static_cast<TColor>(d));
        dst.Canvas().SetPixels(1, 0, static_cast<TColor>(d));
        dst.Canvas().Brush().SetColor(static_cast<TColor>(p));
        std::uint32_t rop = (code << 16) | 0x0046;
        BitBlt(dst.Canvas().Handle(), 0, 0, 2, 1, src.Canvas().Handle(), 0, 0, rop);
        std::uint32_t expected = detail::Rop3(static_cast<std::uint8_t>(code), p, s, d);
        ASSERT_EQ(static_cast<std::uint32_t>(dst.Canvas().Pixels(1, 0)), expected) << "code " << code;
        // The same through a stretch (the per-pixel path).
        TBitmap big(4, 1);
        for (int x = 0; x < 4; ++x)
            big.Canvas().SetPixels(x, 0, static_cast<TColor>(d));
        big.Canvas().Brush().SetColor(static_cast<TColor>(p));
        StretchBlt(big.Canvas().Handle(), 0, 0, 4, 1, src.Canvas().Handle(), 0, 0, 2, 1, rop);
        ASSERT_EQ(static_cast<std::uint32_t>(big.Canvas().Pixels(3, 0)), expected) << "stretched, code " << code;
    }
}

TEST(BitBlt, FarDestinationsAndSourcesNeitherWrapNorOverrun)
{
    TBitmap src(10, 10), dst(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            src.Canvas().SetPixels(x, y, RGB(20 * x, 10 * y, 7));
    const HDC d = dst.Canvas().Handle(), s = src.Canvas().Handle();
    // The right edge x + width lies past INT32_MAX: every visible column shows
    // the source column under its centre, here column 0.
    EXPECT_TRUE(StretchBlt(d, 0, 0, INT32_MAX, 10, s, 0, 0, 10, 10, SRCCOPY));
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(dst.Canvas().Pixels(x, 3), src.Canvas().Pixels(0, 3)) << x;
    // Starting two billion columns to the left: column 9 (4e9 of 4.29e9 columns along).
    EXPECT_TRUE(StretchBlt(d, -2000000000, 0, INT32_MAX, 10, s, 0, 0, 10, 10, SRCCOPY));
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(dst.Canvas().Pixels(x, 3), src.Canvas().Pixels(9, 3)) << x;

    // Sources and destinations past the end of the range have nothing visible.
    std::vector<TColor> before;
    for (int x = 0; x < 20; ++x)
        before.push_back(dst.Canvas().Pixels(x, 0));
    EXPECT_TRUE(BitBlt(d, 5, 0, 10, 10, s, INT32_MAX - 3, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(d, INT32_MAX - 3, 0, 10, 10, s, 0, 0, SRCCOPY));
    EXPECT_TRUE(PatBlt(d, INT32_MAX - 5, INT32_MIN, 100, INT32_MAX, BLACKNESS));
    EXPECT_TRUE(StretchBlt(d, 0, 0, 20, 10, s, INT32_MIN, 0, INT32_MAX, 10, SRCCOPY));
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(dst.Canvas().Pixels(x, 0), before[static_cast<std::size_t>(x)]) << x;
    EXPECT_EQ(GetPixel(d, INT32_MAX, INT32_MIN), clInvalid);
}
