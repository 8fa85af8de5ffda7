// .bmp streams built field by field, so that each test can spoil one of them.
#pragma once

#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"
#include "color/host/Types.h"
#include "rtl/Streams.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace plx::test {

//! The fields of a .bmp stream. Header sizes 12 (core: 16-bit sizes, 3-byte
//! entries), 40, 52, 56, 64, 108 and 124 are laid out; the masks of the larger
//! headers are written inside them, those of a 40-byte header after it.
struct BmpSpec {
    std::uint16_t signature { 0x4D42 };
    std::uint32_t headerSize { 40 };
    std::int32_t width { 2 };
    std::int32_t height { 2 };
    std::uint16_t planes { 1 };
    std::uint16_t bits { 24 };
    std::uint32_t compression { 0 };
    std::uint32_t imageSize { 0 };
    std::uint32_t colorsUsed { 0 };
    std::vector<std::uint32_t> masks {}; //!< red, green, blue (and alpha in headers of 56 bytes and more)
    std::vector<TColor> table {}; //!< entries (4 bytes, or 3 with the 12-byte header)
    std::vector<std::uint8_t> gap {}; //!< bytes between the table and the pixels
    std::vector<std::uint8_t> pixels {};
    std::optional<std::uint32_t> offset {}; //!< the file header's data offset; computed when absent
};

inline std::vector<std::uint8_t> BuildBmp(const BmpSpec& s)
{
    std::vector<std::uint8_t> out;
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const std::uint32_t entry = s.headerSize == 12 ? 3 : 4;
    const bool masksInside = s.headerSize >= 52 && s.headerSize != 64;
    const std::uint32_t maskBytes = masksInside ? 0 : static_cast<std::uint32_t>(s.masks.size()) * 4;
    const std::uint32_t start = 14 + s.headerSize + maskBytes + static_cast<std::uint32_t>(s.table.size()) * entry
        + static_cast<std::uint32_t>(s.gap.size());
    put16(s.signature);
    put32(start + static_cast<std::uint32_t>(s.pixels.size()));
    put32(0);
    put32(s.offset.value_or(start));
    put32(s.headerSize);
    if (s.headerSize == 12) {
        put16(static_cast<std::uint32_t>(s.width));
        put16(static_cast<std::uint32_t>(s.height));
        put16(s.planes);
        put16(s.bits);
    } else {
        put32(static_cast<std::uint32_t>(s.width));
        put32(static_cast<std::uint32_t>(s.height));
        put16(s.planes);
        put16(s.bits);
        put32(s.compression);
        put32(s.imageSize);
        put32(2835); // 72 dots per inch
        put32(2835);
        put32(s.colorsUsed);
        put32(0);
        const std::size_t headerEnd = 14 + s.headerSize;
        if (masksInside)
            for (std::uint32_t m : s.masks)
                if (out.size() < headerEnd)
                    put32(m);
        out.resize(headerEnd, 0);
    }
    if (!masksInside)
        for (std::uint32_t m : s.masks)
            put32(m);
    for (TColor c : s.table) {
        out.push_back(GetBValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetRValue(c));
        if (entry == 4)
            out.push_back(0);
    }
    out.insert(out.end(), s.gap.begin(), s.gap.end());
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

//! A memory stream holding the bytes, positioned at its start.
inline void FillStream(TMemoryStream& stream, const std::vector<std::uint8_t>& bytes)
{
    stream.Clear();
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
}

//! Sets the image allocation limit for a test and restores the previous one.
class AllocationLimitGuard {
public:
    explicit AllocationLimitGuard(std::uint64_t bytes)
        : m_saved(ImageAllocationLimit())
    {
        SetImageAllocationLimit(bytes);
    }
    ~AllocationLimitGuard() { SetImageAllocationLimit(m_saved); }
    AllocationLimitGuard(const AllocationLimitGuard&) = delete;
    AllocationLimitGuard& operator=(const AllocationLimitGuard&) = delete;

private:
    std::uint64_t m_saved;
};

} // namespace plx::test
