#include "components/ArtLabel.h"

#include "color/ColorMan.h"
#include "framework/KnClasses.h"
#include "framework/host/Published.h"
#include "paint/DrawMan.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

#include <algorithm>
#include <limits>

namespace plx {

namespace {

// A shadow offset beyond any bitmap side shows nothing more, and neither does
// text placed further out than kFarOut: the bounds keep every position the
// effects compute (the text's, plus the offset, plus one) inside the int32 range.
constexpr std::int32_t kMaxShadowOffset = 1 << 24;
constexpr std::int64_t kFarOut = std::int64_t { 1 } << 30;

std::int32_t Clamp32(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t Position(std::int64_t value) noexcept
{
    return static_cast<std::int32_t>(std::clamp(value, -kFarOut, kFarOut));
}

} // namespace

//! Where the caption's text cell starts on the buffer.
struct TArtLabel::TextPlace {
    std::int32_t x { 0 };
    std::int32_t y { 0 };
};

TArtLabel::TArtLabel(TComponent* owner)
    : TGraphicControl(owner)
{
    // The caption is the label's text, not a copy of its name.
    SetControlStyle(ControlStyle().Without(csSetCaption));
    SetBounds(Left(), Top(), 64, 25);
    SetCaption("Art Label");
    SetColor(clBtnFace);
    m_gradient.SetColor1(clSilver);
    m_gradient.SetColor2(clGray);
    m_gradient.SetColor3(clBlack);
    m_gradient.SetColorCount(3);
    m_gradient.SetLineSize(2);
    m_gradient.SetGradientStyle(gsLine);
    m_gradient.SetOnChange([this](TObject*) { GradChanged(); });
    TFont& font = GetFont();
    font.SetName("Arial");
    font.SetSize(24);
    font.SetStyle({ fsBold });
    // The font's colour also fills the gradient picture where the gradient leaves room.
    font.SetOnChange([this](TObject*) {
        m_gradientDirty = true;
        Repaint();
    });
}

TArtLabel::~TArtLabel()
{
    GetFont().SetOnChange(nullptr);
}

// ---- Properties ---------------------------------------------------------------

void TArtLabel::SetArtStyle(TArtStyle value)
{
    Store(m_artStyle, value, [this] { Repaint(); });
}

void TArtLabel::SetTextAlign(TAlignment value)
{
    Store(m_textAlign, value, [this] { Repaint(); });
}

void TArtLabel::SetAutosize(bool value)
{
    Store(m_autoSize, value, [this] { Repaint(); });
}

void TArtLabel::SetTransparent(bool value)
{
    Store(m_transparent, value, [this] { Repaint(); });
}

void TArtLabel::SetBitmap(const TBitmap& value)
{
    StoreCopy(m_bitmap, value, [this] {
        if (m_artStyle.Contains(asBitmap) || m_artStyle.Contains(asBitmapFit))
            Repaint();
    });
}

void TArtLabel::SetShadowColor(TColor value)
{
    Store(m_shadowColor, value, [this] {
        if (m_artStyle.Contains(asShadow))
            Repaint();
    });
}

void TArtLabel::SetOutlineColor(TColor value)
{
    Store(m_outlineColor, value, [this] {
        if (m_artStyle.Contains(asOutlined))
            Repaint();
    });
}

void TArtLabel::SetShadowLength(std::int32_t value)
{
    Store(m_shadowLength, value, [this] {
        if (m_artStyle.Contains(asShadow))
            Repaint();
    });
}

void TArtLabel::SetGrad(const TGradient& value)
{
    if (&value != &m_gradient)
        m_gradient.Assign(&value);
}

TFont& TArtLabel::GetFont()
{
    return Canvas().Font();
}

void TArtLabel::SetFont(const TFont& value)
{
    TFont& font = GetFont();
    if (&value != &font)
        font.Assign(&value);
}

void TArtLabel::GradChanged()
{
    m_gradientDirty = true;
    if (m_artStyle.Contains(asGradient))
        Repaint();
}

void TArtLabel::CMTextChanged(TMessage&)
{
    Repaint();
}

void TArtLabel::CMColorChanged(TMessage&)
{
    Repaint();
}

// ---- Painting -----------------------------------------------------------------

void TArtLabel::Paint()
{
    const TRect r = ClientRect();
    TCanvas& buffer = m_buffer.Canvas();
    buffer.Font().Assign(&GetFont());
    buffer.Brush().SetColor(Color());
    if (m_autoSize) // shows at the next paint: this one keeps the size it started with
        SetBounds(Left(), Top(), Clamp32(std::int64_t { buffer.TextWidth(Caption()) } + 4),
            Clamp32(std::int64_t { buffer.TextHeight("Wg") } + 4));
    if (SizeBuffer(m_buffer, r.Width(), r.Height())) {
        buffer.FillRect(Rect(0, 0, r.Width(), r.Height()));
        const TextPlace at = PlaceText(buffer);
        DrawEffects(buffer, at);
        if (m_transparent)
            PaintThroughMask(Canvas(), at);
        else
            Canvas().Draw(r.Left, r.Top, m_buffer);
    }
    Canvas().Brush().SetStyle(bsSolid);
}

TArtLabel::TextPlace TArtLabel::PlaceText(TCanvas& canvas) const
{
    const TRect r = ClientRect();
    const TSize text = canvas.TextExtent(Caption());
    const std::int64_t width = Width(), height = Height();
    TextPlace at;
    switch (m_textAlign) {
    case taLeftJustify:
        at.x = 2;
        at.y = Position(std::max<std::int64_t>((height - text.cy) / 2, 2) - r.Top);
        break;
    case taRightJustify:
        at.x = Position(std::int64_t { r.Right } - text.cx - 2);
        at.y = Position(std::max<std::int64_t>((height - text.cy) / 2, 2) - r.Top);
        break;
    case taCenter:
        at.x = Position(std::max<std::int64_t>((width - text.cx) / 2, 0) - r.Left);
        at.y = Position(std::max<std::int64_t>((height - text.cy) / 2, 0) - r.Top);
        break;
    }
    return at;
}

void TArtLabel::DrawEffects(TCanvas& canvas, const TextPlace& at)
{
    const std::string& caption = Caption();
    const std::int32_t offset = std::clamp(m_shadowLength, -kMaxShadowOffset, kMaxShadowOffset);
    if (m_artStyle.Contains(asShadow))
        DrawShadowTextExt(canvas, at.x, at.y, caption, m_shadowColor, offset, offset);
    const TColor dark = DarkenColor(Color(), 64);
    const TColor light = BrightenColor(Color(), 64);
    if (m_artStyle.Contains(asOutlined))
        DrawOutlinedText(canvas, at.x, at.y, caption, m_outlineColor);
    else if (m_artStyle.Contains(as3DSunk))
        Draw3DText(canvas, caption, at.x, at.y, dark, light);
    else if (m_artStyle.Contains(as3DRaise))
        Draw3DText(canvas, caption, at.x, at.y, light, dark);
    DrawFill(canvas, at);
}

void TArtLabel::DrawFill(TCanvas& canvas, const TextPlace& at)
{
    const std::string& caption = Caption();
    // The fills work on pictures of the whole text's size: a text larger than
    // any bitmap (an enormous font) is left unfilled.
    const TSize text = canvas.TextExtent(caption);
    if (!BitmapCanHold(text.cx, text.cy))
        return;
    if (m_artStyle.Contains(asGradient)) {
        if (const TBitmap* picture = GradientPicture(canvas.Font().Color()))
            StretchPaintOnText(canvas, at.x, at.y, caption, *picture);
    } else if (m_artStyle.Contains(asBitmapFit)) {
        StretchPaintOnText(canvas, at.x, at.y, caption, m_bitmap);
    } else if (m_artStyle.Contains(asBitmap)) {
        PaintOnText(canvas, at.x, at.y, caption, m_bitmap);
    }
}

const TBitmap* TArtLabel::GradientPicture(TColor background)
{
    if (!m_gradientPicture)
        m_gradientPicture = std::make_unique<TBitmap>();
    TBitmap& picture = *m_gradientPicture;
    if (!m_gradientDirty && picture.Width() == Width() && picture.Height() == Height())
        return &picture;
    if (!SizeBuffer(picture, Width(), Height()))
        return nullptr;
    TCanvas& canvas = picture.Canvas();
    canvas.Brush().SetColor(background);
    canvas.FillRect(ClientRect());
    PaintGradient(canvas, ClientRect(), m_gradient);
    m_gradientDirty = false;
    return &picture;
}

// The mask is black wherever the buffer shows: the text of every effect drawn,
// in black. Only those pixels of the buffer reach the label.
void TArtLabel::PaintThroughMask(TCanvas& target, const TextPlace& at)
{
    TBitmap mask;
    if (!SizeBuffer(mask, m_buffer.Width(), m_buffer.Height()))
        return;
    mask.SetMonochrome(true);
    TCanvas& canvas = mask.Canvas();
    canvas.Font().Assign(&GetFont());
    canvas.Font().SetColor(clBlack);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, mask.Width(), mask.Height()));
    const std::string& caption = Caption();
    const std::int32_t offset = std::clamp(m_shadowLength, -kMaxShadowOffset, kMaxShadowOffset);
    if (m_artStyle.Contains(asShadow))
        DrawShadowTextExt(canvas, at.x, at.y, caption, clBlack, offset, offset);
    if (m_artStyle.Contains(asOutlined))
        DrawOutlinedText(canvas, at.x, at.y, caption, clBlack);
    if (m_artStyle.Contains(as3DSunk) || m_artStyle.Contains(as3DRaise))
        Draw3DText(canvas, caption, at.x, at.y, clBlack, clBlack);
    // The letters a fill paints show too, even when no other effect drew them.
    if (m_artStyle.Contains(asGradient) || m_artStyle.Contains(asBitmapFit) || m_artStyle.Contains(asBitmap)) {
        canvas.Brush().SetStyle(bsClear);
        canvas.TextOut(at.x, at.y, caption);
    }
    target.Brush().SetStyle(bsClear);
    PaintOnMask(target, ClientRect().Left, ClientRect().Top, mask, m_buffer);
}

