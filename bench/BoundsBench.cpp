// Routines given sizes or coordinates far beyond the canvas: their cost must
// stay that of what shows. Each runs at three sizes against the same routine
// on an ordinary input, so the ratio stays flat.
#include "BenchRatio.h"

#include "color/ColorMan.h"
#include "color/host/Bitmap.h"
#include "paint/DrawMan.h"

#include <limits>

using namespace plx;

namespace {

constexpr std::int32_t kSide = 64;

TBitmap& Canvas()
{
    static TBitmap bitmap(kSide, kSide);
    return bitmap;
}

// Border widths of 10^3, 10^6 and 2^31 - 1 (as many rings) against a border of 8.
void RoundButtonHugeBorder(benchmark::State& state)
{
    const auto border = static_cast<std::int32_t>(state.range(0));
    TCanvas& c = Canvas().Canvas();
    bench::CompareWithBaseline(
        state, [&] { RoundButton(c, Rect(0, 0, kSide, kSide), 0x30C060, 0x202020, 8); },
        [&] { RoundButton(c, Rect(0, 0, kSide, kSide), 0x30C060, 0x202020, border); });
}
BENCHMARK(RoundButtonHugeBorder)->Arg(1000)->Arg(1000000)->Arg(std::numeric_limits<std::int32_t>::max());

// Rectangles and bounds reaching 10^3, 10^6 and 2^31 - 1 against the canvas itself.
void MiscBmpToColorHugeRect(benchmark::State& state)
{
    const auto extent = static_cast<std::int32_t>(state.range(0));
    HDC dc = Canvas().Canvas().Handle();
    bench::CompareWithBaseline(
        state,
        [&] {
            TRect r = Rect(0, 0, kSide - 1, kSide - 1);
            benchmark::DoNotOptimize(MiscBmpToColor(dc, kSide - 1, kSide - 1, r));
        },
        [&] {
            TRect r = Rect(0, 0, extent, extent);
            benchmark::DoNotOptimize(MiscBmpToColor(dc, extent, extent, r));
        });
}
BENCHMARK(MiscBmpToColorHugeRect)->Arg(1000)->Arg(1000000)->Arg(std::numeric_limits<std::int32_t>::max());

// Pictures 1,024, 8,192 and 32,766 pixels wide across the canvas against one of
// the canvas's width.
void SmoothBltWidePicture(benchmark::State& state)
{
    const auto width = static_cast<std::int32_t>(state.range(0));
    TBitmap wide(width, 16);
    TBitmap narrow(kSide, 16);
    for (TBitmap* b : { &wide, &narrow }) {
        b->Canvas().Brush().SetColor(clLime);
        b->Canvas().FillRect(Rect(0, 0, b->Width(), 16));
        b->Canvas().Brush().SetColor(clNavy);
        b->Canvas().FillRect(Rect(0, 4, b->Width(), 12));
    }
    TCanvas& c = Canvas().Canvas();
    bench::CompareWithBaseline(
        state, [&] { SmoothBlt(c, 0, 10, narrow, clLime); }, [&] { SmoothBlt(c, -width / 2, 10, wide, clLime); });
}
BENCHMARK(SmoothBltWidePicture)->Arg(1024)->Arg(8192)->Arg(32766);

} // namespace
