#include "color/ColorMan.h"

#include "color/VBitmap.h"
#include "color/host/Canvas.h"
#include "color/host/Gdi.h"
#include "color/host/detail/GdiTable.h"
#include "color/host/SysColors.h"
#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"
#include "rtl/System.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plx {

namespace {

// The products of the colour formulas are formed in extended precision and
// then stored as singles before rounding, so that exact halves (127.5, 76.5)
// stay halves and round to even.
constexpr long double kPercent = 0.01L;

constexpr std::array<TColor, 16> kConsole { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };

} // namespace

void DeColor(TColor color, std::int32_t& r, std::int32_t& g, std::int32_t& b) noexcept
{
    r = GetRValue(color);
    g = GetGValue(color);
    b = GetBValue(color);
}

void DeColorB(TColor color, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) noexcept
{
    r = GetRValue(color);
    g = GetGValue(color);
    b = GetBValue(color);
}

std::int32_t CorrectColor(float value) noexcept
{
    if (std::isnan(value))
        return 0;
    if (value >= 255.0f)
        return 255;
    if (value <= 0.0f)
        return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(Round(value), 255));
}

TColor ERGB(float r, float g, float b) noexcept
{
    return RGB(CorrectColor(r), CorrectColor(g), CorrectColor(b));
}

TColor InvertColor(TColor color) noexcept
{
    return RGB(255 - GetRValue(color), 255 - GetGValue(color), 255 - GetBValue(color));
}

TColor ColorAdd(TColor c1, TColor c2) noexcept
{
    return ERGB(static_cast<float>(GetRValue(c1) + GetRValue(c2)), static_cast<float>(GetGValue(c1) + GetGValue(c2)),
        static_cast<float>(GetBValue(c1) + GetBValue(c2)));
}

TColor ColorMinus(TColor c1, TColor c2) noexcept
{
    return ERGB(static_cast<float>(GetRValue(c1) - GetRValue(c2)), static_cast<float>(GetGValue(c1) - GetGValue(c2)),
        static_cast<float>(GetBValue(c1) - GetBValue(c2)));
}

std::int32_t CompareR(TColor c1, TColor c2) noexcept
{
    return GetRValue(c1) - GetRValue(c2);
}

std::int32_t CompareG(TColor c1, TColor c2) noexcept
{
    return GetGValue(c1) - GetGValue(c2);
}

std::int32_t CompareB(TColor c1, TColor c2) noexcept
{
    return GetBValue(c1) - GetBValue(c2);
}

std::int32_t CompareColor(TColor c1, TColor c2) noexcept
{
    return RGBAvg(c1) - RGBAvg(c2);
}

std::int32_t SumRGB(TColor color) noexcept
{
    return GetRValue(color) + GetGValue(color) + GetBValue(color);
}

std::int32_t RGBAvg(TColor color) noexcept
{
    return SumRGB(color) / 3;
}

TColor ColorToGrey(TColor color) noexcept
{
    std::int32_t sum = 20 * GetRValue(color) + 50 * GetGValue(color) + 30 * GetBValue(color);
    auto v = static_cast<std::int32_t>(Round(static_cast<float>(sum * kPercent)));
    return RGB(v, v, v);
}

bool IsLightColor(TColor color) noexcept
{
    TColor grey = ColorToGrey(color);
    int dark = (GetRValue(grey) < 0x80) + (GetGValue(grey) < 0x80) + (GetBValue(grey) < 0x80);
    return dark <= 1;
}

TColor AutoBW(TColor color) noexcept
{
    return IsLightColor(color) ? clBlack : clWhite;
}

bool IsGreyColor(TColor color) noexcept
{
    return GetRValue(color) == GetGValue(color) && GetBValue(color) == GetGValue(color);
}

TColor CentreRGB(TColor color, std::int32_t amount) noexcept
{
    std::int32_t a = RGBAvg(color);
    auto centre = [&](std::int32_t x) { return static_cast<std::int32_t>(x - static_cast<std::uint32_t>(x - a) * static_cast<std::uint32_t>(amount)); };
    return RGB(centre(GetRValue(color)), centre(GetGValue(color)), centre(GetBValue(color)));
}

TColor MergeColorExt(TColor c1, TColor c2, std::uint8_t percent) noexcept
{
    auto mix = [percent](std::int32_t a, std::int32_t b) {
        return static_cast<float>((100 - percent) * b * kPercent + percent * a * kPercent);
    };
    return ERGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)), mix(GetBValue(c1), GetBValue(c2)));
}

TColor MergeColor(TColor c1, TColor c2) noexcept
{
    return MergeColorExt(c1, c2, 50);
}

TColor Colorise(TColor color, TColor tint) noexcept
{
    auto factor = [](std::int32_t t) { return static_cast<float>(1 + t * (1.0L / 255)); };
    const long double v = GetRValue(ColorToGrey(color));
    return ERGB(static_cast<float>(v * factor(GetRValue(tint))), static_cast<float>(v * factor(GetGValue(tint))),
        static_cast<float>(v * factor(GetBValue(tint))));
}

