// DrawMan: drawing routines over a host canvas: text effects, and bitmap
// routines (transparent blits, masks, tiling, frames, round buttons).
#pragma once

#include "color/host/Bitmap.h"
#include "color/host/Canvas.h"
#include "color/host/Gdi.h"
#include "color/host/Types.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

namespace plx {

class TControl;

// ---- Bitmap routines -------------------------------------------------------

//! The colour of the bitmap's pixel (0, 0); clInvalid for an empty bitmap.
[[nodiscard]] TColor TransColor(const TBitmap& bitmap) noexcept;
//! True when the bitmap is absent or has no width or no height.
[[nodiscard]] bool BmpIsNil(const TBitmap* bitmap) noexcept;
//! Sets the width, then the height.
void SetSize(TBitmap& bitmap, std::int32_t width, std::int32_t height);
//! Draws the bitmap at (x, y) without its pixels of transparentColor. The bitmap
//! keeps Transparent on and that colour as its TransparentColor.
void TransparentBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y, TColor transparentColor);
//! TransparentBlt with the bitmap's own TransparentColor.
void TransBlt(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y);
//! A transparent draw whose outer edge is softened: each background pixel next
//! to an opaque one takes 80 % of that pixel's colour (cumulatively, once per
//! opaque neighbour). A negative transparentColor means TransColor(bitmap).
//! Meant for small pictures; reads the canvas one pixel beyond the picture.
void SmoothBlt(TCanvas& canvas, std::int32_t x, std::int32_t y, TBitmap& bitmap, TColor transparentColor);
//! A new monochrome mask of the bitmap's size: white where the bitmap has
//! transparentColor, black elsewhere; 0 for an empty bitmap. The caller releases
//! the handle with DeleteObject (or holds it in a TGdiObjectHandle).
[[nodiscard]] HBITMAP CreateMask(TBitmap& bitmap, TColor transparentColor);
//! Draws the picture, unscaled, at (x, y) through the mask: the picture where the
//! mask is black, the canvas unchanged where it is white. The picture goes
//! through the canvas's Draw, so one whose Transparent is on is drawn with its
//! transparent colour left out instead of being combined.
void PaintOnMask(TCanvas& canvas, std::int32_t x, std::int32_t y, const TBitmap& mask, const TBitmap& picture);
//! As PaintOnMask, with the picture stretched to the mask's size.
void StretchPaintOnMask(TCanvas& canvas, std::int32_t x, std::int32_t y, const TBitmap& mask, const TBitmap& picture);
//! Tiles the bitmap over the rectangle, the first tile at its top-left corner;
//! partial tiles at the right and bottom take the bitmap's top-left part.
void MultiPaint(TCanvas& canvas, const TBitmap& bitmap, const TRect& rect);
//! Tiles the bitmap over the rectangle with the tiles aligned to the canvas
//! origin: canvas (x, y) shows bitmap (x mod width, y mod height), also for
//! negative coordinates, so areas painted in several calls join seamlessly.
//! areaRect is not consulted.
void MultiClipPaint(TCanvas& canvas, const TBitmap& bitmap, const TRect& areaRect, const TRect& rect);
//! Copies the bitmap (not tiled) into the rectangle from its top-left corner, in
//! blocks of at most 48 x 48 pixels; canvas pixels beyond the bitmap stay unchanged.
void BytesPaint(TCanvas& canvas, const TRect& rect, const TBitmap& bitmap);
//! The smallest rectangle holding all of them (not normalised); (0, 0, 0, 0) for none.
[[nodiscard]] TRect MergeRect(std::span<const TRect> rects) noexcept;
//! MergeRect of rectangles written in place: MergeRect({ a, b }).
[[nodiscard]] TRect MergeRect(std::initializer_list<TRect> rects) noexcept;
//! The control's client rectangle offset by the positions of its ancestors below
//! the top level (neither the control's own position nor the top-level one is added).
[[nodiscard]] TRect GetCtrlRect(const TControl& control);
//! The control's position summed over all its ancestors, the top level included.
[[nodiscard]] TPoint GetCtrlPoint(const TControl& control);
//! A 3D frame in shades of colour: style 1 raised, 2 sunken, 3 a light outline
//! under a dark one; any other style draws nothing.
void Draw3D(TCanvas& canvas, const TRect& rect, TColor color, std::int32_t style, std::int32_t width);
//! A shaded round button face with a border ring of borderWidth. Leaves the pen
//! at width 1 in DarkenColor(faceColor, 32) and the brush solid in faceColor.
void RoundButton(TCanvas& canvas, const TRect& rect, TColor faceColor, TColor borderColor, std::int32_t borderWidth);

// ---- Text effects ----------------------------------------------------------
//
// Each routine draws with the canvas's current font, with the text cell's
// top-left corner at the given position. Those that draw the text in several
// passes leave the brush clear; those that work through temporary bitmaps leave
// the canvas's pen, brush and font as they were.

//! Receives one pixel colour per call; no coordinates (see ReadPixels for the order).
using TPixelProc = std::function<void(TColor)>;

//! The text in outlineColor at the four diagonal neighbours of (x, y), in the
//! order (+1, +1), (-1, +1), (-1, -1), (+1, -1), then in the font's own colour at
//! (x, y). Leaves the brush clear and the font colour as it was.
void DrawOutlinedText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor outlineColor);
//! Only the four outline passes of DrawOutlinedText; the font colour stays outlineColor.
void DrawTextOutline(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor outlineColor);
//! A one-pixel relief: downRightColor at (x + 1, y + 1), upLeftColor at
//! (x - 1, y - 1), then the font colour at (x, y). Leaves the brush clear.
void Draw3DText(TCanvas& canvas, const std::string& text, std::int32_t x, std::int32_t y, TColor upLeftColor,
    TColor downRightColor);
//! The text in shadowColor offset by (xOffset, yOffset), then in the font colour
//! at (x, y). Leaves the brush clear.
void DrawShadowTextExt(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, TColor shadowColor,
    std::int32_t xOffset, std::int32_t yOffset);
//! DrawShadowTextExt with a grey (0x808080) shadow two pixels right and down.
void DrawShadowText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text);
//! The text with its right and bottom edges softened: glyph pixels solid in the
//! font colour, each background pixel right of or below a glyph pixel mixed 30 %
//! font colour to 70 % of what is there (twice where it is both).
void TextSmooth(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text);
//! The text turned by angle (tenths of a degree, counter-clockwise) about (x, y),
//! in a font made from the canvas font with its height taken as the cell height.
void DrawTextAnglo(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, std::int32_t angle);
//! The picture, unscaled from the text cell's top-left corner, shows through the
//! letters; glyph pixels beyond the picture come out black.
void PaintOnText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, const TBitmap& picture);
//! As PaintOnText with the picture stretched to the text's extent.
void StretchPaintOnText(TCanvas& canvas, std::int32_t x, std::int32_t y, const std::string& text, const TBitmap& picture);
//! Calls callback with every pixel of the bitmap, column by column: x outer, y inner.
void ReadPixels(const TBitmap& bitmap, const TPixelProc& callback);
//! Renders the text into a mask (TextWidth x TextHeight on the canvas) and calls
//! callback with its pixels as ReadPixels does: 0x000000 for glyph pixels,
//! 0xFFFFFF for the rest.
void ReadText(TCanvas& canvas, const std::string& text, const TPixelProc& callback);

} // namespace plx
