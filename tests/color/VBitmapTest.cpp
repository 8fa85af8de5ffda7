#include "color/VBitmap.h"

#include "color/ColorMan.h"
#include "color/host/Bitmap.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "TestBmp.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

using namespace plx;

namespace {

using test::MessageOf;

constexpr const char* kInvalid = "VirtualBitmap: Invalid bitmap.";
constexpr const char* kNoTable = "VirtualBitmap: Color table isnot avialable for 16bit or 24bit bitmaps.";

using test::BmpSpec;

std::vector<std::uint8_t> Build(const BmpSpec& s)
{
    return test::BuildBmp(s);
}

void Load(TVirtualBitmap& v, const std::vector<std::uint8_t>& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    v.LoadFromStream(stream);
}

// Every pixel of the bitmap, row by row.
std::vector<TColor> Pixels(const TVirtualBitmap& v)
{
    std::vector<TColor> out;
    for (std::int32_t y = 0; y < v.Height(); ++y)
        for (std::int32_t x = 0; x < v.Width(); ++x)
            out.push_back(v.GetPixel(x, y));
    return out;
}

// The positions of the pixels that are not black.
std::vector<TPoint> Lit(const TVirtualBitmap& v)
{
    std::vector<TPoint> out;
    for (std::int32_t y = 0; y < v.Height(); ++y)
        for (std::int32_t x = 0; x < v.Width(); ++x)
            if (v.GetPixel(x, y) != 0)
                out.push_back({ x, y });
    return out;
}

} // namespace

// ---- Pixel layout -----------------------------------------------------------

TEST(VirtualBitmapLayout, TwentyFourBitRowsArePaddedAndStoredBottomUp)
{
    TVirtualBitmap v(3, 4, 24);
    EXPECT_EQ(v.RowSize(), 12u) << "9 pixel bytes and 3 padding bytes";
    EXPECT_EQ(v.PixelData().size(), 48u);
    EXPECT_EQ(v.GotoXY(0, 0), 3u * 12u);
    EXPECT_EQ(v.GotoXY(2, 3), 6u);
    v.SetPixel(0, 0, 0x00112233);
    EXPECT_EQ(v.GetPixel(0, 0), 0x00112233);
    // Blue, green, red in memory: the colour's bytes 0x33 (red), 0x22, 0x11 (blue) reversed.
    const auto data = v.PixelData();
    EXPECT_EQ(data[36], 0x11);
    EXPECT_EQ(data[37], 0x22);
    EXPECT_EQ(data[38], 0x33);
}

TEST(VirtualBitmapLayout, SubBytePixelsArePackedFromTheTopBit)
{
    TVirtualBitmap mono(10, 3, 1);
    EXPECT_EQ(mono.RowSize(), 4u);
    mono.SetColor(1, clWhite);
    mono.SetPixel(0, 1, clWhite);
    EXPECT_EQ(mono.PixelData()[4], 0x80) << "row 1 of 3 is the middle stored row";
    mono.SetPixel(9, 1, clWhite);
    EXPECT_EQ(mono.PixelData()[5], 0x40);
    EXPECT_EQ(mono.GetPixel(9, 1), clWhite);
    EXPECT_EQ(mono.GetPixel(8, 1), clBlack);

    TVirtualBitmap nibbles(3, 1, 4);
    for (int i = 0; i < 16; ++i)
        nibbles.SetColor(static_cast<std::uint8_t>(i), RGB(i * 16, 0, 0));
    nibbles.SetPixel(0, 0, RGB(0xA0, 0, 0));
    nibbles.SetPixel(1, 0, RGB(0x50, 0, 0));
    nibbles.SetPixel(2, 0, RGB(0xF0, 0, 0));
    EXPECT_EQ(nibbles.PixelData()[0], 0xA5);
    EXPECT_EQ(nibbles.PixelData()[1], 0xF0);
    nibbles.SetPixel(1, 0, RGB(0x30, 0, 0));
    EXPECT_EQ(nibbles.PixelData()[0], 0xA3) << "only the pixel's own bits change";
}

TEST(VirtualBitmapLayout, ThirtyTwoAndSixteenBitPixels)
{
    TVirtualBitmap deep(1, 1, 32);
    deep.PixelData()[3] = 0x7F;
    deep.SetPixel(0, 0, 0x00112233);
    const auto d = deep.PixelData();
    EXPECT_EQ((std::vector<std::uint8_t> { d[0], d[1], d[2], d[3] }), (std::vector<std::uint8_t> { 0x11, 0x22, 0x33, 0 }));
    EXPECT_EQ(deep.GetPixel(0, 0), 0x00112233);

    TVirtualBitmap high(2, 1, 16);
    EXPECT_EQ(high.RowSize(), 4u);
    high.SetPixel(1, 0, RGB(0xFF, 0x80, 0x08));
    const std::uint32_t word = high.PixelData()[2] | (high.PixelData()[3] << 8);
    EXPECT_EQ(word, (31u << 10) | (16u << 5) | 1u);
    EXPECT_EQ(high.GetPixel(1, 0), RGB(0xFF, 0x84, 0x08)) << "each 5-bit channel reads as (v << 3) | (v >> 2)";
}

