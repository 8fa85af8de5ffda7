#include "framework/host/SysUtils.h"

#include "framework/host/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

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

} // namespace plx
