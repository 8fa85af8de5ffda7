// StrMan: routines on 8-bit strings: cutting, splitting, searching from the
// right, replacing, case changes and lenient number parsing.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace plx {

class TStrings;

//! A set of 8-bit characters.
class TCharSet {
public:
    constexpr TCharSet() noexcept = default;
    //! The set of the characters of chars: TCharSet("-_").
    constexpr TCharSet(std::string_view chars) noexcept
    {
        for (char c : chars)
            Include(c);
    }
    //! The set of the characters listed: TCharSet { 'a', 'b' }.
    constexpr TCharSet(std::initializer_list<char> chars) noexcept
    {
        for (char c : chars)
            Include(c);
    }

    //! Adds the character.
    constexpr void Include(char c) noexcept { m_bits[Byte(c) >> 6] |= Bit(c); }
    //! Removes the character.
    constexpr void Exclude(char c) noexcept { m_bits[Byte(c) >> 6] &= ~Bit(c); }
    //! True when the character is in the set.
    [[nodiscard]] constexpr bool Contains(char c) const noexcept { return (m_bits[Byte(c) >> 6] & Bit(c)) != 0; }
    //! Sets are equal when they hold the same characters.
    [[nodiscard]] constexpr bool operator==(const TCharSet&) const noexcept = default;

private:
    static constexpr unsigned Byte(char c) noexcept { return static_cast<unsigned char>(c); }
    static constexpr std::uint64_t Bit(char c) noexcept { return std::uint64_t { 1 } << (Byte(c) & 63); }

    std::array<std::uint64_t, 4> m_bits {};
};

// Positions are 1-based and 0 means "not found". Out-of-range positions and
// counts are clamped as Copy clamps them. An empty search text is never found.

namespace StrMan {
//! The running application's folder with its trailing delimiter. (Fileman has
//! an AppPath of its own without the delimiter.)
[[nodiscard]] std::string AppPath();
} // namespace StrMan

//! The last component of a path: one trailing delimiter is removed, then what
//! follows the last delimiter is returned; a path without one is returned
//! whole. "/a/b/" gives "b"; "" gives "".
[[nodiscard]] std::string LastDir(std::string_view path);

//! left: the text before the first ch; right: the text after it. Without ch,
//! left is s and right is empty.
void SplitStrC(std::string_view s, char ch, std::string& left, std::string& right);
//! Appends the fields of s separated by ch to list: "a,,b" adds "a", "", "b";
//! a trailing separator adds no empty last field; an empty s adds nothing.
void Split(TStrings& list, std::string_view s, char ch);
//! The first line of list that contains sub; empty when none does.
void ReturnLine(const TStrings& list, std::string_view sub, std::string& line);
//! left: the characters before position index; right: the tail from index, so
//! left + right is s. An index below 1 gives "" and s.
void StrSplit(std::string_view s, std::int32_t index, std::string& left, std::string& right);
//! The text strictly between the first startText and the first endText after
//! it; "" when either is missing or startText is empty.
[[nodiscard]] std::string ReadBetween(std::string_view s, std::string_view startText, std::string_view endText);

//! The number made of the digits and "." of s, all other characters dropped
//! (so never negative), rounded to the 6-byte real (40 significant bits); 0
//! when none remain. "." is the decimal point whatever the locale. Raises
//! EConvertError when the kept text is not a number ("1.2.3") or beyond the
//! 6-byte real's range (about 1.7E38).
[[nodiscard]] double EStrToFloat(std::string_view s);
//! The number made of the digits of s; 0 when there are none. Raises
//! EConvertError beyond 2147483647.
[[nodiscard]] std::int32_t EStrToInt(std::string_view s);

//! s without the characters of chars.
[[nodiscard]] std::string RemoveChars(std::string_view s, const TCharSet& chars);
//! s with count characters deleted at index, then newText inserted at index.
//! An index outside 1 .. length deletes nothing; the insertion point is
//! clamped to 1 .. length + 1.
[[nodiscard]] std::string ReplaceOne(std::string_view s, std::string_view newText, std::int32_t index, std::int32_t count);
//! The position of the first sub that begins at or after start (a start below
//! 1 counts as 1); 0 when none.
[[nodiscard]] std::int32_t Instr(std::int32_t start, std::string_view s, std::string_view sub) noexcept;
//! Copy(s, 1, count).
[[nodiscard]] std::string LeftStr(std::string_view s, std::int32_t count);
//! The tail of s from position start (not the last start characters).
[[nodiscard]] std::string RightStr(std::string_view s, std::int32_t start);
//! Every oldText replaced, left to right, without rescanning inserted text.
[[nodiscard]] std::string ReplaceAll(std::string_view s, std::string_view oldText, std::string_view newText);

//! The ASCII letters lowered; every other code unchanged.
[[nodiscard]] constexpr char LoCase(char ch) noexcept { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; }
//! The string with its ASCII letters lowered (LoCase on every character).
[[nodiscard]] std::string LowCaseStr(std::string_view s);
//! The first character and every character after a space upper-cased, all
//! others lowered (ASCII letters only).
[[nodiscard]] std::string TitleCase(std::string_view s);
//! count copies of ch.
[[nodiscard]] std::string FillStr(std::uint8_t count, char ch);
//! The index of the first item equal to s with the ASCII letters lowered; -1
//! when none.
[[nodiscard]] std::int32_t CompareStrAry(std::string_view s, std::span<const std::string> items);
//! As above, for items written in place: CompareStrAry(s, { "yes", "no" }).
[[nodiscard]] std::int32_t CompareStrAry(std::string_view s, std::initializer_list<std::string_view> items);
//! The last position of sub in s when sub is one character; 0 when absent,
//! and always 0 for an empty or longer sub.
[[nodiscard]] std::int32_t RPos(std::string_view sub, std::string_view s) noexcept;
//! How many times ch occurs in s.
[[nodiscard]] std::int32_t CharCount(std::string_view s, char ch) noexcept;

} // namespace plx
