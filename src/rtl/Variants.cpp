#include "rtl/Variants.h"

#include "rtl/Exceptions.h"
#include "rtl/System.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace plx {

namespace {

[[noreturn]] void NotConvertible(const std::string& text)
{
    throw EConvertError("Could not convert variant of type (" + text + ") into type (Integer)");
}

std::int32_t FromDouble(double d, const std::string& text)
{
    // The range is checked after rounding: 2147483647.5 goes to the even
    // 2147483648, which does not fit, and -2147483648.5 to -2147483648, which does.
    if (!std::isfinite(d))
        NotConvertible(text);
    const std::int64_t rounded = Round(d);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        NotConvertible(text);
    return static_cast<std::int32_t>(rounded);
}

} // namespace

std::int32_t VarToInt(const Variant& value)
{
    if (auto i = std::get_if<std::int64_t>(&value)) {
        if (*i < std::numeric_limits<std::int32_t>::min() || *i > std::numeric_limits<std::int32_t>::max())
            NotConvertible(std::to_string(*i));
        return static_cast<std::int32_t>(*i);
    }
    if (auto d = std::get_if<double>(&value))
        return FromDouble(*d, std::to_string(*d));
    if (auto b = std::get_if<bool>(&value))
        return *b ? -1 : 0;
    if (auto s = std::get_if<std::string>(&value)) {
        std::string_view text = *s;
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        std::int64_t i = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), i);
        if (!text.empty() && error == std::errc() && end == text.data() + text.size())
            return VarToInt(Variant { i });
        double d = 0;
        auto [end2, error2] = std::from_chars(text.data(), text.data() + text.size(), d);
        if (!text.empty() && error2 == std::errc() && end2 == text.data() + text.size())
            return FromDouble(d, *s);
        NotConvertible("String '" + *s + "'");
    }
    NotConvertible("Empty");
}

} // namespace plx
