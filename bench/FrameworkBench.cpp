// The control layer: reading and writing a form of 500 components, and the paint
// pass after one control of 200 is invalidated (only its area is painted).
#include "design/PlumexPackage.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace plx;

namespace {

struct Started {
    Started() { InitializePackage(); }
};

void Start()
{
    static Started started;
}

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
    Start();
    auto form = FormOfPanels(500);
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteComponentText(*form));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 500);
}
BENCHMARK(BM_WriteForm500);

void BM_ReadForm500(benchmark::State& state)
{
    Start();
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
    Start();
    auto form = FormOfBevels();
    for (auto _ : state) {
        form->Invalidate();
        form->PaintDamage();
    }
}
BENCHMARK(BM_RepaintWholeForm200);

void BM_RepaintOneControlOf200(benchmark::State& state)
{
    Start();
    auto form = FormOfBevels();
    auto* one = form->Controls(57);
    for (auto _ : state) {
        one->Invalidate();
        form->PaintDamage();
    }
}
BENCHMARK(BM_RepaintOneControlOf200);

} // namespace
