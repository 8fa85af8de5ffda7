// Raster: the pixel store behind every bitmap and canvas of the host layer.
#pragma once

#include "color/host/Types.h"

#include <cassert>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace plx {

//! The declared pixel format of a bitmap: what a .bmp stream holds and what
//! colours a pixel can take. pfDevice is the screen's own format (true colour,
//! saved as 24 bits).
enum TPixelFormat : std::uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

//! The largest bitmap side and area the host accepts.
inline constexpr std::int32_t kMaxBitmapSide = 32767;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t { 1 } << 28;

//! Pixels are kept one 32-bit word each, rows top-down, whatever the declared
//! format: the low three bytes hold the colour as 0x00BBGGRR, so reading a pixel
//! is one load and fills and copies are plain word loops. Palette formats keep the
//! entry's index in the top byte (so .bmp streams round-trip exactly, even with
//! duplicate entries); every other format keeps 0 there. Writing a colour stores
//! what the format can hold: the nearest table entry for palette formats, 5 bits
//! a channel for 15-bit pixels.
class Raster {
public:
    Raster() = default;

    //! Throws EInvalidGraphic for a side over 32,767 or an area over 2^28 pixels;
    //! negative sizes count as 0. Kept content stays at the top-left; new pixels
    //! are white.
    void SetSize(std::int32_t width, std::int32_t height);
    //! Converts every pixel to what the new format can hold.
    void SetFormat(TPixelFormat format);
    //! Replaces the colour table of a palette format; pixels keep their index.
    void SetPalette(std::span<const TColor> palette);

    [[nodiscard]] std::int32_t Width() const noexcept { return m_width; }
    [[nodiscard]] std::int32_t Height() const noexcept { return m_height; }
    [[nodiscard]] bool Empty() const noexcept { return m_width == 0 || m_height == 0; }
    [[nodiscard]] TRect Bounds() const noexcept { return { 0, 0, m_width, m_height }; }
    [[nodiscard]] TPixelFormat Format() const noexcept { return m_format; }
    [[nodiscard]] const std::vector<TColor>& Palette() const noexcept { return m_palette; }
    [[nodiscard]] bool HasPalette() const noexcept { return IsPaletteFormat(m_format); }
    //! A 1-bit bitmap whose table is black and white: the monochrome bitmap of
    //! the raster rules (copies to and from it use the text and background colours).
    [[nodiscard]] bool IsMonochrome() const noexcept;

    [[nodiscard]] std::uint32_t* Row(std::int32_t y) noexcept
    {
        assert(y >= 0 && y < m_height);
        return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    [[nodiscard]] const std::uint32_t* Row(std::int32_t y) const noexcept
    {
        assert(y >= 0 && y < m_height);
        return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    [[nodiscard]] std::span<std::uint32_t> Words() noexcept { return m_pixels; }
    [[nodiscard]] std::span<const std::uint32_t> Words() const noexcept { return m_pixels; }

    [[nodiscard]] TColor GetColor(std::int32_t x, std::int32_t y) const noexcept
    {
        return static_cast<TColor>(Row(y)[x] & 0xFFFFFF);
    }
    void SetColor(std::int32_t x, std::int32_t y, TColor color) { Row(y)[x] = Store(color); }

    //! The word that stores a colour in this format.
    [[nodiscard]] std::uint32_t Store(TColor color) const;
    //! The word of palette entry index (palette formats only).
    //! An index beyond the table (a stream with a short table) reads as black.
    [[nodiscard]] std::uint32_t StoreIndex(std::uint32_t index) const noexcept
    {
        std::uint32_t color = index < m_palette.size() ? static_cast<std::uint32_t>(m_palette[index]) & 0xFFFFFF : 0;
        return (index << 24) | color;
    }

    //! Fills the whole raster with one colour.
    void Fill(TColor color);
    //! Copies size, format, table and pixels.
    void CopyFrom(const Raster& other);
    //! Replaces everything with a raster of the given size, format and table whose
    //! words are all 0 (palette index 0, or black); checks the size first.
    void Reset(std::int32_t width, std::int32_t height, TPixelFormat format, std::vector<TColor> palette);
    //! As Reset, but the words are left unspecified: for a caller that writes every one.
    void ResetForOverwrite(std::int32_t width, std::int32_t height, TPixelFormat format, std::vector<TColor> palette);
    //! Drops everything: 0 x 0, pfDevice.
    void Clear() noexcept;

    [[nodiscard]] static bool IsPaletteFormat(TPixelFormat f) noexcept { return f == pf1bit || f == pf4bit || f == pf8bit; }
    [[nodiscard]] static int BitsPerPixel(TPixelFormat f) noexcept;
    //! The table a palette format gets when a bitmap is converted to it.
    [[nodiscard]] static std::vector<TColor> DefaultPalette(TPixelFormat f);
    //! Throws EInvalidGraphic unless the size is acceptable.
    static void CheckSize(std::int64_t width, std::int64_t height);

private:
    [[nodiscard]] std::uint32_t Nearest(TColor color) const;
    void Reshape(std::int32_t width, std::int32_t height, TPixelFormat format, std::vector<TColor> palette, bool zero);

    std::int32_t m_width { 0 };
    std::int32_t m_height { 0 };
    TPixelFormat m_format { pfDevice };
    std::vector<TColor> m_palette;
    std::vector<std::uint32_t> m_pixels;
    mutable std::unordered_map<std::uint32_t, std::uint32_t> m_nearestCache;
};

} // namespace plx
