#include "rtl/Exceptions.h"
#include "rtl/Variants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using namespace plx;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

} // namespace

TEST(VarToInt, IntegersBooleansAndStrings)
{
    EXPECT_EQ(VarToInt(Variant { std::int64_t { 42 } }), 42);
    EXPECT_EQ(VarToInt(Variant { true }), -1);
    EXPECT_EQ(VarToInt(Variant { false }), 0);
    EXPECT_EQ(VarToInt(Variant { std::string(" -17 ") }), -17);
    EXPECT_EQ(VarToInt(Variant { std::string("2.5") }), 2) << "ties go to the even neighbour";
    EXPECT_THROW((void)VarToInt(Variant {}), EConvertError);
    EXPECT_THROW((void)VarToInt(Variant { std::string("12a") }), EConvertError);
    EXPECT_THROW((void)VarToInt(Variant { std::int64_t { kMax } + 1 }), EConvertError);
}

TEST(VarToInt, FloatsMustRoundIntoTheIntegerRange)
{
    EXPECT_EQ(VarToInt(Variant { 2147483647.4 }), kMax);
    EXPECT_EQ(VarToInt(Variant { 2147483646.5 }), 2147483646);
    EXPECT_EQ(VarToInt(Variant { -2147483648.5 }), kMin) << "the tie goes to the even -2^31, which fits";
    EXPECT_EQ(VarToInt(Variant { -2147483647.5 }), kMin);
    for (double outside : { 2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 1e300, -1e300,
             std::numeric_limits<double>::infinity(), std::nan("") })
        EXPECT_THROW((void)VarToInt(Variant { outside }), EConvertError) << outside;
    EXPECT_THROW((void)VarToInt(Variant { std::string("2147483647.5") }), EConvertError);
    try {
        (void)VarToInt(Variant { 2147483647.5 });
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("into type (Integer)"), std::string::npos) << e.what();
    }
}
