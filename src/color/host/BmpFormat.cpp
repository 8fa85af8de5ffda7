#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"

#include "color/host/detail/BmpRle.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cassert>
#include <cstring>
#include <string>

namespace plx {

namespace {

std::atomic<std::uint64_t> g_imageAllocationLimit { kDefaultImageAllocationLimit };
thread_local int t_unlimitedScopes = 0;

} // namespace

void SetImageAllocationLimit(std::uint64_t bytes) noexcept
{
    g_imageAllocationLimit.store(bytes, std::memory_order_relaxed);
}

std::uint64_t ImageAllocationLimit() noexcept
{
    return g_imageAllocationLimit.load(std::memory_order_relaxed);
}

} // namespace plx

namespace plx::detail {

namespace {

[[noreturn]] void Invalid(const std::string& why)
{
    throw EInvalidGraphic("Invalid bitmap: " + why);
}

// Reads a channel through a bit-field mask (one run of bits) and widens it to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask) noexcept
        : m_mask(mask)
        , m_shift(mask ? std::countr_zero(mask) : 0)
        , m_bits(std::popcount(mask))
    {
    }
    [[nodiscard]] std::uint32_t Read(std::uint32_t pixel) const noexcept
    {
        if (!m_bits)
            return 0;
        const std::uint32_t v = (pixel & m_mask) >> m_shift;
        if (m_bits >= 8)
            return v >> (m_bits - 8);
        // Repeat the bits to fill 8 (5 bits: (v << 3) | (v >> 2)).
        std::uint32_t r = 0;
        int filled = 0;
        while (filled < 8) {
            r = (r << m_bits) | v;
            filled += m_bits;
        }
        return r >> (filled - 8);
    }

private:
    std::uint32_t m_mask { 0 };
    int m_shift { 0 };
    int m_bits { 0 };
};

TPixelFormat FormatOf(const BmpLayout& l) noexcept
{
    switch (l.bitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        if (l.masks[0] == 0xF800 && l.masks[1] == 0x07E0 && l.masks[2] == 0x001F)
            return pf16bit;
        if (l.masks[0] == 0x7C00 && l.masks[1] == 0x03E0 && l.masks[2] == 0x001F)
            return pf15bit;
        return pf24bit; // unusual fields: kept as true colour
    case 32:
        return pf32bit;
    default:
        return pf24bit;
    }
}

std::vector<TColor> ReadPalette(std::span<const std::uint8_t> data, const BmpLayout& l)
{
    std::vector<TColor> palette(l.colorCount);
    for (std::uint32_t i = 0; i < l.colorCount; ++i) {
        const std::uint8_t* e = data.data() + l.tableOffset + static_cast<std::uint64_t>(i) * l.entrySize;
        palette[i] = RGB(e[2], e[1], e[0]);
    }
    return palette;
}

void DecodeCompressed(std::span<const std::uint8_t> pixels, const BmpLayout& l, Raster& image)
{
    // Pixels the data leaves undefined keep index 0.
    const std::uint32_t zero = image.StoreIndex(0);
    for (std::int32_t y = 0; y < l.height; ++y)
        std::fill_n(image.Row(y), l.width, zero);
    const bool ok = DecodeBmpRle(pixels, l.width, l.height, l.compression == kBmpRle4,
        [&](std::int32_t x, std::int32_t row, std::uint32_t index) { image.Row(l.height - 1 - row)[x] = image.StoreIndex(index); });
    if (!ok)
        Invalid("the compressed data is truncated");
}

void DecodeIndexRow(const std::uint8_t* src, const BmpLayout& l, const Raster& image, std::uint32_t* dst) noexcept
{
    const int bits = l.bitCount;
    const int perByte = 8 / bits;
    const std::uint32_t mask = (1u << bits) - 1;
    for (std::int32_t x = 0; x < l.width; ++x) {
        const std::uint8_t b = src[x / perByte];
        const int shift = 8 - bits * (x % perByte + 1);
        dst[x] = image.StoreIndex((b >> shift) & mask);
    }
}

void DecodeColourRow(const std::uint8_t* src, const BmpLayout& l, const Channel (&channels)[3], std::uint32_t* dst) noexcept
{
    auto compose = [&](std::uint32_t p) {
        return channels[0].Read(p) | (channels[1].Read(p) << 8) | (channels[2].Read(p) << 16);
    };
    switch (l.bitCount) {
    case 16:
        for (std::int32_t x = 0; x < l.width; ++x)
            dst[x] = compose(static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8)));
        break;
    case 24:
        for (std::int32_t x = 0; x < l.width; ++x)
            dst[x] = src[3 * x + 2] | (src[3 * x + 1] << 8) | (static_cast<std::uint32_t>(src[3 * x]) << 16);
        break;
    case 32:
        for (std::int32_t x = 0; x < l.width; ++x)
            dst[x] = compose(static_cast<std::uint32_t>(src[4 * x]) | (static_cast<std::uint32_t>(src[4 * x + 1]) << 8)
                | (static_cast<std::uint32_t>(src[4 * x + 2]) << 16) | (static_cast<std::uint32_t>(src[4 * x + 3]) << 24));
        break;
    }
}

} // namespace

