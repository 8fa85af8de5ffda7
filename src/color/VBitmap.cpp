#include "color/VBitmap.h"

#include "color/host/Bitmap.h"
#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"
#include "color/host/detail/BmpRle.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace plx {

namespace {

constexpr const char* kInvalidBitmap = "VirtualBitmap: Invalid bitmap.";
constexpr const char* kNoColorTable = "VirtualBitmap: Color table isnot avialable for 16bit or 24bit bitmaps.";

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaskBytes = 12;

[[noreturn]] void InvalidBitmap()
{
    throw Exception(kInvalidBitmap);
}

bool ValidBits(std::int64_t bits) noexcept
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool ValidSize(std::int64_t width, std::int64_t height) noexcept
{
    return width >= 0 && height >= 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide && width * height <= kMaxBitmapPixels;
}

std::uint64_t RowBytes(std::int64_t width, std::int64_t bits) noexcept
{
    return static_cast<std::uint64_t>((width * bits + 31) / 32 * 4);
}

std::uint16_t U16(const std::uint8_t* p) noexcept
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Put16(std::uint8_t* p, std::uint32_t v) noexcept
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) noexcept
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

constexpr std::uint32_t Rgb24(TColor color) noexcept
{
    return static_cast<std::uint32_t>(color) & 0xFFFFFF;
}

// A 5- or 6-bit channel widened to 8 bits by repeating its top bits.
constexpr std::uint32_t Widen5(std::uint32_t v) noexcept { return (v << 3) | (v >> 2); }
constexpr std::uint32_t Widen6(std::uint32_t v) noexcept { return (v << 2) | (v >> 4); }

// The smoothing blend of one channel: p % of the neighbour and the rest of the
// colour, truncated. Worked in integers, so that the formula's exact value is
// truncated (in floating point 0.01 is not exact: 30 % of 13 plus 70 % of 13
// would come out just below 13).
std::uint32_t BlendChannel(std::uint32_t neighbour, std::uint32_t colour, std::uint32_t p) noexcept
{
    return (p * neighbour + (100 - p) * colour) / 100;
}

TColor Blend(TColor neighbour, TColor colour, std::uint32_t p) noexcept
{
    return RGB(static_cast<std::int32_t>(BlendChannel(GetRValue(neighbour), GetRValue(colour), p)),
        static_cast<std::int32_t>(BlendChannel(GetGValue(neighbour), GetGValue(colour), p)),
        static_cast<std::int32_t>(BlendChannel(GetBValue(neighbour), GetBValue(colour), p)));
}

bool Is565(const detail::BmpLayout& l) noexcept
{
    return l.bitCount == 16 && l.masks[0] == 0xF800 && l.masks[1] == 0x07E0 && l.masks[2] == 0x001F;
}

// Why the pixels of a stream cannot be kept in this object's layout (which has
// 5-5-5 or 5-6-5 16-bit pixels and plain blue, green, red, unused 32-bit ones),
// or an empty string when they can.
std::string Unrepresentable(const detail::BmpLayout& l)
{
    const std::uint32_t r = l.masks[0], g = l.masks[1], b = l.masks[2];
    const bool plain = (l.bitCount == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F) || Is565(l)
        || (l.bitCount == 32 && r == 0xFF0000 && g == 0x00FF00 && b == 0x0000FF);
    if (l.bitCount <= 8 || l.bitCount == 24 || plain)
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "%d-bit pixels with the bit fields 0x%X, 0x%X, 0x%X cannot be kept", int { l.bitCount }, r, g, b);
    return text;
}

// Where the classic layout puts the table and the pixels.
std::size_t ClassicTableOffset(bool sixBitGreen) noexcept
{
    return static_cast<std::size_t>(kFileHeaderSize + kInfoHeaderSize + (sixBitGreen ? kMaskBytes : 0));
}

std::size_t ClassicPixelOffset(const detail::BmpLayout& l) noexcept
{
    return ClassicTableOffset(Is565(l)) + (l.bitCount <= 8 ? std::size_t { 4 } << l.bitCount : 0);
}

