#include "components/SImageBtn.h"

#include "color/ColorMan.h"
#include "color/host/SysColors.h"
#include "framework/KnClasses.h"
#include "framework/host/Published.h"
#include "paint/DrawMan.h"
#include "paint/GrafMan.h"
#include "rtl/Exceptions.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <algorithm>
#include <string>

namespace plx {

namespace {

// Positions further out than this show nothing more; the bound keeps every sum
// of a position, Deepth and a text or picture size inside the int32 range.
constexpr std::int64_t kFarOut = std::int64_t { 1 } << 30;

std::int32_t Position(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp(value, -kFarOut, kFarOut));
}

// TransparentBlt keeps the key on the bitmap it draws; the button's pictures are
// the application's, so their transparency is put back, and their change events
// (which would cut the shadow again) are held while it is borrowed.
void DrawKeyed(TCanvas& canvas, TBitmap& bitmap, std::int32_t x, std::int32_t y, TColor key)
{
    if (bitmap.Empty())
        return;
    TNotifyEvent onChange = bitmap.OnChange();
    bitmap.SetOnChange(nullptr);
    const bool transparent = bitmap.Transparent();
    const TTransparentMode mode = bitmap.TransparentMode();
    const TColor color = bitmap.TransparentColor();
    TransparentBlt(canvas, bitmap, x, y, key);
    bitmap.SetTransparent(transparent);
    if (mode == tmFixed)
        bitmap.SetTransparentColor(color);
    else
        bitmap.SetTransparentMode(tmAuto);
    bitmap.SetOnChange(std::move(onChange));
}

// The picture dithered with clBtnFace. A palette picture is dithered as a
// true-colour copy: drawn on its own, the dots would take the table's colour
// nearest to clBtnFace.
void MakeDisabled(TBitmap& result, const TBitmap& picture)
{
    if (!picture.Image().HasPalette()) {
        result.Assign(&DisabledBmp(picture, clBtnFace, clWhite));
        return;
    }
    TBitmap copy;
    copy.Assign(&picture);
    copy.SetPixelFormat(pf24bit);
    result.Assign(&DisabledBmp(copy, clBtnFace, clWhite));
}

} // namespace

//! Where the picture and the caption go, in control coordinates.
struct TSImageBtn::Layout {
    std::int32_t x { 0 }; //!< the picture's left
    std::int32_t y { 0 }; //!< the picture's top
    std::int32_t textX { 0 };
    std::int32_t textY { 0 };
};

TSImageBtn::TSImageBtn(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBounds(Left(), Top(), 25, 26);
    SetOnMouseDown([this](TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
        MouseDown(sender, button, shift, x, y);
    });
    SetOnMouseUp([this](TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
        MouseUp(sender, button, shift, x, y);
    });
    m_image.SetOnChange([this](TObject*) { ImageChanged(); });
    m_focusedImage.SetOnChange([this](TObject*) { Repaint(); });
}

TSImageBtn::~TSImageBtn()
{
    m_image.SetOnChange(nullptr);
    m_focusedImage.SetOnChange(nullptr);
}

// ---- Properties ---------------------------------------------------------------

void TSImageBtn::SetShadow(bool value)
{
    Store(m_shadow, value, [this] { Repaint(); });
}

void TSImageBtn::SetDeepth(TDeepth value)
{
    Store(m_deepth, std::min(value, kMaxDeepth), [this] { Repaint(); });
}

void TSImageBtn::SetImage(const TBitmap& value)
{
    if (&value != &m_image)
        m_image.Assign(&value);
}

void TSImageBtn::SetTrans(TColor value)
{
    Store(m_transparentColor, value, [this] { Repaint(); });
}

void TSImageBtn::SetSpace(std::int32_t value)
{
    Store(m_space, value, [this] { Repaint(); });
}

void TSImageBtn::SetDarkness(std::int32_t value)
{
    Store(m_shadowsDarkness, value, [this] {
        UpdateShadow();
        Repaint();
    });
}

void TSImageBtn::SetBriImage(const TBitmap& value)
{
    if (&value != &m_focusedImage)
        m_focusedImage.Assign(&value);
}

// An emptied picture takes its disabled picture and shadow with it, so neither
// shows a ghost of the old one.
void TSImageBtn::ImageChanged()
{
    if (m_image.Empty()) {
        m_greyImage.Assign(nullptr);
        m_shadowImage.Assign(nullptr);
    } else {
        m_transparentColor = m_image.Image().GetColor(0, 0);
        MakeDisabled(m_greyImage, m_image);
        UpdateShadow();
    }
    Repaint();
}

