// The components' caches, each against a baseline timed in the same run and
// the same loop: the ratio counter is subject time / baseline time.
//   - A 400 x 300 TKnControl repainted after an expose, against CopyRect of the
//     same area (the goal is at most 1.2).
//   - TArtLabel painted with a valid gradient picture, against a paint after a
//     Gradient change (which renders the picture again).
//   - TKnGradient rendered again after a resize, against PaintGradient of the
//     same area.
#include "BenchPackage.h"
#include "BenchRatio.h"

#include "components/ArtLabel.h"
#include "components/KnGradient.h"
#include "framework/KnCtrls.h"
#include "framework/host/Forms.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

using namespace plx;

namespace {

// A hidden form of the given client size painted into a bitmap, as a paint pass does.
struct Surface {
    Surface(std::int32_t width, std::int32_t height)
    {
        form.SetBounds(0, 0, width, height);
        bitmap.SetSize(width, height);
    }
    void Paint(TControl& control, const TRect& clip) { control.PaintInContext({ &bitmap.Image(), {} }, clip); }

    TForm form { nullptr };
    TBitmap bitmap;
};

class Plain : public TKnControl {
public:
    using TKnControl::TKnControl;
};

void KnControlExposeVsCopyRect(benchmark::State& state)
{
    bench::StartPackage();
    Surface s(400, 300);
    auto* control = new Plain(&s.form);
    control->SetParent(&s.form);
    control->SetBounds(0, 0, 400, 300);
    control->Background().SetStyle(bgGradient);
    const TRect all = Rect(0, 0, 400, 300);
    s.Paint(*control, all); // the first paint renders
    TBitmap source(400, 300);
    bench::CompareWithBaseline(
        state, [&] { s.bitmap.Canvas().CopyRect(all, source.Canvas(), all); }, [&] { s.Paint(*control, all); });
}
BENCHMARK(KnControlExposeVsCopyRect);

void ArtLabelCachedVsChangedGradient(benchmark::State& state)
{
    bench::StartPackage();
    Surface s(300, 60);
    auto* label = new TArtLabel(&s.form);
    label->SetParent(&s.form);
    label->SetBounds(0, 0, 300, 60);
    label->SetArtStyle({ asShadow, asGradient });
    if (state.range(0) == 1) {
        label->Gradient().SetGradientStyle(gsEllipse);
        label->Gradient().SetLineSize(1);
    }
    const TRect all = Rect(0, 0, 300, 60);
    s.Paint(*label, all);
    TColor color = clRed;
    bench::CompareWithBaseline(
        state,
        [&] {
            color ^= 0x00FFFF;
            label->Gradient().SetColor2(color);
            s.Paint(*label, all);
        },
        [&] { s.Paint(*label, all); });
}
// 0: the label's own gradient (gsLine); 1: gsEllipse in one-pixel rings.
BENCHMARK(ArtLabelCachedVsChangedGradient)->Arg(0)->Arg(1);

void KnGradientResizeVsPaintGradient(benchmark::State& state)
{
    bench::StartPackage();
    Surface s(400, 300);
    auto* gradient = new TKnGradient(&s.form);
    gradient->SetParent(&s.form);
    TBitmap target(400, 300);
    std::int32_t width = 400;
    // Every iteration has a new width, 400 or 399, so every paint renders.
    bench::CompareWithBaseline(
        state,
        [&] {
            width ^= 400 ^ 399;
            PaintGradient(target.Canvas(), Rect(0, 0, width, 300), gradient->Gradient());
        },
        [&] {
            gradient->SetBounds(0, 0, width, 300);
            s.Paint(*gradient, Rect(0, 0, width, 300));
        });
}
BENCHMARK(KnGradientResizeVsPaintGradient);

} // namespace
