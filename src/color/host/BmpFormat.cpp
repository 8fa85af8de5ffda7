#include "color/host/detail/BmpFormat.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <string>

namespace plx::detail {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

[[noreturn]] void Invalid(const std::string& why)
{
    throw EInvalidGraphic("Invalid bitmap: " + why);
}

std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) noexcept
{
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) noexcept
{
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8)
        | (static_cast<std::uint32_t>(d[at + 2]) << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::uint64_t RowBytes(std::uint64_t width, std::uint32_t bits) noexcept
{
    return ((width * bits + 31) / 32) * 4;
}

// Reads a channel through a bit-field mask and widens it to 8 bits.
struct Channel {
    std::uint32_t mask { 0 };
    int shift { 0 };
    int bits { 0 };

    explicit Channel(std::uint32_t m) noexcept
        : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    [[nodiscard]] std::uint32_t Read(std::uint32_t pixel) const noexcept
    {
        if (!bits)
            return 0;
        std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        // Repeat the bits to fill 8 (5 bits: (v << 3) | (v >> 2)).
        std::uint32_t r = 0;
        int filled = 0;
        while (filled < 8) {
            r = (r << bits) | v;
            filled += bits;
        }
        return r >> (filled - 8);
    }
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

void DecodeRle(std::span<const std::uint8_t> src, const BmpLayout& l, Raster& out)
{
    // Rows are bottom-up; runs that leave the bitmap are cut, missing pixels keep index 0.
    const bool four = l.compression == kRle4;
    std::int64_t x = 0, row = 0;
    std::size_t i = 0;
    auto put = [&](std::uint32_t index) {
        if (x < l.width && row < l.height)
            out.Row(static_cast<std::int32_t>(l.height - 1 - row))[x] = out.StoreIndex(index);
        ++x;
    };
    while (i + 1 < src.size() && row < l.height) {
        std::uint8_t count = src[i], value = src[i + 1];
        i += 2;
        if (count > 0) {
            for (std::uint32_t k = 0; k < count && x < l.width; ++k)
                put(four ? ((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (i + 1 >= src.size())
                break;
            x += src[i];
            row += src[i + 1];
            i += 2;
        } else { // absolute run of value pixels, padded to a word
            std::size_t bytes = four ? (value + 1u) / 2u : value;
            if (i + bytes > src.size())
                Invalid("compressed data is truncated");
            for (std::uint32_t k = 0; k < value; ++k) {
                std::uint8_t b = src[i + (four ? k / 2 : k)];
                std::uint32_t index = four ? ((k & 1) ? (b & 0x0F) : (b >> 4)) : b;
                if (x < l.width)
                    put(index);
                else
                    ++x;
            }
            i += (bytes + 1) & ~std::size_t { 1 };
        }
    }
}

} // namespace

BmpLayout ReadBmpLayout(std::span<const std::uint8_t> d, std::uint64_t available)
{
    if (d.size() < 18 || available < 18)
        Invalid("the stream is too short for a bitmap header");
    if (U16(d, 0) != 0x4D42)
        Invalid("the stream does not start with \"BM\"");
    BmpLayout l;
    l.headerSize = U32(d, 14);
    const std::uint32_t h = l.headerSize;
    if (h != 12 && h != 40 && h != 52 && h != 56 && h != 64 && h != 108 && h != 124)
        Invalid("unsupported header size " + std::to_string(h));
    if (d.size() < 14u + h || available < 14u + h)
        Invalid("the header is truncated");
    std::int64_t width = 0, height = 0;
    std::uint16_t planes = 1;
    std::uint32_t colorsUsed = 0, imageSize = 0;
    if (h == 12) {
        width = U16(d, 18);
        height = U16(d, 20);
        planes = U16(d, 22);
        l.bitCount = U16(d, 24);
        l.entrySize = 3;
    } else {
        width = static_cast<std::int32_t>(U32(d, 18));
        height = static_cast<std::int32_t>(U32(d, 22));
        planes = U16(d, 26);
        l.bitCount = U16(d, 28);
        l.compression = U32(d, 30);
        imageSize = U32(d, 34);
        colorsUsed = U32(d, 46);
    }
    if (planes != 1)
        Invalid("plane count " + std::to_string(planes));
    if (width < 1 || height == 0)
        Invalid("size " + std::to_string(width) + " x " + std::to_string(height));
    l.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels)
        Invalid("size " + std::to_string(width) + " x " + std::to_string(height) + " is too large");
    l.width = static_cast<std::int32_t>(width);
    l.height = static_cast<std::int32_t>(height);
    const std::uint16_t bits = l.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Invalid("bit count " + std::to_string(bits));
    if (h == 12 && (bits == 16 || bits == 32))
        Invalid("bit count " + std::to_string(bits) + " with a core header");
    const std::uint32_t c = l.compression;
    bool ok = c == kRgb || (c == kRle8 && bits == 8) || (c == kRle4 && bits == 4) || (c == kBitFields && (bits == 16 || bits == 32));
    if (!ok)
        Invalid("compression " + std::to_string(c) + " with " + std::to_string(bits) + " bits");
    if ((c == kRle8 || c == kRle4) && l.topDown)
        Invalid("a compressed bitmap cannot be top-down");

    std::uint64_t tableStart = 14u + h;
    if (c == kBitFields) {
        std::size_t at = 14 + 40;
        if (h == 40) {
            if (d.size() < at + 12 || available < at + 12)
                Invalid("the bit-field masks are truncated");
            tableStart += 12;
        }
        l.masks[0] = U32(d, at);
        l.masks[1] = U32(d, at + 4);
        l.masks[2] = U32(d, at + 8);
        if (!l.masks[0] || !l.masks[1] || !l.masks[2])
            Invalid("an empty bit-field mask");
    } else if (bits == 16) {
        l.masks[0] = 0x7C00;
        l.masks[1] = 0x03E0;
        l.masks[2] = 0x001F;
    } else if (bits == 32) {
        l.masks[0] = 0xFF0000;
        l.masks[1] = 0x00FF00;
        l.masks[2] = 0x0000FF;
    }

    std::uint64_t tableBytes = 0;
    if (bits <= 8) {
        std::uint32_t full = 1u << bits;
        if (colorsUsed > full)
            Invalid("colour count " + std::to_string(colorsUsed) + " for " + std::to_string(bits) + " bits");
        l.colorCount = colorsUsed == 0 ? full : colorsUsed;
        tableBytes = static_cast<std::uint64_t>(l.colorCount) * l.entrySize;
    } else {
        // An optional table for deeper bitmaps is skipped.
        tableBytes = static_cast<std::uint64_t>(colorsUsed) * 4;
    }
    l.tableOffset = tableStart;
    std::uint64_t dataStart = tableStart + tableBytes;
    if (dataStart > available)
        Invalid("the colour table is truncated");
    std::uint64_t offset = U32(d, 10);
    l.pixelOffset = offset >= dataStart && offset < available ? offset : dataStart;

    std::uint64_t room = available - l.pixelOffset;
    if (c == kRle8 || c == kRle4) {
        l.pixelBytes = imageSize != 0 && imageSize <= room ? imageSize : room;
        // A compressed row takes at least one two-byte command, and a run covers
        // at most 255 pixels: larger claims are not backed by the data.
        std::uint64_t justified = static_cast<std::uint64_t>(l.width) * (l.pixelBytes / 2 + 1) + 255 * l.pixelBytes;
        if (static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height) > justified)
            Invalid("the compressed data is too short for its size");
    } else {
        l.pixelBytes = RowBytes(static_cast<std::uint64_t>(l.width), bits) * static_cast<std::uint64_t>(l.height);
        if (l.pixelBytes > room)
            Invalid("the pixel data is truncated (" + std::to_string(room) + " of " + std::to_string(l.pixelBytes) + " bytes)");
    }
    l.streamBytes = l.pixelOffset + l.pixelBytes;
    return l;
}

void DecodeBmp(std::span<const std::uint8_t> data, Raster& out)
{
    const BmpLayout l = ReadBmpLayout(data, data.size());
    std::vector<TColor> palette;
    for (std::uint32_t i = 0; i < l.colorCount; ++i) {
        std::size_t at = static_cast<std::size_t>(l.tableOffset + static_cast<std::uint64_t>(i) * l.entrySize);
        palette.push_back(RGB(data[at + 2], data[at + 1], data[at]));
    }
    const TPixelFormat format = FormatOf(l);
    auto pixels = data.subspan(static_cast<std::size_t>(l.pixelOffset), static_cast<std::size_t>(l.pixelBytes));

    if (l.compression == kRle8 || l.compression == kRle4) {
        // Compressed data can still turn out truncated: decode aside.
        Raster image;
        image.Reset(l.width, l.height, format, palette);
        for (std::int32_t y = 0; y < l.height; ++y)
            std::fill_n(image.Row(y), l.width, image.StoreIndex(0));
        DecodeRle(pixels, l, image);
        out = std::move(image);
        return;
    }

    // Uncompressed data was checked whole by ReadBmpLayout, so nothing below can
    // fail: decode straight into the raster (reusing its storage).
    Raster& image = out;
    image.ResetForOverwrite(l.width, l.height, format, palette);

    const std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(l.width), l.bitCount);
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
    for (std::int32_t r = 0; r < l.height; ++r) {
        const std::uint8_t* src = pixels.data() + static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(r);
        std::int32_t y = l.topDown ? r : l.height - 1 - r;
        std::uint32_t* dst = image.Row(y);
        switch (l.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = l.bitCount;
            const int perByte = 8 / bits;
            const std::uint32_t mask = (1u << bits) - 1;
            for (std::int32_t x = 0; x < l.width; ++x) {
                std::uint8_t b = src[x / perByte];
                int shift = 8 - bits * (x % perByte + 1);
                dst[x] = image.StoreIndex((b >> shift) & mask);
            }
            break;
        }
        case 16:
            for (std::int32_t x = 0; x < l.width; ++x) {
                std::uint32_t p = static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8));
                dst[x] = red.Read(p) | (green.Read(p) << 8) | (blue.Read(p) << 16);
            }
            break;
        case 24:
            for (std::int32_t x = 0; x < l.width; ++x)
                dst[x] = src[3 * x + 2] | (src[3 * x + 1] << 8) | (static_cast<std::uint32_t>(src[3 * x]) << 16);
            break;
        case 32:
            for (std::int32_t x = 0; x < l.width; ++x) {
                std::uint32_t p = static_cast<std::uint32_t>(src[4 * x]) | (static_cast<std::uint32_t>(src[4 * x + 1]) << 8)
                    | (static_cast<std::uint32_t>(src[4 * x + 2]) << 16) | (static_cast<std::uint32_t>(src[4 * x + 3]) << 24);
                dst[x] = red.Read(p) | (green.Read(p) << 8) | (blue.Read(p) << 16);
            }
            break;
        }
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
    l.rowBytes = static_cast<std::size_t>(RowBytes(static_cast<std::uint64_t>(raster.Width()), l.bits));
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
    Store32(p + 30, l.fields ? kBitFields : kRgb);
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
