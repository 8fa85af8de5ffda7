// ArtLabel: TArtLabel, a label whose caption is drawn with combinable art
// styles: relief, drop shadow, outline, letters filled with a picture or a
// gradient, on its colour or transparent.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Control.h"
#include "paint/Gradient.h"
#include "rtl/Set.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plx {

class TClassInfo;
struct TEnumInfo;

enum TArtStyleFlag : std::uint8_t {
    as3DSunk, //!< sunken relief in shades of Color
    as3DRaise, //!< raised relief in shades of Color
    asShadow, //!< drop shadow ShadowLength pixels right and down
    asBitmap, //!< letters filled with Bitmap, unscaled
    asOutlined, //!< one-pixel outline in OutlineColor
    asBitmapFit, //!< letters filled with Bitmap stretched to the text
    asGradient, //!< letters filled with Gradient rendered at the label's size
};
using TArtStyle = TSet<TArtStyleFlag>;

//! A label drawn in art styles. The effects are drawn in a fixed order on a
//! buffer of the label's size: the shadow; then one of outline, sunken or raised
//! relief (in that precedence); then one of the gradient, fitted or plain
//! picture fills (in that precedence). The buffer is then copied to the label,
//! or, when Transparent, only the text and its effects are.
//!
//! The font is the label's own (GetFont), "Arial" 24 bold when new; ParentFont
//! does not reach it. The gradient is rendered into a picture of the label's
//! size only when it changed or the label was resized.
class TArtLabel : public TGraphicControl {
public:
    explicit TArtLabel(TComponent* owner);
    ~TArtLabel() override;

    [[nodiscard]] TArtStyle ArtStyle() const noexcept { return m_artStyle; }
    void SetArtStyle(TArtStyle value);
    [[nodiscard]] TAlignment TextAlign() const noexcept { return m_textAlign; }
    void SetTextAlign(TAlignment value);
    //! With AutoSize a paint sizes the label to its caption plus 4 pixels each
    //! way (the height of "Wg" for the height); the new size shows at the next paint.
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    void SetAutosize(bool value);
    [[nodiscard]] bool Transparent() const noexcept { return m_transparent; }
    void SetTransparent(bool value);
    //! The picture of asBitmap and asBitmapFit.
    [[nodiscard]] TBitmap& Bitmap() noexcept { return m_bitmap; }
    [[nodiscard]] const TBitmap& Bitmap() const noexcept { return m_bitmap; }
    void SetBitmap(const TBitmap& value);
    [[nodiscard]] TColor ShadowColor() const noexcept { return m_shadowColor; }
    void SetShadowColor(TColor value);
    [[nodiscard]] TColor OutlineColor() const noexcept { return m_outlineColor; }
    void SetOutlineColor(TColor value);
    [[nodiscard]] std::int32_t ShadowLength() const noexcept { return m_shadowLength; }
    void SetShadowLength(std::int32_t value);
    [[nodiscard]] TGradient& Gradient() noexcept { return m_gradient; }
    [[nodiscard]] const TGradient& Gradient() const noexcept { return m_gradient; }
    void SetGrad(const TGradient& value);
    //! The font the caption is drawn in (the label canvas's font).
    [[nodiscard]] TFont& GetFont();
    void SetFont(const TFont& value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    [[nodiscard]] static const TEnumInfo& ArtStyleInfo();

protected:
    void Paint() override;
    void CMTextChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;

private:
    struct TextPlace;
    [[nodiscard]] TextPlace PlaceText(TCanvas& canvas) const;
    void DrawEffects(TCanvas& canvas, const TextPlace& at);
    void DrawFill(TCanvas& canvas, const TextPlace& at);
    //! The gradient picture at the label's size; null when it cannot be made.
    [[nodiscard]] const TBitmap* GradientPicture(TColor background);
    void PaintThroughMask(TCanvas& target, const TextPlace& at);
    void GradChanged();

    TBitmap m_buffer;
    std::unique_ptr<TBitmap> m_gradientPicture; //!< made at the first gradient fill
    TArtStyle m_artStyle { as3DRaise, asShadow };
    TAlignment m_textAlign { taLeftJustify };
    bool m_autoSize { false };
    bool m_transparent { false };
    TBitmap m_bitmap;
    TColor m_shadowColor { clGray };
    TColor m_outlineColor { clWhite };
    std::int32_t m_shadowLength { 3 };
    TGradient m_gradient;
    bool m_gradientDirty { true };
};

//! Registers TArtLabel for form files; FinalizeArtLabel takes it out again.
void InitializeArtLabel();
void FinalizeArtLabel();

} // namespace plx