std::string ImageAllocationRefusal(std::int32_t width, std::int32_t height, std::uint64_t bytes)
{
    const std::uint64_t limit = t_unlimitedScopes > 0 ? 0 : ImageAllocationLimit();
    if (limit == 0 || bytes <= limit)
        return {};
    return "Bitmap too large to load: the image needs " + std::to_string(bytes) + " bytes for its " + std::to_string(width) + " x "
        + std::to_string(height) + " pixels, more than the image allocation limit of " + std::to_string(limit) + " bytes";
}

void CheckImageAllocation(std::int32_t width, std::int32_t height, std::uint64_t bytes)
{
    if (std::string why = ImageAllocationRefusal(width, height, bytes); !why.empty())
        throw EInvalidGraphic(why);
}

UnlimitedImageAllocation::UnlimitedImageAllocation() noexcept
{
    ++t_unlimitedScopes;
}

UnlimitedImageAllocation::~UnlimitedImageAllocation()
{
    --t_unlimitedScopes;
}

BmpLayout ReadBmpLayout(std::span<const std::uint8_t> d, std::uint64_t available)
{
    BmpHeaderResult parsed = ParseBmpHeader(d, available);
    if (!parsed.layout)
        Invalid(parsed.reason);
    const BmpLayout& l = *parsed.layout;
    // A host bitmap keeps one 32-bit word a pixel.
    CheckImageAllocation(l.width, l.height, static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height) * 4);
    return l;
}

void DecodeBmp(std::span<const std::uint8_t> data, Raster& out)
{
    const BmpLayout l = ReadBmpLayout(data, data.size());
    const TPixelFormat format = FormatOf(l);
    auto pixels = data.subspan(static_cast<std::size_t>(l.pixelOffset), static_cast<std::size_t>(l.pixelBytes));

    if (l.Compressed()) {
        // Compressed data can still turn out truncated: decode aside.
        Raster image;
        image.Reset(l.width, l.height, format, ReadPalette(data, l));
        DecodeCompressed(pixels, l, image);
        out = std::move(image);
        return;
    }

    // Uncompressed data was checked whole by ReadBmpLayout, so nothing below can
    // fail: decode straight into the raster (reusing its storage).
    Raster& image = out;
    image.ResetForOverwrite(l.width, l.height, format, ReadPalette(data, l));
    const std::size_t rowBytes = static_cast<std::size_t>(l.RowBytes());
    const Channel channels[3] { Channel(l.masks[0]), Channel(l.masks[1]), Channel(l.masks[2]) };
    for (std::int32_t r = 0; r < l.height; ++r) {
        const std::uint8_t* src = pixels.data() + rowBytes * static_cast<std::size_t>(r);
        std::uint32_t* dst = image.Row(l.topDown ? r : l.height - 1 - r);
        if (l.bitCount <= 8)
            DecodeIndexRow(src, l, image, dst);
        else
            DecodeColourRow(src, l, channels, dst);
    }
}

