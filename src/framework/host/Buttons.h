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
    [[nodiscard]] TBitmap& Glyph() noexcept { return m_glyph.Picture(); }
    void SetGlyph(const TBitmap& value) { m_glyph.Picture().Assign(&value); }
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_layout; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_margin; }
    void SetMargin(std::int32_t value);
    [[nodiscard]] std::int32_t NumGlyphs() const noexcept { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(std::int32_t value);
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_spacing; }
    void SetSpacing(std::int32_t value);

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
    detail::TGlyphImages m_glyph;
    TButtonLayout m_layout { blGlyphLeft };
    std::int32_t m_margin { -1 };
    std::int32_t m_spacing { 4 };
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
    [[nodiscard]] TBitmap& Glyph() noexcept { return m_glyph.Picture(); }
    //! A glyph of one's own makes the button bkCustom.
    void SetGlyph(const TBitmap& value);
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_layout; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_margin; }
    void SetMargin(std::int32_t value);
    [[nodiscard]] std::int32_t NumGlyphs() const noexcept { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(std::int32_t value);
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_spacing; }
    void SetSpacing(std::int32_t value);

    void Click() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void PaintContent(TCanvas& canvas, const TRect& content) override;

private:
    [[nodiscard]] bool IsCustom() const noexcept { return m_kind == bkCustom; }
    [[nodiscard]] bool IsCustomCaption() const;

    TBitBtnKind m_kind { bkCustom };
    detail::TGlyphImages m_glyph;
    TButtonLayout m_layout { blGlyphLeft };
    std::int32_t m_margin { -1 };
    std::int32_t m_spacing { 4 };
    bool m_settingKind { false };
};

//! Enumeration names of the buttons.
[[nodiscard]] const TEnumInfo& ButtonLayoutInfo();
[[nodiscard]] const TEnumInfo& BitBtnKindInfo();
//! The caption a kind gives ("OK", "Cancel", "&Help", "&Yes", "&No", "&Close",
//! "Abort", "&Retry", "&Ignore", "&All"; empty for bkCustom).
[[nodiscard]] std::string BitBtnCaption(TBitBtnKind kind);

} // namespace plx
