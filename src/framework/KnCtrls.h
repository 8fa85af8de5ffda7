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

enum TBevelType : std::uint8_t {
    btNone, //!< no edge
    btWindows95, //!< two-pixel relief
    btFlat3D, //!< one-pixel relief
    btIE4Interactive, //!< the one-pixel relief while focused; its room is kept either way
    bt2DRect, //!< a one-pixel frame in the bevel's colour
};

//! The stored edge size, 0..5; the painting does not use it.
using TBevelSize = std::uint8_t;
inline constexpr TBevelSize kMaxBevelSize = 5;

//! The edge of a TKnControl. A new one is btNone, size 0, black; a control sets
//! its own. Every change fires OnChange, the owner's cue to render again.
class TKnBevel : public TPersistent {
public:
    TKnBevel() = default;

    [[nodiscard]] TBevelType BevelType() const noexcept { return m_bevelType; }
    void SetBevelType(TBevelType value);
    [[nodiscard]] TBevelSize Size() const noexcept { return m_size; }
    void SetSize(TBevelSize value);
    //! The base colour the edge shades are derived from.
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    void SetColor(TColor value);

    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    //! Copies from another TKnBevel through the setters, Color, Size, then
    //! BevelType, so OnChange fires once per value that differs (0 to 3 times);
    //! OnChange itself is not copied. Any other source raises EConvertError
    //! ("Cannot assign a TSource to a TKnBevel") and changes nothing.
    void Assign(const TPersistent* source) override;
    //! Fires OnChange(this) when a handler is assigned.
    void Changed();

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    [[nodiscard]] static const TEnumInfo& BevelTypeInfo();

private:
    TBevelType m_bevelType { btNone };
    TBevelSize m_size { 0 };
    TColor m_color { clBlack };
    TNotifyEvent m_onChange;
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
    explicit TKnControl(TComponent* owner);

    [[nodiscard]] TBackgndObj& Background() noexcept { return m_background; }
    [[nodiscard]] const TBackgndObj& Background() const noexcept { return m_background; }
    //! Copies value (unless it is the control's own), then RepaintAll.
    void SetBackground(const TBackgndObj& value);
    [[nodiscard]] TKnBevel& Bevel() noexcept { return m_bevel; }
    [[nodiscard]] const TKnBevel& Bevel() const noexcept { return m_bevel; }
    //! Copies value (unless it is the control's own), then RepaintAll.
    void SetBevel(const TKnBevel& value);
    //! Decides whether btIE4Interactive draws its edge; nothing sets it but the application.
    [[nodiscard]] bool Focused() const noexcept { return m_focused; }
    void SetFocused(bool value);
    //! The area left for content by the last render: the client rectangle less the bevel.
    [[nodiscard]] const TRect& WorkRect() const noexcept { return m_workRect; }
    //! True between a mouse enter and the next mouse leave.
    [[nodiscard]] bool MouseInControl() const noexcept { return m_mouseInControl; }

    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const noexcept { return m_onMouseEnter; }
    void SetOnMouseEnter(TNotifyEvent handler) { m_onMouseEnter = std::move(handler); }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const noexcept { return m_onMouseLeave; }
    void SetOnMouseLeave(TNotifyEvent handler) { m_onMouseLeave = std::move(handler); }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Sets MouseInControl, then fires OnMouseEnter. Does not repaint.
    virtual void MouseEnter();
    //! Clears MouseInControl, then fires OnMouseLeave. Does not repaint.
    virtual void MouseLeave();
    //! The bevel on the buffer's edges, then the background inside it.
    void PaintBackup() override;
    void CMMouseEnter(TMessage& message) override;
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
