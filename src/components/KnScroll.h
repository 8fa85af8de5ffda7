// KnScroll: TKnScroll of unit KnCtrls, a windowless scroll bar drawn entirely
// from pictures: one per arrow button and one for the thumb, each holding a
// normal and a pressed frame side by side when NumGlyph is 2 or more.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/KnCtrls.h"

#include <cstdint>
#include <memory>

namespace plx {

class TClassInfo;
struct TEnumInfo;

//! How a TKnScroll lies.
enum TKnScrollOrientation : std::uint8_t {
    soHorizontal, //!< the decrement button on the left, the increment button on the right
    soVertical, //!< the decrement button at the top, the increment button at the bottom
};

//! The part of a TKnScroll the current left press operates.
enum TKnScrollEvent : std::uint8_t {
    seNone, //!< no left press
    seIncClick, //!< the increment button
    seDecClick, //!< the decrement button
    sePageUp, //!< the track before the thumb
    sePageDown, //!< the track after the thumb
    seDragThumb, //!< the thumb
};

//! A scroll bar skinned with pictures. Everything is laid out in WorkRect (the
//! client area less the bevel, as the last render left it): the decrement box
//! at the start, the increment box at the end, and between them the track,
//! which is the background, with the thumb placed by Position.
//!
//! A left press on an arrow steps by SmallChange, on the track beside the thumb
//! pages by LargeChange, on the thumb starts dragging it. While the button is
//! held, the press is repeated every 100 ms at wherever the pointer is then, so
//! paging turns into a drag once the thumb reaches the pointer. All scroll bars
//! share one repeat timer, which serves the one pressed last; a release on any
//! of them stops it.
//!
//! SmallChange and NumGlyph of 0 are kept as given but count as 1; a range
//! with Max = Min keeps the thumb at the start of the track. The pictures are
//! drawn as they are and never changed by drawing; a change made straight on
//! one (rather than through its setter) shows at the next render.
class TKnScroll : public TKnControl {
public:
    //! A horizontal bar of 160 x 20, range 0..100, at 0, steps of 1, no pictures.
    //! Raises EInvalidOperation when the package is not started (the repeat
    //! timer belongs to unit KnCtrls).
    explicit TKnScroll(TComponent* owner);
    //! Unhooks the shared repeat timer when it serves this scroll bar.
    ~TKnScroll() override;

    //! \name Pictures
    //! Each setter copies the picture (unless it is the bar's own). Pic_Up and
    //! Pic_Down render again (RepaintAll) only when the bar is vertical,
    //! Pic_Left and Pic_Right only when it is horizontal, Pic_Thumb always.
    //! @{

    //! The decrement button of a vertical bar.
    [[nodiscard]] TBitmap& Pic_Up() noexcept { return m_picUp; }
    //! The decrement button of a vertical bar.
    [[nodiscard]] const TBitmap& Pic_Up() const noexcept { return m_picUp; }
    //! Copies value; renders again when vertical.
    void SetPic_Up(const TBitmap& value);
    //! The increment button of a vertical bar.
    [[nodiscard]] TBitmap& Pic_Down() noexcept { return m_picDown; }
    //! The increment button of a vertical bar.
    [[nodiscard]] const TBitmap& Pic_Down() const noexcept { return m_picDown; }
    //! Copies value; renders again when vertical.
    void SetPic_Down(const TBitmap& value);
    //! The decrement button of a horizontal bar.
    [[nodiscard]] TBitmap& Pic_Left() noexcept { return m_picLeft; }
    //! The decrement button of a horizontal bar.
    [[nodiscard]] const TBitmap& Pic_Left() const noexcept { return m_picLeft; }
    //! Copies value; renders again when horizontal.
    void SetPic_Left(const TBitmap& value);
    //! The increment button of a horizontal bar.
    [[nodiscard]] TBitmap& Pic_Right() noexcept { return m_picRight; }
    //! The increment button of a horizontal bar.
    [[nodiscard]] const TBitmap& Pic_Right() const noexcept { return m_picRight; }
    //! Copies value; renders again when horizontal.
    void SetPic_Right(const TBitmap& value);
    //! The thumb.
    [[nodiscard]] TBitmap& Pic_Thumb() noexcept { return m_picThumb; }
    //! The thumb.
    [[nodiscard]] const TBitmap& Pic_Thumb() const noexcept { return m_picThumb; }
    //! Copies value and renders again.
    void SetPic_Thumb(const TBitmap& value);
    //! @}

