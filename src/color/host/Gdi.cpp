#include "color/host/Gdi.h"

#include "color/host/Canvas.h"
#include "color/host/Raster.h"
#include "color/host/detail/CanvasAccess.h"
#include "color/host/detail/GdiTable.h"
#include "color/host/detail/RasterOps.h"

#include <utility>

namespace plx {

using detail::GdiDC;

HBITMAP CreateBitmap(std::int32_t width, std::int32_t height, std::uint32_t planes, std::uint32_t bitCount, const void*)
{
    auto raster = std::make_shared<Raster>();
    raster->SetFormat(planes * bitCount == 1 ? pf1bit : bitCount == 32 ? pf32bit : pfDevice);
    raster->SetSize(width, height);
    raster->Fill(clBlack);
    auto object = std::make_unique<detail::GdiBitmap>();
    object->raster = std::move(raster);
    return detail::RegisterObject(std::move(object), true);
}

HBITMAP CreateCompatibleBitmap(HDC, std::int32_t width, std::int32_t height)
{
    return CreateBitmap(width, height, 1, 32, nullptr);
}

HDC CreateCompatibleDC(HDC)
{
    return detail::RegisterMemoryDC();
}

BOOL DeleteDC(HDC dc)
{
    GdiDC* d = detail::Lookup<GdiDC>(dc);
    if (!d || !d->owned)
        return false;
    (void)detail::TakeObject(dc);
    return true;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    GdiDC* d = detail::Lookup<GdiDC>(dc);
    detail::GdiObject* o = detail::LookupObject(object);
    if (!d || !o || dynamic_cast<GdiDC*>(o))
        return 0;
    if (auto* bitmap = dynamic_cast<detail::GdiBitmap*>(o)) {
        if (!d->owned)
            return 0; // only memory contexts hold a selected bitmap
        HBITMAP previous = d->bitmap;
        d->bitmap = object;
        d->selected = bitmap->raster;
        d->canvas->SetSurface(d->selected.get());
        return previous;
    }
    if (!dynamic_cast<detail::GdiFont*>(o))
        return 0;
    HFONT canvasFont = detail::CanvasFontHandle();
    HFONT previous = std::exchange(d->font, object == canvasFont ? 0 : object);
    return previous ? previous : canvasFont;
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (!detail::IsCallerOwned(object) || detail::Lookup<GdiDC>(object))
        return false;
    (void)detail::TakeObject(object);
    return true;
}

std::int32_t GdiObjectCount() noexcept
{
    return detail::CallerOwnedCount();
}

TColor GetPixel(HDC dc, std::int32_t x, std::int32_t y)
{
    TCanvas* c = detail::CanvasFromDC(dc);
    return c ? c->Pixels(x, y) : clInvalid;
}

TColor SetPixel(HDC dc, std::int32_t x, std::int32_t y, TColor color)
{
    TCanvas* c = detail::CanvasFromDC(dc);
    if (!c)
        return clInvalid;
    c->SetPixels(x, y, color);
    return c->Pixels(x, y);
}

TColor SetBkColor(HDC dc, TColor color)
{
    TCanvas* c = detail::CanvasFromDC(dc);
    return c ? c->SetBkColor(color) : clInvalid;
}

TColor SetTextColor(HDC dc, TColor color)
{
    TCanvas* c = detail::CanvasFromDC(dc);
    return c ? c->SetTextColor(color) : clInvalid;
}

TColor GetBkColor(HDC dc)
{
    TCanvas* c = detail::CanvasFromDC(dc);
    return c ? c->BkColor() : clInvalid;
}

TColor GetTextColor(HDC dc)
{
    TCanvas* c = detail::CanvasFromDC(dc);
    return c ? c->TextColor() : clInvalid;
}

BOOL StretchBlt(HDC dest, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, HDC source,
    std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth, std::int32_t sourceHeight, std::uint32_t rop)
{
    TCanvas* d = detail::CanvasFromDC(dest);
    if (!d)
        return false;
    if (!detail::RopUsesSource(detail::RopCode(rop)))
        return PatBlt(dest, x, y, width, height, rop);
    TCanvas* s = detail::CanvasFromDC(source);
    if (!s || !s->Surface())
        return false;
    const detail::WideRect sourceRect = detail::WideRect { sourceX, sourceY, std::int64_t { sourceX } + sourceWidth,
        std::int64_t { sourceY } + sourceHeight }.Offset(s->Origin());
    detail::BlitParams params;
    params.rop = rop;
    params.sourceBkColor = s->BkColor();
    params.destTextColor = d->TextColor();
    params.destBkColor = d->BkColor();
    detail::CanvasAccess::BlitFrom(*d, { x, y, std::int64_t { x } + width, std::int64_t { y } + height }, *s->Surface(),
        sourceRect, params);
    return true;
}

BOOL BitBlt(HDC dest, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, HDC source,
    std::int32_t sourceX, std::int32_t sourceY, std::uint32_t rop)
{
    return StretchBlt(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL PatBlt(HDC dest, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t rop)
{
    TCanvas* d = detail::CanvasFromDC(dest);
    if (!d || !d->Surface())
        return false;
    detail::FillPattern pattern = detail::BrushPattern(d->Brush(), d->Origin(), d->TextColor(), d->BkColor());
    detail::BlitParams params;
    params.rop = rop;
    params.pattern = &pattern;
    const detail::WideRect r { x, y, std::int64_t { x } + width, std::int64_t { y } + height };
    detail::PatternBlit(*d->Surface(), d->DeviceClip(), r.Offset(d->Origin()), params);
    return true;
}

} // namespace plx
