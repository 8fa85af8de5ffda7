// Buttons with pictures: the speed button (a windowless tool button that can
// stay down, alone or in a group) and the bitmap button (a push button with a
// glyph, and kinds with a ready caption, glyph and modal result).
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Control.h"
#include "framework/host/StdCtrls.h"

#include <algorithm>
#include <string>

namespace plx {

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind : std::uint8_t { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

namespace detail {

//! Where a glyph and a caption go in a button's face: along the layout's axis
//! the glyph sits Margin from the edge and the caption Spacing after it; with
//! Margin -1 the pair is centred, with Spacing -1 the room is shared out;
//! across the axis both are centred.
struct TGlyphLayout {
    TPoint glyph; //!< the glyph's top-left corner
    TRect text; //!< the caption's bounds
};
[[nodiscard]] TGlyphLayout LayoutGlyph(TCanvas& canvas, const TRect& client, const std::string& caption, TSize glyphSize,
    TButtonLayout layout, std::int32_t margin, std::int32_t spacing);

//! The arithmetic of LayoutGlyph, which the colour button shares: the glyph's
//! and the caption's offsets from the top-left corner of a client area of
//! clientWidth x clientHeight. In 64 bits, so that margins and spacings may be
//! any int32; callers clamp the sums they store.
struct TGlyphOffsets {
    std::int64_t glyphX { 0 }, glyphY { 0 }, textX { 0 }, textY { 0 };
};
[[nodiscard]] TGlyphOffsets PlaceGlyph(std::int64_t clientWidth, std::int64_t clientHeight, TSize glyphSize, std::int64_t textWidth,
    std::int64_t textHeight, TButtonLayout layout, std::int32_t margin, std::int32_t spacing) noexcept;

//! A glyph picture holding NumGlyphs images side by side (up, disabled, down,
//! and down and latched), drawn with its bottom-left pixel's colour left out.
//! A missing disabled image is made from the up image, embossed.
class TGlyphImages {
public:
    [[nodiscard]] TBitmap& Picture() noexcept { return m_picture; }
    [[nodiscard]] const TBitmap& Picture() const noexcept { return m_picture; }
    [[nodiscard]] std::int32_t NumGlyphs() const noexcept { return m_numGlyphs; }
    //! 1 to 4.
    void SetNumGlyphs(std::int32_t value) noexcept { m_numGlyphs = std::clamp(value, 1, 4); }
    //! The size of one image (zero when there is no picture).
    [[nodiscard]] TSize ImageSize() const noexcept;
    enum class TState : std::uint8_t { Up, Disabled, Down, Exclusive };
    void Draw(TCanvas& canvas, TPoint at, TState state) const;

private:
    TBitmap m_picture;
    std::int32_t m_numGlyphs { 1 };
};

//! The glyph of a speed button or bitmap button and the caption beside it:
//! the images, and the Layout, Margin and Spacing that place them. Each
//! setter repaints the control when the value changes.
class TGlyphFace {
public:
    explicit TGlyphFace(TControl& control) noexcept
        : m_control(control)
    {
    }

    [[nodiscard]] TGlyphImages& Images() noexcept { return m_images; }
    [[nodiscard]] const TGlyphImages& Images() const noexcept { return m_images; }
    //! Repaints whatever the value.
    void SetNumGlyphs(std::int32_t value);
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_layout; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_margin; }
    //! Values below -1 count as -1.
    void SetMargin(std::int32_t value);
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_spacing; }
    //! Values below -1 count as -1.
    void SetSpacing(std::int32_t value);

    //! Lays out the state's image and the control's caption in area, in the
    //! control's font, and draws them (the caption embossed when disabled).
    void Paint(TCanvas& canvas, const TRect& area, TGlyphImages::TState state) const;

private:
    TControl& m_control;
    TGlyphImages m_images;
    TButtonLayout m_layout { blGlyphLeft };
    std::int32_t m_margin { -1 };
    std::int32_t m_spacing { 4 };
};

} // namespace detail

