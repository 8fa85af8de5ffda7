#include "Gallery.h"

#include "color/host/Resources.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "utils/APIMan.h"
#include "utils/DateMan.h"
#include "utils/Fileman.h"
#include "utils/StrMan.h"
#include "utils/WaveOut.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace plx;

namespace gallery {

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Day(TDateTime value)
{
    return FormatDateTime("yyyy-mm-dd", value);
}

std::string Stamp(TDateTime value)
{
    return FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", value);
}

// The result of a call, or the error it raised.
std::string Try(const std::function<std::string()>& call)
{
    try {
        return call();
    } catch (const Exception& e) {
        return "raises: " + e.Message();
    }
}

// Every digit of a double.
std::string Exact(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string Bool(bool value)
{
    return value ? "true" : "false";
}

Rows StringRows()
{
    Rows rows { { "call", "result" } };
    auto add = [&](const std::string& call, const std::function<std::string()>& result) { rows.push_back({ call, Try(result) }); };
    add("Instr(3, \"abcabc\", \"a\")", [] { return IntToStr(Instr(3, "abcabc", "a")); });
    add("Instr(5, \"abcabc\", \"a\")", [] { return IntToStr(Instr(5, "abcabc", "a")); });
    add("LeftStr(\"abcdef\", 3)", [] { return Quote(LeftStr("abcdef", 3)); });
    add("RightStr(\"abcdef\", 3)", [] { return Quote(RightStr("abcdef", 3)); });
    add("StrSplit(\"abcdef\", 3)", [] {
        std::string left, right;
        StrSplit("abcdef", 3, left, right);
        return Quote(left) + " + " + Quote(right);
    });
    add("SplitStrC(\"key=value\", '=')", [] {
        std::string left, right;
        SplitStrC("key=value", '=', left, right);
        return Quote(left) + " + " + Quote(right);
    });
    add("Split(\"a,,b,\", ',')", [] {
        TStringList list;
        Split(list, "a,,b,", ',');
        return list.CommaText();
    });
    add("ReadBetween(\"<b>bold</b>\", \"<b>\", \"</b>\")", [] { return Quote(ReadBetween("<b>bold</b>", "<b>", "</b>")); });
    add("ReplaceOne(\"abcdef\", \"XY\", 2, 3)", [] { return Quote(ReplaceOne("abcdef", "XY", 2, 3)); });
    add("ReplaceAll(\"aaa\", \"a\", \"aa\")", [] { return Quote(ReplaceAll("aaa", "a", "aa")); });
    add("RemoveChars(\"a-b_c\", ['-', '_'])", [] { return Quote(RemoveChars("a-b_c", TCharSet("-_"))); });
    add("TitleCase(\"hELLO wORLD\")", [] { return Quote(TitleCase("hELLO wORLD")); });
    add("LowCaseStr(\"MiXeD 1!\")", [] { return Quote(LowCaseStr("MiXeD 1!")); });
    add("FillStr(3, 'x')", [] { return Quote(FillStr(3, 'x')); });
    add("CompareStrAry(\"Beta\", [\"alpha\", \"BETA\"])", [] { return IntToStr(CompareStrAry("Beta", { "alpha", "BETA" })); });
    add("RPos(\"/\", \"/a/b\")", [] { return IntToStr(RPos("/", "/a/b")); });
    add("CharCount(\"banana\", 'a')", [] { return IntToStr(CharCount("banana", 'a')); });
    add("EStrToInt(\"abc-12x3\")", [] { return IntToStr(EStrToInt("abc-12x3")); });
    add("EStrToFloat(\"-1.5 kg\")", [] { return FloatToStr(EStrToFloat("-1.5 kg")); });
    add("EStrToFloat(\"1,5\")", [] { return FloatToStr(EStrToFloat("1,5")); });
    add("EStrToFloat(\"0.1\") (6-byte real)", [] { return Exact(EStrToFloat("0.1")); });
    add("EStrToFloat(\"1.2.3\")", [] { return FloatToStr(EStrToFloat("1.2.3")); });
    add("LastDir(\"/a/b/\")", [] { return Quote(LastDir("/a/b/")); });
    add("DirUp(\"/a/b/\")", [] { return Quote(DirUp("/a/b/")); });
    add("DirUp(\"/a\")", [] { return Quote(DirUp("/a")); });
    add("ExtractFilepath(\"/a/b.txt\")", [] { return Quote(ExtractFilepath("/a/b.txt")); });
    add("FilenameOnly(\"/a/b.txt\")", [] { return Quote(FilenameOnly("/a/b.txt")); });
    add("formFilename(\"/a\", \"x\")", [] { return Quote(formFilename("/a", "x")); });
    return rows;
}

Rows DateRows()
{
    Rows rows { { "call", "result" } };
    auto add = [&](const std::string& call, const std::function<std::string()>& result) { rows.push_back({ call, Try(result) }); };
    for (std::uint16_t month : { 0, 1, 2, 12, 13 })
        add("StrMonth(" + IntToStr(static_cast<std::int32_t>(month)) + ")", [month] { return StrMonth(month); });
    for (const char* text : { "12-Mar-1998", "12.mar.1998", "12|3|1998", "12 MAR 1998" })
        add("EStrToDate(\"" + std::string(text) + "\")", [text] { return Day(EStrToDate(text)); });
    for (std::uint16_t year : { 1900, 2000, 2001, 2100 })
        add("DayInMonth(" + IntToStr(static_cast<std::int32_t>(year)) + ", 2)",
            [year] { return IntToStr(static_cast<std::int32_t>(DayInMonth(year, 2))); });
    const TDateTime sample = EncodeDate(2024, 5, 17) + EncodeTime(13, 45, 30, 250);
    add("SetHour(7, 2024-05-17 13:45:30.250)", [sample] { return Stamp(SetHour(7, sample)); });
    add("SetSec(59, 2024-05-17 13:45:30.250)", [sample] { return Stamp(SetSec(59, sample)); });
    add("SetDay(5, 2.75)", [] { return Stamp(SetDay(5, 2.75)); });
    add("SetMonth(1, 2.75)", [] { return Stamp(SetMonth(1, 2.75)); });
    add("SetMonth(2, 2001-03-31)", [] { return Stamp(SetMonth(2, EncodeDate(2001, 3, 31))); });
    auto step = [](TDateTime start, void (*move)(TDateTime&, std::int32_t), std::int32_t count) {
        TDateTime d = start;
        move(d, count);
        return Stamp(d);
    };
    add("IncMonth(2001-01-31 10:30, 1)", [&] { return step(EncodeDate(2001, 1, 31) + EncodeTime(10, 30, 0, 0), IncMonth, 1); });
    add("IncMonth(2003-12-10, 3)", [&] { return step(EncodeDate(2003, 12, 10), IncMonth, 3); });
    add("DecMonth(2001-03-31, 1)", [&] { return step(EncodeDate(2001, 3, 31), DecMonth, 1); });
    add("DecMonth(2004-01-10, 1)", [&] { return step(EncodeDate(2004, 1, 10), DecMonth, 1); });
    add("IncMonth(9999-12-01, 1)", [&] { return step(EncodeDate(9999, 12, 1), IncMonth, 1); });
    add("IncYear(2000-02-29, 4)", [&] { return step(EncodeDate(2000, 2, 29), IncYear, 4); });
    add("IncYear(2000-02-29, 1)", [&] { return step(EncodeDate(2000, 2, 29), IncYear, 1); });
    add("EndOfMonth(2000-02-10 12:00)", [] { return Stamp(EndOfMonth(EncodeDate(2000, 2, 10) + 0.5)); });
    add("EndOfYear(2000-02-10)", [] { return Stamp(EndOfYear(EncodeDate(2000, 2, 10))); });
    add("DateToHours(1.5)", [] { return IntToStr(DateToHours(1.5)); });
    add("DateToSeconds(2024-01-01)", [] { return IntToStr(DateToSeconds(EncodeDate(2024, 1, 1))); });
    add("HoursToDate(36)", [] { return FloatToStr(HoursToDate(36)); });
    return rows;
}

Rows SoundRows()
{
    Rows rows { { "call", "result" } };
    const TWaveDevice device = WaveDevice();
    SetWaveDevice(TWaveDevice::Silent);
    rows.push_back({ "PlayWaveWait(\"TONE\") (silent device)", Bool(PlayWaveWait("TONE")) });
    rows.push_back({ "PlayWave(\"NO SUCH SOUND\")", Bool(PlayWave("NO SUCH SOUND")) });
    rows.push_back({ "PlayWave(\"\")", Bool(PlayWave("")) });
    SetWaveDevice(device);
    if (auto resource = FindResource(HInstance(), "TONE", RT_RCDATA_NAME))
        if (auto info = ParseWave(*resource))
            rows.push_back({ "ParseWave(TONE)", IntToStr(static_cast<std::int32_t>(info->Channels)) + " channel, "
                    + IntToStr(static_cast<std::int32_t>(info->SamplesPerSec)) + " Hz, "
                    + IntToStr(static_cast<std::int64_t>(info->FrameCount())) + " frames, "
                    + IntToStr(info->DurationUs() / 1000) + " ms" });
    return rows;
}

} // namespace

void UtilsPage(Gallery& g)
{
    g.BeginPage("utils", "String, date and file routines",
        "What the utility routines return for a table of inputs; errors show the message they raise.");
    g.Table(StringRows());
    g.Table(DateRows());
    g.Table(SoundRows());
}

} // namespace gallery
