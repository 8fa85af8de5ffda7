#include "color/host/Bitmap.h"
#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"
#include "color/host/Gdi.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "TestBmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

using namespace plx;

namespace {

// Builds a .bmp stream by hand: file header, 40-byte header, table, pixel bytes.
std::vector<std::uint8_t> MakeBmp(std::int32_t w, std::int32_t h, std::uint16_t bits, std::uint32_t compression,
    const std::vector<std::uint32_t>& table, const std::vector<std::uint8_t>& pixels, std::uint32_t colorsUsed = 0)
{
    std::vector<std::uint8_t> out;
    auto put16 = [&](std::uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(table.size()) * 4;
    put16(0x4D42);
    put32(offset + static_cast<std::uint32_t>(pixels.size()));
    put32(0);
    put32(offset);
    put32(40);
    put32(static_cast<std::uint32_t>(w));
    put32(static_cast<std::uint32_t>(h));
    put16(1);
    put16(bits);
    put32(compression);
    put32(static_cast<std::uint32_t>(pixels.size()));
    put32(0);
    put32(0);
    put32(colorsUsed);
    put32(0);
    for (auto c : table)
        put32(c);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void Load(TBitmap& b, const std::vector<std::uint8_t>& bytes)
{
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    s.SetPosition(0);
    b.LoadFromStream(s);
}

std::vector<std::uint8_t> Save(const TBitmap& b)
{
    TMemoryStream s;
    b.SaveToStream(s);
    return s.Bytes();
}

} // namespace

TEST(BitmapSize, NegativeCountsAsZeroAndHugeSizesAreRefused)
{
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), 0u) << "no image, no handle";
    b.SetSize(-5, 10);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 10);
    b.SetSize(3, 2);
    EXPECT_THROW(b.SetSize(32768, 1), EInvalidGraphic);
    EXPECT_THROW(b.SetSize(20000, 20000), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_NE(b.Handle(), 0u);
}

TEST(BitmapSize, GrowingKeepsContentAndAddsWhite)
{
    TBitmap b(2, 2);
    b.Canvas().SetPixels(1, 1, clRed);
    b.SetWidth(4);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), clRed);
    EXPECT_EQ(b.Canvas().Pixels(3, 1), clWhite);
}

TEST(BitmapFormat, PaletteBitmapStoresTheNearestEntry)
{
    TBitmap b(2, 1);
    b.SetPixelFormat(pf4bit);
    b.Canvas().SetPixels(0, 0, 0x0000F0); // nearest VGA colour: red
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clRed);
    b.SetPixelFormat(pf1bit);
    EXPECT_TRUE(b.Monochrome());
    b.Canvas().Brush().SetColor(0x202020);
    b.Canvas().FillRect(Rect(0, 0, 2, 1));
    EXPECT_EQ(b.Canvas().Pixels(1, 0), clBlack);
}

TEST(BitmapFormat, MonochromeRuleKeepsOnlyWhite)
{
    TBitmap b(3, 1);
    b.Canvas().SetPixels(0, 0, clWhite);
    b.Canvas().SetPixels(1, 0, 0xFEFEFE);
    b.Canvas().SetPixels(2, 0, clYellow);
    b.SetMonochrome(true);
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clWhite);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), clBlack);
    EXPECT_EQ(b.Canvas().Pixels(2, 0), clBlack);
    b.SetMonochrome(false);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clWhite);
}

TEST(BitmapStream, RoundTripsEveryFormat)
{
    for (TPixelFormat f : { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit }) {
        TBitmap b(5, 3);
        b.SetPixelFormat(f);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                b.Canvas().SetPixels(x, y, RGB(x * 60, y * 100, (x + y) * 30));
        auto first = Save(b);
        TBitmap c;
        Load(c, first);
        EXPECT_EQ(c.PixelFormat(), f);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(c.Canvas().Pixels(x, y), b.Canvas().Pixels(x, y)) << int(f) << " at " << x << "," << y;
        EXPECT_EQ(Save(c), first) << "a saved stream reads back and saves byte for byte";
    }
}

TEST(BitmapStream, PaletteIndexesSurviveDuplicateEntries)
{
    // Entries 0 and 1 are both red (a table entry is the DWORD 0x00RRGGBB); indexes must not collapse to 0.
    auto bytes = MakeBmp(2, 1, 8, 0, { 0x00FF0000, 0x00FF0000 }, { 0, 1, 0, 0 }, 2);
    TBitmap b;
    Load(b, bytes);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), clRed);
    EXPECT_EQ(Save(b), bytes);
}

