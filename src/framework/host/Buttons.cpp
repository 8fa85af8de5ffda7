#include "framework/host/Buttons.h"

#include "color/host/DrawText.h"
#include "color/host/SysColors.h"
#include "framework/host/Forms.h"
#include "framework/host/Published.h"
#include "framework/host/detail/ControlPaint.h"
#include "framework/host/detail/Survive.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"

#include <array>
#include <string_view>

namespace plx {

namespace {

// The kinds' glyphs, 16 x 16: '.' is the transparent olive of the bottom-left
// corner, letters pick the colours below.
struct TKindGlyph {
    std::array<std::string_view, 16> rows;
};

TColor GlyphColor(char c) noexcept
{
    switch (c) {
    case 'g': return 0x008000; // green
    case 'G': return 0x00C000;
    case 'r': return 0x000080; // red
    case 'R': return 0x0000FF;
    case 'b': return 0x800000; // blue
    case 'B': return 0xFF0000;
    case 'k': return 0x000000;
    case 'y': return 0x00FFFF;
    case 't': return 0x808000; // teal
    case 'w': return 0xFFFFFF;
    default: return 0x008080; // olive: transparent
    }
}

const TKindGlyph* KindGlyph(TBitBtnKind kind) noexcept
{
    static const TKindGlyph kCheck { { "................", "................", "................", "............g...", "...........gg...",
        "..........gGg...", ".........gGg....", "..g.....gGg.....", "..gg...gGg......", "..gGg.gGg.......", "...gGgGg........",
        "....gGg.........", ".....g..........", "................", "................", "................" } };
    static const TKindGlyph kCross { { "................", "................", "...rr......rr...", "...rRr....rRr...", "....rRr..rRr....",
        ".....rRrrRr.....", "......rRRr......", ".......RR.......", "......rRRr......", ".....rRrrRr.....", "....rRr..rRr....",
        "...rRr....rRr...", "...rr......rr...", "................", "................", "................" } };
    static const TKindGlyph kHelp { { "................", "......bbbb......", ".....bBBBBb.....", "....bBb..bBb....", "....bBb..bBb....",
        ".........bBb....", "........bBb.....", ".......bBb......", ".......bBb......", ".......bBb......", "................",
        ".......bBb......", ".......bBb......", "................", "................", "................" } };
    static const TKindGlyph kDoor { { "................", "...kkkkkkkkkk...", "...kttttttttk...", "...kttttttttk...", "...kttttttttk...",
        "...kttttttttk...", "...kttttttttk...", "...kttttttyyk...", "...kttttttyyk...", "...kttttttttk...", "...kttttttttk...",
        "...kttttttttk...", "...kttttttttk...", "...kkkkkkkkkk...", "................", "................" } };
    static const TKindGlyph kRetry { { "................", "................", "......gggg......", "....ggGGGGgg....", "...gGg....gGg...",
        "...gG......Gg.g.", "..gG........GgG.", "..gG.......gGGg.", "..gG........gg..", "..gG............", "...gG......g....",
        "...gGg....gG....", "....ggGGGGg.....", "......gggg......", "................", "................" } };
    static const TKindGlyph kIgnore { { "................", "................", ".......kk.......", "......kRRk......", "......kRRk......",
        "......kRRk......", "......kRRk......", "......kRRk......", "......kRRk......", ".......kk.......", "................",
        ".......kk.......", "......kRRk......", ".......kk.......", "................", "................" } };
    static const TKindGlyph kAll { { "................", "................", "..........g..g..", ".........gg.gg..", "........gGggGg..",
        ".......gGggGg...", "..g...gGggGg....", "..gg.gGggGg.....", "..gGgGgGgGg.....", "...gGgGgGg......", "....gGgGg.......",
        ".....ggg........", "......g.........", "................", "................", "................" } };
    switch (kind) {
    case bkOK:
    case bkYes:
        return &kCheck;
    case bkCancel:
    case bkNo:
    case bkAbort:
        return &kCross;
    case bkHelp:
        return &kHelp;
    case bkClose:
        return &kDoor;
    case bkRetry:
        return &kRetry;
    case bkIgnore:
        return &kIgnore;
    case bkAll:
        return &kAll;
    default:
        return nullptr;
    }
}

void MakeKindGlyph(TBitmap& bitmap, TBitBtnKind kind)
{
    const TKindGlyph* glyph = KindGlyph(kind);
    if (!glyph) {
        bitmap.SetSize(0, 0);
        return;
    }
    bitmap.SetSize(16, 16);
    for (std::int32_t y = 0; y < 16; ++y)
        for (std::int32_t x = 0; x < 16; ++x)
            bitmap.Canvas().SetPixels(x, y, GlyphColor(glyph->rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
}

TModalResult KindModalResult(TBitBtnKind kind) noexcept
{
    switch (kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    default: return mrNone;
    }
}

TSize CaptionSize(TCanvas& canvas, const std::string& caption)
{
    if (caption.empty())
        return { 0, 0 };
    TRect r = Rect(0, 0, 0, 0);
    DrawText(canvas, caption, r, DT_CALCRECT | DT_SINGLELINE);
    return { SaturateInt32(r.Width()), SaturateInt32(r.Height()) };
}

} // namespace

// ---- Glyph layout and images ---------------------------------------------------

namespace detail {

TGlyphOffsets PlaceGlyph(std::int64_t clientWidth, std::int64_t clientHeight, TSize glyphSize, std::int64_t textWidth,
    std::int64_t textHeight, TButtonLayout layout, std::int32_t margin, std::int32_t spacing) noexcept
{
    using I = std::int64_t;
    const I cw = clientWidth, ch = clientHeight;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TGlyphOffsets at;
    if (horizontal) {
        at.glyphY = (ch - glyphSize.cy + 1) / 2;
        at.textY = (ch - textHeight + 1) / 2;
    } else {
        at.glyphX = (cw - glyphSize.cx + 1) / 2;
        at.textX = (cw - textWidth + 1) / 2;
    }
    // Along the axis (division truncates towards zero, as the rules want).
    I space = textWidth == 0 || glyphSize.cx == 0 ? 0 : spacing;
    I edge = margin;
    const I room = horizontal ? cw : ch;
    const I glyphAlong = horizontal ? glyphSize.cx : glyphSize.cy;
    const I textAlong = horizontal ? textWidth : textHeight;
    if (edge == -1) {
        if (space == -1) {
            edge = (room - (glyphAlong + textAlong)) / 3;
            space = edge;
        } else {
            edge = (room - (glyphAlong + space + textAlong) + 1) / 2;
        }
    } else if (space == -1) {
        space = (room - (edge + glyphAlong) - textAlong) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        at.glyphX = edge;
        at.textX = at.glyphX + glyphSize.cx + space;
        break;
    case blGlyphRight:
        at.glyphX = cw - edge - glyphSize.cx;
        at.textX = at.glyphX - space - textWidth;
        break;
    case blGlyphTop:
        at.glyphY = edge;
        at.textY = at.glyphY + glyphSize.cy + space;
        break;
    case blGlyphBottom:
        at.glyphY = ch - edge - glyphSize.cy;
        at.textY = at.glyphY - space - textHeight;
        break;
    }
    return at;
}

TGlyphLayout LayoutGlyph(TCanvas& canvas, const TRect& client, const std::string& caption, TSize glyphSize, TButtonLayout layout,
    std::int32_t margin, std::int32_t spacing)
{
    const TSize textSize = CaptionSize(canvas, caption);
    const TGlyphOffsets at = PlaceGlyph(client.Width(), client.Height(), glyphSize, textSize.cx, textSize.cy, layout, margin, spacing);
    // Clamped: margins and spacings may be any int32.
    auto fit = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
    TGlyphLayout result;
    result.glyph = { fit(at.glyphX + client.Left), fit(at.glyphY + client.Top) };
    result.text = Bounds(fit(at.textX + client.Left), fit(at.textY + client.Top), textSize.cx, textSize.cy);
    return result;
}

TSize TGlyphImages::ImageSize() const noexcept
{
    if (m_picture.Empty())
        return { 0, 0 };
    return { m_picture.Width() / m_numGlyphs, m_picture.Height() };
}

void TGlyphImages::Draw(TCanvas& canvas, TPoint at, TState state) const
{
    const TSize size = ImageSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    auto index = static_cast<std::int32_t>(state);
    if (state == TState::Exclusive && m_numGlyphs < 4)
        index = static_cast<std::int32_t>(TState::Down);
    if (index == static_cast<std::int32_t>(TState::Down) && m_numGlyphs < 3)
        index = static_cast<std::int32_t>(TState::Up);
    const bool makeDisabled = state == TState::Disabled && m_numGlyphs < 2;
    if (makeDisabled)
        index = 0;
    const TCanvas& source = const_cast<TBitmap&>(m_picture).Canvas();
    const TColor transparent = source.Pixels(0, size.cy - 1);
    const std::int32_t x0 = index * size.cx;
    if (!makeDisabled) {
        for (std::int32_t y = 0; y < size.cy; ++y)
            for (std::int32_t x = 0; x < size.cx; ++x)
                if (TColor c = source.Pixels(x0 + x, y); c != transparent)
                    canvas.SetPixels(at.X + x, at.Y + y, c);
        return;
    }
    // Embossed: the dark pixels of the up image in highlight, one pixel down
    // and right, then in shadow.
    auto dark = [](TColor c) { return ((c & 0xFF) * 77 + ((c >> 8) & 0xFF) * 150 + ((c >> 16) & 0xFF) * 29) >> 8 < 192; };
    for (std::int32_t pass = 0; pass < 2; ++pass) {
        const TColor ink = ColorToRGB(pass == 0 ? clBtnHighlight : clBtnShadow);
        const std::int32_t d = pass == 0 ? 1 : 0;
        for (std::int32_t y = 0; y < size.cy; ++y)
            for (std::int32_t x = 0; x < size.cx; ++x)
                if (TColor c = source.Pixels(x, y); c != transparent && dark(c))
                    canvas.SetPixels(at.X + x + d, at.Y + y + d, ink);
    }
}

void TGlyphFace::SetNumGlyphs(std::int32_t value)
{
    m_images.SetNumGlyphs(value);
    m_control.Invalidate();
}

void TGlyphFace::SetLayout(TButtonLayout value)
{
    Store(m_layout, value, [this] { m_control.Invalidate(); });
}

void TGlyphFace::SetMargin(std::int32_t value)
{
    Store(m_margin, std::max(value, -1), [this] { m_control.Invalidate(); });
}

void TGlyphFace::SetSpacing(std::int32_t value)
{
    Store(m_spacing, std::max(value, -1), [this] { m_control.Invalidate(); });
}

void TGlyphFace::Paint(TCanvas& canvas, const TRect& area, TGlyphImages::TState state) const
{
    canvas.Font().Assign(&m_control.Font());
    const std::string& caption = m_control.Caption();
    const TGlyphLayout layout = LayoutGlyph(canvas, area, caption, m_images.ImageSize(), m_layout, m_margin, m_spacing);
    m_images.Draw(canvas, layout.glyph, state);
    DrawCaption(canvas, caption, layout.text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, m_control.Enabled());
}

} // namespace detail

// ---- TSpeedButton ----------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBounds(0, 0, 23, 22);
    SetControlStyle({ csCaptureMouse, csDoubleClicks, csOpaque });
    m_glyph.Images().Picture().SetOnChange([this](TObject*) { Invalidate(); });
}

void TSpeedButton::SetAllowAllUp(bool value)
{
    Store(m_allowAllUp, value, [this] { UpdateExclusive(); });
}

void TSpeedButton::SetGroupIndex(std::int32_t value)
{
    Store(m_groupIndex, value, [this] { UpdateExclusive(); });
}

void TSpeedButton::SetDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_down || (m_down && !m_allowAllUp))
        return;
    m_down = value;
    Invalidate();
    if (value)
        UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
    if (m_groupIndex == 0 || !Parent())
        return;
    TMessage m { CM_BUTTONPRESSED, static_cast<WPARAM>(m_groupIndex), reinterpret_cast<LPARAM>(this), 0 };
    Parent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& message)
{
    auto* sender = reinterpret_cast<TSpeedButton*>(message.LParam);
    if (static_cast<std::int32_t>(message.WParam) != m_groupIndex || sender == this)
        return;
    // Only speed buttons send it with a group index; the first to hear of a
    // pressed button releases itself.
    if (sender->Down() && m_down) {
        m_down = false;
        Invalidate();
    }
    m_allowAllUp = sender->AllowAllUp();
}

