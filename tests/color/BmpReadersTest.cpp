// The host bitmap and the virtual bitmap read .bmp streams through one parser:
// they accept the same files and decode them to the same pixels.
#include "color/VBitmap.h"
#include "color/host/Bitmap.h"
#include "rtl/Exceptions.h"
#include "TestBmp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace plx;
using test::BmpSpec;

namespace {

struct Sample {
    const char* what;
    BmpSpec spec;
    bool good { true };
};

BmpSpec Spec(std::uint32_t header, std::int32_t w, std::int32_t h, std::uint16_t bits, std::uint32_t compression = 0)
{
    BmpSpec s;
    s.headerSize = header;
    s.width = w;
    s.height = h;
    s.bits = bits;
    s.compression = compression;
    return s;
}

std::vector<std::uint8_t> Ramp(std::size_t n, std::uint32_t step = 37)
{
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>(i * step + 11);
    return out;
}

std::vector<TColor> Table(std::size_t n)
{
    std::vector<TColor> out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(static_cast<TColor>((i * 0x2F1D07u) & 0xFFFFFF));
    return out;
}

std::vector<Sample> Samples()
{
    std::vector<Sample> out;
    auto add = [&](const char* what, BmpSpec s, bool good = true) { out.push_back({ what, std::move(s), good }); };
    BmpSpec s = Spec(40, 13, 3, 1);
    s.table = Table(2);
    s.pixels = Ramp(12);
    add("1 bit", s);
    s = Spec(12, 5, 4, 4);
    s.table = Table(16);
    s.pixels = Ramp(16);
    add("4 bits, core header", s);
    s = Spec(124, 3, -3, 8);
    s.table = Table(200);
    s.colorsUsed = 200;
    s.pixels = Ramp(12, 71);
    add("8 bits, V5, top-down, short table (indices beyond it)", s);
    s = Spec(40, 4, 2, 16);
    s.pixels = Ramp(16);
    add("16 bits 5-5-5", s);
    s = Spec(108, 4, 2, 16, 3);
    s.masks = { 0xF800, 0x07E0, 0x001F, 0 };
    s.pixels = Ramp(16);
    add("16 bits 5-6-5, V4", s);
    s = Spec(40, 3, 2, 24);
    s.pixels = Ramp(24);
    add("24 bits", s);
    s = Spec(124, 3, 2, 32, 3);
    s.masks = { 0xFF0000, 0xFF00, 0xFF, 0xFF000000 };
    s.pixels = Ramp(24);
    add("32 bits, V5 bit fields with alpha", s);
    s = Spec(40, 7, 4, 8, 1);
    s.table = Table(6);
    s.pixels = { 3, 1, 0, 4, 2, 3, 4, 5, 0, 0, 0, 2, 2, 1, 9, 4, 0, 0, 200, 5, 0, 1 };
    add("RLE8: runs, absolute run, delta, a run beyond the row", s);
    s = Spec(40, 9, 3, 4, 2);
    s.table = Table(16);
    s.pixels = { 5, 0x3C, 0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 0, 2, 1, 1, 7, 0xEF };
    add("RLE4: runs, absolute run, delta, no end code", s);
    s = Spec(12, 3, 1, 8);
    s.table = Table(252);
    s.pixels = { 250, 251, 3, 0 };
    add("OS/2 table of 252 entries", s);
    s = Spec(40, 1, 1, 24);
    s.colorsUsed = 256;
    s.pixels = { 9, 8, 7, 0 };
    add("24 bits announcing 256 entries it does not hold", s);
    s = Spec(40, 1, 1, 32, 3);
    s.masks = { 0xFF0000, 0x00F0F000, 0x0F000000 };
    s.pixels = { 0, 0, 0xF0, 0 };
    add("bit fields with a gap", s, false);
    s = Spec(40, 2, 2, 24);
    s.planes = 30000;
    s.pixels = Ramp(16);
    add("30000 planes", s, false);
    s.planes = 1;
    s.signature = 0x4D43;
    add("signature \"CM\"", s, false);
    return out;
}

template <class Bitmap>
bool Accepts(Bitmap& bitmap, const std::vector<std::uint8_t>& bytes)
{
    TMemoryStream stream;
    test::FillStream(stream, bytes);
    try {
        bitmap.LoadFromStream(stream);
    } catch (const Exception&) {
        return false;
    }
    return true;
}

// Loads the bytes with both readers; where both accept, every pixel must agree.
// Returns how many accepted.
int CompareReaders(const std::vector<std::uint8_t>& bytes, const std::string& what)
{
    TBitmap host;
    TVirtualBitmap virtualBitmap(1, 1, 24);
    const bool hostAccepts = Accepts(host, bytes), virtualAccepts = Accepts(virtualBitmap, bytes);
    if (!hostAccepts || !virtualAccepts)
        return hostAccepts + virtualAccepts;
    EXPECT_EQ(virtualBitmap.Width(), host.Width()) << what;
    EXPECT_EQ(virtualBitmap.Height(), host.Height()) << what;
    for (std::int32_t y = 0; y < host.Height(); ++y)
        for (std::int32_t x = 0; x < host.Width(); ++x)
            if (virtualBitmap.GetPixel(x, y) != host.Canvas().Pixels(x, y)) {
                ADD_FAILURE() << what << " differs at " << x << ", " << y;
                return 2;
            }
    return 2;
}

} // namespace

TEST(BmpReaders, BothReadersAcceptTheSameFilesAndDecodeTheSamePixels)
{
    for (const Sample& sample : Samples()) {
        const auto bytes = test::BuildBmp(sample.spec);
        EXPECT_EQ(CompareReaders(bytes, sample.what), sample.good ? 2 : 0) << sample.what;
        if (!sample.good)
            continue;
        // The virtual bitmap's own layout reads back to the same pixels.
        TBitmap host, produced;
        TVirtualBitmap virtualBitmap(1, 1, 24);
        ASSERT_TRUE(Accepts(host, bytes) && Accepts(virtualBitmap, bytes));
        virtualBitmap.ProduceBitmap(produced);
        for (std::int32_t y = 0; y < host.Height(); ++y)
            for (std::int32_t x = 0; x < host.Width(); ++x)
                ASSERT_EQ(produced.Canvas().Pixels(x, y), host.Canvas().Pixels(x, y)) << sample.what;
    }
}

TEST(BmpReaders, TheFuzzSeedsDecodeAlike)
{
    const char* source = std::getenv("PLUMEX_SOURCE_DIR");
    if (!source)
        GTEST_SKIP() << "PLUMEX_SOURCE_DIR is not set (ctest sets it)";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(source) / "fuzz/corpus/vbitmap_load_fuzz")) {
        TMemoryStream file;
        file.LoadFromFile(entry.path().string());
        (void)CompareReaders(file.Bytes(), entry.path().filename().string());
        ++files;
    }
    EXPECT_GE(files, 20);
}
