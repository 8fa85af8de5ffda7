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

//! \name Paths
//! Paths use the platform's delimiter. A path's folder part keeps its
//! trailing delimiter; its extension starts at the last "." of the name part.
//! @{

inline constexpr char PathDelim = '/';

//! The folder part with its trailing delimiter: "/a/b.txt" gives "/a/".
[[nodiscard]] std::string ExtractFilePath(std::string_view fileName);
//! The folder part without its trailing delimiter (except for the root).
[[nodiscard]] std::string ExtractFileDir(std::string_view fileName);
//! The name after the last delimiter.
[[nodiscard]] std::string ExtractFileName(std::string_view fileName);
//! The extension with its dot (".txt"); empty without one.
[[nodiscard]] std::string ExtractFileExt(std::string_view fileName);
//! Replaces the extension (or appends one); an empty extension removes it.
[[nodiscard]] std::string ChangeFileExt(std::string_view fileName, std::string_view extension);

//! @}

//! \name Files and folders
//! None of these raise: failure is a false result, -1 or an error code.
//! @{

//! A file (anything but a folder) exists at the path.
[[nodiscard]] bool FileExists(const std::string& fileName);
[[nodiscard]] bool DirectoryExists(const std::string& directory);
//! Creates one folder; false when it exists already or its parent is missing.
bool CreateDir(const std::string& directory);
//! Removes an empty folder.
bool RemoveDir(const std::string& directory);
bool DeleteFile(const std::string& fileName);
bool RenameFile(const std::string& oldName, const std::string& newName);
[[nodiscard]] std::string GetCurrentDir();
bool SetCurrentDir(const std::string& directory);

// File open modes: the access in the low bits, the sharing wish in the next
// ones. Sharing is advisory on this platform and not enforced.
inline constexpr std::uint16_t fmCreate = 0xFFFF;
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint16_t fmShareCompat = 0x0000;
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
inline constexpr std::uint16_t fmShareDenyWrite = 0x0020;
inline constexpr std::uint16_t fmShareDenyRead = 0x0030;
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

//! Opens an existing file (not a folder) and returns its handle, or -1.
[[nodiscard]] std::int32_t FileOpen(const std::string& fileName, std::uint16_t mode);
//! Creates or truncates a file for reading and writing; the handle or -1.
[[nodiscard]] std::int32_t FileCreate(const std::string& fileName);
//! Reads up to count bytes; the number read (0 at the end), or -1.
std::int32_t FileRead(std::int32_t handle, void* buffer, std::int32_t count);
//! Writes count bytes; the number written, or -1.
std::int32_t FileWrite(std::int32_t handle, const void* buffer, std::int32_t count);
//! Moves the file position (origin 0: start, 1: current, 2: end); the new
//! position, or -1.
std::int64_t FileSeek(std::int32_t handle, std::int64_t offset, std::int32_t origin);
void FileClose(std::int32_t handle);
//! The last-write time of an open file as a packed date and time (see
//! FileDateToDateTime), or -1.
[[nodiscard]] std::int32_t FileGetDate(std::int32_t handle);

// Entry attributes for the FindFirst family.
inline constexpr std::int32_t faReadOnly = 0x01;
inline constexpr std::int32_t faHidden = 0x02; //!< names that start with "."
inline constexpr std::int32_t faSysFile = 0x04; //!< devices, pipes, sockets, broken links
inline constexpr std::int32_t faVolumeID = 0x08;
inline constexpr std::int32_t faDirectory = 0x10;
inline constexpr std::int32_t faArchive = 0x20;
inline constexpr std::int32_t faAnyFile = 0x3F;

namespace detail {
struct TFindState;
}

//! One entry found by FindFirst or FindNext.
struct TSearchRec {
    std::int32_t Time { 0 }; //!< last write, packed as FileGetDate
    std::int64_t Size { 0 };
    std::int32_t Attr { 0 };
    std::string Name;
    std::int32_t ExcludeAttr { 0 };
    std::shared_ptr<detail::TFindState> FindHandle;
};