void TSpeedButton::SetFlat(bool value)
{
    Store(m_flat, value, [this] {
        SetControlStyle(m_flat ? ControlStyle().Without(csOpaque) : ControlStyle().With(csOpaque));
        Invalidate();
    });
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft && Enabled()) {
        m_dragging = true;
        m_pressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_dragging)
        Store(m_pressed, ClientRect().Contains({ x, y }), [this] { Invalidate(); });
    TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    bool click = false;
    if (button == mbLeft && m_dragging) {
        m_dragging = false;
        click = ClientRect().Contains({ x, y });
        m_pressed = false;
        if (click && m_groupIndex != 0)
            SetDown(!m_down);
        Invalidate();
    }
    if (!detail::Survives(*this, [&] { TGraphicControl::MouseUp(button, shift, x, y); }))
        return;
    if (click)
        Click();
}

void TSpeedButton::WMCancelMode(TMessage& message)
{
    m_dragging = false;
    m_pressed = false;
    Invalidate();
    TGraphicControl::WMCancelMode(message);
}

void TSpeedButton::CMMouseEnter(TMessage& message)
{
    TGraphicControl::CMMouseEnter(message);
    m_mouseInControl = true;
    if (m_flat && Enabled())
        Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& message)
{
    TGraphicControl::CMMouseLeave(message);
    m_mouseInControl = false;
    if (m_flat && Enabled())
        Invalidate();
}

