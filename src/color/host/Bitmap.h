// TBitmap: an image in memory with a canvas, a declared pixel format and colour
// table, .bmp streaming and PNG output.
#pragma once

#include "color/host/Canvas.h"
#include "color/host/Raster.h"

#include <memory>
#include <string>

namespace plx {

class TStream;
struct TResourceModule;
using HBITMAP = std::uintptr_t;
using HINSTANCE = const TResourceModule*;

enum TTransparentMode : std::uint8_t { tmAuto, tmFixed };

//! A bitmap. A new one is empty (0 x 0); pixels added by growing it are white.
//! Sizes over 32,767 per side or 2^28 pixels raise EInvalidGraphic and leave the
//! bitmap as it was. Drawing on a palette bitmap stores the nearest table entry.
class TBitmap : public TPersistent {
public:
    TBitmap();
    TBitmap(std::int32_t width, std::int32_t height);
    ~TBitmap() override;

    //! \name Size and format
    [[nodiscard]] std::int32_t Width() const noexcept { return m_image->Width(); }
    void SetWidth(std::int32_t width);
    [[nodiscard]] std::int32_t Height() const noexcept { return m_image->Height(); }
    void SetHeight(std::int32_t height);
    void SetSize(std::int32_t width, std::int32_t height);
    [[nodiscard]] bool Empty() const noexcept { return m_image->Empty(); }
    [[nodiscard]] TPixelFormat PixelFormat() const noexcept { return m_image->Format(); }
    //! Converts the pixels (to the nearest entry of the format's standard table
    //! for palette formats).
    void SetPixelFormat(TPixelFormat format);
    //! One bit per pixel, black and white only.
    [[nodiscard]] bool Monochrome() const noexcept { return m_image->IsMonochrome(); }
    //! Turning it on converts by the monochrome rule: white pixels stay white, all
    //! others become black. Turning it off makes a true-colour bitmap of the same pixels.
    void SetMonochrome(bool value);
    //! The colour table of a palette bitmap (empty otherwise).
    [[nodiscard]] const std::vector<TColor>& ColorTable() const noexcept { return m_image->Palette(); }
    void SetColorTable(std::span<const TColor> colors);

    //! \name Transparency
    [[nodiscard]] bool Transparent() const noexcept { return m_transparent; }
    void SetTransparent(bool value);
    //! The colour of the bottom-left pixel unless set (tmAuto); clDefault for an empty bitmap.
    [[nodiscard]] TColor TransparentColor() const noexcept;
    //! Sets the colour and switches the mode to tmFixed.
    void SetTransparentColor(TColor color);
    [[nodiscard]] TTransparentMode TransparentMode() const noexcept { return m_transparentMode; }
    void SetTransparentMode(TTransparentMode mode);

    //! \name Drawing and handles
    [[nodiscard]] TCanvas& Canvas() noexcept { return *m_canvas; }
    //! The canvas for reading (pixels, sizes, colours, or as the source of a copy).
    [[nodiscard]] const TCanvas& Canvas() const noexcept { return *m_canvas; }
    //! A GDI bitmap handle for the image, or 0 while the bitmap is empty.
    [[nodiscard]] HBITMAP Handle() const;
    //! Takes over a bitmap handle (from CreateBitmap or ReleaseHandle); the handle
    //! then belongs to this bitmap. 0 empties the bitmap.
    void SetHandle(HBITMAP handle);
    //! Gives the image away as a new handle that the caller releases with
    //! DeleteObject; the bitmap becomes empty.
    [[nodiscard]] HBITMAP ReleaseHandle();
    //! Frees device resources; the image stays in memory, so this changes nothing visible.
    void Dormant() noexcept { }
    //! Empties the bitmap.
    void FreeImage();

    //! \name Streaming
    //! Reads a .bmp stream (file header; 12-, 40-, 52-, 56-, 64-, 108- or 124-byte
    //! header; 1, 4, 8, 16, 24 or 32 bits; uncompressed, RLE8, RLE4 or bit fields;
    //! bottom-up or top-down). A malformed stream, or one whose image would pass
    //! the image allocation limit (SetImageAllocationLimit in BmpFormat.h), raises
    //! EInvalidGraphic and leaves the bitmap unchanged.
    void LoadFromStream(TStream& stream);
    //! Writes a .bmp stream in the bitmap's own format (palette bitmaps keep their table).
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    //! Writes an 8-bit RGB PNG file.
    void SaveToPNG(const std::string& fileName) const;
    //! Loads the bitmap resource name (case-insensitive) of a module; raises
    //! EResNotFound when there is none.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);

    //! Copies another bitmap (size, format, table, pixels and transparency); a null
    //! source empties this one.
    void Assign(const TPersistent* source) override;

    //! Fires after the bitmap or its canvas changed.
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    //! Host-internal pixel store.
    [[nodiscard]] Raster& Image() noexcept { return *m_image; }
    [[nodiscard]] const Raster& Image() const noexcept { return *m_image; }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Changed();

private:
    void AttachCanvas();
    void ReleaseOwnHandle() const;

    std::shared_ptr<Raster> m_image;
    std::unique_ptr<TCanvas> m_canvas;
    bool m_transparent { false };
    TColor m_transparentColor { clDefault };
    TTransparentMode m_transparentMode { tmAuto };
    mutable HBITMAP m_handle { 0 };
    TNotifyEvent m_onChange;
};

} // namespace plx