// Copies the stream's table (3- or 4-byte entries) into 4-byte entries.
void ReadTable(TStream& stream, std::int64_t start, const detail::BmpLayout& l, std::uint8_t* table)
{
    if (l.colorCount == 0)
        return;
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(l.colorCount) * l.entrySize);
    stream.SetPosition(start + static_cast<std::int64_t>(l.tableOffset));
    stream.ReadBuffer(raw.data(), static_cast<std::int64_t>(raw.size()));
    for (std::size_t i = 0; i < l.colorCount; ++i)
        std::memcpy(table + 4 * i, &raw[l.entrySize * i], 3);
}

// Reads uncompressed rows as they are; top-down rows are turned bottom-up.
void ReadRows(TStream& stream, std::int64_t start, const detail::BmpLayout& l, std::uint8_t* pixels)
{
    stream.SetPosition(start + static_cast<std::int64_t>(l.pixelOffset));
    stream.ReadBuffer(pixels, static_cast<std::int64_t>(l.pixelBytes));
    if (!l.topDown)
        return;
    const std::size_t row = static_cast<std::size_t>(l.RowBytes());
    for (std::int32_t top = 0, bottom = l.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + row * static_cast<std::size_t>(top), pixels + row * static_cast<std::size_t>(top + 1),
            pixels + row * static_cast<std::size_t>(bottom));
}

// Decodes run-length data into uncompressed rows of the same depth (zero-filled
// beforehand, so pixels the data leaves undefined take entry 0). False when the
// data is truncated.
bool ReadCompressed(TStream& stream, std::int64_t start, const detail::BmpLayout& l, std::uint8_t* pixels)
{
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(l.pixelBytes));
    stream.SetPosition(start + static_cast<std::int64_t>(l.pixelOffset));
    stream.ReadBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
    const std::size_t rowBytes = static_cast<std::size_t>(l.RowBytes());
    const bool four = l.compression == detail::kBmpRle4;
    return detail::DecodeBmpRle(packed, l.width, l.height, four, [&](std::int32_t x, std::int32_t row, std::uint32_t index) {
        std::uint8_t* p = pixels + rowBytes * static_cast<std::size_t>(row);
        if (!four)
            p[x] = static_cast<std::uint8_t>(index);
        else if (x & 1)
            p[x / 2] = static_cast<std::uint8_t>((p[x / 2] & 0xF0) | index);
        else
            p[x / 2] = static_cast<std::uint8_t>((p[x / 2] & 0x0F) | (index << 4));
    });
}

} // namespace

TVirtualBitmap::TVirtualBitmap(std::int32_t width, std::int32_t height, std::int32_t bits)
{
    Resize(width, height, bits);
}

TVirtualBitmap::TVirtualBitmap(const TBitmap& bitmap)
{
    if (bitmap.Empty()) {
        Resize(0, 0, 24);
        return;
    }
    auto data = std::make_unique<TMemoryStream>();
    bitmap.SaveToStream(*data);
    data->SetPosition(0);
    if (!Adopt(data)) {
        // The host bitmap was sized by code: its copy is not held to the limit
        // on images read from streams.
        const detail::UnlimitedImageAllocation unlimited;
        data->SetPosition(0);
        LoadFromStream(*data);
    }
}

TVirtualBitmap::~TVirtualBitmap() = default;

void TVirtualBitmap::Resize(std::int32_t width, std::int32_t height, std::int32_t bits)
{
    if (!ValidSize(width, height) || !ValidBits(bits))
        InvalidBitmap();
    if (bits != 16)
        m_sixBitGreen = false;
    m_width = width;
    m_height = height;
    m_bits = bits;
    m_colors = std::int64_t { 1 } << bits;
    RecreateContent();
}

void TVirtualBitmap::RecreateContent()
{
    auto data = std::make_unique<TMemoryStream>();
    data->SetSize(static_cast<std::int64_t>(PixelOffset() + RowSize() * static_cast<std::size_t>(m_height)));
    m_data = std::move(data);
    WriteHeaders();
}

std::size_t TVirtualBitmap::TableOffset() const noexcept
{
    return ClassicTableOffset(m_sixBitGreen);
}

std::size_t TVirtualBitmap::TableEntries() const noexcept
{
    return m_bits <= 8 ? std::size_t { 1 } << m_bits : 0;
}

std::size_t TVirtualBitmap::PixelOffset() const noexcept
{
    return TableOffset() + 4 * TableEntries();
}

