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

//! One effect of a TArtLabel; TArtStyle combines them.
enum TArtStyleFlag : std::uint8_t {
    as3DSunk, //!< sunken relief in shades of Color
    as3DRaise, //!< raised relief in shades of Color
    asShadow, //!< drop shadow ShadowLength pixels right and down
    asBitmap, //!< letters filled with Bitmap, unscaled
    asOutlined, //!< one-pixel outline in OutlineColor
    asBitmapFit, //!< letters filled with Bitmap stretched to the text
    asGradient, //!< letters filled with Gradient rendered at the label's size
};
//! The effects a TArtLabel draws.
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
    //! A label 64 x 25 captioned "Art Label" on clBtnFace, raised with a shadow; its
    //! gradient runs from silver through grey and black to white in 2-pixel bands.
    explicit TArtLabel(TComponent* owner);
    ~TArtLabel() override;

    //! The effects drawn (default as3DRaise and asShadow).
    [[nodiscard]] TArtStyle ArtStyle() const noexcept { return m_artStyle; }
    //! Sets ArtStyle; a change calls Repaint.
    void SetArtStyle(TArtStyle value);
    //! Where the caption sits across the label (default taLeftJustify), 2 pixels in
    //! from the side unless taCenter; it is centred vertically, at least 2 pixels
    //! down unless taCenter.
    [[nodiscard]] TAlignment TextAlign() const noexcept { return m_textAlign; }
    //! Sets TextAlign; a change calls Repaint.
    void SetTextAlign(TAlignment value);
    //! With AutoSize a paint sizes the label to its caption plus 4 pixels each
    //! way (the height of "Wg" for the height); the new size shows at the next paint.
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    //! Sets AutoSize; a change calls Repaint.
    void SetAutosize(bool value);
    //! Whether only the text and its effects reach the label (default false).
    [[nodiscard]] bool Transparent() const noexcept { return m_transparent; }
    //! Sets Transparent; a change calls Repaint.
    void SetTransparent(bool value);
    //! The picture of asBitmap and asBitmapFit.
    [[nodiscard]] TBitmap& Bitmap() noexcept { return m_bitmap; }
    //! Bitmap of a constant label.
    [[nodiscard]] const TBitmap& Bitmap() const noexcept { return m_bitmap; }
    //! Copies value (unless it is the label's own); repaints when ArtStyle has
    //! asBitmap or asBitmapFit. Changes made straight on Bitmap's pixels do not.
    void SetBitmap(const TBitmap& value);
    //! The colour of the asShadow shadow (default clGray).
    [[nodiscard]] TColor ShadowColor() const noexcept { return m_shadowColor; }
    //! Sets ShadowColor; a change calls Repaint when ArtStyle has asShadow.
    void SetShadowColor(TColor value);
    //! The colour of the asOutlined outline (default clWhite).
    [[nodiscard]] TColor OutlineColor() const noexcept { return m_outlineColor; }
    //! Sets OutlineColor; a change calls Repaint when ArtStyle has asOutlined.
    void SetOutlineColor(TColor value);
    //! The shadow's offset right and down in pixels (default 3; negative goes left
    //! and up). Stored as given; the drawing clamps it to 2^24 either way.
    [[nodiscard]] std::int32_t ShadowLength() const noexcept { return m_shadowLength; }
    //! Sets ShadowLength; a change calls Repaint when ArtStyle has asShadow.
    void SetShadowLength(std::int32_t value);
    //! The asGradient fill. Any change to it marks the gradient picture stale and
    //! calls Repaint when ArtStyle has asGradient.
    [[nodiscard]] TGradient& Gradient() noexcept { return m_gradient; }
    //! Gradient of a constant label.
    [[nodiscard]] const TGradient& Gradient() const noexcept { return m_gradient; }
    //! Copies value (unless it is the label's own); the gradient's change
    //! notification then does what a change to Gradient does.
    void SetGrad(const TGradient& value);
    //! The font the caption is drawn in (the label canvas's font).
    [[nodiscard]] TFont& GetFont();
    //! Copies value into GetFont (unless it is that font); the font's change marks
    //! the gradient picture stale and calls Repaint.
    void SetFont(const TFont& value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: ArtStyle, Caption, Font,
    //! Transparent, Color, Bitmap, ShadowColor, OutlineColor, AutoSize, ShadowLength,
    //! Gradient, TextAlign, then the inherited Align, ParentFont, ParentShowHint,
    //! ShowHint, Visible and the click, mouse and drag events. The label's own have
    //! no default: all are written, the caption even when empty.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of the TArtStyleFlag values, as form files store them.
    [[nodiscard]] static const TEnumInfo& ArtStyleInfo();

protected:
    void Paint() override;
    //! A new caption calls Repaint.
    void CMTextChanged(TMessage& message) override;
    //! A new Color calls Repaint.
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
//! Unregisters TArtLabel when the last InitializeArtLabel is balanced.
void FinalizeArtLabel();

} // namespace plx
