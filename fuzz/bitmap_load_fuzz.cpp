// Feeds arbitrary bytes to the host's TBitmap::LoadFromStream, through a memory
// stream and through a stream that is not one. Both must agree; a stream it
// accepts must save and load again to the same pixels; a stream it rejects must
// leave the bitmap as it was.
#include "FuzzCheck.h"

#include "color/host/Bitmap.h"
#include "color/host/BmpFormat.h"
#include "color/host/detail/BmpCodec.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace plx;
using plx::fuzz::Check;

namespace {

// A read-only stream over the input that is not a TMemoryStream.
class TByteStream : public TStream {
public:
    TByteStream(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(static_cast<std::int64_t>(size))
    {
    }
    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        const std::int64_t n = std::clamp<std::int64_t>(m_size - m_position, 0, std::max<std::int64_t>(count, 0));
        if (n > 0)
            std::memcpy(buffer, m_data + m_position, static_cast<std::size_t>(n));
        m_position += n;
        return n;
    }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override
    {
        m_position = (origin == soBeginning ? 0 : origin == soCurrent ? m_position : m_size) + offset;
        return m_position;
    }

private:
    const std::uint8_t* m_data;
    std::int64_t m_size;
    std::int64_t m_position { 0 };
};

bool LoadInto(TBitmap& bitmap, TStream& stream)
{
    bitmap.SetSize(3, 2);
    bitmap.Canvas().SetPixels(2, 1, 0x123456);
    try {
        bitmap.LoadFromStream(stream);
    } catch (const Exception&) {
        Check(bitmap.Width() == 3 && bitmap.Height() == 2 && bitmap.Canvas().Pixels(2, 1) == 0x123456);
        return false;
    }
    return true;
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
    TMemoryStream memory;
    if (size > 0)
        memory.WriteBuffer(data, static_cast<std::int64_t>(size));
    memory.SetPosition(0);
    TBitmap a;
    const bool accepted = LoadInto(a, memory);
    TByteStream bytes(data, size);
    TBitmap b;
    Check(LoadInto(b, bytes) == accepted);
    if (!accepted)
        return 0;
    Check(a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat());
    Check(memory.Position() == bytes.Position() && memory.Position() <= static_cast<std::int64_t>(size));
    // Small images round-trip through a saved stream; true colour never reaches the top byte.
    if (static_cast<std::int64_t>(a.Width()) * a.Height() <= 4096) {
        TMemoryStream saved;
        a.SaveToStream(saved);
        saved.SetPosition(0);
        TBitmap c;
        c.LoadFromStream(saved);
        const bool palette = a.Image().HasPalette();
        for (std::int32_t y = 0; y < a.Height(); ++y)
            for (std::int32_t x = 0; x < a.Width(); ++x) {
                Check(palette || (a.Image().Row(y)[x] >> 24) == 0);
                Check(c.Canvas().Pixels(x, y) == a.Canvas().Pixels(x, y) && b.Canvas().Pixels(x, y) == a.Canvas().Pixels(x, y));
            }
    }
    return 0;
}
