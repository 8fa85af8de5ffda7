// SImageBtn: TSImageBtn, a windowless button that shows a picture with its
// caption centred below it, a drop shadow cut out of the picture's outline, a
// dithered picture when disabled and another picture under the mouse.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Control.h"

#include <cstdint>

namespace plx {

class TClassInfo;

//! The shadow and press offset of the image and shadow buttons, 0..12 pixels
//! right and down.
using TDeepth = std::uint8_t;

//! A button made of a picture and a caption below it, both centred, painted
//! through an off-screen bitmap on clBtnFace. Unless pressed, a shadow (the
//! picture's outline in clBtnFace darkened by ShadowsDarkness) lies Deepth
//! pixels right and down; pressing moves picture and caption onto it. The
//! picture's colour TransparentColor, taken from its top-left pixel whenever
//! it changes, is left out. A disabled button shows the picture dithered with
//! clBtnFace and a grey caption; with ShowMouseFocus it shows FocusedImage
//! while the mouse is over it.
//!
//! The press is driven through the button's own published events: the
//! constructor assigns MouseDown to OnMouseDown and MouseUp to OnMouseUp. An
//! application's handler replaces them, and the press effect with them; a
//! handler that wants both calls MouseDown or MouseUp itself.
class TSImageBtn : public TGraphicControl {
public:
    //! The deepest Deepth.
    static constexpr TDeepth kMaxDeepth = 12;

    //! A 25 x 26 button without a picture, shadowed 2 pixels deep.
    explicit TSImageBtn(TComponent* owner);
    ~TSImageBtn() override;

    //! Whether the picture and the caption cast their shadow.
    [[nodiscard]] bool Shadow() const noexcept { return m_shadow; }
    //! Stores the value and repaints.
    void SetShadow(bool value);
    //! The shadow and press offset.
    [[nodiscard]] TDeepth Deepth() const noexcept { return m_deepth; }
    //! Stores the value, a larger one as kMaxDeepth, and repaints. Form files
    //! holding a value outside 0..12 are refused (EPropertyError).
    void SetDeepth(TDeepth value);
    //! The picture.
    [[nodiscard]] TBitmap& Image() noexcept { return m_image; }
    //! The picture.
    [[nodiscard]] const TBitmap& Image() const noexcept { return m_image; }
    //! Copies value (unless it is the button's own): the picture's change takes
    //! its top-left pixel as TransparentColor, makes the disabled picture and
    //! the shadow again and repaints. Changes made on Image itself do the same.
    void SetImage(const TBitmap& value);
    //! The colour left out of the picture (and of FocusedImage).
    [[nodiscard]] TColor TransparentColor() const noexcept { return m_transparentColor; }
    //! Stores the value and repaints; the shadow keeps the outline it was cut
    //! with until the picture or ShadowsDarkness changes.
    void SetTrans(TColor value);
    //! The gap between the picture and the caption, in pixels.
    [[nodiscard]] std::int32_t Space() const noexcept { return m_space; }
    //! Stores the value and repaints.
    void SetSpace(std::int32_t value);
    //! How much darker than clBtnFace the shadows are (DarkenColor's amount).
    [[nodiscard]] std::int32_t ShadowsDarkness() const noexcept { return m_shadowsDarkness; }
    //! Stores the value, cuts the shadow again and repaints.
    void SetDarkness(std::int32_t value);
    //! Whether FocusedImage shows while the mouse is over the button.
    [[nodiscard]] bool ShowMouseFocus() const noexcept { return m_showMouseFocus; }
    //! Stores the value; it shows at the next mouse entry or leave.
    void SetShowMouseFocus(bool value) noexcept { m_showMouseFocus = value; }
    //! The picture shown under the mouse (none while empty).
    [[nodiscard]] TBitmap& FocusedImage() noexcept { return m_focusedImage; }
    //! The picture shown under the mouse (none while empty).
    [[nodiscard]] const TBitmap& FocusedImage() const noexcept { return m_focusedImage; }
    //! Copies value (unless it is the button's own) and repaints, as any change
    //! made on FocusedImage itself does.
    void SetBriImage(const TBitmap& value);

    //! True between a left button press and its release.
    [[nodiscard]] bool Pressed() const noexcept { return m_pressed; }
    //! True while FocusedImage is shown for the mouse (between an entry and a
    //! leave of an enabled button with ShowMouseFocus and a focused picture).
    [[nodiscard]] bool MouseOver() const noexcept { return m_mouseOver; }
    //! The disabled picture: Image dithered with clBtnFace (empty with Image).
    [[nodiscard]] const TBitmap& GreyImage() const noexcept { return m_greyImage; }
    //! The shadow: white where Image has TransparentColor, clBtnFace darkened by
    //! ShadowsDarkness elsewhere (empty with Image).
    [[nodiscard]] const TBitmap& ShadowImage() const noexcept { return m_shadowImage; }

    //! The press effect, assigned to OnMouseDown: the left button presses the
    //! button and repaints it; other buttons do nothing.
    void MouseDown(TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    //! The release, assigned to OnMouseUp: the left button releases the button
    //! and repaints it; other buttons do nothing.
    void MouseUp(TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties: the button's own (none with a default, so all
    //! are written), the click, mouse and drag events (OnDragOVer so spelled),
    //! Caption, Cursor, Enabled, Font, Hint, the hint and font parents and PopupMenu.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! \cond
    // The control's own mouse methods, which fire the events, stay in reach.
    using TControl::MouseDown;
    using TControl::MouseUp;
    //! \endcond

    //! Draws the button on an off-screen bitmap and copies its visible part.
    void Paint() override;
    //! The picture changed: the new transparent colour, disabled picture and
    //! shadow, then a repaint. An empty picture empties the other two.
    void ImageChanged();
    //! Cuts the shadow out of the picture with TransparentColor.
    void UpdateShadow();
    //! For an enabled button, sends itself a mouse entry when it is the control
    //! under the pointer, a leave otherwise.
    void UpdateTracking();
    //! UpdateTracking, then a repaint.
    void CMEnabledChanged(TMessage& message) override;
    //! Repaints.
    void CMFontChanged(TMessage& message) override;
    //! Repaints.
    void CMTextChanged(TMessage& message) override;
    //! Shows FocusedImage when it applies.
    void CMMouseEnter(TMessage& message) override;
    //! Shows Image again.
    void CMMouseLeave(TMessage& message) override;

private:
    struct Layout;
    [[nodiscard]] Layout Place(TCanvas& canvas) const;
    void DrawPicture(TCanvas& canvas, const Layout& at);
    void DrawCaption(TCanvas& canvas, const Layout& at);

    bool m_shadow { true };
    TDeepth m_deepth { 2 };
    TBitmap m_image;
    TColor m_transparentColor { 0 };
    std::int32_t m_space { 2 };
    std::int32_t m_shadowsDarkness { 40 };
    bool m_showMouseFocus { true };
    TBitmap m_focusedImage;
    bool m_pressed { false };
    TBitmap m_greyImage;
    TBitmap m_shadowImage;
    bool m_mouseOver { false };
    TBitmap m_buffer; //!< the visible part of the face
};

//! Registers TSImageBtn for form files; FinalizeSImageBtn takes it out again.
void InitializeSImageBtn();
//! Unregisters the class InitializeSImageBtn registered.
void FinalizeSImageBtn();

} // namespace plx
