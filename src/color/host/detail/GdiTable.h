// The table behind the GDI-style handles: the bitmaps, device contexts and fonts
// that handles name, and which of them their callers own.
#pragma once

#include "color/host/Gdi.h"

#include <cstdint>
#include <memory>

namespace plx {
class Raster;
class TCanvas;
}

namespace plx::detail {

//! An object in the handle table.
class GdiObject {
public:
    virtual ~GdiObject() = default;
};

//! A bitmap: its pixels, and the TBitmap it belongs to, if any.
class GdiBitmap : public GdiObject {
public:
    std::shared_ptr<Raster> raster;
    const void* owner { nullptr };
};

//! A font made by CreateFontA or CreateFontIndirectA.
class GdiFont : public GdiObject {
public:
    LOGFONTA logFont;
};

//! A device context: a TCanvas's, or a memory context with a canvas of its own
//! that draws on the bitmap selected into it.
class GdiDC : public GdiObject {
public:
    GdiDC();
    ~GdiDC() override;

    TCanvas* canvas { nullptr };
    std::unique_ptr<TCanvas> owned;
    HBITMAP bitmap { 0 };
    std::shared_ptr<Raster> selected;
    HFONT font { 0 }; //!< 0 while the canvas's own font applies
};

//! \name The table
//! Caller-owned objects count towards GdiObjectCount until released.
HGDIOBJ RegisterObject(std::unique_ptr<GdiObject> object, bool callerOwned);
void UnregisterObject(HGDIOBJ handle) noexcept;
[[nodiscard]] GdiObject* LookupObject(HGDIOBJ handle) noexcept;
template <class T>
[[nodiscard]] T* Lookup(HGDIOBJ handle) noexcept
{
    return dynamic_cast<T*>(LookupObject(handle));
}
//! Removes an entry and hands its object over (for TBitmap::SetHandle).
[[nodiscard]] std::unique_ptr<GdiObject> TakeObject(HGDIOBJ handle) noexcept;
//! Marks a registered object as owned by its caller from now on.
void SetCallerOwned(HGDIOBJ handle, bool callerOwned) noexcept;
[[nodiscard]] bool IsCallerOwned(HGDIOBJ handle) noexcept;
[[nodiscard]] std::int32_t CallerOwnedCount() noexcept;

//! \name Device contexts
//! The device context of a TCanvas (not caller-owned; the canvas unregisters it).
[[nodiscard]] HDC RegisterCanvas(TCanvas* canvas);
//! A caller-owned memory device context whose canvas knows its handle, so text
//! drawn through it uses the font selected into it.
[[nodiscard]] HDC RegisterMemoryDC();
[[nodiscard]] TCanvas* CanvasFromDC(HDC dc) noexcept;
//! The font selected into a device context (0 when the canvas's own font applies).
[[nodiscard]] HFONT SelectedFont(HDC dc) noexcept;
//! The handle SelectObject returns for a device context that had no font
//! selected: selecting it again returns the context to its canvas's own font.
[[nodiscard]] HFONT CanvasFontHandle();

} // namespace plx::detail
