// Canvas fills and copies against memset/memcpy of the same 1920 x 1080 buffer;
// far-reaching figures against their visible part.
#include "color/host/Bitmap.h"
#include "color/host/Gdi.h"
#include "paint/DrawMan.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

using namespace plx;

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;
constexpr std::size_t kBytes = std::size_t { kW } * kH * 4;

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kBytes));
}

void BM_Memset(benchmark::State& state)
{
    std::vector<std::uint32_t> buffer(std::size_t { kW } * kH);
    for (auto _ : state) {
        std::memset(buffer.data(), 0x5A, kBytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Memset);

void BM_FillRect(benchmark::State& state)
{
    TBitmap b(kW, kH);
    b.Canvas().Brush().SetColor(0x5A5A5A);
    for (auto _ : state) {
        b.Canvas().FillRect(Rect(0, 0, kW, kH));
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_FillRect);

// The same fill one pixel inside the edges: row by row instead of one block.
void BM_FillRectInset(benchmark::State& state)
{
    TBitmap b(kW, kH);
    b.Canvas().Brush().SetColor(0x5A5A5A);
    for (auto _ : state) {
        b.Canvas().FillRect(Rect(1, 1, kW - 1, kH - 1));
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_FillRectInset);

void BM_Memcpy(benchmark::State& state)
{
    std::vector<std::uint32_t> a(std::size_t { kW } * kH, 1), b(std::size_t { kW } * kH);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kBytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Memcpy);

void BM_CopyRect(benchmark::State& state)
{
    TBitmap src(kW, kH), dst(kW, kH);
    for (auto _ : state) {
        dst.Canvas().CopyRect(Rect(0, 0, kW, kH), src.Canvas(), Rect(0, 0, kW, kH));
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_CopyRect);

void BM_CopyRectInset(benchmark::State& state)
{
    TBitmap src(kW, kH), dst(kW, kH);
    for (auto _ : state) {
        dst.Canvas().CopyRect(Rect(1, 1, kW - 1, kH - 1), src.Canvas(), Rect(1, 1, kW - 1, kH - 1));
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_CopyRectInset);

void BlitWith(benchmark::State& state, std::uint32_t rop)
{
    TBitmap src(kW, kH), dst(kW, kH);
    dst.Canvas().Brush().SetColor(0x00FF00);
    HDC d = dst.Canvas().Handle(), s = src.Canvas().Handle();
    for (auto _ : state) {
        BitBlt(d, 0, 0, kW, kH, s, 0, 0, rop);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

void BM_BitBltSrcCopy(benchmark::State& state)
{
    BlitWith(state, SRCCOPY);
}
BENCHMARK(BM_BitBltSrcCopy);

void BM_BitBltSrcInvert(benchmark::State& state)
{
    BlitWith(state, SRCINVERT);
}
BENCHMARK(BM_BitBltSrcInvert);

// A ternary code without a fast path: (D AND NOT S) OR (P AND S), evaluated from its truth table.
void BM_BitBltGenericTernary(benchmark::State& state)
{
    BlitWith(state, 0x00B8074A);
}
BENCHMARK(BM_BitBltGenericTernary);

void BM_PixelsWrite(benchmark::State& state)
{
    TBitmap b(1000, 1000);
    TCanvas& c = b.Canvas();
    for (auto _ : state) {
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x)
                c.SetPixels(x, y, x ^ y);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000000);
}
BENCHMARK(BM_PixelsWrite);

void BM_PixelsRead(benchmark::State& state)
{
    TBitmap b(1000, 1000);
    TCanvas& c = b.Canvas();
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x)
                sum += static_cast<std::uint32_t>(c.Pixels(x, y));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000000);
}
BENCHMARK(BM_PixelsRead);

// ---- Cost bounded by the visible part -----------------------------------------
//
// Each case times the far-reaching call (the subject) and, in the same
// iteration, the call that draws only what is visible (the baseline); the
// counter "vs_visible" is their ratio, which should stay near 1 whatever the size.

using Clock = std::chrono::steady_clock;

template <class Baseline, class Subject>
void VersusVisible(benchmark::State& state, Baseline baseline, Subject subject)
{
    double baseTime = 0, subjectTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        baseline();
        const auto t1 = Clock::now();
        subject();
        const auto t2 = Clock::now();
        benchmark::ClobberMemory();
        baseTime += std::chrono::duration<double>(t1 - t0).count();
        const double elapsed = std::chrono::duration<double>(t2 - t1).count();
        subjectTime += elapsed;
        state.SetIterationTime(elapsed);
    }
    state.counters["vs_visible"] = baseTime > 0 ? subjectTime / baseTime : 0;
}

// Draw3D's raised frame on a 50 x 50 canvas. The first 25 rings fill it; the
// next 25 have turned inside out and spread back across it; no later ring
// reaches it, so any wider frame costs what 50 rings cost.
void BM_Draw3DWideFrame(benchmark::State& state)
{
    TBitmap b(50, 50);
    TCanvas& c = b.Canvas();
    const auto width = static_cast<std::int32_t>(state.range(0));
    VersusVisible(
        state, [&] { Draw3D(c, Rect(0, 0, 50, 50), 0x808080, 1, 50); },
        [&] { Draw3D(c, Rect(0, 0, 50, 50), 0x808080, 1, width); });
}
BENCHMARK(BM_Draw3DWideFrame)->Arg(1000)->Arg(16000)->Arg(100000)->UseManualTime();

// A line across a 100 x 100 canvas, and the same line going on reach pixels
// beyond it on both sides, drawn with a pen of that width.
void LongLine(benchmark::State& state, std::int32_t penWidth)
{
    TBitmap b(100, 100);
    TCanvas& c = b.Canvas();
    c.Pen().SetWidth(penWidth);
    const auto reach = static_cast<std::int32_t>(state.range(0));
    VersusVisible(
        state,
        [&] {
            c.MoveTo(0, 10);
            c.LineTo(100, 90);
        },
        [&] {
            c.MoveTo(-reach, 10 - reach / 5 * 4);
            c.LineTo(100 + reach, 90 + reach / 5 * 4);
        });
}

void BM_LongLine(benchmark::State& state)
{
    LongLine(state, 1);
}
BENCHMARK(BM_LongLine)->Arg(1000)->Arg(1000000)->Arg(1000000000)->UseManualTime();

// The same with a pen 5 pixels wide.
void BM_LongWideLine(benchmark::State& state)
{
    LongLine(state, 5);
}
BENCHMARK(BM_LongWideLine)->Arg(1000)->Arg(1000000)->Arg(1000000000)->UseManualTime();

// A filled triangle whose corners lie range(0) pixels beyond a 100 x 100 canvas.
void BM_FarPolygon(benchmark::State& state)
{
    TBitmap b(100, 100);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(0x336699);
    const auto reach = static_cast<std::int32_t>(state.range(0));
    VersusVisible(
        state, [&] { c.Polygon({ Point(0, 100), Point(50, 0), Point(100, 100) }); },
        [&] { c.Polygon({ Point(-reach, reach), Point(50, -reach), Point(reach, reach) }); });
}
BENCHMARK(BM_FarPolygon)->Arg(1000)->Arg(1000000)->Arg(1000000000)->UseManualTime();

} // namespace
