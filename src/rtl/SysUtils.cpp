#include "rtl/SysUtils.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plx {

namespace {

constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

constexpr char UpCase(char c) noexcept { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
constexpr char LoCase(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

constexpr int HexValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

constexpr bool IsBlank(char c) noexcept { return static_cast<unsigned char>(c) <= ' '; }

// For a number from_chars found out of range: whether it is too small rather
// than too large, from the power of ten of its leading digit and its exponent.
bool IsUnderflow(std::string_view number) noexcept
{
    if (!number.empty() && number.front() == '-')
        number.remove_prefix(1);
    const std::size_t e = std::min(number.find('e'), number.size());
    std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    std::int64_t power = 0;
    bool found = false;
    for (std::size_t i = 0; i < mantissa.size() && !found; ++i) {
        if (i == point || mantissa[i] == '0')
            continue;
        power = i < point ? static_cast<std::int64_t>(point - i - 1) : -static_cast<std::int64_t>(i - point);
        found = true;
    }
    std::int64_t exponent = 0;
    std::string_view exponentText = e < number.size() ? number.substr(e + 1) : std::string_view();
    const bool negative = !exponentText.empty() && exponentText.front() == '-';
    for (char c : exponentText)
        if (IsDigit(c) && exponent < 1000000000)
            exponent = exponent * 10 + (c - '0');
    return power + (negative ? -exponent : exponent) < 0;
}

[[noreturn]] void ConvertError(std::string_view text, std::string_view what)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid " + std::string(what));
}

} // namespace

TFormatSettings& FormatSettings() noexcept
{
    static TFormatSettings settings;
    return settings;
}

// ---------------------------------------------------------------------------
// Number conversions

std::string IntToStr(std::int32_t value)
{
    return IntToStr(static_cast<std::int64_t>(value));
}

std::string IntToStr(std::int64_t value)
{
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) noexcept
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate in 64 bits and stop as soon as the value cannot fit any more.
    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : negative ? 2147483648ull : 2147483647ull;
    for (; i < text.size(); ++i) {
        int digit = hex ? HexValue(text[i]) : IsDigit(text[i]) ? text[i] - '0' : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    // Negate in unsigned arithmetic: hexadecimal patterns wrap as 32-bit values.
    auto bits = static_cast<std::uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::int32_t StrToInt(std::string_view text)
{
    if (auto value = TryStrToInt(text))
        return *value;
    ConvertError(text, "integer value");
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) noexcept
{
    return TryStrToInt(text).value_or(fallback);
}

std::string IntToHex(std::int32_t value, std::int32_t digits)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    auto bits = static_cast<std::uint32_t>(value);
    std::string result;
    do {
        result.push_back(kHex[bits & 0xF]);
        bits >>= 4;
    } while (bits != 0);
    const auto width = static_cast<std::size_t>(std::clamp<std::int32_t>(digits, 0, 32));
    if (result.size() < width)
        result.append(width - result.size(), '0');
    std::reverse(result.begin(), result.end());
    return result;
}

std::optional<double> TryStrToFloat(std::string_view text, const TFormatSettings& settings) noexcept
{
    // Validate the host's grammar, then hand from_chars the same number written
    // with "." and without a leading "+".
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    std::string normal;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            normal.push_back('-');
        ++i;
    }
    std::size_t digits = 0;
    bool separator = false;
    for (; i < n; ++i) {
        if (IsDigit(text[i])) {
            normal.push_back(text[i]);
            ++digits;
        } else if (text[i] == settings.DecimalSeparator && !separator) {
            normal.push_back('.');
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            normal.push_back(text[i++]);
        std::size_t exponentDigits = 0;
        for (; i < n && IsDigit(text[i]); ++i, ++exponentDigits)
            normal.push_back(text[i]);
        if (exponentDigits == 0)
            return std::nullopt;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec == std::errc::result_out_of_range && IsUnderflow(normal))
        return normal.front() == '-' ? -0.0 : 0.0;
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings)
{
    if (auto value = TryStrToFloat(text, settings))
        return *value;
    ConvertError(text, "floating point value");
}

double StrToFloat(std::string_view text)
{
    return StrToFloat(text, FormatSettings());
}

std::string FloatToStr(double value, const TFormatSettings& settings)
{
    constexpr int kPrecision = 15;
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    // Fifteen significant digits, correctly rounded: "d.dddddddddddddde±x".
    char buffer[48];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kPrecision - 1);
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    std::string result;
    if (text.front() == '-') {
        result.push_back('-');
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (IsDigit(c))
            digits.push_back(c);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent10 = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+')
        exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent10);
    // The decimal point sits after `point` digits (0.1234 has point 0).
    const int point = exponent10 + 1;
    const auto count = static_cast<int>(digits.size());
    if (point > kPrecision || point < -3) {
        result.push_back(digits[0]);
        if (count > 1) {
            result.push_back(settings.DecimalSeparator);
            result.append(digits, 1);
        }
        result.push_back('E');
        result += std::to_string(exponent10);
    } else if (point <= 0) {
        result.push_back('0');
        result.push_back(settings.DecimalSeparator);
        result.append(static_cast<std::size_t>(-point), '0');
        result += digits;
    } else {
        for (int k = 0; k < std::max(point, count); ++k) {
            if (k == point)
                result.push_back(settings.DecimalSeparator);
            result.push_back(k < count ? digits[static_cast<std::size_t>(k)] : '0');
        }
    }
    return result;
}

