// The control layer: reading and writing a form of 500 components, the paint
// pass after one control of 200 is invalidated (only its area is painted), and
// how reading, freeing and nesting grow with the number of controls.
#include "BenchPackage.h"
#include "BenchRatio.h"

#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

using namespace plx;

namespace {

std::unique_ptr<TForm> FormOfPanels(int count)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 1280, 800);
    form->SetName("Big");
    for (int i = 0; i < count; ++i) {
        auto* p = new TPanel(form.get());
        p->SetName("Panel" + std::to_string(i));
        p->SetParent(form.get());
        p->SetBounds((i % 25) * 50, (i / 25) * 30, 48, 28);
        p->SetColor(i * 1000);
    }
    return form;
}

void BM_WriteForm500(benchmark::State& state)
{
    bench::StartPackage();
    auto form = FormOfPanels(500);
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteComponentText(*form));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 500);
}
BENCHMARK(BM_WriteForm500);

void BM_ReadForm500(benchmark::State& state)
{
    bench::StartPackage();
    std::string text = WriteComponentText(*FormOfPanels(500));
    for (auto _ : state) {
        std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr));
        benchmark::DoNotOptimize(form.get());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 500);
}
BENCHMARK(BM_ReadForm500);

// 200 bevels on a 1280 x 800 form: a full repaint against the repaint after
// one bevel's Invalidate, which paints only that bevel's area.
std::unique_ptr<TForm> FormOfBevels()
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 1280, 800);
    for (int i = 0; i < 200; ++i) {
        auto* b = new TBevel(form.get());
        b->SetParent(form.get());
        b->SetBounds((i % 20) * 64, (i / 20) * 80, 60, 76);
    }
    form->Show();
    Application().ProcessMessages();
    return form;
}

void BM_RepaintWholeForm200(benchmark::State& state)
{
    bench::StartPackage();
    auto form = FormOfBevels();
    for (auto _ : state) {
        form->Invalidate();
        form->PaintDamage();
    }
}
BENCHMARK(BM_RepaintWholeForm200);

void BM_RepaintOneControlOf200(benchmark::State& state)
{
    bench::StartPackage();
    auto form = FormOfBevels();
    auto* one = form->Controls(57);
    for (auto _ : state) {
        one->Invalidate();
        form->PaintDamage();
    }
}
BENCHMARK(BM_RepaintOneControlOf200);

// ---- Growth ---------------------------------------------------------------
// Each iteration times the same work at n, 2n and 4n controls. The counters are
// the ratios of those times: 2 where the work grows linearly, 4 where it grows
// quadratically. Only the work itself is timed (manual time), not its set-up.

// Timed in the thread's processor time: other programs running on the machine
// do not count, so the ratios stay meaningful on a busy machine.
std::int64_t Now() noexcept
{
    return bench::Nanoseconds(bench::Clock::Thread);
}

double Seconds(std::int64_t since)
{
    return static_cast<double>(Now() - since) * 1e-9;
}

// work(size) does its set-up, times its work and returns the seconds.
template <class Work>
void MeasureGrowth(benchmark::State& state, Work work)
{
    const int n = static_cast<int>(state.range(0));
    std::array<double, 3> total {};
    for (auto _ : state) {
        double iteration = 0;
        for (int i = 0; i < 3; ++i) {
            double t = work(n << i);
            total[static_cast<std::size_t>(i)] += t;
            iteration += t;
        }
        state.SetIterationTime(iteration);
    }
    state.counters["ratio_2n_to_n"] = total[1] / total[0];
    state.counters["ratio_4n_to_2n"] = total[2] / total[1];
}

// A form file of n named panels, read back (each name is checked against the
// others of its owner).
void BM_GrowthReadNamedComponents(benchmark::State& state)
{
    bench::StartPackage();
    static std::map<int, std::string> texts;
    MeasureGrowth(state, [](int size) {
        std::string& text = texts[size];
        if (text.empty())
            text = WriteComponentText(*FormOfPanels(size));
        const std::int64_t start = Now();
        std::unique_ptr<TComponent> form(ReadComponentFromText(text, nullptr));
        double t = Seconds(start);
        benchmark::DoNotOptimize(form.get());
        return t;
    });
}
BENCHMARK(BM_GrowthReadNamedComponents)->Arg(5000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Freeing a form of n child panels (each leaves its parent's and its owner's
// list). Freeing touches every allocation of every panel once, so while the
// panels outgrow the processor's caches the time per panel still rises: the
// ratios near 2 show from 40,000 panels on.
void BM_GrowthFreeFormOfPanels(benchmark::State& state)
{
    bench::StartPackage();
    MeasureGrowth(state, [](int size) {
        auto form = FormOfPanels(size);
        const std::int64_t start = Now();
        form.reset();
        return Seconds(start);
    });
}
BENCHMARK(BM_GrowthFreeFormOfPanels)->Arg(10000)->Arg(40000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Panels nested n deep on a shown form: built (each invalidates its place),
// painted once and freed.
void BM_GrowthNestPanels(benchmark::State& state)
{
    bench::StartPackage();
    MeasureGrowth(state, [](int size) {
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        form->Show();
        Application().ProcessMessages();
        const std::int64_t start = Now();
        TWinControl* parent = form.get();
        for (int i = 0; i < size; ++i) {
            auto* p = new TPanel(form.get());
            p->SetParent(parent);
            p->SetBounds(i == 0 ? 10 : 0, i == 0 ? 10 : 0, 20, 20);
            parent = p;
        }
        Application().ProcessMessages();
        form.reset();
        return Seconds(start);
    });
}
BENCHMARK(BM_GrowthNestPanels)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
