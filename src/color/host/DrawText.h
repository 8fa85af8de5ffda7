// DrawText: formatted text in a rectangle, with the platform's format flags.
#pragma once

#include "color/host/Gdi.h"
#include "color/host/Types.h"

#include <cstdint>
#include <string_view>

namespace plx {

class TCanvas;

inline constexpr std::uint32_t DT_TOP = 0x0;
inline constexpr std::uint32_t DT_LEFT = 0x0;
inline constexpr std::uint32_t DT_CENTER = 0x1;
inline constexpr std::uint32_t DT_RIGHT = 0x2;
inline constexpr std::uint32_t DT_VCENTER = 0x4;
inline constexpr std::uint32_t DT_BOTTOM = 0x8;
inline constexpr std::uint32_t DT_WORDBREAK = 0x10;
inline constexpr std::uint32_t DT_SINGLELINE = 0x20;
inline constexpr std::uint32_t DT_EXPANDTABS = 0x40;
inline constexpr std::uint32_t DT_NOCLIP = 0x100;
inline constexpr std::uint32_t DT_CALCRECT = 0x400;
inline constexpr std::uint32_t DT_NOPREFIX = 0x800;

//! Draws text in rect with the canvas's text font, colour and brush (a solid
//! brush fills behind each line, as TextOut does), and returns the height of the
//! text, or, for a single line placed with DT_VCENTER or DT_BOTTOM, the distance
//! from rect's top to the bottom of the line. Other flags are ignored.
//! - Lines break at CR, LF and CR LF unless DT_SINGLELINE; with DT_WORDBREAK also
//!   between words where a line would pass rect's right edge (a word longer than
//!   the width stays whole). DT_VCENTER and DT_BOTTOM apply to single lines only.
//! - Lines align left, centred ((width - line width) div 2) or right.
//! - "&" underlines the next character (the accelerator) and "&&" is a literal
//!   "&", unless DT_NOPREFIX; a "&" at the very end is dropped.
//! - DT_EXPANDTABS sets tab stops every eight average character widths.
//! - Output is clipped to rect unless DT_NOCLIP.
//! - DT_CALCRECT draws nothing and sets rect's right and bottom edges to the
//!   text's extent (an empty text gives an empty rectangle).
std::int32_t DrawText(TCanvas& canvas, std::string_view text, TRect& rect, std::uint32_t format);
//! The platform form: count bytes of text, or up to its terminating zero when
//! count is negative. 0 for an unknown device context or a null text.
std::int32_t DrawTextA(HDC dc, const char* text, std::int32_t count, TRect& rect, std::uint32_t format);

} // namespace plx
