#include "components/KnCtrlsUnit.h"

#include "components/Apples.h"
#include "components/BCBitmap.h"
#include "components/KnScroll.h"
#include "components/detail/KnCtrlsShared.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <memory>

namespace plx {

namespace {

constexpr std::uint32_t kRepeatInterval = 100;

TUnitLifetime g_unit;
std::unique_ptr<TTimer> g_repeatTimer;
std::unique_ptr<TBitmap> g_glyphFrame;
const void* g_repeatClient = nullptr;

} // namespace

namespace detail {

TTimer* RepeatTimer() noexcept
{
    return g_repeatTimer.get();
}

TBitmap* GlyphFrame() noexcept
{
    return g_glyphFrame.get();
}

const void* RepeatClient() noexcept
{
    return g_repeatClient;
}

void SetRepeatClient(const void* client) noexcept
{
    g_repeatClient = client;
}

} // namespace detail

void InitializeKnCtrls()
{
    if (!g_unit.Initialize())
        return;
    g_repeatTimer = std::make_unique<TTimer>(nullptr);
    g_repeatTimer->SetEnabled(false);
    g_repeatTimer->SetInterval(kRepeatInterval);
    g_glyphFrame = std::make_unique<TBitmap>();
    RegisterClass(TKnScroll::StaticClassInfo());
    RegisterClass(TApples::StaticClassInfo());
    RegisterClass(TBCBitmap::StaticClassInfo());
}

void FinalizeKnCtrls()
{
    if (!g_unit.Finalize())
        return;
    UnregisterClass(TBCBitmap::StaticClassInfo());
    UnregisterClass(TApples::StaticClassInfo());
    UnregisterClass(TKnScroll::StaticClassInfo());
    g_repeatClient = nullptr;
    g_repeatTimer.reset();
    g_glyphFrame.reset();
}

} // namespace plx
