// TFont: the logical font a canvas draws text with.
#pragma once

#include "color/host/GraphicsObject.h"

namespace plx {

//! A logical font: face name, size, style and colour. Sizes convert at 96 pixels
//! per inch: a negative Height is the character height in pixels, a positive one
//! the cell height, and Size is in points.
class TFont : public TGraphicsObject {
public:
    static constexpr std::int32_t kPixelsPerInch = 96;

    [[nodiscard]] const std::string& Name() const noexcept { return m_name; }
    void SetName(const std::string& name);
    [[nodiscard]] std::int32_t Height() const noexcept { return m_height; }
    void SetHeight(std::int32_t height);
    [[nodiscard]] std::int32_t Size() const noexcept;
    void SetSize(std::int32_t points);
    [[nodiscard]] TFontStyles Style() const noexcept { return m_style; }
    void SetStyle(TFontStyles style);
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    void SetColor(TColor color);
    [[nodiscard]] TFontCharset Charset() const noexcept { return m_charset; }
    void SetCharset(TFontCharset charset);
    [[nodiscard]] TFontPitch Pitch() const noexcept { return m_pitch; }
    void SetPitch(TFontPitch pitch);
    //! Glyphs render one bit per pixel unless this is set.
    [[nodiscard]] bool AntiAliased() const noexcept { return m_antiAliased; }
    void SetAntiAliased(bool value);

    void Assign(const TPersistent* source) override;
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

private:
    std::string m_name { "MS Sans Serif" };
    std::int32_t m_height { -11 };
    TFontStyles m_style;
    TColor m_color { clWindowText };
    TFontCharset m_charset { DEFAULT_CHARSET };
    TFontPitch m_pitch { fpDefault };
    bool m_antiAliased { false };
};

} // namespace plx
