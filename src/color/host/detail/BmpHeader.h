// BmpHeader: reads and checks the headers of a .bmp stream without throwing, for
// every reader of .bmp data (the host bitmap and the virtual bitmap).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace plx::detail {

//! The compression field's values this parser knows.
inline constexpr std::uint32_t kBmpRgb = 0;
inline constexpr std::uint32_t kBmpRle8 = 1;
inline constexpr std::uint32_t kBmpRle4 = 2;
inline constexpr std::uint32_t kBmpBitFields = 3;

//! Where everything of a .bmp stream lies, checked against the bytes available.
//! Offsets count from the first byte of the file header.
struct BmpLayout {
    std::int32_t width { 0 };
    std::int32_t height { 0 }; //!< positive; topDown tells the row order
    bool topDown { false };
    std::uint16_t bitCount { 0 };
    std::uint32_t compression { kBmpRgb };
    std::uint32_t headerSize { 0 };
    std::uint32_t colorCount { 0 }; //!< colour-table entries the stream holds (at most 2^bitCount)
    std::uint32_t entrySize { 4 }; //!< 3 for the 12-byte header
    //! Red, green and blue bit fields of 16- and 32-bit pixels (the implied ones
    //! for uncompressed data); each is one contiguous run of bits inside the pixel.
    std::uint32_t masks[3] { 0, 0, 0 };
    std::uint64_t tableOffset { 0 };
    std::uint64_t pixelOffset { 0 };
    std::uint64_t pixelBytes { 0 }; //!< bytes of pixel data to read (compressed or not)
    std::uint64_t streamBytes { 0 }; //!< the whole stream up to the end of the pixel data

    [[nodiscard]] bool Compressed() const noexcept { return compression == kBmpRle8 || compression == kBmpRle4; }
    //! Bytes of one uncompressed row, padded to a multiple of 4.
    [[nodiscard]] std::uint64_t RowBytes() const noexcept
    {
        return (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    }
};

//! The layout, or why the headers were refused (a phrase such as "plane count 3").
struct BmpHeaderResult {
    std::optional<BmpLayout> layout;
    std::string reason;
};

//! The bytes ParseBmpHeader needs to see: the file header, the largest info
//! header, and the masks that may follow a 40-byte one.
inline constexpr std::size_t kBmpHeaderPeek = 14 + 124 + 12;

//! Reads the headers from head (the stream's first bytes, at most kBmpHeaderPeek
//! of them are looked at); bytesAvailable is what the whole stream holds from the
//! file header on. Accepts the 12-byte core header, the 40-, 52-, 56-, 108- and
//! 124-byte info headers and the 64-byte OS/2 header; 1, 4, 8, 16, 24 and 32
//! bits; uncompressed, RLE8, RLE4 and bit-field data. Nothing is allocated for
//! the pixels.
//!
//! The colour table ends where the pixels start when the file header's offset
//! points inside it (files that store fewer entries than their depth or colour
//! count says; a palette bitmap keeps at least one entry); an offset beyond the
//! table leaves a gap before the pixels; an offset before that or beyond the
//! stream is ignored, and the pixels follow the table. A colour count above
//! 2^bitCount is capped (the extra entries are skipped).
[[nodiscard]] BmpHeaderResult ParseBmpHeader(std::span<const std::uint8_t> head, std::uint64_t bytesAvailable);

} // namespace plx::detail