namespace {

struct EncodeLayout {
    std::uint32_t bits { 0 };
    std::uint32_t entries { 0 };
    bool fields { false };
    std::size_t rowBytes { 0 };
    std::size_t offset { 0 };
    std::size_t total { 0 };
};

EncodeLayout EncodeLayoutOf(const Raster& raster) noexcept
{
    const TPixelFormat f = raster.Format();
    EncodeLayout l;
    l.bits = static_cast<std::uint32_t>(Raster::BitsPerPixel(f));
    const bool palette = Raster::IsPaletteFormat(f);
    const std::uint32_t full = palette ? 1u << l.bits : 0;
    l.entries = palette ? static_cast<std::uint32_t>(std::min<std::size_t>(raster.Palette().size(), full)) : 0;
    l.fields = f == pf16bit;
    l.rowBytes = (static_cast<std::size_t>(raster.Width()) * l.bits + 31) / 32 * 4;
    l.offset = 14 + 40 + (l.fields ? 12 : 0) + std::size_t { l.entries } * 4;
    l.total = l.offset + l.rowBytes * static_cast<std::size_t>(raster.Height());
    return l;
}

void Store16(std::uint8_t* p, std::uint32_t v) noexcept
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Store32(std::uint8_t* p, std::uint32_t v) noexcept
{
    Store16(p, v & 0xFFFF);
    Store16(p + 2, v >> 16);
}

// One row of pixel words in the stream's layout; the padding is zeroed.
void EncodeRow(const std::uint32_t* src, std::int32_t width, const EncodeLayout& l, std::uint8_t* row) noexcept
{
    std::fill_n(row, l.rowBytes, std::uint8_t { 0 });
    switch (l.bits) {
    case 1:
    case 4:
    case 8: {
        const std::uint32_t perByte = 8 / l.bits;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t shift = 8 - l.bits * (static_cast<std::uint32_t>(x) % perByte + 1);
            row[static_cast<std::size_t>(x) / perByte] |= static_cast<std::uint8_t>((src[x] >> 24) << shift);
        }
        break;
    }
    case 16:
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t w = src[x];
            const std::uint32_t r = w & 0xFF, g = (w >> 8) & 0xFF, b = (w >> 16) & 0xFF;
            Store16(row + 2 * static_cast<std::size_t>(x),
                l.fields ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        }
        break;
    case 24:
        for (std::int32_t x = 0; x < width; ++x, row += 3) {
            const std::uint32_t w = src[x];
            row[0] = static_cast<std::uint8_t>(w >> 16);
            row[1] = static_cast<std::uint8_t>(w >> 8);
            row[2] = static_cast<std::uint8_t>(w);
        }
        break;
    case 32:
        for (std::int32_t x = 0; x < width; ++x, row += 4) {
            const std::uint32_t w = src[x];
            row[0] = static_cast<std::uint8_t>(w >> 16);
            row[1] = static_cast<std::uint8_t>(w >> 8);
            row[2] = static_cast<std::uint8_t>(w);
        }
        break;
    }
}

} // namespace

std::size_t EncodedBmpSize(const Raster& raster) noexcept
{
    return EncodeLayoutOf(raster).total;
}

void EncodeBmp(const Raster& raster, std::span<std::uint8_t> out) noexcept
{
    const EncodeLayout l = EncodeLayoutOf(raster);
    assert(out.size() >= l.total);
    std::uint8_t* p = out.data();
    std::fill_n(p, 14 + 40, std::uint8_t { 0 });
    Store16(p, 0x4D42);
    Store32(p + 2, static_cast<std::uint32_t>(l.total));
    Store32(p + 10, static_cast<std::uint32_t>(l.offset));
    Store32(p + 14, 40);
    Store32(p + 18, static_cast<std::uint32_t>(raster.Width()));
    Store32(p + 22, static_cast<std::uint32_t>(raster.Height()));
    Store16(p + 26, 1);
    Store16(p + 28, l.bits);
    Store32(p + 30, l.fields ? kBmpBitFields : kBmpRgb);
    Store32(p + 34, static_cast<std::uint32_t>(l.total - l.offset));
    const std::uint32_t full = l.entries ? 1u << l.bits : 0;
    Store32(p + 46, l.entries == full ? 0 : l.entries);
    p += 14 + 40;
    if (l.fields) {
        Store32(p, 0xF800);
        Store32(p + 4, 0x07E0);
        Store32(p + 8, 0x001F);
        p += 12;
    }
    for (std::uint32_t i = 0; i < l.entries; ++i, p += 4) {
        const TColor c = raster.Palette()[i];
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
        p[3] = 0;
    }
    for (std::int32_t y = raster.Height() - 1; y >= 0; --y, p += l.rowBytes)
        EncodeRow(raster.Row(y), raster.Width(), l, p);
}

std::vector<std::uint8_t> EncodeBmp(const Raster& raster)
{
    std::vector<std::uint8_t> out(EncodedBmpSize(raster));
    EncodeBmp(raster, out);
    return out;
}

} // namespace plx::detail
