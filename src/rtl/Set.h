// TSet: a set of the values of a small enumeration, held as a bit mask.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace plx {

//! A set of enumeration values 0..31 (bit n holds the value of ordinal n), as
//! the host's "set of" types are stored in form files.
template <class E>
class TSet {
public:
    constexpr TSet() noexcept = default;
    constexpr TSet(std::initializer_list<E> values) noexcept
    {
        for (E v : values)
            m_bits |= Bit(v);
    }

    [[nodiscard]] static constexpr TSet FromBits(std::uint32_t bits) noexcept
    {
        TSet s;
        s.m_bits = bits;
        return s;
    }
    [[nodiscard]] constexpr std::uint32_t Bits() const noexcept { return m_bits; }

    [[nodiscard]] constexpr bool Contains(E v) const noexcept { return (m_bits & Bit(v)) != 0; }
    [[nodiscard]] constexpr bool Empty() const noexcept { return m_bits == 0; }
    [[nodiscard]] constexpr TSet With(E v) const noexcept { return FromBits(m_bits | Bit(v)); }
    [[nodiscard]] constexpr TSet Without(E v) const noexcept { return FromBits(m_bits & ~Bit(v)); }

    constexpr TSet& Include(E v) noexcept
    {
        m_bits |= Bit(v);
        return *this;
    }
    constexpr TSet& Exclude(E v) noexcept
    {
        m_bits &= ~Bit(v);
        return *this;
    }

    [[nodiscard]] constexpr TSet operator+(TSet o) const noexcept { return FromBits(m_bits | o.m_bits); }
    [[nodiscard]] constexpr TSet operator-(TSet o) const noexcept { return FromBits(m_bits & ~o.m_bits); }
    [[nodiscard]] constexpr TSet operator*(TSet o) const noexcept { return FromBits(m_bits & o.m_bits); }
    constexpr bool operator==(const TSet&) const noexcept = default;

private:
    static constexpr std::uint32_t Bit(E v) noexcept { return std::uint32_t { 1 } << static_cast<unsigned>(v); }
    std::uint32_t m_bits { 0 };
};

} // namespace plx
