#include "components/ClrPanel.h"

#include "color/ColorMan.h"
#include "color/host/DrawText.h"
#include "framework/host/Forms.h"
#include "framework/host/Published.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plx {

bool OwnerColor(const TComponent* owner, TColor& color) noexcept
{
    if (const auto* form = dynamic_cast<const TCustomForm*>(owner)) {
        color = form->Color();
        return true;
    }
    if (const auto* panel = dynamic_cast<const TColorPanel*>(owner)) {
        color = panel->Color();
        return true;
    }
    return false;
}

namespace {

std::int32_t Clamp32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void AdoptOwnerColor(TControl& control)
{
    TColor color = 0;
    if (OwnerColor(control.Owner(), color))
        control.SetColor(color);
}

// One axis of a rectangle shrunk by depth on both ends; when the ends would
// cross they meet at the middle instead.
void ShrinkAxis(std::int32_t& low, std::int32_t& high, std::int32_t depth) noexcept
{
    const std::int64_t newLow = std::int64_t { low } + depth;
    const std::int64_t newHigh = std::int64_t { high } - depth;
    if (newLow <= newHigh) {
        low = static_cast<std::int32_t>(newLow);
        high = static_cast<std::int32_t>(newHigh);
    } else {
        low = high = static_cast<std::int32_t>((std::int64_t { low } + high) / 2);
    }
}

// Frame3D, limited to the layers that have room: once the rectangle is used
// up, further layers would draw it inside out, and a frame millions of pixels
// deep would take as many steps. The layers drawn cover all of the rectangle,
// which is left empty, never inverted.
void FrameIn(TCanvas& canvas, TRect& rect, TColor top, TColor bottom, std::int32_t depth)
{
    if (depth <= 0)
        return;
    const std::int64_t room
        = std::min(std::int64_t { rect.Right } - rect.Left, std::int64_t { rect.Bottom } - rect.Top);
    const auto layers = static_cast<std::int32_t>(std::clamp<std::int64_t>((room + 1) / 2, 0, depth));
    const TRect start = rect;
    if (layers > 0)
        Frame3D(canvas, rect, top, bottom, layers);
    rect = start;
    ShrinkAxis(rect.Left, rect.Right, depth);
    ShrinkAxis(rect.Top, rect.Bottom, depth);
}

// The edges of a panel bevel: dark top-left only when lowered.
void PanelEdges(TPanelBevel bevel, TColor color, TColor& top, TColor& bottom) noexcept
{
    const std::int32_t amount = bevel == bvLowered ? -64 : 64;
    top = BrightenColor(color, amount);
    bottom = DarkenColor(color, amount);
}

} // namespace

// ---- TClrBevel ----------------------------------------------------------------

TClrBevel::TClrBevel(TComponent* owner)
    : TBevel(owner)
{
    AdoptOwnerColor(*this);
}

void TClrBevel::Paint()
{
    const TColor light = BrightenColor(Color(), 48);
    const TColor dark = DarkenColor(Color(), 48);
    if (Style() == bsLowered)
        PaintShape(dark, light);
    else
        PaintShape(light, dark);
}

const TClassInfo& TClrBevel::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TClrBevel>("TClrBevel", &TBevel::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align", "ParentShowHint" }); })
        .Enum("Shape", BevelShapeInfo(), &TBevel::Shape, &TBevel::SetShape, bsBox)
        .Apply([](auto& b) { PublishInherited(b, { "ShowHint" }); })
        .Enum("Style", BevelStyleInfo(), &TBevel::Style, &TBevel::SetStyle, bsLowered)
        .Apply([](auto& b) { PublishInherited(b, { "Visible", "Color" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TClrBevel(owner); })
        .Build();
    return info;
}

const TClassInfo& TClrBevel::ClassType() const
{
    return StaticClassInfo();
}

// ---- TCustomColorPanel --------------------------------------------------------

TCustomColorPanel::TCustomColorPanel(TComponent* owner)
    : TCustomPanel(owner)
{
    AdoptOwnerColor(*this);
    SetCaption("");
}

void TCustomColorPanel::PaintPanel(TRect& rect)
{
    TCanvas& canvas = Canvas();
    TColor top = 0, bottom = 0;
    if (BevelOuter() != bvNone) {
        PanelEdges(BevelOuter(), Color(), top, bottom);
        FrameIn(canvas, rect, top, bottom, BevelWidth());
    }
    FrameIn(canvas, rect, Color(), Color(), BorderWidth());
    if (BevelInner() != bvNone) {
        PanelEdges(BevelInner(), Color(), top, bottom);
        FrameIn(canvas, rect, top, bottom, BevelWidth());
    }
}

void TCustomColorPanel::Paint()
{
    TCanvas& canvas = Canvas();
    m_panelRect = ClientRect();
    // A single border is the window's own frame, outside the panel's frames
    // (the host's panel draws it the same way).
    if (BorderStyle() == bsSingle)
        FrameIn(canvas, m_panelRect, clWindowFrame, clWindowFrame, 1);
    PaintPanel(m_panelRect);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(m_panelRect);
    canvas.Brush().SetStyle(bsClear);
    PaintText(m_panelRect);
}

void TCustomColorPanel::AlignControls(TControl* control, TRect& rect)
{
    // The frames' depths are summed in 64 bits: each may be as large as an int32.
    std::int64_t inset = std::int64_t { BorderWidth() } + (BorderStyle() == bsSingle ? 1 : 0);
    if (BevelOuter() != bvNone)
        inset += BevelWidth();
    if (BevelInner() != bvNone)
        inset += BevelWidth();
    const auto depth = static_cast<std::int32_t>(std::min<std::int64_t>(inset, std::numeric_limits<std::int32_t>::max()));
    ShrinkAxis(rect.Left, rect.Right, depth);
    ShrinkAxis(rect.Top, rect.Bottom, depth);
    TCustomControl::AlignControls(control, rect);
}

// The caption is one text line high, centred on the middle line of rect even
// when it is taller than rect.
void TCustomColorPanel::PaintText(const TRect& rect)
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    const std::int64_t height = canvas.TextHeight("W");
    const std::int64_t top = (std::int64_t { rect.Top } + rect.Bottom - height) / 2;
    TRect textRect = rect;
    textRect.Top = Clamp32(top);
    textRect.Bottom = Clamp32(top + height);
    const std::uint32_t align = Alignment() == taLeftJustify ? DT_LEFT
        : Alignment() == taRightJustify                      ? DT_RIGHT
                                                             : DT_CENTER;
    DrawText(canvas, Caption(), textRect, DT_EXPANDTABS | DT_VCENTER | align);
}

// ---- TColorPanel --------------------------------------------------------------

TColorPanel::TColorPanel(TComponent* owner)
    : TCustomColorPanel(owner)
{
}

const TClassInfo& TColorPanel::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TColorPanel>("TColorPanel", &TCustomControl::StaticClassInfo())
        .Apply([](auto& b) { PublishPanel(b); })
        .Creator([](TComponent* owner) -> TComponent* { return new TColorPanel(owner); })
        .Build();
    return info;
}

const TClassInfo& TColorPanel::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

namespace {

TUnitLifetime g_unit;

} // namespace

void InitializeClrPanel()
{
    if (g_unit.Initialize()) {
        RegisterClass(TClrBevel::StaticClassInfo());
        RegisterClass(TColorPanel::StaticClassInfo());
    }
}

void FinalizeClrPanel()
{
    if (g_unit.Finalize()) {
        UnregisterClass(TColorPanel::StaticClassInfo());
        UnregisterClass(TClrBevel::StaticClassInfo());
    }
}

} // namespace plx
