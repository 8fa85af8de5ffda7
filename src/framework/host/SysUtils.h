// The host's system utilities: locale settings, number and string conversions,
// string and path routines, file routines and the FindFirst family, dates and times.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace plx {

//! \name Locale settings
//! The host's own locale, independent of the process's C locale. The routines
//! that depend on it read FormatSettings() unless given settings explicitly.
//! @{

struct TFormatSettings {
    char DecimalSeparator { '.' };
    char ThousandSeparator { ',' };
    char DateSeparator { '/' };
    char TimeSeparator { ':' };
    //! "/" and ":" in these formats stand for the separators above. The order of
    //! the first "d", "m" and "y" in ShortDateFormat is the order StrToDate reads.
    std::string ShortDateFormat { "dd/mm/yyyy" };
    std::string LongDateFormat { "dddd, d mmmm yyyy" };
    std::string ShortTimeFormat { "hh:nn" };
    std::string LongTimeFormat { "hh:nn:ss" };
    std::string TimeAMString { "AM" };
    std::string TimePMString { "PM" };
    std::array<std::string, 12> ShortMonthNames { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    std::array<std::string, 12> LongMonthNames { "January", "February", "March", "April", "May", "June",
        "July", "August", "September", "October", "November", "December" };
    //! Sunday first.
    std::array<std::string, 7> ShortDayNames { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    std::array<std::string, 7> LongDayNames { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday",
        "Friday", "Saturday" };
    //! A year typed with one or two digits is placed in the century window that
    //! starts this many years before the current year; 0 uses the current century.
    std::int32_t TwoDigitYearCenturyWindow { 50 };
};

//! The process-wide settings, created with the defaults above at first use.
//! Tests and applications change them in place.
[[nodiscard]] TFormatSettings& FormatSettings() noexcept;

//! @}

//! \name Number conversions
//! @{

[[nodiscard]] std::string IntToStr(std::int32_t value);
[[nodiscard]] std::string IntToStr(std::int64_t value);

//! Parses a 32-bit integer as the host's parser does: leading spaces, an
//! optional sign, decimal digits or hexadecimal digits after "$" or "0x"
//! (up to $FFFFFFFF, read as the 32-bit pattern, so "$FFFFFFFF" is -1), and
//! nothing after them. Raises EConvertError("'abc' is not a valid integer value").
[[nodiscard]] std::int32_t StrToInt(std::string_view text);
[[nodiscard]] std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) noexcept;
[[nodiscard]] std::optional<std::int32_t> TryStrToInt(std::string_view text) noexcept;

//! Upper-case hexadecimal of the 32-bit pattern, zero-padded to at least
//! digits digits (at most 32 are honoured): IntToHex(255, 4) is "00FF",
//! IntToHex(-1, 2) is "FFFFFFFF".
[[nodiscard]] std::string IntToHex(std::int32_t value, std::int32_t digits);

//! Parses a floating-point number written with the locale's decimal separator:
//! spaces around it, an optional sign, digits with at most one separator (at
//! least one digit), an optional exponent ("E", sign, digits). No thousands
//! separators. Raises EConvertError("'abc' is not a valid floating point value").
[[nodiscard]] double StrToFloat(std::string_view text);
[[nodiscard]] double StrToFloat(std::string_view text, const TFormatSettings& settings);
[[nodiscard]] std::optional<double> TryStrToFloat(std::string_view text, const TFormatSettings& settings) noexcept;

//! The shortest general form with up to 15 significant digits and the locale's
//! decimal separator: "1.5", "100", "0.0001"; scientific beyond 15 integer
//! digits or below 0.0001: "1E20", "1.5E-7". Infinities and NaN give "INF",
//! "-INF" and "NAN".
[[nodiscard]] std::string FloatToStr(double value);
[[nodiscard]] std::string FloatToStr(double value, const TFormatSettings& settings);

//! @}

//! \name String routines
//! Strings are 8-bit; positions are 1-based and 0 means "not found". Case
//! routines touch only the ASCII letters.
//! @{

//! The line break written by TStrings.Text and friends.
inline constexpr std::string_view sLineBreak = "\n";

//! At most count characters of text starting at position index; an index
//! below 1 counts as 1. Empty for count <= 0 or index > length.
[[nodiscard]] std::string Copy(std::string_view text, std::int32_t index, std::int32_t count);
//! The position of the first occurrence of sub in text; 0 when absent and
//! always 0 for an empty sub.
[[nodiscard]] std::int32_t Pos(std::string_view sub, std::string_view text) noexcept;

[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);
//! Removes the characters with codes up to 32 (spaces and control characters).
[[nodiscard]] std::string Trim(std::string_view text);
[[nodiscard]] std::string TrimLeft(std::string_view text);
[[nodiscard]] std::string TrimRight(std::string_view text);

//! Ordinal comparison: negative, 0 or positive.
[[nodiscard]] std::int32_t CompareStr(std::string_view a, std::string_view b) noexcept;
//! Comparison with the ASCII letters folded to upper case.
[[nodiscard]] std::int32_t CompareText(std::string_view a, std::string_view b) noexcept;
[[nodiscard]] bool SameText(std::string_view a, std::string_view b) noexcept;

//! @}

} // namespace plx
