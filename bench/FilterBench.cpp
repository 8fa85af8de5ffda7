// Bitmap filters against plain loops doing the same colour arithmetic on a raw
// 24-bit buffer, and against memcpy of the picture's pixels (the counter
// x_memcpy: median time of a call / median time of a memcpy of the image's
// pixels, both in wall-clock time, measured in the same run). The filters' figures include everything the
// call does: true-colour pictures are read and written directly, palette
// pictures make the whole trip through the .bmp stream (host bitmap -> virtual
// bitmap -> filter -> host bitmap).
#include "BenchRatio.h"

#include "color/ColorMan.h"
#include "color/host/Bitmap.h"
#include "design/PlumexPackage.h"
#include "paint/GrafMan.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using namespace plx;

namespace {

constexpr std::int32_t kSide = 4096;
constexpr std::int32_t kSoftSide = 1024;

// A 24-bit picture with every channel varying, so no filter meets a constant.
std::unique_ptr<TBitmap> Picture(std::int32_t side, std::int32_t seed)
{
    auto b = std::make_unique<TBitmap>(side, side);
    b->SetPixelFormat(pf24bit);
    Raster& image = b->Image();
    for (std::int32_t y = 0; y < side; ++y) {
        std::uint32_t* row = image.Row(y);
        for (std::int32_t x = 0; x < side; ++x)
            row[x] = static_cast<std::uint32_t>(RGB(x + seed, y * 3, (x ^ y) + seed * 7));
    }
    return b;
}

// The same picture as rows of blue, green, red bytes.
std::vector<std::uint8_t> RawPicture(std::int32_t side, std::int32_t seed)
{
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 3);
    std::size_t i = 0;
    for (std::int32_t y = 0; y < side; ++y)
        for (std::int32_t x = 0; x < side; ++x) {
            const TColor c = RGB(x + seed, y * 3, (x ^ y) + seed * 7);
            raw[i++] = GetBValue(c);
            raw[i++] = GetGValue(c);
            raw[i++] = GetRValue(c);
        }
    return raw;
}

