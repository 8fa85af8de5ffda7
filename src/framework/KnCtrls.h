// KnCtrls (framework part): the bevel description and PaintBevel, and
// TKnControl, the back-buffered control base with a background, a bevel, a
// focus flag and mouse enter and leave events.
#pragma once

#include "framework/Backgnd.h"
#include "framework/KnClasses.h"
#include "rtl/Persistent.h"
#include "rtl/TypInfo.h"

#include <cstdint>

namespace plx {

struct TEnumInfo;

//! The edge a TKnBevel draws; PaintBevel says how much room each takes.
enum TBevelType : std::uint8_t {
    btNone, //!< no edge
    btWindows95, //!< two-pixel relief
    btFlat3D, //!< one-pixel relief
    btIE4Interactive, //!< the one-pixel relief while focused; its room is kept either way
    bt2DRect, //!< a one-pixel frame in the bevel's colour
};

//! The stored edge size, 0..5; the painting does not use it.
using TBevelSize = std::uint8_t;
//! The largest Size a form file may give a TKnBevel.
inline constexpr TBevelSize kMaxBevelSize = 5;

//! The edge of a TKnControl. A new one is btNone, size 0, black; a control sets
//! its own. Every change fires OnChange, the owner's cue to render again.
class TKnBevel : public TDescription {
public:
    TKnBevel() = default;

    //! The edge's style (default btNone).
    [[nodiscard]] TBevelType BevelType() const noexcept { return m_bevelType; }
    //! Sets BevelType; a change calls Changed.
    void SetBevelType(TBevelType value);
    //! The stored edge size (default 0).
    [[nodiscard]] TBevelSize Size() const noexcept { return m_size; }
    //! Sets Size as given (only form files are held to 0..kMaxBevelSize); a change
    //! calls Changed.
    void SetSize(TBevelSize value);
    //! The base colour the edge shades are derived from.
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    //! Sets Color; a change calls Changed.
    void SetColor(TColor value);

    //! Copies from another TKnBevel through the setters, Color, Size, then
    //! BevelType, so OnChange fires once per value that differs (0 to 3 times);
    //! OnChange itself is not copied. Any other source raises EConvertError
    //! ("Cannot assign a TSource to a TKnBevel") and changes nothing.
    void Assign(const TPersistent* source) override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: BevelType, Size, Color, OnChange.
    //! None has a default: all are written. A form file's Size outside 0..5 raises
    //! EPropertyError.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of the TBevelType values, as form files store them.
    [[nodiscard]] static const TEnumInfo& BevelTypeInfo();

private:
    TBevelType m_bevelType { btNone };
    TBevelSize m_size { 0 };
    TColor m_color { clBlack };
};

//! Draws the bevel along the edges of rect and moves each side of rect inwards
//! by the room the style takes (btNone 0, btWindows95 2, the others 1), never
//! past the opposite side: a rectangle smaller than its bevel ends up empty
//! (Right = Left or Bottom = Top). The edges are three-point polylines with the
//! canvas's current pen width and style (whose last points are not drawn), in
//! shades of the bevel's colour: DarkenColor 50 and 120, BrightenColor 64.
void PaintBevel(TCanvas& canvas, TRect& rect, const TKnBevel& bevel, bool focused);

//! The base of controls with a background and a bevel. The face is the bevel,
//! then the background inside it; a descendant draws its content inside
//! WorkRect after the inherited PaintBackup. A change of the background or the
//! bevel, or of Focused, renders again at once (RepaintAll).
class TKnControl : public TKnGraphicControl {
public:
    //! A control with a plain black background and a btWindows95 bevel of size 2 in
    //! clBtnFace; setting them up fires nothing.
    explicit TKnControl(TComponent* owner);

    //! The background painted inside the bevel; any change to it calls RepaintAll.
    [[nodiscard]] TBackgndObj& Background() noexcept { return m_background; }
    //! Background of a constant control.
    [[nodiscard]] const TBackgndObj& Background() const noexcept { return m_background; }
    //! Copies value (unless it is the control's own), then RepaintAll.
    void SetBackground(const TBackgndObj& value);
    //! The control's edge; any change to it calls RepaintAll.
    [[nodiscard]] TKnBevel& Bevel() noexcept { return m_bevel; }
    //! Bevel of a constant control.
    [[nodiscard]] const TKnBevel& Bevel() const noexcept { return m_bevel; }
    //! Copies value (unless it is the control's own), then RepaintAll.
    void SetBevel(const TKnBevel& value);
    //! Decides whether btIE4Interactive draws its edge; nothing sets it but the application.
    [[nodiscard]] bool Focused() const noexcept { return m_focused; }
    //! Sets Focused; a change calls RepaintAll.
    void SetFocused(bool value);
    //! The area left for content by the last render: the client rectangle less the bevel.
    [[nodiscard]] const TRect& WorkRect() const noexcept { return m_workRect; }
    //! True between a mouse enter and the next mouse leave.
    [[nodiscard]] bool MouseInControl() const noexcept { return m_mouseInControl; }

    //! Fired by MouseEnter when the mouse comes over the control.
    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const noexcept { return m_onMouseEnter; }
    //! Sets the handler fired when the mouse enters.
    void SetOnMouseEnter(TNotifyEvent handler) { m_onMouseEnter = std::move(handler); }
    //! Fired by MouseLeave when the mouse leaves the control.
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const noexcept { return m_onMouseLeave; }
    //! Sets the handler fired when the mouse leaves.
    void SetOnMouseLeave(TNotifyEvent handler) { m_onMouseLeave = std::move(handler); }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! Publishes nothing of its own: a descendant puts PublishKnControl in its list.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Sets MouseInControl, then fires OnMouseEnter. Does not repaint.
    virtual void MouseEnter();
    //! Clears MouseInControl, then fires OnMouseLeave. Does not repaint.
    virtual void MouseLeave();
    //! The bevel on the buffer's edges, then the background inside it.
    void PaintBackup() override;
    //! The inherited handling, then MouseEnter.
    void CMMouseEnter(TMessage& message) override;
    //! The inherited handling, then MouseLeave.
    void CMMouseLeave(TMessage& message) override;

private:
    TBackgndObj m_background;
    TKnBevel m_bevel;
    bool m_focused { false };
    TRect m_workRect;
    bool m_mouseInControl { false };
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
};

//! Declares the four properties every TKnControl descendant publishes, in
//! their order: Background, Bevel, OnMouseEnter, OnMouseLeave.
template <class T>
void PublishKnControl(TClassInfoBuilder<T>& b)
{
    b.Object("Background", "TBackgndObj", [](TKnControl& c) -> TPersistent* { return &c.Background(); })
        .Object("Bevel", "TKnBevel", [](TKnControl& c) -> TPersistent* { return &c.Bevel(); })
        .Event("OnMouseEnter", "TNotifyEvent", &TKnControl::OnMouseEnter, &TKnControl::SetOnMouseEnter)
        .Event("OnMouseLeave", "TNotifyEvent", &TKnControl::OnMouseLeave, &TKnControl::SetOnMouseLeave);
}

} // namespace plx