void TSImageBtn::UpdateShadow()
{
    if (m_image.Empty()) {
        m_shadowImage.Assign(nullptr);
        return;
    }
    m_shadowImage.SetSize(m_image.Width(), m_image.Height());
    const Raster& picture = m_image.Image();
    Raster& shadow = m_shadowImage.Image();
    const TColor key = ColorToRGB(m_transparentColor) & 0xFFFFFF;
    const std::uint32_t clear = shadow.Store(clWhite);
    const std::uint32_t dark = shadow.Store(DarkenColor(clBtnFace, m_shadowsDarkness));
    for (std::int32_t y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* from = picture.Row(y);
        std::uint32_t* to = shadow.Row(y);
        for (std::int32_t x = 0; x < picture.Width(); ++x)
            to[x] = static_cast<TColor>(from[x] & 0xFFFFFF) == key ? clear : dark;
    }
}

// ---- Mouse --------------------------------------------------------------------

void TSImageBtn::MouseDown(TObject*, TMouseButton button, TShiftState, std::int32_t, std::int32_t)
{
    if (button != mbLeft)
        return;
    m_pressed = true;
    Repaint();
}

void TSImageBtn::MouseUp(TObject*, TMouseButton button, TShiftState, std::int32_t, std::int32_t)
{
    if (button != mbLeft)
        return;
    m_pressed = false;
    Repaint();
}

void TSImageBtn::CMMouseEnter(TMessage& message)
{
    const TWeakRef alive(this);
    TGraphicControl::CMMouseEnter(message);
    if (!alive)
        return;
    if (!m_mouseOver && Enabled() && m_showMouseFocus && !m_focusedImage.Empty()) {
        m_mouseOver = true;
        Repaint();
    }
}

void TSImageBtn::CMMouseLeave(TMessage& message)
{
    const TWeakRef alive(this);
    TGraphicControl::CMMouseLeave(message);
    if (!alive)
        return;
    if (m_mouseOver && Enabled() && m_showMouseFocus) {
        m_mouseOver = false;
        Repaint();
    }
}

