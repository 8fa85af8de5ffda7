#include "framework/host/Exceptions.h"
#include "framework/host/SysUtils.h"

#include <gtest/gtest.h>

#include <limits>

using namespace plx;

namespace {

// Restores the process-wide locale settings when a test is done with them.
class LocaleGuard {
public:
    LocaleGuard() = default;
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
    ~LocaleGuard() { FormatSettings() = m_saved; }

private:
    TFormatSettings m_saved { FormatSettings() };
};

std::string ConvertMessage(auto&& call)
{
    try {
        call();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "(no error)";
}

} // namespace

// ---------------------------------------------------------------------------
// Integers

TEST(IntToStr, WritesSignedDecimal)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(IntToStr(std::int64_t { 1 } << 40), "1099511627776");
}

TEST(StrToInt, ReadsDecimalWithSignAndLeadingSpaces)
{
    EXPECT_EQ(StrToInt("123"), 123);
    EXPECT_EQ(StrToInt("-123"), -123);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("  15"), 15);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(StrToInt("000000000000012"), 12);
}

TEST(StrToInt, ReadsDollarHexadecimalAsThe32BitPattern)
{
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("$ff00"), 0xFF00);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFF"), 0xFFFFFF);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("$80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(StrToInt("-$10"), -16);
}

TEST(StrToInt, RejectsAnythingElseWithTheHostMessage)
{
    EXPECT_EQ(ConvertMessage([] { (void)StrToInt("abc"); }), "'abc' is not a valid integer value");
    EXPECT_EQ(ConvertMessage([] { (void)StrToInt(""); }), "'' is not a valid integer value");
    for (const char* bad : { "12 ", "1.5", "-", "$", "0x", "2147483648", "-2147483649", "$100000000", "$G",
             "99999999999999999999999", "1 2", "\t1" })
        EXPECT_THROW((void)StrToInt(bad), EConvertError) << bad;
    EXPECT_EQ(StrToIntDef("x", 9), 9);
    EXPECT_FALSE(TryStrToInt("--1").has_value());
}

TEST(IntToHex, PadsAndShowsNegativeValuesAs32Bits)
{
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x5CC646, 6), "5CC646");
    EXPECT_EQ(IntToHex(0x12345678, 2), "12345678");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(1, 1000).size(), 32u);
}

// ---------------------------------------------------------------------------
// Floating point

TEST(StrToFloat, ReadsTheHostGrammar)
{
    EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat(" -2.25 "), -2.25);
    EXPECT_DOUBLE_EQ(StrToFloat("+3"), 3);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("5."), 5);
    EXPECT_DOUBLE_EQ(StrToFloat("1E3"), 1000);
    EXPECT_DOUBLE_EQ(StrToFloat("1.5e-2"), 0.015);
    EXPECT_DOUBLE_EQ(StrToFloat("2E+2"), 200);
}

TEST(StrToFloat, RejectsMalformedNumbers)
{
    EXPECT_EQ(ConvertMessage([] { (void)StrToFloat("abc"); }), "'abc' is not a valid floating point value");
    for (const char* bad : { "", ".", "1.2.3", "1,5", "1e", "1e+", "inf", "nan", "0x1p3", "1 000", "1e999", "- 1" })
        EXPECT_THROW((void)StrToFloat(bad), EConvertError) << bad;
}

TEST(StrToFloat, FollowsTheLocaleDecimalSeparator)
{
    LocaleGuard guard;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_THROW((void)StrToFloat("1.5"), EConvertError);
    EXPECT_EQ(FloatToStr(2.5), "2,5");
    // Settings given explicitly win over the process-wide ones.
    EXPECT_DOUBLE_EQ(StrToFloat("1.5", TFormatSettings {}), 1.5);
}

TEST(FloatToStr, WritesTheShortestGeneralForm)
{
    EXPECT_EQ(FloatToStr(0.0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(-1.5), "-1.5");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(FloatToStr, RoundTripsThroughStrToFloatToFifteenDigits)
{
    for (double v : { 3.14159265358979, -0.000123, 98765.4321, 1e-300, 1.7e308 })
        EXPECT_NEAR(StrToFloat(FloatToStr(v)) / v, 1.0, 1e-14) << v;
}

// ---------------------------------------------------------------------------
// Strings

TEST(Copy, IsOneBasedAndClamps)
{
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 1, 6), "abcdef");
    EXPECT_EQ(Copy("abcdef", 4, 100), "def");
    // An index below 1 counts as 1 and does not shorten the count.
    EXPECT_EQ(Copy("abcdef", 0, 3), "abc");
    EXPECT_EQ(Copy("abcdef", -5, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 3, 0), "");
    EXPECT_EQ(Copy("abcdef", 3, -1), "");
    EXPECT_EQ(Copy("", 1, 1), "");
    EXPECT_EQ(Copy("abc", std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max()), "");
    EXPECT_EQ(Copy("abc", 2, std::numeric_limits<std::int32_t>::max()), "bc");
}

TEST(Pos, IsOneBasedWithZeroForNotFound)
{
    EXPECT_EQ(Pos("c", "abcabc"), 3);
    EXPECT_EQ(Pos("abc", "abcabc"), 1);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("", ""), 0);
    EXPECT_EQ(Pos("abcd", "abc"), 0);
    EXPECT_EQ(Pos("B", "abc"), 0);
}

TEST(CaseAndTrim, TouchOnlyAsciiLettersAndBlanks)
{
    EXPECT_EQ(UpperCase("abc-Z\xE9"), "ABC-Z\xE9");
    EXPECT_EQ(LowerCase("ABC-z\xC9"), "abc-z\xC9");
    EXPECT_EQ(Trim("\t  a b \r\n"), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
}

TEST(CompareText, IgnoresAsciiCase)
{
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    EXPECT_TRUE(SameText("Gallary", "GALLARY"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_NE(CompareStr("a", "A"), 0);
    EXPECT_EQ(CompareStr("", ""), 0);
}
