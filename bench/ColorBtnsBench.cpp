// The colour button against FillRect of the same areas, in the same run and the
// same loop: the ratio counter is subject time / baseline time.
//   - A 75 x 25 button painted in each style (no glyph, no caption).
//   - A full repaint of a form of 100 buttons with glyphs and captions (the goal
//     is under 2 ms), against filling the form and every button's area. The
//     state images are made once, at the first paint: images_per_repaint counts
//     those made during the timed repaints.
#include "BenchPackage.h"
#include "BenchRatio.h"

#include "components/ColorBtns.h"
#include "framework/host/Forms.h"
#include "rtl/TypInfo.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

using namespace plx;

namespace {

void ColorButtonStyleVsFillRect(benchmark::State& state)
{
    bench::StartPackage();
    TForm form(nullptr);
    form.SetBounds(0, 0, 75, 25);
    auto* button = new TColor95Button(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 75, 25);
    button->SetColor(0x336699);
    button->SetStyle(static_cast<TClr95ButtonStyle>(state.range(0)));
    TBitmap target(75, 25);
    const TRect all = Rect(0, 0, 75, 25);
    target.Canvas().Brush().SetColor(0x336699);
    bench::CompareWithBaseline(
        state, [&] { target.Canvas().FillRect(all); },
        [&] { button->PaintInContext({ &target.Image(), {} }, all); });
    state.SetLabel(TColor95Button::StyleInfo().NameOf(state.range(0)));
}
BENCHMARK(ColorButtonStyleVsFillRect)->DenseRange(bsWin31, bsGradient);

void HundredGlyphButtonsVsFillRect(benchmark::State& state)
{
    bench::StartPackage();
    constexpr int kColumns = 10, kRows = 10, kWidth = 75, kHeight = 25, kGap = 4;
    TForm form(nullptr);
    form.SetBounds(0, 0, kColumns * (kWidth + kGap) + kGap, kRows * (kHeight + kGap) + kGap);
    TBitmap glyph(16, 16);
    glyph.Canvas().Brush().SetColor(clOlive);
    glyph.Canvas().FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas().Brush().SetColor(clYellow);
    glyph.Canvas().Ellipse(2, 2, 14, 14);
    std::vector<TRect> areas;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            auto* b = new TColor95Button(&form);
            b->SetParent(&form);
            b->SetBounds(kGap + c * (kWidth + kGap), kGap + r * (kHeight + kGap), kWidth, kHeight);
            b->SetColor(c % 2 ? clBtnFace : 0x336699);
            b->SetStyle(static_cast<TClr95ButtonStyle>((r * kColumns + c) % (bsGradient + 1)));
            b->SetGlyph(glyph);
            b->SetCaption("Button");
            areas.push_back(b->BoundsRect());
        }
    TBitmap target;
    form.RenderTo(target); // the first paint makes the state images
    const std::uint64_t made = StateImagesMade();
    const TRect all = form.ClientRect();
    bench::CompareWithBaseline(
        state,
        [&] {
            TCanvas& canvas = target.Canvas();
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(all);
            for (const TRect& r : areas)
                canvas.FillRect(r);
        },
        [&] { form.RenderTo(target); });
    state.counters["images_per_repaint"] = static_cast<double>(StateImagesMade() - made) / static_cast<double>(state.iterations());
}
BENCHMARK(HundredGlyphButtonsVsFillRect);

} // namespace
