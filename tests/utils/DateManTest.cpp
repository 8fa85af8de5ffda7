#include "utils/DateMan.h"

#include "rtl/Exceptions.h"

#include "TestLocale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace plx;
using plx::test::LocaleGuard;

namespace {

TDateTime At(std::uint16_t y, std::uint16_t m, std::uint16_t d, std::uint16_t h = 0, std::uint16_t n = 0, std::uint16_t s = 0,
    std::uint16_t ms = 0)
{
    // Before 1899-12-30 the time is the fraction below the (negative) day number.
    const TDateTime date = EncodeDate(y, m, d);
    const TDateTime time = EncodeTime(h, n, s, ms);
    return date < 0 ? date - time : date + time;
}

// "yyyy-mm-dd hh:nn:ss.zzz", as the host reads the value.
std::string Show(TDateTime value)
{
    return FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", value);
}

// The date a step (IncDay, DecMonth, ...) of count units moves start to, shown.
std::string After(TDateTime start, void (*step)(TDateTime&, std::int32_t), std::int32_t count)
{
    step(start, count);
    return Show(start);
}

} // namespace

TEST(DateManCalendar, LeapYearsFollowTheGregorianRule)
{
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2004));
    EXPECT_FALSE(IsLeapYear(2001));
    EXPECT_EQ(DayInMonth(1900, 2), 28) << "the host's calendar has no 29 February 1900";
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29).has_value());
    EXPECT_EQ(DayInMonth(2000, 2), 29);
    EXPECT_EQ(DayInMonth(2001, 2), 28);
    EXPECT_EQ(DayInMonth(2001, 4), 30);
    EXPECT_EQ(DayInMonth(2001, 11), 30);
    EXPECT_EQ(DayInMonth(2001, 12), 31);
    EXPECT_EQ(DayInMonth(2001, 13), 31);
    EXPECT_EQ(DayInMonth(2001, 0), 31);
}

TEST(DateManNames, MonthNamesFromTheLocale)
{
    EXPECT_EQ(StrMonth(1), "January");
    EXPECT_EQ(StrMonth(2), "February");
    EXPECT_EQ(StrMonth(12), "December");
    EXPECT_EQ(StrMonth(0), "December");
    EXPECT_EQ(StrMonth(13), "January");
    EXPECT_EQ(StrMonthShort(3), "Mar");
    LocaleGuard guard;
    FormatSettings().ShortMonthNames[2] = "Mrz";
    EXPECT_EQ(StrMonthShort(3), "Mrz");
}

TEST(DateManParsing, SeparatorsAndMonthNamesClean)
{
    const auto march12 = static_cast<std::int32_t>(EncodeDate(1998, 3, 12));
    EXPECT_EQ(EStrToDate("12.mar.1998"), march12);
    EXPECT_EQ(EStrToDate("12-Mar-1998"), march12);
    EXPECT_EQ(EStrToDate("12/3/1998"), march12);
    EXPECT_EQ(EStrToDate("12|3|1998"), march12);
    EXPECT_EQ(EStrToDate("12'3'1998"), march12);
    EXPECT_EQ(EStrToDate("12,3,1998"), march12);
    EXPECT_EQ(EStrToDate("12\\3\\1998"), march12);
    EXPECT_EQ(EStrToDate(" 12 - MARCH? - 1998 "), march12) << "letters and spaces around separators are dropped";
    EXPECT_THROW((void)EStrToDate("12 MAR 1998"), EConvertError) << "a space is not a separator: 1231998";
    EXPECT_THROW((void)EStrToDate(""), EConvertError);
    EXPECT_THROW((void)EStrToDate("31-Feb-2001"), EConvertError);
}

TEST(DateManParsing, TheLocaleDecidesOnlyTheOrder)
{
    LocaleGuard guard;
    FormatSettings().DateSeparator = '-';
    FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(EStrToDate("3.12.1998"), static_cast<std::int32_t>(EncodeDate(1998, 3, 12)));
    EXPECT_EQ(EStrToDate("Mar-12-1998"), static_cast<std::int32_t>(EncodeDate(1998, 3, 12)));
    EXPECT_THROW((void)EStrToDate("Mar 12, 1998"), EConvertError) << "cleans to 312/1998: not a date";
}