TEST(BitmapStream, BottomUpAndTopDownRows)
{
    std::vector<std::uint8_t> rows = { 0, 0, 255, 0, 255, 0, 0, 0 }; // first row red, second blue (24 bits, 1 wide)
    TBitmap up, down;
    Load(up, MakeBmp(1, 2, 24, 0, {}, rows));
    Load(down, MakeBmp(1, -2, 24, 0, {}, rows));
    EXPECT_EQ(up.Canvas().Pixels(0, 1), clRed) << "the first row in memory is the bottom row";
    EXPECT_EQ(up.Canvas().Pixels(0, 0), clBlue);
    EXPECT_EQ(down.Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(down.Canvas().Pixels(0, 1), clBlue);
}

TEST(BitmapStream, CoreHeaderWithThreeByteEntries)
{
    std::vector<std::uint8_t> s = { 'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0,
        0, 0, 0, /* entry 0 black */ 0, 255, 0 /* entry 1 green */, 0x40, 0, 0, 0 };
    TBitmap b;
    Load(b, s);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clBlack);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), clLime);
}

TEST(BitmapStream, Rle8AndRle4)
{
    // RLE8, 4 x 2: bottom row: 3 x index 1, then 1 x index 2; end of line; top row: absolute 0 1 2 ; end of bitmap.
    std::vector<std::uint8_t> rle8 = { 3, 1, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1 };
    TBitmap b;
    Load(b, MakeBmp(4, 2, 8, 1, { 0x000000, 0xFF0000, 0x00FF00 }, rle8, 3));
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_EQ(b.Canvas().Pixels(0, 1), clRed);
    EXPECT_EQ(b.Canvas().Pixels(3, 1), RGB(0, 255, 0));
    EXPECT_EQ(b.Canvas().Pixels(1, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixels(3, 0), clBlack) << "pixels the data skips keep index 0";
    // RLE4, 5 x 1: 5 pixels alternating indexes 1 and 2.
    std::vector<std::uint8_t> rle4 = { 5, 0x12, 0, 1 };
    TBitmap c;
    Load(c, MakeBmp(5, 1, 4, 2, { 0x000000, 0xFF0000, 0x00FF00 }, rle4, 3));
    EXPECT_EQ(c.Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(c.Canvas().Pixels(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.Canvas().Pixels(4, 0), clRed);
}

TEST(BitmapStream, MalformedStreamsRaiseAndLeaveTheBitmapUnchanged)
{
    TBitmap b(2, 2);
    b.Canvas().SetPixels(0, 0, clRed);
    auto good = MakeBmp(1, 1, 24, 0, {}, { 1, 2, 3, 0 });
    std::vector<std::vector<std::uint8_t>> bad;
    bad.push_back({});
    bad.push_back({ 'B', 'M' });
    auto notBm = good;
    notBm[0] = 'X';
    bad.push_back(notBm);
    auto truncated = good;
    truncated.resize(truncated.size() - 2);
    bad.push_back(truncated);
    bad.push_back(MakeBmp(0, 1, 24, 0, {}, { 0, 0, 0, 0 }));
    bad.push_back(MakeBmp(1, 0, 24, 0, {}, {}));
    bad.push_back(MakeBmp(1, 1, 7, 0, {}, { 0, 0, 0, 0 }));
    bad.push_back(MakeBmp(1, 1, 24, 9, {}, { 0, 0, 0, 0 }));
    bad.push_back(MakeBmp(40000, 1, 24, 0, {}, {}));
    bad.push_back(MakeBmp(30000, 30000, 1, 0, { 0, 0xFFFFFF }, { 0 })); // huge size, no data
    bad.push_back(MakeBmp(30000, 30000, 8, 1, { 0 }, { 0, 1 }, 1)); // RLE claiming far more than it holds
    auto wrongHeader = good;
    wrongHeader[14] = 41;
    bad.push_back(wrongHeader);
    for (const auto& bytes : bad) {
        try {
            Load(b, bytes);
            ADD_FAILURE() << "accepted a malformed stream of " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find("Invalid bitmap"), std::string::npos);
        } catch (const EReadError&) {
        }
        EXPECT_EQ(b.Width(), 2);
        EXPECT_EQ(b.Canvas().Pixels(0, 0), clRed);
    }
    Load(b, good);
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(3, 2, 1));
}

TEST(BitmapStream, DataOffsetIsHonouredWhenConsistent)
{
    auto bytes = MakeBmp(1, 1, 24, 0, {}, { 9, 9, 9, 9, 1, 2, 3, 0 });
    bytes[10] = 14 + 40 + 4; // pixels start 4 bytes after the header
    TBitmap b;
    Load(b, bytes);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(3, 2, 1));
}

