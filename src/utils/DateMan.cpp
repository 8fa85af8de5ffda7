#include "utils/DateMan.h"

#include "rtl/Exceptions.h"
#include "utils/StrMan.h"

#include <cmath>
#include <limits>
#include <optional>

namespace plx {

namespace {

constexpr std::int64_t kMSecsPerDay = 86400000;
constexpr std::int64_t kMSecsPerHour = 3600000;
constexpr std::int64_t kMSecsPerMin = 60000;
constexpr std::int64_t kMSecsPerSec = 1000;
// Day numbers of 0001-01-01 and 9999-12-31.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;

[[noreturn]] void DateRangeError()
{
    throw EConvertError("Invalid argument to date encode");
}

// A date-time as milliseconds on one line of time. The host reads a negative
// value's date as its whole part towards zero and its time as the absolute
// fraction (-1.25 is 1899-12-29 06:00), so a plain product would run backwards
// there; the same rounding to the millisecond as the host's decoder is used.
std::optional<std::int64_t> ToMSecs(TDateTime value) noexcept
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(kLastDay + 1))
        return std::nullopt;
    const auto total = static_cast<std::int64_t>(std::nearbyint(value * static_cast<double>(kMSecsPerDay)));
    const std::int64_t day = total / kMSecsPerDay;
    const std::int64_t msec = total % kMSecsPerDay;
    if (day < kFirstDay || day > kLastDay)
        return std::nullopt;
    return day * kMSecsPerDay + (msec < 0 ? -msec : msec);
}

TDateTime FromMSecs(std::int64_t msecs) noexcept
{
    std::int64_t day = msecs / kMSecsPerDay;
    std::int64_t msec = msecs % kMSecsPerDay;
    if (msec < 0) {
        --day;
        msec += kMSecsPerDay;
    }
    const double time = static_cast<double>(msec) / static_cast<double>(kMSecsPerDay);
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

bool InRange(std::int64_t msecs) noexcept
{
    return msecs >= kFirstDay * kMSecsPerDay && msecs < (kLastDay + 1) * kMSecsPerDay;
}

// Replaces the field of unit size (hours, minutes, seconds) with value.
TDateTime ReplaceField(TDateTime date, std::int64_t unit, std::int64_t modulo, std::uint16_t value) noexcept
{
    const auto msecs = ToMSecs(date);
    if (!msecs)
        return date;
    const std::int64_t msecOfDay = ((*msecs % kMSecsPerDay) + kMSecsPerDay) % kMSecsPerDay;
    const std::int64_t field = msecOfDay / unit % modulo;
    return FromMSecs(*msecs + (static_cast<std::int64_t>(value) - field) * unit);
}

// Trunc into 64 bits, saturated.
std::int64_t Trunc64(long double value) noexcept
{
    if (std::isnan(value))
        return 0;
    constexpr long double kLimit = 9223372036854775807.0L;
    if (value >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

// A date-time as days on one line of time, for stepping: the whole days as
// the host reads them plus the time of day. Values from 1899-12-30 on are their
// own line, so stepping them is the plain sum; before it, -1.25 (1899-12-29
// 06:00) is -0.75 on the line. Infinities and NaN stay as they are.
long double ToLinear(TDateTime value) noexcept
{
    if (value >= 0 || !std::isfinite(value))
        return value;
    const long double day = std::trunc(static_cast<long double>(value));
    return 2 * day - value;
}

TDateTime FromLinear(long double line) noexcept
{
    if (line >= 0 || !std::isfinite(line))
        return static_cast<TDateTime>(line);
    const long double day = std::floor(line);
    return static_cast<TDateTime>(2 * day - line);
}

void Step(TDateTime& date, std::int64_t count, long double unit) noexcept
{
    date = FromLinear(ToLinear(date) + count * unit);
}

// Whole days; from 1899-12-30 on in double arithmetic, as the plain sum.
TDateTime AddDays(TDateTime date, std::int64_t days) noexcept
{
    if (date >= 0) {
        const TDateTime sum = date + static_cast<double>(days);
        if (sum >= 0)
            return sum;
    }
    return FromLinear(ToLinear(date) + days);
}

constexpr long double kHour = 1.0L / 24;
constexpr long double kMinute = 1.0L / 24 * (1.0L / 60);
constexpr long double kSecond = 1.0L / 24 * (1.0L / 60) * (1.0L / 60);

// More months than this cannot stay inside the years 1 .. 9999.
constexpr std::int32_t kMaxMonths = 12 * 10000;

// Moves by count month lengths, forward from the date's own month or back
// through the months before it.
void MoveMonths(TDateTime& date, std::int32_t count, bool forward)
{
    if (count <= 0)
        return;
    const auto msecs = ToMSecs(date);
    if (!msecs || count > kMaxMonths)
        DateRangeError();
    std::uint16_t year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    std::int64_t y = year;
    std::int64_t m = month;
    std::int64_t days = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (forward) {
            days += DayInMonth(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m));
            if (++m > 12) {
                m = 1;
                ++y;
            }
        } else {
            if (--m < 1) {
                m = 12;
                --y;
            }
            days += DayInMonth(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m));
        }
        if (y < 1 || y > 9999)
            DateRangeError();
    }
    const std::int64_t result = *msecs + (forward ? days : -days) * kMSecsPerDay;
    if (!InRange(result))
        DateRangeError();
    date = FromMSecs(result);
}