TEST(VirtualBitmapLayout, OutsideTheBitmapReadsZeroAndWritesNothing)
{
    TVirtualBitmap v(4, 4, 24);
    v.SetPixel(0, 0, clWhite);
    const auto before = std::vector<std::uint8_t>(v.PixelData().begin(), v.PixelData().end());
    for (auto [x, y] : { TPoint { -1, 0 }, TPoint { 4, 0 }, TPoint { 0, -1 }, TPoint { 0, 4 },
             TPoint { std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max() } }) {
        EXPECT_EQ(v.GetPixel(x, y), 0);
        v.SetPixel(x, y, clWhite);
    }
    EXPECT_EQ(std::vector<std::uint8_t>(v.PixelData().begin(), v.PixelData().end()), before);
}

// ---- Construction and properties ------------------------------------------------

TEST(VirtualBitmapContent, CreateAndRecreateZeroFill)
{
    TVirtualBitmap v(5, 3, 8);
    EXPECT_EQ(v.Colors(), 256);
    EXPECT_FALSE(v.Smooth());
    for (auto b : v.PixelData())
        ASSERT_EQ(b, 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(v.GetColor(static_cast<std::uint8_t>(i)), 0);
    v.SetColor(7, clRed);
    v.PixelData()[0] = 7;
    v.SetWidth(6);
    EXPECT_EQ(v.RowSize(), 8u);
    EXPECT_EQ(v.PixelData().size(), 24u);
    EXPECT_EQ(v.GetColor(7), 0) << "the new table is zero-filled";
    EXPECT_EQ(v.PixelData()[0], 0);
}

TEST(VirtualBitmapContent, BitsSetterUpdatesColorsBeforeTheTable)
{
    TVirtualBitmap v(2, 2, 24);
    EXPECT_EQ(MessageOf([&] { (void)v.CheckTable(); }), kNoTable);
    v.SetBits(4);
    EXPECT_EQ(v.Colors(), 16);
    EXPECT_TRUE(v.CheckTable());
    v.SetColor(15, clLime);
    EXPECT_EQ(v.GetColor(15), clLime);
    EXPECT_EQ(v.GetColor(16), 0) << "beyond the table";
    v.SetBits(1);
    EXPECT_EQ(v.Colors(), 2);
    v.SetBits(32);
    EXPECT_EQ(v.Colors(), std::int64_t { 1 } << 32);
    EXPECT_EQ(v.RowSize(), 8u);
    EXPECT_EQ(MessageOf([&] { (void)v.GetColor(0); }), kNoTable);
}

TEST(VirtualBitmapContent, ImpossibleSizesAndDepthsRaiseAndKeepTheBitmap)
{
    EXPECT_EQ(MessageOf([] { TVirtualBitmap v(2, 2, 2); }), kInvalid);
    EXPECT_EQ(MessageOf([] { TVirtualBitmap v(-1, 2, 24); }), kInvalid);
    EXPECT_EQ(MessageOf([] { TVirtualBitmap v(32768, 1, 24); }), kInvalid);
    EXPECT_EQ(MessageOf([] { TVirtualBitmap v(32767, 32767, 1); }), kInvalid) << "more than 2^28 pixels";
    TVirtualBitmap v(3, 3, 24);
    v.SetPixel(1, 1, clRed);
    EXPECT_EQ(MessageOf([&] { v.SetBits(64); }), kInvalid);
    EXPECT_EQ(MessageOf([&] { v.SetWidth(40000); }), kInvalid);
    EXPECT_EQ(MessageOf([&] { v.SetHeight(-5); }), kInvalid);
    EXPECT_EQ(v.Width(), 3);
    EXPECT_EQ(v.Height(), 3);
    EXPECT_EQ(v.Bits(), 24);
    EXPECT_EQ(v.GetPixel(1, 1), clRed);
    TVirtualBitmap empty(0, 0, 24);
    EXPECT_TRUE(empty.PixelData().empty());
}

TEST(VirtualBitmapContent, PenAndBrushAreCopiedIn)
{
    TVirtualBitmap v(1, 1, 24);
    TPen pen;
    pen.SetColor(clNavy);
    v.SetPen(pen);
    EXPECT_EQ(v.Pen().Color(), clNavy);
    v.SetPen(v.Pen());
    TBrush brush;
    brush.SetColor(clYellow);
    v.SetBrush(brush);
    EXPECT_EQ(v.Brush().Color(), clYellow);
}

// ---- Colour table -----------------------------------------------------------------

TEST(VirtualBitmapTable, NearestColourComparesWholeIntegers)
{
    TVirtualBitmap v(1, 1, 1);
    v.SetColor(0, 0x000000);
    v.SetColor(1, 0x0000C0);
    EXPECT_EQ(v.GetNearestColor(0x0000FF), 0x0000C0) << "distances 255 and 63";
    v.SetColor(1, 0x000100);
    EXPECT_EQ(v.GetNearestColor(0x0000FF), 0x000100) << "a green of 1 is 1 away from full red";
}

TEST(VirtualBitmapTable, NearestColourWithNoEntryCloserThan128TakesTheNearest)
{
    TVirtualBitmap v(2, 1, 1);
    v.SetColor(0, 0x000000);
    v.SetColor(1, 0xFFFFFF);
    EXPECT_EQ(v.GetNearestColor(0x0000FF), 0x000000);
    EXPECT_EQ(v.GetNearestColor(0xA00000), 0xFFFFFF);
    v.SetColor(1, 0x000000);
    EXPECT_EQ(v.GetNearestColor(0x123456), 0x000000);
    // A table of equal entries: the lowest index wins, and the pixel stores it.
    v.SetColor(0, 0x808080);
    v.SetColor(1, 0x808080);
    v.SetPixel(1, 0, 0x101010);
    EXPECT_EQ(v.PixelData()[0], 0x00);
    EXPECT_EQ(v.GetPixel(1, 0), 0x808080);
}

TEST(VirtualBitmapTable, PaletteSetPixelStoresTheNearestEntry)
{
    TVirtualBitmap v(4, 1, 8);
    v.SetColor(0, 0x000000);
    v.SetColor(200, 0x0000FF);
    v.SetColor(201, 0xFF0000);
    v.SetPixel(2, 0, 0x0000F0);
    EXPECT_EQ(v.PixelData()[2], 200);
    v.SetPixel(3, 0, 0xFE0000);
    EXPECT_EQ(v.PixelData()[3], 201);
    EXPECT_EQ(v.GetPixel(3, 0), 0xFF0000);
}

TEST(VirtualBitmapTable, TrueColourBitmapsHaveNoTable)
{
    TVirtualBitmap v(1, 1, 24);
    EXPECT_EQ(MessageOf([&] { (void)v.GetColor(0); }), kNoTable);
    EXPECT_EQ(MessageOf([&] { v.SetColor(0, 0); }), kNoTable);
    EXPECT_EQ(MessageOf([&] { (void)v.GetNearestColor(0); }), kNoTable);
}

// ---- Loading ------------------------------------------------------------------------

TEST(VirtualBitmapLoad, ReadsTwentyFourBitsBottomUp)
{
    BmpSpec s { .imageSize = 16, .pixels = { 1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0 } };
    TVirtualBitmap v(1, 1, 8);
    Load(v, Build(s));
    EXPECT_EQ(v.Width(), 2);
    EXPECT_EQ(v.Height(), 2);
    EXPECT_EQ(v.Bits(), 24);
    EXPECT_EQ(MessageOf([&] { (void)v.CheckTable(); }), kNoTable);
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x070809, 0x0A0B0C, 0x010203, 0x040506 }));
}

