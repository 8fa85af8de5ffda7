#include "framework/host/ExtCtrls.h"

#include "rtl/Store.h"
#include "color/host/DrawText.h"
#include "rtl/Exceptions.h"
#include "framework/host/Published.h"
#include "framework/host/detail/ControlPaint.h"
#include "rtl/TypInfo.h"

#include <algorithm>

namespace plx {

// ---- TCustomPanel --------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner)
    : TCustomControl(owner)
{
    SetControlStyle({ csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks });
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    Store(m_alignment, value, [this] { Invalidate(); });
}

void TCustomPanel::SetBevelInner(TPanelBevel value)
{
    Store(m_bevelInner, value, [this] { Realign(); Invalidate(); });
}

void TCustomPanel::SetBevelOuter(TPanelBevel value)
{
    Store(m_bevelOuter, value, [this] { Realign(); Invalidate(); });
}

void TCustomPanel::SetBevelWidth(std::int32_t value)
{
    value = std::max(value, 1);
    Store(m_bevelWidth, value, [this] { Realign(); Invalidate(); });
}

void TCustomPanel::SetBorderWidth(std::int32_t value)
{
    value = std::max(value, 0);
    Store(m_borderWidth, value, [this] { Realign(); Invalidate(); });
}

void TCustomPanel::SetBorderStyle(TBorderStyle value)
{
    Store(m_borderStyle, value, [this] { Realign(); Invalidate(); });
}

void TCustomPanel::AlignControls(TControl* control, TRect& rect)
{
    std::int32_t inset = m_borderWidth + (m_borderStyle == bsSingle ? 1 : 0);
    if (m_bevelOuter != bvNone)
        inset += m_bevelWidth;
    if (m_bevelInner != bvNone)
        inset += m_bevelWidth;
    InflateRect(rect, -inset, -inset);
    TCustomControl::AlignControls(control, rect);
}

void TCustomPanel::Paint()
{
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    // Frames drawn as clipped fills: a panel may be as large as int32 allows.
    auto frame = [&canvas](TRect& rect, TColor top, TColor bottom, std::int32_t width) {
        for (std::int32_t i = 0; i < width && !rect.IsEmpty(); ++i)
            detail::DrawFrame(canvas, rect, top, bottom);
    };
    auto edge = [](TPanelBevel bevel, TColor& top, TColor& bottom) {
        top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    if (m_borderStyle == bsSingle)
        frame(r, clWindowFrame, clWindowFrame, 1);
    TColor top = 0, bottom = 0;
    if (m_bevelOuter != bvNone) {
        edge(m_bevelOuter, top, bottom);
        frame(r, top, bottom, m_bevelWidth);
    }
    frame(r, Color(), Color(), m_borderWidth);
    if (m_bevelInner != bvNone) {
        edge(m_bevelInner, top, bottom);
        frame(r, top, bottom, m_bevelWidth);
    }
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    canvas.Brush().SetStyle(bsClear);
    PaintCaption(r);
}

void TCustomPanel::PaintCaption(TRect rect)
{
    // The caption is centred on the middle line of the inner rectangle.
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    std::int32_t h = canvas.TextHeight("W");
    rect.Top = (rect.Top + rect.Bottom - h) / 2;
    rect.Bottom = rect.Top + h;
    std::uint32_t align = m_alignment == taRightJustify ? DT_RIGHT : m_alignment == taCenter ? DT_CENTER : DT_LEFT;
    DrawText(canvas, Caption(), rect, DT_EXPANDTABS | DT_VCENTER | align);
}

TPanel::TPanel(TComponent* owner)
    : TCustomPanel(owner)
{
}

const TEnumInfo& PanelBevelInfo()
{
    static const TEnumInfo info { "TPanelBevel", { "bvNone", "bvLowered", "bvRaised" } };
    return info;
}

const TEnumInfo& BevelShapeInfo()
{
    static const TEnumInfo info { "TBevelShape", { "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine" } };
    return info;
}

const TEnumInfo& BevelStyleInfo()
{
    static const TEnumInfo info { "TBevelStyle", { "bsLowered", "bsRaised" } };
    return info;
}

const TEnumInfo& BorderStyleInfo()
{
    static const TEnumInfo info { "TBorderStyle", { "bsNone", "bsSingle" } };
    return info;
}

const TClassInfo& TPanel::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TPanel>("TPanel", &TCustomControl::StaticClassInfo())
        .Apply([](auto& b) { PublishPanel(b); })
        .Creator([](TComponent* owner) -> TComponent* { return new TPanel(owner); })
        .Build();
    return info;
}

const TClassInfo& TPanel::ClassType() const
{
    return StaticClassInfo();
}

// ---- TBevel --------------------------------------------------------------

TBevel::TBevel(TComponent* owner)
    : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle().With(csReplicatable));
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value)
{
    Store(m_shape, value, [this] { Invalidate(); });
}

