#include "color/host/detail/BmpHeader.h"

#include "TestBmp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plx;
using detail::BmpLayout;
using test::BmpSpec;

namespace {

detail::BmpHeaderResult Parse(const std::vector<std::uint8_t>& bytes)
{
    return detail::ParseBmpHeader(bytes, bytes.size());
}

BmpLayout Accepted(const BmpSpec& s)
{
    const detail::BmpHeaderResult r = Parse(test::BuildBmp(s));
    EXPECT_TRUE(r.layout) << r.reason;
    return r.layout.value_or(BmpLayout {});
}

std::string Refusal(const BmpSpec& s)
{
    const detail::BmpHeaderResult r = Parse(test::BuildBmp(s));
    EXPECT_FALSE(r.layout);
    return r.reason;
}

BmpSpec Palette8(std::size_t entries)
{
    BmpSpec s;
    s.bits = 8;
    s.table.assign(entries, 0x808080);
    s.pixels.assign(8, 0);
    return s;
}

} // namespace

TEST(BmpHeader, SignaturePlanesAndHeaderSizesAreChecked)
{
    BmpSpec s;
    s.pixels.assign(16, 0);
    for (std::uint32_t size : { 12u, 40u, 52u, 56u, 64u, 108u, 124u }) {
        BmpSpec t = s;
        t.headerSize = size;
        if (size == 12)
            t.pixels.assign(16, 0);
        const BmpLayout l = Accepted(t);
        EXPECT_EQ(l.headerSize, size);
        EXPECT_EQ(l.pixelOffset, 14u + size) << size;
        EXPECT_EQ(l.entrySize, size == 12 ? 3u : 4u);
    }
    BmpSpec t = s;
    t.headerSize = 100;
    EXPECT_EQ(Refusal(t), "unsupported header size 100");
    t = s;
    t.signature = 0x4142;
    EXPECT_EQ(Refusal(t), "the stream does not start with \"BM\"");
    t = s;
    t.planes = 30000;
    EXPECT_EQ(Refusal(t), "plane count 30000");
    t = s;
    t.compression = 4;
    EXPECT_EQ(Refusal(t), "compression 4 (JPEG data) with 24 bits");
    t = s;
    t.headerSize = 64; // OS/2: 3 is Huffman coding, not bit fields
    t.bits = 16;
    t.compression = 3;
    EXPECT_EQ(Refusal(t), "compression 3 with 16 bits");
    const auto bytes = test::BuildBmp(s);
    EXPECT_EQ(detail::ParseBmpHeader(std::span(bytes).first(17), bytes.size()).reason, "the stream is too short for a bitmap header");
    EXPECT_EQ(detail::ParseBmpHeader(std::span(bytes).first(40), bytes.size()).reason, "the header is truncated");
}

TEST(BmpHeader, BitFieldMasksMustBeOneRunOfBitsInsideThePixel)
{
    BmpSpec s { .width = 1, .height = 1, .bits = 32, .compression = 3 };
    s.pixels.assign(4, 0);
    s.masks = { 0xFF0000, 0x00F0F000, 0x0F000000 };
    EXPECT_EQ(Refusal(s), "bit-field mask 0xF0F000 is not one run of bits");
    s.masks = { 0xFF0000, 0xFF00, 0 };
    EXPECT_EQ(Refusal(s), "an empty bit-field mask");
    s.masks = { 0x3FF00000, 0x000FFC00, 0x000003FF }; // 10 bits a channel
    EXPECT_EQ(Accepted(s).tableOffset, 14u + 40u + 12u) << "the masks follow a 40-byte header";
    s.bits = 16;
    s.masks = { 0x7C00, 0x0380, 0x6F };
    EXPECT_EQ(Refusal(s), "bit-field mask 0x6F is not one run of bits");
    s.masks = { 0x1F0000, 0x07E0, 0x001F };
    EXPECT_EQ(Refusal(s), "bit-field mask 0x1F0000 reaches beyond 16 bits");
    // Larger headers hold the masks; the uncompressed layouts imply theirs.
    s.headerSize = 124;
    s.masks = { 0xF800, 0x07E0, 0x001F, 0 };
    const BmpLayout v5 = Accepted(s);
    EXPECT_EQ((std::vector<std::uint32_t> { v5.masks[0], v5.masks[1], v5.masks[2] }), (std::vector<std::uint32_t> { 0xF800, 0x07E0, 0x001F }));
    EXPECT_EQ(v5.pixelOffset, 14u + 124u);
    s.compression = 0;
    s.masks = { 0xF800, 0x07E0, 0x001F, 0 }; // ignored without bit-field compression
    EXPECT_EQ(Accepted(s).masks[0], 0x7C00u);
}