TEST(VirtualBitmapLoad, NegativeHeightIsTopDown)
{
    BmpSpec s { .height = -2, .pixels = { 1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0 } };
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.Height(), 2);
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x010203, 0x040506, 0x070809, 0x0A0B0C }));
}

TEST(VirtualBitmapLoad, ImageSizeFieldDoesNotSizeThePixels)
{
    BmpSpec s;
    s.pixels.assign(16, 0x44);
    s.imageSize = 0;
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.PixelData().size(), 16u);
    s.imageSize = 0xFFFFFFF0u;
    Load(v, Build(s));
    EXPECT_EQ(v.PixelData().size(), 16u);
    EXPECT_EQ(v.GetPixel(1, 1), 0x444444);
}

TEST(VirtualBitmapLoad, PaletteWithColourCountAndDataOffset)
{
    BmpSpec s { .width = 3, .height = 1, .bits = 8, .colorsUsed = 2, .table = { 0x112233, 0x445566 },
        .gap = { 0xEE, 0xEE, 0xEE, 0xEE }, .pixels = { 1, 0, 1, 0 } };
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.Colors(), 256);
    EXPECT_EQ(v.GetColor(0), 0x112233);
    EXPECT_EQ(v.GetColor(1), 0x445566);
    EXPECT_EQ(v.GetColor(2), 0) << "entries the stream does not hold are 0";
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x445566, 0x112233, 0x445566 })) << "read from the data offset";

    // An offset that points past the data is not honoured: the pixels follow the table.
    s.gap.clear();
    s.offset = 5000;
    Load(v, Build(s));
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x445566, 0x112233, 0x445566 }));
    // A colour count beyond 2^Bits is not honoured either: the full table is read.
    s.bits = 1;
    s.colorsUsed = 9;
    s.offset.reset();
    s.pixels = { 0x40, 0, 0, 0 };
    Load(v, Build(s));
    EXPECT_EQ(v.Colors(), 2);
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x112233, 0x445566, 0x112233 }));
}

TEST(VirtualBitmapLoad, CoreHeaderHasThreeByteEntries)
{
    BmpSpec s { .headerSize = 12, .width = 5, .height = 2, .bits = 4 };
    for (TColor i = 0; i < 16; ++i)
        s.table.push_back(i * 0x010101);
    s.pixels = { 0x01, 0x23, 0x40, 0, 0xFE, 0xDC, 0xB0, 0 };
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.Bits(), 4);
    EXPECT_EQ(v.PixelData().size(), 8u) << "the image size is derived: 4 bytes a row";
    EXPECT_EQ(v.GetColor(15), 0x0F0F0F);
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x0F0F0F, 0x0E0E0E, 0x0D0D0D, 0x0C0C0C, 0x0B0B0B, 0x000000, 0x010101,
                              0x020202, 0x030303, 0x040404 }));
}

