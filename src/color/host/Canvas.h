// TCanvas: a drawing surface with a current pen, brush and font, drawing into a
// raster (a bitmap's pixels or a window surface).
#pragma once

#include "color/host/Brush.h"
#include "color/host/Font.h"
#include "color/host/Pen.h"
#include "color/host/Types.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace plx {

class Raster;
class TBitmap;
using HDC = std::uintptr_t;
namespace detail {
class CanvasAccess;
}

//! A canvas draws with its pen, brush and font, in its own coordinates, clipped
//! to ClipRect. Rectangles exclude their right and bottom edges; lines and
//! polylines leave out their last point; a pen wider than 1 is centred on the
//! figure's edge. Copies (Draw, StretchDraw, CopyRect) combine source and
//! destination with CopyMode. Any int32 coordinate or size is valid: a call
//! costs what its visible part costs, and nothing wraps.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    //! \name Pixels
    //! The exact colour at (x, y); clInvalid (0xFFFFFFFF) outside the surface or clip.
    [[nodiscard]] TColor Pixels(std::int32_t x, std::int32_t y) const;
    //! Stores the colour (as the surface's format holds it); nothing outside.
    void SetPixels(std::int32_t x, std::int32_t y, TColor color);

    //! \name Areas and shapes
    //! Fills with the brush (a clear brush fills nothing).
    void FillRect(const TRect& rect);
    //! Draws a one-pixel frame in the brush colour.
    void FrameRect(const TRect& rect);
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    //! A rectangle with elliptic corners of width x3 and height y3.
    void RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3, std::int32_t y3);
    //! The ellipse inside the box (x1, y1)-(x2, y2).
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    //! The part of the ellipse outline that runs counter-clockwise from the radial
    //! through (x3, y3) to the radial through (x4, y4).
    void Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3, std::int32_t y3,
        std::int32_t x4, std::int32_t y4);
    //! A filled polygon (alternate filling), outlined with the pen and closed.
    void Polygon(std::span<const TPoint> points);
    void Polygon(std::initializer_list<TPoint> points) { Polygon(std::span<const TPoint>(points.begin(), points.size())); }

    //! \name Lines
    void MoveTo(std::int32_t x, std::int32_t y);
    //! Draws from the pen position to (x, y), without (x, y) itself, and moves there.
    void LineTo(std::int32_t x, std::int32_t y);
    //! Connected segments; the last point is not drawn. Leaves the pen position alone.
    void Polyline(std::span<const TPoint> points);
    void Polyline(std::initializer_list<TPoint> points) { Polyline(std::span<const TPoint>(points.begin(), points.size())); }
    [[nodiscard]] TPoint PenPos() const noexcept { return m_penPos; }
    void SetPenPos(TPoint p) noexcept { m_penPos = p; }

    //! \name Copies
    //! Draws the bitmap at (x, y): with its transparent colour left out when the
    //! bitmap is Transparent, otherwise combined through CopyMode.
    void Draw(std::int32_t x, std::int32_t y, const TBitmap& bitmap);
    //! Draws the bitmap scaled to the rectangle.
    void StretchDraw(const TRect& rect, const TBitmap& bitmap);
    //! Copies (scaling when the sizes differ) source's area into dest.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    [[nodiscard]] TCopyMode CopyMode() const noexcept { return m_copyMode; }
    void SetCopyMode(TCopyMode mode) noexcept { m_copyMode = mode; }

    //! \name Tools
    [[nodiscard]] TPen& Pen() noexcept { return m_pen; }
    [[nodiscard]] const TPen& Pen() const noexcept { return m_pen; }
    void SetPen(const TPen& pen) { m_pen.Assign(&pen); }
    [[nodiscard]] TBrush& Brush() noexcept { return m_brush; }
    [[nodiscard]] const TBrush& Brush() const noexcept { return m_brush; }
    void SetBrush(const TBrush& brush) { m_brush.Assign(&brush); }
    [[nodiscard]] TFont& Font() noexcept { return m_font; }
    [[nodiscard]] const TFont& Font() const noexcept { return m_font; }
    void SetFont(const TFont& font) { m_font.Assign(&font); }

    //! \name Surface
    //! The visible part of the canvas in its own coordinates.
    [[nodiscard]] TRect ClipRect() const noexcept;
    //! Narrows drawing to rect (canvas coordinates), within the surface.
    void SetClipRect(const TRect& rect) noexcept;
    //! The device context for the GDI-style calls (created on first use).
    [[nodiscard]] HDC Handle();
    //! True when the canvas draws somewhere.
    [[nodiscard]] bool HasSurface() const noexcept { return m_raster != nullptr; }

    //! Points the canvas at a raster: canvas (0, 0) is raster point origin, and
    //! drawing is clipped to clip (raster coordinates) and the raster's bounds.
    //! Used by bitmaps and by the control layer; a null raster draws nowhere.
    void SetSurface(Raster* raster, TPoint origin, const TRect& clip) noexcept;
    void SetSurface(Raster* raster) noexcept;
    [[nodiscard]] Raster* Surface() const noexcept { return m_raster; }
    [[nodiscard]] TPoint Origin() const noexcept { return m_origin; }
    //! The clip in raster coordinates, within the raster's bounds.
    [[nodiscard]] TRect DeviceClip() const noexcept;

    //! \name Device-context colours
    //! Text colour and background colour of copies between monochrome and colour
    //! surfaces (and of hatch and dotted-line backgrounds); black and white unless set.
    [[nodiscard]] TColor TextColor() const noexcept { return m_textColor; }
    TColor SetTextColor(TColor color) noexcept;
    [[nodiscard]] TColor BkColor() const noexcept { return m_bkColor; }
    TColor SetBkColor(TColor color) noexcept;

    // ---- Text ----------------------------------------------------------------

    //! \name Text
    //! Text is drawn in the font selected into Handle (see SelectObject), or else
    //! in Font, and always in Font's colour. Strings are UTF-8; a byte that does
    //! not start a valid sequence is read as Windows-1252. A solid brush first
    //! fills the text cell with the brush colour; any other brush leaves all but
    //! the glyph pixels alone. Text honours the clip rectangle.

    //! Draws with the text cell's top-left corner at (x, y) and moves the pen
    //! position to (x + the text's width, y).
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text);
    //! As TextOut, limited to rect; a solid brush fills the whole of rect.
    void TextRect(const TRect& rect, std::int32_t x, std::int32_t y, std::string_view text);
    //! The width (the sum of the advances) and height (the cell: ascent + descent,
    //! also for an empty text) of the text, unrotated.
    [[nodiscard]] TSize TextExtent(std::string_view text) const;
    [[nodiscard]] std::int32_t TextWidth(std::string_view text) const;
    [[nodiscard]] std::int32_t TextHeight(std::string_view text) const;

    // ---- End of text ---------------------------------------------------------

    //! Fires after each drawing operation (a bitmap forwards it as its own change).
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    //! A canvas's pen, brush, font and copy mode, captured and restored as a unit.
    struct State {
        TColor penColor, brushColor, fontColor;
        TPenStyle penStyle;
        std::int32_t penWidth;
        TPenMode penMode;
        TBrushStyle brushStyle;
        TBitmap* brushBitmap;
        TCopyMode copyMode;
    };
    [[nodiscard]] State SaveState() const noexcept;
    void RestoreState(const State& state);