TEST(DateManFields, ReadOneField)
{
    const TDateTime d = At(2024, 5, 17, 13, 45, 30, 250);
    EXPECT_EQ(GetYear(d), 2024);
    EXPECT_EQ(GetMonth(d), 5);
    EXPECT_EQ(GetDay(d), 17);
    EXPECT_EQ(GetHour(d), 13);
    EXPECT_EQ(GetMin(d), 45);
    EXPECT_EQ(GetSec(d), 30);
}

TEST(DateManFields, SetDayKeepsTheTimeSetMonthAndYearDropIt)
{
    EXPECT_EQ(SetDay(1, 2.75), 2.75);
    EXPECT_EQ(Show(SetDay(5, 2.75)), "1900-01-05 18:00:00.000");
    EXPECT_EQ(SetMonth(1, 2.75), 2.0);
    EXPECT_EQ(SetMonth(3, At(2024, 5, 17, 13)), EncodeDate(2024, 3, 17));
    EXPECT_EQ(SetYear(1999, At(2024, 5, 17, 13)), EncodeDate(1999, 5, 17));
    EXPECT_THROW((void)SetMonth(2, EncodeDate(2001, 3, 31)), EConvertError);
    EXPECT_THROW((void)SetYear(2001, EncodeDate(2000, 2, 29)), EConvertError);
    EXPECT_THROW((void)SetYear(1900, EncodeDate(2000, 2, 29)), EConvertError);
}

TEST(DateManFields, SetTimeFieldsLeaveTheOtherFieldsExact)
{
    // Sweeps values where adding and subtracting fractions of a day would
    // leave a field one unit low.
    for (std::uint16_t h = 0; h < 24; ++h)
        for (std::uint16_t value = 0; value < 60; value += 7) {
            const TDateTime d = At(2024, 5, 17, h, 59, 59, 999);
            EXPECT_EQ(Show(SetSec(value, d)),
                Show(At(2024, 5, 17, h, 59, static_cast<std::uint16_t>(value % 60), 999)));
            EXPECT_EQ(Show(SetMin(value, d)), Show(At(2024, 5, 17, h, value, 59, 999)));
            EXPECT_EQ(Show(SetHour(value % 24, d)), Show(At(2024, 5, 17, value % 24, 59, 59, 999)));
        }
    EXPECT_EQ(Show(SetHour(7, At(2024, 5, 17, 13, 45, 30, 250))), "2024-05-17 07:45:30.250");
    EXPECT_EQ(Show(SetMin(0, At(2024, 5, 17, 13, 45, 30, 250))), "2024-05-17 13:00:30.250");
    EXPECT_EQ(Show(SetSec(59, At(2024, 5, 17, 13, 45, 30, 250))), "2024-05-17 13:45:59.250");
}

TEST(DateManFields, SetTimeFieldsCarryAndWorkBefore1900)
{
    EXPECT_EQ(Show(SetHour(25, At(2024, 5, 17, 13, 45))), "2024-05-18 01:45:00.000");
    EXPECT_EQ(Show(SetMin(61, At(2024, 12, 31, 23, 10))), "2025-01-01 00:01:00.000");
    // -1.25 is 1899-12-29 06:00: the time of a negative value is its absolute fraction.
    EXPECT_EQ(Show(-1.25), "1899-12-29 06:00:00.000");
    EXPECT_EQ(Show(SetHour(8, -1.25)), "1899-12-29 08:00:00.000");
    EXPECT_EQ(Show(SetHour(25, -1.25)), "1899-12-30 01:00:00.000");
    EXPECT_EQ(Show(SetHour(3, At(1700, 3, 1, 12, 30))), "1700-03-01 03:30:00.000");
    const double outside = 1e9;
    EXPECT_EQ(SetHour(3, outside), outside);
    EXPECT_TRUE(std::isnan(SetSec(3, std::numeric_limits<double>::quiet_NaN())));
}

TEST(DateManStepping, DaysHoursMinutesSeconds)
{
    TDateTime d = 1.0;
    IncDay(d, 3);
    EXPECT_EQ(d, 4.0);
    DecDay(d, 5);
    EXPECT_EQ(d, -1.0);
    d = 1.0;
    IncHour(d, 36);
    EXPECT_DOUBLE_EQ(d, 2.5);
    DecHour(d, 12);
    EXPECT_DOUBLE_EQ(d, 2.0);
    IncMin(d, 90);
    EXPECT_EQ(Show(d), "1900-01-01 01:30:00.000");
    DecMin(d, 30);
    IncSec(d, 59);
    EXPECT_EQ(Show(d), "1900-01-01 01:00:59.000");
    DecSec(d, 59);
    EXPECT_EQ(Show(d), "1900-01-01 01:00:00.000");
}