TEST(BitmapStream, MemoryStreamsAreReadAndWrittenAtTheirPosition)
{
    TBitmap b(3, 2);
    b.SetPixelFormat(pf24bit);
    b.Canvas().SetPixels(2, 1, clRed);
    TMemoryStream s;
    s.WriteBuffer("head", 4);
    b.SaveToStream(s);
    const std::int64_t end = s.Position();
    EXPECT_EQ(end, s.Size());
    b.SaveToStream(s);
    EXPECT_EQ(s.Size(), 4 + 2 * (end - 4)) << "a second bitmap follows the first";
    s.SetPosition(4);
    TBitmap c;
    c.LoadFromStream(s);
    EXPECT_EQ(s.Position(), end) << "the stream is left after the bitmap";
    EXPECT_EQ(c.Canvas().Pixels(2, 1), clRed);
    std::vector<std::uint8_t> first(s.Bytes().begin() + 4, s.Bytes().begin() + end);
    EXPECT_EQ(first, Save(b));
    // A position before the start or past the end reads nothing.
    s.SetPosition(-4);
    EXPECT_THROW(c.LoadFromStream(s), EReadError);
    s.Seek(std::numeric_limits<std::int64_t>::max(), soBeginning);
    EXPECT_THROW(c.LoadFromStream(s), EInvalidGraphic);
    EXPECT_THROW(b.SaveToStream(s), EWriteError);
    EXPECT_EQ(c.Canvas().Pixels(2, 1), clRed);
}

TEST(BitmapStream, FileStreamsMatchMemoryStreams)
{
    TBitmap b(5, 4);
    b.SetPixelFormat(pf8bit);
    for (int i = 0; i < 20; ++i)
        b.Canvas().SetPixels(i % 5, i / 5, RGB(i * 12, 0, 255 - i * 12));
    const std::string file = testing::TempDir() + "bitmap-stream-test.bmp";
    {
        TFileStream out(file, fmCreate);
        b.SaveToStream(out);
    }
    TMemoryStream saved;
    saved.LoadFromFile(file);
    EXPECT_EQ(saved.Bytes(), Save(b));
    TBitmap c;
    {
        TFileStream in(file, fmOpenRead);
        c.LoadFromStream(in);
    }
    EXPECT_EQ(Save(c), Save(b));
    std::remove(file.c_str());
}

TEST(BitmapStream, ReloadingOverAnImageReplacesEveryPixel)
{
    TBitmap b;
    Load(b, MakeBmp(2, 1, 24, 0, {}, { 1, 2, 3, 4, 5, 6, 0, 0 }));
    Load(b, MakeBmp(2, 1, 24, 0, {}, { 7, 8, 9, 10, 11, 12, 0, 0 }));
    EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(9, 8, 7));
    EXPECT_EQ(b.Canvas().Pixels(1, 0), RGB(12, 11, 10));
    // Compressed data found truncated while decoding leaves the image as it was.
    EXPECT_THROW(Load(b, MakeBmp(2, 1, 8, 1, { 0, 0xFFFFFF }, { 0, 5, 1, 1 }, 2)), EInvalidGraphic);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), RGB(12, 11, 10));
}

