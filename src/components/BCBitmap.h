// BCBitmap: TBCBitmap of unit KnCtrls, a picture inside the bevel and
// background of TKnControl: placed top-left, stretched or centred, drawn
// opaque, transparent or with softened edges, optionally inverted while pressed.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/KnCtrls.h"

#include <cstdint>
#include <memory>

namespace plx {

class TClassInfo;
struct TEnumInfo;

//! Where a TBCBitmap places its picture.
enum TDrawStyle : std::uint8_t {
    dsNone, //!< at WorkRect's top-left corner, squeezed into WorkRect when larger
    dsClient, //!< stretched over WorkRect
    dsCentered, //!< centred on the whole control (not on WorkRect), unscaled
};

//! How a TBCBitmap draws its picture.
enum TColorOption : std::uint8_t {
    coNone, //!< opaque, scaled to the place DrawStyle gives
    coTransparent, //!< without its bottom-left colour, unscaled, at the control's top-left corner whatever DrawStyle says
    coSmoothed, //!< without its transparent colour, edges softened (SmoothBlt), unscaled at DrawStyle's corner, never inverted
};

//! A picture control. It can size itself to the picture plus the bevel's
//! margins (AutoSize) and show the picture with its colours inverted while the
//! left button is held on it (InvertImageOnMouseDown).
class TBCBitmap : public TKnControl {
public:
    //! 64 x 64, an empty picture, dsNone, coNone.
    explicit TBCBitmap(TComponent* owner);

    //! The picture.
    [[nodiscard]] TBitmap& Picture() noexcept { return m_picture; }
    //! The picture.
    [[nodiscard]] const TBitmap& Picture() const noexcept { return m_picture; }
    //! Copies value (unless it is the control's own), fits the control to it
    //! when AutoSize, and renders again (RepaintAll).
    void SetPicture(const TBitmap& value);
    //! Whether the control takes the picture's size plus the margins the bevel
    //! took at the last render. Before the first render there are none known,
    //! so fitting then adds the control's current size instead.
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    //! Stores the choice, fits the control to the picture when it is now true
    //! (not while the control is being read from a form file, which holds the
    //! fitted size already), and renders again.
    void SetAutoSize(bool value);
    //! The placement.
    [[nodiscard]] TDrawStyle DrawStyle() const noexcept { return m_drawStyle; }
    //! Stores the placement and renders again.
    void SetStyle(TDrawStyle value);
    //! The drawing mode.
    [[nodiscard]] TColorOption ColorOption() const noexcept { return m_colorOption; }
    //! Stores the mode and renders again.
    void SetColorOption(TColorOption value);
    //! Whether a left press shows the picture inverted until the release.
    [[nodiscard]] bool InvertImageOnMouseDown() const noexcept { return m_invertImageOnMouseDown; }
    //! Stores the choice; nothing is rendered.
    void SetInvertImageOnMouseDown(bool value) noexcept { m_invertImageOnMouseDown = value; }
    //! True from a left press to the left release, tracked only while
    //! InvertImageOnMouseDown is set.
    [[nodiscard]] bool Pressed() const noexcept { return m_pressed; }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties: Picture, DrawStyle, ColorOption,
    //! InvertImageOnMouseDown, AutoSize, Background, Bevel, OnMouseEnter,
    //! OnMouseLeave and the host's mouse and drag events.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of TDrawStyle for form files.
    [[nodiscard]] static const TEnumInfo& DrawStyleInfo();
    //! The names of TColorOption for form files.
    [[nodiscard]] static const TEnumInfo& ColorOptionInfo();

protected:
    //! The bevel and the background, then the picture.
    void PaintBackup() override;
    //! OnMouseDown; then a left press with InvertImageOnMouseDown sets Pressed and renders again.
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    //! OnMouseUp; then a left release with InvertImageOnMouseDown clears Pressed and renders again.
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;

private:
    void FitToPicture();
    [[nodiscard]] TRect Destination() const;
    void DrawOpaque(TCanvas& canvas, const TRect& dest, bool inverted);
    void DrawTransparent(TCanvas& canvas, bool inverted);

    bool m_autoSize { false };
    TBitmap m_picture;
    TDrawStyle m_drawStyle { dsNone };
    TColorOption m_colorOption { coNone };
    bool m_invertImageOnMouseDown { false };
    bool m_pressed { false };
};

} // namespace plx
