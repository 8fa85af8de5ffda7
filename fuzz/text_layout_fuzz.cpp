// Arbitrary bytes as text: decoding (UTF-8 with Windows-1252 for stray bytes),
// DrawText's line breaking, prefixes and tabs, and drawing with any font size,
// style and angle.
#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "color/host/Gdi.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace plx;
    if (size < 8)
        return 0;
    const std::uint32_t format = data[0] | (data[1] << 8);
    const int width = data[2];
    const int height = static_cast<std::int8_t>(data[3]) * 2;
    const int escapement = (data[4] | (data[5] << 8)) - 0x8000;
    const int style = data[6];
    const int x = static_cast<std::int8_t>(data[7]);
    std::string_view text(reinterpret_cast<const char*>(data + 8), size - 8);

    static TBitmap page(96, 64);
    TCanvas& c = page.Canvas();
    c.Font().SetHeight(height == 0 ? -11 : height);
    c.Font().SetStyle(TFontStyles::FromBits(style & 0x0F));
    c.Font().SetAntiAliased(style & 0x10);
    if (style & 0x20)
        c.Brush().SetColor(clYellow);
    else
        c.Brush().SetStyle(bsClear);

    TRect r = Rect(x, x / 2, x + width, x / 2 + 60);
    TRect measured = r;
    DrawText(c, text, measured, format | DT_CALCRECT);
    DrawText(c, text, r, format & ~DT_CALCRECT);

    HFONT font = CreateFontA(height, style >> 6, escapement, 0, (style & 1) ? 700 : 400, style & 2, style & 4, style & 8, 0,
        0, 0, (style & 0x10) ? 4 : 0, 0, "DejaVu Sans");
    HGDIOBJ old = SelectObject(c.Handle(), font);
    c.TextOut(x, 32, text);
    (void)c.TextExtent(text);
    SelectObject(c.Handle(), old);
    DeleteObject(font);
    return 0;
}
