// Apples: TApples of unit KnCtrls, a value shown as a row of repeated pictures,
// one whole picture per whole unit and a cut one for the fraction, like a
// rating of 3.5 shown as three and a half apples.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/KnCtrls.h"

namespace plx {

class TClassInfo;

//! The value indicator. Inside the bevel, 2 pixels from WorkRect's top-left
//! corner and 2 apart, the picture is drawn once per whole unit of Value with
//! TransparentColor left out, then the left part of it for the fraction (its
//! width times the fraction, rounded to nearest with ties to even). A row ends
//! where the next picture would not end left of WorkRect's right side: there
//! the drawing stops, or, with LineWrap, goes on in a row below; it also stops
//! when a row would start at or below WorkRect's bottom, so any value, however
//! large, ends with a full control. Zero, negative and not-a-number values
//! show no picture.
class TApples : public TKnControl {
public:
    //! 80 x 25, Value 0, the package's 16 x 16 "APPLE" picture with its
    //! top-left colour as TransparentColor.
    explicit TApples(TComponent* owner);

    //! The repeated picture.
    [[nodiscard]] TBitmap& Apple() noexcept { return m_apple; }
    //! The repeated picture.
    [[nodiscard]] const TBitmap& Apple() const noexcept { return m_apple; }
    //! Copies value (null empties the picture; the control's own does nothing),
    //! takes the colour of its top-left pixel as TransparentColor (a null or
    //! empty picture keeps the colour there was), and renders again (RepaintAll).
    void SetApple(const TBitmap* value);
    //! Whether a full row goes on in a row below.
    [[nodiscard]] bool LineWrap() const noexcept { return m_lineWrap; }
    //! Stores the choice and renders again.
    void SetLineWrap(bool value);
    //! The colour of Apple that is not drawn.
    [[nodiscard]] TColor TransparentColor() const noexcept { return m_transparentColor; }
    //! Stores the colour and renders again.
    void SetTransparentColor(TColor value);
    //! The value shown. It is laid out at the precision of a 48-bit real (40
    //! significant bits, up to about 1.7e38), as the indicator always has.
    [[nodiscard]] long double Value() const noexcept { return m_value; }
    //! Stores a value that differs (exactly) and renders again; no range check.
    void SetValue(long double value);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    //! The published properties: Apple, LineWrap, TransparentColor, Value,
    //! Background, Bevel, OnMouseEnter, OnMouseLeave and the host's Align,
    //! Enabled, Visible and mouse and drag events.
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! The bevel and the background, then the pictures.
    void PaintBackup() override;

private:
    void DrawFraction(TCanvas& canvas, std::int32_t x, std::int32_t y, long double fraction);

    TBitmap m_apple;
    bool m_lineWrap { false };
    TColor m_transparentColor { clBlack };
    long double m_value { 0 };
};

} // namespace plx
