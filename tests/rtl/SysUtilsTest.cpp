#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"

#include "TestLocale.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include <unistd.h>

using namespace plx;
using plx::test::LocaleGuard;

namespace {

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
    // Too small to hold is zero; too large is an error.
    EXPECT_EQ(StrToFloat("1e-400"), 0);
    EXPECT_TRUE(std::signbit(StrToFloat("-0.001e-999")));
    EXPECT_THROW((void)StrToFloat("0.1e400"), EConvertError);
    EXPECT_EQ(StrToFloat("100000e-5000000000000"), 0);
    EXPECT_THROW((void)StrToFloat("0.00001e99999999999999"), EConvertError);
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

// ---------------------------------------------------------------------------
// Paths

TEST(Paths, SplitAtThePlatformDelimiter)
{
    EXPECT_EQ(PathDelim, '/');
    EXPECT_EQ(ExtractFilePath("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(ExtractFilePath("c.txt"), "");
    EXPECT_EQ(ExtractFilePath("/a/b/"), "/a/b/");
    EXPECT_EQ(ExtractFileDir("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(ExtractFileDir("/c.txt"), "/");
    EXPECT_EQ(ExtractFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractFileName("/a/b/"), "");
    EXPECT_EQ(ExtractFileName("c"), "c");
    EXPECT_EQ(ExtractFileExt("/a/b.c/d.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a/b.c/d"), "");
}

TEST(Paths, ChangeFileExtReplacesOnlyTheNamePartsExtension)
{
    EXPECT_EQ(ChangeFileExt("/a/b.txt", ".ini"), "/a/b.ini");
    EXPECT_EQ(ChangeFileExt("/a/b.txt", ""), "/a/b");
    EXPECT_EQ(ChangeFileExt("/a.d/b", ".ini"), "/a.d/b.ini");
    EXPECT_EQ(ChangeFileExt("b.tar.gz", ""), "b.tar");
    EXPECT_EQ(ChangeFileExt("", ".x"), ".x");
}

// ---------------------------------------------------------------------------
// Files and folders

namespace {

class FileRoutines : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path()
            / ("plx_sysutils_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_folder, ec);
    }
    [[nodiscard]] std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    void Touch(const std::string& name, std::string_view content = "x") const
    {
        std::ofstream(m_folder / name, std::ios::binary) << content;
    }

    std::filesystem::path m_folder;
};

std::vector<std::string> FindAll(const std::string& path, std::int32_t attr)
{
    std::vector<std::string> names;
    TSearchRec rec;
    for (std::int32_t result = FindFirst(path, attr, rec); result == 0; result = FindNext(rec))
        names.push_back(rec.Name + ((rec.Attr & faDirectory) ? "/" : ""));
    FindClose(rec);
    return names;
}

} // namespace

TEST_F(FileRoutines, ExistenceTestsTellFilesFromFolders)
{
    Touch("f.txt");
    EXPECT_TRUE(FileExists(Path("f.txt")));
    EXPECT_FALSE(FileExists(Path("missing")));
    EXPECT_FALSE(FileExists(m_folder.string()));
    EXPECT_TRUE(DirectoryExists(m_folder.string()));
    EXPECT_FALSE(DirectoryExists(Path("f.txt")));
    EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(FileRoutines, CreateDirMakesOneLevel)
{
    EXPECT_TRUE(CreateDir(Path("sub")));
    EXPECT_FALSE(CreateDir(Path("sub")));
    EXPECT_FALSE(CreateDir(Path("a/b")));
    EXPECT_TRUE(DirectoryExists(Path("sub")));
    EXPECT_TRUE(RemoveDir(Path("sub")));
    EXPECT_FALSE(DirectoryExists(Path("sub")));
}

TEST_F(FileRoutines, DeleteAndRenameNeverReplace)
{
    Touch("a");
    Touch("b");
    EXPECT_FALSE(RenameFile(Path("a"), Path("b")));
    EXPECT_TRUE(RenameFile(Path("a"), Path("c")));
    EXPECT_TRUE(DeleteFile(Path("c")));
    EXPECT_FALSE(DeleteFile(Path("c")));
    EXPECT_FALSE(DeleteFile(m_folder.string()));
}

TEST_F(FileRoutines, HandlesReadWriteAndSeek)
{
    const std::int32_t out = FileCreate(Path("h.bin"));
    ASSERT_GE(out, 0);
    EXPECT_EQ(FileWrite(out, "hello", 5), 5);
    EXPECT_NE(FileGetDate(out), -1);
    FileClose(out);
    const std::int32_t in = FileOpen(Path("h.bin"), fmOpenRead);
    ASSERT_GE(in, 0);
    char buffer[8] = {};
    EXPECT_EQ(FileSeek(in, 1, 0), 1);
    EXPECT_EQ(FileRead(in, buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, 4), "ello");
    EXPECT_EQ(FileRead(in, buffer, 8), 0);
    EXPECT_EQ(FileSeek(in, 0, 2), 5);
    EXPECT_EQ(FileSeek(in, 0, 7), -1);
    FileClose(in);
    EXPECT_EQ(FileOpen(Path("missing"), fmOpenRead), -1);
    EXPECT_EQ(FileOpen(m_folder.string(), fmOpenRead), -1);
    EXPECT_EQ(FileRead(-1, buffer, 1), -1);
}

TEST_F(FileRoutines, FileDatesRoundTripToTheTwoSecondStep)
{
    const TDateTime when = EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 0);
    std::uint16_t h = 0, m = 0, s = 0, ms = 0;
    const auto packed = static_cast<std::int32_t>((21u << 25) | (2u << 21) | (3u << 16) | (4u << 11) | (5u << 5) | 3u);
    EXPECT_DOUBLE_EQ(FileDateToDateTime(packed), when);
    DecodeTime(FileDateToDateTime(packed), h, m, s, ms);
    EXPECT_EQ(s, 6);
    EXPECT_EQ(FileDateToDateTime(0), 0);
}

TEST_F(FileRoutines, FindFirstListsMatchingEntriesInNameOrder)
{
    Touch("b.txt");
    Touch("a.TXT");
    Touch("noext");
    Touch(".hidden");
    std::filesystem::create_directory(m_folder / "dir");
    const std::string all = Path("*.*");
    EXPECT_EQ(FindAll(all, 0), (std::vector<std::string> { "a.TXT", "b.txt", "noext" }));
    EXPECT_EQ(FindAll(all, faDirectory), (std::vector<std::string> { "a.TXT", "b.txt", "dir/", "noext" }));
    EXPECT_EQ(FindAll(all, faAnyFile), (std::vector<std::string> { ".hidden", "a.TXT", "b.txt", "dir/", "noext" }));
    EXPECT_EQ(FindAll(Path("*.txt"), faAnyFile), (std::vector<std::string> { "b.txt" }));
    EXPECT_EQ(FindAll(Path("?.*"), faAnyFile), (std::vector<std::string> { "a.TXT", "b.txt" }));
    EXPECT_EQ(FindAll(Path("noext.*"), faAnyFile), (std::vector<std::string> { "noext" }));
    EXPECT_EQ(FindAll(Path("*"), faAnyFile).size(), 5u);
}

TEST_F(FileRoutines, FindFirstReportsSizeAttributesAndFailure)
{
    Touch("data", "12345");
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Path("data"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "data");
    EXPECT_EQ(rec.Size, 5);
    EXPECT_EQ(rec.Attr & faDirectory, 0);
    EXPECT_NE(rec.Time, 0);
    EXPECT_NE(FindNext(rec), 0);
    EXPECT_NE(FindNext(rec), 0);
    FindClose(rec);
    EXPECT_NE(FindNext(rec), 0);
    EXPECT_NE(FindFirst(Path("nothing*"), faAnyFile, rec), 0);
    EXPECT_NE(FindFirst(Path("missing/*.*"), faAnyFile, rec), 0);
    EXPECT_NE(FindFirst(Path(""), faAnyFile, rec), 0);
}

TEST_F(FileRoutines, CurrentDirectoryCanBeChanged)
{
    const std::string saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(m_folder.string()));
    EXPECT_EQ(std::filesystem::path(GetCurrentDir()), std::filesystem::canonical(m_folder));
    EXPECT_FALSE(SetCurrentDir(Path("missing")));
    EXPECT_TRUE(SetCurrentDir(saved));
}

// ---------------------------------------------------------------------------
// Dates and times

TEST(EncodeDate, CountsDaysFrom18991230)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST(EncodeDate, FollowsTheGregorianLeapYearRule)
{
    EXPECT_NO_THROW((void)EncodeDate(2000, 2, 29));
    EXPECT_NO_THROW((void)EncodeDate(2004, 2, 29));
    EXPECT_NO_THROW((void)EncodeDate(1600, 2, 29));
    for (auto [y, m, d] : { std::array<int, 3> { 1900, 2, 29 }, { 2001, 2, 29 }, { 2100, 2, 29 }, { 2001, 4, 31 },
             { 2001, 13, 1 }, { 2001, 0, 1 }, { 2001, 1, 0 }, { 0, 1, 1 }, { 10000, 1, 1 } }) {
        try {
            (void)EncodeDate(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m), static_cast<std::uint16_t>(d));
            ADD_FAILURE() << y << "-" << m << "-" << d;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
}

TEST(DecodeDate, InvertsEncodeDateAcrossTheRange)
{
    for (double day = -693593; day <= 2958465; day += 997) {
        std::uint16_t y = 0, m = 0, d = 0;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day);
    }
    std::uint16_t y = 0, m = 0, d = 0;
    DecodeDate(59, y, m, d);
    EXPECT_EQ(std::vector<int>({ y, m, d }), (std::vector<int> { 1900, 2, 27 }));
    DecodeDate(2.75, y, m, d);
    EXPECT_EQ(std::vector<int>({ y, m, d }), (std::vector<int> { 1900, 1, 1 }));
}

TEST(DecodeDate, NegativeValuesKeepTheDateAndTakeTheAbsoluteTime)
{
    std::uint16_t y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(std::vector<int>({ y, m, d, h }), (std::vector<int> { 1899, 12, 29, 6 }));
}

TEST(DecodeDate, OutOfRangeValuesGiveZeros)
{
    for (double bad : { 3e6, -7e5, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300 }) {
        std::uint16_t y = 9, m = 9, d = 9;
        DecodeDate(bad, y, m, d);
        EXPECT_EQ(y + m + d, 0) << bad;
    }
    EXPECT_EQ(DayOfWeek(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(EncodeTime, IsTheFractionOfTheDay)
{
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(18, 0, 0, 0), 0.75);
    EXPECT_DOUBLE_EQ(EncodeTime(0, 0, 1, 500), 1.5 / 86400);
    EXPECT_THROW((void)EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW((void)EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW((void)EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW((void)EncodeTime(0, 0, 0, 1000), EConvertError);
    std::uint16_t h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(EncodeTime(23, 59, 58, 999), h, m, s, ms);
    EXPECT_EQ(std::vector<int>({ h, m, s, ms }), (std::vector<int> { 23, 59, 58, 999 }));
}

TEST(DecodeTime, RoundsToTheMillisecondAndCarriesIntoTheNextDay)
{
    std::uint16_t y = 0, mo = 0, d = 0, h = 0, m = 0, s = 0, ms = 0;
    const TDateTime almost = 1.0 - 0.0001 / 86400;
    DecodeTime(almost, h, m, s, ms);
    DecodeDate(almost, y, mo, d);
    EXPECT_EQ(std::vector<int>({ y, mo, d, h, m, s, ms }), (std::vector<int> { 1899, 12, 31, 0, 0, 0, 0 }));
}

TEST(DayOfWeek, CountsFromSunday)
{
    EXPECT_EQ(DayOfWeek(0), 7); // 1899-12-30 was a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 29)), 5);
    EXPECT_EQ(DayOfWeek(-1), 6);
    EXPECT_EQ(DayOfWeek(1), 1);
}

TEST(Now, IsTodayInLocalTime)
{
    const TDateTime now = Now();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_EQ(Date(), std::trunc(Now()));
    EXPECT_GE(Now(), now);
}

TEST(FormatDateTime, MonthNamesFromMonthTimesThirty)
{
    EXPECT_EQ(FormatDateTime("mmmm", 30), "January");
    EXPECT_EQ(FormatDateTime("mmmm", 60), "February");
    EXPECT_EQ(FormatDateTime("mmmm", 360), "December");
    EXPECT_EQ(FormatDateTime("mmm", 90), "Mar");
    EXPECT_EQ(FormatDateTime("mmmm", 0), "December");
    EXPECT_EQ(FormatDateTime("mmmm", 390), "January");
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(FormatDateTime("mmmm", month * 30), FormatSettings().LongMonthNames[static_cast<std::size_t>(month - 1)]);
}

TEST(FormatDateTime, DateAndTimeFields)
{
    const TDateTime t = EncodeDate(2004, 2, 9) + EncodeTime(15, 7, 5, 42);
    EXPECT_EQ(FormatDateTime("d/m/yy", t), "9/2/04");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", t), "09.02.2004");
    EXPECT_EQ(FormatDateTime("ddd dddd", t), "Mon Monday");
    EXPECT_EQ(FormatDateTime("h:n:s.z", t), "15:7:5.42");
    EXPECT_EQ(FormatDateTime("hh:mm:ss.zzz", t), "15:07:05.042");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", t), "3:07 pm");
    EXPECT_EQ(FormatDateTime("h:nn AM/PM", t - 0.5), "3:07 AM");
    EXPECT_EQ(FormatDateTime("hh a/p", t), "03 p");
    EXPECT_EQ(FormatDateTime("h ampm", t), "3 PM");
    EXPECT_EQ(FormatDateTime("h", t - 15.0 / 24), "0");
    EXPECT_EQ(FormatDateTime("h am/pm", t - 15.0 / 24), "12 am");
    EXPECT_EQ(FormatDateTime("'d' \"m\" yyyy", t), "d m 2004");
    EXPECT_EQ(FormatDateTime("ddddd", t), "09/02/2004");
    EXPECT_EQ(FormatDateTime("dddddd", t), "Monday, 9 February 2004");
    EXPECT_EQ(FormatDateTime("c", t), "09/02/2004 15:07:05");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2004, 2, 9)), "09/02/2004");
    EXPECT_EQ(FormatDateTime("t tt", t), "15:07 15:07:05");
    EXPECT_EQ(DateToStr(t), "09/02/2004");
    EXPECT_EQ(TimeToStr(t), "15:07:05");
    EXPECT_EQ(DateTimeToStr(t), "09/02/2004 15:07:05");
    EXPECT_EQ(FormatDateTime("", t), "");
    EXPECT_EQ(FormatDateTime("'unterminated", t), "unterminated");
}

TEST(FormatDateTime, UsesTheLocaleSeparatorsAndNames)
{
    LocaleGuard guard;
    FormatSettings().DateSeparator = '-';
    FormatSettings().TimeSeparator = '.';
    FormatSettings().LongMonthNames[0] = "Janvier";
    const TDateTime t = EncodeDate(1999, 1, 2) + EncodeTime(3, 4, 0, 0);
    EXPECT_EQ(FormatDateTime("d/m/yyyy h:nn mmmm", t), "2-1-1999 3.04 Janvier");
    // A format that names itself stops after two levels instead of recursing forever.
    FormatSettings().ShortDateFormat = "ddddd";
    EXPECT_EQ(FormatDateTime("ddddd", t), "");
}

TEST(StrToDate, ReadsTheLocaleOrder)
{
    EXPECT_EQ(StrToDate("12/3/1998"), EncodeDate(1998, 3, 12));
    EXPECT_EQ(StrToDate(" 1 / 2 / 2003 "), EncodeDate(2003, 2, 1));
    EXPECT_EQ(StrToDate("29/2/2000"), EncodeDate(2000, 2, 29));
    TFormatSettings us;
    us.ShortDateFormat = "m/d/yyyy";
    EXPECT_EQ(StrToDate("12/3/1998", us), EncodeDate(1998, 12, 3));
    TFormatSettings iso;
    iso.ShortDateFormat = "yyyy-mm-dd";
    iso.DateSeparator = '-';
    EXPECT_EQ(StrToDate("1998-03-12", iso), EncodeDate(1998, 3, 12));
    EXPECT_THROW((void)StrToDate("12/3/1998", iso), EConvertError);
}

TEST(StrToDate, FollowsTheProcessWideSettings)
{
    LocaleGuard guard;
    FormatSettings().DateSeparator = '.';
    EXPECT_EQ(StrToDate("12.3.1998"), EncodeDate(1998, 3, 12));
    EXPECT_THROW((void)StrToDate("12/3/1998"), EConvertError);
}

TEST(StrToDate, CompletesMissingAndShortYears)
{
    std::uint16_t year = 0, month = 0, day = 0;
    DecodeDate(Now(), year, month, day);
    EXPECT_EQ(StrToDate("1/2"), EncodeDate(year, 2, 1));
    TFormatSettings settings;
    settings.TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(StrToDate("1/2/3", settings), EncodeDate(static_cast<std::uint16_t>(year / 100 * 100 + 3), 2, 1));
    settings.TwoDigitYearCenturyWindow = 50;
    const int threshold = year - 50;
    int expected = threshold / 100 * 100 + 98;
    if (expected < threshold)
        expected += 100;
    EXPECT_EQ(StrToDate("1/2/98", settings), EncodeDate(static_cast<std::uint16_t>(expected), 2, 1));
    EXPECT_EQ(StrToDate("1/2/0098", settings), EncodeDate(98, 2, 1));
}

TEST(StrToDate, RejectsWhatIsNotADate)
{
    try {
        (void)StrToDate("1231998");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'1231998' is not a valid date");
    }
    for (const char* bad : { "", "/", "12//1998", "12/3/", "32/1/2000", "29/2/1900", "12/3/1998/4", "12/3/19980", "12/3/1998x",
             "a/b/c", "12-3-1998" })
        EXPECT_THROW((void)StrToDate(bad), EConvertError) << bad;
}