TEST(DateManStepping, BeforeTheEpochStepsGoTheRightWay)
{
    EXPECT_EQ(After(At(1850, 1, 1, 6), IncHour, 1), "1850-01-01 07:00:00.000");
    EXPECT_EQ(After(At(1850, 1, 1, 6), IncMin, 30), "1850-01-01 06:30:00.000");
    EXPECT_EQ(After(At(1850, 1, 1, 6), DecSec, 10), "1850-01-01 05:59:50.000");
    EXPECT_EQ(After(At(1850, 1, 1, 6), DecHour, 7), "1849-12-31 23:00:00.000") << "back over midnight into the day before";
    EXPECT_EQ(After(At(1850, 1, 1, 23, 30), IncMin, 45), "1850-01-02 00:15:00.000");
    TDateTime d = At(1899, 12, 30, 6);
    DecDay(d, 1);
    EXPECT_EQ(Show(d), "1899-12-29 06:00:00.000");
    IncDay(d, 2);
    EXPECT_EQ(Show(d), "1899-12-31 06:00:00.000") << "forward across the epoch";
    DecHour(d, 48);
    EXPECT_EQ(Show(d), "1899-12-29 06:00:00.000");
    EXPECT_EQ(After(At(1899, 12, 29, 20), IncHour, 10), "1899-12-30 06:00:00.000");
    EXPECT_EQ(After(At(1700, 3, 1, 12), IncDay, 365), "1701-03-01 12:00:00.000");
}

TEST(DateManFields, SetDayKeepsTheTimeBeforeTheEpochToo)
{
    EXPECT_EQ(Show(SetDay(1, At(1850, 1, 15, 6))), "1850-01-01 06:00:00.000");
    EXPECT_EQ(Show(SetDay(1, At(1899, 12, 30, 6))), "1899-12-01 06:00:00.000");
    EXPECT_EQ(Show(SetDay(31, At(1899, 12, 29, 6))), "1899-12-31 06:00:00.000");
    EXPECT_EQ(Show(SetDay(28, At(1900, 1, 3, 18))), "1900-01-28 18:00:00.000");
}

TEST(DateManStepping, IncMonthAddsTheLengthsFromTheDatesOwnMonth)
{
    EXPECT_EQ(After(At(2001, 1, 31, 10, 30), IncMonth, 1), "2001-03-03 10:30:00.000")
        << "the day is not clamped; the time is kept";
    EXPECT_EQ(After(At(2000, 1, 31), IncMonth, 1), "2000-03-02 00:00:00.000");
    EXPECT_EQ(After(At(2003, 12, 10), IncMonth, 3), "2004-03-10 00:00:00.000")
        << "December 2003, January and February 2004 (29 days)";
    EXPECT_EQ(After(At(2000, 3, 1), IncMonth, 12), "2001-03-01 00:00:00.000");
    EXPECT_EQ(After(At(2000, 3, 1), IncMonth, 120), "2010-03-01 00:00:00.000");
}

TEST(DateManStepping, DecMonthSubtractsTheMonthsBefore)
{
    EXPECT_EQ(After(At(2001, 3, 31, 8), DecMonth, 1), "2001-03-03 08:00:00.000") << "February 2001 has 28 days";
    EXPECT_EQ(After(At(2004, 3, 10), DecMonth, 1), "2004-02-10 00:00:00.000");
    EXPECT_EQ(After(At(2004, 1, 10), DecMonth, 1), "2003-12-10 00:00:00.000")
        << "the month before January is December of the year before";
    EXPECT_EQ(After(At(2004, 3, 10), DecMonth, 27), "2001-12-10 00:00:00.000");
    TDateTime back = At(1995, 6, 15, 12);
    IncMonth(back, 40);
    DecMonth(back, 40);
    EXPECT_EQ(Show(back), "1995-06-15 12:00:00.000");
}

