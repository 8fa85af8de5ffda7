// PixelRows: whole rows of true-colour pixels (0x00BBGGRR words) through the
// arithmetic of the colour filters, four pixels at a time where the processor
// has SSE2. The only SIMD code of the package lives in PixelRows.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plx::detail {

//! \name One channel, as the rows compute it
//! The grey level of the weighted sum k = 2 R + 5 G + 3 B (0 .. 2550): k / 10,
//! rounded, ties to even.
[[nodiscard]] constexpr std::uint32_t GreyOfSum(std::uint32_t k) noexcept
{
    const std::uint32_t q = k / 10, r = k % 10;
    return q + ((r > 5 || (r == 5 && q % 2 != 0)) ? 1 : 0);
}
//! percent × a + (100 - percent) × b over 100, rounded, ties to even (percent <= 100).
[[nodiscard]] constexpr std::uint32_t MixOf(std::uint32_t a, std::uint32_t b, std::uint32_t percent) noexcept
{
    const std::uint32_t n = percent * a + (100 - percent) * b;
    const std::uint32_t q = n / 100, r = n % 100;
    return q + ((r > 50 || (r == 50 && q % 2 != 0)) ? 1 : 0);
}
//! v + amount, clamped to 0 .. 255.
[[nodiscard]] constexpr std::uint32_t ShiftOf(std::uint32_t v, std::int32_t amount) noexcept
{
    const std::int64_t s = static_cast<std::int64_t>(v) + amount;
    return static_cast<std::uint32_t>(s < 0 ? 0 : s > 255 ? 255 : s);
}

//! \name Rows
//! Each writes n words of out; out may be one of the inputs. The top byte of
//! every word written is 0.
//! Every pixel the grey of its weighted sum, in all three channels.
void GreyRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n) noexcept;
//! Every pixel byGrey[the grey of its weighted sum] (a table of 256 words).
void ByGreyRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n, const std::uint32_t* byGrey) noexcept;
//! Every channel MixOf(channel of a, channel of b, percent); percent <= 100.
void MixRow(const std::uint32_t* a, const std::uint32_t* b, std::uint32_t* out, std::size_t n, std::uint32_t percent) noexcept;
//! Every channel ShiftOf(channel, amount); amount in -255 .. 255.
void ShiftRow(const std::uint32_t* in, std::uint32_t* out, std::size_t n, std::int32_t amount) noexcept;

} // namespace plx::detail
