// GDI-style calls over the host's canvases and bitmaps: a handle table of
// device contexts, bitmaps and fonts, and the raster calls that take them.
#pragma once

#include "color/host/Types.h"

#include <cstddef>
#include <cstdint>

namespace plx {

using HANDLE = std::uintptr_t;
using HGDIOBJ = HANDLE;
using HDC = HANDLE;
using HBITMAP = HANDLE;
using HFONT = HANDLE;
using BOOL = bool;

//! \name Bitmaps and device contexts
//! A new bitmap of 1 bit (monochrome, black) or of 24/32 bits (black); the
//! caller releases it with DeleteObject. bits is not read.
[[nodiscard]] HBITMAP CreateBitmap(std::int32_t width, std::int32_t height, std::uint32_t planes, std::uint32_t bitCount,
    const void* bits);
[[nodiscard]] HBITMAP CreateCompatibleBitmap(HDC dc, std::int32_t width, std::int32_t height);
//! A memory device context with no bitmap selected; released with DeleteDC.
[[nodiscard]] HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
//! Selects a bitmap (memory device contexts) or a font into a device context;
//! returns the previously selected object of that kind, or 0. A context without
//! a selected font answers with a handle that, selected again, returns it to its
//! canvas's own font.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
//! Releases an object the caller created. Objects that belong to a TBitmap or a
//! TCanvas, and unknown handles, are refused (false).
BOOL DeleteObject(HGDIOBJ object);
//! Caller-created objects not yet released: a leak shows as a count that does
//! not return to its earlier value.
[[nodiscard]] std::int32_t GdiObjectCount() noexcept;

//! \name Pixels and colours
[[nodiscard]] TColor GetPixel(HDC dc, std::int32_t x, std::int32_t y);
TColor SetPixel(HDC dc, std::int32_t x, std::int32_t y, TColor color);
//! Set the colours used by copies between monochrome and colour bitmaps; each
//! returns the previous colour (clInvalid for an unknown context).
TColor SetBkColor(HDC dc, TColor color);
TColor SetTextColor(HDC dc, TColor color);
[[nodiscard]] TColor GetBkColor(HDC dc);
[[nodiscard]] TColor GetTextColor(HDC dc);

//! \name Raster operations
//! Combines source, destination and the destination's brush with any ternary
//! raster operation code. A monochrome source takes the destination's text
//! colour for black and background colour for white; a colour source copied
//! into a monochrome destination gives white for the source's background colour
//! and black for everything else.
BOOL BitBlt(HDC dest, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, HDC source,
    std::int32_t sourceX, std::int32_t sourceY, std::uint32_t rop);
BOOL StretchBlt(HDC dest, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, HDC source,
    std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth, std::int32_t sourceHeight, std::uint32_t rop);
//! A raster operation on the destination with its brush only.
BOOL PatBlt(HDC dest, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t rop);

//! \name Fonts
inline constexpr std::int32_t FW_DONTCARE = 0;
inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;
inline constexpr std::uint32_t OUT_DEFAULT_PRECIS = 0;
inline constexpr std::uint32_t CLIP_DEFAULT_PRECIS = 0;
inline constexpr std::uint32_t CLIP_STROKE_PRECIS = 2;
inline constexpr std::uint32_t DEFAULT_QUALITY = 0;
inline constexpr std::uint32_t NONANTIALIASED_QUALITY = 3;
inline constexpr std::uint32_t ANTIALIASED_QUALITY = 4;
inline constexpr std::uint32_t CLEARTYPE_QUALITY = 5;
inline constexpr std::uint32_t DEFAULT_PITCH = 0;
inline constexpr std::size_t LF_FACESIZE = 32;

//! A logical font. Heights as for TFont (negative: character height, positive:
//! cell height, 0: default); escapement in tenths of a degree, counter-clockwise
//! (the orientation is not used: characters turn with the baseline); weights of
//! 600 and more are bold; ANTIALIASED_QUALITY and CLEARTYPE_QUALITY give smoothed
//! glyphs, every other quality one bit per pixel.
struct LOGFONTA {
    std::int32_t lfHeight { 0 };
    std::int32_t lfWidth { 0 };
    std::int32_t lfEscapement { 0 };
    std::int32_t lfOrientation { 0 };
    std::int32_t lfWeight { FW_NORMAL };
    std::uint8_t lfItalic { 0 };
    std::uint8_t lfUnderline { 0 };
    std::uint8_t lfStrikeOut { 0 };
    std::uint8_t lfCharSet { 0 };
    std::uint8_t lfOutPrecision { 0 };
    std::uint8_t lfClipPrecision { 0 };
    std::uint8_t lfQuality { 0 };
    std::uint8_t lfPitchAndFamily { 0 };
    char lfFaceName[LF_FACESIZE] {};
};

//! A font object for SelectObject, released with DeleteObject. The face name is
//! read up to its terminating zero and cut to 31 characters; a null name is the
//! default face.
[[nodiscard]] HFONT CreateFontA(std::int32_t height, std::int32_t width, std::int32_t escapement, std::int32_t orientation,
    std::int32_t weight, std::uint32_t italic, std::uint32_t underline, std::uint32_t strikeOut, std::uint32_t charSet,
    std::uint32_t outPrecision, std::uint32_t clipPrecision, std::uint32_t quality, std::uint32_t pitchAndFamily,
    const char* faceName);
[[nodiscard]] HFONT CreateFontIndirectA(const LOGFONTA& logFont);

//! Releases a GDI object when it goes out of scope.
class TGdiObjectHandle {
public:
    TGdiObjectHandle() = default;
    explicit TGdiObjectHandle(HGDIOBJ handle) noexcept
        : m_handle(handle)
    {
    }
    ~TGdiObjectHandle() { Reset(); }
    TGdiObjectHandle(TGdiObjectHandle&& other) noexcept
        : m_handle(other.Release())
    {
    }
    TGdiObjectHandle& operator=(TGdiObjectHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = other.Release();
        }
        return *this;
    }
    TGdiObjectHandle(const TGdiObjectHandle&) = delete;
    TGdiObjectHandle& operator=(const TGdiObjectHandle&) = delete;

    [[nodiscard]] HGDIOBJ Get() const noexcept { return m_handle; }
    [[nodiscard]] explicit operator bool() const noexcept { return m_handle != 0; }
    HGDIOBJ Release() noexcept
    {
        HGDIOBJ h = m_handle;
        m_handle = 0;
        return h;
    }
    void Reset() noexcept
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = 0;
    }

private:
    HGDIOBJ m_handle { 0 };
};

} // namespace plx
