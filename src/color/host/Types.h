// Basic value types of the host layer: colours, points, sizes and rectangles.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plx {

//! A colour: red in bits 0-7, green in bits 8-15, blue in bits 16-23 (0x00BBGGRR).
//! Negative values name system colours: 0x80000000 or'ed with the system index.
using TColor = std::int32_t;

//! Points and rectangles use 32-bit signed coordinates. A rectangle includes its
//! left and top edges and excludes its right and bottom edges: Rect(0, 0, 2, 2)
//! covers the four pixels (0, 0), (1, 0), (0, 1) and (1, 1). Any coordinate is
//! valid: widths and heights are 64-bit, and the helpers that move edges
//! saturate at the ends of the int32 range instead of wrapping.
struct TPoint {
    std::int32_t X { 0 };
    std::int32_t Y { 0 };
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    std::int32_t cx { 0 };
    std::int32_t cy { 0 };
    constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
    std::int32_t Left { 0 };
    std::int32_t Top { 0 };
    std::int32_t Right { 0 };
    std::int32_t Bottom { 0 };

    //! Right - Left, exact for any edges (negative for a reversed rectangle).
    [[nodiscard]] constexpr std::int64_t Width() const noexcept { return std::int64_t { Right } - Left; }
    [[nodiscard]] constexpr std::int64_t Height() const noexcept { return std::int64_t { Bottom } - Top; }
    [[nodiscard]] constexpr TPoint TopLeft() const noexcept { return { Left, Top }; }
    [[nodiscard]] constexpr TPoint BottomRight() const noexcept { return { Right, Bottom }; }
    //! True when the rectangle covers no pixel (right <= left or bottom <= top).
    [[nodiscard]] constexpr bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
    [[nodiscard]] constexpr bool Contains(TPoint p) const noexcept
    {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    constexpr bool operator==(const TRect&) const = default;
};

//! The value, clamped to the int32 range.
[[nodiscard]] constexpr std::int32_t SaturateInt32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

//! a + b and a - b, stopping at the ends of the int32 range (one add and a
//! branch that is never taken in practice: cheap enough for every rectangle).
[[nodiscard]] constexpr std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b) noexcept
{
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    return sum;
}
[[nodiscard]] constexpr std::int32_t SaturatingSub(std::int32_t a, std::int32_t b) noexcept
{
    std::int32_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    return difference;
}

[[nodiscard]] constexpr TPoint Point(std::int32_t x, std::int32_t y) noexcept { return { x, y }; }
[[nodiscard]] constexpr TRect Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) noexcept
{
    return { left, top, right, bottom };
}
//! The rectangle of a size at a position; a right or bottom edge beyond the
//! int32 range stops at its end.
[[nodiscard]] constexpr TRect Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) noexcept
{
    return { left, top, SaturatingAdd(left, width), SaturatingAdd(top, height) };
}

//! Grows the rectangle by dx on the left and right and dy on the top and bottom
//! (negative values shrink it); edges stop at the ends of the int32 range.
//! Returns true, as the platform call does.
inline bool InflateRect(TRect& r, std::int32_t dx, std::int32_t dy) noexcept
{
    r.Left = SaturatingSub(r.Left, dx);
    r.Top = SaturatingSub(r.Top, dy);
    r.Right = SaturatingAdd(r.Right, dx);
    r.Bottom = SaturatingAdd(r.Bottom, dy);
    return true;
}

//! Moves the rectangle; edges stop at the ends of the int32 range.
inline bool OffsetRect(TRect& r, std::int32_t dx, std::int32_t dy) noexcept
{
    r.Left = SaturatingAdd(r.Left, dx);
    r.Top = SaturatingAdd(r.Top, dy);
    r.Right = SaturatingAdd(r.Right, dx);
    r.Bottom = SaturatingAdd(r.Bottom, dy);
    return true;
}

//! Left and top inclusive, right and bottom exclusive.
[[nodiscard]] constexpr bool PtInRect(const TRect& r, TPoint p) noexcept { return r.Contains(p); }

[[nodiscard]] constexpr bool IsRectEmpty(const TRect& r) noexcept { return r.IsEmpty(); }

//! The common part of two rectangles; (0, 0, 0, 0) when they do not meet.
[[nodiscard]] constexpr TRect Intersect(const TRect& a, const TRect& b) noexcept
{
    TRect r { std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom) };
    if (r.IsEmpty())
        return {};
    return r;
}

//! Platform form: stores the intersection in dst and returns whether it is non-empty.
inline bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) noexcept
{
    dst = Intersect(a, b);
    return !dst.IsEmpty();
}

//! The smallest rectangle holding both; an empty rectangle does not count.
[[nodiscard]] constexpr TRect Union(const TRect& a, const TRect& b) noexcept
{
    if (a.IsEmpty())
        return b.IsEmpty() ? TRect {} : b;
    if (b.IsEmpty())
        return a;
    return { std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom) };
}

inline bool UnionRect(TRect& dst, const TRect& a, const TRect& b) noexcept
{
    dst = Union(a, b);
    return !dst.IsEmpty();
}

//! Channel access on the low three bytes, whatever the top byte holds.
[[nodiscard]] constexpr std::uint8_t GetRValue(TColor c) noexcept { return static_cast<std::uint8_t>(c & 0xFF); }
[[nodiscard]] constexpr std::uint8_t GetGValue(TColor c) noexcept { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
[[nodiscard]] constexpr std::uint8_t GetBValue(TColor c) noexcept { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
//! Composes a colour from the low 8 bits of each channel.
[[nodiscard]] constexpr TColor RGB(std::int32_t r, std::int32_t g, std::int32_t b) noexcept
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// Explicit colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

//! The value the canvas reads outside its bitmap (the platform's CLR_INVALID).
inline constexpr TColor clInvalid = static_cast<TColor>(0xFFFFFFFFu);

// System colours: 0x80000000 or'ed with the system colour index.
[[nodiscard]] constexpr TColor SystemColor(std::int32_t index) noexcept
{
    return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index));
}
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

inline constexpr std::int32_t kSystemColorCount = 25;

// Raster operation codes for BitBlt and TCanvas::CopyMode.
using DWORD = std::uint32_t;
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGECOPY = 0x00C000CA;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATPAINT = 0x00FB0A09;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

using TCopyMode = std::int32_t;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

} // namespace plx