std::uint8_t* TVirtualBitmap::Pixels() const noexcept
{
    return m_data->Memory() + PixelOffset();
}

void TVirtualBitmap::WriteHeaders() noexcept
{
    std::uint8_t* head = m_data->Memory();
    const std::size_t imageBytes = RowSize() * static_cast<std::size_t>(m_height);
    std::fill_n(head, kFileHeaderSize + kInfoHeaderSize, std::uint8_t { 0 });
    Put16(head, 0x4D42);
    Put32(head + 2, static_cast<std::uint32_t>(PixelOffset() + imageBytes));
    Put32(head + 10, static_cast<std::uint32_t>(PixelOffset()));
    std::uint8_t* h = head + kFileHeaderSize;
    Put32(h, kInfoHeaderSize);
    Put32(h + 4, static_cast<std::uint32_t>(m_width));
    Put32(h + 8, static_cast<std::uint32_t>(m_height));
    Put16(h + 12, 1);
    Put16(h + 14, static_cast<std::uint32_t>(m_bits));
    Put32(h + 16, m_sixBitGreen ? detail::kBmpBitFields : detail::kBmpRgb);
    Put32(h + 20, static_cast<std::uint32_t>(imageBytes));
    if (m_sixBitGreen) {
        Put32(h + kInfoHeaderSize, 0xF800);
        Put32(h + kInfoHeaderSize + 4, 0x07E0);
        Put32(h + kInfoHeaderSize + 8, 0x001F);
    }
}

bool TVirtualBitmap::Adopt(std::unique_ptr<TMemoryStream>& data)
{
    // A stream already laid out as this object keeps its bitmap (a 40-byte
    // header, a full table, bottom-up rows right after it) is taken as it is.
    const std::span<const std::uint8_t> bytes(data->Memory(), static_cast<std::size_t>(data->Size()));
    const detail::BmpHeaderResult parsed = detail::ParseBmpHeader(bytes, bytes.size());
    if (!parsed.layout || !Unrepresentable(*parsed.layout).empty())
        return false;
    const detail::BmpLayout& l = *parsed.layout;
    const std::uint32_t full = l.bitCount <= 8 ? 1u << l.bitCount : 0;
    if (l.headerSize != kInfoHeaderSize || l.topDown || l.Compressed() || l.colorCount != full
        || l.tableOffset != ClassicTableOffset(Is565(l)) || l.pixelOffset != ClassicPixelOffset(l))
        return false;
    data->SetSize(static_cast<std::int64_t>(l.streamBytes));
    Commit(l, std::move(data));
    return true;
}

void TVirtualBitmap::Commit(const detail::BmpLayout& layout, std::unique_ptr<TMemoryStream> data)
{
    m_width = layout.width;
    m_height = layout.height;
    m_bits = layout.bitCount;
    m_colors = std::int64_t { 1 } << layout.bitCount;
    m_sixBitGreen = Is565(layout);
    m_data = std::move(data);
    m_loadError.clear();
    WriteHeaders();
}

void TVirtualBitmap::Refuse(std::string why)
{
    m_loadError = std::move(why);
    InvalidBitmap();
}

detail::BmpLayout TVirtualBitmap::ReadLayout(TStream& stream, std::int64_t available)
{
    std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min<std::int64_t>(available, detail::kBmpHeaderPeek)));
    head.resize(static_cast<std::size_t>(std::max<std::int64_t>(stream.Read(head.data(), static_cast<std::int64_t>(head.size())), 0)));
    detail::BmpHeaderResult parsed = detail::ParseBmpHeader(head, static_cast<std::uint64_t>(available));
    if (!parsed.layout)
        Refuse(std::move(parsed.reason));
    const detail::BmpLayout& l = *parsed.layout;
    if (std::string why = Unrepresentable(l); !why.empty())
        Refuse(std::move(why));
    const std::uint64_t pixelBytes = l.RowBytes() * static_cast<std::uint64_t>(l.height);
    if (std::string why = detail::ImageAllocationRefusal(l.width, l.height, pixelBytes); !why.empty()) {
        m_loadError = why;
        throw EInvalidGraphic(why);
    }
    return l;
}

