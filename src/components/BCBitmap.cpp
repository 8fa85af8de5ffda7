#include "components/BCBitmap.h"

#include "color/host/Gdi.h"
#include "color/host/SysColors.h"
#include "components/detail/KnCtrlsShared.h"
#include "framework/KnClasses.h"
#include "framework/host/Published.h"
#include "paint/DrawMan.h"
#include "rtl/Store.h"
#include "rtl/System.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <limits>

namespace plx {

namespace {

std::int32_t Clamp32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void Invert(TCanvas& canvas, const TRect& area)
{
    PatBlt(canvas.Handle(), area.Left, area.Top, area.Width(), area.Height(), DSTINVERT);
}

} // namespace

TBCBitmap::TBCBitmap(TComponent* owner)
    : TKnControl(owner)
{
    SetBounds(Left(), Top(), 64, 64);
}

void TBCBitmap::SetPicture(const TBitmap& value)
{
    StoreCopy(m_picture, value, [this] {
        if (m_autoSize)
            FitToPicture();
        RepaintAll();
    });
}

void TBCBitmap::SetAutoSize(bool value)
{
    Store(m_autoSize, value, [this] {
        if (m_autoSize)
            FitToPicture();
        RepaintAll();
    });
}

void TBCBitmap::SetStyle(TDrawStyle value)
{
    Store(m_drawStyle, value, [this] { RepaintAll(); });
}

void TBCBitmap::SetColorOption(TColorOption value)
{
    Store(m_colorOption, value, [this] { RepaintAll(); });
}

void TBCBitmap::FitToPicture()
{
    // A form file holds the fitted size already; fitting again while reading
    // would add the margins of a control not rendered yet (its whole size).
    if (ComponentState().Contains(csLoading))
        return;
    const TRect& w = WorkRect();
    const std::int64_t width = std::int64_t { m_picture.Width() } + w.Left + (std::int64_t { Width() } - w.Right);
    const std::int64_t height = std::int64_t { m_picture.Height() } + w.Top + (std::int64_t { Height() } - w.Bottom);
    SetBounds(Left(), Top(), Clamp32(width), Clamp32(height));
}

TRect TBCBitmap::Destination() const
{
    const TRect& w = WorkRect();
    const std::int64_t pw = m_picture.Width(), ph = m_picture.Height();
    switch (m_drawStyle) {
    case dsNone:
        return Rect(w.Left, w.Top, Clamp32(std::min<std::int64_t>(w.Left + pw, w.Right)),
            Clamp32(std::min<std::int64_t>(w.Top + ph, w.Bottom)));
    case dsClient:
        return w;
    case dsCentered:
        break;
    }
    // Centred on the whole control, not on WorkRect.
    const std::int64_t left = Round(static_cast<double>(Width() - pw) * 0.5);
    const std::int64_t top = Round(static_cast<double>(Height() - ph) * 0.5);
    return Rect(Clamp32(left), Clamp32(top), Clamp32(left + pw), Clamp32(top + ph));
}

// The picture is drawn as a working copy of it would be: a white bitmap of its
// size with the picture drawn in (so a picture whose Transparent is on leaves
// white where its transparent colour is), inverted while pressed. Only what can
// show is made: the control never holds a copy larger than itself.

void TBCBitmap::DrawOpaque(TCanvas& canvas, const TRect& dest, bool inverted)
{
    // Copies scale pixel by pixel, so inverting the result is inverting the copy.
    if (m_picture.Transparent()) {
        canvas.Brush().SetColor(clWhite);
        canvas.FillRect(dest);
        canvas.StretchDraw(dest, m_picture);
    } else {
        canvas.CopyRect(dest, m_picture.Canvas(), Rect(0, 0, m_picture.Width(), m_picture.Height()));
    }
    if (inverted)
        Invert(canvas, Intersect(dest, Rect(0, 0, Width(), Height())));
}

void TBCBitmap::DrawTransparent(TCanvas& canvas, bool inverted)
{
    // Unscaled at (0, 0): the part beyond the control is never seen. The key
    // is the working copy's bottom-left pixel, which may lie in that part.
    TBitmap work;
    if (!SizeBuffer(work, std::min(m_picture.Width(), Width()), std::min(m_picture.Height(), Height())))
        return;
    work.Canvas().Draw(0, 0, m_picture);
    TColor key = m_picture.Image().GetColor(0, m_picture.Height() - 1);
    if (m_picture.Transparent() && key == ColorToRGB(m_picture.TransparentColor()))
        key = clWhite;
    if (inverted) {
        Invert(work.Canvas(), Rect(0, 0, work.Width(), work.Height()));
        key ^= 0xFFFFFF;
    }
    TransparentBlt(canvas, work, 0, 0, key);
}

void TBCBitmap::PaintBackup()
{
    TKnControl::PaintBackup();
    if (m_picture.Empty())
        return;
    TCanvas& canvas = Backup().Canvas();
    const bool inverted = m_invertImageOnMouseDown && m_pressed;
    const TRect dest = Destination();
    switch (m_colorOption) {
    case coNone:
        DrawOpaque(canvas, dest, inverted);
        break;
    case coTransparent:
        DrawTransparent(canvas, inverted);
        break;
    case coSmoothed: {
        // The picture itself, so never inverted.
        const TColor key = m_picture.TransparentColor();
        detail::TTransparencyKeeper keep(m_picture);
        SmoothBlt(canvas, dest.Left, dest.Top, m_picture, key);
        break;
    }
    }
}

void TBCBitmap::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    const TWeakRef alive(this);
    TKnControl::MouseDown(button, shift, x, y);
    if (!alive || !m_invertImageOnMouseDown || button != mbLeft) // OnMouseDown may free the control
        return;
    m_pressed = true;
    RepaintAll();
}

void TBCBitmap::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    const TWeakRef alive(this);
    TKnControl::MouseUp(button, shift, x, y);
    if (!alive || !m_invertImageOnMouseDown || button != mbLeft)
        return;
    m_pressed = false;
    RepaintAll();
}

const TEnumInfo& TBCBitmap::DrawStyleInfo()
{
    static const TEnumInfo info { "TDrawStyle", { "dsNone", "dsClient", "dsCentered" } };
    return info;
}

const TEnumInfo& TBCBitmap::ColorOptionInfo()
{
    static const TEnumInfo info { "TColorOption", { "coNone", "coTransparent", "coSmoothed" } };
    return info;
}

const TClassInfo& TBCBitmap::StaticClassInfo()
{
    // Only AutoSize has a default; the others are always written to form files.
    static const TClassInfo info = TClassInfoBuilder<TBCBitmap>("TBCBitmap", &TKnControl::StaticClassInfo())
        .Object("Picture", "TBitmap", [](TBCBitmap& c) -> TPersistent* { return &c.Picture(); })
        .Enum("DrawStyle", DrawStyleInfo(), &TBCBitmap::DrawStyle, &TBCBitmap::SetStyle)
        .Enum("ColorOption", ColorOptionInfo(), &TBCBitmap::ColorOption, &TBCBitmap::SetColorOption)
        .Bool("InvertImageOnMouseDown", &TBCBitmap::InvertImageOnMouseDown, &TBCBitmap::SetInvertImageOnMouseDown)
        .Bool("AutoSize", &TBCBitmap::AutoSize, &TBCBitmap::SetAutoSize, false)
        .Apply([](auto& b) { PublishKnControl(b); })
        .Apply([](auto& b) {
            PublishInherited(b, { "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                                    "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TBCBitmap(owner); })
        .Build();
    return info;
}

const TClassInfo& TBCBitmap::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