    //! \name Range and position
    //! @{

    //! The upper bound of Position.
    [[nodiscard]] std::int32_t Max() const noexcept { return m_max; }
    //! Stores the bound, pulls Position down to it when above (without
    //! OnChange) and renders again. Min is not consulted.
    void SetMax(std::int32_t value);
    //! The lower bound of Position.
    [[nodiscard]] std::int32_t Min() const noexcept { return m_min; }
    //! Stores the bound, pulls Position up to it when below (without OnChange)
    //! and renders again. Max is not consulted.
    void SetMin(std::int32_t value);
    //! The current value.
    [[nodiscard]] std::int32_t Position() const noexcept { return m_position; }
    //! A value other than the current one is cut to a multiple of SmallChange
    //! (toward zero: the grid is anchored at 0, not at Min), raised to Min,
    //! lowered to Max, and rendered. OnChange fires in every case, also when
    //! the value was the current one.
    void SetPosition(std::int32_t value);
    //! The page step of PageUp and PageDown.
    [[nodiscard]] std::int32_t LargeChange() const noexcept { return m_largeChange; }
    //! Stores the step; nothing is rendered.
    void SetLargeChange(std::int32_t value) noexcept { m_largeChange = value; }
    //! The arrow step and the grid of Position; 0 counts as 1.
    [[nodiscard]] std::int32_t SmallChange() const noexcept { return m_smallChange; }
    //! Stores the step; nothing is rendered, the position is not moved to the new grid.
    void SetSmallChange(std::int32_t value) noexcept { m_smallChange = value; }
    //! @}

    //! \name Looks
    //! @{

    //! Frames per picture: 1 for a single picture, 2 or more for a normal frame
    //! and a pressed frame side by side (each half the picture's width). The
    //! horizontal boxes are the picture's width divided by NumGlyph; 0 counts as 1.
    [[nodiscard]] std::uint8_t NumGlyph() const noexcept { return m_numGlyph; }
    //! Stores the count and renders again.
    void SetGlyphs(std::uint8_t value);
    //! The thumb drawn unstretched at the thumb box's corner, without its
    //! transparent colour (its frame's bottom-left pixel, unless the picture has
    //! a fixed TransparentColor), instead of stretched over the thumb box.
    [[nodiscard]] bool TransparentThumb() const noexcept { return m_transparentThumb; }
    //! Stores the choice and renders again.
    void SetThumbTrans(bool value);
    //! Horizontal or vertical; width and height are not swapped by a change.
    [[nodiscard]] TKnScrollOrientation Orientation() const noexcept { return m_orientation; }
    //! Stores the orientation and renders again.
    void SetOrientation(TKnScrollOrientation value);
    //! @}

    //! \name State of the mouse
    //! @{

    //! The part the current left press operates; seNone between presses.
    [[nodiscard]] TKnScrollEvent Event() const noexcept { return m_event; }
    //! True from a press on the thumb to the left release. (The host's
    //! Dragging is about drag and drop, so this one has its own name.)
    [[nodiscard]] bool ThumbDragging() const noexcept { return m_dragging; }
    //! Where the pointer held the thumb: the press point less the thumb box's top-left corner.
    [[nodiscard]] TPoint DragOffset() const noexcept { return m_dragOffset; }
    //! @}

    //! Fired by every assignment of Position, also of the current value.
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    //! Sets the handler of OnChange.
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    //! \name Geometry, in client coordinates of the last render
    //! @{