void TSpeedButton::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<std::uint32_t>(message.WParam), Caption()) && Enabled() && Showing()) {
        message.Result = 1;
        if (m_groupIndex != 0)
            SetDown(!m_down);
        Click();
        return;
    }
    TGraphicControl::CMDialogChar(message);
}

void TSpeedButton::CMEnabledChanged(TMessage& message)
{
    m_dragging = false;
    m_pressed = false;
    TGraphicControl::CMEnabledChanged(message);
}

void TSpeedButton::Paint()
{
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    const bool sunk = m_pressed || m_down;
    if (m_flat) {
        if (sunk)
            detail::DrawFrame(canvas, r, clBtnShadow, clBtnHighlight);
        else if (m_mouseInControl && Enabled())
            detail::DrawFrame(canvas, r, clBtnHighlight, clBtnShadow);
        else
            InflateRect(r, -1, -1);
    } else {
        detail::DrawSpeedButtonFace(canvas, r, sunk);
    }
    // A latched button shows the dithered face.
    const bool exclusive = m_down && !m_pressed;
    if (exclusive)
        detail::FillDithered(canvas, r);
    if (sunk)
        OffsetRect(r, 1, 1);
    using TState = detail::TGlyphImages::TState;
    m_glyph.Paint(canvas, r, !Enabled() ? TState::Disabled : exclusive ? TState::Exclusive : m_pressed ? TState::Down : TState::Up);
}