TEST(VirtualBitmapLoad, BitFieldsForSixteenAndThirtyTwoBits)
{
    BmpSpec s { .width = 1, .height = 1, .bits = 16, .compression = 3, .masks = { 0xF800, 0x07E0, 0x001F } };
    s.pixels = { 0x1F, 0xF8, 0, 0 }; // red 31, green 0, blue 31
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.GetPixel(0, 0), 0xFF00FF);
    v.SetPixel(0, 0, RGB(0, 0xFF, 0));
    EXPECT_EQ(v.PixelData()[0] | (v.PixelData()[1] << 8), 0x07E0) << "5-6-5 pixels stay 5-6-5";
    TBitmap host;
    v.ProduceBitmap(host);
    EXPECT_EQ(host.Canvas().Pixels(0, 0), 0x00FF00);

    s.masks = { 0x7C00, 0x03E0, 0x001F };
    s.pixels = { 0x00, 0x7C, 0, 0 };
    Load(v, Build(s));
    EXPECT_EQ(v.GetPixel(0, 0), 0x0000FF);

    s.bits = 32;
    s.masks = { 0xFF0000, 0x00FF00, 0x0000FF };
    s.pixels = { 0x30, 0x20, 0x10, 0x99 };
    Load(v, Build(s));
    EXPECT_EQ(v.GetPixel(0, 0), 0x302010);
}

TEST(VirtualBitmapLoad, MalformedStreamsRaiseAndKeepThePreviousBitmap)
{
    BmpSpec good;
    good.pixels.assign(16, 0);
    struct Case {
        const char* what;
        std::function<void(BmpSpec&)> spoil;
    };
    const std::vector<Case> cases {
        { "header size 41", [](BmpSpec& s) { s.headerSize = 41; } },
        { "header size 100", [](BmpSpec& s) { s.headerSize = 100; } },
        { "signature \"BA\"", [](BmpSpec& s) { s.signature = 0x4142; } },
        { "plane count 30000", [](BmpSpec& s) { s.planes = 30000; } },
        { "width 0", [](BmpSpec& s) { s.width = 0; } },
        { "negative width", [](BmpSpec& s) { s.width = -2; } },
        { "height 0", [](BmpSpec& s) { s.height = 0; } },
        { "bit count 2", [](BmpSpec& s) { s.bits = 2; } },
        { "bit count 0", [](BmpSpec& s) { s.bits = 0; } },
        { "JPEG data", [](BmpSpec& s) { s.compression = 4; } },
        { "run-length compression on 24 bits", [](BmpSpec& s) { s.compression = 1; } },
        { "bit fields on 24 bits", [](BmpSpec& s) { s.compression = 3; s.masks = { 0xFF0000, 0xFF00, 0xFF }; } },
        { "unusual bit fields", [](BmpSpec& s) { s.bits = 16; s.compression = 3; s.masks = { 0xF000, 0x0F00, 0x00F0 }; s.pixels.resize(8); } },
        { "width over 32767", [](BmpSpec& s) { s.width = 32768; } },
        { "height over 32767", [](BmpSpec& s) { s.height = -32768; } },
        { "more than 2^28 pixels", [](BmpSpec& s) { s.width = 20000; s.height = 20000; s.bits = 1; } },
        { "pixels one byte short", [](BmpSpec& s) { s.pixels.resize(15); } },
        { "table short", [](BmpSpec& s) { s.bits = 8; s.table.assign(100, 0); s.pixels.clear(); } },
        { "huge claim, tiny data", [](BmpSpec& s) { s.width = 16384; s.height = 16384; s.bits = 32; } },
    };
    for (const auto& c : cases) {
        BmpSpec s = good;
        c.spoil(s);
        TVirtualBitmap v(3, 1, 4);
        v.SetColor(3, clRed);
        v.SetPixel(2, 0, clRed);
        EXPECT_EQ(MessageOf([&] { Load(v, Build(s)); }), kInvalid) << c.what;
        EXPECT_EQ(v.Width(), 3) << c.what;
        EXPECT_EQ(v.Height(), 1) << c.what;
        EXPECT_EQ(v.Bits(), 4) << c.what;
        EXPECT_EQ(v.GetPixel(2, 0), clRed) << c.what;
    }
    TVirtualBitmap v(1, 1, 24);
    const auto bytes = Build(good);
    for (std::size_t size : { std::size_t { 0 }, std::size_t { 10 }, std::size_t { 17 }, std::size_t { 30 }, std::size_t { 53 } })
        EXPECT_EQ(MessageOf([&] { Load(v, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size))); }),
            kInvalid)
            << size << " bytes";
}