void TBevel::SetStyle(TBevelStyle value)
{
    Store(m_style, value, [this] { Invalidate(); });
}

void TBevel::Paint()
{
    TColor c1 = m_style == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = m_style == bsLowered ? clBtnHighlight : clBtnShadow;
    PaintShape(c1, c2);
}

void TBevel::PaintShape(TColor c1, TColor c2)
{
    TCanvas& canvas = Canvas();
    canvas.Pen().SetWidth(1);
    const std::int32_t w = Width(), h = Height();
    // A frame: c1 along the left and top, c2 along the right and bottom; the
    // last point of each polyline is not drawn.
    auto frame = [&](TRect r, TColor a, TColor b) {
        canvas.Pen().SetColor(a);
        canvas.Polyline({ Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top) });
        canvas.Pen().SetColor(b);
        canvas.Polyline({ Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom) });
    };
    auto line = [&](TColor c, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        canvas.Pen().SetColor(c);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (m_shape) {
    case bsBox:
        frame(Rect(0, 0, w - 1, h - 1), c1, c2);
        break;
    case bsFrame:
        frame(Rect(1, 1, w - 1, h - 1), c2, c2);
        frame(Rect(0, 0, w - 2, h - 2), c1, c1);
        break;
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    }
}

const TClassInfo& TBevel::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TBevel>("TBevel", &TGraphicControl::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align", "ParentShowHint" }); })
        .Enum("Shape", BevelShapeInfo(), &TBevel::Shape, &TBevel::SetShape, bsBox)
        .Apply([](auto& b) { PublishInherited(b, { "ShowHint" }); })
        .Enum("Style", BevelStyleInfo(), &TBevel::Style, &TBevel::SetStyle, bsLowered)
        .Apply([](auto& b) { PublishInherited(b, { "Visible" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TBevel(owner); })
        .Build();
    return info;
}

const TClassInfo& TBevel::ClassType() const
{
    return StaticClassInfo();
}

// ---- TImage --------------------------------------------------------------

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle().With(csReplicatable));
    SetBounds(0, 0, 105, 105);
    m_picture.SetOnChange([this](TObject*) { PictureChanged(); });
}

void TImage::PictureChanged()
{
    if (m_autoSize && !m_picture.Empty())
        SetBounds(Left(), Top(), m_picture.Width(), m_picture.Height());
    Invalidate();
}

void TImage::SetAutoSize(bool value)
{
    Store(m_autoSize, value, [this] { PictureChanged(); });
}

void TImage::SetCenter(bool value)
{
    Store(m_center, value, [this] { Invalidate(); });
}

void TImage::SetStretch(bool value)
{
    Store(m_stretch, value, [this] { Invalidate(); });
}

void TImage::SetTransparent(bool value)
{
    Store(m_transparent, value, [this] { Invalidate(); });
}

void TImage::Paint()
{
    if (m_picture.Empty())
        return;
    TRect dest = Bounds(0, 0, m_picture.Width(), m_picture.Height());
    if (m_stretch)
        dest = ClientRect();
    else if (m_center)
        OffsetRect(dest, (Width() - m_picture.Width()) / 2, (Height() - m_picture.Height()) / 2);
    bool wasTransparent = m_picture.Transparent();
    m_picture.SetOnChange(nullptr);
    m_picture.SetTransparent(m_transparent);
    Canvas().StretchDraw(dest, m_picture);
    m_picture.SetTransparent(wasTransparent);
    m_picture.SetOnChange([this](TObject*) { PictureChanged(); });
}