TEST(BitmapBitFields, MasksWithGapsAreRefusedAndNoChannelSpills)
{
    // Green 0x00F0F000 and blue 0x0F000000: a gap would put green's bits into blue.
    test::BmpSpec s { .width = 1, .height = 1, .bits = 32, .compression = 3, .masks = { 0x00FF0000, 0x00F0F000, 0x0F000000 },
        .pixels = { 0x00, 0x00, 0xF0, 0x00 } };
    TBitmap b(2, 2);
    b.Canvas().SetPixels(0, 0, clRed);
    auto refused = [&](const test::BmpSpec& spec) {
        try {
            Load(b, test::BuildBmp(spec));
        } catch (const EInvalidGraphic& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refused(s), "Invalid bitmap: bit-field mask 0xF0F000 is not one run of bits");
    s.bits = 16;
    s.masks = { 0x7C00, 0x0380, 0x006F };
    s.pixels = { 0x6F, 0x00, 0, 0 };
    EXPECT_EQ(refused(s), "Invalid bitmap: bit-field mask 0x6F is not one run of bits");
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clRed);

    // Channels of 4 and of 10 bits are widened or cut to 8, never above 255.
    s.masks = { 0x0F00, 0x00F0, 0x000F };
    s.pixels = { 0x80, 0x0F, 0, 0 };
    Load(b, test::BuildBmp(s));
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Image().Row(0)[0], 0x0088FFu) << "red 15, green 8, blue 0; nothing in the top byte";
    s.bits = 32;
    s.masks = { 0x3FF00000, 0x000FFC00, 0x000003FF };
    s.pixels = { 0xFF, 0x03, 0xF0, 0x3F }; // red 1023, green 0, blue 1023
    Load(b, test::BuildBmp(s));
    EXPECT_EQ(b.Image().Row(0)[0], 0xFF00FFu);
}

TEST(BitmapStream, RunLengthCodesCoveringManyRowsAreRead)
{
    // 64 x 64: 2 pixels, delta (0, 62), 2 pixels, end of line, 2 pixels, end of bitmap.
    test::BmpSpec s { .width = 64, .height = 64, .bits = 8, .compression = 1, .colorsUsed = 4,
        .table = { 0x000000, 0xFF0000, 0x00FF00, 0x0000FF }, .pixels = { 2, 1, 0, 2, 0, 62, 2, 2, 0, 0, 2, 3, 0, 1 } };
    TBitmap b;
    Load(b, test::BuildBmp(s));
    std::int32_t coloured = 0;
    for (std::int32_t y = 0; y < 64; ++y)
        for (std::int32_t x = 0; x < 64; ++x)
            coloured += b.Canvas().Pixels(x, y) != clBlack;
    EXPECT_EQ(coloured, 6) << "pixels the stream leaves undefined take entry 0";
    EXPECT_EQ(b.Canvas().Pixels(0, 63), clBlue) << "the bottom row comes first";
    EXPECT_EQ(b.Canvas().Pixels(1, 63), clBlue);
    EXPECT_EQ(b.Canvas().Pixels(2, 1), clLime) << "after the delta";
    EXPECT_EQ(b.Canvas().Pixels(3, 1), clLime);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), clRed);

    // 100 x 100: 4 pixels, end of bitmap.
    s.width = 100;
    s.height = 100;
    s.pixels = { 4, 1, 0, 1 };
    Load(b, test::BuildBmp(s));
    EXPECT_EQ(b.Canvas().Pixels(3, 99), clBlue);
    EXPECT_EQ(b.Canvas().Pixels(4, 99), clBlack);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clBlack);
}

TEST(BitmapStream, AnOffsetInsideTheTableEndsIt)
{
    // OS/2 core header, 252 of 256 entries, the pixels right after them.
    test::BmpSpec os2 { .headerSize = 12, .width = 2, .height = 1, .bits = 8 };
    for (std::uint32_t i = 0; i < 252; ++i)
        os2.table.push_back(static_cast<TColor>(i * 0x010101));
    os2.pixels = { 251, 7, 0, 0 };
    TBitmap b;
    Load(b, test::BuildBmp(os2));
    EXPECT_EQ(b.ColorTable().size(), 252u);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), 0xFBFBFB);
    EXPECT_EQ(b.Canvas().Pixels(1, 0), 0x070707);
    // A 24-bit file announcing a table of 256 entries and pixels right after the header.
    test::BmpSpec deep { .width = 1, .height = 1, .colorsUsed = 256, .pixels = { 1, 2, 3, 0 } };
    Load(b, test::BuildBmp(deep));
    EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(3, 2, 1));
    // A colour count above the depth: the extra entries are skipped.
    Load(b, MakeBmp(1, 1, 8, 0, { 0x00FF0000, 0 }, { 0, 0, 0, 0 }, 300));
    EXPECT_EQ(b.ColorTable().size(), 2u);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clRed);
}

