// Tiling and block copies over a full-HD 32-bit canvas, against memcpy of the
// same amount of pixels.
#include "color/host/Bitmap.h"
#include "paint/DrawMan.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace plx;

namespace {

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;
constexpr std::int64_t kBytes = std::int64_t { kWidth } * kHeight * 4;

TBitmap& Target()
{
    static TBitmap bitmap(kWidth, kHeight);
    return bitmap;
}

std::unique_ptr<TBitmap> Pattern(std::int32_t w, std::int32_t h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x)
            b->Canvas().SetPixels(x, y, RGB(x * 5, y * 5, 128));
    return b;
}

void Memcpy(benchmark::State& state)
{
    auto words = Target().Image().Words();
    std::vector<std::uint32_t> source(words.size(), 0x336699);
    for (auto _ : state) {
        std::memcpy(words.data(), source.data(), words.size_bytes());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(Memcpy);

void MultiPaintTile(benchmark::State& state)
{
    auto tile = Pattern(48, 48);
    for (auto _ : state) {
        MultiPaint(Target().Canvas(), *tile, Rect(0, 0, kWidth, kHeight));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(MultiPaintTile);

void MultiClipPaintTile(benchmark::State& state)
{
    auto tile = Pattern(48, 48);
    const TRect r = Rect(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        MultiClipPaint(Target().Canvas(), *tile, r, r);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(MultiClipPaintTile);

void BytesPaintFull(benchmark::State& state)
{
    auto picture = Pattern(kWidth, kHeight);
    for (auto _ : state) {
        BytesPaint(Target().Canvas(), Rect(0, 0, kWidth, kHeight), *picture);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BytesPaintFull);

} // namespace