void TVirtualBitmap::LoadFromStream(TStream& stream)
{
    const std::int64_t start = stream.Position();
    const std::int64_t available = std::max<std::int64_t>(stream.Size() - start, 0);
    const detail::BmpLayout l = ReadLayout(stream, available);

    // The new content is built aside in this object's own layout, then swapped in.
    const std::size_t pixelOffset = ClassicPixelOffset(l);
    auto data = std::make_unique<TMemoryStream>();
    data->SetSize(static_cast<std::int64_t>(pixelOffset + l.RowBytes() * static_cast<std::uint64_t>(l.height)));
    ReadTable(stream, start, l, data->Memory() + ClassicTableOffset(Is565(l)));
    if (!l.Compressed())
        ReadRows(stream, start, l, data->Memory() + pixelOffset);
    else if (!ReadCompressed(stream, start, l, data->Memory() + pixelOffset))
        Refuse("the compressed data is truncated");
    stream.SetPosition(start + static_cast<std::int64_t>(l.streamBytes));
    Commit(l, std::move(data));
}

void TVirtualBitmap::SaveToStream(TStream& stream) const
{
    stream.WriteBuffer(m_data->Memory(), m_data->Size());
}

void TVirtualBitmap::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TVirtualBitmap::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TVirtualBitmap::ProduceBitmap(TBitmap& bitmap) const
{
    if (m_width == 0 || m_height == 0) {
        bitmap.FreeImage();
        return;
    }
    // The stream is always a complete .bmp: only its position changes. This
    // bitmap was sized by code or already passed the limit as a virtual bitmap,
    // so its host copy is not held to the limit on images read from streams.
    const detail::UnlimitedImageAllocation unlimited;
    m_data->SetPosition(0);
    bitmap.LoadFromStream(*m_data);
}

std::size_t TVirtualBitmap::RowSize() const noexcept
{
    return static_cast<std::size_t>(RowBytes(m_width, m_bits));
}

std::span<std::uint8_t> TVirtualBitmap::PixelData() noexcept
{
    return { Pixels(), RowSize() * static_cast<std::size_t>(m_height) };
}

std::span<const std::uint8_t> TVirtualBitmap::PixelData() const noexcept
{
    return { Pixels(), RowSize() * static_cast<std::size_t>(m_height) };
}

std::uint8_t* TVirtualBitmap::ScanLine(std::int32_t y) noexcept
{
    assert(y >= 0 && y < m_height);
    return Pixels() + static_cast<std::size_t>(m_height - 1 - y) * RowSize();
}

const std::uint8_t* TVirtualBitmap::ScanLine(std::int32_t y) const noexcept
{
    assert(y >= 0 && y < m_height);
    return Pixels() + static_cast<std::size_t>(m_height - 1 - y) * RowSize();
}

std::size_t TVirtualBitmap::GotoXY(std::int32_t x, std::int32_t y) const noexcept
{
    assert(x >= 0 && y >= 0 && x < m_width && y < m_height);
    return static_cast<std::size_t>(m_height - 1 - y) * RowSize() + static_cast<std::size_t>(x) * static_cast<std::size_t>(m_bits) / 8;
}

std::uint32_t TVirtualBitmap::ReadIndex(std::int32_t x, std::int32_t y) const noexcept
{
    const std::uint8_t byte = Pixels()[GotoXY(x, y)];
    if (m_bits == 8)
        return byte;
    const int perByte = 8 / m_bits;
    const int shift = 8 - m_bits * (x % perByte + 1);
    return (byte >> shift) & ((1u << m_bits) - 1);
}

void TVirtualBitmap::WriteIndex(std::int32_t x, std::int32_t y, std::uint32_t index) noexcept
{
    std::uint8_t& byte = Pixels()[GotoXY(x, y)];
    if (m_bits == 8) {
        byte = static_cast<std::uint8_t>(index);
        return;
    }
    const int perByte = 8 / m_bits;
    const int shift = 8 - m_bits * (x % perByte + 1);
    const std::uint32_t mask = ((1u << m_bits) - 1) << shift;
    byte = static_cast<std::uint8_t>((byte & ~mask) | ((index << shift) & mask));
}

