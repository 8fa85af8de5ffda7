// Backgnd: TBackgndObj, the persistent description of a background (a colour,
// a gradient, a single or a tiled picture), the routine that paints one, and
// TBackground, a control that shows nothing but its background.
#pragma once

#include "framework/KnClasses.h"
#include "color/host/Bitmap.h"
#include "paint/Gradient.h"
#include "rtl/Persistent.h"

#include <cstdint>

namespace plx {

class TClassInfo;
struct TEnumInfo;

//! How a TBackgndObj fills its area.
enum TBackStyle : std::uint8_t {
    bgSingleColor, //!< a plain fill in Color
    bgGradient, //!< Gradient, computed for the area as if it lay at the origin
    bgSingleBitmap, //!< Picture, unscaled, anchored at the canvas origin
    bgTileBitmap, //!< Picture tiled, the tiles aligned to the canvas origin
};

//! What a background looks like. A new one is plain black. Every change fires
//! OnChange, the owner's cue to render again; changes made straight on
//! Picture's pixels do not (use SetPicture).
class TBackgndObj : public TDescription {
public:
    TBackgndObj();

    //! The gradient of bgGradient; any change to it calls Changed.
    [[nodiscard]] TGradient& Gradient() noexcept { return m_gradient; }
    //! Gradient of a constant description.
    [[nodiscard]] const TGradient& Gradient() const noexcept { return m_gradient; }
    //! Copies value (unless it is this description's own), then Changed: the
    //! gradient's own notification comes first, so OnChange fires twice.
    void SetGradient(const TGradient& value);
    //! The picture of bgSingleBitmap and bgTileBitmap.
    [[nodiscard]] TBitmap& Picture() noexcept { return m_picture; }
    //! Picture of a constant description.
    [[nodiscard]] const TBitmap& Picture() const noexcept { return m_picture; }
    //! Copies value (unless it is this description's own), then Changed.
    void SetPicture(const TBitmap& value);
    //! Which fill is painted (default bgSingleColor).
    [[nodiscard]] TBackStyle BackStyle() const noexcept { return m_backStyle; }
    //! Sets BackStyle; a change calls Changed.
    void SetStyle(TBackStyle value);
    //! The colour of bgSingleColor (default clBlack).
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    //! Sets Color; a change calls Changed.
    void SetColor(TColor value);

    //! Copies picture, gradient, style and colour from another TBackgndObj (not
    //! OnChange), then calls Changed; the gradient's copy notifies on its own
    //! first. Any other source raises EConvertError and changes nothing.
    void Assign(const TPersistent* source) override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: Gradient, Picture, BackStyle,
    //! Color, OnChange. None has a default: all are written.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    //! The names of the TBackStyle values, as form files store them.
    [[nodiscard]] static const TEnumInfo& BackStyleInfo();

private:
    TBitmap m_picture;
    TColor m_color { clBlack };
    TBackStyle m_backStyle { bgSingleColor };
    TGradient m_gradient;
};

//! Paints the background into rect of the canvas. A gradient looks the same
//! wherever rect lies; pictures are anchored at the canvas origin, so areas
//! painted separately join. Only what the picture covers is painted in the
//! picture styles: the rest of rect (all of it for an empty picture) keeps what
//! was there. Only the visible part of rect is computed.
void PaintBackObj(TCanvas& canvas, const TRect& rect, TBackgndObj& backObj);

//! A control that shows its background description, 144 x 144 when new.
class TBackground : public TKnGraphicControl {
public:
    //! A 144 x 144 control showing a new (plain black) background.
    explicit TBackground(TComponent* owner);

    //! The background shown. Any change to it renders (or marks the buffer stale
    //! while loading) and calls Invalidate.
    [[nodiscard]] TBackgndObj& BackObj() noexcept { return m_backObj; }
    //! BackObj of a constant control.
    [[nodiscard]] const TBackgndObj& BackObj() const noexcept { return m_backObj; }
    //! Copies value (unless it is the control's own), renders and invalidates.
    void SetBackObj(const TBackgndObj& value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties in form-file order: BackObj, then the inherited
    //! Align, Visible, DragCursor, DragMode, Enabled, PopupMenu, ShowHint and the
    //! click, mouse and drag events.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void PaintBackup() override;

private:
    void BackObjChanged();

    TBackgndObj m_backObj;
};

//! Registers TBackground for form files; FinalizeBackgnd takes it out again.
void InitializeBackgnd();
//! Unregisters TBackground when the last InitializeBackgnd is balanced.
void FinalizeBackgnd();

} // namespace plx
