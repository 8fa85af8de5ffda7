// Text at any int32 position, in turned fonts, on canvases whose origin may lie
// anywhere: TextOut, TextRect and DrawText. Nothing may be written outside the
// clip, the pen must move by the text's width, and no call may crash, wrap or
// take time beyond what its visible part needs.
#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "color/host/Gdi.h"

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint32_t Bits(std::size_t bytes)
    {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            v |= static_cast<std::uint32_t>(m_at < m_size ? m_data[m_at++] : 0) << (8 * i);
        return v;
    }
    std::int32_t Int32() { return static_cast<std::int32_t>(Bits(4)); }
    std::int32_t Small() { return static_cast<std::int8_t>(Bits(1)); }
    std::string_view Rest() const
    {
        return { reinterpret_cast<const char*>(m_data + m_at), m_at < m_size ? m_size - m_at : 0 };
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at { 0 };
};

// A position: either any int32 value, or one near the far point `far`.
std::int32_t Coordinate(Reader& in, std::uint32_t mode, std::int32_t far)
{
    const std::int32_t raw = in.Int32();
    if (mode == 0)
        return raw;
    return plx::SaturateInt32(std::int64_t { far } + (raw % 64));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace plx;
    if (size < 28)
        return 0;
    Reader in(data, size);
    const std::uint32_t flags = in.Bits(2);
    const std::int32_t escapement = static_cast<std::int16_t>(in.Bits(2));
    const std::int32_t height = in.Small() * 2;
    const std::int32_t far[] = { 0, INT32_MAX, INT32_MIN, INT32_MAX - 40, INT32_MIN + 40, 1 << 30, -(1 << 30), 40 };
    const std::int32_t farX = far[flags & 7], farY = far[(flags >> 3) & 7];
    // The origin puts the far point at a place on the page, or anywhere at all.
    const std::int32_t originX = (flags & 0x40) ? in.Int32() : SaturateInt32(20 - std::int64_t { farX });
    const std::int32_t originY = (flags & 0x80) ? in.Int32() : SaturateInt32(16 - std::int64_t { farY });
    const std::uint32_t mode = (flags >> 8) & 1;
    const std::int32_t x = Coordinate(in, mode, farX), y = Coordinate(in, mode, farY);
    const std::int32_t w = (flags & 0x200) ? in.Int32() : static_cast<std::int32_t>(in.Bits(1));
    const std::int32_t h = (flags & 0x400) ? in.Int32() : static_cast<std::int32_t>(in.Bits(1));
    const std::uint32_t format = in.Bits(2);
    const std::uint32_t clipBits = in.Bits(4);
    const std::string_view text = in.Rest().substr(0, 256);

    static TBitmap page(64, 48);
    page.Canvas().Brush().SetColor(clWhite);
    page.Canvas().FillRect(Rect(0, 0, 64, 48));
    const std::vector<std::uint32_t> before(page.Image().Words().begin(), page.Image().Words().end());

    const TRect clip = Rect(clipBits & 63, (clipBits >> 6) & 47, ((clipBits >> 12) & 63) + 1, ((clipBits >> 18) & 47) + 1);
    TCanvas c;
    c.SetSurface(&page.Image(), Point(originX, originY), clip);
    c.Font().SetName("DejaVu Sans");
    c.Font().SetColor(clNavy);
    if (flags & 0x800)
        c.Brush().SetColor(clYellow);
    else
        c.Brush().SetStyle(bsClear);

    const auto averageWidth = static_cast<std::int32_t>((flags >> 12) & 3) * 4;
    TGdiObjectHandle font(CreateFontA(height == 0 ? -11 : height, averageWidth, escapement, 0,
        (flags & 0x4000) ? FW_BOLD : FW_NORMAL, flags & 0x8000, (flags >> 1) & 1, (flags >> 2) & 1, 0, 0, 0,
        (flags & 0x20) ? ANTIALIASED_QUALITY : 0, 0, "DejaVu Sans"));
    const HGDIOBJ previous = SelectObject(c.Handle(), font.Get());

    c.TextOut(x, y, text);
    fuzz::Check(c.PenPos() == Point(SaturateInt32(std::int64_t { x } + c.TextWidth(text)), y));
    c.TextRect(Bounds(x, y, w, h), x, y, text);
    TRect box = Rect(x, y, SaturateInt32(std::int64_t { x } + w), SaturateInt32(std::int64_t { y } + h));
    TRect measured = box;
    DrawText(c, text, measured, format | DT_CALCRECT);
    DrawText(c, text, box, format & ~DT_CALCRECT);
    SelectObject(c.Handle(), previous);

    // Nothing outside the clip changed.
    const auto words = page.Image().Words();
    for (std::int32_t row = 0; row < 48; ++row)
        for (std::int32_t col = 0; col < 64; ++col) {
            const auto i = static_cast<std::size_t>(row * 64 + col);
            if (!clip.Contains(Point(col, row)))
                fuzz::Check(words[i] == before[i]);
        }
    return 0;
}