std::string FloatToStr(double value)
{
    return FloatToStr(value, FormatSettings());
}

// ---------------------------------------------------------------------------
// String routines

std::string Copy(std::string_view text, std::int32_t index, std::int32_t count)
{
    const std::int64_t start = std::max<std::int64_t>(index, 1) - 1;
    const auto length = static_cast<std::int64_t>(text.size());
    if (count <= 0 || start >= length)
        return {};
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(std::min<std::int64_t>(count, length - start))));
}

std::int32_t Pos(std::string_view sub, std::string_view text) noexcept
{
    if (sub.empty())
        return 0;
    const std::size_t p = text.find(sub);
    return p == std::string_view::npos ? 0 : static_cast<std::int32_t>(p + 1);
}

std::string UpperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = UpCase(c);
    return result;
}

std::string LowerCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = LoCase(c);
    return result;
}

std::string TrimLeft(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    return std::string(text.substr(first));
}

std::string TrimRight(std::string_view text)
{
    std::size_t last = text.size();
    while (last > 0 && IsBlank(text[last - 1]))
        --last;
    return std::string(text.substr(0, last));
}

std::string Trim(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::int32_t CompareStr(std::string_view a, std::string_view b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

std::int32_t CompareText(std::string_view a, std::string_view b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(UpCase(a[i]));
        auto y = static_cast<unsigned char>(UpCase(b[i]));
        if (x != y)
            return x - y;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

// ---------------------------------------------------------------------------
// Paths

namespace {

// 1-based position of the last delimiter, 0 if none.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters) noexcept
{
    const std::size_t p = text.find_last_of(delimiters);
    return p == std::string_view::npos ? 0 : p + 1;
}

constexpr std::string_view kPathDelims = "/";
constexpr std::string_view kExtDelims = "./";

} // namespace

std::string ExtractFilePath(std::string_view fileName)
{
    return std::string(fileName.substr(0, LastDelimiter(fileName, kPathDelims)));
}

std::string ExtractFileDir(std::string_view fileName)
{
    std::size_t i = LastDelimiter(fileName, kPathDelims);
    // Keep the delimiter of the root ("/x" gives "/") and of doubled delimiters.
    if (i > 1 && fileName[i - 2] != PathDelim)
        --i;
    return std::string(fileName.substr(0, i));
}

std::string ExtractFileName(std::string_view fileName)
{
    return std::string(fileName.substr(LastDelimiter(fileName, kPathDelims)));
}

std::string ExtractFileExt(std::string_view fileName)
{
    const std::size_t i = LastDelimiter(fileName, kExtDelims);
    return i > 0 && fileName[i - 1] == '.' ? std::string(fileName.substr(i - 1)) : std::string();
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension)
{
    const std::size_t i = LastDelimiter(fileName, kExtDelims);
    const std::size_t keep = i > 0 && fileName[i - 1] == '.' ? i - 1 : fileName.size();
    std::string result(fileName.substr(0, keep));
    result += extension;
    return result;
}

// ---------------------------------------------------------------------------
// Files and folders

namespace {

namespace fs = std::filesystem;

// Packs a local time as the host's file date: seconds / 2 in bits 0-4, minutes
// in 5-10, hours in 11-15, day in 16-20, month in 21-24, year - 1980 above.
std::int32_t PackFileDate(std::time_t time) noexcept
{
    std::tm local {};
    if (!localtime_r(&time, &local))
        return -1;
    const int year = local.tm_year + 1900;
    if (year < 1980)
        return (1 << 21) | (1 << 16);
    if (year > 2107)
        return static_cast<std::int32_t>((127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u);
    const auto packed = (static_cast<std::uint32_t>(year - 1980) << 25) | (static_cast<std::uint32_t>(local.tm_mon + 1) << 21)
        | (static_cast<std::uint32_t>(local.tm_mday) << 16) | (static_cast<std::uint32_t>(local.tm_hour) << 11)
        | (static_cast<std::uint32_t>(local.tm_min) << 5) | static_cast<std::uint32_t>(local.tm_sec / 2);
    return static_cast<std::int32_t>(packed);
}

} // namespace

bool FileExists(const std::string& fileName)
{
    std::error_code ec;
    const auto status = fs::status(fileName, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool DirectoryExists(const std::string& directory)
{
    std::error_code ec;
    return fs::is_directory(directory, ec);
}

bool CreateDir(const std::string& directory)
{
    return !directory.empty() && ::mkdir(directory.c_str(), 0777) == 0;
}

bool RemoveDir(const std::string& directory)
{
    return !directory.empty() && ::rmdir(directory.c_str()) == 0;
}

bool DeleteFile(const std::string& fileName)
{
    return !fileName.empty() && !DirectoryExists(fileName) && ::unlink(fileName.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName)
{
    // The host never replaces an existing file by renaming.
    std::error_code ec;
    if (oldName.empty() || newName.empty() || fs::exists(fs::symlink_status(newName, ec)))
        return false;
    return ::rename(oldName.c_str(), newName.c_str()) == 0;
}

std::string GetCurrentDir()
{
    std::error_code ec;
    auto path = fs::current_path(ec);
    return ec ? std::string() : path.string();
}

bool SetCurrentDir(const std::string& directory)
{
    return !directory.empty() && ::chdir(directory.c_str()) == 0;
}

std::int32_t FileOpen(const std::string& fileName, std::uint16_t mode)
{
    int flags = 0;
    switch (mode & 3) {
    case fmOpenRead:
        flags = O_RDONLY;
        break;
    case fmOpenWrite:
        flags = O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags = O_RDWR;
        break;
    default:
        return -1;
    }
    const int fd = ::open(fileName.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

std::int32_t FileCreate(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd < 0 ? -1 : fd;
}

std::int32_t FileRead(std::int32_t handle, void* buffer, std::int32_t count)
{
    if (handle < 0 || count < 0)
        return -1;
    auto* bytes = static_cast<char*>(buffer);
    std::int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(handle, bytes + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return done > 0 ? done : -1;
        if (n == 0)
            break;
        done += static_cast<std::int32_t>(n);
    }
    return done;
}

std::int32_t FileWrite(std::int32_t handle, const void* buffer, std::int32_t count)
{
    if (handle < 0 || count < 0)
        return -1;
    const auto* bytes = static_cast<const char*>(buffer);
    std::int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(handle, bytes + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return done > 0 ? done : -1;
        done += static_cast<std::int32_t>(n);
    }
    return done;
}

std::int64_t FileSeek(std::int32_t handle, std::int64_t offset, std::int32_t origin)
{
    static constexpr int kWhence[] = { SEEK_SET, SEEK_CUR, SEEK_END };
    if (handle < 0 || origin < 0 || origin > 2)
        return -1;
    const off_t position = ::lseek(handle, static_cast<off_t>(offset), kWhence[origin]);
    return position < 0 ? -1 : static_cast<std::int64_t>(position);
}

void FileClose(std::int32_t handle)
{
    if (handle >= 0)
        ::close(handle);
}

std::int32_t FileGetDate(std::int32_t handle)
{
    struct stat info {};
    if (handle < 0 || ::fstat(handle, &info) != 0)
        return -1;
    return PackFileDate(info.st_mtime);
}

// ---------------------------------------------------------------------------
// FindFirst, FindNext, FindClose

namespace detail {

struct TFindState {
    struct Entry {
        std::string Name;
        std::int32_t Attr { 0 };
        std::int64_t Size { 0 };
        std::int32_t Time { 0 };
    };
    std::vector<Entry> Entries;
    std::size_t Next { 0 };
};

} // namespace detail

namespace {

constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorNoMoreFiles = 18;

// "*" matches any run and "?" one character; the backtracking keeps only the
// latest star, which is enough for glob patterns and stays linear in practice.
bool WildcardMatch(std::string_view pattern, std::string_view name) noexcept
{
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool MatchesMask(std::string_view pattern, std::string_view name) noexcept
{
    if (WildcardMatch(pattern, name))
        return true;
    // As on the host, "x.*" also matches a name without an extension.
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" && name.find('.') == std::string_view::npos
        && WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

detail::TFindState::Entry DescribeEntry(const std::string& folder, const std::string& name)
{
    detail::TFindState::Entry entry;
    entry.Name = name;
    const std::string full = folder + name;
    struct stat info {};
    if (::stat(full.c_str(), &info) != 0 && ::lstat(full.c_str(), &info) != 0)
        info = {};
    if (S_ISDIR(info.st_mode))
        entry.Attr |= faDirectory;
    else if (!S_ISREG(info.st_mode))
        entry.Attr |= faSysFile;
    else
        entry.Size = static_cast<std::int64_t>(info.st_size);
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        entry.Attr |= faReadOnly;
    if (!name.empty() && name.front() == '.')
        entry.Attr |= faHidden;
    entry.Time = PackFileDate(info.st_mtime);
    return entry;
}

void FillSearchRec(TSearchRec& rec, const detail::TFindState::Entry& entry)
{
    rec.Name = entry.Name;
    rec.Attr = entry.Attr;
    rec.Size = entry.Size;
    rec.Time = entry.Time;
}

} // namespace

std::int32_t FindFirst(const std::string& path, std::int32_t attr, TSearchRec& rec)
{
    FindClose(rec);
    rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    const std::string folder = ExtractFilePath(path);
    const std::string pattern = ExtractFileName(path);
    if (pattern.empty())
        return kErrorFileNotFound;
    auto state = std::make_shared<detail::TFindState>();
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!MatchesMask(pattern, name))
            continue;
        auto entry = DescribeEntry(folder, name);
        if ((entry.Attr & rec.ExcludeAttr) == 0)
            state->Entries.push_back(std::move(entry));
    }
    if (state->Entries.empty())
        return kErrorFileNotFound;
    std::sort(state->Entries.begin(), state->Entries.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    rec.FindHandle = std::move(state);
    return FindNext(rec);
}

std::int32_t FindNext(TSearchRec& rec)
{
    auto* state = rec.FindHandle.get();
    if (!state || state->Next >= state->Entries.size())
        return kErrorNoMoreFiles;
    FillSearchRec(rec, state->Entries[state->Next++]);
    return 0;
}

void FindClose(TSearchRec& rec)
{
    rec.FindHandle.reset();
}

// ---------------------------------------------------------------------------
// Dates and times

namespace {

namespace chr = std::chrono;

constexpr double kMSecsPerDay = 86400000.0;
constexpr std::int64_t kMSecsPerDayInt = 86400000;
// TDateTime day numbers of 1970-01-01, 0001-01-01 and 9999-12-31.
constexpr std::int64_t kUnixDateDelta = 25569;
constexpr std::int64_t kMinDateNumber = -693593;
constexpr std::int64_t kMaxDateNumber = 2958465;

struct TDayAndTime {
    std::int64_t Day { 0 }; //!< days since 1899-12-30
    std::int64_t MSec { 0 }; //!< milliseconds into the day
};

// Rounds to the millisecond first, so 23:59:59.9996 becomes the next midnight
// instead of a 24th hour.
std::optional<TDayAndTime> SplitDateTime(TDateTime value) noexcept
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(kMaxDateNumber + 1))
        return std::nullopt;
    const auto total = static_cast<std::int64_t>(std::nearbyint(value * kMSecsPerDay));
    TDayAndTime result { total / kMSecsPerDayInt, total % kMSecsPerDayInt };
    if (result.MSec < 0)
        result.MSec = -result.MSec;
    if (result.Day < kMinDateNumber || result.Day > kMaxDateNumber)
        return std::nullopt;
    return result;
}

chr::year_month_day DayToDate(std::int64_t day) noexcept
{
    return chr::year_month_day(chr::sys_days(chr::days(day - kUnixDateDelta)));
}

struct TDateFields {
    std::uint16_t Year { 0 }, Month { 0 }, Day { 0 };
    std::uint16_t Hour { 0 }, Min { 0 }, Sec { 0 }, MSec { 0 };
    std::int32_t DayOfWeek { 0 };
};

TDateFields DecodeAll(TDateTime value) noexcept
{
    TDateFields f;
    auto split = SplitDateTime(value);
    if (!split)
        return f;
    const auto ymd = DayToDate(split->Day);
    f.Year = static_cast<std::uint16_t>(static_cast<int>(ymd.year()));
    f.Month = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month()));
    f.Day = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day()));
    // 1899-12-30 was a Saturday (7).
    f.DayOfWeek = static_cast<std::int32_t>(((split->Day + 6) % 7 + 7) % 7 + 1);
    f.Hour = static_cast<std::uint16_t>(split->MSec / 3600000);
    f.Min = static_cast<std::uint16_t>(split->MSec / 60000 % 60);
    f.Sec = static_cast<std::uint16_t>(split->MSec / 1000 % 60);
    f.MSec = static_cast<std::uint16_t>(split->MSec % 1000);
    return f;
}

} // namespace

std::optional<TDateTime> TryEncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) noexcept
{
    if (year < 1 || year > 9999)
        return std::nullopt;
    const chr::year_month_day ymd { chr::year(year), chr::month(month), chr::day(day) };
    if (!ymd.ok())
        return std::nullopt;
    return static_cast<TDateTime>(chr::sys_days(ymd).time_since_epoch().count() + kUnixDateDelta);
}

TDateTime EncodeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day)
{
    if (auto date = TryEncodeDate(year, month, day))
        return *date;
    throw EConvertError("Invalid argument to date encode");
}

void DecodeDate(TDateTime date, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day) noexcept
{
    const TDateFields f = DecodeAll(date);
    year = f.Year;
    month = f.Month;
    day = f.Day;
}

std::optional<TDateTime> TryEncodeTime(std::uint16_t hour, std::uint16_t min, std::uint16_t sec, std::uint16_t msec) noexcept
{
    if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000)
        return std::nullopt;
    return (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / kMSecsPerDay;
}

TDateTime EncodeTime(std::uint16_t hour, std::uint16_t min, std::uint16_t sec, std::uint16_t msec)
{
    if (auto time = TryEncodeTime(hour, min, sec, msec))
        return *time;
    throw EConvertError("Invalid argument to time encode");
}

void DecodeTime(TDateTime time, std::uint16_t& hour, std::uint16_t& min, std::uint16_t& sec, std::uint16_t& msec) noexcept
{
    const TDateFields f = DecodeAll(time);
    hour = f.Hour;
    min = f.Min;
    sec = f.Sec;
    msec = f.MSec;
}

std::int32_t DayOfWeek(TDateTime date) noexcept
{
    return DecodeAll(date).DayOfWeek;
}

TDateTime Now()
{
    const auto now = chr::system_clock::now();
    const std::time_t seconds = chr::system_clock::to_time_t(now);
    std::tm local {};
    localtime_r(&seconds, &local);
    const auto msec = chr::duration_cast<chr::milliseconds>(now.time_since_epoch()).count() % 1000;
    const auto date = TryEncodeDate(static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1),
        static_cast<std::uint16_t>(local.tm_mday));
    // A leap second (tm_sec 60) counts as the last second of its minute.
    const auto time = TryEncodeTime(static_cast<std::uint16_t>(local.tm_hour), static_cast<std::uint16_t>(local.tm_min),
        static_cast<std::uint16_t>(std::min(local.tm_sec, 59)), static_cast<std::uint16_t>(msec < 0 ? 0 : msec));
    return date.value_or(0) + time.value_or(0);
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime FileDateToDateTime(std::int32_t fileDate) noexcept
{
    const auto bits = static_cast<std::uint32_t>(fileDate);
    const auto date = TryEncodeDate(static_cast<std::uint16_t>((bits >> 25) + 1980), static_cast<std::uint16_t>((bits >> 21) & 15),
        static_cast<std::uint16_t>((bits >> 16) & 31));
    const auto time = TryEncodeTime(static_cast<std::uint16_t>((bits >> 11) & 31), static_cast<std::uint16_t>((bits >> 5) & 63),
        static_cast<std::uint16_t>((bits & 31) * 2), 0);
    return date && time ? *date + *time : 0;
}

namespace {

void AppendNumber(std::string& out, int value, int width)
{
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

bool StartsWithText(std::string_view text, std::size_t at, std::string_view what) noexcept
{
    return text.size() - at >= what.size() && SameText(text.substr(at, what.size()), what);
}

// Whether the hour at `from` is followed by an am/pm pattern before the next
// hour, outside quoted text.
bool UsesTwelveHourClock(std::string_view format, std::size_t from) noexcept
{
    bool quoted = false;
    for (std::size_t i = from; i < format.size(); ++i) {
        const char c = UpCase(format[i]);
        if (c == '\'' || c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == 'A')
            return StartsWithText(format, i, "am/pm") || StartsWithText(format, i, "a/p") || StartsWithText(format, i, "ampm");
        else if (c == 'H')
            return false;
    }
    return false;
}

// Formats one date and time by a pattern: runs of a pattern letter (yy, mmm,
// hh) are fields, quoted text is copied, anything else stands for itself.
class TDateFormatter {
public:
    TDateFormatter(TDateTime value, const TFormatSettings& settings)
        : m_fields(DecodeAll(value))
        , m_settings(settings)
    {
    }

    void Append(std::string& out, std::string_view format, int depth) const;

private:
    //! Y, M and D fields, and D's nested short (ddddd) and long (dddddd) dates.
    void AppendDateField(std::string& out, char token, int n, int depth) const;
    //! H, N (minutes), S and Z fields.
    void AppendTimeField(std::string& out, char token, int n, bool twelveHour) const;
    //! T (a time format) and C (the date, then the time unless it is midnight).
    void AppendNested(std::string& out, char token, int n, int depth) const;
    //! Everything that is not a counted field; returns where the pattern goes on.
    std::size_t AppendOther(std::string& out, std::string_view format, std::size_t at) const;

    const TDateFields m_fields;
    const TFormatSettings& m_settings;
};

bool IsCountedToken(char token) noexcept
{
    return std::string_view("YMDHNSZTC").find(token) != std::string_view::npos;
}

// How often the letter at `at - 1` repeats; moves `at` past the run.
int RunLength(std::string_view format, std::size_t& at, char starter) noexcept
{
    int n = 1;
    while (at < format.size() && UpCase(format[at]) == UpCase(starter)) {
        ++n;
        ++at;
    }
    return n;
}

void TDateFormatter::Append(std::string& out, std::string_view format, int depth) const
{
    // Nested formats (c, ddddd, t) may name each other; two levels are enough
    // for every sensible setting and stop a self-referencing one.
    if (depth > 2)
        return;
    char lastToken = ' ';
    std::size_t i = 0;
    while (i < format.size()) {
        const char starter = format[i];
        char token = UpCase(starter);
        if (token >= 'A' && token <= 'Z') {
            // "m" right after an hour means minutes.
            if (token == 'M' && lastToken == 'H')
                token = 'N';
            lastToken = token;
        }
        if (!IsCountedToken(token)) {
            i = AppendOther(out, format, i);
            continue;
        }
        ++i;
        const int n = RunLength(format, i, starter);
        if (token == 'T' || token == 'C')
            AppendNested(out, token, n, depth);
        else if (token == 'Y' || token == 'M' || token == 'D')
            AppendDateField(out, token, n, depth);
        else
            AppendTimeField(out, token, n, token == 'H' && UsesTwelveHourClock(format, i));
    }
}

void TDateFormatter::AppendDateField(std::string& out, char token, int n, int depth) const
{
    const TDateFields& f = m_fields;
    switch (token) {
    case 'Y':
        if (n <= 2)
            AppendNumber(out, f.Year % 100, 2);
        else
            AppendNumber(out, f.Year, 4);
        break;
    case 'M':
        if (n <= 2)
            AppendNumber(out, f.Month, n);
        else if (f.Month >= 1 && f.Month <= 12)
            out += (n == 3 ? m_settings.ShortMonthNames : m_settings.LongMonthNames)[f.Month - 1u];
        break;
    default: // 'D'
        if (n <= 2)
            AppendNumber(out, f.Day, n);
        else if (n <= 4 && f.DayOfWeek >= 1)
            out += (n == 3 ? m_settings.ShortDayNames : m_settings.LongDayNames)[static_cast<std::size_t>(f.DayOfWeek - 1)];
        else if (n == 5)
            Append(out, m_settings.ShortDateFormat, depth + 1);
        else if (n >= 6)
            Append(out, m_settings.LongDateFormat, depth + 1);
        break;
    }
}

void TDateFormatter::AppendTimeField(std::string& out, char token, int n, bool twelveHour) const
{
    const TDateFields& f = m_fields;
    switch (token) {
    case 'H': {
        int hour = f.Hour;
        if (twelveHour)
            hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendNumber(out, hour, std::min(n, 2));
        break;
    }
    case 'N':
        AppendNumber(out, f.Min, std::min(n, 2));
        break;
    case 'S':
        AppendNumber(out, f.Sec, std::min(n, 2));
        break;
    default: // 'Z'
        AppendNumber(out, f.MSec, n == 1 ? 1 : 3);
        break;
    }
}

void TDateFormatter::AppendNested(std::string& out, char token, int n, int depth) const
{
    if (token == 'T') {
        Append(out, n == 1 ? m_settings.ShortTimeFormat : m_settings.LongTimeFormat, depth + 1);
        return;
    }
    const TDateFields& f = m_fields;
    Append(out, m_settings.ShortDateFormat, depth + 1);
    if (f.Hour != 0 || f.Min != 0 || f.Sec != 0 || f.MSec != 0) {
        out.push_back(' ');
        Append(out, m_settings.LongTimeFormat, depth + 1);
    }
}

std::size_t TDateFormatter::AppendOther(std::string& out, std::string_view format, std::size_t at) const
{
    const char starter = format[at];
    switch (UpCase(starter)) {
    case 'A': {
        const bool pm = m_fields.Hour >= 12;
        if (StartsWithText(format, at, "am/pm")) {
            out += format.substr(pm ? at + 3 : at, 2);
            return at + 5;
        }
        if (StartsWithText(format, at, "a/p")) {
            out.push_back(format[pm ? at + 2 : at]);
            return at + 3;
        }
        if (StartsWithText(format, at, "ampm")) {
            out += pm ? m_settings.TimePMString : m_settings.TimeAMString;
            return at + 4;
        }
        out.push_back(starter);
        return at + 1;
    }
    case '/':
        out.push_back(m_settings.DateSeparator);
        return at + 1;
    case ':':
        out.push_back(m_settings.TimeSeparator);
        return at + 1;
    case '\'':
    case '"': {
        const std::size_t end = format.find(starter, at + 1);
        if (end == std::string_view::npos) {
            out += format.substr(at + 1);
            return format.size();
        }
        out += format.substr(at + 1, end - at - 1);
        return end + 1;
    }
    default:
        out.push_back(starter);
        return at + 1;
    }
}

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder DateOrderOf(std::string_view format) noexcept
{
    for (char c : format) {
        switch (UpCase(c)) {
        case 'D':
            return TDateOrder::DMY;
        case 'M':
            return TDateOrder::MDY;
        case 'Y':
            return TDateOrder::YMD;
        default:
            break;
        }
    }
    return TDateOrder::MDY;
}

struct TDateNumber {
    int Value { 0 };
    int Digits { 0 };
};

void SkipSpaces(std::string_view text, std::size_t& i) noexcept
{
    while (i < text.size() && text[i] == ' ')
        ++i;
}

// One to four digits after optional spaces.
std::optional<TDateNumber> ScanNumber(std::string_view text, std::size_t& i) noexcept
{
    SkipSpaces(text, i);
    TDateNumber number;
    while (i < text.size() && IsDigit(text[i])) {
        if (++number.Digits > 4)
            return std::nullopt;
        number.Value = number.Value * 10 + (text[i++] - '0');
    }
    if (number.Digits == 0)
        return std::nullopt;
    return number;
}

bool ScanSeparator(std::string_view text, std::size_t& i, char separator) noexcept
{
    SkipSpaces(text, i);
    if (i < text.size() && text[i] == separator) {
        ++i;
        return true;
    }
    return false;
}

int CurrentYear()
{
    std::uint16_t year = 0, month = 0, day = 0;
    DecodeDate(Now(), year, month, day);
    return year;
}

int ExpandTwoDigitYear(int year, int window)
{
    const int current = CurrentYear();
    if (window <= 0)
        return year + current / 100 * 100;
    const int threshold = current - window;
    year += threshold / 100 * 100;
    if (year < threshold)
        year += 100;
    return year;
}

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime dateTime, const TFormatSettings& settings)
{
    std::string result;
    TDateFormatter(dateTime, settings).Append(result, format, 0);
    return result;
}

std::string FormatDateTime(std::string_view format, TDateTime dateTime)
{
    return FormatDateTime(format, dateTime, FormatSettings());
}

std::string DateToStr(TDateTime date)
{
    return FormatDateTime("ddddd", date);
}

std::string TimeToStr(TDateTime time)
{
    return FormatDateTime("tt", time);
}

std::string DateTimeToStr(TDateTime dateTime)
{
    return FormatDateTime("c", dateTime);
}

std::optional<TDateTime> TryStrToDate(std::string_view text, const TFormatSettings& settings)
{
    std::size_t i = 0;
    auto n1 = ScanNumber(text, i);
    if (!n1 || !ScanSeparator(text, i, settings.DateSeparator))
        return std::nullopt;
    auto n2 = ScanNumber(text, i);
    if (!n2)
        return std::nullopt;
    const TDateOrder order = DateOrderOf(settings.ShortDateFormat);
    TDateNumber year, month, day;
    if (ScanSeparator(text, i, settings.DateSeparator)) {
        auto n3 = ScanNumber(text, i);
        if (!n3)
            return std::nullopt;
        switch (order) {
        case TDateOrder::MDY:
            month = *n1, day = *n2, year = *n3;
            break;
        case TDateOrder::DMY:
            day = *n1, month = *n2, year = *n3;
            break;
        case TDateOrder::YMD:
            year = *n1, month = *n2, day = *n3;
            break;
        }
        if (year.Digits <= 2)
            year.Value = ExpandTwoDigitYear(year.Value, settings.TwoDigitYearCenturyWindow);
    } else {
        year.Value = CurrentYear();
        if (order == TDateOrder::DMY)
            day = *n1, month = *n2;
        else
            month = *n1, day = *n2;
    }
    SkipSpaces(text, i);
    if (i != text.size())
        return std::nullopt;
    return TryEncodeDate(static_cast<std::uint16_t>(year.Value), static_cast<std::uint16_t>(month.Value),
        static_cast<std::uint16_t>(day.Value));
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings)
{
    if (auto date = TryStrToDate(text, settings))
        return *date;
    throw EConvertError("'" + std::string(text) + "' is not a valid date");
}

TDateTime StrToDate(std::string_view text)
{
    return StrToDate(text, FormatSettings());
}

} // namespace plx
