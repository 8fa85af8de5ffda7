// NumMan: small integer routines: swaps, bit fields, searches and tests over
// integer arrays, min/max, range tests and wrapping, rectangle sizes.
#pragma once

#include "color/host/Types.h"

#include <cstdint>
#include <span>
#include <string>

namespace plx {

// Arrays are passed as spans; the routines never change them.
//! An array of integers, read only.
using TIntArray = std::span<const std::int32_t>;

//! Exchanges the two values.
void ISwap(std::int32_t& a, std::int32_t& b) noexcept;
//! Exchanges the two bytes.
void BSwap(std::uint8_t& a, std::uint8_t& b) noexcept;
//! Exchanges the two values.
void FSwap(double& a, double& b) noexcept;

//! Binary digits of the value read as unsigned: 0 gives 1, 5 gives 3, -1 gives 32.
[[nodiscard]] std::int32_t MaxBits(std::int32_t value) noexcept;
//! MaxBits(value) characters "0"/"1", least significant bit first: 6 gives "011".
[[nodiscard]] std::string IntToBin(std::int32_t value);
//! target OR (value shifted left by position - 1); the field is not cleared. A
//! position outside 1..32 returns the target.
[[nodiscard]] std::int32_t WriteBits(std::int32_t target, std::int32_t position, std::int32_t value) noexcept;
//! count bits from position (1 = least significant) moved down to bit 0, the mask
//! limited to MaxBits(value). A position outside 1..32 or a count <= 0 gives 0; a
//! count above 31 takes all bits.
[[nodiscard]] std::int32_t ReadBits(std::int32_t value, std::int32_t position, std::int32_t count) noexcept;

//! Index of the first element equal to the value; -1 when none.
[[nodiscard]] std::int32_t FindNum(std::int32_t value, TIntArray array) noexcept;
//! How many elements equal the value.
[[nodiscard]] std::int32_t NumAppears(std::int32_t value, TIntArray array) noexcept;
//! The number of values that occur exactly twice.
[[nodiscard]] std::int32_t FindPairs(TIntArray array);
//! Ordered: element i equals element 0 + i × step. Unordered: the values m,
//! m + step, ..., m + High × step (m the smallest) are all present. Step 0 unordered
//! is true exactly when all elements are equal.
[[nodiscard]] bool IsIncreasementExt(TIntArray array, bool ordered, std::int32_t step);
//! IsIncreasementExt with a step of 1.
[[nodiscard]] bool IsIncreasement(TIntArray array, bool ordered);
//! True when every element lies in low..high (both included); true for an empty array.
[[nodiscard]] bool AllBetween(TIntArray array, std::int32_t low, std::int32_t high) noexcept;
//! True when every element equals the first; true for an empty array.
[[nodiscard]] bool AllEqual(TIntArray array) noexcept;
//! The smallest and largest element; 0 for an empty array.
[[nodiscard]] std::int32_t MinMost(TIntArray array) noexcept;
//! The largest element; 0 for an empty array.
[[nodiscard]] std::int32_t MaxMost(TIntArray array) noexcept;

//! Right - Left (negative for a rectangle that is not normalised).
[[nodiscard]] constexpr std::int32_t RectWidth(const TRect& r) noexcept { return r.Right - r.Left; }
//! Bottom - Top (negative for a rectangle that is not normalised).
[[nodiscard]] constexpr std::int32_t RectHeight(const TRect& r) noexcept { return r.Bottom - r.Top; }
//! The smaller of the two.
[[nodiscard]] constexpr std::int32_t Min(std::int32_t a, std::int32_t b) noexcept { return a < b ? a : b; }
//! The larger of the two.
[[nodiscard]] constexpr std::int32_t Max(std::int32_t a, std::int32_t b) noexcept { return a > b ? a : b; }
//! low <= value <= high.
[[nodiscard]] constexpr bool Between(std::int32_t value, std::int32_t low, std::int32_t high) noexcept
{
    return low <= value && value <= high;
}
//! Wraps the value into low..high with the period high - low, so low and high
//! name the same point: (370, 0, 360) gives 10, (-10, 0, 360) 350, (360, 0, 360)
//! 360. With high <= low the value is returned unchanged.
[[nodiscard]] std::int32_t MakeBetween(std::int32_t value, std::int32_t low, std::int32_t high) noexcept;

} // namespace plx
