// ClrPanel: a bevel and panels whose 3D edges are shades of their own Color
// instead of the system's highlight and shadow colours, so they look right on a
// coloured form. Both take their colour from the form that owns them.
#pragma once

#include "framework/host/ExtCtrls.h"

namespace plx {

class TClassInfo;

//! The colour a component adopts from its owner when it is created: true, with
//! color set to the owner's Color, when the owner is a form or a TColorPanel;
//! false, leaving color alone, for any other owner or none.
[[nodiscard]] bool OwnerColor(const TComponent* owner, TColor& color) noexcept;

//! A bevelled line or box in shades of Color: BrightenColor and DarkenColor by
//! 48. It fills nothing; what lies under it shows through. A new one takes its
//! owner's colour (see OwnerColor); one without such an owner keeps clWindow.
class TClrBevel : public TBevel {
public:
    //! The host's bevel, then the owner's colour.
    explicit TClrBevel(TComponent* owner);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties: Align, ParentShowHint, Shape (bsBox), ShowHint,
    //! Style (bsLowered), Visible, Color (clWindow).
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! The shape in the shades of Color (dark top-left when lowered).
    void Paint() override;
};

//! A panel whose bevels are shades of Color: BrightenColor and DarkenColor by
//! 64, the top-left edge light unless the bevel is lowered. The frames are the
//! outer bevel, the border in Color and the inner bevel, drawn by PaintPanel;
//! the rest is filled with Color and shows the caption centred on its middle
//! line. A new one takes its owner's colour (see OwnerColor) and has an empty
//! caption.
class TCustomColorPanel : public TCustomPanel {
public:
    //! The host's panel, then the owner's colour and an empty caption.
    explicit TCustomColorPanel(TComponent* owner);

    //! The client rectangle less the frames, as the last paint left it. Frames
    //! wider than the panel leave it empty (Right = Left or Bottom = Top), never
    //! inverted.
    [[nodiscard]] const TRect& PanelRect() const noexcept { return m_panelRect; }

protected:
    //! Draws the frames along rect's edges and moves each of its sides inwards by
    //! their width: the outer bevel (unless bvNone), the border in Color, the inner
    //! bevel (unless bvNone), each BevelWidth or BorderWidth deep. A frame deeper
    //! than what is left of rect covers it and leaves it empty.
    virtual void PaintPanel(TRect& rect);
    //! The frames, the fill and the caption.
    void Paint() override;
    //! Aligned children stay inside the frames (none when the frames cover the panel).
    void AlignControls(TControl* control, TRect& rect) override;

private:
    void PaintText(const TRect& rect);

    TRect m_panelRect;
};

//! TCustomColorPanel with the panel's properties published.
class TColorPanel : public TCustomColorPanel {
public:
    //! A TCustomColorPanel.
    explicit TColorPanel(TComponent* owner);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties, the panel's: the frames and alignment, the drag
    //! properties, Caption, Color (clBtnFace), the font, Locked, ParentColor
    //! (false), the tab properties, Visible and the click, mouse, drag, focus and
    //! resize events.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! Registers TClrBevel and TColorPanel for form files; FinalizeClrPanel takes
//! them out again.
void InitializeClrPanel();
//! Unregisters the classes InitializeClrPanel registered.
void FinalizeClrPanel();

} // namespace plx
