// Character boundaries of the UTF-8 text the controls edit, read as the text
// engine reads it: a byte that does not start a well-formed sequence is one
// character of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plx::detail {

//! The length of the well-formed UTF-8 sequence at the start of s, or 1.
[[nodiscard]] inline std::size_t Utf8CharLength(std::string_view s) noexcept
{
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = at(0);
    if (b < 0x80)
        return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        lo = b == 0xE0 ? 0xA0 : lo;
        hi = b == 0xED ? 0x9F : hi;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        lo = b == 0xF0 ? 0x90 : lo;
        hi = b == 0xF4 ? 0x8F : hi;
    } else {
        return 1;
    }
    if (s.size() < n || at(1) < lo || at(1) > hi)
        return 1;
    for (std::size_t i = 2; i < n; ++i)
        if ((at(i) & 0xC0) != 0x80)
            return 1;
    return n;
}

//! The byte offset of every character's start, followed by the text's size.
[[nodiscard]] inline std::vector<std::size_t> Utf8Boundaries(std::string_view text)
{
    std::vector<std::size_t> b;
    b.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); i += Utf8CharLength(text.substr(i)))
        b.push_back(i);
    b.push_back(text.size());
    return b;
}

//! The UTF-8 form of a code point (U+FFFD for one that has none).
[[nodiscard]] inline std::string Utf8Encode(std::uint32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

} // namespace plx::detail
