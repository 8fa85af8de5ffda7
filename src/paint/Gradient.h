// Gradient: TGradient, the persistent description of a multi-colour gradient,
// and the band painters that turn one into pixels.
#pragma once

#include "color/host/Canvas.h"
#include "color/host/Types.h"
#include "rtl/Persistent.h"

#include <cstdint>
#include <functional>
#include <span>

namespace plx {

class TClassInfo;
struct TEnumInfo;

//! The shape of a gradient's bands.
enum TGradientStyle : std::uint8_t {
    gsLine, //!< parallel bands
    gsEllipse, //!< concentric ellipses
    gsRect, //!< nested rectangles
    gsCustomRect, //!< nested bands drawn by OnDrawRect
};

//! The direction of gsLine bands.
enum TDirection : std::uint8_t {
    diHorizonal, //!< horizontal bands stacked from top to bottom
    diVertical, //!< vertical bands side by side from left to right
};

//! The number of colour transitions, 1..4 by design; values are not range-checked
//! when stored, and the painters clamp what they read.
using TColorCount = std::uint8_t;

//! Draws one band of a gsCustomRect gradient in the canvas's brush colour.
using TDrawRectEvent = std::function<void(TObject* sender, TCanvas& canvas, TRect rect)>;

//! A gradient: style, band thickness, five colours, how many of them take part
//! and the band direction. A new one is grey, white, light grey, white in three
//! transitions of 3-pixel horizontal bands (brushed metal). Every setter that
//! changes a value calls Changed, which fires OnChange.
class TGradient : public TDescription {
public:
    TGradient() = default;

    //! The shape of the bands (default gsLine).
    [[nodiscard]] TGradientStyle GradientStyle() const noexcept { return m_gradientStyle; }
    //! Sets GradientStyle; a change calls Changed.
    void SetGradientStyle(TGradientStyle value);
    //! The thickness of each band in pixels (default 3).
    [[nodiscard]] std::int32_t LineSize() const noexcept { return m_lineSize; }
    //! Sets LineSize; a change calls Changed.
    void SetLineSize(std::int32_t value);
    //! The first colour (default clGray).
    [[nodiscard]] TColor Color1() const noexcept { return m_color1; }
    //! Sets Color1; a change calls Changed.
    void SetColor1(TColor value);
    //! The second colour (default clWhite).
    [[nodiscard]] TColor Color2() const noexcept { return m_color2; }
    //! Sets Color2; a change calls Changed.
    void SetColor2(TColor value);
    //! The third colour (default clSilver).
    [[nodiscard]] TColor Color3() const noexcept { return m_color3; }
    //! Sets Color3; a change calls Changed.
    void SetColor3(TColor value);
    //! The fourth colour (default clWhite).
    [[nodiscard]] TColor Color4() const noexcept { return m_color4; }
    //! Sets Color4; a change calls Changed.
    void SetColor4(TColor value);
    //! The fifth colour (default clBlack).
    [[nodiscard]] TColor Color5() const noexcept { return m_color5; }
    //! Sets Color5; a change calls Changed.
    void SetColor5(TColor value);
    //! The number of transitions N (default 3): colours 1 to N + 1 take part, and
    //! N = 1 paints Color1 alone.
    [[nodiscard]] TColorCount ColorCount() const noexcept { return m_colorCount; }
    //! Sets ColorCount; a change calls Changed.
    void SetColorCount(TColorCount value);
    //! The direction of gsLine bands (default diHorizonal).
    [[nodiscard]] TDirection LineDirection() const noexcept { return m_lineDirection; }
    //! Sets LineDirection; a change calls Changed.
    void SetLineDir(TDirection value);

    //! Draws each band of a gsCustomRect gradient.
    [[nodiscard]] const TDrawRectEvent& OnDrawRect() const noexcept { return m_onDrawRect; }
    //! Sets the handler that draws gsCustomRect bands.
    void SetOnDrawRect(TDrawRectEvent handler) { m_onDrawRect = std::move(handler); }

    //! Copies style, line size, colours, count and direction from another
    //! TGradient (not the event handlers), then calls Changed once. Any other
    //! source raises EConvertError and leaves this gradient as it was.
    void Assign(const TPersistent* source) override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: GradientStyle, LineSize, Color1 to
    //! Color5, ColorCount, LineDirection, OnDrawRect, OnChange.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of the TGradientStyle values, as form files store them.
    [[nodiscard]] static const TEnumInfo& GradientStyleInfo();
    //! The names of the TDirection values, as form files store them.
    [[nodiscard]] static const TEnumInfo& DirectionInfo();

private:
    TGradientStyle m_gradientStyle { gsLine };
    std::int32_t m_lineSize { 3 };
    TColor m_color1 { clGray };
    TColor m_color2 { clWhite };
    TColor m_color3 { clSilver };
    TColor m_color4 { clWhite };
    TColor m_color5 { clBlack };
    TColorCount m_colorCount { 3 };
    TDirection m_lineDirection { diHorizonal };
    TDrawRectEvent m_onDrawRect;
};

//! \name Band painters

//! colors is the colour list (copied on entry); colorCount the number of
//! transitions N: colours 0..N take part, N = 1 paints colour 0 alone. The area
//! is cut into N equal segments and each band of lineSize pixels is filled with
//! the current colour, which moves linearly from one colour to the next. A line
//! size below 1 counts as 1, a count below 1 as 3, and a count beyond the list
//! as its last index. A rectangle whose Right or Bottom is 0 draws nothing, and
//! neither does an empty list.

//! Paints the gradient over the rectangle in its style.
void PaintGradient(TCanvas& canvas, const TRect& rect, const TGradient& gradient);
//! Parallel bands with Brush.Color and FillRect. The first segment boundary is
//! counted from coordinate 0, and the last band may reach up to lineSize pixels
//! beyond the rectangle.
void LineGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    TDirection direction, std::int32_t lineSize);
//! The same bands as LineGradient for an area at the origin, computed once on an
//! 8-pixel strip and tiled over the rectangle (exactly the rectangle).
void FastLineGrad(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    TDirection direction, std::int32_t lineSize);
//! Concentric ellipses Ellipse(x, y, R - x, B - y), without outline (the pen is
//! left clear).
void EllipseGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize);
//! Nested rectangles (x, y, R, B): the top-left corner moves inwards.
void RectGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize);
//! The bands of RectGradient handed to onDrawRect (sender nil) with the brush set;
//! the pen is left clear.
void CustomGradient(TCanvas& canvas, const TRect& rect, std::span<const TColor> colors, std::int32_t colorCount,
    std::int32_t lineSize, const TDrawRectEvent& onDrawRect);

} // namespace plx
