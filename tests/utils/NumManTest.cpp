#include "utils/NumMan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

using namespace plx;

namespace {
using V = std::vector<std::int32_t>;
}

TEST(NumManBits, MaxBitsAndIntToBin)
{
    EXPECT_EQ(MaxBits(0), 1);
    EXPECT_EQ(MaxBits(5), 3);
    EXPECT_EQ(MaxBits(-1), 32);
    EXPECT_EQ(IntToBin(0), "0");
    EXPECT_EQ(IntToBin(5), "101");
    EXPECT_EQ(IntToBin(4), "001");
    EXPECT_EQ(IntToBin(6), "011");
}

TEST(NumManBits, ReadAndWriteFields)
{
    EXPECT_EQ(WriteBits(1, 3, 1), 5);
    EXPECT_EQ(ReadBits(44, 3, 2), 3);
    EXPECT_EQ(WriteBits(0, 32, 1), static_cast<std::int32_t>(0x80000000u));
    EXPECT_EQ(ReadBits(-1, 1, 40), -1) << "a count above 31 takes all bits";
    EXPECT_EQ(ReadBits(44, 1, 40), 44) << "still limited by MaxBits";
    // Positions outside 1..32 and empty counts.
    EXPECT_EQ(WriteBits(7, 0, 1), 7);
    EXPECT_EQ(WriteBits(7, 33, 1), 7);
    EXPECT_EQ(ReadBits(44, 0, 2), 0);
    EXPECT_EQ(ReadBits(44, 33, 2), 0);
    EXPECT_EQ(ReadBits(44, 3, 0), 0);
    EXPECT_EQ(ReadBits(44, 3, -4), 0);
}

TEST(NumManArrays, SearchesAndCounts)
{
    EXPECT_EQ(FindNum(7, {}), -1);
    EXPECT_EQ(NumAppears(7, {}), 0);
    V a { 4, 7, 7, 1 };
    EXPECT_EQ(FindNum(7, a), 1);
    EXPECT_EQ(NumAppears(7, a), 2);
    EXPECT_EQ(FindPairs(V { 1, 2, 2, 3, 3, 3 }), 1) << "a value that occurs three times does not count";
    EXPECT_EQ(FindPairs(V { 1, 1, 2, 2, 5 }), 2);
    EXPECT_TRUE(AllBetween({}, 1, 0));
    EXPECT_TRUE(AllBetween(V { 1, 5 }, 1, 5));
    EXPECT_FALSE(AllBetween(V { 1, 6 }, 1, 5));
    EXPECT_TRUE(AllEqual({}));
    EXPECT_TRUE(AllEqual(V { 3 }));
    EXPECT_FALSE(AllEqual(V { 3, 4 }));
    EXPECT_EQ(MinMost(V { 5, -2, 9, -2 }), -2);
    EXPECT_EQ(MaxMost(V { 5, -2, 9, 9 }), 9);
    EXPECT_EQ(MinMost({}), 0) << "an empty array gives 0 without reading";
    EXPECT_EQ(MaxMost({}), 0);
}

TEST(NumManArrays, ProgressionTest)
{
    EXPECT_TRUE(IsIncreasementExt(V { 3, 5, 7 }, true, 2));
    EXPECT_TRUE(IsIncreasementExt(V { 7, 3, 5 }, false, 2));
    EXPECT_FALSE(IsIncreasementExt(V { 7, 3, 5 }, true, 2));
    EXPECT_FALSE(IsIncreasementExt(V { 3, 5, 8 }, false, 2));
    EXPECT_TRUE(IsIncreasement(V { 4, 2, 3 }, false));
    EXPECT_TRUE(IsIncreasementExt({}, true, 5));
    EXPECT_TRUE(IsIncreasementExt(V { 9 }, false, 5));
    // Step 0 unordered used to loop for ever: it now means "all equal".
    EXPECT_TRUE(IsIncreasementExt(V { 4, 4, 4 }, false, 0));
    EXPECT_FALSE(IsIncreasementExt(V { 4, 4, 5 }, false, 0));
    EXPECT_FALSE(IsIncreasementExt(V { 9, 7, 5 }, false, -2)) << "the walk starts at the smallest value";
}