TEST(BitmapStream, VersionFourAndFiveHeaders)
{
    // What most tools write by default: a 124-byte header, 32-bit bit fields with alpha.
    test::BmpSpec s { .headerSize = 124, .width = 2, .height = -1, .bits = 32, .compression = 3,
        .masks = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000 },
        .pixels = { 0x30, 0x20, 0x10, 0xFF, 0x01, 0x02, 0x03, 0x80 } };
    TBitmap b;
    Load(b, test::BuildBmp(s));
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(b.Canvas().Pixels(1, 0), RGB(0x03, 0x02, 0x01));
    s.headerSize = 108;
    s.bits = 4;
    s.compression = 0;
    s.masks.clear();
    s.table = { clBlack, clYellow };
    s.colorsUsed = 2;
    s.pixels = { 0x10, 0, 0, 0 };
    Load(b, test::BuildBmp(s));
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    EXPECT_EQ(b.Canvas().Pixels(0, 0), clYellow);
}

TEST(BitmapStream, ImagesOverTheAllocationLimitAreRefusedBeforeAllocating)
{
    // 33 KB of end-of-line codes for 16384 x 16384 pixels: 1 GiB as a host bitmap.
    test::BmpSpec s { .width = 16384, .height = 16384, .bits = 8, .compression = 1, .table = { clBlack, clWhite } };
    s.pixels.assign(2 * 16384, 0);
    const auto huge = test::BuildBmp(s);
    TBitmap b(2, 2);
    b.Canvas().SetPixels(1, 1, clRed);
    EXPECT_EQ(ImageAllocationLimit(), kDefaultImageAllocationLimit);
    try {
        Load(b, huge);
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(std::string(e.what()),
            "Bitmap too large to load: the image needs 1073741824 bytes for its 16384 x 16384 pixels, more than the image "
            "allocation limit of 268435456 bytes");
    }
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), clRed);

    auto small = MakeBmp(20, 20, 24, 0, {}, std::vector<std::uint8_t>(60 * 20, 0x40));
    {
        test::AllocationLimitGuard limit(20 * 20 * 4 - 1);
        EXPECT_THROW(Load(b, small), EInvalidGraphic);
        EXPECT_EQ(b.Width(), 2);
        TBitmap sized(100, 100);
        EXPECT_EQ(sized.Width(), 100) << "bitmaps sized by code keep the usual caps only";
        SetImageAllocationLimit(0);
        Load(b, small);
        EXPECT_EQ(b.Canvas().Pixels(19, 19), 0x404040);
    }
    EXPECT_EQ(ImageAllocationLimit(), kDefaultImageAllocationLimit);
}

TEST(BitmapHandles, CreateMaskStyleHandlesAreCountedUntilDeleted)
{
    std::int32_t before = GdiObjectCount();
    HBITMAP h = CreateBitmap(4, 4, 1, 1, nullptr);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(GdiObjectCount(), before + 1);
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_FALSE(DeleteObject(h)) << "a handle is released once";
    EXPECT_EQ(GdiObjectCount(), before);
    TBitmap b(2, 2);
    EXPECT_FALSE(DeleteObject(b.Handle())) << "a bitmap's own handle is not the caller's";
    {
        TGdiObjectHandle guard(CreateBitmap(1, 1, 1, 1, nullptr));
        EXPECT_EQ(GdiObjectCount(), before + 1);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(BitmapHandles, ReleaseHandleAndSetHandleMoveTheImage)
{
    std::int32_t before = GdiObjectCount();
    TBitmap a(3, 2);
    a.Canvas().SetPixels(2, 1, clRed);
    HBITMAP h = a.ReleaseHandle();
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(GdiObjectCount(), before + 1);
    TBitmap b;
    b.SetHandle(h);
    EXPECT_EQ(GdiObjectCount(), before);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Canvas().Pixels(2, 1), clRed);
}

TEST(BitmapAssign, CopiesPixelsAndTransparencyNullEmpties)
{
    TBitmap a(2, 2);
    a.Canvas().SetPixels(1, 1, clRed);
    a.SetTransparent(true);
    a.SetTransparentColor(clRed);
    TBitmap b;
    int changes = 0;
    b.SetOnChange([&](TObject*) { ++changes; });
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), clRed);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clRed);
    a.Canvas().SetPixels(1, 1, clBlue);
    EXPECT_EQ(b.Canvas().Pixels(1, 1), clRed) << "a copy, not a shared image";
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    TPen pen;
    EXPECT_THROW(b.Assign(&pen), EConvertError);
}
