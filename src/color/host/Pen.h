// TPen: colour, style, width and mode of the lines a canvas draws.
#pragma once

#include "color/host/GraphicsObject.h"

namespace plx {

class TPen : public TGraphicsObject {
public:
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    void SetColor(TColor color);
    [[nodiscard]] TPenStyle Style() const noexcept { return m_style; }
    void SetStyle(TPenStyle style);
    [[nodiscard]] std::int32_t Width() const noexcept { return m_width; }
    //! Widths below 1 draw as 1.
    void SetWidth(std::int32_t width);
    [[nodiscard]] TPenMode Mode() const noexcept { return m_mode; }
    void SetMode(TPenMode mode);

    void Assign(const TPersistent* source) override;
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

private:
    TColor m_color { clBlack };
    TPenStyle m_style { psSolid };
    std::int32_t m_width { 1 };
    TPenMode m_mode { pmCopy };
};

} // namespace plx