const TClassInfo& TImage::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TImage>("TImage", &TGraphicControl::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align" }); })
        .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false)
        .Bool("Center", &TImage::Center, &TImage::SetCenter, false)
        .Apply([](auto& b) { PublishInherited(b, { "DragCursor", "DragMode", "Enabled", "ParentShowHint" }); })
        .Object("Picture", "TPicture", [](TImage& i) -> TPersistent* { return &i.Picture(); })
        .Apply([](auto& b) { PublishInherited(b, { "PopupMenu", "ShowHint" }); })
        .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
        .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent, false)
        .Apply([](auto& b) {
            PublishInherited(b, { "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                                    "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TImage(owner); })
        .Build();
    return info;
}

const TClassInfo& TImage::ClassType() const
{
    return StaticClassInfo();
}

// ---- TPaintBox -----------------------------------------------------------

TPaintBox::TPaintBox(TComponent* owner)
    : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle().With(csReplicatable));
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    canvas.Brush().SetColor(Color());
    if (ComponentState().Contains(csDesigning)) {
        canvas.Pen().SetStyle(psDash);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(0, 0, Width(), Height());
        canvas.Pen().SetStyle(psSolid);
    }
    if (m_onPaint)
        m_onPaint(this);
}

const TClassInfo& TPaintBox::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TPaintBox>("TPaintBox", &TGraphicControl::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align", "Color", "DragCursor", "DragMode", "Enabled", "Font", "ParentColor",
                                                     "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Visible", "OnClick",
                                                     "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove",
                                                     "OnMouseUp" }); })
        .Event("OnPaint", "TNotifyEvent", &TPaintBox::OnPaint, &TPaintBox::SetOnPaint)
        .Apply([](auto& b) { PublishInherited(b, { "OnStartDrag" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TPaintBox(owner); })
        .Build();
    return info;
}

const TClassInfo& TPaintBox::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx

// ---- TCustomRadioGroup ---------------------------------------------------

namespace plx {

//! A radio button of a radio group: its checks go to the group.
class TGroupButton final : public TRadioButton {
public:
    explicit TGroupButton(TCustomRadioGroup& group)
        : TRadioButton(&group)
        , m_group(group)
    {
        SetParent(&group);
    }
    void Click() override { m_group.ButtonClicked(this); }

private:
    TCustomRadioGroup& m_group;
};

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner)
{
    SetControlStyle({ csSetCaption, csDoubleClicks });
    m_items.SetOnChange([this](TObject*) { ItemsChanged(); });
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    m_items.SetOnChange(nullptr);
}

TRadioButton* TCustomRadioGroup::Buttons(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_buttons.size())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return m_buttons[static_cast<std::size_t>(index)];
}

void TCustomRadioGroup::SetItemIndex(std::int32_t value)
{
    if (ComponentState().Contains(csLoading)) {
        m_itemIndex = value; // the items may come later in the file
        return;
    }
    if (value < -1 || value >= m_items.Count())
        value = -1;
    if (value == m_itemIndex)
        return;
    m_itemIndex = value;
    UpdateButtons();
}

void TCustomRadioGroup::SetColumns(std::int32_t value)
{
    Store(m_columns, std::clamp(value, 1, 16), [this] { ArrangeButtons(); });
}

void TCustomRadioGroup::ItemsChanged()
{
    while (m_buttons.size() > static_cast<std::size_t>(m_items.Count())) {
        delete m_buttons.back();
        m_buttons.pop_back();
    }
    while (m_buttons.size() < static_cast<std::size_t>(m_items.Count()))
        m_buttons.push_back(new TGroupButton(*this));
    if (!ComponentState().Contains(csLoading) && m_itemIndex >= m_items.Count())
        m_itemIndex = -1;
    UpdateButtons();
    ArrangeButtons();
}