TColor TVirtualBitmap::GetPixel(std::int32_t x, std::int32_t y) const noexcept
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    const std::uint8_t* p = Pixels() + GotoXY(x, y);
    switch (m_bits) {
    case 24:
    case 32:
        return RGB(p[2], p[1], p[0]);
    case 16: {
        const std::uint32_t w = U16(p);
        if (m_sixBitGreen)
            return static_cast<TColor>(Widen5((w >> 11) & 31) | (Widen6((w >> 5) & 63) << 8) | (Widen5(w & 31) << 16));
        return static_cast<TColor>(Widen5((w >> 10) & 31) | (Widen5((w >> 5) & 31) << 8) | (Widen5(w & 31) << 16));
    }
    default:
        return TableEntry(ReadIndex(x, y));
    }
}

void TVirtualBitmap::StoreColor(std::int32_t x, std::int32_t y, TColor color) noexcept
{
    std::uint8_t* p = Pixels() + GotoXY(x, y);
    const std::uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    switch (m_bits) {
    case 32:
        p[3] = 0;
        [[fallthrough]];
    case 24:
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
        break;
    case 16:
        Put16(p, m_sixBitGreen ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        break;
    default:
        WriteIndex(x, y, static_cast<std::uint32_t>(NearestIndex(color)));
        break;
    }
}

void TVirtualBitmap::SetPixel(std::int32_t x, std::int32_t y, TColor color) noexcept
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    StoreColor(x, y, color);
    if (m_smooth && m_bits == 24)
        BlendNeighbours(x, y, color);
}

void TVirtualBitmap::BlendNeighbours(std::int32_t x, std::int32_t y, TColor color) noexcept
{
    struct Neighbour {
        std::int32_t dx, dy;
        std::uint32_t percent;
    };
    // Orthogonal neighbours take half the colour, diagonal ones 70 %.
    static constexpr Neighbour kNeighbours[] = { { 0, -1, 50 }, { 0, 1, 50 }, { -1, 0, 50 }, { 1, 0, 50 },
        { -1, -1, 30 }, { -1, 1, 30 }, { 1, -1, 30 }, { 1, 1, 30 } };
    for (const Neighbour& n : kNeighbours) {
        const std::int32_t nx = x + n.dx, ny = y + n.dy;
        if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height)
            continue;
        StoreColor(nx, ny, Blend(GetPixel(nx, ny), color, n.percent));
    }
}

bool TVirtualBitmap::CheckTable() const
{
    if (m_bits > 8)
        throw Exception(kNoColorTable);
    return true;
}

TColor TVirtualBitmap::TableEntry(std::size_t index) const noexcept
{
    if (index >= TableEntries())
        return 0;
    const std::uint8_t* e = m_data->Memory() + TableOffset() + 4 * index;
    return RGB(e[2], e[1], e[0]);
}

TColor TVirtualBitmap::GetColor(std::uint8_t index) const
{
    CheckTable();
    return TableEntry(index);
}

void TVirtualBitmap::SetColor(std::uint8_t index, TColor color)
{
    CheckTable();
    if (index >= m_colors)
        return;
    std::uint8_t* e = m_data->Memory() + TableOffset() + 4 * static_cast<std::size_t>(index);
    e[0] = GetBValue(color);
    e[1] = GetGValue(color);
    e[2] = GetRValue(color);
    e[3] = 0;
}

std::size_t TVirtualBitmap::NearestIndex(TColor color) const noexcept
{
    // Distances compare whole 24-bit integers. A perfect match ends the scan;
    // otherwise the first entry of the smallest distance wins, however far it is.
    const std::int64_t target = Rgb24(color);
    std::size_t best = 0;
    std::int64_t bestDistance = -1;
    for (std::size_t i = 0; i < TableEntries(); ++i) {
        const std::int64_t d = std::abs(target - static_cast<std::int64_t>(Rgb24(TableEntry(i))));
        if (d == 0)
            return i;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

TColor TVirtualBitmap::GetNearestColor(TColor color) const
{
    CheckTable();
    return TableEntry(NearestIndex(color));
}

bool TVirtualBitmap::ValidXY(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const noexcept
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_width - 1);
    y1 = std::max(y1, 0);
    y2 = std::min(y2, m_height - 1);
    return x1 <= x2 && y1 <= y2;
}

void TVirtualBitmap::Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    if (x1 != x2 && y1 != y2) {
        SlopedLine(x1, y1, x2, y2);
        return;
    }
    if (!ValidXY(x1, y1, x2, y2))
        return;
    const TColor color = m_pen.Color();
    if (x1 == x2) {
        for (std::int32_t y = y1; y <= y2; ++y)
            SetPixel(x1, y, color);
    } else {
        for (std::int32_t x = x1; x <= x2; ++x)
            SetPixel(x, y1, color);
    }
}

