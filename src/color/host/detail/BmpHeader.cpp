#include "color/host/detail/BmpHeader.h"

#include "color/host/Raster.h"

#include <algorithm>
#include <cstdio>

namespace plx::detail {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kOs2HeaderSize = 64;
constexpr std::uint32_t kMaskBytes = 12;

using Bytes = std::span<const std::uint8_t>;

std::uint16_t U16(Bytes d, std::size_t at) noexcept
{
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t U32(Bytes d, std::size_t at) noexcept
{
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8)
        | (static_cast<std::uint32_t>(d[at + 2]) << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

// True when the mask is one run of set bits (0 is not).
constexpr bool IsContiguousMask(std::uint32_t mask) noexcept
{
    if (mask == 0)
        return false;
    while ((mask & 1) == 0)
        mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

static_assert(IsContiguousMask(0xFFFFFFFF) && IsContiguousMask(0x07E0) && !IsContiguousMask(0x6F) && !IsContiguousMask(0));

std::string Hex(std::uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

// The fields of the info header that the later stages need beyond the layout.
struct HeaderFields {
    std::int64_t width { 0 };
    std::int64_t height { 0 };
    std::uint16_t planes { 1 };
    std::uint32_t imageSize { 0 };
    std::uint32_t colorsUsed { 0 };
    std::uint32_t dataOffset { 0 }; //!< the file header's offset of the pixels
};

// Each stage checks one part of the headers. It returns false and says why
// when the part does not describe a bitmap the stream can hold.
class Parser {
public:
    Parser(Bytes head, std::uint64_t available) noexcept
        : m_head(head)
        , m_available(available)
    {
    }

    BmpHeaderResult Run()
    {
        BmpHeaderResult result;
        if (ReadFileHeader() && ReadInfoHeader() && CheckGeometry() && CheckCompression() && ReadMasks()
            && PlaceTable() && PlacePixels())
            result.layout = m_layout;
        else
            result.reason = std::move(m_why);
        return result;
    }

private:
    bool Refuse(std::string why)
    {
        m_why = std::move(why);
        return false;
    }
    // True when the first `bytes` bytes are both in head and in the stream.
    bool Holds(std::uint64_t bytes) const noexcept { return m_head.size() >= bytes && m_available >= bytes; }

    bool ReadFileHeader();
    bool ReadInfoHeader();
    bool CheckGeometry();
    bool CheckCompression();
    bool ReadMasks();
    bool CheckMask(std::uint32_t mask);
    bool PlaceTable();
    bool PlacePixels();

    Bytes m_head;
    std::uint64_t m_available { 0 };
    BmpLayout m_layout;
    HeaderFields m_fields;
    std::uint64_t m_tableStart { 0 };
    std::string m_why;
};

bool Parser::ReadFileHeader()
{
    if (!Holds(kFileHeaderSize + 4))
        return Refuse("the stream is too short for a bitmap header");
    if (U16(m_head, 0) != 0x4D42)
        return Refuse("the stream does not start with \"BM\"");
    m_fields.dataOffset = U32(m_head, 10);
    const std::uint32_t h = U32(m_head, kFileHeaderSize);
    if (h != kCoreHeaderSize && h != kInfoHeaderSize && h != 52 && h != 56 && h != kOs2HeaderSize && h != 108 && h != 124)
        return Refuse("unsupported header size " + std::to_string(h));
    if (!Holds(kFileHeaderSize + h))
        return Refuse("the header is truncated");
    m_layout.headerSize = h;
    return true;
}

bool Parser::ReadInfoHeader()
{
    const std::size_t at = kFileHeaderSize;
    BmpLayout& l = m_layout;
    if (l.headerSize == kCoreHeaderSize) {
        m_fields.width = U16(m_head, at + 4);
        m_fields.height = U16(m_head, at + 6);
        m_fields.planes = U16(m_head, at + 8);
        l.bitCount = U16(m_head, at + 10);
        l.entrySize = 3;
        return true;
    }
    m_fields.width = static_cast<std::int32_t>(U32(m_head, at + 4));
    m_fields.height = static_cast<std::int32_t>(U32(m_head, at + 8));
    m_fields.planes = U16(m_head, at + 12);
    l.bitCount = U16(m_head, at + 14);
    l.compression = U32(m_head, at + 16);
    m_fields.imageSize = U32(m_head, at + 20);
    m_fields.colorsUsed = U32(m_head, at + 32);
    return true;
}

bool Parser::CheckGeometry()
{
    BmpLayout& l = m_layout;
    std::int64_t width = m_fields.width, height = m_fields.height;
    if (m_fields.planes != 1)
        return Refuse("plane count " + std::to_string(m_fields.planes));
    if (width < 1 || height == 0)
        return Refuse("size " + std::to_string(width) + " x " + std::to_string(height));
    l.topDown = height < 0;
    height = l.topDown ? -height : height;
    if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels)
        return Refuse("size " + std::to_string(width) + " x " + std::to_string(height) + " is too large");
    l.width = static_cast<std::int32_t>(width);
    l.height = static_cast<std::int32_t>(height);
    const std::uint16_t bits = l.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Refuse("bit count " + std::to_string(bits));
    if (l.headerSize == kCoreHeaderSize && (bits == 16 || bits == 32))
        return Refuse("bit count " + std::to_string(bits) + " with a core header");
    return true;
}

bool Parser::CheckCompression()
{
    const BmpLayout& l = m_layout;
    const std::uint32_t c = l.compression;
    const std::uint16_t bits = l.bitCount;
    // The OS/2 header gives 3 and 4 other meanings (Huffman, RLE24), neither supported.
    const bool fields = c == kBmpBitFields && l.headerSize != kOs2HeaderSize;
    const bool ok = c == kBmpRgb || (c == kBmpRle8 && bits == 8) || (c == kBmpRle4 && bits == 4)
        || (fields && (bits == 16 || bits == 32));
    if (!ok) {
        std::string what = "compression " + std::to_string(c);
        if (l.headerSize != kOs2HeaderSize && (c == 4 || c == 5))
            what += c == 4 ? " (JPEG data)" : " (PNG data)";
        return Refuse(what + " with " + std::to_string(bits) + " bits");
    }
    if (l.Compressed() && l.topDown)
        return Refuse("a compressed bitmap cannot be top-down");
    return true;
}

bool Parser::ReadMasks()
{
    BmpLayout& l = m_layout;
    m_tableStart = kFileHeaderSize + l.headerSize;
    if (l.compression == kBmpBitFields) {
        // The masks follow a 40-byte header; larger headers hold them.
        const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
        if (l.headerSize == kInfoHeaderSize) {
            if (!Holds(at + kMaskBytes))
                return Refuse("the bit-field masks are truncated");
            m_tableStart += kMaskBytes;
        }
        for (int i = 0; i < 3; ++i)
            l.masks[i] = U32(m_head, at + 4 * static_cast<std::size_t>(i));
        return CheckMask(l.masks[0]) && CheckMask(l.masks[1]) && CheckMask(l.masks[2]);
    }
    if (l.bitCount == 16) {
        l.masks[0] = 0x7C00;
        l.masks[1] = 0x03E0;
        l.masks[2] = 0x001F;
    } else if (l.bitCount == 32) {
        l.masks[0] = 0xFF0000;
        l.masks[1] = 0x00FF00;
        l.masks[2] = 0x0000FF;
    }
    return true;
}

bool Parser::CheckMask(std::uint32_t mask)
{
    // A mask with gaps would spill one channel's bits into another.
    if (mask == 0)
        return Refuse("an empty bit-field mask");
    if (!IsContiguousMask(mask))
        return Refuse("bit-field mask " + Hex(mask) + " is not one run of bits");
    if (m_layout.bitCount == 16 && mask > 0xFFFF)
        return Refuse("bit-field mask " + Hex(mask) + " reaches beyond 16 bits");
    return true;
}

bool Parser::PlaceTable()
{
    BmpLayout& l = m_layout;
    // A colour count above the depth's is capped: the extra entries are skipped.
    // Deeper bitmaps may carry an optional table, which is skipped as well.
    std::uint64_t entries = m_fields.colorsUsed;
    if (l.bitCount <= 8) {
        const std::uint32_t full = 1u << l.bitCount;
        entries = entries == 0 ? full : std::min<std::uint64_t>(entries, full);
    }
    const std::uint64_t tableEnd = m_tableStart + entries * l.entrySize;
    const std::uint64_t offset = m_fields.dataOffset;
    // A palette bitmap has at least one entry: an offset at the table's start is
    // taken as a writer's slip, not as an empty table.
    const std::uint64_t firstEnd = l.bitCount <= 8 ? m_tableStart + l.entrySize : m_tableStart;
    if (offset >= firstEnd && offset < tableEnd) {
        entries = (offset - m_tableStart) / l.entrySize;
        l.pixelOffset = offset;
    } else {
        l.pixelOffset = offset > tableEnd && offset <= m_available ? offset : tableEnd;
    }
    if (m_tableStart + entries * l.entrySize > m_available)
        return Refuse("the colour table is truncated");
    l.tableOffset = m_tableStart;
    l.colorCount = l.bitCount <= 8 ? static_cast<std::uint32_t>(entries) : 0;
    return true;
}

bool Parser::PlacePixels()
{
    BmpLayout& l = m_layout;
    if (l.pixelOffset > m_available)
        return Refuse("the pixel data is truncated");
    const std::uint64_t room = m_available - l.pixelOffset;
    if (l.Compressed()) {
        // Compressed data has no size of its own to check: end-of-line, delta and
        // end-of-bitmap codes cover any number of rows. The decoder stops at the
        // end of what the stream holds.
        const std::uint64_t claimed = m_fields.imageSize;
        l.pixelBytes = claimed != 0 && claimed <= room ? claimed : room;
    } else {
        l.pixelBytes = l.RowBytes() * static_cast<std::uint64_t>(l.height);
        if (l.pixelBytes > room)
            return Refuse("the pixel data is truncated (" + std::to_string(room) + " of " + std::to_string(l.pixelBytes) + " bytes)");
    }
    l.streamBytes = l.pixelOffset + l.pixelBytes;
    return true;
}

} // namespace

BmpHeaderResult ParseBmpHeader(std::span<const std::uint8_t> head, std::uint64_t bytesAvailable)
{
    return Parser(head, bytesAvailable).Run();
}

} // namespace plx::detail