TEST(VirtualBitmapLoad, ReadsFromTheStreamPosition)
{
    BmpSpec s { .width = 1, .height = 1, .pixels = { 0x10, 0x20, 0x30, 0 } };
    const auto bytes = Build(s);
    TMemoryStream stream;
    stream.WriteBuffer("junk", 4);
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(4);
    TVirtualBitmap v(1, 1, 24);
    v.LoadFromStream(stream);
    EXPECT_EQ(v.GetPixel(0, 0), 0x102030);
    EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(VirtualBitmapLoad, VersionFourAndFiveHeadersBecomeTheClassicLayout)
{
    BmpSpec s { .headerSize = 124, .width = 3, .height = -2, .bits = 8, .colorsUsed = 3,
        .table = { 0x112233, 0x445566, 0x778899 }, .pixels = { 0, 1, 2, 0, 2, 1, 0, 0 } };
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_TRUE(v.LoadError().empty());
    EXPECT_EQ(v.Bits(), 8);
    EXPECT_EQ(v.GetColor(2), 0x778899);
    EXPECT_EQ(Pixels(v), (std::vector<TColor> { 0x112233, 0x445566, 0x778899, 0x778899, 0x445566, 0x112233 }));
    TMemoryStream saved;
    v.SaveToStream(saved);
    const auto& b = saved.Bytes();
    ASSERT_EQ(b.size(), 14u + 40u + 1024u + 8u);
    EXPECT_EQ(b[14], 40) << "a 40-byte header";
    EXPECT_EQ(b[10] | (b[11] << 8), 14 + 40 + 1024) << "a full table";
    EXPECT_EQ(std::vector<std::uint8_t>(b.end() - 8, b.end()), (std::vector<std::uint8_t> { 2, 1, 0, 0, 0, 1, 2, 0 }))
        << "bottom-up rows";

    // The standard 32-bit masks (with alpha) become plain 32-bit pixels.
    s.bits = 32;
    s.compression = 3;
    s.masks = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000 };
    s.table.clear();
    s.colorsUsed = 0;
    s.height = 1;
    s.pixels = { 0x30, 0x20, 0x10, 0xFF, 1, 2, 3, 0, 4, 5, 6, 0 };
    Load(v, Build(s));
    EXPECT_EQ(v.Bits(), 32);
    EXPECT_EQ(v.GetPixel(0, 0), 0x302010);
    TMemoryStream plain;
    v.SaveToStream(plain);
    EXPECT_EQ(plain.Bytes()[30], 0) << "written uncompressed";
}

TEST(VirtualBitmapLoad, UnusualBitFieldsAreRefusedWithAReason)
{
    BmpSpec s { .width = 1, .height = 1, .bits = 16, .compression = 3, .masks = { 0x0F00, 0x00F0, 0x000F },
        .pixels = { 0, 0, 0, 0 } };
    TVirtualBitmap v(1, 1, 24);
    v.SetPixel(0, 0, clRed);
    EXPECT_EQ(MessageOf([&] { Load(v, Build(s)); }), kInvalid);
    EXPECT_EQ(v.LoadError(), "16-bit pixels with the bit fields 0xF00, 0xF0, 0xF cannot be kept");
    s.masks = { 0x7C00, 0x0380, 0x006F };
    EXPECT_EQ(MessageOf([&] { Load(v, Build(s)); }), kInvalid);
    EXPECT_EQ(v.LoadError(), "bit-field mask 0x6F is not one run of bits");
    s.planes = 30000;
    EXPECT_EQ(MessageOf([&] { Load(v, Build(s)); }), kInvalid);
    EXPECT_EQ(v.LoadError(), "plane count 30000");
    EXPECT_EQ(v.GetPixel(0, 0), clRed);
    EXPECT_EQ(v.Bits(), 24);
}

TEST(VirtualBitmapLoad, RunLengthDataIsDecodedIntoRowsOfTheSameDepth)
{
    // 64 x 64 RLE8: 2 pixels, delta (0, 62), 2 pixels, end of line, 2 pixels, end of bitmap.
    BmpSpec s { .width = 64, .height = 64, .bits = 8, .compression = 1, .colorsUsed = 4,
        .table = { 0x000000, 0x0000FF, 0x00FF00, 0xFF0000 }, .pixels = { 2, 1, 0, 2, 0, 62, 2, 2, 0, 0, 2, 3, 0, 1 } };
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.Bits(), 8);
    EXPECT_EQ(v.RowSize(), 64u);
    std::vector<std::uint8_t> expected(64 * 64, 0);
    expected[0] = expected[1] = 1;
    expected[62 * 64 + 2] = expected[62 * 64 + 3] = 2;
    expected[63 * 64] = expected[63 * 64 + 1] = 3;
    EXPECT_EQ(std::vector<std::uint8_t>(v.PixelData().begin(), v.PixelData().end()), expected);

    // 5 x 2 RLE4: bottom row 3 pixels alternating 1 and 2, then absolute 4 5 6 (6 is cut);
    // top row: a delta to x 3, 2 pixels of 7.
    s.width = 5;
    s.height = 2;
    s.bits = 4;
    s.compression = 2;
    s.pixels = { 3, 0x12, 0, 3, 0x45, 0x60, 0, 0, 0, 2, 3, 0, 2, 0x77, 0, 1 };
    Load(v, Build(s));
    EXPECT_EQ(v.Bits(), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(v.PixelData().begin(), v.PixelData().end()),
        (std::vector<std::uint8_t> { 0x12, 0x14, 0x50, 0, 0x00, 0x07, 0x70, 0 }));

    s.pixels = { 0, 9, 1, 2 }; // an absolute run of 9 pixels holding 2 bytes
    EXPECT_EQ(MessageOf([&] { Load(v, Build(s)); }), kInvalid);
    EXPECT_EQ(v.LoadError(), "the compressed data is truncated");
    EXPECT_EQ(v.Width(), 5);
}

TEST(VirtualBitmapLoad, AnOffsetInsideTheTableEndsIt)
{
    // A 24-bit file announcing 256 entries with its pixels right after the header.
    BmpSpec s { .width = 1, .height = 1, .colorsUsed = 256, .pixels = { 1, 2, 3, 0 } };
    TVirtualBitmap v(1, 1, 24);
    Load(v, Build(s));
    EXPECT_EQ(v.GetPixel(0, 0), 0x010203);
    // An OS/2 file with 252 of its 256 entries.
    s.headerSize = 12;
    s.bits = 8;
    s.colorsUsed = 0;
    s.table.assign(252, 0x445566);
    s.pixels = { 251, 0, 0, 0 };
    Load(v, Build(s));
    EXPECT_EQ(v.GetPixel(0, 0), 0x445566);
    EXPECT_EQ(v.GetColor(252), 0) << "entries the stream does not hold are 0";
}

