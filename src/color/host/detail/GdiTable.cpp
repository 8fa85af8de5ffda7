#include "color/host/detail/GdiTable.h"

#include "color/host/Canvas.h"
#include "color/host/Raster.h"
#include "color/host/detail/CanvasAccess.h"

#include <unordered_map>
#include <utility>

namespace plx::detail {

namespace {

struct Entry {
    std::unique_ptr<GdiObject> object;
    bool callerOwned { false };
};

struct Table {
    std::unordered_map<HANDLE, Entry> entries;
    HANDLE next { 0x10000 };
    std::int32_t callerOwned { 0 };
};

Table& Objects()
{
    static Table table;
    return table;
}

} // namespace

GdiDC::GdiDC() = default;
GdiDC::~GdiDC() = default;

HGDIOBJ RegisterObject(std::unique_ptr<GdiObject> object, bool callerOwned)
{
    Table& t = Objects();
    HANDLE h = t.next++;
    t.entries.emplace(h, Entry { std::move(object), callerOwned });
    if (callerOwned)
        ++t.callerOwned;
    return h;
}

void UnregisterObject(HGDIOBJ handle) noexcept
{
    (void)TakeObject(handle);
}

std::unique_ptr<GdiObject> TakeObject(HGDIOBJ handle) noexcept
{
    Table& t = Objects();
    auto it = t.entries.find(handle);
    if (it == t.entries.end())
        return nullptr;
    if (it->second.callerOwned)
        --t.callerOwned;
    auto object = std::move(it->second.object);
    t.entries.erase(it);
    return object;
}

GdiObject* LookupObject(HGDIOBJ handle) noexcept
{
    Table& t = Objects();
    auto it = t.entries.find(handle);
    return it == t.entries.end() ? nullptr : it->second.object.get();
}

void SetCallerOwned(HGDIOBJ handle, bool callerOwned) noexcept
{
    Table& t = Objects();
    auto it = t.entries.find(handle);
    if (it == t.entries.end() || it->second.callerOwned == callerOwned)
        return;
    it->second.callerOwned = callerOwned;
    t.callerOwned += callerOwned ? 1 : -1;
}

bool IsCallerOwned(HGDIOBJ handle) noexcept
{
    Table& t = Objects();
    auto it = t.entries.find(handle);
    return it != t.entries.end() && it->second.callerOwned;
}

std::int32_t CallerOwnedCount() noexcept
{
    return Objects().callerOwned;
}

HDC RegisterCanvas(TCanvas* canvas)
{
    auto dc = std::make_unique<GdiDC>();
    dc->canvas = canvas;
    return RegisterObject(std::move(dc), false);
}

HDC RegisterMemoryDC()
{
    auto dc = std::make_unique<GdiDC>();
    dc->owned = std::make_unique<TCanvas>();
    dc->canvas = dc->owned.get();
    TCanvas& canvas = *dc->owned;
    const HDC handle = RegisterObject(std::move(dc), true);
    CanvasAccess::AttachHandle(canvas, handle);
    return handle;
}

TCanvas* CanvasFromDC(HDC dc) noexcept
{
    GdiDC* d = Lookup<GdiDC>(dc);
    return d ? d->canvas : nullptr;
}

HFONT SelectedFont(HDC dc) noexcept
{
    GdiDC* d = Lookup<GdiDC>(dc);
    return d ? d->font : 0;
}

HFONT CanvasFontHandle()
{
    // Registered once and never caller-owned, so DeleteObject refuses it.
    static const HFONT handle = RegisterObject(std::make_unique<GdiFont>(), false);
    return handle;
}

} // namespace plx::detail
