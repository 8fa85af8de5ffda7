#include "utils/StrMan.h"

#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"

#include "TestLocale.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace plx;
using plx::test::LocaleGuard;

namespace {

using test::Lines;

std::vector<std::string> SplitAll(std::string_view s, char ch)
{
    TStringList list;
    Split(list, s, ch);
    return Lines(list);
}

} // namespace

TEST(StrManCutting, LeftAndRightStrClampLikeCopy)
{
    EXPECT_EQ(LeftStr("abcdef", 3), "abc");
    EXPECT_EQ(LeftStr("abc", 10), "abc");
    EXPECT_EQ(LeftStr("abc", 0), "");
    EXPECT_EQ(LeftStr("abc", -5), "");
    EXPECT_EQ(RightStr("abcdef", 3), "cdef") << "the tail from a position, not the last characters";
    EXPECT_EQ(RightStr("abc", 0), "abc");
    EXPECT_EQ(RightStr("abc", 4), "");
    EXPECT_EQ(RightStr("abc", 2147483647), "");
    EXPECT_EQ(RightStr("abc", -2147483647 - 1), "abc");
}

TEST(StrManCutting, StrSplitIsLossless)
{
    std::string left, right;
    StrSplit("abcdef", 3, left, right);
    EXPECT_EQ(left, "ab");
    EXPECT_EQ(right, "cdef");
    for (std::int32_t index : { -3, 0, 1, 2, 6, 7, 8, 2147483647 }) {
        StrSplit("abcdef", index, left, right);
        EXPECT_EQ(left + right, "abcdef") << "index " << index;
    }
    StrSplit("abcdef", 0, left, right);
    EXPECT_EQ(left, "");
    EXPECT_EQ(right, "abcdef");
    StrSplit("abcdef", 7, left, right);
    EXPECT_EQ(left, "abcdef");
    EXPECT_EQ(right, "");
}

TEST(StrManCutting, ReadBetweenTakesTheTextStrictlyBetweenTheMarkers)
{
    EXPECT_EQ(ReadBetween("<b>bold</b>", "<b>", "</b>"), "bold");
    EXPECT_EQ(ReadBetween("key=[value] rest [x]", "[", "]"), "value");
    EXPECT_EQ(ReadBetween("[]", "[", "]"), "");
    EXPECT_EQ(ReadBetween("no markers", "[", "]"), "");
    EXPECT_EQ(ReadBetween("[open only", "[", "]"), "");
    EXPECT_EQ(ReadBetween("end] before [start", "[", "]"), "") << "the end marker counts only after the start";
    EXPECT_EQ(ReadBetween("abc", "", "c"), "") << "an empty start text is never found";
    EXPECT_EQ(ReadBetween("abc", "a", ""), "") << "an empty end text is never found";
    EXPECT_EQ(ReadBetween("aXXa", "a", "a"), "XX");
}

TEST(StrManSplitting, SplitStrCAtTheFirstCharacter)
{
    std::string left, right;
    SplitStrC("key=value", '=', left, right);
    EXPECT_EQ(left, "key");
    EXPECT_EQ(right, "value");
    SplitStrC("novalue", '=', left, right);
    EXPECT_EQ(left, "novalue");
    EXPECT_EQ(right, "");
    SplitStrC("a=b=c", '=', left, right);
    EXPECT_EQ(left, "a");
    EXPECT_EQ(right, "b=c");
    // The remainder may be split into itself, as Split does.
    std::string rest = "x,y";
    SplitStrC(rest, ',', left, rest);
    EXPECT_EQ(left, "x");
    EXPECT_EQ(rest, "y");
}

TEST(StrManSplitting, SplitKeepsInnerEmptyFieldsButNoTrailingOne)
{
    EXPECT_EQ(SplitAll("", ','), std::vector<std::string> {});
    EXPECT_EQ(SplitAll("a,,b", ','), (std::vector<std::string> { "a", "", "b" }));
    EXPECT_EQ(SplitAll(",a", ','), (std::vector<std::string> { "", "a" }));
    EXPECT_EQ(SplitAll("a,b,", ','), (std::vector<std::string> { "a", "b" }));
    EXPECT_EQ(SplitAll("abc", ','), (std::vector<std::string> { "abc" }));

    TStringList list;
    list.Add("kept");
    Split(list, "1;2", ';');
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "kept", "1", "2" })) << "the list is not cleared";
}