TEST(VirtualBitmapLoad, RowsOverTheAllocationLimitAreRefused)
{
    BmpSpec s { .width = 20, .height = 20, .bits = 8, .compression = 1, .colorsUsed = 1, .table = { clWhite },
        .pixels = { 0, 1 } };
    test::AllocationLimitGuard limit(20 * 20 - 1);
    TVirtualBitmap v(2, 2, 24);
    EXPECT_THROW(Load(v, Build(s)), EInvalidGraphic);
    EXPECT_EQ(v.LoadError(), "Bitmap too large to load: the image needs 400 bytes for its 20 x 20 pixels, more than the image "
                             "allocation limit of 399 bytes");
    EXPECT_EQ(v.Width(), 2);
    SetImageAllocationLimit(20 * 20);
    Load(v, Build(s));
    EXPECT_EQ(v.GetPixel(19, 19), clWhite);

    // Bitmaps sized by code, and their copies through streams, are not limited.
    SetImageAllocationLimit(16);
    TVirtualBitmap sized(30, 30, 24);
    sized.SetPixel(29, 29, clRed);
    TBitmap host;
    sized.ProduceBitmap(host);
    EXPECT_EQ(host.Canvas().Pixels(29, 29), clRed);
    host.SetPixelFormat(pf8bit);
    host.SetColorTable(std::vector<TColor> { clBlack, clRed }); // a short table: read, not adopted
    host.Canvas().SetPixels(29, 29, clRed);
    TVirtualBitmap copy(host);
    EXPECT_EQ(copy.GetPixel(29, 29), clRed);
}

TEST(VirtualBitmapStream, SavedStreamsAndFilesReadBack)
{
    TVirtualBitmap v(5, 3, 4);
    v.SetColor(9, clFuchsia);
    v.SetPixel(4, 2, clFuchsia);
    const std::string file = testing::TempDir() + "virtual-bitmap-test.bmp";
    v.SaveToFile(file);
    TVirtualBitmap back(1, 1, 24);
    back.LoadFromFile(file);
    EXPECT_EQ(back.Bits(), 4);
    EXPECT_EQ(Pixels(back), Pixels(v));
    TMemoryStream a, b;
    v.SaveToStream(a);
    back.SaveToStream(b);
    EXPECT_EQ(a.Bytes(), b.Bytes());
    EXPECT_EQ(a.Bytes().size(), 14u + 40u + 64u + 12u);
    std::remove(file.c_str());
#ifndef NDEBUG
    EXPECT_DEATH((void)v.ScanLine(3), "");
#endif
}

// ---- Producing and round trips ----------------------------------------------------

TEST(VirtualBitmapProduce, WritesAHeaderTheHostReads)
{
    TVirtualBitmap v(2, 2, 24);
    v.SetPixel(0, 0, 0x0000FF);
    v.SetPixel(1, 1, 0x00FF00);
    TBitmap host;
    v.ProduceBitmap(host);
    EXPECT_EQ(host.Width(), 2);
    EXPECT_EQ(host.PixelFormat(), pf24bit);
    EXPECT_EQ(host.Canvas().Pixels(0, 0), 0x0000FF);
    EXPECT_EQ(host.Canvas().Pixels(1, 1), 0x00FF00);
    TMemoryStream saved;
    host.SaveToStream(saved);
    const auto& b = saved.Bytes();
    ASSERT_EQ(b.size(), 70u);
    EXPECT_EQ(b[2], 70);
    EXPECT_EQ(b[10], 54);
    EXPECT_EQ(b[34], 16);
}

TEST(VirtualBitmapProduce, PaletteBitmapsRoundTripThroughTheHost)
{
    TBitmap host(5, 3);
    host.SetPixelFormat(pf8bit);
    std::vector<TColor> table(256);
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = RGB(i, 255 - i, i / 2);
    host.SetColorTable(table);
    host.Canvas().SetPixels(4, 2, table[77]);
    TVirtualBitmap v(host);
    EXPECT_EQ(v.Bits(), 8);
    EXPECT_EQ(v.GetColor(77), table[77]);
    EXPECT_EQ(v.PixelData()[4], 77) << "row 2 of 3 is the bottom stored row";
    TBitmap back;
    v.ProduceBitmap(back);
    EXPECT_EQ(back.PixelFormat(), pf8bit);
    EXPECT_EQ(back.ColorTable(), table);
    EXPECT_EQ(back.Image().Row(2)[4] >> 24, 77u);
}

TEST(VirtualBitmapProduce, EveryDepthRoundTrips)
{
    for (TPixelFormat f : { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit }) {
        TBitmap host(7, 5);
        host.SetPixelFormat(f);
        for (int i = 0; i < 35; ++i)
            host.Canvas().SetPixels(i % 7, i / 7, RGB(i * 7, 255 - i * 5, i * 3));
        TVirtualBitmap v(host);
        for (int i = 0; i < 35; ++i)
            ASSERT_EQ(v.GetPixel(i % 7, i / 7), host.Canvas().Pixels(i % 7, i / 7)) << "format " << int(f) << " pixel " << i;
        TBitmap back;
        v.ProduceBitmap(back);
        EXPECT_EQ(back.PixelFormat(), f);
        for (int i = 0; i < 35; ++i)
            ASSERT_EQ(back.Canvas().Pixels(i % 7, i / 7), host.Canvas().Pixels(i % 7, i / 7)) << "format " << int(f);
    }
}

