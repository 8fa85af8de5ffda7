// Canvas fills and copies against memset/memcpy of the same 1920 x 1080 buffer.
#include "color/host/Bitmap.h"
#include "color/host/Gdi.h"

#include <benchmark/benchmark.h>

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

} // namespace