    //! The decrement button's box: its picture's width div NumGlyph at the left
    //! of WorkRect, or its height at the top; 0 wide or high without a picture.
    [[nodiscard]] virtual TRect DecBox() const;
    //! The increment button's box, at the right or the bottom of WorkRect.
    [[nodiscard]] virtual TRect IncBox() const;
    //! The thumb's box: at PosToPoint(Position), the thumb picture's width div
    //! NumGlyph wide (or its height high) and as high (or wide) as WorkRect.
    [[nodiscard]] virtual TRect ThumbBox() const;
    //! Where the thumb's box starts for a position: the track (the room between
    //! the buttons less the thumb) times (pos - Min) / (Max - Min), rounded to
    //! nearest with ties to even, after the decrement box. With Max = Min, the
    //! track's start.
    [[nodiscard]] virtual TPoint PosToPoint(std::int32_t pos) const;
    //! The position whose thumb starts at the point: Min plus the distance from
    //! the decrement box over the track's pixels per unit, cut toward zero. Not
    //! clamped to the range; Min when Max = Min or the track has no room.
    [[nodiscard]] virtual std::int32_t PointToPos(TPoint point) const;
    //! @}

    //! \name Stepping, each through SetPosition (so OnChange fires)
    //! @{

    //! Position + SmallChange.
    void Increment();
    //! Position - SmallChange.
    void Decrement();
    //! Position + LargeChange.
    void PageDown();
    //! Position - LargeChange.
    void PageUp();
    //! The position under the point (x, y): PointToPos.
    void ScrollBy(std::int32_t x, std::int32_t y);
    //! @}

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties: the pictures, Max, Min, Position, LargeChange,
    //! SmallChange, NumGlyph, TransparentThumb, Orientation, Background, Bevel,
    //! OnMouseEnter, OnMouseLeave, OnChange and the host's Align to OnStartDrag.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of TKnScrollOrientation for form files.
    [[nodiscard]] static const TEnumInfo& OrientationInfo();

protected:
    //! The bevel and the background, then the buttons and the thumb, each in
    //! its normal frame or, while its part is pressed, its pressed frame.
    void PaintBackup() override;
    //! A left press on the thumb starts a drag, on a button steps, on the track
    //! beside the thumb pages; a press that did any of these claims the repeat
    //! timer. Then OnMouseDown. Renders only through a change of position.
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! While dragging, moves the thumb under the pointer (SetPosition); then OnMouseMove.
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! A left release ends the press and renders the normal frames; any release
    //! stops the repeat timer. Then OnMouseUp.
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! The repeat tick: a left press, without shift keys, where the pointer is now.
    void OnTimer(TObject* sender);
    //! Answers the wheel (WM_MOUSEWHEEL): each whole notch steps as an arrow
    //! does, toward Min when turned away from the user, so OnChange fires once
    //! a turn. A disabled bar, or one in the designer, leaves the wheel to its
    //! parent. Every other message goes to the inherited WndProc.
    void WndProc(TMessage& message) override;

private:
    [[nodiscard]] bool Horizontal() const noexcept { return m_orientation == soHorizontal; }
    //! Frames counted as at least 1.
    [[nodiscard]] std::int32_t Glyphs() const noexcept { return m_numGlyph == 0 ? 1 : m_numGlyph; }
    //! The thumb's extent along the bar.
    [[nodiscard]] std::int32_t ThumbLength() const noexcept;
    //! The room the thumb travels: between the buttons, less the thumb.
    [[nodiscard]] std::int64_t Track() const;
    void Step(std::int64_t delta);
    void DrawButton(TCanvas& canvas, TBitmap& picture, const TRect& box, TKnScrollEvent own);
    void DrawThumb(TCanvas& canvas);
    void ClaimRepeatTimer();

    TBitmap m_picUp;
    TBitmap m_picDown;
    TBitmap m_picLeft;
    TBitmap m_picRight;
    TBitmap m_picThumb;
    std::int32_t m_max { 100 };
    std::int32_t m_min { 0 };
    std::int32_t m_position { 0 };
    std::int32_t m_largeChange { 1 };
    std::int32_t m_smallChange { 1 };
    TNotifyEvent m_onChange;
    TKnScrollOrientation m_orientation { soHorizontal };
    bool m_dragging { false };
    TPoint m_dragOffset;
    std::uint8_t m_numGlyph { 1 };
    TKnScrollEvent m_event { seNone };
    bool m_transparentThumb { false };
};

} // namespace plx
