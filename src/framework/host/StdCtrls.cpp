#include "framework/host/StdCtrls.h"

#include "rtl/Store.h"
#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "framework/host/Published.h"
#include "rtl/TypInfo.h"
#include "framework/host/WinControl.h"

namespace plx {

namespace {

std::uint32_t AlignmentFlag(TAlignment a) noexcept
{
    return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
}

} // namespace

TCustomLabel::TCustomLabel(TComponent* owner)
    : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle().With(csOpaque).With(csReplicatable));
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    Store(m_alignment, value, [this] { Invalidate(); });
}

void TCustomLabel::SetAutoSize(bool value)
{
    Store(m_autoSize, value, [this] { AdjustBounds(); });
}

void TCustomLabel::SetFocusControl(TComponent* control)
{
    if (m_focusControl)
        m_focusControl->RemoveFreeNotification(this);
    m_focusControl = dynamic_cast<TWinControl*>(control);
    if (m_focusControl)
        m_focusControl->FreeNotification(this);
}

TComponent* TCustomLabel::FocusControlComponent() const noexcept
{
    return m_focusControl;
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == m_focusControl)
        m_focusControl = nullptr;
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    Store(m_layout, value, [this] { Invalidate(); });
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    Store(m_showAccelChar, value, [this] { AdjustBounds(); Invalidate(); });
}

void TCustomLabel::SetTransparent(bool value)
{
    Store(m_transparent, value, [this] {
        SetControlStyle(m_transparent ? ControlStyle().Without(csOpaque) : ControlStyle().With(csOpaque));
        Invalidate();
    });
}

void TCustomLabel::SetWordWrap(bool value)
{
    Store(m_wordWrap, value, [this] { AdjustBounds(); Invalidate(); });
}

void TCustomLabel::DoDrawText(TCanvas& canvas, TRect& rect, std::uint32_t flags)
{
    std::string text = Caption();
    // An empty caption (or a lone "&") still measures one line high.
    if ((flags & DT_CALCRECT) && (text.empty() || (m_showAccelChar && text == "&")))
        text += ' ';
    if (!m_showAccelChar)
        flags |= DT_NOPREFIX;
    canvas.Font().Assign(&Font());
    if (!Enabled()) {
        OffsetRect(rect, 1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        DrawText(canvas, text, rect, flags);
        OffsetRect(rect, -1, -1);
        canvas.Font().SetColor(clBtnShadow);
    }
    DrawText(canvas, text, rect, flags);
}

void TCustomLabel::Paint()
{
    TCanvas& canvas = Canvas();
    if (!m_transparent) {
        canvas.Brush().SetColor(Color());
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(ClientRect());
    }
    canvas.Brush().SetStyle(bsClear);
    TRect r = ClientRect();
    std::uint32_t flags = DT_EXPANDTABS | (m_wordWrap ? DT_WORDBREAK : 0) | AlignmentFlag(m_alignment);
    if (m_layout != tlTop) {
        TRect measure = r;
        DoDrawText(canvas, measure, flags | DT_CALCRECT);
        std::int32_t offset = r.Height() - measure.Height();
        if (m_layout == tlCenter)
            offset /= 2;
        OffsetRect(r, 0, offset);
    }
    DoDrawText(canvas, r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!m_autoSize || ComponentState().Contains(csLoading))
        return;
    // Measured on a canvas of its own: the label may not be on a form yet.
    TBitmap scratch(1, 1);
    TRect r = ClientRect();
    r.Bottom = r.Top;
    if (!m_wordWrap)
        r.Right = r.Left;
    DoDrawText(scratch.Canvas(), r, DT_EXPANDTABS | DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0));
    std::int32_t left = Left();
    if (m_alignment == taRightJustify)
        left += Width() - r.Width();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::CMTextChanged(TMessage& message)
{
    AdjustBounds();
    TGraphicControl::CMTextChanged(message);
}

void TCustomLabel::CMFontChanged(TMessage& message)
{
    AdjustBounds();
    TGraphicControl::CMFontChanged(message);
}

void TCustomLabel::CMDialogChar(TMessage& message)
{
    if (m_focusControl && Enabled() && m_showAccelChar && IsAccel(static_cast<std::uint32_t>(message.WParam), Caption())
        && m_focusControl->CanFocus()) {
        m_focusControl->SetFocus();
        message.Result = 1;
    }
}

TLabel::TLabel(TComponent* owner)
    : TCustomLabel(owner)
{
}

const TClassInfo& TLabel::StaticClassInfo()
{
    static const TEnumInfo layouts { "TTextLayout", { "tlTop", "tlCenter", "tlBottom" } };
    static const TClassInfo info = TClassInfoBuilder<TLabel>("TLabel", &TGraphicControl::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align" }); })
        .Enum("Alignment", AlignmentInfo(), &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify)
        .Bool("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true)
        .Apply([](auto& b) { PublishInherited(b, { "Caption", "Color", "DragCursor", "DragMode", "Enabled" }); })
        .Reference("FocusControl", "TWinControl", &TCustomLabel::FocusControlComponent, &TCustomLabel::SetFocusControl)
        .Apply([](auto& b) { PublishInherited(b, { "Font" }); })
        .Enum("Layout", layouts, &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop)
        .Apply([](auto& b) { PublishInherited(b, { "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu" }); })
        .Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
        .Apply([](auto& b) { PublishInherited(b, { "ShowHint" }); })
        .Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
        .Apply([](auto& b) { PublishInherited(b, { "Visible" }); })
        .Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false)
        .Apply([](auto& b) {
            PublishInherited(b, { "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove",
                                    "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TLabel(owner); })
        .Build();
    return info;
}

const TClassInfo& TLabel::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
