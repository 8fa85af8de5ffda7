#include "framework/KnCtrls.h"

#include "color/ColorMan.h"
#include "rtl/Exceptions.h"
#include "rtl/Store.h"

#include <algorithm>
#include <limits>
#include <string>

namespace plx {

// ---- TKnBevel -----------------------------------------------------------------

void TKnBevel::SetBevelType(TBevelType value)
{
    Store(m_bevelType, value, [this] { Changed(); });
}

void TKnBevel::SetSize(TBevelSize value)
{
    Store(m_size, value, [this] { Changed(); });
}

void TKnBevel::SetColor(TColor value)
{
    Store(m_color, value, [this] { Changed(); });
}

void TKnBevel::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TKnBevel*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetColor(other->m_color);
    SetSize(other->m_size);
    SetBevelType(other->m_bevelType);
}

const TEnumInfo& TKnBevel::BevelTypeInfo()
{
    static const TEnumInfo info { "TBevelType", { "btNone", "btWindows95", "btFlat3D", "btIE4Interactive", "bt2DRect" } };
    return info;
}

const TClassInfo& TKnBevel::StaticClassInfo()
{
    // None has a default: every property is written to form files. Size is a
    // subrange, so a form file's value outside 0..5 is refused.
    static const TClassInfo info = TClassInfoBuilder<TKnBevel>("TKnBevel", &TPersistent::StaticClassInfo())
        .Enum("BevelType", BevelTypeInfo(), &TKnBevel::BevelType, &TKnBevel::SetBevelType)
        .Integer(
            "Size", [](const TKnBevel& b) -> std::int32_t { return b.Size(); },
            [](TKnBevel& b, std::int32_t value) {
                if (value < 0 || value > kMaxBevelSize)
                    throw EPropertyError("Bevel size " + std::to_string(value) + " is out of range (0..5)");
                b.SetSize(static_cast<TBevelSize>(value));
            },
            std::nullopt, nullptr, "TBevelSize")
        .Integer("Color", &TKnBevel::Color, &TKnBevel::SetColor, std::nullopt, &ColorIdents(), "TColor")
        .Event("OnChange", "TNotifyEvent", &TKnBevel::OnChange, &TKnBevel::SetOnChange)
        .Build();
    return info;
}

const TClassInfo& TKnBevel::ClassType() const
{
    return StaticClassInfo();
}

// ---- PaintBevel ---------------------------------------------------------------

namespace {

// Coordinates near the ends of the int32 range stay in it.
std::int32_t Offset(std::int32_t value, std::int32_t delta) noexcept
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t { value } + delta,
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Each side moves inwards by inset, but no further than the opposite side.
void Shrink(TRect& rect, std::int32_t inset) noexcept
{
    rect.Left = Offset(rect.Left, inset);
    rect.Top = Offset(rect.Top, inset);
    rect.Right = std::max(Offset(rect.Right, -inset), rect.Left);
    rect.Bottom = std::max(Offset(rect.Bottom, -inset), rect.Top);
}

void Edge(TCanvas& canvas, TColor color, TPoint a, TPoint b, TPoint c)
{
    canvas.Pen().SetColor(color);
    canvas.Polyline({ a, b, c });
}

// Top and left edges in one colour, then bottom and right in the other, on the
// rectangle's own edges: the parts at x = R and y = B lie outside it.
void Relief(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight)
{
    Edge(canvas, topLeft, Point(r.Right, r.Top), Point(r.Left, r.Top), Point(r.Left, r.Bottom));
    Edge(canvas, bottomRight, Point(r.Left, r.Bottom), Point(r.Right, r.Bottom), Point(r.Right, r.Top));
}

} // namespace

void PaintBevel(TCanvas& canvas, TRect& rect, const TKnBevel& bevel, bool focused)
{
    const TColor color = bevel.Color();
    const TColor dark50 = DarkenColor(color, 50);
    const TColor dark120 = DarkenColor(color, 120);
    const TColor light64 = BrightenColor(color, 64);
    const TRect& r = rect;
    switch (bevel.BevelType()) {
    case btNone:
        return;
    case btWindows95: {
        const std::int32_t l1 = Offset(r.Left, 1), t1 = Offset(r.Top, 1);
        const std::int32_t r1 = Offset(r.Right, -1), b1 = Offset(r.Bottom, -1);
        Edge(canvas, dark50, Point(r.Right, r.Top), Point(r.Left, r.Top), Point(r.Left, r.Bottom));
        Edge(canvas, dark120, Point(r1, t1), Point(l1, t1), Point(l1, b1));
        Edge(canvas, color, Point(l1, b1), Point(r1, b1), Point(r1, t1));
        Edge(canvas, light64, Point(r.Left, r.Bottom), Point(r.Right, r.Bottom), Point(r.Right, r.Top));
        Shrink(rect, 2);
        return;
    }
    case btFlat3D:
        Relief(canvas, r, dark50, light64);
        Shrink(rect, 1);
        return;
    case btIE4Interactive:
        if (focused)
            Relief(canvas, r, dark50, light64);
        Shrink(rect, 1);
        return;
    case bt2DRect:
        canvas.Pen().SetColor(color);
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        Shrink(rect, 1);
        return;
    }
}

// ---- TKnControl ---------------------------------------------------------------

TKnControl::TKnControl(TComponent* owner)
    : TKnGraphicControl(owner)
{
    // The control's own bevel values are set before its handlers are hooked,
    // so construction fires nothing.
    m_bevel.SetSize(2);
    m_bevel.SetBevelType(btWindows95);
    m_bevel.SetColor(clBtnFace);
    m_background.SetOnChange([this](TObject*) { RepaintAll(); });
    m_bevel.SetOnChange([this](TObject*) { RepaintAll(); });
}

void TKnControl::SetBackground(const TBackgndObj& value)
{
    StoreCopy(m_background, value, [this] { RepaintAll(); });
}

void TKnControl::SetBevel(const TKnBevel& value)
{
    StoreCopy(m_bevel, value, [this] { RepaintAll(); });
}

void TKnControl::SetFocused(bool value)
{
    Store(m_focused, value, [this] { RepaintAll(); });
}

void TKnControl::MouseEnter()
{
    m_mouseInControl = true;
    if (m_onMouseEnter)
        m_onMouseEnter(this);
}

void TKnControl::MouseLeave()
{
    m_mouseInControl = false;
    if (m_onMouseLeave)
        m_onMouseLeave(this);
}

void TKnControl::PaintBackup()
{
    TKnGraphicControl::PaintBackup();
    TCanvas& canvas = Backup().Canvas();
    // A bevel on the buffer's full bounds leaves a stripe inside its right and
    // bottom edges that neither it nor the background covers. Each render starts
    // from the face of a new buffer, so nothing of the last one stays there.
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(ClientRect());
    m_workRect = ClientRect();
    PaintBevel(canvas, m_workRect, m_bevel, m_focused);
    PaintBackObj(canvas, m_workRect, m_background);
}

void TKnControl::CMMouseEnter(TMessage& message)
{
    TKnGraphicControl::CMMouseEnter(message);
    MouseEnter();
}

void TKnControl::CMMouseLeave(TMessage& message)
{
    TKnGraphicControl::CMMouseLeave(message);
    MouseLeave();
}

const TClassInfo& TKnControl::StaticClassInfo()
{
    // Publishes nothing itself: descendants place PublishKnControl in their list.
    static const TClassInfo info = TClassInfoBuilder<TKnControl>("TKnControl", &TKnGraphicControl::StaticClassInfo())
        .Build();
    return info;
}

const TClassInfo& TKnControl::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
