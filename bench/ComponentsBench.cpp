// The components' caches, each against a baseline timed in the same run and
// the same loop: the ratio counter is subject time / baseline time.
//   - A 400 x 300 TKnControl repainted after an expose, against CopyRect of the
//     same area (the goal is at most 1.2).
//   - TArtLabel painted with a valid gradient picture, against a paint after a
//     Gradient change (which renders the picture again).
//   - TKnGradient rendered again after a resize, against PaintGradient of the
//     same area.
#include "components/ArtLabel.h"
#include "components/KnGradient.h"
#include "design/PlumexPackage.h"
#include "framework/KnCtrls.h"
#include "framework/host/Forms.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <memory>

using namespace plx;

namespace {

struct Started {
    Started() { InitializePackage(); }
};

void Start()
{
    static Started started;
}

// The thread's processor time in nanoseconds: other processes on the machine
// do not count in it.
std::int64_t ThreadNanoseconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t { t.tv_sec } * 1000000000 + t.tv_nsec;
}

// Runs baseline and subject once per iteration and reports both and their ratio.
template <class Baseline, class Subject>
void Compare(benchmark::State& state, Baseline baseline, Subject subject)
{
    std::int64_t base = 0, test = 0;
    for (auto _ : state) {
        const std::int64_t t0 = ThreadNanoseconds();
        baseline();
        const std::int64_t t1 = ThreadNanoseconds();
        subject();
        const std::int64_t t2 = ThreadNanoseconds();
        base += t1 - t0;
        test += t2 - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["baseline_us"] = static_cast<double>(base) / 1000.0 / n;
    state.counters["subject_us"] = static_cast<double>(test) / 1000.0 / n;
    state.counters["ratio"] = static_cast<double>(test) / static_cast<double>(base);
}

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
    Start();
    Surface s(400, 300);
    auto* control = new Plain(&s.form);
    control->SetParent(&s.form);
    control->SetBounds(0, 0, 400, 300);
    control->Background().SetStyle(bgGradient);
    const TRect all = Rect(0, 0, 400, 300);
    s.Paint(*control, all); // the first paint renders
    TBitmap source(400, 300);
    Compare(
        state, [&] { s.bitmap.Canvas().CopyRect(all, source.Canvas(), all); }, [&] { s.Paint(*control, all); });
}
BENCHMARK(KnControlExposeVsCopyRect);

void ArtLabelCachedVsChangedGradient(benchmark::State& state)
{
    Start();
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
    Compare(
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
    Start();
    Surface s(400, 300);
    auto* gradient = new TKnGradient(&s.form);
    gradient->SetParent(&s.form);
    TBitmap target(400, 300);
    std::int32_t width = 400;
    // Every iteration has a new width, 400 or 399, so every paint renders.
    Compare(
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
