// TBrush: how a canvas fills areas.
#pragma once

#include "color/host/GraphicsObject.h"

namespace plx {

//! A brush fills with its colour, a hatch, or an 8 x 8 pattern taken from its
//! bitmap (which the brush does not own); a bitmap takes precedence over the style.
class TBrush : public TGraphicsObject {
public:
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    //! Also turns a clear brush solid again.
    void SetColor(TColor color);
    [[nodiscard]] TBrushStyle Style() const noexcept { return m_style; }
    void SetStyle(TBrushStyle style);
    [[nodiscard]] TBitmap* Bitmap() const noexcept { return m_bitmap; }
    void SetBitmap(TBitmap* bitmap);

    void Assign(const TPersistent* source) override;
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

private:
    TColor m_color { clWhite };
    TBrushStyle m_style { bsSolid };
    TBitmap* m_bitmap { nullptr };
};

} // namespace plx
