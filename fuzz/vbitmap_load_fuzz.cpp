// Feeds arbitrary bytes to TVirtualBitmap::LoadFromStream. A stream it accepts
// must give a bitmap whose every pixel can be read and written and which the
// host bitmap reads back; a stream it rejects must leave the bitmap as it was.
#include "color/VBitmap.h"
#include "color/host/Bitmap.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace plx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    if (size > 0)
        stream.WriteBuffer(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
    TVirtualBitmap v(3, 2, 8);
    v.SetColor(1, 0x123456);
    v.SetPixel(2, 1, 0x123456);
    try {
        v.LoadFromStream(stream);
    } catch (const Exception&) {
        if (v.Width() != 3 || v.Height() != 2 || v.Bits() != 8 || v.GetPixel(2, 1) != 0x123456)
            std::abort();
        return 0;
    }
    if (v.PixelData().size() != v.RowSize() * static_cast<std::size_t>(v.Height()))
        std::abort();
    // Touch a bounded sample of pixels (corners and a diagonal), reading and writing.
    const std::int32_t w = v.Width(), h = v.Height();
    for (std::int32_t i = 0; i < 64; ++i) {
        const std::int32_t x = static_cast<std::int32_t>(static_cast<std::int64_t>(w - 1) * i / 63);
        const std::int32_t y = static_cast<std::int32_t>(static_cast<std::int64_t>(h - 1) * i / 63);
        const TColor c = v.GetPixel(x, y);
        v.SetPixel(x, y, c);
        v.SetPixel(w - 1 - x, y, c ^ 0x010101);
    }
    if (v.Bits() <= 8)
        (void)v.GetNearestColor(0x808080);
    v.Pen().SetColor(0x00FF00);
    v.Line(-5, -7, w + 3, h + 9);
    v.Rectangle(1, 1, w - 2, h - 2);
    // Small results go through the host bitmap, which must accept them.
    if (static_cast<std::int64_t>(w) * h <= 4096) {
        TBitmap host;
        v.ProduceBitmap(host);
        if (host.Width() != w || host.Height() != h)
            std::abort();
        TVirtualBitmap back(host);
        if (back.Width() != w || back.Height() != h)
            std::abort();
    }
    return 0;
}
