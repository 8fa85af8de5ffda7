// ColorMan: arithmetic on single TColor values: channels, clamped composition,
// brightening, darkening, mixing, tinting, grey, comparisons, the sixteen console
// colours, hexadecimal parsing and area averages.
#pragma once

#include "color/host/Gdi.h"
#include "color/host/Types.h"
#include "rtl/Variants.h"

#include <cstdint>
#include <span>
#include <string>

namespace plx {

class TVirtualBitmap;

//! The channels of the low three bytes (whatever the top byte holds).
void DeColor(TColor color, std::int32_t& r, std::int32_t& g, std::int32_t& b) noexcept;
//! DeColor into bytes.
void DeColorB(TColor color, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) noexcept;
//! Round (ties to even) and clamp to 0..255. NaN gives 0; infinities clamp.
[[nodiscard]] std::int32_t CorrectColor(float value) noexcept;
//! A colour from three channels, each rounded and clamped by CorrectColor.
[[nodiscard]] TColor ERGB(float r, float g, float b) noexcept;

//! Each channel c of the low three bytes becomes 255 - c.
[[nodiscard]] TColor InvertColor(TColor color) noexcept;
//! Channel sums clamped at 255.
[[nodiscard]] TColor ColorAdd(TColor c1, TColor c2) noexcept;
//! Channel differences clamped at 0.
[[nodiscard]] TColor ColorMinus(TColor c1, TColor c2) noexcept;
//! Red of c1 minus red of c2.
[[nodiscard]] std::int32_t CompareR(TColor c1, TColor c2) noexcept;
//! Green of c1 minus green of c2.
[[nodiscard]] std::int32_t CompareG(TColor c1, TColor c2) noexcept;
//! Blue of c1 minus blue of c2.
[[nodiscard]] std::int32_t CompareB(TColor c1, TColor c2) noexcept;
//! RGBAvg(c1) - RGBAvg(c2).
[[nodiscard]] std::int32_t CompareColor(TColor c1, TColor c2) noexcept;
//! Red + green + blue.
[[nodiscard]] std::int32_t SumRGB(TColor color) noexcept;
//! SumRGB / 3, cut toward zero.
[[nodiscard]] std::int32_t RGBAvg(TColor color) noexcept;
//! The grey of weights 20 % red, 50 % green, 30 % blue, rounded ties to even.
[[nodiscard]] TColor ColorToGrey(TColor color) noexcept;
//! Light when its grey level is at least 128.
[[nodiscard]] bool IsLightColor(TColor color) noexcept;
//! Black on a light colour, white on a dark one.
[[nodiscard]] TColor AutoBW(TColor color) noexcept;
//! True when the three channels are equal.
[[nodiscard]] bool IsGreyColor(TColor color) noexcept;
//! Moves each channel towards (amount > 0) or away from the channel average,
//! composed with wrapping.
[[nodiscard]] TColor CentreRGB(TColor color, std::int32_t amount) noexcept;
//! percent % of c1 and the rest of c2, per channel.
[[nodiscard]] TColor MergeColorExt(TColor c1, TColor c2, std::uint8_t percent) noexcept;
//! MergeColorExt(c1, c2, 50): half of each.
[[nodiscard]] TColor MergeColor(TColor c1, TColor c2) noexcept;
//! The grey of the colour tinted: each channel of the tint scales the grey by up to 2.
[[nodiscard]] TColor Colorise(TColor color, TColor tint) noexcept;
//! Adds the amount to every channel of the resolved colour (system colours are resolved first), clamped.
[[nodiscard]] TColor BrightenColor(TColor color, std::int32_t amount) noexcept;
//! BrightenColor with the amount negated.
[[nodiscard]] TColor DarkenColor(TColor color, std::int32_t amount) noexcept;
//! The console colour of index 0..15; 0 for any other index.
[[nodiscard]] TColor QBColor(std::int32_t index) noexcept;
//! The first console index whose colour equals the colour; 0 when none does.
[[nodiscard]] std::uint8_t ToQBColor(TColor color) noexcept;
//! The text read as a hexadecimal number ("FF" is red); raises EConvertError otherwise.
[[nodiscard]] TColor HexToColor(const std::string& text);
//! The text read as a hexadecimal number ("1A" is 26); raises EConvertError otherwise.
[[nodiscard]] std::int32_t HexToInt(const std::string& text);
//! The average colour of the rectangle's pixels (all four bounds inclusive) that
//! lie within 0..maxX and 0..maxY and on the device context's visible area, read
//! from the device context; 0 when none does.
[[nodiscard]] TColor MiscBmpToColor(HDC dc, std::int32_t maxX, std::int32_t maxY, TRect& rect);
//! The average of the elements, each converted to a colour integer; raises
//! EConvertError for an element that is not convertible; 0 for no element.
[[nodiscard]] TColor MiscColor(std::span<const Variant> colors);
//! The average colour of the rectangle's pixels (bounds inclusive) inside the
//! virtual bitmap; 0 when none lies inside.
[[nodiscard]] TColor MiscVBToColor(TVirtualBitmap& bitmap, TRect& rect);

} // namespace plx
