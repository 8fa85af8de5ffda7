#include "framework/Backgnd.h"

#include "framework/host/Published.h"
#include "paint/DrawMan.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <algorithm>
#include <limits>

namespace plx {

// ---- TBackgndObj --------------------------------------------------------------

TBackgndObj::TBackgndObj()
{
    m_gradient.SetOnChange([this](TObject*) { Changed(); });
}

void TBackgndObj::SetGradient(const TGradient& value)
{
    StoreCopy(m_gradient, value, [this] { Changed(); });
}

void TBackgndObj::SetPicture(const TBitmap& value)
{
    StoreCopy(m_picture, value, [this] { Changed(); });
}

void TBackgndObj::SetStyle(TBackStyle value)
{
    Store(m_backStyle, value, [this] { Changed(); });
}

void TBackgndObj::SetColor(TColor value)
{
    Store(m_color, value, [this] { Changed(); });
}

void TBackgndObj::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TBackgndObj*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    m_picture.Assign(&other->m_picture);
    m_gradient.Assign(&other->m_gradient);
    m_backStyle = other->m_backStyle;
    m_color = other->m_color;
    Changed();
}

const TEnumInfo& TBackgndObj::BackStyleInfo()
{
    static const TEnumInfo info { "TBackStyle", { "bgSingleColor", "bgGradient", "bgSingleBitmap", "bgTileBitmap" } };
    return info;
}

const TClassInfo& TBackgndObj::StaticClassInfo()
{
    // None has a default: every property is written to form files.
    static const TClassInfo info = TClassInfoBuilder<TBackgndObj>("TBackgndObj", &TPersistent::StaticClassInfo())
        .Object("Gradient", "TGradient", [](TBackgndObj& o) -> TPersistent* { return &o.Gradient(); })
        .Object("Picture", "TBitmap", [](TBackgndObj& o) -> TPersistent* { return &o.Picture(); })
        .Enum("BackStyle", BackStyleInfo(), &TBackgndObj::BackStyle, &TBackgndObj::SetStyle)
        .Integer("Color", &TBackgndObj::Color, &TBackgndObj::SetColor, std::nullopt, &ColorIdents(), "TColor")
        .Event("OnChange", "TNotifyEvent", &TBackgndObj::OnChange, &TBackgndObj::SetOnChange)
        .Build();
    return info;
}

const TClassInfo& TBackgndObj::ClassType() const
{
    return StaticClassInfo();
}

// ---- PaintBackObj -------------------------------------------------------------

namespace {

std::int32_t Clamp32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The gradient is computed for an area at the origin of rect's size, and only
// its visible part is made: a canvas whose (0, 0) lies at rect's top-left
// corner draws into a bitmap that covers the visible part alone.
void PaintGradientBack(TCanvas& canvas, const TRect& rect, const TGradient& gradient)
{
    const TRect visible = Intersect(rect, canvas.ClipRect());
    if (visible.IsEmpty())
        return;
    TBitmap part;
    if (!SizeBuffer(part, visible.Width(), visible.Height()))
        return;
    TCanvas shifted;
    shifted.SetSurface(&part.Image(),
        Point(Clamp32(std::int64_t { rect.Left } - visible.Left), Clamp32(std::int64_t { rect.Top } - visible.Top)),
        Rect(0, 0, visible.Width(), visible.Height()));
    PaintGradient(shifted,
        Rect(0, 0, Clamp32(std::int64_t { rect.Right } - rect.Left), Clamp32(std::int64_t { rect.Bottom } - rect.Top)),
        gradient);
    canvas.Draw(visible.Left, visible.Top, part);
}

// The picture's own coordinates are the canvas's: only where they overlap rect
// is anything copied.
void PaintSingleBitmap(TCanvas& canvas, const TRect& rect, TBitmap& picture)
{
    const TRect part = Intersect(rect, Rect(0, 0, picture.Width(), picture.Height()));
    if (!part.IsEmpty())
        canvas.CopyRect(part, picture.Canvas(), part);
}

} // namespace

void PaintBackObj(TCanvas& canvas, const TRect& rect, TBackgndObj& backObj)
{
    switch (backObj.BackStyle()) {
    case bgSingleColor:
        canvas.Brush().SetColor(backObj.Color());
        canvas.FillRect(rect);
        break;
    case bgGradient:
        PaintGradientBack(canvas, rect, backObj.Gradient());
        break;
    case bgSingleBitmap:
        PaintSingleBitmap(canvas, rect, backObj.Picture());
        break;
    case bgTileBitmap:
        MultiClipPaint(canvas, backObj.Picture(), rect, rect);
        break;
    }
}

// ---- TBackground --------------------------------------------------------------

TBackground::TBackground(TComponent* owner)
    : TKnGraphicControl(owner)
{
    SetBounds(Left(), Top(), 144, 144);
    m_backObj.SetOnChange([this](TObject*) { BackObjChanged(); });
}

void TBackground::SetBackObj(const TBackgndObj& value)
{
    StoreCopy(m_backObj, value, [this] { BackObjChanged(); });
}

void TBackground::BackObjChanged()
{
    Render();
    Invalidate();
}

void TBackground::PaintBackup()
{
    TKnGraphicControl::PaintBackup();
    PaintBackObj(Backup().Canvas(), ClientRect(), m_backObj);
}

const TClassInfo& TBackground::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TBackground>("TBackground", &TKnGraphicControl::StaticClassInfo())
        .Object("BackObj", "TBackgndObj", [](TBackground& c) -> TPersistent* { return &c.BackObj(); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Align", "Visible", "DragCursor", "DragMode", "Enabled", "PopupMenu", "ShowHint", "OnClick",
                                    "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove",
                                    "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TBackground(owner); })
        .Build();
    return info;
}

const TClassInfo& TBackground::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

namespace {

TUnitLifetime g_unit;

} // namespace

void InitializeBackgnd()
{
    if (g_unit.Initialize())
        RegisterClass(TBackground::StaticClassInfo());
}

void FinalizeBackgnd()
{
    if (g_unit.Finalize())
        UnregisterClass(TBackground::StaticClassInfo());
}

} // namespace plx