TEST(StrManSplitting, SplitCutsAsRepeatedSplitStrCDoes)
{
    // Split's own definition: SplitStrC on the remainder until it is empty.
    auto byDefinition = [](std::string rest, char ch) {
        std::vector<std::string> fields;
        std::string field;
        while (!rest.empty()) {
            SplitStrC(rest, ch, field, rest);
            fields.push_back(field);
        }
        return fields;
    };
    for (std::string_view text : std::initializer_list<std::string_view> { ",", ",,", ",,,a", "a,,", "a,b,,", ",a,", "a", "aa,bb,cc", std::string_view("x\0,y\0", 5) })
        EXPECT_EQ(SplitAll(text, ','), byDefinition(std::string(text), ',')) << text;

    std::string many;
    for (int i = 0; i < 200000; ++i)
        many += std::to_string(i % 10) + ';';
    const auto fields = SplitAll(many, ';');
    ASSERT_EQ(fields.size(), 200000u);
    EXPECT_EQ(fields[123457], "7");
}

TEST(StrManSplitting, SplitReadsTheTextAsItWasWhenCalled)
{
    // A handler of the list's changes rewrites the string the text views.
    std::string source = "one,two,three";
    TStringList list;
    list.SetOnChange([&source](TObject*) { source.assign(64, 'x'); });
    Split(list, source, ',');
    EXPECT_EQ(Lines(list), (std::vector<std::string> { "one", "two", "three" }));
}

TEST(StrManSearching, ReturnLineFindsTheFirstLineHoldingTheText)
{
    TStringList list;
    list.SetText("alpha\nbeta gamma\ngamma\n");
    std::string line = "stale";
    ReturnLine(list, "gamma", line);
    EXPECT_EQ(line, "beta gamma");
    ReturnLine(list, "delta", line);
    EXPECT_EQ(line, "");
    line = "stale";
    ReturnLine(list, "", line);
    EXPECT_EQ(line, "") << "an empty text is never found";
}

TEST(StrManSearching, InstrSearchesFromAPosition)
{
    EXPECT_EQ(Instr(3, "abcabc", "a"), 4);
    EXPECT_EQ(Instr(5, "abcabc", "a"), 0);
    EXPECT_EQ(Instr(1, "abcabc", "a"), 1);
    EXPECT_EQ(Instr(4, "abcabc", "abc"), 4);
    EXPECT_EQ(Instr(7, "abcabc", "a"), 0);
    EXPECT_EQ(Instr(1, "abc", ""), 0);
    EXPECT_EQ(Instr(0, "abc", "a"), 1) << "a start below 1 counts as 1";
    EXPECT_EQ(Instr(-5, "abc", "b"), 2);
}

TEST(StrManSearching, RPosFindsOneCharacterFromTheRight)
{
    EXPECT_EQ(RPos("\\", "C:\\a\\b"), 5);
    EXPECT_EQ(RPos("/", "/a/b"), 3);
    EXPECT_EQ(RPos("ab", "abab"), 0);
    EXPECT_EQ(RPos("", "abc"), 0);
    EXPECT_EQ(RPos("z", "abc"), 0);
    EXPECT_EQ(RPos("a", ""), 0);
    EXPECT_EQ(CharCount("banana", 'a'), 3);
    EXPECT_EQ(CharCount("", 'a'), 0);
}

TEST(StrManSearching, CompareStrAryIgnoresAsciiCase)
{
    EXPECT_EQ(CompareStrAry("Beta", { "alpha", "BETA" }), 1);
    EXPECT_EQ(CompareStrAry("x", {}), -1);
    EXPECT_EQ(CompareStrAry("gamma", { "alpha", "beta" }), -1);
    const std::vector<std::string> items { "One", "two", "ONE" };
    EXPECT_EQ(CompareStrAry("one", items), 0);
    EXPECT_EQ(CompareStrAry("\xC9t\xE9", { "\xE9t\xE9" }), -1) << "accented letters keep their case";
}

TEST(StrManReplacing, ReplaceOneDeletesThenInserts)
{
    EXPECT_EQ(ReplaceOne("abcdef", "XY", 2, 3), "aXYef");
    EXPECT_EQ(ReplaceOne("abc", "X", 3, 10), "abX") << "the count stops at the end";
    EXPECT_EQ(ReplaceOne("abc", "X", 2, 0), "aXbc");
    EXPECT_EQ(ReplaceOne("abc", "X", 0, 1), "Xabc") << "nothing deleted before the start; inserted at 1";
    EXPECT_EQ(ReplaceOne("abc", "X", 9, 1), "abcX") << "nothing deleted past the end; appended";
}