TEST(VirtualBitmapProduce, EmptyBitmapsStayEmpty)
{
    TBitmap empty;
    TVirtualBitmap v(empty);
    EXPECT_EQ(v.Width(), 0);
    EXPECT_EQ(v.Height(), 0);
    TBitmap host(3, 3);
    v.ProduceBitmap(host);
    EXPECT_TRUE(host.Empty());
}

// ---- Drawing ------------------------------------------------------------------------------

TEST(VirtualBitmapDrawing, ValidXYOrdersAndClips)
{
    TVirtualBitmap v(10, 10, 24);
    std::int32_t x1 = 12, y1 = 5, x2 = -4, y2 = 3;
    EXPECT_TRUE(v.ValidXY(x1, y1, x2, y2));
    EXPECT_EQ((TRect { x1, y1, x2, y2 }), (TRect { 0, 3, 9, 5 }));
    x1 = 50, y1 = 0, x2 = 50, y2 = 5;
    EXPECT_FALSE(v.ValidXY(x1, y1, x2, y2));
}

TEST(VirtualBitmapDrawing, RangesEmptyAfterClippingDrawNothing)
{
    TVirtualBitmap v(10, 10, 24);
    v.Pen().SetColor(clWhite);
    v.Line(50, 0, 50, 5);
    v.Line(0, -3, 9, -3);
    v.Rectangle(20, 20, 30, 30);
    v.Rectangle(-9, -9, -2, -2);
    EXPECT_TRUE(Lit(v).empty());
}

TEST(VirtualBitmapDrawing, StraightLinesIncludeBothEnds)
{
    TVirtualBitmap v(10, 10, 24);
    v.Pen().SetColor(clWhite);
    v.Line(2, 7, 2, 5);
    v.Line(8, 1, 6, 1);
    EXPECT_EQ(Lit(v), (std::vector<TPoint> { { 6, 1 }, { 7, 1 }, { 8, 1 }, { 2, 5 }, { 2, 6 }, { 2, 7 } }));
}

TEST(VirtualBitmapDrawing, RectangleOutlines)
{
    TVirtualBitmap a(8, 8, 24), b(8, 8, 24);
    a.Pen().SetColor(clWhite);
    b.Pen().SetColor(clWhite);
    a.Rectangle(5, 5, 1, 1);
    b.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(Lit(a), Lit(b));
    EXPECT_EQ(Lit(a).size(), 16u);
    EXPECT_EQ(a.GetPixel(3, 3), 0) << "outline only";

    TVirtualBitmap c(8, 8, 24);
    c.Pen().SetColor(clWhite);
    c.Rectangle(-3, -3, 2, 2);
    EXPECT_EQ(Lit(c), (std::vector<TPoint> { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0, 1 }, { 2, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } }));
}

TEST(VirtualBitmapDrawing, SlopedLinesRunBetweenTheCallersEndPoints)
{
    TVirtualBitmap rising(5, 5, 24);
    rising.Pen().SetColor(clWhite);
    rising.Line(0, 4, 4, 0);
    EXPECT_EQ(Lit(rising), (std::vector<TPoint> { { 4, 0 }, { 3, 1 }, { 2, 2 }, { 1, 3 }, { 0, 4 } }));

    TVirtualBitmap shallow(10, 4, 24);
    shallow.Pen().SetColor(clWhite);
    shallow.Line(0, 0, 9, 3);
    EXPECT_EQ(Lit(shallow), (std::vector<TPoint> { { 0, 0 }, { 1, 0 }, { 2, 1 }, { 3, 1 }, { 4, 1 }, { 5, 2 }, { 6, 2 }, { 7, 2 },
                                { 8, 3 }, { 9, 3 } }));

    TVirtualBitmap steep(3, 6, 24);
    steep.Pen().SetColor(clWhite);
    steep.Line(2, 0, 0, 5);
    EXPECT_EQ(Lit(steep).size(), 6u) << "one pixel per row";
    EXPECT_NE(steep.GetPixel(2, 0), 0);
    EXPECT_NE(steep.GetPixel(0, 5), 0);
}

TEST(VirtualBitmapDrawing, SlopedLinesFromFarAwayAreClippedQuickly)
{
    TVirtualBitmap v(10, 10, 24);
    v.Pen().SetColor(clWhite);
    const auto start = std::chrono::steady_clock::now();
    const std::int32_t far = std::numeric_limits<std::int32_t>::max();
    v.Line(-far, -far + 1, far, far);
    v.Line(far, 9 - far, 9 - far, far);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_NE(v.GetPixel(5, 5), 0);
    EXPECT_NE(v.GetPixel(9, 0), 0);
    EXPECT_NE(v.GetPixel(0, 9), 0);
    EXPECT_EQ(Lit(v).size(), 20u);
}