TEST(BmpHeader, AnOffsetInsideTheTableEndsIt)
{
    // An OS/2 file with 252 of 256 entries and its pixels right after them.
    BmpSpec os2 = Palette8(252);
    os2.headerSize = 12;
    BmpLayout l = Accepted(os2);
    EXPECT_EQ(l.colorCount, 252u);
    EXPECT_EQ(l.pixelOffset, 14u + 12u + 252u * 3u);
    // A 24-bit file announcing 256 entries it does not hold.
    BmpSpec deep;
    deep.colorsUsed = 256;
    deep.pixels.assign(16, 0);
    l = Accepted(deep);
    EXPECT_EQ(l.colorCount, 0u);
    EXPECT_EQ(l.pixelOffset, 54u);
    // A palette file whose offset forgot the table: the pixels follow the table.
    BmpSpec forgot = Palette8(256);
    forgot.offset = 54;
    l = Accepted(forgot);
    EXPECT_EQ(l.colorCount, 256u);
    EXPECT_EQ(l.pixelOffset, 54u + 1024u);
    // An offset beyond the table leaves a gap; one beyond the stream is ignored.
    BmpSpec gap = Palette8(2);
    gap.colorsUsed = 2;
    gap.gap.assign(6, 0xEE);
    EXPECT_EQ(Accepted(gap).pixelOffset, 54u + 8u + 6u);
    gap.gap.clear();
    gap.offset = 100000;
    EXPECT_EQ(Accepted(gap).pixelOffset, 54u + 8u);
}

TEST(BmpHeader, ColourCountsAboveTheDepthAreCapped)
{
    BmpSpec s = Palette8(300);
    s.colorsUsed = 300;
    const BmpLayout l = Accepted(s);
    EXPECT_EQ(l.colorCount, 256u);
    EXPECT_EQ(l.pixelOffset, 54u + 300u * 4u) << "the extra entries are skipped";
    s.table.resize(100);
    s.colorsUsed = 0xFFFFFFFF;
    s.offset = 54 + 100 * 4;
    EXPECT_EQ(Accepted(s).colorCount, 100u);
}

TEST(BmpHeader, TruncatedTablesAndPixelsAreRefused)
{
    BmpSpec s = Palette8(16);
    s.offset = 0;
    s.pixels.clear();
    EXPECT_EQ(Refusal(s), "the colour table is truncated");
    s = Palette8(256);
    s.pixels.resize(7);
    EXPECT_EQ(Refusal(s), "the pixel data is truncated (7 of 8 bytes)");
    s.width = 16384;
    s.height = 16384;
    EXPECT_EQ(Refusal(s), "the pixel data is truncated (7 of 268435456 bytes)");
    s.width = 20000;
    EXPECT_EQ(Refusal(s), "size 20000 x 16384 is too large");
}

TEST(BmpHeader, CompressedDataOfAnySizeIsAccepted)
{
    // End-of-line, delta and end-of-bitmap codes cover many rows at once.
    BmpSpec s = Palette8(256);
    s.width = 100;
    s.height = 100;
    s.compression = 1;
    s.pixels = { 4, 1, 0, 1 };
    BmpLayout l = Accepted(s);
    EXPECT_EQ(l.pixelBytes, 4u);
    EXPECT_EQ(l.streamBytes, 54u + 1024u + 4u);
    s.imageSize = 2;
    EXPECT_EQ(Accepted(s).pixelBytes, 2u) << "a size within the stream is honoured";
    s.imageSize = 5000;
    EXPECT_EQ(Accepted(s).pixelBytes, 4u);
    s.height = -100;
    EXPECT_EQ(Refusal(s), "a compressed bitmap cannot be top-down");
}