void MoveYears(TDateTime& date, std::int64_t count)
{
    const auto msecs = ToMSecs(date);
    if (!msecs)
        DateRangeError();
    std::uint16_t year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    const std::int64_t target = year + count;
    if (target < 1 || target > 9999)
        DateRangeError();
    const TDateTime newDate = EncodeDate(static_cast<std::uint16_t>(target), month, day);
    const std::int64_t msecOfDay = ((*msecs % kMSecsPerDay) + kMSecsPerDay) % kMSecsPerDay;
    date = FromMSecs(static_cast<std::int64_t>(newDate) * kMSecsPerDay + msecOfDay);
}

struct TYmd {
    std::uint16_t Year { 0 }, Month { 0 }, Day { 0 };
};

TYmd Decode(TDateTime date) noexcept
{
    TYmd r;
    DecodeDate(date, r.Year, r.Month, r.Day);
    return r;
}

} // namespace

std::string StrMonth(std::uint16_t month)
{
    return FormatDateTime("mmmm", month * 30.0);
}

std::string StrMonthShort(std::uint16_t month)
{
    return FormatDateTime("mmm", month * 30.0);
}

std::int32_t EStrToDate(std::string_view text)
{
    std::string t = UpperCase(text);
    for (std::string_view separator : { "-", ".", "\\", "|", "'", "," })
        t = ReplaceAll(t, separator, "/");
    for (std::uint16_t month = 1; month <= 12; ++month)
        t = ReplaceAll(t, UpperCase(StrMonthShort(month)), IntToStr(static_cast<std::int32_t>(month)));
    std::string kept;
    for (char c : t)
        if (c >= '/' && c <= '9')
            kept += c;
    // The kept text separates with "/" whatever the locale's separator is.
    TFormatSettings settings = FormatSettings();
    settings.DateSeparator = '/';
    return static_cast<std::int32_t>(std::trunc(StrToDate(kept, settings)));
}

std::uint16_t GetDay(TDateTime date) noexcept
{
    return Decode(date).Day;
}

std::uint16_t GetMonth(TDateTime date) noexcept
{
    return Decode(date).Month;
}

std::uint16_t GetYear(TDateTime date) noexcept
{
    return Decode(date).Year;
}

std::uint16_t GetHour(TDateTime date) noexcept
{
    std::uint16_t hour = 0, min = 0, sec = 0, msec = 0;
    DecodeTime(date, hour, min, sec, msec);
    return hour;
}

std::uint16_t GetMin(TDateTime date) noexcept
{
    std::uint16_t hour = 0, min = 0, sec = 0, msec = 0;
    DecodeTime(date, hour, min, sec, msec);
    return min;
}

std::uint16_t GetSec(TDateTime date) noexcept
{
    std::uint16_t hour = 0, min = 0, sec = 0, msec = 0;
    DecodeTime(date, hour, min, sec, msec);
    return sec;
}