void TCustomRadioGroup::UpdateButtons()
{
    m_updating = true;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        TRadioButton* b = m_buttons[i];
        b->SetCaption(m_items.Strings(static_cast<std::int32_t>(i)));
        b->SetEnabled(Enabled());
        b->SetChecked(static_cast<std::int32_t>(i) == m_itemIndex);
    }
    // One tab stop: the checked button, or the first while none is.
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->SetTabStop(static_cast<std::int32_t>(i) == std::max(m_itemIndex, 0));
    m_updating = false;
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (m_buttons.empty() || ComponentState().Contains(csLoading))
        return;
    const auto count = static_cast<std::int32_t>(m_buttons.size());
    const std::int32_t perColumn = (count + m_columns - 1) / m_columns;
    const std::int32_t buttonWidth = static_cast<std::int32_t>((std::int64_t { Width() } - 10) / m_columns);
    const auto room = static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t { Height() } - CaptionHeight() - 5, INT32_MIN));
    const std::int32_t buttonHeight = room / perColumn;
    const std::int32_t topMargin = CaptionHeight() + 1 + (room % perColumn) / 2;
    // In 64 bits: a group may be as large as any int32 allows.
    auto fit = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    for (std::int32_t i = 0; i < count; ++i)
        m_buttons[static_cast<std::size_t>(i)]->SetBounds(fit(std::int64_t { i / perColumn } * buttonWidth + 8),
            fit(std::int64_t { i % perColumn } * buttonHeight + topMargin), buttonWidth, buttonHeight);
}

void TCustomRadioGroup::ButtonClicked(TRadioButton* button)
{
    if (m_updating)
        return;
    auto it = std::find(m_buttons.begin(), m_buttons.end(), button);
    if (it == m_buttons.end() || !button->Checked())
        return;
    m_itemIndex = static_cast<std::int32_t>(it - m_buttons.begin());
    m_updating = true;
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->SetTabStop(static_cast<std::int32_t>(i) == m_itemIndex);
    m_updating = false;
    Click();
}

void TCustomRadioGroup::Loaded()
{
    TCustomGroupBox::Loaded();
    if (m_itemIndex < -1 || m_itemIndex >= m_items.Count())
        m_itemIndex = -1;
    UpdateButtons();
    ArrangeButtons();
}

void TCustomRadioGroup::Resize()
{
    ArrangeButtons();
    TCustomGroupBox::Resize();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& message)
{
    TCustomGroupBox::CMEnabledChanged(message);
    for (TRadioButton* b : m_buttons)
        b->SetEnabled(Enabled());
}

void TCustomRadioGroup::CMFontChanged(TMessage& message)
{
    TCustomGroupBox::CMFontChanged(message);
    ArrangeButtons();
}

void TCustomRadioGroup::CMDialogChar(TMessage& message)
{
    // The group's accelerator focuses its checked item (or the first).
    if (IsAccel(static_cast<std::uint32_t>(message.WParam), Caption()) && CanFocus() && !m_buttons.empty()) {
        message.Result = 1;
        TRadioButton* target = m_buttons[static_cast<std::size_t>(std::max(m_itemIndex, 0))];
        if (target->CanFocus())
            target->SetFocus();
        return;
    }
    TCustomGroupBox::CMDialogChar(message);
}

const TClassInfo& TCustomRadioGroup::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TCustomRadioGroup>("TCustomRadioGroup", &TCustomControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TCustomRadioGroup::ClassType() const
{
    return StaticClassInfo();
}

TRadioGroup::TRadioGroup(TComponent* owner)
    : TCustomRadioGroup(owner)
{
}

const TClassInfo& TRadioGroup::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TRadioGroup>("TRadioGroup", &TCustomRadioGroup::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align", "Caption", "Color" }); })
        .Integer("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns, 1)
        .Apply([](auto& b) { PublishInherited(b, { "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font" }); })
        .Integer("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex, -1)
        .Object("Items", "TStrings", [](TRadioGroup& g) -> TPersistent* { return &g.Items(); })
        .Apply([](auto& b) {
            PublishInherited(b, { "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
                                    "Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TRadioGroup(owner); })
        .Build();
    return info;
}

const TClassInfo& TRadioGroup::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
