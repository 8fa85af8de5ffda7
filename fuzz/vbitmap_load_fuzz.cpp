// Feeds arbitrary bytes to TVirtualBitmap::LoadFromStream. A stream it accepts
// must give a bitmap whose every pixel can be read and written, whose pixels are
// those the host bitmap reads from the same stream, and whose saved stream reads
// back byte for byte; a stream it rejects must leave the bitmap as it was and say why.
#include "FuzzCheck.h"

#include "color/VBitmap.h"
#include "color/host/Bitmap.h"
#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace plx;
using plx::fuzz::Check;

namespace {

// The host bitmap reads the same stream to the same pixels (small images only).
void CheckAgainstHost(const TVirtualBitmap& v, const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
    TBitmap host;
    host.LoadFromStream(stream); // must not throw: both readers share the parser
    Check(host.Width() == v.Width() && host.Height() == v.Height());
    for (std::int32_t y = 0; y < v.Height(); ++y)
        for (std::int32_t x = 0; x < v.Width(); ++x)
            Check(host.Canvas().Pixels(x, y) == v.GetPixel(x, y));
}

// Saving writes the classic layout, which reads back to the same bytes.
void CheckSaveRoundTrip(const TVirtualBitmap& v)
{
    TMemoryStream saved;
    v.SaveToStream(saved);
    saved.SetPosition(0);
    TVirtualBitmap back(1, 1, 24);
    back.LoadFromStream(saved);
    TMemoryStream again;
    back.SaveToStream(again);
    Check(again.Bytes() == saved.Bytes());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Run-length data can describe large images in a few bytes: keep each run
    // fast, while still reaching the limit's refusal.
    SetImageAllocationLimit(std::uint64_t { 1 } << 20);
    return 0;
}

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
        Check(v.Width() == 3 && v.Height() == 2 && v.Bits() == 8 && v.GetPixel(2, 1) == 0x123456);
        Check(!v.LoadError().empty());
        return 0;
    }
    Check(v.LoadError().empty());
    Check(v.PixelData().size() == v.RowSize() * static_cast<std::size_t>(v.Height()));
    const std::int32_t w = v.Width(), h = v.Height();
    if (static_cast<std::int64_t>(w) * h <= 4096) {
        CheckAgainstHost(v, data, size);
        CheckSaveRoundTrip(v);
    }
    // Touch a bounded sample of pixels (corners and a diagonal), reading and writing.
    for (std::int32_t i = 0; i < 64; ++i) {
        const std::int32_t x = static_cast<std::int32_t>(static_cast<std::int64_t>(w - 1) * i / 63);
        const std::int32_t y = static_cast<std::int32_t>(static_cast<std::int64_t>(h - 1) * i / 63);
        const TColor c = v.GetPixel(x, y);
        v.SetPixel(x, y, c);
        v.SetPixel(w - 1 - x, y, c ^ 0x010101);
    }
    if (v.Bits() <= 8)
        (void)v.GetNearestColor(0x808080);
    // Drawing reaches past the edges, over at most 64 pixels a side (run-length
    // data makes tall bitmaps cheap to describe, so the work stays bounded).
    const std::int32_t dw = std::min(w, 64), dh = std::min(h, 64);
    v.Pen().SetColor(0x00FF00);
    v.Line(-5, -7, dw + 3, dh + 9);
    v.Rectangle(1, 1, dw - 2, dh - 2);
    // Small results go through the host bitmap, which must accept them.
    if (static_cast<std::int64_t>(w) * h <= 4096) {
        TBitmap host;
        v.ProduceBitmap(host);
        Check(host.Width() == w && host.Height() == h);
        TVirtualBitmap back(host);
        Check(back.Width() == w && back.Height() == h);
    }
    return 0;
}
