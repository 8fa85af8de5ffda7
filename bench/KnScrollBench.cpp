// Dragging the thumb of a 400-pixel TKnScroll on a shown form, one mouse move
// per iteration (each to a new position, so each renders and repaints), with a
// plain and with a gradient track, against
// CopyRect of the bar's area in the same loop. Counters: "ratio" (move time /
// CopyRect time), "subject_us", "baseline_us" and "renders_per_move" (the goal
// is one).
#include "BenchPackage.h"
#include "BenchRatio.h"
#include "TestBitmaps.h"

#include "components/KnScroll.h"
#include "framework/host/Forms.h"
#include "framework/host/Messages.h"

#include <benchmark/benchmark.h>

#include <cstdint>

using namespace plx;

namespace {

class CountedScroll : public TKnScroll {
public:
    using TKnScroll::TKnScroll;
    std::int64_t renders { 0 };

protected:
    void PaintBackup() override
    {
        TKnScroll::PaintBackup();
        ++renders;
    }
};

void KnScrollThumbDragVsCopyRect(benchmark::State& state)
{
    bench::StartPackage();
    constexpr std::int32_t kWidth = 400, kHeight = 20;
    TForm form(nullptr);
    form.SetBounds(0, 0, kWidth + 20, kHeight + 20);
    auto* bar = new CountedScroll(&form);
    bar->SetParent(&form);
    bar->SetBounds(0, 0, kWidth, kHeight);
    bar->Bevel().SetBevelType(btNone);
    if (state.range(0) == 1)
        bar->Background().SetStyle(bgGradient);
    bar->SetGlyphs(2);
    bar->SetPic_Left(*test::Frames(16, 16, { clRed, clMaroon }));
    bar->SetPic_Right(*test::Frames(16, 16, { clBlue, clNavy }));
    bar->SetPic_Thumb(*test::Frames(24, 16, { clYellow, clOlive }));
    // A track of 400 - 16 - 16 - 24 = 344 pixels, one unit each.
    bar->SetMax(344);
    form.Show();
    Application().ProcessMessages();

    const std::int32_t y = kHeight / 2;
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(Point(bar->ThumbBox().Left + 2, y)));
    TBitmap source(kWidth, kHeight), target(kWidth, kHeight);
    const TRect area = Rect(0, 0, kWidth, kHeight);
    std::int32_t x = bar->ThumbBox().Left + 2, step = 1;
    const std::int64_t rendersBefore = bar->renders;
    std::int64_t moves = 0;
    bench::CompareWithBaseline(
        state, [&] { target.Canvas().CopyRect(area, source.Canvas(), area); },
        [&] {
            // Back and forth over the whole track.
            if (x + step < 18 || x + step > 18 + 344)
                step = -step;
            x += step;
            bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(Point(x, y)));
            ++moves;
        });
    state.counters["renders_per_move"] = moves > 0 ? static_cast<double>(bar->renders - rendersBefore) / moves : 0.0;
    bar->Perform(WM_LBUTTONUP, 0, PointToLParam(Point(x, y))); // renders the normal frames again
}
// 0: a track of one colour; 1: a gradient track, computed again at each render.
BENCHMARK(KnScrollThumbDragVsCopyRect)->Arg(0)->Arg(1);

} // namespace
