#include "components/ShadowButton.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/host/Published.h"
#include "rtl/Exceptions.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <algorithm>

namespace plx {

namespace {

// The figure of a kind in the box (x, y, w, h), with the canvas's brush and pen.
// The box lies inside the control, so no edge passes the int32 range.
void DrawShape(TCanvas& canvas, TShapeType shape, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h)
{
    const std::int32_t m = std::min(w, h);
    if (shape == stSquare || shape == stRoundSquare || shape == stCircle) {
        x += (w - m) / 2;
        y += (h - m) / 2;
        w = h = m;
    }
    switch (shape) {
    case stRectangle:
    case stSquare:
        canvas.Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas.RoundRect(x, y, x + w, y + h, m / 4, m / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas.Ellipse(x, y, x + w, y + h);
        break;
    }
}

TColor Grey(TColor color) noexcept
{
    return ColorToGrey(ColorToRGB(color));
}

} // namespace

TShadowButton::TShadowButton(TComponent* owner)
    : TCustomControl(owner)
{
    SetBounds(Left(), Top(), 100, 33);
    SetOnMouseDown([this](TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
        MouseDown(sender, button, shift, x, y);
    });
    SetOnMouseMove([this](TObject* sender, TShiftState shift, std::int32_t x, std::int32_t y) {
        MouseMove(sender, shift, x, y);
    });
    SetOnMouseUp([this](TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
        MouseUp(sender, button, shift, x, y);
    });
}

// ---- Properties ---------------------------------------------------------------

void TShadowButton::SetCaption(const std::string& value)
{
    Store(m_caption, value, [this] { Repaint(); });
}

void TShadowButton::SetColor(TColor value)
{
    Store(m_color, value, [this] { Repaint(); });
}

void TShadowButton::SetShadow(bool value)
{
    Store(m_shadow, value, [this] { Repaint(); });
}

void TShadowButton::SetShape(TShapeType value)
{
    Store(m_shape, value, [this] { Repaint(); });
}

void TShadowButton::SetBorder(bool value)
{
    Store(m_border, value, [this] { Repaint(); });
}

void TShadowButton::SetBorderColor(TColor value)
{
    Store(m_borderColor, value, [this] { Repaint(); });
}

void TShadowButton::SetDeepth(TDeepth value)
{
    Store(m_deepth, std::min(value, kMaxDeepth), [this] { Repaint(); });
}

void TShadowButton::CMFontChanged(TMessage& message)
{
    TCustomControl::CMFontChanged(message);
    Repaint();
}

// ---- Mouse --------------------------------------------------------------------

void TShadowButton::MouseDown(TObject*, TMouseButton button, TShiftState, std::int32_t, std::int32_t)
{
    if (button != mbLeft)
        return;
    m_pressed = true;
    Repaint();
}

void TShadowButton::MouseMove(TObject*, TShiftState, std::int32_t, std::int32_t)
{
}

void TShadowButton::MouseUp(TObject*, TMouseButton button, TShiftState, std::int32_t, std::int32_t)
{
    if (button != mbLeft)
        return;
    m_pressed = false;
    Repaint();
}

// ---- Painting -----------------------------------------------------------------

// The shape takes the size less Deepth; a button smaller than its depth has a
// shape of no size, which draws nothing.
void TShadowButton::Paint()
{
    TCanvas& canvas = Canvas();
    const std::int32_t d = m_deepth;
    const std::int32_t w = std::max(Width() - d, 0);
    const std::int32_t h = std::max(Height() - d, 0);
    const std::int32_t at = m_pressed ? d : 0;

    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetColor(clBtnShadow);
    if (m_shadow && !m_pressed)
        DrawShape(canvas, m_shape, d, d, w, h);

    canvas.Pen().SetStyle(m_border ? psSolid : psClear);
    canvas.Brush().SetColor(Enabled() ? m_color : Grey(m_color));
    canvas.Pen().SetColor(Enabled() ? m_borderColor : Grey(m_borderColor));
    DrawShape(canvas, m_shape, at, at, w, h);

    canvas.Brush().SetStyle(bsClear);
    if (m_caption.empty())
        return;
    canvas.Font().Assign(&Font());
    const TSize text = canvas.TextExtent(m_caption);
    // Text wider than any control is placed from 64-bit halves.
    const auto x = static_cast<std::int32_t>((std::int64_t { w } - text.cx) / 2);
    const auto y = static_cast<std::int32_t>((std::int64_t { h } - text.cy) / 2);
    canvas.TextOut(x + at, y + at, m_caption);
}

// ---- Published properties -----------------------------------------------------

const TEnumInfo& TShadowButton::ShapeTypeInfo()
{
    static const TEnumInfo info { "TShapeType",
        { "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle" } };
    return info;
}

const TClassInfo& TShadowButton::StaticClassInfo()
{
    // None of the button's own properties has a default: all are written, the
    // caption even when empty. Deepth is a subrange: a form file's value outside
    // 0..12 is refused.
    static const TClassInfo info = TClassInfoBuilder<TShadowButton>("TShadowButton", &TCustomControl::StaticClassInfo())
        .String("Caption", &TShadowButton::Caption, &TShadowButton::SetCaption)
        .WriteEmpty()
        .Integer("Color", &TShadowButton::Color, &TShadowButton::SetColor, std::nullopt, &ColorIdents(), "TColor")
        .Bool("Shadow", &TShadowButton::Shadow, &TShadowButton::SetShadow)
        .Enum("Shape", ShapeTypeInfo(), &TShadowButton::Shape, &TShadowButton::SetShape)
        .Bool("Border", &TShadowButton::Border, &TShadowButton::SetBorder)
        .Integer("BorderColor", &TShadowButton::BorderColor, &TShadowButton::SetBorderColor, std::nullopt, &ColorIdents(),
            "TColor")
        .Integer(
            "Deepth", [](const TShadowButton& b) -> std::int64_t { return b.Deepth(); },
            [](TShadowButton& b, std::int64_t value) {
                if (value < 0 || value > kMaxDeepth)
                    throw EPropertyError("Deepth " + std::to_string(value) + " is out of range (0..12)");
                b.SetDeepth(static_cast<TDeepth>(value));
            },
            std::nullopt, nullptr, "TDeepth")
        .Apply([](auto& b) {
            PublishInherited(b, { "OnClick", "OnDblClick", "OnMouseMove", "OnMouseDown", "OnMouseUp", "OnEndDrag", "OnDragDrop" });
        })
        .Event("OnDragOVer", "TDragOverEvent", &TControl::OnDragOver, &TControl::SetOnDragOver)
        .Apply([](auto& b) {
            PublishInherited(b, { "OnStartDrag", "Cursor", "Enabled", "Font", "Hint", "ParentShowHint", "ParentFont", "ShowHint",
                                    "PopupMenu" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TShadowButton(owner); })
        .Build();
    return info;
}

const TClassInfo& TShadowButton::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

namespace {

TUnitLifetime g_unit;

} // namespace

void InitializeShadowButton()
{
    if (g_unit.Initialize())
        RegisterClass(TShadowButton::StaticClassInfo());
}

void FinalizeShadowButton()
{
    if (g_unit.Finalize())
        UnregisterClass(TShadowButton::StaticClassInfo());
}

} // namespace plx