TColor BrightenColor(TColor color, std::int32_t amount) noexcept
{
    TColor c = ColorToRGB(color);
    // Amounts are small; the sums stay exact in a float.
    auto add = [amount](std::int32_t x) { return static_cast<float>(static_cast<std::int64_t>(x) + amount); };
    return ERGB(add(GetRValue(c)), add(GetGValue(c)), add(GetBValue(c)));
}

TColor DarkenColor(TColor color, std::int32_t amount) noexcept
{
    return BrightenColor(color, static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(amount)));
}

TColor QBColor(std::int32_t index) noexcept
{
    if (index < 0 || index > 15)
        return 0;
    return kConsole[static_cast<std::size_t>(index)];
}

std::uint8_t ToQBColor(TColor color) noexcept
{
    for (std::size_t i = 0; i < kConsole.size(); ++i)
        if (kConsole[i] == color)
            return static_cast<std::uint8_t>(i);
    return 0;
}

TColor HexToColor(const std::string& text)
{
    return HexToInt(text);
}

std::int32_t HexToInt(const std::string& text)
{
    // The host's integer parser reads "$" + text as hexadecimal.
    return StrToInt("$" + text);
}

TColor MiscBmpToColor(HDC dc, std::int32_t maxX, std::int32_t maxY, TRect& rect)
{
    // Only the part of the rectangle within the bounds and on the device is
    // visited: the device has no pixels to give beyond its visible area, and
    // bounds as large as the integer range would otherwise mean billions of reads.
    const TCanvas* canvas = detail::CanvasFromDC(dc);
    if (!canvas)
        return 0;
    const TRect device = canvas->ClipRect();
    const std::int64_t left = std::max({ rect.Left, 0, device.Left });
    const std::int64_t top = std::max({ rect.Top, 0, device.Top });
    const std::int64_t right = std::min({ static_cast<std::int64_t>(rect.Right), static_cast<std::int64_t>(maxX),
        static_cast<std::int64_t>(device.Right) - 1 });
    const std::int64_t bottom = std::min({ static_cast<std::int64_t>(rect.Bottom), static_cast<std::int64_t>(maxY),
        static_cast<std::int64_t>(device.Bottom) - 1 });
    std::int64_t r = 0, g = 0, b = 0, count = 0;
    for (std::int64_t x = left; x <= right; ++x)
        for (std::int64_t y = top; y <= bottom; ++y) {
            TColor c = GetPixel(dc, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
            r += GetRValue(c);
            g += GetGValue(c);
            b += GetBValue(c);
            ++count;
        }
    if (count == 0)
        return 0;
    auto average = [count](std::int64_t sum) {
        return static_cast<std::int32_t>(Round(static_cast<double>(sum) / static_cast<double>(count)));
    };
    return RGB(average(r), average(g), average(b));
}

TColor MiscColor(std::span<const Variant> colors)
{
    if (colors.empty())
        return 0;
    std::int64_t r = 0, g = 0, b = 0;
    for (const auto& element : colors) {
        TColor c = VarToInt(element);
        r += GetRValue(c);
        g += GetGValue(c);
        b += GetBValue(c);
    }
    const double n = static_cast<double>(colors.size());
    auto average = [n](std::int64_t sum) { return static_cast<std::int32_t>(Round(static_cast<double>(sum) / n)); };
    return RGB(average(r), average(g), average(b));
}

TColor MiscVBToColor(TVirtualBitmap& bitmap, TRect& rect)
{
    // Only the part of the rectangle inside the bitmap is visited. The sums are
    // exact integers, so rows are walked in storage order.
    const std::int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, bitmap.Width() - 1);
    const std::int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, bitmap.Height() - 1);
    if (left > right || top > bottom)
        return 0;
    std::int64_t r = 0, g = 0, b = 0;
    if (bitmap.Bits() == 24 || bitmap.Bits() == 32) {
        // Blue, green, red bytes read straight from the rows.
        const std::size_t step = static_cast<std::size_t>(bitmap.Bits()) / 8;
        for (std::int32_t y = top; y <= bottom; ++y) {
            const std::uint8_t* p = bitmap.ScanLine(y) + static_cast<std::size_t>(left) * step;
            for (std::int32_t x = left; x <= right; ++x, p += step) {
                b += p[0];
                g += p[1];
                r += p[2];
            }
        }
    } else {
        for (std::int32_t y = top; y <= bottom; ++y)
            for (std::int32_t x = left; x <= right; ++x) {
                TColor c = bitmap.GetPixel(x, y);
                r += GetRValue(c);
                g += GetGValue(c);
                b += GetBValue(c);
            }
    }
    const double count = static_cast<double>(static_cast<std::int64_t>(right - left + 1) * (bottom - top + 1));
    auto average = [count](std::int64_t sum) { return static_cast<std::int32_t>(Round(static_cast<double>(sum) / count)); };
    return RGB(average(r), average(g), average(b));
}

} // namespace plx