//! Starts listing the folder part of path for names matching its last part
//! ("*" any run, "?" one character; "*.*" matches every name, and "x.*" also
//! matches "x"). Plain files and read-only files are always listed; hidden,
//! system and folder entries only when attr includes their bit. "." and ".."
//! are not listed. Entries come in byte order of their names. Returns 0 and
//! fills rec, or a non-zero code when nothing matches.
std::int32_t FindFirst(const std::string& path, std::int32_t attr, TSearchRec& rec);
//! The next entry: 0 and rec filled, or a non-zero code at the end.
std::int32_t FindNext(TSearchRec& rec);
//! Releases the listing (also released when rec is destroyed).
void FindClose(TSearchRec& rec);

//! @}

//! \name Dates and times
//! A TDateTime counts days since 1899-12-30 00:00 in the proleptic Gregorian
//! calendar; the fraction is the time of day. For a negative value the date is
//! the whole part towards zero and the time is the absolute fraction (-1.25 is
//! 1899-12-29 06:00). Valid dates run from 0001-01-01 to 9999-12-31.
//! @{

using TDateTime = double;

//! Raises EConvertError("Invalid argument to date encode") for a date that
//! does not exist.
[[nodiscard]] TDateTime EncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);
[[nodiscard]] std::optional<TDateTime> TryEncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) noexcept;
//! Splits the date part (after rounding the value to the millisecond); a value
//! outside the valid range gives zeros.
void DecodeDate(TDateTime date, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day) noexcept;
//! Raises EConvertError("Invalid argument to time encode") unless hour < 24,
//! min < 60, sec < 60 and msec < 1000.
[[nodiscard]] TDateTime EncodeTime(std::uint16_t hour, std::uint16_t min, std::uint16_t sec, std::uint16_t msec);
[[nodiscard]] std::optional<TDateTime> TryEncodeTime(std::uint16_t hour, std::uint16_t min, std::uint16_t sec, std::uint16_t msec) noexcept;
//! Splits the time of day, rounded to the millisecond.
void DecodeTime(TDateTime time, std::uint16_t& hour, std::uint16_t& min, std::uint16_t& sec, std::uint16_t& msec) noexcept;
//! 1 for Sunday up to 7 for Saturday; 0 outside the valid range.
[[nodiscard]] std::int32_t DayOfWeek(TDateTime date) noexcept;

//! The current local date and time; Date() is its date part.
[[nodiscard]] TDateTime Now();
[[nodiscard]] TDateTime Date();

//! Formats with the host's patterns (letters in either case):
//! d dd (day), ddd dddd (day names), ddddd dddddd (short and long date formats),
//! m mm (month, or minutes right after an hour), mmm mmmm (month names),
//! yy yyyy, h hh (12-hour when an am/pm pattern follows), n nn, s ss, z zzz,
//! t tt (short and long time formats), c (short date, then long time unless
//! midnight), am/pm a/p ampm, "/" and ":" (the locale's separators), text in
//! single or double quotes as is; any other character as is.
[[nodiscard]] std::string FormatDateTime(std::string_view format, TDateTime dateTime);
[[nodiscard]] std::string FormatDateTime(std::string_view format, TDateTime dateTime, const TFormatSettings& settings);
[[nodiscard]] std::string DateToStr(TDateTime date);
[[nodiscard]] std::string TimeToStr(TDateTime time);
[[nodiscard]] std::string DateTimeToStr(TDateTime dateTime);

//! Reads a date as two or three numbers separated by the locale's date
//! separator, in the order of day, month and year of ShortDateFormat; a
//! missing year is the current one, and a one- or two-digit year is placed by
//! TwoDigitYearCenturyWindow. Spaces around the parts are allowed. Raises
//! EConvertError("'text' is not a valid date").
[[nodiscard]] TDateTime StrToDate(std::string_view text);
[[nodiscard]] TDateTime StrToDate(std::string_view text, const TFormatSettings& settings);
[[nodiscard]] std::optional<TDateTime> TryStrToDate(std::string_view text, const TFormatSettings& settings);

//! Converts a packed file date and time (FileGetDate, TSearchRec::Time).
[[nodiscard]] TDateTime FileDateToDateTime(std::int32_t fileDate) noexcept;

//! @}

} // namespace plx
