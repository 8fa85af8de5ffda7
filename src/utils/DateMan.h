// DateMan: month names, a forgiving date parser, month lengths and leap years,
// reading and replacing one field of a date-time, stepping, the first and last
// day of a year or month, and whole hours, minutes and seconds.
#pragma once

#include "rtl/SysUtils.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plx {

//! \name Month names and parsing
//! @{

//! The locale's long month name: month 1 is January; 0 gives December and 13
//! January (the name of the month that holds day month × 30).
[[nodiscard]] std::string StrMonth(std::uint16_t month);
//! The locale's short month name ("Jan"), with StrMonth's rule for 0 and 13.
[[nodiscard]] std::string StrMonthShort(std::uint16_t month);
//! The day number of a date written with any of the separators - . \ | ' ,
//! and short month names in any case: "12-Mar-1998" and "12.mar.1998" both read
//! as 12/3/1998. Every character but digits and "/" is dropped before reading,
//! so spaces do not separate. The locale decides the order of day, month and
//! year. Raises EConvertError when the kept text is not a date.
[[nodiscard]] std::int32_t EStrToDate(std::string_view text);
//! @}

//! \name Calendar
//! @{

//! The Gregorian rule: divisible by 4, except centuries not divisible by 400.
[[nodiscard]] constexpr bool IsLeapYear(std::uint16_t year) noexcept
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}
//! 28 or 29 for month 2; 30 for 4, 6, 9 and 11; 31 for every other value.
[[nodiscard]] constexpr std::uint16_t DayInMonth(std::uint16_t year, std::uint16_t month) noexcept
{
    if (month == 2)
        return IsLeapYear(year) ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}
//! @}

//! \name Fields
//! Fields of a value outside 0001-01-01 .. 9999-12-31 read as 0.
//! @{

//! The day of the month, 1..31.
[[nodiscard]] std::uint16_t GetDay(TDateTime date) noexcept;
//! The month, 1..12.
[[nodiscard]] std::uint16_t GetMonth(TDateTime date) noexcept;
//! The year, 1..9999.
[[nodiscard]] std::uint16_t GetYear(TDateTime date) noexcept;
//! The hour, 0..23.
[[nodiscard]] std::uint16_t GetHour(TDateTime date) noexcept;
//! The minute, 0..59.
[[nodiscard]] std::uint16_t GetMin(TDateTime date) noexcept;
//! The second, 0..59.
[[nodiscard]] std::uint16_t GetSec(TDateTime date) noexcept;

//! The date moved by day - GetDay(date) days; the time of day is kept, also
//! before 1899-12-30.
[[nodiscard]] TDateTime SetDay(std::uint16_t day, TDateTime date) noexcept;
//! The same day in another month or year, at midnight. Raise EConvertError
//! when that day does not exist (31 March with month 2).
[[nodiscard]] TDateTime SetMonth(std::uint16_t month, TDateTime date);
//! As SetMonth, with the year replaced.
[[nodiscard]] TDateTime SetYear(std::uint16_t year, TDateTime date);
//! The date-time with one field replaced, recombined from whole milliseconds
//! so the other fields read back unchanged. A value beyond the field's range
//! carries into the next fields (SetHour(25, d) is 01:00 the next day). A date
//! outside the valid range is returned unchanged.
[[nodiscard]] TDateTime SetHour(std::uint16_t hour, TDateTime date) noexcept;
//! As SetHour, with the minute replaced.
[[nodiscard]] TDateTime SetMin(std::uint16_t min, TDateTime date) noexcept;
//! As SetHour, with the second replaced.
[[nodiscard]] TDateTime SetSec(std::uint16_t sec, TDateTime date) noexcept;
//! @}

//! \name Stepping
//! Steps move along time: IncHour is an hour later also before 1899-12-30,
//! where the host keeps the time of day as the fraction below the negative day
//! number (1899-12-29 06:00 is -1.25).
//! @{

//! Adds count days (a negative count goes back).
void IncDay(TDateTime& date, std::int32_t count) noexcept;
//! Subtracts count days.
void DecDay(TDateTime& date, std::int32_t count) noexcept;
//! Adds count hours.
void IncHour(TDateTime& date, std::int32_t count) noexcept;
//! Subtracts count hours.
void DecHour(TDateTime& date, std::int32_t count) noexcept;
//! Adds count minutes.
void IncMin(TDateTime& date, std::int32_t count) noexcept;
//! Subtracts count minutes.
void DecMin(TDateTime& date, std::int32_t count) noexcept;
//! Adds count seconds.
void IncSec(TDateTime& date, std::int32_t count) noexcept;
//! Subtracts count seconds.
void DecSec(TDateTime& date, std::int32_t count) noexcept;
//! Adds the lengths of count months starting with the date's own month, each
//! in its own year; DecMonth subtracts the lengths of the count months before
//! it. The day is not clamped (31 January + 1 month is 3 March, or 2 March in
//! a leap year) and the time of day is kept. A negative count changes nothing.
//! Raises EConvertError when the date or the result lies outside the years
//! 1 .. 9999, and then leaves date unchanged.
void IncMonth(TDateTime& date, std::int32_t count);
//! As IncMonth, backwards.
void DecMonth(TDateTime& date, std::int32_t count);
//! The same day count years later or earlier, with the time of day. Raise
//! EConvertError when that day does not exist (29 February into a common
//! year) or the year leaves 1 .. 9999, and then leave date unchanged.
void IncYear(TDateTime& date, std::int32_t count);
//! As IncYear, backwards.
void DecYear(TDateTime& date, std::int32_t count);
//! @}

//! \name Whole periods
//! At midnight; EndOfYear and EndOfMonth are the start of the last day. Raise
//! EConvertError for a date outside the valid range.
//! @{

//! 1 January of the date's year.
[[nodiscard]] TDateTime BeginOfYear(TDateTime date);
//! 31 December of the date's year.
[[nodiscard]] TDateTime EndOfYear(TDateTime date);
//! The first day of the date's month.
[[nodiscard]] TDateTime BeginOfMonth(TDateTime date);
//! The last day of the date's month.
[[nodiscard]] TDateTime EndOfMonth(TDateTime date);
//! @}

//! \name Whole hours, minutes and seconds
//! Trunc(value × 24) and so on, in 64 bits (saturated for values beyond them,
//! 0 for NaN); the reverse multiplies by the unit's fraction of a day.
//! @{

//! Whole hours: Trunc(value × 24).
[[nodiscard]] std::int64_t DateToHours(TDateTime value) noexcept;
//! Whole minutes: Trunc(value × 1440).
[[nodiscard]] std::int64_t DateToMinutes(TDateTime value) noexcept;
//! Whole seconds: Trunc(value × 86400).
[[nodiscard]] std::int64_t DateToSeconds(TDateTime value) noexcept;
//! value hours as a date-time (value / 24 days).
[[nodiscard]] TDateTime HoursToDate(std::int64_t value) noexcept;
//! value minutes as a date-time.
[[nodiscard]] TDateTime MinutesToDate(std::int64_t value) noexcept;
//! value seconds as a date-time.
[[nodiscard]] TDateTime SecondsToDate(std::int64_t value) noexcept;
//! @}

} // namespace plx