protected:
    void Changed();

private:
    friend class detail::CanvasAccess;

    Raster* m_raster { nullptr };
    TPoint m_origin;
    TRect m_clip; //!< raster coordinates
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    TPoint m_penPos;
    TCopyMode m_copyMode { cmSrcCopy };
    TColor m_textColor { clBlack };
    TColor m_bkColor { clWhite };
    HDC m_handle { 0 };
    bool m_ownsHandle { true }; //!< false for a memory device context's canvas, which its context owns
    TNotifyEvent m_onChange;
};

//! Restores a canvas's pen, brush, font colour and copy mode when it goes out of scope.
class TCanvasStateGuard {
public:
    explicit TCanvasStateGuard(TCanvas& canvas)
        : m_canvas(canvas)
        , m_state(canvas.SaveState())
    {
    }
    ~TCanvasStateGuard() { m_canvas.RestoreState(m_state); }
    TCanvasStateGuard(const TCanvasStateGuard&) = delete;
    TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

private:
    TCanvas& m_canvas;
    TCanvas::State m_state;
};

//! Draws a frame width pixels deep: topColor on the top and left edges,
//! bottomColor on the bottom and right, and shrinks rect by width on every side
//! (edges stop at the ends of the int32 range). Rings that cannot reach the clip
//! are not drawn, so a frame wider than the canvas costs what its visible rings
//! cost. Leaves the pen at width 1, and, for a positive width, in bottomColor.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, std::int32_t width);

} // namespace plx