TEST(VirtualBitmapDrawing, SmoothBlendsTheEightNeighbours)
{
    TVirtualBitmap v(4, 4, 24);
    for (int i = 0; i < 16; ++i)
        v.SetPixel(i % 4, i / 4, clWhite);
    v.SetSmooth(true);
    v.SetPixel(1, 1, clBlack);
    EXPECT_EQ(v.GetPixel(1, 1), clBlack);
    for (auto [x, y] : { TPoint { 1, 0 }, TPoint { 1, 2 }, TPoint { 0, 1 }, TPoint { 2, 1 } })
        EXPECT_EQ(v.GetPixel(x, y), 0x7F7F7F) << "50 % of 255, truncated";
    for (auto [x, y] : { TPoint { 0, 0 }, TPoint { 2, 0 }, TPoint { 0, 2 }, TPoint { 2, 2 } })
        EXPECT_EQ(v.GetPixel(x, y), 0x4C4C4C) << "30 % of 255, truncated";
    EXPECT_EQ(v.GetPixel(3, 3), clWhite);
    v.SetPixel(3, 3, clBlack); // a corner: the neighbours outside are skipped
    EXPECT_EQ(v.GetPixel(3, 2), 0x7F7F7F);

    // A neighbour of the same colour keeps it exactly.
    for (int c = 0; c < 256; ++c) {
        TVirtualBitmap w(3, 3, 24);
        const TColor grey = RGB(c, c, c);
        for (int i = 0; i < 9; ++i)
            w.SetPixel(i % 3, i / 3, grey);
        w.SetSmooth(true);
        w.SetPixel(1, 1, grey);
        ASSERT_EQ(Pixels(w), std::vector<TColor>(9, grey)) << c;
    }
}

TEST(VirtualBitmapDrawing, DrawCopiesTheOverlap)
{
    TVirtualBitmap source(3, 2, 24);
    for (int i = 0; i < 6; ++i)
        source.SetPixel(i % 3, i / 3, RGB(i + 1, 0, 0));
    TVirtualBitmap target(4, 4, 8);
    for (int i = 0; i < 256; ++i)
        target.SetColor(static_cast<std::uint8_t>(i), RGB(i, 0, 0));
    target.Draw(2, 3, source);
    EXPECT_EQ(Lit(target), (std::vector<TPoint> { { 2, 3 }, { 3, 3 } }));
    EXPECT_EQ(target.GetPixel(3, 3), RGB(2, 0, 0));
    target.Draw(-1, -1, source);
    EXPECT_EQ(target.GetPixel(0, 0), RGB(5, 0, 0));
    EXPECT_EQ(target.GetPixel(1, 0), RGB(6, 0, 0));
    target.Draw(std::numeric_limits<std::int32_t>::max(), 0, source);
    target.Draw(std::numeric_limits<std::int32_t>::min(), 0, source);
}

// ---- Area average ------------------------------------------------------------------------

TEST(VirtualBitmapAverage, AveragesThePartInsideTheBitmap)
{
    TVirtualBitmap v(3, 1, 24);
    v.SetPixel(0, 0, RGB(0, 10, 200));
    v.SetPixel(1, 0, RGB(1, 20, 100));
    v.SetPixel(2, 0, RGB(2, 30, 0));
    TRect r { 0, 0, 1, 0 };
    EXPECT_EQ(MiscVBToColor(v, r), RGB(0, 15, 150)) << "0.5 rounds to the even 0";
    r = { 1, 0, 2, 0 };
    EXPECT_EQ(MiscVBToColor(v, r), RGB(2, 25, 50)) << "1.5 rounds to the even 2";
    r = { -5, -5, 1, 7 };
    EXPECT_EQ(MiscVBToColor(v, r), RGB(0, 15, 150));
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    r = { -big, -big, big, big };
    EXPECT_EQ(MiscVBToColor(v, r), RGB(1, 20, 100));
    EXPECT_EQ(r, (TRect { -big, -big, big, big })) << "the caller's rectangle is left alone";
}

TEST(VirtualBitmapAverage, NoPixelInsideGivesZero)
{
    TVirtualBitmap v(3, 3, 24);
    v.SetPixel(0, 0, clWhite);
    TRect outside { 5, 5, 9, 9 };
    EXPECT_EQ(MiscVBToColor(v, outside), 0);
    TRect reversed { 2, 2, 0, 0 };
    EXPECT_EQ(MiscVBToColor(v, reversed), 0);
    TVirtualBitmap empty(0, 0, 24);
    TRect any { 0, 0, 0, 0 };
    EXPECT_EQ(MiscVBToColor(empty, any), 0);
}

TEST(VirtualBitmapAverage, EveryDepthAveragesAlike)
{
    const std::vector<TColor> colours { RGB(0, 10, 200), RGB(1, 20, 100), RGB(2, 30, 0), RGB(255, 255, 255) };
    for (std::int32_t bits : { 8, 24, 32 }) {
        TVirtualBitmap v(2, 2, bits);
        for (std::size_t i = 0; i < colours.size(); ++i) {
            if (bits == 8)
                v.SetColor(static_cast<std::uint8_t>(i), colours[i]);
            v.SetPixel(static_cast<std::int32_t>(i % 2), static_cast<std::int32_t>(i / 2), colours[i]);
        }
        TRect all { 0, 0, 1, 1 };
        EXPECT_EQ(MiscVBToColor(v, all), RGB(64, 79, 139)) << bits << " bits"; // 64.5 -> 64, 78.75, 138.75
        TRect column { 1, -1, 1, 1 };
        EXPECT_EQ(MiscVBToColor(v, column), RGB(128, 138, 178)) << bits << " bits"; // 128, 137.5 -> 138, 177.5 -> 178
    }
}
