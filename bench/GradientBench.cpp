// Gradient fills over a full-HD 32-bit canvas, against memset of the same buffer
// (the counter x_memset: median time of a fill / median time of a memset of the
// frame, both in wall-clock time, measured in the same run); and gradients over areas far
// larger than a small canvas, against the same gradient on the canvas.
#include "BenchRatio.h"

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

void FrameMemset()
{
    static int value = 0;
    auto words = Canvas().Image().Words();
    std::memset(words.data(), value++ & 0xFF, words.size_bytes());
}

void Memset(benchmark::State& state)
{
    for (auto _ : state) {
        FrameMemset();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(Memset)->UseRealTime();

template <class Paint>
void Frame(benchmark::State& state, Paint paint)
{
    bench::TimeRatio ratio(bench::Clock::Wall);
    for (auto _ : state)
        ratio.Subject([&] { paint(Canvas().Canvas()); });
    ratio.Baseline(FrameMemset, 31);
    ratio.Report(state, "x_memset");
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void Line(benchmark::State& state, bool fast, TDirection direction)
{
    const auto lineSize = static_cast<std::int32_t>(state.range(0));
    Frame(state, [&](TCanvas& canvas) {
        if (fast)
            FastLineGrad(canvas, Rect(0, 0, kWidth, kHeight), kColors, 3, direction, lineSize);
        else
            LineGradient(canvas, Rect(0, 0, kWidth, kHeight), kColors, 3, direction, lineSize);
    });
}

void FastLineGradHorizontal(benchmark::State& state) { Line(state, true, diHorizonal); }
void LineGradientHorizontal(benchmark::State& state) { Line(state, false, diHorizonal); }
void FastLineGradVertical(benchmark::State& state) { Line(state, true, diVertical); }
void LineGradientVertical(benchmark::State& state) { Line(state, false, diVertical); }
BENCHMARK(FastLineGradHorizontal)->Arg(1)->Arg(3)->UseRealTime();
BENCHMARK(LineGradientHorizontal)->Arg(1)->Arg(3)->UseRealTime();
BENCHMARK(FastLineGradVertical)->Arg(1)->Arg(3)->UseRealTime();
BENCHMARK(LineGradientVertical)->Arg(1)->Arg(3)->UseRealTime();

void Styled(benchmark::State& state, TGradientStyle style)
{
    TGradient gradient;
    gradient.SetGradientStyle(style);
    gradient.SetLineSize(static_cast<std::int32_t>(state.range(0)));
    Frame(state, [&](TCanvas& canvas) { PaintGradient(canvas, Rect(0, 0, kWidth, kHeight), gradient); });
}

void PaintGradientRect(benchmark::State& state) { Styled(state, gsRect); }
void PaintGradientEllipse(benchmark::State& state) { Styled(state, gsEllipse); }
BENCHMARK(PaintGradientRect)->Arg(1)->Arg(3)->UseRealTime();
BENCHMARK(PaintGradientEllipse)->Arg(1)->Arg(3)->UseRealTime();

// ---- Far off the canvas ---------------------------------------------------------

// A 64 x 64 canvas showing the bottom-right corner of a gradient whose area
// starts `offset` pixels above and to the left of it. The counter x_onscreen is
// the median time of a paint over that of the same gradient with its area on
// the canvas (offset 0): the same for every offset when the hidden part costs
// nothing, growing with the offset when it is walked through.
constexpr std::int32_t kSmall = 64;

void PaintFar(TCanvas& canvas, TGradient& gradient, std::int32_t offset)
{
    PaintGradient(canvas, Rect(-offset, -offset, kSmall, kSmall), gradient);
}

void FarOff(benchmark::State& state, TGradientStyle style)
{
    static TBitmap small(kSmall, kSmall);
    TGradient gradient;
    gradient.SetGradientStyle(style);
    gradient.SetLineSize(1);
    const auto offset = static_cast<std::int32_t>(state.range(0));
    bench::TimeRatio ratio(bench::Clock::Wall);
    for (auto _ : state)
        ratio.Subject([&] { PaintFar(small.Canvas(), gradient, offset); });
    ratio.Baseline([&] { PaintFar(small.Canvas(), gradient, 0); }, 101);
    ratio.Report(state, "x_onscreen");
    state.counters["offset"] = offset;
}

void FarLine(benchmark::State& state) { FarOff(state, gsLine); }
void FarEllipse(benchmark::State& state) { FarOff(state, gsEllipse); }
void FarRect(benchmark::State& state) { FarOff(state, gsRect); }
BENCHMARK(FarLine)->Arg(1 << 16)->Arg(1 << 22)->Arg(1 << 28);
BENCHMARK(FarEllipse)->Arg(1 << 16)->Arg(1 << 22)->Arg(1 << 28);
BENCHMARK(FarRect)->Arg(1 << 16)->Arg(1 << 22)->Arg(1 << 28);

} // namespace
