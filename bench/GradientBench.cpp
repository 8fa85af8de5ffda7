// Gradient fills over a full-HD 32-bit canvas, against memset of the same buffer.
#include "color/host/Bitmap.h"
#include "paint/Gradient.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>

using namespace plx;

namespace {

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;
constexpr std::int64_t kBytes = std::int64_t { kWidth } * kHeight * 4;

const std::array<TColor, 5> kColors { 0x808080, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF, 0x000000 };

TBitmap& Canvas()
{
    static TBitmap bitmap(kWidth, kHeight);
    return bitmap;
}

void Memset(benchmark::State& state)
{
    auto words = Canvas().Image().Words();
    int value = 0;
    for (auto _ : state) {
        std::memset(words.data(), value++ & 0xFF, words.size_bytes());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(Memset);

void Line(benchmark::State& state, bool fast, TDirection direction)
{
    const auto lineSize = static_cast<std::int32_t>(state.range(0));
    TCanvas& canvas = Canvas().Canvas();
    for (auto _ : state) {
        if (fast)
            FastLineGrad(canvas, Rect(0, 0, kWidth, kHeight), kColors, 3, direction, lineSize);
        else
            LineGradient(canvas, Rect(0, 0, kWidth, kHeight), kColors, 3, direction, lineSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void FastLineGradHorizontal(benchmark::State& state) { Line(state, true, diHorizonal); }
void LineGradientHorizontal(benchmark::State& state) { Line(state, false, diHorizonal); }
void FastLineGradVertical(benchmark::State& state) { Line(state, true, diVertical); }
void LineGradientVertical(benchmark::State& state) { Line(state, false, diVertical); }
BENCHMARK(FastLineGradHorizontal)->Arg(1)->Arg(3);
BENCHMARK(LineGradientHorizontal)->Arg(1)->Arg(3);
BENCHMARK(FastLineGradVertical)->Arg(1)->Arg(3);
BENCHMARK(LineGradientVertical)->Arg(1)->Arg(3);

void Styled(benchmark::State& state, TGradientStyle style)
{
    TGradient gradient;
    gradient.SetGradientStyle(style);
    gradient.SetLineSize(static_cast<std::int32_t>(state.range(0)));
    TCanvas& canvas = Canvas().Canvas();
    for (auto _ : state) {
        PaintGradient(canvas, Rect(0, 0, kWidth, kHeight), gradient);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void PaintGradientRect(benchmark::State& state) { Styled(state, gsRect); }
void PaintGradientEllipse(benchmark::State& state) { Styled(state, gsEllipse); }
BENCHMARK(PaintGradientRect)->Arg(1)->Arg(3);
BENCHMARK(PaintGradientEllipse)->Arg(1)->Arg(3);

} // namespace