//! A windowless button for tool bars. With a GroupIndex it stays down when
//! clicked, and pressing one button of a group releases the others (a down
//! button comes up again only with AllowAllUp). Flat buttons show their edge
//! only under the pointer.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);

    [[nodiscard]] bool AllowAllUp() const noexcept { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    [[nodiscard]] std::int32_t GroupIndex() const noexcept { return m_groupIndex; }
    void SetGroupIndex(std::int32_t value);
    [[nodiscard]] bool Down() const noexcept { return m_down; }
    //! Without a GroupIndex a button cannot stay down; a down button of a group
    //! without AllowAllUp cannot be set up.
    void SetDown(bool value);
    [[nodiscard]] bool Flat() const noexcept { return m_flat; }
    void SetFlat(bool value);
    [[nodiscard]] TBitmap& Glyph() noexcept { return m_glyph.Images().Picture(); }
    void SetGlyph(const TBitmap& value) { m_glyph.Images().Picture().Assign(&value); }
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_glyph.Layout(); }
    void SetLayout(TButtonLayout value) { m_glyph.SetLayout(value); }
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_glyph.Margin(); }
    void SetMargin(std::int32_t value) { m_glyph.SetMargin(value); }
    [[nodiscard]] std::int32_t NumGlyphs() const noexcept { return m_glyph.Images().NumGlyphs(); }
    void SetNumGlyphs(std::int32_t value) { m_glyph.SetNumGlyphs(value); }
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_glyph.Spacing(); }
    void SetSpacing(std::int32_t value) { m_glyph.SetSpacing(value); }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void WMCancelMode(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMButtonPressed(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;

private:
    //! Tells the other buttons of the group (CM_BUTTONPRESSED).
    void UpdateExclusive();

    bool m_allowAllUp { false };
    std::int32_t m_groupIndex { 0 };
    bool m_down { false };
    bool m_flat { false };
    detail::TGlyphFace m_glyph { *this };
    bool m_dragging { false }; //!< the left button went down on it and is held
    bool m_pressed { false }; //!< shown pressed (held with the pointer over it)
    bool m_mouseInControl { false };
};

//! A push button with a glyph beside its caption. A Kind other than bkCustom
//! gives the button its caption, glyph, modal result, and Default (OK, Yes) or
//! Cancel (Cancel, No); bkClose closes its form.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);

    [[nodiscard]] TBitBtnKind Kind() const noexcept { return m_kind; }
    void SetKind(TBitBtnKind value);
    [[nodiscard]] TBitmap& Glyph() noexcept { return m_glyph.Images().Picture(); }
    //! A glyph of one's own makes the button bkCustom.
    void SetGlyph(const TBitmap& value) { m_glyph.Images().Picture().Assign(&value); }
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_glyph.Layout(); }
    void SetLayout(TButtonLayout value) { m_glyph.SetLayout(value); }
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_glyph.Margin(); }
    void SetMargin(std::int32_t value) { m_glyph.SetMargin(value); }
    [[nodiscard]] std::int32_t NumGlyphs() const noexcept { return m_glyph.Images().NumGlyphs(); }
    void SetNumGlyphs(std::int32_t value) { m_glyph.SetNumGlyphs(value); }
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_glyph.Spacing(); }
    void SetSpacing(std::int32_t value) { m_glyph.SetSpacing(value); }

    void Click() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void PaintContent(TCanvas& canvas, const TRect& content) override;

private:
    [[nodiscard]] bool IsCustom() const noexcept { return m_kind == bkCustom; }
    [[nodiscard]] bool IsCustomCaption() const;

    TBitBtnKind m_kind { bkCustom };
    detail::TGlyphFace m_glyph { *this };
    bool m_settingKind { false };
};

//! Enumeration names of the buttons.
[[nodiscard]] const TEnumInfo& ButtonLayoutInfo();
[[nodiscard]] const TEnumInfo& BitBtnKindInfo();
//! The caption a kind gives ("OK", "Cancel", "&Help", "&Yes", "&No", "&Close",
//! "Abort", "&Retry", "&Ignore", "&All"; empty for bkCustom).
[[nodiscard]] std::string BitBtnCaption(TBitBtnKind kind);

} // namespace plx
