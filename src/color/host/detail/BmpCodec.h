// The .bmp stream codec of the host bitmap: header checks with the allocation
// limit, decoding into a raster and encoding one.
#pragma once

#include "color/host/BmpFormat.h"
#include "color/host/Raster.h"
#include "color/host/detail/BmpHeader.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plx::detail {

//! The message refusing an image read from a stream that would take `bytes`
//! bytes for its pixels (naming the size and the limit), or an empty string
//! when it may take them.
[[nodiscard]] std::string ImageAllocationRefusal(std::int32_t width, std::int32_t height, std::uint64_t bytes);
//! Throws EInvalidGraphic with ImageAllocationRefusal's message when there is one.
void CheckImageAllocation(std::int32_t width, std::int32_t height, std::uint64_t bytes);

//! While one lives, reads on this thread are not limited: for streams the program
//! wrote itself from a bitmap sized by code (a virtual bitmap handed to a host
//! bitmap, and back).
class UnlimitedImageAllocation {
public:
    UnlimitedImageAllocation() noexcept;
    ~UnlimitedImageAllocation();
    UnlimitedImageAllocation(const UnlimitedImageAllocation&) = delete;
    UnlimitedImageAllocation& operator=(const UnlimitedImageAllocation&) = delete;
};

//! Reads and checks the headers for a host bitmap (ParseBmpHeader), then the
//! allocation limit. bytesAvailable is what the stream holds from the file
//! header on. Throws EInvalidGraphic with a message naming the problem.
[[nodiscard]] BmpLayout ReadBmpLayout(std::span<const std::uint8_t> headerBytes, std::uint64_t bytesAvailable);

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