const TEnumInfo& ButtonLayoutInfo()
{
    static const TEnumInfo info { "TButtonLayout", { "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom" } };
    return info;
}

const TEnumInfo& BitBtnKindInfo()
{
    static const TEnumInfo info { "TBitBtnKind",
        { "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll" } };
    return info;
}

const TClassInfo& TSpeedButton::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClassInfo())
        .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false)
        .Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0)
        .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false)
        .Apply([](auto& b) { PublishInherited(b, { "Caption", "Enabled" }); })
        .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false)
        .Apply([](auto& b) { PublishInherited(b, { "Font" }); })
        .Object("Glyph", "TBitmap", [](TSpeedButton& s) -> TPersistent* { return &s.Glyph(); })
        .Enum("Layout", ButtonLayoutInfo(), &TSpeedButton::Layout, &TSpeedButton::SetLayout, blGlyphLeft)
        .Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin, -1)
        .Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1, nullptr, "TNumGlyphs")
        .Apply([](auto& b) { PublishInherited(b, { "ParentFont", "ParentShowHint", "ShowHint" }); })
        .Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing, 4)
        .Apply([](auto& b) { PublishInherited(b, { "Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TSpeedButton(owner); })
        .Build();
    return info;
}

const TClassInfo& TSpeedButton::ClassType() const
{
    return StaticClassInfo();
}

// ---- TBitBtn -------------------------------------------------------------------------

std::string BitBtnCaption(TBitBtnKind kind)
{
    static const std::array<const char*, 11> captions { "", "OK", "Cancel", "&Help", "&Yes", "&No", "&Close", "Abort", "&Retry", "&Ignore", "&All" };
    return captions[static_cast<std::size_t>(kind)];
}

TBitBtn::TBitBtn(TComponent* owner)
    : TButton(owner)
{
    m_glyph.Images().Picture().SetOnChange([this](TObject*) {
        if (!m_settingKind)
            m_kind = bkCustom;
        Invalidate();
    });
}

void TBitBtn::SetKind(TBitBtnKind value)
{
    if (value == m_kind)
        return;
    if (value != bkCustom) {
        SetDefault(value == bkOK || value == bkYes);
        SetCancel(value == bkCancel || value == bkNo);
        // While loading, a caption read from the file stays.
        if (!ComponentState().Contains(csLoading) || Caption().empty())
            SetCaption(BitBtnCaption(value));
        SetModalResult(KindModalResult(value));
        m_settingKind = true;
        MakeKindGlyph(m_glyph.Images().Picture(), value);
        m_glyph.Images().SetNumGlyphs(1);
        m_settingKind = false;
    }
    m_kind = value;
    Invalidate();
}

bool TBitBtn::IsCustomCaption() const
{
    return Caption() != BitBtnCaption(m_kind);
}

void TBitBtn::Click()
{
    if (m_kind == bkClose)
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    TButton::Click();
}

void TBitBtn::PaintContent(TCanvas& canvas, const TRect& content)
{
    using TState = detail::TGlyphImages::TState;
    m_glyph.Paint(canvas, content, !Enabled() ? TState::Disabled : Pressed() ? TState::Down : TState::Up);
}

const TClassInfo& TBitBtn::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TBitBtn>("TBitBtn", &TCustomControl::StaticClassInfo())
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false).StoredWhen(&TBitBtn::IsCustom)
        .String("Caption", &TControl::Caption, &TControl::SetCaption).StoredWhen(&TBitBtn::IsCustomCaption)
        .Bool("Default", &TButton::Default, &TButton::SetDefault, false).StoredWhen(&TBitBtn::IsCustom)
        .Apply([](auto& b) { PublishInherited(b, { "Enabled", "Font" }); })
        .Object("Glyph", "TBitmap", [](TBitBtn& s) -> TPersistent* { return &s.Glyph(); }).StoredWhen(&TBitBtn::IsCustom)
        .Enum("Kind", BitBtnKindInfo(), &TBitBtn::Kind, &TBitBtn::SetKind, bkCustom)
        .Enum("Layout", ButtonLayoutInfo(), &TBitBtn::Layout, &TBitBtn::SetLayout, blGlyphLeft)
        .Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, -1)
        .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone, nullptr, "TModalResult").StoredWhen(&TBitBtn::IsCustom)
        .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1, nullptr, "TNumGlyphs").StoredWhen(&TBitBtn::IsCustom)
        .Apply([](auto& b) { PublishInherited(b, { "ParentFont", "ParentShowHint", "ShowHint" }); })
        .Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4)
        .Apply([](auto& b) { PublishInherited(b, { "TabOrder" }); })
        .Apply([](auto& b) { PublishTabStop(b, true); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Visible", "OnClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                                    "OnMouseMove", "OnMouseUp" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TBitBtn(owner); })
        .Build();
    return info;
}

const TClassInfo& TBitBtn::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