TDateTime SetDay(std::uint16_t day, TDateTime date) noexcept
{
    return AddDays(date, static_cast<std::int64_t>(day) - GetDay(date));
}

TDateTime SetMonth(std::uint16_t month, TDateTime date)
{
    const TYmd d = Decode(date);
    return EncodeDate(d.Year, month, d.Day);
}

TDateTime SetYear(std::uint16_t year, TDateTime date)
{
    const TYmd d = Decode(date);
    return EncodeDate(year, d.Month, d.Day);
}

TDateTime SetHour(std::uint16_t hour, TDateTime date) noexcept
{
    return ReplaceField(date, kMSecsPerHour, 24, hour);
}

TDateTime SetMin(std::uint16_t min, TDateTime date) noexcept
{
    return ReplaceField(date, kMSecsPerMin, 60, min);
}

TDateTime SetSec(std::uint16_t sec, TDateTime date) noexcept
{
    return ReplaceField(date, kMSecsPerSec, 60, sec);
}

void IncDay(TDateTime& date, std::int32_t count) noexcept
{
    date = AddDays(date, count);
}

void DecDay(TDateTime& date, std::int32_t count) noexcept
{
    date = AddDays(date, -static_cast<std::int64_t>(count));
}

void IncHour(TDateTime& date, std::int32_t count) noexcept
{
    Step(date, count, kHour);
}

void DecHour(TDateTime& date, std::int32_t count) noexcept
{
    Step(date, -static_cast<std::int64_t>(count), kHour);
}

void IncMin(TDateTime& date, std::int32_t count) noexcept
{
    Step(date, count, kMinute);
}

void DecMin(TDateTime& date, std::int32_t count) noexcept
{
    Step(date, -static_cast<std::int64_t>(count), kMinute);
}

void IncSec(TDateTime& date, std::int32_t count) noexcept
{
    Step(date, count, kSecond);
}

void DecSec(TDateTime& date, std::int32_t count) noexcept
{
    Step(date, -static_cast<std::int64_t>(count), kSecond);
}

void IncMonth(TDateTime& date, std::int32_t count)
{
    MoveMonths(date, count, true);
}

void DecMonth(TDateTime& date, std::int32_t count)
{
    MoveMonths(date, count, false);
}

void IncYear(TDateTime& date, std::int32_t count)
{
    MoveYears(date, count);
}

void DecYear(TDateTime& date, std::int32_t count)
{
    MoveYears(date, -static_cast<std::int64_t>(count));
}

TDateTime BeginOfYear(TDateTime date)
{
    return EncodeDate(Decode(date).Year, 1, 1);
}

TDateTime EndOfYear(TDateTime date)
{
    return EncodeDate(Decode(date).Year, 12, 31);
}

TDateTime BeginOfMonth(TDateTime date)
{
    const TYmd d = Decode(date);
    return EncodeDate(d.Year, d.Month, 1);
}

TDateTime EndOfMonth(TDateTime date)
{
    // The first day of the next month - 1, computed without leaving 9999.
    const TYmd d = Decode(date);
    return EncodeDate(d.Year, d.Month, DayInMonth(d.Year, d.Month));
}

std::int64_t DateToHours(TDateTime value) noexcept
{
    return Trunc64(static_cast<long double>(value) * 24);
}

std::int64_t DateToMinutes(TDateTime value) noexcept
{
    return Trunc64(static_cast<long double>(value) * 24 * 60);
}

std::int64_t DateToSeconds(TDateTime value) noexcept
{
    return Trunc64(static_cast<long double>(value) * 24 * 60 * 60);
}

TDateTime HoursToDate(std::int64_t value) noexcept
{
    return static_cast<TDateTime>(value * kHour);
}

TDateTime MinutesToDate(std::int64_t value) noexcept
{
    return static_cast<TDateTime>(value * kMinute);
}

TDateTime SecondsToDate(std::int64_t value) noexcept
{
    return static_cast<TDateTime>(value * kSecond);
}

} // namespace plx
