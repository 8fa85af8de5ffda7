#include "utils/StrMan.h"

#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cmath>

namespace plx {

namespace {

constexpr char UpCase(char ch) noexcept
{
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
}

// Copy with 64-bit arithmetic for the count, so no start or length overflows.
std::string CopyClamped(std::string_view s, std::int64_t index, std::int64_t count)
{
    if (index < 1)
        index = 1;
    const auto length = static_cast<std::int64_t>(s.size());
    if (count <= 0 || index > length)
        return {};
    count = std::min(count, length - index + 1);
    return std::string(s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

// The 6-byte real keeps 40 significant bits (one implicit) and binary exponents
// from -128 to 126; smaller magnitudes become 0.
double RoundToReal48(double value)
{
    if (value == 0)
        return 0;
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent); // value = fraction × 2^exponent, fraction in [0.5, 1)
    double result = std::ldexp(std::nearbyint(std::ldexp(fraction, 40)), exponent - 40);
    if (std::fabs(result) < std::ldexp(1.0, -128))
        return 0;
    if (std::fabs(result) >= std::ldexp(1.0, 127))
        throw EConvertError("Floating point overflow");
    return result;
}

} // namespace

std::string StrMan::AppPath()
{
    return ExtractFilePath(Application().ExeName());
}

std::string LastDir(std::string_view path)
{
    if (!path.empty() && path.back() == PathDelim)
        path.remove_suffix(1);
    const std::int32_t delimiter = RPos(std::string_view(&PathDelim, 1), path);
    return RightStr(path, delimiter + 1);
}

void SplitStrC(std::string_view s, char ch, std::string& left, std::string& right)
{
    // s may view one of the outputs, so it is copied before they change.
    const std::string text(s);
    const std::size_t at = text.find(ch);
    if (at == std::string::npos) {
        left = text;
        right.clear();
    } else {
        left = text.substr(0, at);
        right = text.substr(at + 1);
    }
}

void Split(TStrings& list, std::string_view s, char ch)
{
    // Field by field, as repeated SplitStrC would cut them, without copying the
    // remainder each time. The text is copied once first: s may view a string
    // that the list (or a handler of its changes) replaces.
    const std::string text(s);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t at = text.find(ch, start);
        if (at == std::string::npos) {
            list.Add(text.substr(start));
            return;
        }
        list.Add(text.substr(start, at - start));
        start = at + 1;
    }
}

void ReturnLine(const TStrings& list, std::string_view sub, std::string& line)
{
    line.clear();
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        std::string text = list.Strings(i);
        if (Pos(sub, text) > 0) {
            line = std::move(text);
            return;
        }
    }
}

void StrSplit(std::string_view s, std::int32_t index, std::string& left, std::string& right)
{
    const std::string text(s);
    left = CopyClamped(text, 1, static_cast<std::int64_t>(index) - 1);
    right = CopyClamped(text, index, static_cast<std::int64_t>(text.size()) - index + 1);
}

std::string ReadBetween(std::string_view s, std::string_view startText, std::string_view endText)
{
    const std::int32_t p1 = Pos(startText, s);
    if (p1 == 0)
        return {};
    const std::int64_t from = static_cast<std::int64_t>(p1) + static_cast<std::int64_t>(startText.size());
    const std::int32_t p2 = Instr(static_cast<std::int32_t>(from), s, endText);
    if (p2 == 0)
        return {};
    return CopyClamped(s, from, p2 - from);
}

double EStrToFloat(std::string_view s)
{
    std::string kept;
    for (char c : s)
        if (c == '.' || (c >= '0' && c <= '9'))
            kept += c;
    if (kept.empty())
        return 0;
    // The kept text only ever holds "." as its decimal point.
    TFormatSettings settings = FormatSettings();
    settings.DecimalSeparator = '.';
    settings.ThousandSeparator = ',';
    return RoundToReal48(StrToFloat(kept, settings));
}

std::int32_t EStrToInt(std::string_view s)
{
    std::string kept;
    for (char c : s)
        if (c >= '0' && c <= '9')
            kept += c;
    return kept.empty() ? 0 : StrToInt(kept);
}

std::string RemoveChars(std::string_view s, const TCharSet& chars)
{
    std::string result;
    result.reserve(s.size());
    for (char c : s)
        if (!chars.Contains(c))
            result += c;
    return result;
}

std::string ReplaceOne(std::string_view s, std::string_view newText, std::int32_t index, std::int32_t count)
{
    std::string result(s);
    const auto length = static_cast<std::int64_t>(result.size());
    if (index >= 1 && index <= length && count > 0) {
        const std::int64_t take = std::min<std::int64_t>(count, length - index + 1);
        result.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(take));
    }
    const std::int64_t at = std::clamp<std::int64_t>(index, 1, static_cast<std::int64_t>(result.size()) + 1);
    result.insert(static_cast<std::size_t>(at - 1), newText);
    return result;
}

std::int32_t Instr(std::int32_t start, std::string_view s, std::string_view sub) noexcept
{
    if (start < 1)
        start = 1;
    if (sub.empty() || static_cast<std::size_t>(start) > s.size())
        return 0;
    const std::size_t at = s.find(sub, static_cast<std::size_t>(start - 1));
    return at == std::string_view::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

std::string LeftStr(std::string_view s, std::int32_t count)
{
    return CopyClamped(s, 1, count);
}

std::string RightStr(std::string_view s, std::int32_t start)
{
    return CopyClamped(s, start, static_cast<std::int64_t>(s.size()) - start + 1);
}

std::string ReplaceAll(std::string_view s, std::string_view oldText, std::string_view newText)
{
    if (oldText.empty())
        return std::string(s);
    // One pass: the search goes on after each replacement, in the original text,
    // which is where the inserted text ends in the new one.
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = s.find(oldText); at != std::string_view::npos; at = s.find(oldText, from)) {
        result.append(s.substr(from, at - from));
        result.append(newText);
        from = at + oldText.size();
    }
    result.append(s.substr(from));
    return result;
}

std::string LowCaseStr(std::string_view s)
{
    std::string result(s);
    for (char& c : result)
        c = LoCase(c);
    return result;
}

std::string TitleCase(std::string_view s)
{
    std::string result(s);
    bool upper = true;
    for (char& c : result) {
        c = upper ? UpCase(c) : LoCase(c);
        upper = c == ' ';
    }
    return result;
}

std::string FillStr(std::uint8_t count, char ch)
{
    return std::string(count, ch);
}

std::int32_t CompareStrAry(std::string_view s, std::span<const std::string> items)
{
    const std::string key = LowCaseStr(s);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (LowCaseStr(items[i]) == key)
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t CompareStrAry(std::string_view s, std::initializer_list<std::string_view> items)
{
    const std::string key = LowCaseStr(s);
    std::int32_t index = 0;
    for (std::string_view item : items) {
        if (LowCaseStr(item) == key)
            return index;
        ++index;
    }
    return -1;
}

std::int32_t RPos(std::string_view sub, std::string_view s) noexcept
{
    if (sub.size() != 1)
        return 0;
    const std::size_t at = s.rfind(sub.front());
    return at == std::string_view::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

std::int32_t CharCount(std::string_view s, char ch) noexcept
{
    return static_cast<std::int32_t>(std::count(s.begin(), s.end(), ch));
}

} // namespace plx