TEST(NumManRanges, BetweenAndMakeBetween)
{
    EXPECT_TRUE(Between(5, 5, 5));
    EXPECT_FALSE(Between(6, 5, 5));
    EXPECT_EQ(MakeBetween(370, 0, 360), 10);
    EXPECT_EQ(MakeBetween(-10, 0, 360), 350);
    EXPECT_EQ(MakeBetween(360, 0, 360), 360);
    EXPECT_EQ(MakeBetween(0, 0, 360), 0);
    EXPECT_EQ(MakeBetween(13, 1, 12), 2) << "the period is high - low";
    // Distant values are computed in closed form, without overflow.
    EXPECT_EQ(MakeBetween(2147483647, 0, 360), 2147483647 % 360);
    EXPECT_EQ(MakeBetween(-2147483647 - 1, 0, 10), 2);
    EXPECT_EQ(MakeBetween(2147483647, -2147483647 - 1, 2147483647), 2147483647);
    EXPECT_EQ(MakeBetween(99, 5, 5), 99) << "high <= low returns the value unchanged";
    EXPECT_EQ(MakeBetween(99, 10, 5), 99);
}

TEST(NumManRanges, RectSizesAndSwaps)
{
    EXPECT_EQ(RectWidth(Rect(2, 3, 10, 4)), 8);
    EXPECT_EQ(RectHeight(Rect(2, 3, 10, 4)), 1);
    EXPECT_EQ(Min(3, -1), -1);
    EXPECT_EQ(Max(3, -1), 3);
    std::int32_t a = 1, b = 2;
    ISwap(a, b);
    EXPECT_EQ(a, 2);
    double x = 1.5, y = 2.5;
    FSwap(x, y);
    EXPECT_EQ(x, 2.5);
}

TEST(NumManArrays, UnorderedProgressionAnswersAsTheWalkWithLinearSearches)
{
    // The walk from the smallest value with a search of the whole array per
    // step, as the test reads; integer arithmetic wraps.
    auto byDefinition = [](const V& array, std::int32_t step) {
        if (array.empty())
            return true;
        if (step == 0)
            return AllEqual(array);
        const auto s = static_cast<std::uint32_t>(step);
        const auto m = static_cast<std::uint32_t>(MinMost(array));
        std::uint32_t x = m + s;
        for (std::size_t rounds = 0; rounds <= array.size() && FindNum(static_cast<std::int32_t>(x), array) >= 0; ++rounds)
            x += s;
        return x == m + static_cast<std::uint32_t>(array.size()) * s;
    };
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    std::mt19937 random(3);
    int trues = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::int32_t step = std::vector<std::int32_t> { 1, 2, 3, -1, -2, 7, 1 << 30, kMin, kMin + 1, 0 }[round % 10];
        const std::int32_t base = std::vector<std::int32_t> { 0, -5, 2147483640, kMin, 1000 }[(round / 10) % 5];
        V array;
        const std::size_t n = random() % 9;
        for (std::size_t i = 0; i < n; ++i)
            array.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(i) * static_cast<std::uint32_t>(step)));
        std::shuffle(array.begin(), array.end(), random);
        if (!array.empty() && random() % 3 == 0) {
            // Perhaps a gap or a duplicate.
            auto& v = array[random() % array.size()];
            v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + random() % 3 - 1);
        }
        const bool expected = byDefinition(array, step);
        trues += expected;
        ASSERT_EQ(IsIncreasementExt(array, false, step), expected) << "round " << round;
    }
    EXPECT_GT(trues, 1000);
    EXPECT_LT(trues, 3900);
}