TEST(DateManStepping, MonthStepsIgnoreNegativeCountsAndGuardTheYears)
{
    const TDateTime start = At(2020, 6, 15, 9);
    TDateTime d = start;
    IncMonth(d, -3);
    EXPECT_EQ(d, start);
    DecMonth(d, -3);
    EXPECT_EQ(d, start);
    IncMonth(d, 0);
    EXPECT_EQ(d, start);

    d = At(9999, 12, 1);
    EXPECT_THROW(IncMonth(d, 1), EConvertError);
    EXPECT_EQ(d, At(9999, 12, 1)) << "unchanged after the error";
    EXPECT_EQ(After(At(9999, 11, 1), IncMonth, 1), "9999-12-01 00:00:00.000");
    d = At(1, 1, 15);
    EXPECT_THROW(DecMonth(d, 1), EConvertError);
    d = start;
    EXPECT_THROW(IncMonth(d, 2147483647), EConvertError) << "a huge count fails at once";
    EXPECT_EQ(d, start);
    d = 1e12;
    EXPECT_THROW(IncMonth(d, 1), EConvertError);
}

TEST(DateManStepping, YearsKeepTheTimeAndRefuseMissingDays)
{
    TDateTime d = At(2000, 2, 28, 10);
    IncYear(d, 4);
    EXPECT_EQ(Show(d), "2004-02-28 10:00:00.000");
    DecYear(d, 104);
    EXPECT_EQ(Show(d), "1900-02-28 10:00:00.000");
    d = At(2000, 2, 29, 6);
    EXPECT_THROW(IncYear(d, 1), EConvertError);
    EXPECT_EQ(d, At(2000, 2, 29, 6));
    IncYear(d, 4);
    EXPECT_EQ(Show(d), "2004-02-29 06:00:00.000");
    d = At(2000, 1, 1);
    DecYear(d, 1999);
    EXPECT_EQ(GetYear(d), 1);
    d = At(2000, 1, 1);
    EXPECT_THROW(DecYear(d, 2000), EConvertError);
    EXPECT_THROW(IncYear(d, 8000), EConvertError);
    EXPECT_THROW(IncYear(d, -2147483647 - 1), EConvertError);
    EXPECT_EQ(After(-1.25, DecYear, 1), "1898-12-29 06:00:00.000") << "from 1899-12-29 06:00";
}

TEST(DateManPeriods, FirstAndLastDaysAtMidnight)
{
    const TDateTime d = At(2000, 2, 10, 15, 30);
    EXPECT_EQ(BeginOfYear(d), EncodeDate(2000, 1, 1));
    EXPECT_EQ(EndOfYear(d), EncodeDate(2000, 12, 31));
    EXPECT_EQ(BeginOfMonth(d), EncodeDate(2000, 2, 1));
    for (std::uint16_t day = 1; day <= 29; ++day)
        EXPECT_EQ(EndOfMonth(At(2000, 2, day, 23, 59)), EncodeDate(2000, 2, 29));
    EXPECT_EQ(EndOfMonth(At(2001, 2, 3)), EncodeDate(2001, 2, 28));
    EXPECT_EQ(EndOfMonth(At(9999, 12, 15)), EncodeDate(9999, 12, 31));
    EXPECT_THROW((void)BeginOfMonth(1e12), EConvertError);
}

TEST(DateManWholeUnits, ConversionsIn64Bits)
{
    EXPECT_EQ(DateToHours(1.5), 36);
    EXPECT_EQ(HoursToDate(36), 1.5);
    EXPECT_EQ(DateToMinutes(1.5), 2160);
    EXPECT_EQ(DateToSeconds(1.5), 129600);
    EXPECT_DOUBLE_EQ(MinutesToDate(2160), 1.5);
    EXPECT_DOUBLE_EQ(SecondsToDate(129600), 1.5);
    const TDateTime newYear2024 = EncodeDate(2024, 1, 1); // day 45292
    EXPECT_EQ(DateToSeconds(newYear2024), 3913228800) << "beyond 32 bits";
    EXPECT_EQ(DateToMinutes(newYear2024), 65220480);
    EXPECT_EQ(DateToHours(-1.5), -36) << "Trunc cuts toward zero";
    EXPECT_EQ(DateToHours(0.99999), 23);
    EXPECT_EQ(DateToSeconds(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(DateToSeconds(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(DateToSeconds(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_DOUBLE_EQ(SecondsToDate(DateToSeconds(newYear2024)), newYear2024);
}
