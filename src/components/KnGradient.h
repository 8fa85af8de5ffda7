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
    explicit TKnGradient(TComponent* owner);

    [[nodiscard]] TGradient& Gradient() noexcept { return m_gradient; }
    [[nodiscard]] const TGradient& Gradient() const noexcept { return m_gradient; }
    //! Copies value (unless it is the control's own); the gradient's change
    //! notification renders, so an identical gradient still renders once.
    void SetGradient(const TGradient& value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Renders the picture: the control's size, filled with Color, the gradient
    //! over the client rectangle. While loading, waits for the first paint.
    virtual void CreateOnTmp();
    void Paint() override;
    void Loaded() override;
    void CMColorChanged(TMessage& message) override;

private:
    void GradChanged();

    TGradient m_gradient;
    TBitmap m_picture;
    bool m_stale { false }; //!< a render was put off while loading
};

//! Registers TKnGradient for form files; FinalizeGradient takes it out again.
void InitializeGradient();
void FinalizeGradient();

} // namespace plx
