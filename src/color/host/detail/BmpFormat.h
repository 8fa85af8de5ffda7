// The .bmp stream format: decoding into a raster and encoding one.
#pragma once

#include "color/host/Raster.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace plx::detail {

//! What a .bmp stream's headers say, checked against the bytes available.
struct BmpLayout {
    std::int32_t width { 0 };
    std::int32_t height { 0 }; //!< positive; topDown tells the row order
    bool topDown { false };
    std::uint16_t bitCount { 0 };
    std::uint32_t compression { 0 };
    std::uint32_t headerSize { 0 };
    std::uint32_t colorCount { 0 }; //!< colour-table entries in the stream
    std::uint32_t entrySize { 4 }; //!< 3 for the 12-byte header
    std::uint32_t masks[3] { 0, 0, 0 }; //!< red, green, blue bit fields
    std::uint64_t tableOffset { 0 }; //!< from the start of the stream
    std::uint64_t pixelOffset { 0 };
    std::uint64_t pixelBytes { 0 }; //!< bytes of pixel data to read
    std::uint64_t streamBytes { 0 }; //!< bytes of the whole stream, file header included
};

//! Reads and checks the headers. bytesAvailable is what the stream holds from the
//! file header on. Throws EInvalidGraphic with a message naming the problem.
[[nodiscard]] BmpLayout ReadBmpLayout(std::span<const std::uint8_t> headerBytes, std::uint64_t bytesAvailable);
//! The bytes ReadBmpLayout needs to see: the file header and the largest info header.
inline constexpr std::size_t kBmpHeaderPeek = 14 + 124 + 12;

//! Decodes a whole stream (file header first) into a raster of the stream's own
//! format. Throws EInvalidGraphic; the raster is only changed on success.
void DecodeBmp(std::span<const std::uint8_t> data, Raster& out);
//! Encodes a raster in its own format (bottom-up, uncompressed; 16-bit pixels as
//! 5-5-5, or 5-6-5 bit fields for pf16bit).
[[nodiscard]] std::vector<std::uint8_t> EncodeBmp(const Raster& raster);
//! The bytes EncodeBmp produces for the raster.
[[nodiscard]] std::size_t EncodedBmpSize(const Raster& raster) noexcept;
//! Encodes into out, which holds at least EncodedBmpSize bytes.
void EncodeBmp(const Raster& raster, std::span<std::uint8_t> out) noexcept;

} // namespace plx::detail
