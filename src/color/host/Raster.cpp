#include "color/host/Raster.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <limits>
#include <string>

namespace plx {

namespace {

constexpr std::uint32_t Expand5(std::uint32_t v) noexcept { return (v << 3) | (v >> 2); }
constexpr std::uint32_t Expand6(std::uint32_t v) noexcept { return (v << 2) | (v >> 4); }

std::uint32_t Quantize555(TColor c) noexcept
{
    std::uint32_t r = Expand5(GetRValue(c) >> 3);
    std::uint32_t g = Expand5(GetGValue(c) >> 3);
    std::uint32_t b = Expand5(GetBValue(c) >> 3);
    return r | (g << 8) | (b << 16);
}

std::uint32_t Quantize565(TColor c) noexcept
{
    std::uint32_t r = Expand5(GetRValue(c) >> 3);
    std::uint32_t g = Expand6(GetGValue(c) >> 2);
    std::uint32_t b = Expand5(GetBValue(c) >> 3);
    return r | (g << 8) | (b << 16);
}

} // namespace

int Raster::BitsPerPixel(TPixelFormat f) noexcept
{
    switch (f) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf32bit:
        return 32;
    default:
        return 24;
    }
}

std::vector<TColor> Raster::DefaultPalette(TPixelFormat f)
{
    // The sixteen colours of the classic VGA palette, in the platform's order.
    static constexpr TColor kVga[16] = { 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };
    switch (f) {
    case pf1bit:
        return { 0x000000, 0xFFFFFF };
    case pf4bit:
        return { std::begin(kVga), std::end(kVga) };
    case pf8bit: {
        // VGA colours, a 6 x 6 x 6 colour cube and 24 greys.
        std::vector<TColor> p(std::begin(kVga), std::end(kVga));
        for (int b = 0; b < 6; ++b)
            for (int g = 0; g < 6; ++g)
                for (int r = 0; r < 6; ++r)
                    p.push_back(RGB(r * 51, g * 51, b * 51));
        for (int i = 1; i <= 24; ++i) {
            int v = i * 255 / 25;
            p.push_back(RGB(v, v, v));
        }
        return p;
    }
    default:
        return {};
    }
}

void Raster::CheckSize(std::int64_t width, std::int64_t height)
{
    if (width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels)
        throw EInvalidGraphic("Bitmap size " + std::to_string(width) + " x " + std::to_string(height)
            + " is too large (at most 32767 per side and 2^28 pixels)");
}

bool Raster::IsMonochrome() const noexcept
{
    return m_format == pf1bit && m_palette.size() == 2 && (m_palette[0] & 0xFFFFFF) == 0
        && (m_palette[1] & 0xFFFFFF) == 0xFFFFFF;
}

void Raster::SetSize(std::int32_t width, std::int32_t height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    CheckSize(width, height);
    if (width == m_width && height == m_height)
        return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Store(clWhite));
    std::int32_t keepW = std::min(width, m_width);
    std::int32_t keepH = std::min(height, m_height);
    for (std::int32_t y = 0; y < keepH; ++y)
        std::copy_n(Row(y), keepW, pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
}

void Raster::SetFormat(TPixelFormat format)
{
    if (format == m_format)
        return;
    if (format == pfCustom)
        format = pf24bit;
    m_format = format;
    m_palette = DefaultPalette(format);
    m_nearestCache.clear();
    for (auto& word : m_pixels)
        word = Store(static_cast<TColor>(word & 0xFFFFFF));
}

void Raster::SetPalette(std::span<const TColor> palette)
{
    if (!HasPalette())
        return;
    std::size_t entries = std::size_t { 1 } << BitsPerPixel(m_format);
    m_palette.assign(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(std::min(palette.size(), entries)));
    if (m_palette.empty())
        m_palette.push_back(0);
    for (auto& c : m_palette)
        c &= 0xFFFFFF;
    m_nearestCache.clear();
    for (auto& word : m_pixels) {
        std::uint32_t index = word >> 24;
        if (index >= m_palette.size())
            index = 0;
        word = StoreIndex(index);
    }
}

std::uint32_t Raster::Store(TColor color) const
{
    switch (m_format) {
    case pf1bit:
    case pf4bit:
    case pf8bit:
        return Nearest(color);
    case pf15bit:
        return Quantize555(color);
    case pf16bit:
        return Quantize565(color);
    default:
        return static_cast<std::uint32_t>(color) & 0xFFFFFF;
    }
}

std::uint32_t Raster::Nearest(TColor color) const
{
    std::uint32_t rgb = static_cast<std::uint32_t>(color) & 0xFFFFFF;
    if (auto it = m_nearestCache.find(rgb); it != m_nearestCache.end())
        return it->second;
    std::uint32_t best = 0;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::uint32_t i = 0; i < m_palette.size(); ++i) {
        TColor p = m_palette[i];
        std::int64_t dr = GetRValue(p) - GetRValue(color);
        std::int64_t dg = GetGValue(p) - GetGValue(color);
        std::int64_t db = GetBValue(p) - GetBValue(color);
        std::int64_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    std::uint32_t word = m_palette.empty() ? 0 : StoreIndex(best);
    if (m_nearestCache.size() > 4096)
        m_nearestCache.clear();
    m_nearestCache.emplace(rgb, word);
    return word;
}

void Raster::Fill(TColor color)
{
    std::fill(m_pixels.begin(), m_pixels.end(), Store(color));
}

void Raster::CopyFrom(const Raster& other)
{
    if (&other == this)
        return;
    m_width = other.m_width;
    m_height = other.m_height;
    m_format = other.m_format;
    m_palette = other.m_palette;
    m_pixels = other.m_pixels;
    m_nearestCache.clear();
}

void Raster::Reset(std::int32_t width, std::int32_t height, TPixelFormat format, std::vector<TColor> palette)
{
    Reshape(width, height, format, std::move(palette), true);
}

void Raster::ResetForOverwrite(std::int32_t width, std::int32_t height, TPixelFormat format, std::vector<TColor> palette)
{
    Reshape(width, height, format, std::move(palette), false);
}

void Raster::Reshape(std::int32_t width, std::int32_t height, TPixelFormat format, std::vector<TColor> palette, bool zero)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    CheckSize(width, height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    // Storage of about the right size is reused (a bitmap reloaded at the same
    // size touches no new memory); much larger storage is given back.
    if (m_pixels.capacity() >= count && m_pixels.capacity() / 2 <= count) {
        if (zero)
            m_pixels.assign(count, 0);
        else
            m_pixels.resize(count);
    } else {
        std::vector<std::uint32_t> pixels(count, 0);
        m_pixels = std::move(pixels);
    }
    for (auto& c : palette)
        c &= 0xFFFFFF;
    m_width = width;
    m_height = height;
    m_format = format;
    m_palette = IsPaletteFormat(format) ? std::move(palette) : std::vector<TColor> {};
    m_nearestCache.clear();
}

void Raster::Clear() noexcept
{
    m_width = 0;
    m_height = 0;
    m_format = pfDevice;
    m_palette.clear();
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_nearestCache.clear();
}

} // namespace plx
