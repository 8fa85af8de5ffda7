#include "utils/NumMan.h"

#include <algorithm>
#include <map>
#include <vector>
#include <utility>

namespace plx {

void ISwap(std::int32_t& a, std::int32_t& b) noexcept
{
    std::swap(a, b);
}

void BSwap(std::uint8_t& a, std::uint8_t& b) noexcept
{
    std::swap(a, b);
}

void FSwap(double& a, double& b) noexcept
{
    std::swap(a, b);
}

std::int32_t MaxBits(std::int32_t value) noexcept
{
    auto v = static_cast<std::uint32_t>(value);
    std::int32_t bits = 0;
    do {
        v >>= 1;
        ++bits;
    } while (v != 0);
    return bits;
}

std::string IntToBin(std::int32_t value)
{
    auto v = static_cast<std::uint32_t>(value);
    std::string s;
    for (std::int32_t i = 0, n = MaxBits(value); i < n; ++i)
        s += ((v >> i) & 1) ? '1' : '0';
    return s;
}

std::int32_t WriteBits(std::int32_t target, std::int32_t position, std::int32_t value) noexcept
{
    if (position < 1 || position > 32)
        return target;
    std::uint64_t shifted = static_cast<std::uint64_t>(static_cast<std::uint32_t>(value)) << (position - 1);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(target) | static_cast<std::uint32_t>(shifted));
}

std::int32_t ReadBits(std::int32_t value, std::int32_t position, std::int32_t count) noexcept
{
    if (position < 1 || position > 32 || count <= 0)
        return 0;
    std::int32_t bits = std::min({ count, MaxBits(value), 32 });
    std::uint64_t mask = (std::uint64_t { 1 } << bits) - 1;
    std::uint64_t v = static_cast<std::uint64_t>(static_cast<std::uint32_t>(value)) >> (position - 1);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v & mask));
}

std::int32_t FindNum(std::int32_t value, TIntArray array) noexcept
{
    auto it = std::find(array.begin(), array.end(), value);
    return it == array.end() ? -1 : static_cast<std::int32_t>(it - array.begin());
}

std::int32_t NumAppears(std::int32_t value, TIntArray array) noexcept
{
    return static_cast<std::int32_t>(std::count(array.begin(), array.end(), value));
}

std::int32_t FindPairs(TIntArray array)
{
    std::map<std::int32_t, std::int32_t> counts;
    for (auto v : array)
        ++counts[v];
    std::int32_t elements = 0;
    for (auto [v, n] : counts)
        if (n == 2)
            elements += 2;
    return elements / 2;
}

bool IsIncreasementExt(TIntArray array, bool ordered, std::int32_t step)
{
    // Integer arithmetic wraps, as the host's does with overflow checks off.
    const auto s = static_cast<std::uint32_t>(step);
    if (ordered) {
        if (array.size() < 2)
            return true;
        std::uint32_t x = static_cast<std::uint32_t>(array[0]) + s;
        for (std::size_t i = 1; i < array.size(); ++i) {
            if (static_cast<std::uint32_t>(array[i]) != x)
                return false;
            x += s;
        }
        return true;
    }
    if (array.empty())
        return true;
    if (step == 0)
        return AllEqual(array);
    // The walk from the smallest value looks each step up in a sorted copy,
    // so it costs O(n log n) instead of a search of the whole array per step.
    std::vector<std::int32_t> sorted(array.begin(), array.end());
    std::sort(sorted.begin(), sorted.end());
    auto present = [&sorted](std::uint32_t v) {
        return std::binary_search(sorted.begin(), sorted.end(), static_cast<std::int32_t>(v));
    };
    const auto m = static_cast<std::uint32_t>(sorted.front());
    std::uint32_t x = m + s;
    // Each hit is a different element value, so at most High + 1 rounds.
    for (std::size_t rounds = 0; rounds <= array.size() && present(x); ++rounds)
        x += s;
    return x == m + static_cast<std::uint32_t>(array.size()) * s;
}

bool IsIncreasement(TIntArray array, bool ordered)
{
    return IsIncreasementExt(array, ordered, 1);
}

bool AllBetween(TIntArray array, std::int32_t low, std::int32_t high) noexcept
{
    return std::all_of(array.begin(), array.end(), [&](std::int32_t v) { return Between(v, low, high); });
}

bool AllEqual(TIntArray array) noexcept
{
    return std::all_of(array.begin(), array.end(), [&](std::int32_t v) { return v == array[0]; });
}

std::int32_t MinMost(TIntArray array) noexcept
{
    return array.empty() ? 0 : *std::min_element(array.begin(), array.end());
}

std::int32_t MaxMost(TIntArray array) noexcept
{
    return array.empty() ? 0 : *std::max_element(array.begin(), array.end());
}

std::int32_t MakeBetween(std::int32_t value, std::int32_t low, std::int32_t high) noexcept
{
    if (high <= low)
        return value;
    // The closed form of "add the period while below low, then subtract it while
    // above high", in 64 bits so a distant value neither loops long nor overflows.
    const std::int64_t period = static_cast<std::int64_t>(high) - low;
    std::int64_t v = value;
    if (v < low) {
        std::int64_t k = (low - v + period - 1) / period;
        v += k * period;
    }
    if (v > high) {
        std::int64_t k = (v - high + period - 1) / period;
        v -= k * period;
    }
    return static_cast<std::int32_t>(v);
}

} // namespace plx