// ---- Published properties -----------------------------------------------------

const TEnumInfo& TArtLabel::ArtStyleInfo()
{
    static const TEnumInfo info { "TArtStyleFlag",
        { "as3DSunk", "as3DRaise", "asShadow", "asBitmap", "asOutlined", "asBitmapFit", "asGradient" } };
    return info;
}

const TClassInfo& TArtLabel::StaticClassInfo()
{
    // The label's own properties have no default: all are written to form files,
    // the caption even when empty.
    static const TClassInfo info = TClassInfoBuilder<TArtLabel>("TArtLabel", &TGraphicControl::StaticClassInfo())
        .Set("ArtStyle", ArtStyleInfo(), "TArtStyle", &TArtLabel::ArtStyle, &TArtLabel::SetArtStyle)
        .String("Caption", &TControl::Caption, &TControl::SetCaption)
        .WriteEmpty()
        .Object("Font", "TFont", [](TArtLabel& l) -> TPersistent* { return &l.GetFont(); })
        .Bool("Transparent", &TArtLabel::Transparent, &TArtLabel::SetTransparent)
        .Integer("Color", &TControl::Color, &TControl::SetColor, std::nullopt, &ColorIdents(), "TColor")
        .Object("Bitmap", "TBitmap", [](TArtLabel& l) -> TPersistent* { return &l.Bitmap(); })
        .Integer("ShadowColor", &TArtLabel::ShadowColor, &TArtLabel::SetShadowColor, std::nullopt, &ColorIdents(), "TColor")
        .Integer("OutlineColor", &TArtLabel::OutlineColor, &TArtLabel::SetOutlineColor, std::nullopt, &ColorIdents(), "TColor")
        .Bool("AutoSize", &TArtLabel::AutoSize, &TArtLabel::SetAutosize)
        .Integer("ShadowLength", &TArtLabel::ShadowLength, &TArtLabel::SetShadowLength)
        .Object("Gradient", "TGradient", [](TArtLabel& l) -> TPersistent* { return &l.Gradient(); })
        .Enum("TextAlign", AlignmentInfo(), &TArtLabel::TextAlign, &TArtLabel::SetTextAlign)
        .Apply([](auto& b) {
            PublishInherited(b, { "Align", "ParentFont", "ParentShowHint", "ShowHint", "Visible", "OnClick", "OnDblClick",
                                    "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                                    "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TArtLabel(owner); })
        .Build();
    return info;
}

const TClassInfo& TArtLabel::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

namespace {

TUnitLifetime g_unit;

} // namespace

void InitializeArtLabel()
{
    if (g_unit.Initialize())
        RegisterClass(TArtLabel::StaticClassInfo());
}

void FinalizeArtLabel()
{
    if (g_unit.Finalize())
        UnregisterClass(TArtLabel::StaticClassInfo());
}

} // namespace plx
