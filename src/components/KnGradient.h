// KnGradient: TKnGradient, the gradient panel (the component of unit Gradient).
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Control.h"
#include "paint/Gradient.h"

namespace plx {

class TClassInfo;

//! A windowless control filled with a gradient. The gradient is rendered once
//! into a picture of the control's size, over the control's Color (which shows
//! where the style leaves room, as around gsEllipse); a paint copies the damaged
//! part of that picture. The picture is rendered again only when the gradient
//! or Color changes, or at the first paint after a change of size. A new one is
//! 144 x 144 with black and white horizontal bands in four transitions.
class TKnGradient : public TGraphicControl {
public:
    //! A 144 x 144 panel, its gradient black and white in four transitions of
    //! 2-pixel horizontal bands.
    explicit TKnGradient(TComponent* owner);

    //! The gradient shown. Any change to it renders the picture again (or marks it
    //! stale while loading) and calls Invalidate.
    [[nodiscard]] TGradient& Gradient() noexcept { return m_gradient; }
    //! Gradient of a constant panel.
    [[nodiscard]] const TGradient& Gradient() const noexcept { return m_gradient; }
    //! Copies value (unless it is the control's own); the gradient's change
    //! notification renders, so an identical gradient still renders once.
    void SetGradient(const TGradient& value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: Gradient, then the inherited
    //! Color, Align, Visible, OnClick, OnDblClick, OnMouseDown, OnMouseMove, OnMouseUp.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Renders the picture: the control's size, filled with Color, the gradient
    //! over the client rectangle. While loading, waits for the first paint.
    virtual void CreateOnTmp();
    void Paint() override;
    void Loaded() override;
    //! Invalidates (the inherited handler), then renders the picture over the new Color.
    void CMColorChanged(TMessage& message) override;

private:
    void GradChanged();

    TGradient m_gradient;
    TBitmap m_picture;
    bool m_stale { false }; //!< a render was put off while loading
};

//! Registers TKnGradient for form files; FinalizeGradient takes it out again.
void InitializeGradient();
//! Unregisters TKnGradient when the last InitializeGradient is balanced.
void FinalizeGradient();

} // namespace plx