// Each pass reads the same picture and writes the colours to a second buffer,
// so every iteration does the arithmetic on the same input, as the filters do.
template <class F>
void RawLoop(benchmark::State& state, F f)
{
    const auto raw = RawPicture(kSide, 1);
    std::vector<std::uint8_t> out(raw.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < raw.size(); i += 3) {
            const TColor c = f(RGB(raw[i + 2], raw[i + 1], raw[i]));
            out[i] = GetBValue(c);
            out[i + 1] = GetGValue(c);
            out[i + 2] = GetRValue(c);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

// One copy of a side x side picture's pixels, as a bitmap holds them (one word
// a pixel).
class ImageCopy {
public:
    explicit ImageCopy(std::int32_t side)
        : m_from(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0x336699)
        , m_to(m_from.size())
    {
    }
    void operator()() { std::memcpy(m_to.data(), m_from.data(), m_from.size() * sizeof(std::uint32_t)); }

private:
    std::vector<std::uint32_t> m_from, m_to;
};

void BM_Memcpy(benchmark::State& state)
{
    ImageCopy copy(kSide);
    for (auto _ : state) {
        copy();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kSide * kSide * 4);
}

// The filter over a picture, its time also as a multiple of memcpy's.
template <class F>
void Timed(benchmark::State& state, std::int32_t side, const TBitmap& picture, F filter)
{
    ImageCopy copy(side);
    bench::TimeRatio ratio(bench::Clock::Wall);
    for (auto _ : state)
        ratio.Subject([&] { benchmark::DoNotOptimize(&filter(picture)); });
    ratio.Baseline(copy, 9);
    ratio.Report(state, "x_memcpy");
    state.SetItemsProcessed(state.iterations() * side * side);
}

template <class F>
void Filter(benchmark::State& state, F filter)
{
    TPackageScope package;
    auto picture = Picture(kSide, 1);
    Timed(state, kSide, *picture, filter);
}

// The same picture with 8 bits a pixel: filtered through its colour table, on
// the way through the .bmp stream.
template <class F>
void PaletteFilter(benchmark::State& state, F filter)
{
    TPackageScope package;
    auto picture = Picture(kSide, 1);
    picture->SetPixelFormat(pf8bit);
    Timed(state, kSide, *picture, filter);
}

void BM_GreyRawLoop(benchmark::State& state)
{
    RawLoop(state, [](TColor c) { return ColorToGrey(c); });
}

void BM_GreyBMP(benchmark::State& state)
{
    Filter(state, [](const TBitmap& b) -> TBitmap& { return GreyBMP(b); });
}

void BM_GreyBMPPalette(benchmark::State& state)
{
    PaletteFilter(state, [](const TBitmap& b) -> TBitmap& { return GreyBMP(b); });
}

void BM_BrightenRawLoop(benchmark::State& state)
{
    RawLoop(state, [](TColor c) { return BrightenColor(c, 40); });
}

void BM_BrightenBMP(benchmark::State& state)
{
    Filter(state, [](const TBitmap& b) -> TBitmap& { return BrightenBMP(b, 40); });
}

void BM_DarkenRawLoop(benchmark::State& state)
{
    RawLoop(state, [](TColor c) { return DarkenColor(c, 40); });
}

void BM_DarkenBMP(benchmark::State& state)
{
    Filter(state, [](const TBitmap& b) -> TBitmap& { return DarkenBMP(b, 40); });
}

void BM_DarkenBMPPalette(benchmark::State& state)
{
    PaletteFilter(state, [](const TBitmap& b) -> TBitmap& { return DarkenBMP(b, 40); });
}

void BM_ColoriseRawLoop(benchmark::State& state)
{
    RawLoop(state, [](TColor c) { return Colorise(c, 0x2080F0); });
}

void BM_ColoriseImage(benchmark::State& state)
{
    Filter(state, [](const TBitmap& b) -> TBitmap& { return ColoriseImage(b, 0x2080F0); });
}

void BM_MergeRawLoop(benchmark::State& state)
{
    const auto a = RawPicture(kSide, 1);
    const auto b = RawPicture(kSide, 2);
    std::vector<std::uint8_t> out(a.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < a.size(); i += 3) {
            const TColor c = MergeColorExt(RGB(a[i + 2], a[i + 1], a[i]), RGB(b[i + 2], b[i + 1], b[i]), 50);
            out[i] = GetBValue(c);
            out[i + 1] = GetGValue(c);
            out[i + 2] = GetRValue(c);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_MergeBMP(benchmark::State& state)
{
    TPackageScope package;
    auto a = Picture(kSide, 1);
    auto b = Picture(kSide, 2);
    Timed(state, kSide, *a, [&b](const TBitmap& first) -> TBitmap& { return MergeBMP(first, *b); });
}

void BM_MergeBMPPalette(benchmark::State& state)
{
    TPackageScope package;
    auto a = Picture(kSide, 1);
    auto b = Picture(kSide, 2);
    a->SetPixelFormat(pf8bit);
    b->SetPixelFormat(pf8bit);
    Timed(state, kSide, *a, [&b](const TBitmap& first) -> TBitmap& { return MergeBMP(first, *b); });
}

void BM_SoftenBMP(benchmark::State& state)
{
    TPackageScope package;
    auto picture = Picture(kSoftSide, 3);
    const auto radius = static_cast<float>(state.range(0));
    Timed(state, kSoftSide, *picture, [radius](const TBitmap& b) -> TBitmap& { return SoftenBMP(b, radius); });
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GreyRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GreyBMP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GreyBMPPalette)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BrightenRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrightenBMP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DarkenRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DarkenBMP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DarkenBMPPalette)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ColoriseRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColoriseImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MergeRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeBMP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MergeBMPPalette)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SoftenBMP)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
