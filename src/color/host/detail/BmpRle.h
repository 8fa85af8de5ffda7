// BmpRle: walks the run-length (RLE8, RLE4) pixel data of a .bmp stream, for
// every reader of .bmp data, so that they all read the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace plx::detail {

//! Decodes run-length data of a width x height bitmap into palette indices:
//! put(x, row, index) is called once for each pixel the data sets inside the
//! bitmap, row 0 being the bottom row (compressed rows are stored bottom-up).
//! Runs that leave their row are cut, codes beyond the last row are ignored, and
//! pixels the data never reaches are left to the caller. The work is bounded by
//! the data's size plus the bitmap's pixels, whatever the codes say.
//! Returns false when an absolute run is cut short by the end of the data.
template <class Put>
[[nodiscard]] bool DecodeBmpRle(std::span<const std::uint8_t> src, std::int32_t width, std::int32_t height, bool fourBits, Put&& put)
{
    auto indexOf = [fourBits](std::uint8_t byte, std::uint32_t k) noexcept -> std::uint32_t {
        return fourBits ? ((k & 1) ? (byte & 0x0Fu) : (byte >> 4u)) : byte;
    };
    std::int64_t x = 0, row = 0;
    std::size_t i = 0;
    while (i + 1 < src.size() && row < height) {
        const std::uint8_t count = src[i], value = src[i + 1];
        i += 2;
        if (count > 0) { // count pixels of one index (two alternating ones for RLE4)
            for (std::uint32_t k = 0; k < count && x < width; ++k, ++x)
                put(static_cast<std::int32_t>(x), static_cast<std::int32_t>(row), indexOf(value, k));
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta: move right and up
            if (i + 1 >= src.size())
                break;
            x += src[i];
            row += src[i + 1];
            i += 2;
        } else { // an absolute run of value pixels, padded to a 16-bit boundary
            const std::size_t bytes = fourBits ? (value + 1u) / 2u : value;
            if (i + bytes > src.size())
                return false;
            for (std::uint32_t k = 0; k < value && x < width; ++k, ++x)
                put(static_cast<std::int32_t>(x), static_cast<std::int32_t>(row), indexOf(src[i + (fourBits ? k / 2 : k)], k));
            i += (bytes + 1) & ~std::size_t { 1 };
        }
    }
    return true;
}

} // namespace plx::detail