void TVirtualBitmap::SlopedLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    // Bresenham from (x1, y1) to (x2, y2): one point per step of the major axis,
    // the minor coordinate rounded (halves away from the start). Each point is
    // computed directly, so only the steps whose major coordinate lies inside
    // the bitmap are visited, however far away the end points are.
    std::int32_t bx1 = x1, by1 = y1, bx2 = x2, by2 = y2;
    if (!ValidXY(bx1, by1, bx2, by2))
        return;
    const bool xMajor = std::abs(static_cast<std::int64_t>(x2) - x1) >= std::abs(static_cast<std::int64_t>(y2) - y1);
    const std::int64_t a1 = xMajor ? x1 : y1, a2 = xMajor ? x2 : y2; // major axis
    const std::int64_t b1 = xMajor ? y1 : x1, b2 = xMajor ? y2 : x2; // minor axis
    const std::int64_t limit = xMajor ? m_width - 1 : m_height - 1;
    const std::int64_t steps = std::abs(a2 - a1), rise = std::abs(b2 - b1);
    const std::int64_t aStep = a2 > a1 ? 1 : -1, bStep = b2 > b1 ? 1 : -1;
    // Steps i with 0 <= a1 + aStep × i <= limit.
    std::int64_t first = aStep > 0 ? -a1 : a1 - limit;
    std::int64_t last = aStep > 0 ? limit - a1 : a1;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps);
    const TColor color = m_pen.Color();
    for (std::int64_t i = first; i <= last; ++i) {
        const auto offset = static_cast<std::int64_t>((static_cast<__int128>(2) * i * rise + steps) / (2 * static_cast<__int128>(steps)));
        const std::int64_t a = a1 + aStep * i, b = b1 + bStep * offset;
        const std::int64_t x = xMajor ? a : b, y = xMajor ? b : a;
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            SetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), color);
    }
}

void TVirtualBitmap::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    if (!ValidXY(x1, y1, x2, y2))
        return;
    Line(x1, y1, x1, y2);
    Line(x1, y1, x2, y1);
    Line(x2, y1, x2, y2);
    Line(x1, y2, x2, y2);
}

void TVirtualBitmap::Draw(std::int32_t x, std::int32_t y, const TVirtualBitmap& source)
{
    // Only the source pixels whose targets lie inside this bitmap are visited.
    const std::int64_t sxFirst = std::max<std::int64_t>(0, -static_cast<std::int64_t>(x));
    const std::int64_t sxLast = std::min<std::int64_t>(source.Width() - 1, static_cast<std::int64_t>(m_width) - 1 - x);
    const std::int64_t syFirst = std::max<std::int64_t>(0, -static_cast<std::int64_t>(y));
    const std::int64_t syLast = std::min<std::int64_t>(source.Height() - 1, static_cast<std::int64_t>(m_height) - 1 - y);
    for (std::int64_t sx = sxFirst; sx <= sxLast; ++sx)
        for (std::int64_t sy = syFirst; sy <= syLast; ++sy)
            SetPixel(static_cast<std::int32_t>(x + sx), static_cast<std::int32_t>(y + sy),
                source.GetPixel(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy)));
}

void TVirtualBitmap::SetWidth(std::int32_t width)
{
    if (width != m_width)
        Resize(width, m_height, m_bits);
}

void TVirtualBitmap::SetHeight(std::int32_t height)
{
    if (height != m_height)
        Resize(m_width, height, m_bits);
}

void TVirtualBitmap::SetBits(std::int32_t bits)
{
    if (bits != m_bits)
        Resize(m_width, m_height, bits);
}

void TVirtualBitmap::SetPen(const TPen& pen)
{
    if (&pen != &m_pen)
        m_pen.Assign(&pen);
}

void TVirtualBitmap::SetBrush(const TBrush& brush)
{
    if (&brush != &m_brush)
        m_brush.Assign(&brush);
}

} // namespace plx
