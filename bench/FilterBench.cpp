// Bitmap filters against plain loops doing the same colour arithmetic on a raw
// 24-bit buffer. The filters' figures include the whole trip through the .bmp
// stream: host bitmap -> virtual bitmap -> filter -> host bitmap.
#include "color/ColorMan.h"
#include "color/host/Bitmap.h"
#include "design/PlumexPackage.h"
#include "paint/GrafMan.h"

#include <benchmark/benchmark.h>

#include <cstdint>
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

template <class F>
void Filter(benchmark::State& state, F filter)
{
    TPackageScope package;
    auto picture = Picture(kSide, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(&filter(*picture));
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_GreyRawLoop(benchmark::State& state)
{
    RawLoop(state, [](TColor c) { return ColorToGrey(c); });
}

void BM_GreyBMP(benchmark::State& state)
{
    Filter(state, [](const TBitmap& b) -> TBitmap& { return GreyBMP(b); });
}

void BM_BrightenRawLoop(benchmark::State& state)
{
    RawLoop(state, [](TColor c) { return BrightenColor(c, 40); });
}

void BM_BrightenBMP(benchmark::State& state)
{
    Filter(state, [](const TBitmap& b) -> TBitmap& { return BrightenBMP(b, 40); });
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
    for (auto _ : state)
        benchmark::DoNotOptimize(&MergeBMP(*a, *b));
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_SoftenBMP(benchmark::State& state)
{
    TPackageScope package;
    auto picture = Picture(kSoftSide, 3);
    const auto radius = static_cast<float>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(&SoftenBMP(*picture, radius));
    state.SetItemsProcessed(state.iterations() * kSoftSide * kSoftSide);
}

} // namespace

BENCHMARK(BM_GreyRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GreyBMP)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrightenRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrightenBMP)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColoriseRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColoriseImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeRawLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeBMP)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SoftenBMP)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