TEST(StrManReplacing, ReplaceAllDoesNotRescanInsertedText)
{
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("a-b-c", "-", ""), "abc");
    EXPECT_EQ(ReplaceAll("abab", "ab", "b"), "bb");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("abc", "", "X"), "abc") << "an empty text is never found";
    EXPECT_EQ(ReplaceAll("", "a", "b"), "");
}

TEST(StrManReplacing, RemoveChars)
{
    EXPECT_EQ(RemoveChars("a-b_c", TCharSet { '-', '_' }), "abc");
    EXPECT_EQ(RemoveChars("--", TCharSet("-")), "");
    EXPECT_EQ(RemoveChars("abc", TCharSet {}), "abc");
    EXPECT_EQ(RemoveChars(std::string("a\0b\xFF", 4), TCharSet { '\0', '\xFF' }), "ab");
}

TEST(StrManCase, OnlyAsciiLettersChange)
{
    EXPECT_EQ(LoCase('A'), 'a');
    EXPECT_EQ(LoCase('z'), 'z');
    EXPECT_EQ(LoCase('\xC9'), '\xC9');
    EXPECT_EQ(LowCaseStr("MiXeD 1!"), "mixed 1!");
    EXPECT_EQ(TitleCase("hELLO wORLD"), "Hello World");
    EXPECT_EQ(TitleCase("a\tb-c  d"), "A\tb-c  D") << "only a space starts a word";
    EXPECT_EQ(TitleCase(""), "");
    EXPECT_EQ(FillStr(0, 'x'), "");
    EXPECT_EQ(FillStr(3, 'x'), "xxx");
    EXPECT_EQ(FillStr(255, 'x').size(), 255u);
}

TEST(StrManNumbers, EStrToIntKeepsTheDigits)
{
    EXPECT_EQ(EStrToInt("abc-12x3"), 123);
    EXPECT_EQ(EStrToInt("no digits"), 0);
    EXPECT_EQ(EStrToInt(""), 0);
    EXPECT_EQ(EStrToInt("2147483647"), 2147483647);
    EXPECT_THROW((void)EStrToInt("2147483648"), EConvertError);
}

TEST(StrManNumbers, EStrToFloatKeepsDigitsAndPoints)
{
    EXPECT_DOUBLE_EQ(EStrToFloat("-1.5 kg"), 1.5);
    EXPECT_DOUBLE_EQ(EStrToFloat("1,5"), 15);
    EXPECT_EQ(EStrToFloat("none"), 0);
    EXPECT_THROW((void)EStrToFloat("1.2.3"), EConvertError);
    EXPECT_THROW((void)EStrToFloat("."), EConvertError);
}

TEST(StrManNumbers, EStrToFloatReadsAPointWhateverTheLocale)
{
    LocaleGuard guard;
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    EXPECT_DOUBLE_EQ(EStrToFloat("price 2.25"), 2.25);
}

TEST(StrManNumbers, EStrToFloatRoundsToTheSixByteReal)
{
    // 40 significant bits: 0.1 differs from the double 0.1 below 2^-43.
    const double tenth = EStrToFloat("0.1");
    EXPECT_NE(tenth, 0.1);
    EXPECT_NEAR(tenth, 0.1, 1e-12);
    int exponent = 0;
    const double scaled = std::ldexp(std::frexp(tenth, &exponent), 40);
    EXPECT_EQ(scaled, std::trunc(scaled)) << "no bits beyond the fortieth";
    EXPECT_EQ(EStrToFloat("12345678901"), 12345678901.0) << "eleven digits are exact";
    EXPECT_EQ(EStrToFloat("0." + std::string(45, '0') + "1"), 0) << "below the real's range reads as 0";
    EXPECT_THROW((void)EStrToFloat("1" + std::string(40, '0')), EConvertError) << "beyond 1.7E38";
}

TEST(StrManPaths, LastDir)
{
    EXPECT_EQ(LastDir("/a/b/"), "b");
    EXPECT_EQ(LastDir("/a/b"), "b");
    EXPECT_EQ(LastDir("b"), "b");
    EXPECT_EQ(LastDir(""), "");
    EXPECT_EQ(LastDir("/"), "");
    EXPECT_EQ(LastDir("/a"), "a");
}

TEST(StrManPaths, AppPathKeepsItsDelimiter)
{
    const std::string path = StrMan::AppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '/');
    EXPECT_EQ(path + ExtractFileName(Application().ExeName()), Application().ExeName());
}
