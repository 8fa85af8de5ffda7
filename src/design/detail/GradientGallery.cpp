#include "design/detail/GradientGallery.h"

#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "utils/StrMan.h"

#include <algorithm>
#include <array>
#include <optional>

namespace plx::detail {

namespace {

constexpr std::size_t kValueCount = 8;

constexpr bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// A signed 32-bit decimal integer, blanks around it allowed; nothing else
// (no "$" or "0x" forms, no fractions).
std::optional<std::int32_t> DecimalValue(std::string_view text) noexcept
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace

std::string GalleryValue(const TGradient& gradient)
{
    const std::array<std::int32_t, kValueCount> values { gradient.Color1(), gradient.Color2(), gradient.Color3(),
        gradient.Color4(), gradient.Color5(), gradient.ColorCount(), gradient.GradientStyle(), gradient.LineDirection() };
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            text += ',';
        text += IntToStr(values[i]);
    }
    return text;
}

bool ReadGalleryValue(std::string_view value, TGradient& gradient)
{
    // The value's fields as the string splitter cuts them (a trailing comma
    // adds no empty field).
    TStringList parts;
    Split(parts, value, ',');
    if (parts.Count() != static_cast<std::int32_t>(kValueCount))
        return false;
    std::array<std::int32_t, kValueCount> numbers {};
    for (std::size_t i = 0; i < kValueCount; ++i) {
        const auto number = DecimalValue(parts.Strings(static_cast<std::int32_t>(i)));
        if (!number)
            return false;
        numbers[i] = *number;
    }
    gradient.SetColor1(numbers[0]);
    gradient.SetColor2(numbers[1]);
    gradient.SetColor3(numbers[2]);
    gradient.SetColor4(numbers[3]);
    gradient.SetColor5(numbers[4]);
    gradient.SetColorCount(static_cast<TColorCount>(std::clamp(numbers[5], 1, 4)));
    gradient.SetGradientStyle(static_cast<TGradientStyle>(std::clamp<std::int32_t>(numbers[6], gsLine, gsCustomRect)));
    gradient.SetLineDir(static_cast<TDirection>(std::clamp<std::int32_t>(numbers[7], diHorizonal, diVertical)));
    return true;
}

std::string GalleryNameProblem(std::string_view name)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    if (name.empty())
        return "A gradient fill needs a name.";
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return "A gradient fill's name cannot hold a line break.";
    if (name.find('=') != std::string_view::npos)
        return "A gradient fill's name cannot hold \"=\".";
    if (blank(name.front()) || blank(name.back()))
        return "A gradient fill's name cannot begin or end with a blank.";
    if (name.front() == '[' || name.front() == ';' || name.front() == '#')
        return "A gradient fill's name cannot begin with \"[\", \";\" or \"#\".";
    return {};
}

void TGradientGallery::Load(const TNameValues& values)
{
    std::vector<TEntry> entries;
    entries.reserve(values.size());
    for (const auto& [name, value] : values) {
        TEntry entry { name, std::make_unique<TGradient>(), {} };
        if (!ReadGalleryValue(value, *entry.Gradient)) {
            entry.Gradient.reset();
            entry.Value = value;
        }
        entries.push_back(std::move(entry));
    }
    m_entries = std::move(entries);
}

TGradientGallery::TNameValues TGradientGallery::Values() const
{
    TNameValues values;
    values.reserve(m_entries.size());
    for (const TEntry& entry : m_entries)
        values.emplace_back(entry.Name, entry.Gradient ? GalleryValue(*entry.Gradient) : entry.Value);
    return values;
}

std::int32_t TGradientGallery::IndexOf(std::string_view name) const noexcept
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (SameText(m_entries[i].Name, name))
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t TGradientGallery::IndexOf(const TGradient* gradient) const noexcept
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (gradient && m_entries[i].Gradient.get() == gradient)
            return static_cast<std::int32_t>(i);
    return -1;
}

void TGradientGallery::Add(const std::string& name, const TGradient& gradient)
{
    auto copy = std::make_unique<TGradient>();
    copy->Assign(&gradient);
    m_entries.push_back({ name, std::move(copy), {} });
}

void TGradientGallery::Replace(std::int32_t index, const std::string& name, const TGradient& gradient)
{
    TEntry& entry = m_entries.at(static_cast<std::size_t>(index));
    if (!entry.Gradient)
        entry.Gradient = std::make_unique<TGradient>();
    entry.Gradient->Assign(&gradient);
    entry.Name = name;
    entry.Value.clear();
}

void TGradientGallery::Remove(std::int32_t index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < m_entries.size())
        m_entries.erase(m_entries.begin() + index);
}

} // namespace plx::detail
