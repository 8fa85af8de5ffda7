// The X11 platform: the time from an Invalidate of one control to its pixels
// on the server (the paint pass, the put of the damaged part, and a round trip
// with XSync), against putting the whole window (the same form) on the server,
// with shared memory and with plain XPutImage. Runs on a private Xvfb; skipped
// where none can be started.
#include "BenchRatio.h"
#include "XvfbProcess.h"

#include "design/PlumexPackage.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"
#include "framework/host/X11Platform.h"

#include <chrono>
#include <memory>

using namespace plx;

namespace {

test::TXvfbProcess& Server()
{
    static test::TXvfbProcess server;
    return server;
}

void BM_X11InvalidateToServer(benchmark::State& state)
{
    InitializePackage();
    const bool sharedMemory = state.range(0) != 0;
    auto x11 = Server().Display().empty() ? nullptr : TX11Platform::Open({ Server().Display(), sharedMemory });
    if (!x11 || x11->UsesSharedMemory() != sharedMemory) {
        state.SkipWithError(Server().Display().empty() ? Server().Problem().c_str() : "no X11 platform of this kind");
        FinalizePackage();
        return;
    }
    TX11Platform& platform = *x11;
    auto previous = SetPlatform(std::move(x11));
    {
        // A form of 200 panels over 800 x 600; one of them changes.
        TForm form(nullptr);
        form.SetBounds(0, 0, 800, 600);
        TPanel* target = nullptr;
        for (int i = 0; i < 200; ++i) {
            auto* p = new TPanel(&form);
            p->SetParent(&form);
            p->SetBounds((i % 20) * 40, (i / 20) * 60, 38, 58);
            p->SetCaption(std::to_string(i));
            target = p;
        }
        form.Show();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < end && (form.HasDamage() || !platform.IsWindowVisible(form.WindowId()))) {
            Application().ProcessMessages();
            platform.WaitForEvent(10);
        }
        Application().ProcessMessages();
        const TRect whole = form.ClientRect();
        bench::CompareWithBaseline(
            state,
            [&] {
                platform.Present(form.WindowId(), whole);
                platform.Sync();
            },
            [&] {
                target->Invalidate();
                form.PaintDamage();
                platform.Sync();
            },
            bench::Clock::Wall);
        // Expose events for the window may wait in the queue.
        Application().ProcessMessages();
    }
    SetPlatform(std::move(previous));
    FinalizePackage();
}
BENCHMARK(BM_X11InvalidateToServer)->ArgName("shm")->Arg(1)->Arg(0)->UseRealTime();

} // namespace
