// ShadowButton: TShadowButton, a windowed button drawn as a flat shape in a
// solid colour, with an optional outline, a drop shadow and a centred caption.
#pragma once

#include "framework/host/WinControl.h"

#include <cstdint>
#include <string>

namespace plx {

class TClassInfo;
struct TEnumInfo;

//! The outline of a shadow button. The square kinds draw the largest square
//! that fits, centred.
enum TShapeType : std::uint8_t {
    stRectangle, //!< the whole area
    stSquare, //!< a centred square
    stRoundRect, //!< the whole area with round corners a quarter of its smaller side across
    stRoundSquare, //!< a centred square with round corners a quarter of its side across
    stEllipse, //!< the ellipse inside the area
    stCircle, //!< the circle inside a centred square
};

//! The shadow and press offset of the image and shadow buttons, 0..12 pixels
//! right and down.
using TDeepth = std::uint8_t;

//! A button drawn as a shape of Color, outlined in BorderColor when Border is
//! on, over its shadow in clBtnShadow Deepth pixels right and down, with Caption
//! centred on it. The shape takes the button's size less Deepth; pressing with
//! the left button moves shape and caption onto the shadow. A disabled button
//! draws in the greys (ColorToGrey) of Color and BorderColor. Around the shape
//! the parent's colour shows.
//!
//! Color and Caption are the button's own, apart from the control's colour and
//! text (which the host uses for the background).
//!
//! The press is driven through the button's own published events: the
//! constructor assigns MouseDown, MouseMove and MouseUp to OnMouseDown,
//! OnMouseMove and OnMouseUp. An application's handler replaces them, and the
//! press effect with them; a handler that wants both calls the method itself.
class TShadowButton : public TCustomControl {
public:
    //! The deepest Deepth.
    static constexpr TDeepth kMaxDeepth = 12;

    //! A 100 x 33 lime round rectangle captioned "Shadow Button", outlined in
    //! black, shadowed 3 pixels deep.
    explicit TShadowButton(TComponent* owner);

    //! The text drawn centred on the shape (the button's own, not the control's text).
    [[nodiscard]] const std::string& Caption() const noexcept { return m_caption; }
    //! Stores the value and repaints.
    void SetCaption(const std::string& value);
    //! The shape's fill (the button's own, not the control's colour).
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    //! Stores the value and repaints.
    void SetColor(TColor value);
    //! Whether the shadow is drawn.
    [[nodiscard]] bool Shadow() const noexcept { return m_shadow; }
    //! Stores the value and repaints.
    void SetShadow(bool value);
    //! The outline kind.
    [[nodiscard]] TShapeType Shape() const noexcept { return m_shape; }
    //! Stores the value and repaints.
    void SetShape(TShapeType value);
    //! Whether the shape is outlined.
    [[nodiscard]] bool Border() const noexcept { return m_border; }
    //! Stores the value and repaints.
    void SetBorder(bool value);
    //! The outline's colour.
    [[nodiscard]] TColor BorderColor() const noexcept { return m_borderColor; }
    //! Stores the value and repaints.
    void SetBorderColor(TColor value);
    //! The shadow and press offset.
    [[nodiscard]] TDeepth Deepth() const noexcept { return m_deepth; }
    //! Stores the value, a larger one as kMaxDeepth, and repaints. Form files
    //! holding a value outside 0..12 are refused (EPropertyError).
    void SetDeepth(TDeepth value);

    //! True between a left button press and its release.
    [[nodiscard]] bool Pressed() const noexcept { return m_pressed; }

    //! The press effect, assigned to OnMouseDown: the left button presses the
    //! button and repaints it; other buttons do nothing.
    void MouseDown(TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    //! Assigned to OnMouseMove; does nothing.
    void MouseMove(TObject* sender, TShiftState shift, std::int32_t x, std::int32_t y);
    //! The release, assigned to OnMouseUp: the left button releases the button
    //! and repaints it; other buttons do nothing.
    void MouseUp(TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties: the button's own (none with a default, so all
    //! are written, the caption even when empty), the click, mouse and drag
    //! events (OnDragOVer so spelled), Cursor, Enabled, Font, Hint, the hint and
    //! font parents and PopupMenu.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of TShapeType's values.
    [[nodiscard]] static const TEnumInfo& ShapeTypeInfo();

protected:
    //! \cond
    // The control's own mouse methods, which fire the events, stay in reach.
    using TControl::MouseDown;
    using TControl::MouseMove;
    using TControl::MouseUp;
    //! \endcond

    //! The shadow, the shape and the caption.
    void Paint() override;
    //! The host's handling, then a repaint.
    void CMFontChanged(TMessage& message) override;

private:
    std::string m_caption { "Shadow Button" };
    TColor m_color { 0x00FF00 };
    bool m_shadow { true };
    TShapeType m_shape { stRoundRect };
    bool m_border { true };
    TColor m_borderColor { 0 };
    TDeepth m_deepth { 3 };
    bool m_pressed { false };
};

//! Registers TShadowButton for form files; FinalizeShadowButton takes it out again.
void InitializeShadowButton();
//! Unregisters the class InitializeShadowButton registered.
void FinalizeShadowButton();

} // namespace plx
