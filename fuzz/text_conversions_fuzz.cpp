// Feeds arbitrary text to the run-time library's parsers (integers, floats,
// dates, comma text and line text) and the date formatter, and checks that
// what they accept survives a round trip through the matching writer.
#include "FuzzCheck.h"

#include "rtl/StringList.h"
#include "rtl/SysUtils.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using plx::fuzz::Check;

void Integers(std::string_view text)
{
    if (auto value = plx::TryStrToInt(text))
        Check(plx::StrToInt(plx::IntToStr(*value)) == *value);
}

void Floats(std::string_view text, const plx::TFormatSettings& settings)
{
    auto value = plx::TryStrToFloat(text, settings);
    if (!value)
        return;
    Check(std::isfinite(*value));
    const double back = plx::StrToFloat(plx::FloatToStr(*value, settings), settings);
    // Fifteen significant digits; values near the bottom of the range lose more.
    if (std::fabs(*value) > 1e-290)
        Check(std::fabs(back - *value) <= std::fabs(*value) * 1e-14);
}

void Dates(std::string_view text, const plx::TFormatSettings& settings)
{
    auto date = plx::TryStrToDate(text, settings);
    if (!date)
        return;
    std::uint16_t year = 0, month = 0, day = 0;
    plx::DecodeDate(*date, year, month, day);
    Check(year >= 1 && month >= 1 && day >= 1);
    Check(plx::TryStrToDate(plx::FormatDateTime(settings.ShortDateFormat, *date, settings), settings) == date);
}

void Formats(std::string_view text)
{
    double value = 0;
    if (text.size() >= sizeof value) {
        std::memcpy(&value, text.data(), sizeof value);
        text.remove_prefix(sizeof value);
    }
    const std::string result = plx::FormatDateTime(text, value);
    // Every pattern character yields a bounded amount of text.
    Check(result.size() <= 64 * (text.size() + 1));
}

void Lists(std::string_view text)
{
    plx::TStringList list, back;
    list.SetCommaText(text);
    back.SetCommaText(list.CommaText());
    Check(back.Equals(list));
    list.SetText(text);
    back.SetText(list.Text());
    Check(back.Equals(list));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    plx::TFormatSettings comma;
    comma.DecimalSeparator = ',';
    comma.DateSeparator = '.';
    comma.ShortDateFormat = "yyyy.mm.dd";
    Integers(text);
    Floats(text, plx::TFormatSettings {});
    Floats(text, comma);
    Dates(text, plx::TFormatSettings {});
    Dates(text, comma);
    Formats(text);
    Lists(text);
    return 0;
}