void TSImageBtn::UpdateTracking()
{
    if (!Enabled())
        return;
    const bool over = FindDragTarget(GetCursorPos(), true) == this;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void TSImageBtn::CMEnabledChanged(TMessage&)
{
    // The entry or leave repaints, and a repaint runs the paint handlers of
    // every control on the form, which may free this one.
    const TWeakRef alive(this);
    UpdateTracking();
    if (alive)
        Repaint();
}

void TSImageBtn::CMFontChanged(TMessage&)
{
    Repaint();
}

void TSImageBtn::CMTextChanged(TMessage&)
{
    Repaint();
}

// ---- Painting -----------------------------------------------------------------

// Only the visible part of the face is made: the off-screen bitmap covers the
// canvas's clip rectangle, drawn on through a canvas whose origin is the
// control's, so a button of any size costs what shows.
void TSImageBtn::Paint()
{
    TCanvas& target = Canvas();
    const TRect visible = Intersect(target.ClipRect(), ClientRect());
    if (visible.IsEmpty() || !SizeBuffer(m_buffer, visible.Width(), visible.Height()))
        return;
    TCanvas canvas;
    canvas.SetSurface(&m_buffer.Image(), Point(-visible.Left, -visible.Top), Rect(0, 0, visible.Width(), visible.Height()));
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(visible);
    canvas.Font().Assign(&Font());
    const Layout at = Place(canvas);
    DrawPicture(canvas, at);
    DrawCaption(canvas, at);
    if (ComponentState().Contains(csDesigning)) {
        canvas.Pen().SetStyle(psDot);
        canvas.Pen().SetColor(clBlack);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(0, 0, Width(), Height());
    }
    target.SetCopyMode(cmSrcCopy);
    target.Draw(visible.Left, visible.Top, m_buffer);
}

TSImageBtn::Layout TSImageBtn::Place(TCanvas& canvas) const
{
    const TSize text = canvas.TextExtent(Caption());
    const std::int64_t width = Width(), height = Height();
    const std::int64_t pictureWidth = m_image.Width(), pictureHeight = m_image.Height();
    Layout at;
    at.x = Position((width - pictureWidth) / 2);
    const std::int64_t y = (height - text.cy - pictureHeight) / 2;
    at.y = Position(y);
    at.textX = Position((width - text.cx) / 2);
    at.textY = Position(y + pictureHeight + m_space);
    return at;
}

// The disabled picture keeps the picture's own background colour, so it is
// left out by that colour too.
void TSImageBtn::DrawPicture(TCanvas& canvas, const Layout& at)
{
    const std::int32_t d = m_deepth;
    TBitmap& picture = !Enabled()                                                        ? m_greyImage
        : (!m_pressed && m_showMouseFocus && m_mouseOver && !m_focusedImage.Empty()) ? m_focusedImage
                                                                                     : m_image;
    if (m_pressed) {
        DrawKeyed(canvas, picture, at.x + d, at.y + d, m_transparentColor);
        return;
    }
    if (m_shadow)
        DrawKeyed(canvas, m_shadowImage, at.x + d, at.y + d, clWhite);
    DrawKeyed(canvas, picture, at.x, at.y, m_transparentColor);
}

void TSImageBtn::DrawCaption(TCanvas& canvas, const Layout& at)
{
    const std::string& caption = Caption();
    if (caption.empty())
        return;
    const std::int32_t d = m_deepth;
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(&Font());
    if (!Enabled())
        canvas.Font().SetColor(ColorToGrey(ColorToRGB(Font().Color())));
    if (m_shadow) {
        canvas.Font().SetColor(DarkenColor(clBtnFace, m_shadowsDarkness));
        canvas.TextOut(at.textX + d, at.textY + d, caption);
        canvas.Font().SetColor(Font().Color());
    }
    if (m_pressed)
        canvas.TextOut(at.textX + d, at.textY + d, caption);
    else
        canvas.TextOut(at.textX, at.textY, caption);
}

// ---- Published properties -----------------------------------------------------

const TClassInfo& TSImageBtn::StaticClassInfo()
{
    // None of the button's own properties has a default: all are written.
    // Deepth is a subrange: a form file's value outside 0..12 is refused.
    static const TClassInfo info = TClassInfoBuilder<TSImageBtn>("TSImageBtn", &TGraphicControl::StaticClassInfo())
        .Bool("Shadow", &TSImageBtn::Shadow, &TSImageBtn::SetShadow)
        .Integer(
            "Deepth", [](const TSImageBtn& b) -> std::int64_t { return b.Deepth(); },
            [](TSImageBtn& b, std::int64_t value) {
                if (value < 0 || value > kMaxDeepth)
                    throw EPropertyError("Deepth " + std::to_string(value) + " is out of range (0..12)");
                b.SetDeepth(static_cast<TDeepth>(value));
            },
            std::nullopt, nullptr, "TDeepth")
        .Object("Image", "TBitmap", [](TSImageBtn& b) -> TPersistent* { return &b.Image(); })
        .Integer("TransparentColor", &TSImageBtn::TransparentColor, &TSImageBtn::SetTrans, std::nullopt, &ColorIdents(),
            "TColor")
        .Integer("Space", &TSImageBtn::Space, &TSImageBtn::SetSpace)
        .Integer("ShadowsDarkness", &TSImageBtn::ShadowsDarkness, &TSImageBtn::SetDarkness)
        .Bool("ShowMouseFocus", &TSImageBtn::ShowMouseFocus, &TSImageBtn::SetShowMouseFocus)
        .Object("FocusedImage", "TBitmap", [](TSImageBtn& b) -> TPersistent* { return &b.FocusedImage(); })
        .Apply([](auto& b) {
            PublishInherited(b, { "OnClick", "OnDblClick", "OnMouseMove", "OnMouseDown", "OnMouseUp", "OnEndDrag", "OnDragDrop" });
        })
        .Event("OnDragOVer", "TDragOverEvent", &TControl::OnDragOver, &TControl::SetOnDragOver)
        .Apply([](auto& b) {
            PublishInherited(b, { "OnStartDrag", "Caption", "Cursor", "Enabled", "Font", "Hint", "ParentShowHint",
                                    "ParentFont", "ShowHint", "PopupMenu" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TSImageBtn(owner); })
        .Build();
    return info;
}

const TClassInfo& TSImageBtn::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

namespace {

TUnitLifetime g_unit;

} // namespace

void InitializeSImageBtn()
{
    if (g_unit.Initialize())
        RegisterClass(TSImageBtn::StaticClassInfo());
}

void FinalizeSImageBtn()
{
    if (g_unit.Finalize())
        UnregisterClass(TSImageBtn::StaticClassInfo());
}

} // namespace plx
