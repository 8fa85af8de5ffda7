// The classic look of the standard controls: edges, button faces, arrows,
// check marks, radio circles, focus rectangles and the vertical scroll bar.
#pragma once

#include "color/host/Canvas.h"

#include <cstdint>
#include <string_view>

namespace plx::detail {

//! The width of a vertical scroll bar and the height of its arrow buttons.
inline constexpr std::int32_t kScrollBarSize = 16;
//! The side of a check box's square.
inline constexpr std::int32_t kCheckSize = 13;
//! The side of a radio button's circle.
inline constexpr std::int32_t kRadioSize = 12;

//! The dotted focus rectangle: every other pixel of the rectangle's outline
//! inverted, starting at its top-left corner. Drawing it twice restores the
//! pixels. An empty rectangle draws nothing.
void DrawFocusRect(TCanvas& canvas, const TRect& rect);

//! A one-pixel frame with the pixels of Frame3D (topLeft on the top row but its
//! last pixel and on the left column but its last; bottomRight on the right
//! column and the bottom row), drawn as clipped fills so that any rectangle
//! costs only its visible part. Shrinks rect by 1 on every side.
void DrawFrame(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight);

//! Two-pixel edges, shrinking rect by 2 on every side.
//! Raised: a button's edge (highlight and light on the top and left, dark
//! shadow and shadow on the bottom and right).
void DrawRaisedEdge(TCanvas& canvas, TRect& rect);
//! Sunken: the edge of a field (edits, list boxes, check boxes).
void DrawSunkenEdge(TCanvas& canvas, TRect& rect);

//! How a push button's face looks.
enum class TButtonFace : std::uint8_t {
    Up,
    //! The default (or focused) button: a black frame around the raised edge.
    Default,
    //! Held down: a black frame, a shadow frame and a flat face.
    Pressed,
};
//! Draws a push button's frame and fills the face with clBtnFace; returns the
//! rectangle left for the caption (shifted by one pixel when pressed).
TRect DrawPushButton(TCanvas& canvas, TRect rect, TButtonFace face);

//! A speed button's or scroll arrow's face: raised, or sunken when down
//! (flat: a one-pixel shadow frame, as scroll arrows show while held).
//! Fills with clBtnFace and shrinks rect to the face.
void DrawSpeedButtonFace(TCanvas& canvas, TRect& rect, bool down);
void DrawFlatPushedFace(TCanvas& canvas, TRect& rect);

enum class TArrowDirection : std::uint8_t { Up, Down, Left, Right };
//! A solid triangle arrow (seven pixels across for the usual 16-pixel
//! buttons, fewer when the rectangle is small) centred in rect; embossed
//! grey when disabled.
void DrawArrow(TCanvas& canvas, const TRect& rect, TArrowDirection direction, bool enabled);

enum class TCheckMark : std::uint8_t { Unchecked, Checked, Grayed };
//! A 13 x 13 check box at (x, y): a sunken field, white (button face when
//! pushed or disabled) with the check mark.
void DrawCheckBox(TCanvas& canvas, std::int32_t x, std::int32_t y, TCheckMark mark, bool enabled, bool pushed);
//! A 12 x 12 radio circle at (x, y) with a dot when checked.
void DrawRadioButton(TCanvas& canvas, std::int32_t x, std::int32_t y, bool checked, bool enabled, bool pushed);

//! A caption with DrawText flags: in the font's colour, or embossed (highlight
//! below right, shadow on top) when disabled. Leaves the brush clear.
void DrawCaption(TCanvas& canvas, std::string_view text, TRect rect, std::uint32_t flags, bool enabled);

//! Fills rect with the checkerboard of button face and highlight that
//! scroll-bar tracks and latched speed buttons show.
void FillDithered(TCanvas& canvas, const TRect& rect);

//! The parts of a vertical scroll bar.
enum class TScrollPart : std::uint8_t { None, LineUp, LineDown, PageUp, PageDown, Thumb };

//! A vertical scroll bar's geometry for a position in 0 .. max (max = items
//! that can scroll, page = items per page).
struct TScrollBarLayout {
    TRect bar, up, down, track, thumb;
    bool enabled { false };

    [[nodiscard]] static TScrollBarLayout Make(const TRect& bar, std::int32_t position, std::int32_t max, std::int32_t page) noexcept;
    [[nodiscard]] TScrollPart HitTest(TPoint p) const noexcept;
    //! The position the thumb's top at y stands for.
    [[nodiscard]] std::int32_t PositionAt(std::int32_t thumbTop, std::int32_t max) const noexcept;
};
//! Draws the bar; pressed is the part held down with the pointer over it.
void DrawVScrollBar(TCanvas& canvas, const TScrollBarLayout& layout, TScrollPart pressed);

} // namespace plx::detail
