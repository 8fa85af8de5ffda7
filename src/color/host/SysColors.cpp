#include "color/host/SysColors.h"

#include <array>

namespace plx {

namespace {

// The classic desktop scheme, by system colour index.
constexpr std::array<TColor, kSystemColorCount> kClassicScheme {
    0xC0C0C0, // scroll bar
    0x808000, // desktop background (teal)
    0x800000, // active caption (navy)
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application workspace
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3D dark shadow
    0xC0C0C0, // 3D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
};

std::array<TColor, kSystemColorCount>& Table() noexcept
{
    static std::array<TColor, kSystemColorCount> table = kClassicScheme;
    return table;
}

} // namespace

TColor GetSysColor(std::int32_t index) noexcept
{
    if (index < 0 || index >= kSystemColorCount)
        return 0;
    return Table()[static_cast<std::size_t>(index)];
}

void SetSysColor(std::int32_t index, TColor value) noexcept
{
    if (index >= 0 && index < kSystemColorCount)
        Table()[static_cast<std::size_t>(index)] = value & 0xFFFFFF;
}

void ResetSysColors() noexcept
{
    Table() = kClassicScheme;
}

TColor ColorToRGB(TColor color) noexcept
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return color;
}

} // namespace plx
