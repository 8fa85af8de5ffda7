#include "framework/host/StdCtrls.h"

#include "rtl/Store.h"
#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Published.h"
#include "framework/host/Timer.h"
#include "framework/host/detail/ControlPaint.h"
#include "framework/host/detail/Survive.h"
#include "framework/host/detail/Utf8.h"
#include "rtl/TypInfo.h"
#include "framework/host/WinControl.h"

#include <algorithm>
#include <utility>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace plx {

namespace {

std::uint32_t AlignmentFlag(TAlignment a) noexcept
{
    return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
}

bool IsArrowKey(WPARAM key) noexcept
{
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// The height of a line of text in the font, measured on a canvas of its own
// (the control may not be on a form yet).
std::int32_t FontHeight(const TFont& font)
{
    TCanvas measure;
    measure.Font().Assign(&font);
    return measure.TextHeight("0");
}

// The width of a field's border: none, a frame of one line, or a sunken edge
// of two in 3-D.
std::int32_t FieldBorderWidth(TBorderStyle style, bool ctl3D) noexcept
{
    return style == bsNone ? 0 : ctl3D ? 2 : 1;
}

// A field's border (see FieldBorderWidth); shrinks rect to the inside.
void DrawFieldBorder(TCanvas& canvas, TRect& rect, bool ctl3D)
{
    if (ctl3D)
        detail::DrawSunkenEdge(canvas, rect);
    else
        detail::DrawFrame(canvas, rect, clWindowFrame, clWindowFrame);
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

// ==== Edits ===================================================================

namespace plx {

namespace {

// The caret blinks on the virtual clock like the platform's (half a second).
constexpr std::uint32_t kCaretBlinkTime = 500;

bool IsSpace(std::string_view text, std::size_t at) noexcept
{
    return at < text.size() && (text[at] == ' ' || text[at] == '\t');
}

std::string ApplyCase(std::string text, TEditCharCase charCase)
{
    if (charCase == ecNormal)
        return text;
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x80)
            c = charCase == ecUpperCase ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                                        : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

TCustomEdit::TCustomEdit(TComponent* owner)
    : TCustomControl(owner)
{
    SetControlStyle({ csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight, csOpaque });
    SetBounds(0, 0, 121, 25);
    SetColor(clWindow);
    SetTabStop(true);
    AdjustHeight();
}

TCustomEdit::~TCustomEdit()
{
    if (m_buddy)
        m_buddy->RemoveFreeNotification(this);
}

std::vector<std::size_t> TCustomEdit::Boundaries() const
{
    return detail::Utf8Boundaries(Text());
}

std::int32_t TCustomEdit::TextLength() const
{
    return static_cast<std::int32_t>(Boundaries().size()) - 1;
}

std::string TCustomEdit::DisplayText() const
{
    if (m_passwordChar.empty())
        return Text();
    std::string shown;
    for (std::int32_t i = TextLength(); i > 0; --i)
        shown += m_passwordChar;
    return shown;
}

std::string TCustomEdit::SelText() const
{
    auto b = Boundaries();
    const auto s = static_cast<std::size_t>(SelStart()), e = static_cast<std::size_t>(SelStart() + SelLength());
    return Text().substr(b[s], b[e] - b[s]);
}

void TCustomEdit::SetSelStart(std::int32_t value)
{
    MoveCaret(value, false);
}

void TCustomEdit::SetSelLength(std::int32_t value)
{
    const std::int32_t start = SelStart();
    m_anchor = start;
    m_caret = std::clamp(start + std::max(value, 0), 0, TextLength());
    ScrollToCaret();
    Invalidate();
}

void TCustomEdit::SelectAll()
{
    m_anchor = 0;
    m_caret = TextLength();
    ScrollToCaret();
    Invalidate();
}

void TCustomEdit::ClearSelection()
{
    if (SelLength() > 0)
        ReplaceSelection({}, false);
}

void TCustomEdit::SetSelText(const std::string& value)
{
    ReplaceSelection(value, false);
}

void TCustomEdit::Clear()
{
    SetText({});
}

void TCustomEdit::SetAutoSize(bool value)
{
    Store(m_autoSize, value, [this] { AdjustHeight(); });
}

void TCustomEdit::SetBorderStyle(TBorderStyle value)
{
    if (value != bsNone)
        value = bsSingle;
    Store(m_borderStyle, value, [this] {
        AdjustHeight();
        Invalidate();
    });
}

void TCustomEdit::SetCharCase(TEditCharCase value)
{
    if (Store(m_charCase, value, [] { }) && value != ecNormal)
        SetText(ApplyCase(Text(), value));
}

void TCustomEdit::SetHideSelection(bool value)
{
    Store(m_hideSelection, value, [this] { Invalidate(); });
}

void TCustomEdit::SetMaxLength(std::int32_t value)
{
    m_maxLength = std::max(value, 0);
}

void TCustomEdit::SetPasswordChar(const std::string& value)
{
    // One character, or none.
    std::string one = value.substr(0, value.empty() ? 0 : detail::Utf8CharLength(value));
    Store(m_passwordChar, one, [this] {
        m_scroll = 0;
        ScrollToCaret();
        Invalidate();
    });
}

void TCustomEdit::SetReadOnly(bool value)
{
    Store(m_readOnly, value, [this] { Invalidate(); });
}

void TCustomEdit::SetArrowKeyBuddy(TWinControl* buddy)
{
    if (m_buddy)
        m_buddy->RemoveFreeNotification(this);
    m_buddy = buddy;
    if (m_buddy)
        m_buddy->FreeNotification(this);
}

void TCustomEdit::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == m_buddy)
        m_buddy = nullptr;
}

TRect TCustomEdit::TextRect() const
{
    const std::int32_t border = FieldBorderWidth(m_borderStyle, Ctl3D());
    return Rect(border + 1, border + 1, Width() - border - 1, Height() - border - 1);
}

void TCustomEdit::AdjustHeight()
{
    if (!m_autoSize || ComponentState().Contains(csLoading))
        return;
    SetHeight(FontHeight(Font()) + 2 * FieldBorderWidth(m_borderStyle, Ctl3D()) + 4);
}

std::int32_t TCustomEdit::TextX(std::int32_t position) const
{
    TCanvas measure;
    measure.Font().Assign(&Font());
    const std::string shown = DisplayText();
    auto b = detail::Utf8Boundaries(shown);
    position = std::clamp(position, 0, static_cast<std::int32_t>(b.size()) - 1);
    return TextRect().Left - m_scroll + measure.TextWidth(std::string_view(shown).substr(0, b[static_cast<std::size_t>(position)]));
}

std::int32_t TCustomEdit::PositionAt(std::int32_t x) const
{
    // The boundary nearest to x; advances add up, so widths accumulate.
    TCanvas measure;
    measure.Font().Assign(&Font());
    const std::string shown = DisplayText();
    auto b = detail::Utf8Boundaries(shown);
    std::int32_t left = TextRect().Left - m_scroll;
    for (std::size_t i = 0; i + 1 < b.size(); ++i) {
        const std::int32_t w = measure.TextWidth(std::string_view(shown).substr(b[i], b[i + 1] - b[i]));
        if (x < left + (w + 1) / 2)
            return static_cast<std::int32_t>(i);
        left += w;
    }
    return static_cast<std::int32_t>(b.size()) - 1;
}

std::int32_t TCustomEdit::WordStart(std::int32_t position) const
{
    auto b = Boundaries();
    const std::string& text = Text();
    std::int32_t p = std::clamp(position, 0, static_cast<std::int32_t>(b.size()) - 1);
    while (p > 0 && IsSpace(text, b[static_cast<std::size_t>(p - 1)]))
        --p;
    while (p > 0 && !IsSpace(text, b[static_cast<std::size_t>(p - 1)]))
        --p;
    return p;
}

std::int32_t TCustomEdit::WordEnd(std::int32_t position) const
{
    // The start of the next word: past this word and the blanks after it.
    auto b = Boundaries();
    const std::string& text = Text();
    const auto n = static_cast<std::int32_t>(b.size()) - 1;
    std::int32_t p = std::clamp(position, 0, n);
    while (p < n && !IsSpace(text, b[static_cast<std::size_t>(p)]))
        ++p;
    while (p < n && IsSpace(text, b[static_cast<std::size_t>(p)]))
        ++p;
    return p;
}

void TCustomEdit::MoveCaret(std::int32_t position, bool extend)
{
    m_caret = std::clamp(position, 0, TextLength());
    if (!extend)
        m_anchor = m_caret;
    ScrollToCaret();
    RestartCaret();
    Invalidate();
}

void TCustomEdit::ScrollToCaret()
{
    const TRect tr = TextRect();
    const std::int32_t room = SaturateInt32(std::max<std::int64_t>(tr.Width(), 1));
    const std::int32_t x = TextX(m_caret) + m_scroll - tr.Left; // from the text's start
    const std::int32_t end = TextX(TextLength()) + m_scroll - tr.Left;
    if (x - m_scroll > room - 1)
        m_scroll = x - room + 1 + room / 4;
    if (x - m_scroll < 0)
        m_scroll = std::max(x - room / 4, 0);
    // Never leave room on the right while text lies hidden on the left.
    m_scroll = std::clamp(std::min(m_scroll, end - room + 1), 0, std::max(end, 0));
}

void TCustomEdit::RestartCaret()
{
    m_caretOn = true;
    if (m_caretTimer && m_caretTimer->Enabled()) {
        m_caretTimer->SetEnabled(false);
        m_caretTimer->SetEnabled(true);
    }
}

void TCustomEdit::SetTextFromEdit(const std::string& text)
{
    if (text == Text()) {
        Invalidate();
        return;
    }
    m_editing = true;
    SetText(text);
}

bool TCustomEdit::ReplaceSelection(std::string text, bool typed)
{
    auto b = Boundaries();
    const std::int32_t s = SelStart(), e = s + SelLength();
    const std::int32_t length = static_cast<std::int32_t>(b.size()) - 1;
    auto inserted = detail::Utf8Boundaries(text);
    if (typed && m_maxLength > 0) {
        const std::int32_t room = m_maxLength - (length - (e - s));
        if (room <= 0)
            return true;
        if (static_cast<std::int32_t>(inserted.size()) - 1 > room) {
            text.resize(inserted[static_cast<std::size_t>(room)]);
            inserted.resize(static_cast<std::size_t>(room) + 1);
        }
    }
    const std::string& old = Text();
    std::string result = old.substr(0, b[static_cast<std::size_t>(s)]) + text + old.substr(b[static_cast<std::size_t>(e)]);
    m_anchor = m_caret = s + static_cast<std::int32_t>(inserted.size()) - 1;
    if (typed)
        m_modified = true;
    return detail::Survives(*this, [&] { SetTextFromEdit(result); });
}

bool TCustomEdit::DeleteRange(std::int32_t from, std::int32_t to)
{
    const std::int32_t length = TextLength();
    from = std::clamp(from, 0, length);
    to = std::clamp(to, 0, length);
    if (from == to)
        return true;
    m_anchor = std::min(from, to);
    m_caret = std::max(from, to);
    return ReplaceSelection({}, true);
}

void TCustomEdit::Change()
{
    if (m_onChange) {
        auto handler = m_onChange;
        handler(this);
    }
}

void TCustomEdit::CMTextChanged(TMessage& message)
{
    const bool fromEdit = m_editing;
    m_editing = false;
    if (!fromEdit) {
        // Text set by code: the caret goes to the start, as the platform's edits do.
        m_anchor = m_caret = 0;
        m_scroll = 0;
        m_modified = false;
    }
    m_caret = std::min(m_caret, TextLength());
    m_anchor = std::min(m_anchor, TextLength());
    ScrollToCaret();
    RestartCaret();
    TCustomControl::CMTextChanged(message);
    Change();
}

void TCustomEdit::CMFontChanged(TMessage& message)
{
    TCustomControl::CMFontChanged(message);
    AdjustHeight();
}

void TCustomEdit::CMEnabledChanged(TMessage& message)
{
    TCustomControl::CMEnabledChanged(message);
    Invalidate();
}

void TCustomEdit::Loaded()
{
    TCustomControl::Loaded();
    AdjustHeight();
}

void TCustomEdit::CMWantSpecialKey(TMessage& message)
{
    if (IsArrowKey(message.WParam))
        message.Result = 1;
    else
        TCustomControl::CMWantSpecialKey(message);
}

void TCustomEdit::CMEnter(TMessage& message)
{
    // Reaching an edit by the keyboard selects its text; a click places the caret.
    if (m_autoSelect && !ControlState().Contains(csLButtonDown))
        SelectAll();
    TCustomControl::CMEnter(message);
}

void TCustomEdit::WMSetFocus(TMessage& message)
{
    if (!m_caretTimer) {
        m_caretTimer = std::make_unique<TTimer>(nullptr);
        m_caretTimer->SetBackground(true);
        m_caretTimer->SetInterval(kCaretBlinkTime);
        m_caretTimer->SetOnTimer([this](TObject*) {
            m_caretOn = !m_caretOn;
            const TRect tr = TextRect();
            const std::int32_t x = TextX(m_caret);
            InvalidateClientRect(Rect(x, tr.Top, x + 1, tr.Bottom));
        });
    }
    m_caretOn = true;
    m_caretTimer->SetEnabled(true);
    ScrollToCaret();
    TCustomControl::WMSetFocus(message);
}

void TCustomEdit::WMKillFocus(TMessage& message)
{
    if (m_caretTimer)
        m_caretTimer->SetEnabled(false);
    m_selecting = false;
    TCustomControl::WMKillFocus(message);
}

void TCustomEdit::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyDown(key, shift); }) || key == 0)
        return;
    const bool extend = shift.Contains(ssShift), byWord = shift.Contains(ssCtrl);
    const std::int32_t selEnd = SelStart() + SelLength();
    switch (key) {
    case VK_LEFT:
        if (SelLength() > 0 && !extend && !byWord)
            MoveCaret(SelStart(), false);
        else
            MoveCaret(byWord ? WordStart(m_caret) : m_caret - 1, extend);
        break;
    case VK_RIGHT:
        if (SelLength() > 0 && !extend && !byWord)
            MoveCaret(selEnd, false);
        else
            MoveCaret(byWord ? WordEnd(m_caret) : m_caret + 1, extend);
        break;
    case VK_HOME:
        MoveCaret(0, extend);
        break;
    case VK_END:
        MoveCaret(TextLength(), extend);
        break;
    case VK_DELETE:
        if (m_readOnly)
            break;
        if (SelLength() > 0)
            ReplaceSelection({}, true);
        else
            DeleteRange(m_caret, byWord ? WordEnd(m_caret) : m_caret + 1);
        return;
    case VK_BACK:
        if (m_readOnly)
            break;
        if (SelLength() > 0)
            ReplaceSelection({}, true);
        else
            DeleteRange(byWord ? WordStart(m_caret) : m_caret - 1, m_caret);
        return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        if (m_buddy) {
            std::uint16_t k = key;
            key = 0;
            m_buddy->Perform(WM_KEYDOWN, k, ShiftStateToKeyData(shift));
        }
        return;
    default:
        return;
    }
}

void TCustomEdit::WMChar(TMessage& message)
{
    auto code = static_cast<std::uint32_t>(message.WParam);
    message.Result = 1;
    // OnKeyPress sees (and may change or drop) the characters a char can hold.
    if (code < 0x100) {
        char key = static_cast<char>(code);
        if (!detail::Survives(*this, [&] { KeyPress(key); }) || key == 0)
            return;
        code = static_cast<unsigned char>(key);
    }
    if (code < 0x20 || code == 0x7F || m_readOnly)
        return; // control characters: Backspace acts on its key
    ReplaceSelection(ApplyCase(detail::Utf8Encode(code), m_charCase), true);
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    // A double click's press has selected a word already.
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        if (!Focused() && CanFocus() && !detail::Survives(*this, [&] { SetFocus(); }))
            return;
        MoveCaret(PositionAt(x), shift.Contains(ssShift));
        m_selecting = true;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_selecting && shift.Contains(ssLeft))
        MoveCaret(PositionAt(x), true);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft)
        m_selecting = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::WMLButtonDblClk(TMessage& message)
{
    // A double click selects the word under the pointer.
    const std::int32_t at = PositionAt(LParamToPoint(message.LParam).X);
    m_anchor = WordStart(std::min(at + 1, TextLength()));
    if (m_anchor > at)
        m_anchor = at;
    m_caret = WordEnd(at);
    ScrollToCaret();
    Invalidate();
    TCustomControl::WMLButtonDblClk(message);
}

void TCustomEdit::Paint()
{
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    if (m_borderStyle == bsSingle)
        DrawFieldBorder(canvas, r, Ctl3D());
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    canvas.Font().Assign(&Font());
    if (!Enabled())
        canvas.Font().SetColor(clGrayText);
    const TRect tr = TextRect();
    const std::string shown = DisplayText();
    const std::int32_t x0 = tr.Left - m_scroll;
    const TRect field = r; // the text stays inside the border
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(field, x0, tr.Top, shown);
    const std::int32_t textHeight = canvas.TextHeight("0");
    if (SelLength() > 0 && (Focused() || !m_hideSelection)) {
        TRect sel = Rect(TextX(SelStart()), tr.Top, TextX(SelStart() + SelLength()), tr.Top + textHeight);
        sel = Intersect(sel, field);
        canvas.Brush().SetColor(clHighlight);
        canvas.Font().SetColor(clHighlightText);
        canvas.TextRect(sel, x0, tr.Top, shown); // the solid brush fills the whole selection
    }
    if (CaretVisible()) {
        const std::int32_t x = TextX(m_caret);
        if (x >= field.Left && x < field.Right) {
            TCanvasStateGuard guard(canvas);
            canvas.Pen().SetMode(pmNot);
            canvas.MoveTo(x, tr.Top);
            canvas.LineTo(x, std::min(tr.Top + textHeight, field.Bottom));
        }
    }
}

TEdit::TEdit(TComponent* owner)
    : TCustomEdit(owner)
{
}

const TEnumInfo& EditCharCaseInfo()
{
    static const TEnumInfo info { "TEditCharCase", { "ecNormal", "ecUpperCase", "ecLowerCase" } };
    return info;
}

const TClassInfo& TEdit::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TEdit>("TEdit", &TCustomControl::StaticClassInfo())
        .Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
        .Bool("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize, true)
        .Enum("BorderStyle", BorderStyleInfo(), &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, bsSingle)
        .Enum("CharCase", EditCharCaseInfo(), &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, ecNormal)
        .Apply([](auto& b) { PublishInherited(b, { "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font" }); })
        .Bool("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection, true)
        .Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Apply([](auto& b) { PublishParentColor(b, false); })
        .Apply([](auto& b) { PublishInherited(b, { "ParentCtl3D", "ParentFont", "ParentShowHint" }); })
        .String("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar)
        .Apply([](auto& b) { PublishInherited(b, { "PopupMenu" }); })
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Apply([](auto& b) { PublishInherited(b, { "ShowHint", "TabOrder" }); })
        .Apply([](auto& b) { PublishTabStop(b, true); })
        .String("Text", &TControl::Text, &TControl::SetText)
        .Apply([](auto& b) { PublishInherited(b, { "Visible" }); })
        .Event("OnChange", "TNotifyEvent", &TCustomEdit::OnChange, &TCustomEdit::SetOnChange)
        .Apply([](auto& b) {
            PublishInherited(b, { "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                                    "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TEdit(owner); })
        .Build();
    return info;
}

const TClassInfo& TEdit::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx

// ==== Buttons =================================================================

namespace plx {

namespace {

// A check box's or radio button's caption starts this far from its side.
constexpr std::int32_t kCheckTextOffset = detail::kCheckSize + 4;

// Draws a check box's or radio button's caption beside its box and, when
// focused, the focus rectangle around the caption.
void PaintCheckCaption(TCanvas& canvas, const TControl& control, bool textOnLeft, bool focused)
{
    const std::int32_t w = control.Width(), h = control.Height();
    TRect area = textOnLeft ? Rect(0, 0, w - kCheckTextOffset, h) : Rect(kCheckTextOffset, 0, w, h);
    canvas.Font().Assign(&control.Font());
    detail::DrawCaption(canvas, control.Caption(), area, DT_LEFT | DT_VCENTER | DT_SINGLELINE, control.Enabled());
    if (!focused || control.Caption().empty())
        return;
    TRect extent = Rect(0, 0, 0, 0);
    DrawText(canvas, control.Caption(), extent, DT_CALCRECT | DT_SINGLELINE);
    const std::int32_t top = (h - extent.Height()) / 2;
    TRect focus = Rect(area.Left - 1, top - 1, area.Left + extent.Width() + 1, top + extent.Height() + 1);
    detail::DrawFocusRect(canvas, Intersect(focus, control.ClientRect()));
}

} // namespace

// ---- TButtonControl ----------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner)
    : TCustomControl(owner)
{
    // Clicks come from Activate, and a quick second press is a second click.
    SetControlStyle({ csCaptureMouse, csSetCaption });
    SetTabStop(true);
}

void TButtonControl::SetPressed(bool value)
{
    Store(m_pressed, value, [this] { Invalidate(); });
}

bool TButtonControl::TakeFocus()
{
    if (Focused() || !CanFocus())
        return true;
    return detail::Survives(*this, [&] { SetFocus(); });
}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft) {
        if (!TakeFocus())
            return;
        m_mouseHeld = true;
        SetPressed(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButtonControl::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_mouseHeld)
        SetPressed(ClientRect().Contains({ x, y }));
    TCustomControl::MouseMove(shift, x, y);
}

void TButtonControl::WMLButtonUp(TMessage& message)
{
    const bool activate = m_mouseHeld && m_pressed && ClientRect().Contains(LParamToPoint(message.LParam));
    m_mouseHeld = false;
    SetPressed(m_spaceHeld);
    SetMouseCapture(false);
    if (activate && !detail::Survives(*this, [&] { Activate(); }))
        return;
    TCustomControl::WMLButtonUp(message);
}

void TButtonControl::WMCancelMode(TMessage& message)
{
    m_mouseHeld = false;
    SetPressed(m_spaceHeld);
    TCustomControl::WMCancelMode(message);
}

void TButtonControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyDown(key, shift); }))
        return;
    if (key == VK_SPACE && !shift.Contains(ssAlt)) {
        m_spaceHeld = true;
        SetPressed(true);
    }
}

void TButtonControl::KeyUp(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyUp(key, shift); }))
        return;
    if (key == VK_SPACE && m_spaceHeld) {
        m_spaceHeld = false;
        SetPressed(m_mouseHeld);
        Activate();
    }
}

void TButtonControl::WMKillFocus(TMessage& message)
{
    m_spaceHeld = false;
    if (!m_mouseHeld)
        SetPressed(false);
    TCustomControl::WMKillFocus(message);
}

void TButtonControl::CMEnabledChanged(TMessage& message)
{
    m_spaceHeld = false;
    m_mouseHeld = false;
    SetPressed(false);
    TCustomControl::CMEnabledChanged(message);
}

void TButtonControl::CMFocusChanged(TMessage& message)
{
    TCustomControl::CMFocusChanged(message);
}

void TButtonControl::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<std::uint32_t>(message.WParam), Caption()) && CanFocus()) {
        message.Result = 1;
        if (TakeFocus())
            Activate();
        return;
    }
    TCustomControl::CMDialogChar(message);
}

// ---- TButton -------------------------------------------------------------------

TButton::TButton(TComponent* owner)
    : TButtonControl(owner)
{
    SetBounds(0, 0, 75, 25);
    SetControlStyle(ControlStyle().With(csOpaque));
}

void TButton::SetDefault(bool value)
{
    Store(m_default, value, [this] {
        // The focus decides which button Enter clicks; away from buttons it is the default one.
        auto* focused = GetParentForm(this) ? GetParentForm(this)->ActiveControl() : nullptr;
        m_active = dynamic_cast<TButton*>(focused) ? focused == this : m_default;
        Invalidate();
    });
}

void TButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(m_modalResult);
    TButtonControl::Click();
}

void TButton::Activate()
{
    Click();
}

void TButton::Paint()
{
    TCanvas& canvas = Canvas();
    using detail::TButtonFace;
    const TButtonFace face = Pressed() ? TButtonFace::Pressed
        : Enabled() && (m_active || Focused()) ? TButtonFace::Default
                                             : TButtonFace::Up;
    const TRect content = detail::DrawPushButton(canvas, ClientRect(), face);
    PaintContent(canvas, content);
    if (Focused()) {
        TRect focus = ClientRect();
        InflateRect(focus, -4, -4);
        detail::DrawFocusRect(canvas, focus);
    }
}

void TButton::PaintContent(TCanvas& canvas, const TRect& content)
{
    canvas.Font().Assign(&Font());
    detail::DrawCaption(canvas, Caption(), content, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled());
}

void TButton::CMDialogKey(TMessage& message)
{
    const bool plain = KeyDataToShiftState(message.LParam).Empty();
    if (plain && ((message.WParam == VK_RETURN && m_active) || (message.WParam == VK_ESCAPE && m_cancel)) && CanFocus()) {
        message.Result = 1;
        Click();
        return;
    }
    TButtonControl::CMDialogKey(message);
}

void TButton::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<std::uint32_t>(message.WParam), Caption()) && CanFocus()) {
        message.Result = 1;
        Click();
        return;
    }
    TButtonControl::CMDialogChar(message);
}

void TButton::CMFocusChanged(TMessage& message)
{
    auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
    const bool active = dynamic_cast<TButton*>(focused) ? focused == this : m_default;
    Store(m_active, active, [this] { Invalidate(); });
    TButtonControl::CMFocusChanged(message);
}

const TClassInfo& TButton::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TButton>("TButton", &TCustomControl::StaticClassInfo())
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .Apply([](auto& b) { PublishInherited(b, { "Caption" }); })
        .Bool("Default", &TButton::Default, &TButton::SetDefault, false)
        .Apply([](auto& b) { PublishInherited(b, { "DragCursor", "DragMode", "Enabled", "Font" }); })
        .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone, nullptr, "TModalResult")
        .Apply([](auto& b) { PublishInherited(b, { "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder" }); })
        .Apply([](auto& b) { PublishTabStop(b, true); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                                    "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TButton(owner); })
        .Build();
    return info;
}

const TClassInfo& TButton::ClassType() const
{
    return StaticClassInfo();
}

// ---- TCustomCheckBox -------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* owner)
    : TButtonControl(owner)
{
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetAlignment(TAlignment value)
{
    Store(m_alignment, value == taLeftJustify ? taLeftJustify : taRightJustify, [this] { Invalidate(); });
}

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    // OnClick, which may free the check box, comes last.
    if (Store(m_state, value, [this] { Invalidate(); }) && !ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::Toggle()
{
    switch (m_state) {
    case cbUnchecked:
        SetState(m_allowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::Activate()
{
    Toggle();
}

void TCustomCheckBox::Paint()
{
    TCanvas& canvas = Canvas();
    const bool textOnLeft = m_alignment == taLeftJustify;
    const detail::TCheckMark mark = m_state == cbChecked ? detail::TCheckMark::Checked
        : m_state == cbGrayed                           ? detail::TCheckMark::Grayed
                                                        : detail::TCheckMark::Unchecked;
    detail::DrawCheckBox(canvas, textOnLeft ? Width() - detail::kCheckSize : 0, (Height() - detail::kCheckSize) / 2, mark, Enabled(), Pressed());
    PaintCheckCaption(canvas, *this, textOnLeft, Focused());
}

TCheckBox::TCheckBox(TComponent* owner)
    : TCustomCheckBox(owner)
{
}

const TEnumInfo& CheckBoxStateInfo()
{
    static const TEnumInfo info { "TCheckBoxState", { "cbUnchecked", "cbChecked", "cbGrayed" } };
    return info;
}

const TEnumInfo& LeftRightInfo()
{
    static const TEnumInfo info { "TLeftRight", { "taLeftJustify", "taRightJustify" } };
    return info;
}

const TClassInfo& TCheckBox::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TCheckBox>("TCheckBox", &TCustomControl::StaticClassInfo())
        .Enum("Alignment", LeftRightInfo(), &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment, taRightJustify)
        .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false)
        .Apply([](auto& b) { PublishInherited(b, { "Caption" }); })
        .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked, false).NotStored()
        .Apply([](auto& b) {
            PublishInherited(b, { "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font", "ParentColor", "ParentCtl3D", "ParentFont",
                                    "ParentShowHint", "PopupMenu", "ShowHint" });
        })
        .Enum("State", CheckBoxStateInfo(), &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked)
        .Apply([](auto& b) { PublishInherited(b, { "TabOrder" }); })
        .Apply([](auto& b) { PublishTabStop(b, true); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                                    "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TCheckBox(owner); })
        .Build();
    return info;
}

const TClassInfo& TCheckBox::ClassType() const
{
    return StaticClassInfo();
}

// ---- TRadioButton ----------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner)
    : TButtonControl(owner)
{
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetAlignment(TAlignment value)
{
    Store(m_alignment, value == taLeftJustify ? taLeftJustify : taRightJustify, [this] { Invalidate(); });
}

void TRadioButton::SetChecked(bool value)
{
    if (value == m_checked)
        return;
    m_checked = value;
    SetTabStop(value);
    Invalidate();
    if (!value)
        return;
    if (TWinControl* parent = Parent())
        for (std::int32_t i = 0; i < parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    // OnClick, which may free the radio button, comes last.
    if (!ComponentState().Contains(csLoading))
        Click();
}

void TRadioButton::Activate()
{
    if (!m_checked)
        SetChecked(true);
}

void TRadioButton::Paint()
{
    TCanvas& canvas = Canvas();
    const bool textOnLeft = m_alignment == taLeftJustify;
    const std::int32_t x = textOnLeft ? Width() - detail::kCheckSize : 0;
    detail::DrawRadioButton(canvas, x, (Height() - detail::kRadioSize) / 2, m_checked, Enabled(), Pressed());
    PaintCheckCaption(canvas, *this, textOnLeft, Focused());
}

void TRadioButton::CMWantSpecialKey(TMessage& message)
{
    if (IsArrowKey(message.WParam))
        message.Result = 1;
    else
        TButtonControl::CMWantSpecialKey(message);
}

void TRadioButton::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TButtonControl::KeyDown(key, shift); }) || key == 0)
        return;
    if (!IsArrowKey(key))
        return;
    const bool forward = key == VK_RIGHT || key == VK_DOWN;
    key = 0;
    TWinControl* parent = Parent();
    if (!parent)
        return;
    // The arrows move the focus and the check to the next radio button beside this one.
    TWinControl* next = this;
    do
        next = parent->FindNextControl(next, forward, false, true);
    while (next && next != this && !dynamic_cast<TRadioButton*>(next));
    auto* radio = dynamic_cast<TRadioButton*>(next);
    if (!radio || radio == this)
        return;
    if (!detail::Survives(*radio, [&] { radio->SetFocus(); }))
        return;
    radio->SetChecked(true);
}

const TClassInfo& TRadioButton::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TRadioButton>("TRadioButton", &TCustomControl::StaticClassInfo())
        .Enum("Alignment", LeftRightInfo(), &TRadioButton::Alignment, &TRadioButton::SetAlignment, taRightJustify)
        .Apply([](auto& b) { PublishInherited(b, { "Caption" }); })
        .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false)
        .Apply([](auto& b) {
            PublishInherited(b, { "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font", "ParentColor", "ParentCtl3D", "ParentFont",
                                    "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder" });
        })
        // A checked radio button is a tab stop by being checked.
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).StoredWhen([](const TRadioButton& r) { return r.TabStop() != r.Checked(); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                                    "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TRadioButton(owner); })
        .Build();
    return info;
}

const TClassInfo& TRadioButton::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx

// ==== List boxes ================================================================

namespace plx {

namespace {

// Held scroll arrows repeat after this long, then this often.
constexpr std::uint32_t kRepeatDelay = 500;
constexpr std::uint32_t kRepeatInterval = 100;

// Division rounding toward minus infinity; b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The next item after `from` (wrapping) whose text starts with letter, or -1.
std::int32_t FindItemByLetter(const TStrings& items, std::int32_t from, char letter)
{
    const std::int32_t n = items.Count();
    const int wanted = std::toupper(static_cast<unsigned char>(letter));
    for (std::int32_t k = 1; k <= n; ++k) {
        const std::int32_t i = ((from < 0 ? -1 : from) + k) % n;
        const std::string text = items.Strings(i);
        if (!text.empty() && std::toupper(static_cast<unsigned char>(text[0])) == wanted)
            return i;
    }
    return -1;
}

// Which arrows move through a list: all four, or only up and down (a
// drop-down list leaves left and right to its combo box).
enum class TListArrows : std::uint8_t { All, UpDown };

// The item a navigation key moves the selection of a list of count items to,
// from current (-1: none), page rows at a time; none for other keys and in an
// empty list.
std::optional<std::int32_t> ItemAfterKey(std::uint16_t key, std::int32_t current, std::int32_t count, std::int32_t page,
    TListArrows arrows)
{
    const bool sideways = arrows == TListArrows::All;
    std::int32_t target = current;
    if (key == VK_UP || (sideways && key == VK_LEFT))
        target = current <= 0 ? 0 : current - 1;
    else if (key == VK_DOWN || (sideways && key == VK_RIGHT))
        target = current < 0 ? 0 : current + 1;
    else if (key == VK_HOME)
        target = 0;
    else if (key == VK_END)
        target = count - 1;
    else if (key == VK_PRIOR)
        target = std::max(current, 0) - page;
    else if (key == VK_NEXT)
        target = std::max(current, 0) + page;
    else
        return std::nullopt;
    if (count == 0)
        return std::nullopt;
    return std::clamp(target, 0, count - 1);
}

// Narrows a canvas's clip for a scope.
class TClipGuard {
public:
    TClipGuard(TCanvas& canvas, const TRect& rect)
        : m_canvas(canvas)
        , m_saved(canvas.ClipRect())
    {
        canvas.SetClipRect(Intersect(m_saved, rect));
    }
    ~TClipGuard() { m_canvas.SetClipRect(m_saved); }
    TClipGuard(const TClipGuard&) = delete;
    TClipGuard& operator=(const TClipGuard&) = delete;

private:
    TCanvas& m_canvas;
    TRect m_saved;
};

} // namespace

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner)
{
    SetControlStyle({ csCaptureMouse, csDoubleClicks, csOpaque });
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
    m_items.SetOnChange([this](TObject*) { ItemsChanged(); });
}

TCustomListBox::~TCustomListBox()
{
    m_items.SetOnChange(nullptr);
}

std::int32_t TCustomListBox::ItemHeight() const
{
    return m_style == lbStandard ? std::max(FontHeight(Font()), 1) : m_itemHeight;
}

void TCustomListBox::SetItemHeight(std::int32_t value)
{
    if (value <= 0)
        return;
    Store(m_itemHeight, value, [this] {
        SetTopIndex(m_topIndex);
        Invalidate();
    });
}

void TCustomListBox::SetStyle(TListBoxStyle value)
{
    Store(m_style, value, [this] {
        SetTopIndex(m_topIndex);
        Invalidate();
    });
}

void TCustomListBox::SetSorted(bool value)
{
    m_items.SetSorted(value);
}

void TCustomListBox::SetBorderStyle(TBorderStyle value)
{
    Store(m_borderStyle, value == bsNone ? bsNone : bsSingle, [this] { Invalidate(); });
}

TRect TCustomListBox::InnerRect() const
{
    const std::int32_t border = FieldBorderWidth(m_borderStyle, Ctl3D());
    return Rect(border, border, std::max(Width() - border, border), std::max(Height() - border, border));
}

std::int32_t TCustomListBox::VisibleRows() const
{
    return SaturateInt32(std::max<std::int64_t>(InnerRect().Height() / ItemHeight(), 1));
}

bool TCustomListBox::ScrollBarVisible() const
{
    return m_items.Count() > VisibleRows();
}

TRect TCustomListBox::ScrollBarRect() const
{
    const TRect inner = InnerRect();
    return Rect(std::max(inner.Right - detail::kScrollBarSize, inner.Left), inner.Top, inner.Right, inner.Bottom);
}

TRect TCustomListBox::ListRect() const
{
    TRect r = InnerRect();
    if (ScrollBarVisible())
        r.Right = ScrollBarRect().Left;
    return r;
}

std::int32_t TCustomListBox::MaxTopIndex() const
{
    return std::max(m_items.Count() - VisibleRows(), 0);
}

TRect TCustomListBox::ItemRect(std::int32_t index) const
{
    const TRect lr = ListRect();
    const std::int32_t h = ItemHeight();
    const std::int64_t top = lr.Top + static_cast<std::int64_t>(index - m_topIndex) * h;
    const auto clampedTop = static_cast<std::int32_t>(std::clamp<std::int64_t>(top, INT32_MIN / 2, INT32_MAX / 2));
    const auto clampedBottom = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t { clampedTop } + h, INT32_MAX));
    return Rect(lr.Left, clampedTop, lr.Right, clampedBottom);
}

std::int32_t TCustomListBox::ItemAtPos(TPoint point, bool existing) const
{
    const TRect lr = ListRect();
    const std::int64_t row = FloorDiv(std::int64_t { point.Y } - lr.Top, std::int64_t { ItemHeight() });
    const auto index = static_cast<std::int32_t>(std::clamp<std::int64_t>(m_topIndex + row, INT32_MIN, INT32_MAX));
    if (!existing)
        return index;
    return lr.Contains(point) && index >= 0 && index < m_items.Count() ? index : -1;
}

void TCustomListBox::SetItemIndex(std::int32_t value)
{
    if (value < -1 || value >= m_items.Count())
        value = -1;
    Store(m_itemIndex, value, [this] { Invalidate(); });
    if (value < 0)
        return;
    const std::int32_t rows = VisibleRows();
    if (value < m_topIndex)
        SetTopIndex(value);
    else if (value >= m_topIndex + rows)
        SetTopIndex(value - rows + 1);
}

void TCustomListBox::SetTopIndex(std::int32_t value)
{
    value = std::clamp(value, 0, MaxTopIndex());
    Store(m_topIndex, value, [this] { Invalidate(); });
}

void TCustomListBox::ScrollBy(std::int32_t rows)
{
    SetTopIndex(static_cast<std::int32_t>(std::clamp<std::int64_t>(static_cast<std::int64_t>(m_topIndex) + rows, 0, INT32_MAX)));
}

void TCustomListBox::ItemsChanged()
{
    if (m_itemIndex >= m_items.Count())
        m_itemIndex = -1;
    SetTopIndex(m_topIndex);
    Invalidate();
}

void TCustomListBox::Loaded()
{
    TCustomControl::Loaded();
    ItemsChanged();
}

void TCustomListBox::Resize()
{
    SetTopIndex(m_topIndex);
    TCustomControl::Resize();
}

void TCustomListBox::CMFontChanged(TMessage& message)
{
    TCustomControl::CMFontChanged(message);
    SetTopIndex(m_topIndex);
}

void TCustomListBox::CMWantSpecialKey(TMessage& message)
{
    if (IsArrowKey(message.WParam))
        message.Result = 1;
    else
        TCustomControl::CMWantSpecialKey(message);
}

void TCustomListBox::UserSelect(std::int32_t index)
{
    SetItemIndex(index);
    Click();
}

std::int32_t TCustomListBox::FindByLetter(char letter) const
{
    return FindItemByLetter(m_items, m_itemIndex, letter);
}

void TCustomListBox::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyDown(key, shift); }) || key == 0)
        return;
    const std::int32_t page = std::max(VisibleRows() - 1, 1);
    const auto target = ItemAfterKey(key, m_itemIndex, m_items.Count(), page, TListArrows::All);
    if (target && *target != m_itemIndex)
        UserSelect(*target);
}

void TCustomListBox::KeyPress(char& key)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyPress(key); }) || static_cast<unsigned char>(key) < 0x20)
        return;
    const std::int32_t found = FindByLetter(key);
    if (found >= 0 && found != m_itemIndex)
        UserSelect(found);
}

void TCustomListBox::PressScrollBar(TPoint point)
{
    const auto layout = detail::TScrollBarLayout::Make(ScrollBarRect(), m_topIndex, MaxTopIndex(), VisibleRows());
    const detail::TScrollPart part = layout.HitTest(point);
    if (part == detail::TScrollPart::None)
        return;
    m_scrollPart = static_cast<std::uint8_t>(part);
    m_scrollPartHot = true;
    m_scrollPoint = point;
    Invalidate();
    if (part == detail::TScrollPart::Thumb) {
        m_thumbGrab = point.Y - layout.thumb.Top;
        return;
    }
    ScrollStep();
    if (!m_repeat) {
        m_repeat = std::make_unique<TTimer>(nullptr);
        m_repeat->SetOnTimer([this](TObject*) {
            m_repeat->SetInterval(kRepeatInterval);
            if (m_scrollPartHot)
                ScrollStep();
        });
    }
    m_repeat->SetEnabled(false);
    m_repeat->SetInterval(kRepeatDelay);
    m_repeat->SetEnabled(true);
}

void TCustomListBox::ScrollStep()
{
    const auto layout = detail::TScrollBarLayout::Make(ScrollBarRect(), m_topIndex, MaxTopIndex(), VisibleRows());
    switch (static_cast<detail::TScrollPart>(m_scrollPart)) {
    case detail::TScrollPart::LineUp:
        ScrollBy(-1);
        break;
    case detail::TScrollPart::LineDown:
        ScrollBy(1);
        break;
    case detail::TScrollPart::PageUp:
        // Pages stop once the thumb reaches the pointer.
        if (m_scrollPoint.Y < layout.thumb.Top)
            ScrollBy(-VisibleRows());
        break;
    case detail::TScrollPart::PageDown:
        if (m_scrollPoint.Y >= layout.thumb.Bottom)
            ScrollBy(VisibleRows());
        break;
    default:
        break;
    }
}

void TCustomListBox::ReleaseScrollBar()
{
    if (m_repeat)
        m_repeat->SetEnabled(false);
    if (m_scrollPart != 0)
        Invalidate();
    m_scrollPart = 0;
    m_scrollPartHot = false;
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    const TPoint p { x, y };
    // A double click's press is handled by WMLButtonDblClk.
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        if (ScrollBarVisible() && ScrollBarRect().Contains(p)) {
            PressScrollBar(p);
        } else {
            if (!Focused() && CanFocus() && !detail::Survives(*this, [&] { SetFocus(); }))
                return;
            m_selecting = true;
            const std::int32_t index = ItemAtPos(p, true);
            if (index >= 0 && !detail::Survives(*this, [&] { UserSelect(index); }))
                return;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    const TPoint p { x, y };
    if (m_scrollPart != 0) {
        const auto layout = detail::TScrollBarLayout::Make(ScrollBarRect(), m_topIndex, MaxTopIndex(), VisibleRows());
        const auto part = static_cast<detail::TScrollPart>(m_scrollPart);
        if (part == detail::TScrollPart::Thumb) {
            SetTopIndex(layout.PositionAt(y - m_thumbGrab, MaxTopIndex()));
        } else {
            m_scrollPoint = p;
            const bool hot = layout.HitTest(p) == part || ((part == detail::TScrollPart::PageUp || part == detail::TScrollPart::PageDown) && layout.track.Contains(p));
            if (hot != m_scrollPartHot) {
                m_scrollPartHot = hot;
                Invalidate();
            }
        }
    } else if (m_selecting && shift.Contains(ssLeft) && m_items.Count() > 0) {
        // Dragging past the ends scrolls one row at a time.
        const std::int32_t index = std::clamp(ItemAtPos(p, false), 0, m_items.Count() - 1);
        if (index != m_itemIndex && !detail::Survives(*this, [&] { UserSelect(index); }))
            return;
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft) {
        m_selecting = false;
        ReleaseScrollBar();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomListBox::WMLButtonDblClk(TMessage& message)
{
    const TPoint p = LParamToPoint(message.LParam);
    if (ScrollBarVisible() && ScrollBarRect().Contains(p)) {
        PressScrollBar(p);
    } else {
        const std::int32_t index = ItemAtPos(p, true);
        if (index >= 0) {
            m_selecting = true;
            if (index != m_itemIndex && !detail::Survives(*this, [&] { UserSelect(index); }))
                return;
            if (!detail::Survives(*this, [&] { DblClick(); }))
                return;
        }
    }
    TCustomControl::WMLButtonDblClk(message);
}

void TCustomListBox::WMCancelMode(TMessage& message)
{
    m_selecting = false;
    ReleaseScrollBar();
    TCustomControl::WMCancelMode(message);
}

void TCustomListBox::DrawItem(std::int32_t index, TRect rect, TOwnerDrawState state)
{
    if (m_style != lbStandard && m_onDrawItem) {
        auto handler = m_onDrawItem;
        handler(this, index, rect, state);
        return;
    }
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    canvas.TextOut(rect.Left + 2, rect.Top, m_items.Strings(index));
}

void TCustomListBox::Paint()
{
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    if (m_borderStyle == bsSingle)
        DrawFieldBorder(canvas, r, Ctl3D());
    const TRect lr = ListRect();
    const std::int32_t count = m_items.Count();
    const std::int32_t focusIndex = m_itemIndex >= 0 ? m_itemIndex : 0;
    std::int32_t bottom = lr.Top;
    {
        TClipGuard clip(canvas, lr);
        for (std::int32_t i = m_topIndex; i < count; ++i) {
            const TRect item = ItemRect(i);
            if (item.Top >= lr.Bottom)
                break;
            TOwnerDrawState state;
            if (i == m_itemIndex)
                state.Include(odSelected);
            if (!Enabled())
                state.Include(odDisabled);
            if (i == focusIndex && Focused())
                state.Include(odFocused);
            canvas.Font().Assign(&Font());
            canvas.Brush().SetColor(Color());
            if (state.Contains(odSelected)) {
                canvas.Brush().SetColor(clHighlight);
                canvas.Font().SetColor(clHighlightText);
            } else if (!Enabled()) {
                canvas.Font().SetColor(clGrayText);
            }
            if (!detail::Survives(*this, [&] { DrawItem(i, item, state); }))
                return;
            if (state.Contains(odFocused))
                detail::DrawFocusRect(canvas, item);
            bottom = item.Bottom;
        }
        canvas.Brush().SetColor(Color());
        canvas.FillRect(Rect(lr.Left, bottom, lr.Right, lr.Bottom));
        if (count == 0 && Focused())
            detail::DrawFocusRect(canvas, ItemRect(0));
    }
    if (ScrollBarVisible()) {
        const auto layout = detail::TScrollBarLayout::Make(ScrollBarRect(), m_topIndex, MaxTopIndex(), VisibleRows());
        const auto part = static_cast<detail::TScrollPart>(m_scrollPart);
        detail::DrawVScrollBar(canvas, layout, m_scrollPartHot && part != detail::TScrollPart::Thumb ? part : detail::TScrollPart::None);
    }
}

TListBox::TListBox(TComponent* owner)
    : TCustomListBox(owner)
{
}

const TEnumInfo& ListBoxStyleInfo()
{
    static const TEnumInfo info { "TListBoxStyle", { "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable" } };
    return info;
}

const TClassInfo& TListBox::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TListBox>("TListBox", &TCustomControl::StaticClassInfo())
        .Apply([](auto& b) { PublishInherited(b, { "Align" }); })
        .Enum("BorderStyle", BorderStyleInfo(), &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle, bsSingle)
        .Apply([](auto& b) { PublishInherited(b, { "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font" }); })
        .Integer("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
        .Object("Items", "TStrings", [](TListBox& l) -> TPersistent* { return &l.Items(); })
        .Apply([](auto& b) { PublishParentColor(b, false); })
        .Apply([](auto& b) { PublishInherited(b, { "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint" }); })
        .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
        .Enum("Style", ListBoxStyleInfo(), &TCustomListBox::Style, &TCustomListBox::SetStyle, lbStandard)
        .Apply([](auto& b) { PublishInherited(b, { "TabOrder" }); })
        .Apply([](auto& b) { PublishTabStop(b, true); })
        .Apply([](auto& b) { PublishInherited(b, { "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver" }); })
        .Event("OnDrawItem", "TDrawItemEvent", &TCustomListBox::OnDrawItem, &TCustomListBox::SetOnDrawItem)
        .Apply([](auto& b) {
            PublishInherited(b, { "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                                    "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TListBox(owner); })
        .Build();
    return info;
}

const TClassInfo& TListBox::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx

// ==== Combo boxes ===============================================================

namespace plx {

namespace detail {

//! The list in a combo box's pop-up: the selection follows the pointer, and a
//! release on an item picks it.
class TComboListBox final : public TCustomListBox {
public:
    TComboListBox(TComponent* owner, TCustomComboBox& combo)
        : TCustomListBox(owner)
        , m_combo(&combo)
    {
        SetBorderStyle(bsNone);
        SetTabStop(false);
    }
    void Detach() noexcept { m_combo = nullptr; }

protected:
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override
    {
        // The scroll bar works as in any list; rows do not take the focus.
        if (ScrollBarVisible() && !ListRect().Contains({ x, y })) {
            TCustomListBox::MouseDown(button, shift, x, y);
            return;
        }
        Track({ x, y });
    }
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override
    {
        if (Scrolling()) {
            TCustomListBox::MouseMove(shift, x, y);
            return;
        }
        Track({ x, y });
    }
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override
    {
        if (Scrolling() || button != mbLeft) {
            TCustomListBox::MouseUp(button, shift, x, y);
            return;
        }
        const std::int32_t index = ItemAtPos({ x, y }, true);
        if (index >= 0 && m_combo)
            m_combo->CloseUp(index); // may free the combo box; the pop-up outlives it
    }
    void WMLButtonDblClk(TMessage& message) override
    {
        const TPoint p = LParamToPoint(message.LParam);
        MouseDown(mbLeft, {}, p.X, p.Y);
    }

private:
    void Track(TPoint p)
    {
        const std::int32_t index = ItemAtPos(p, true);
        if (index >= 0)
            SetItemIndex(index);
    }

    TCustomComboBox* m_combo;
};

//! A combo box's drop-down: a pop-up window with a black frame around the
//! list. It is not owned by the combo box: a pick may free the combo box
//! while the pop-up is handling the click, so a combo box that goes releases
//! its pop-up, which the event loop frees afterwards.
class TComboPopup final : public TCustomForm {
public:
    explicit TComboPopup(TCustomComboBox& combo)
        : TCustomForm(nullptr)
        , m_combo(&combo)
    {
        MakePopup();
        SetBorderStyle(bsNone);
        SetColor(clWindowFrame);
        m_list = new TComboListBox(this, combo);
        m_list->SetParent(this);
    }
    [[nodiscard]] TCustomListBox& List() noexcept { return *m_list; }
    //! The combo box is going: hide, forget it, and go at the next round of the loop.
    void Detach() noexcept
    {
        m_combo = nullptr;
        m_list->Detach();
        try {
            Hide();
        } catch (...) {
        }
        Application().ReleaseForm(this);
    }

protected:
    void CMCancelMode(TMessage& message) override
    {
        if (!m_combo)
            return;
        // A press on the combo box itself opens and closes the list there.
        auto* hit = reinterpret_cast<TControl*>(message.LParam);
        for (TControl* c = hit; c; c = c->Parent())
            if (c == m_combo)
                return;
        m_combo->CloseUp(-1);
    }

private:
    TCustomComboBox* m_combo;
    TComboListBox* m_list { nullptr };
};

//! The edit field of an editable combo box. Up, Down, PageUp and PageDown go
//! to the combo box as an up-down's edit sends them; F4, and Enter and Escape
//! while the list is open, go there too.
class TComboEdit final : public TEdit {
public:
    explicit TComboEdit(TCustomComboBox& combo)
        : TEdit(&combo)
        , m_combo(&combo)
    {
        SetBorderStyle(bsNone);
        SetAutoSize(false);
        SetTabStop(false);
        SetArrowKeyBuddy(&combo);
        SetParent(&combo);
    }
    //! The combo box is going.
    void Detach() noexcept { m_combo = nullptr; }

protected:
    void Change() override
    {
        if (!detail::Survives(*this, [&] { TEdit::Change(); }))
            return;
        if (m_combo)
            m_combo->EditFieldChanged();
    }
    void KeyDown(std::uint16_t& key, TShiftState shift) override
    {
        if (m_combo && ComboKey(key)) {
            const std::uint16_t k = key;
            key = 0;
            m_combo->Perform(WM_KEYDOWN, k, ShiftStateToKeyData(shift));
            return;
        }
        TEdit::KeyDown(key, shift);
    }
    void WMKillFocus(TMessage& message) override
    {
        if (m_combo)
            m_combo->CloseUp(-1);
        TEdit::WMKillFocus(message);
    }
    void CMWantSpecialKey(TMessage& message) override
    {
        if (m_combo && ComboKey(static_cast<std::uint16_t>(message.WParam)))
            message.Result = 1;
        else
            TEdit::CMWantSpecialKey(message);
    }

private:
    [[nodiscard]] bool ComboKey(std::uint16_t key) const noexcept
    {
        return key == VK_F4 || ((key == VK_RETURN || key == VK_ESCAPE) && m_combo->DroppedDown());
    }

    TCustomComboBox* m_combo;
};

} // namespace detail

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomControl(owner)
{
    SetControlStyle({ csCaptureMouse, csFixedHeight, csOpaque });
    SetBounds(0, 0, 145, 0);
    SetColor(clWindow);
    SetTabStop(true);
    m_items.SetOnChange([this](TObject*) { ItemsChanged(); });
    UpdateEditField();
}

TCustomComboBox::~TCustomComboBox()
{
    m_items.SetOnChange(nullptr);
    if (m_edit)
        m_edit->Detach();
    if (m_popup && InitializedApplication())
        m_popup->Detach();
    else
        delete m_popup;
}

std::int32_t TCustomComboBox::FixedHeight() const
{
    return FontHeight(Font()) + 8;
}

void TCustomComboBox::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t /*height*/)
{
    // The height follows the font.
    TCustomControl::SetBounds(left, top, width, FixedHeight());
    UpdateEditField();
}

TRect TCustomComboBox::ButtonRect() const
{
    const std::int32_t border = Ctl3D() ? 2 : 1;
    const std::int32_t right = std::max(Width() - border, border);
    const std::int32_t width = m_style == csSimple ? 0 : detail::kScrollBarSize;
    return Rect(std::max(right - width, border), border, right, std::max(Height() - border, border));
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    Store(m_style, value, [this] {
        if (m_style == csSimple)
            CloseUp(-1);
        UpdateEditField();
        if (!Editable() && !ComponentState().Contains(csLoading))
            SetItemIndex(m_itemIndex); // the text is an item's again
        Invalidate();
    });
}

void TCustomComboBox::SetMaxLength(std::int32_t value)
{
    m_maxLength = std::max(value, 0);
    if (m_edit)
        m_edit->SetMaxLength(m_maxLength);
}

TCustomEdit* TCustomComboBox::EditField() const noexcept
{
    return m_edit;
}

void TCustomComboBox::SetFocus()
{
    if (m_edit && m_edit->CanFocus())
        m_edit->SetFocus();
    else
        TCustomControl::SetFocus();
}

void TCustomComboBox::UpdateEditField()
{
    if (!Editable()) {
        delete std::exchange(m_edit, nullptr);
        return;
    }
    if (!m_edit) {
        m_edit = new detail::TComboEdit(*this);
        m_edit->SetMaxLength(m_maxLength);
        m_syncing = true;
        m_edit->SetText(Text());
        m_syncing = false;
    }
    // Inside the field's border, beside the button.
    const std::int32_t border = Ctl3D() ? 2 : 1;
    const TRect field = Rect(border + 1, border + 1, ButtonRect().Left - 1, Height() - border - 1);
    m_edit->SetBounds(field.Left, field.Top, std::max(field.Right - field.Left, 0), std::max(field.Bottom - field.Top, 0));
    m_edit->SetColor(Color());
    m_edit->SetEnabled(Enabled());
}

void TCustomComboBox::SyncEditField()
{
    if (!m_edit || m_edit->Text() == Text())
        return;
    m_syncing = true;
    m_edit->SetText(Text());
    m_syncing = false;
    m_edit->SelectAll();
}

void TCustomComboBox::EditFieldChanged()
{
    if (m_syncing)
        return;
    m_syncing = true;
    SetText(m_edit->Text());
    m_syncing = false;
    m_itemIndex = m_items.IndexOf(Text());
    Change();
}

void TCustomComboBox::SetSorted(bool value)
{
    m_items.SetSorted(value);
}

void TCustomComboBox::SetItemIndex(std::int32_t value)
{
    if (value < -1 || value >= m_items.Count())
        value = -1;
    m_itemIndex = value;
    m_syncing = true;
    SetText(value >= 0 ? m_items.Strings(value) : std::string());
    m_syncing = false;
    SyncEditField();
    Invalidate();
}

void TCustomComboBox::CMTextChanged(TMessage& message)
{
    TCustomControl::CMTextChanged(message);
    if (m_syncing)
        return;
    if (ComponentState().Contains(csLoading)) {
        m_loadedText = Text();
        return;
    }
    if (Editable()) {
        // Any text goes; the item of that text, if there is one, is selected.
        m_itemIndex = m_items.IndexOf(Text());
        SyncEditField();
        Invalidate();
        return;
    }
    SetItemIndex(Text().empty() ? -1 : m_items.IndexOf(Text()));
}

void TCustomComboBox::ItemsChanged()
{
    if (ComponentState().Contains(csLoading))
        return;
    if (Editable() && m_itemIndex < 0)
        m_itemIndex = m_items.IndexOf(Text()); // typed text stays
    else
        SetItemIndex(m_itemIndex);
    if (DroppedDown())
        m_popup->List().Items().Assign(&m_items);
}

void TCustomComboBox::Loaded()
{
    TCustomControl::Loaded();
    if (Editable() && !m_loadedText.empty()) {
        m_itemIndex = m_items.IndexOf(m_loadedText);
        SyncEditField();
    } else {
        SetItemIndex(!m_loadedText.empty() ? m_items.IndexOf(m_loadedText) : m_itemIndex);
    }
    m_loadedText.clear();
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::Change()
{
    if (m_onChange) {
        auto handler = m_onChange;
        handler(this);
    }
}

void TCustomComboBox::DropDown()
{
    if (m_onDropDown) {
        auto handler = m_onDropDown;
        handler(this);
    }
}

bool TCustomComboBox::DroppedDown() const noexcept
{
    return m_popup && m_popup->Visible();
}

TCustomForm* TCustomComboBox::DropDownWindow() const noexcept
{
    return m_popup;
}

TCustomListBox* TCustomComboBox::DropDownList() const noexcept
{
    return m_popup ? &m_popup->List() : nullptr;
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    if (value == DroppedDown())
        return;
    if (value)
        Open();
    else
        CloseUp(-1);
}

void TCustomComboBox::Open()
{
    if (DroppedDown() || !ParentForm() || m_style == csSimple)
        return;
    if (!detail::Survives(*this, [&] { DropDown(); }))
        return;
    if (!m_popup)
        m_popup = new detail::TComboPopup(*this);
    TCustomListBox& list = m_popup->List();
    list.Font().Assign(&Font());
    list.Items().Assign(&m_items);
    const std::int32_t rows = std::clamp(m_items.Count(), 1, m_dropDownCount);
    const std::int32_t height = rows * list.ItemHeight() + 2;
    TPoint at = ClientToScreen({ 0, Height() });
    if (std::int64_t { at.Y } + height > Screen().Height())
        at.Y = static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t { ClientToScreen({ 0, 0 }).Y } - height, INT32_MIN));
    m_popup->SetPopupParent(ParentForm());
    m_popup->SetBounds(at.X, at.Y, Width(), height);
    list.SetBounds(1, 1, Width() - 2, height - 2);
    list.SetItemIndex(m_itemIndex);
    m_popup->Show();
    Invalidate();
}

void TCustomComboBox::CloseUp(std::int32_t pick)
{
    if (!DroppedDown())
        return;
    m_popup->Hide();
    m_buttonDown = false;
    if (MouseCapture())
        SetMouseCapture(false);
    Invalidate();
    if (pick >= 0 && pick < m_items.Count())
        UserPick(pick);
}

void TCustomComboBox::UserPick(std::int32_t index)
{
    if (index == m_itemIndex)
        return;
    SetItemIndex(index);
    if (detail::Survives(*this, [&] { Click(); }))
        Change();
}

std::int32_t TCustomComboBox::FindByLetter(char letter) const
{
    const std::int32_t from = DroppedDown() ? m_popup->List().ItemIndex() : m_itemIndex;
    return FindItemByLetter(m_items, from, letter);
}

std::int32_t TCustomComboBox::ListItemAt(TPoint screen) const
{
    if (!DroppedDown())
        return -1;
    TCustomListBox& list = m_popup->List();
    return list.ItemAtPos(list.ScreenToClient(screen), true);
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft) {
        if (!Focused() && CanFocus() && !detail::Survives(*this, [&] { SetFocus(); }))
            return;
        if (DroppedDown()) {
            CloseUp(-1);
        } else {
            if (!detail::Survives(*this, [&] { Open(); }))
                return;
            m_buttonDown = DroppedDown();
        }
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomComboBox::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    // Dragging from the field into the list tracks the item under the pointer.
    if (m_buttonDown && DroppedDown())
        if (const std::int32_t index = ListItemAt(ClientToScreen({ x, y })); index >= 0)
            m_popup->List().SetItemIndex(index);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomComboBox::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    std::int32_t pick = -1;
    if (button == mbLeft && m_buttonDown) {
        m_buttonDown = false;
        Invalidate();
        pick = ListItemAt(ClientToScreen({ x, y }));
    }
    if (!detail::Survives(*this, [&] { TCustomControl::MouseUp(button, shift, x, y); }))
        return;
    if (pick >= 0)
        CloseUp(pick);
}

void TCustomComboBox::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyDown(key, shift); }) || key == 0)
        return;
    const bool toggle = key == VK_F4 || (shift.Contains(ssAlt) && (key == VK_UP || key == VK_DOWN));
    const std::int32_t n = m_items.Count();
    if (DroppedDown()) {
        TCustomListBox& list = m_popup->List();
        const std::int32_t hot = list.ItemIndex();
        if (toggle || key == VK_RETURN) {
            key = 0;
            CloseUp(hot);
            return;
        }
        if (key == VK_ESCAPE) {
            key = 0;
            CloseUp(-1);
            return;
        }
        if (const auto target = ItemAfterKey(key, hot, n, m_dropDownCount - 1, TListArrows::UpDown))
            list.SetItemIndex(*target);
        return;
    }
    if (toggle) {
        key = 0;
        Open();
        return;
    }
    if (const auto target = ItemAfterKey(key, m_itemIndex, n, m_dropDownCount - 1, TListArrows::All))
        UserPick(*target);
}

void TCustomComboBox::KeyPress(char& key)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyPress(key); }) || static_cast<unsigned char>(key) < 0x20)
        return;
    const std::int32_t found = FindByLetter(key);
    if (found < 0)
        return;
    if (DroppedDown())
        m_popup->List().SetItemIndex(found);
    else
        UserPick(found);
}

void TCustomComboBox::WMKillFocus(TMessage& message)
{
    m_buttonDown = false;
    CloseUp(-1);
    TCustomControl::WMKillFocus(message);
}

void TCustomComboBox::CMWantSpecialKey(TMessage& message)
{
    if (IsArrowKey(message.WParam))
        message.Result = 1;
    else if (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE)
        message.Result = DroppedDown() ? 1 : 0;
    else
        TCustomControl::CMWantSpecialKey(message);
}

void TCustomComboBox::CMEnabledChanged(TMessage& message)
{
    if (!Enabled())
        CloseUp(-1);
    if (m_edit)
        m_edit->SetEnabled(Enabled());
    TCustomControl::CMEnabledChanged(message);
}

void TCustomComboBox::CMColorChanged(TMessage& message)
{
    if (m_edit)
        m_edit->SetColor(Color());
    TCustomControl::CMColorChanged(message);
}

void TCustomComboBox::CMFontChanged(TMessage& message)
{
    TCustomControl::CMFontChanged(message);
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::Paint()
{
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    DrawFieldBorder(canvas, r, Ctl3D());
    TRect button = ButtonRect();
    const TRect field = Rect(r.Left, r.Top, button.Left, r.Bottom);
    canvas.Brush().SetColor(Enabled() ? Color() : clBtnFace);
    canvas.FillRect(field);
    if (m_style != csSimple) {
        if (m_buttonDown) {
            detail::DrawFlatPushedFace(canvas, button);
            OffsetRect(button, 1, 1);
        } else {
            detail::DrawRaisedEdge(canvas, button);
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(button);
        }
        detail::DrawArrow(canvas, button, detail::TArrowDirection::Down, Enabled());
    }
    if (m_edit)
        return; // the edit field shows the text
    // The selection: highlighted, with the focus rectangle, while focused.
    TRect text = field;
    InflateRect(text, -1, -1);
    canvas.Font().Assign(&Font());
    if (Focused()) {
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect(text);
        canvas.Font().SetColor(clHighlightText);
    } else if (!Enabled()) {
        canvas.Font().SetColor(clGrayText);
    }
    canvas.Brush().SetStyle(bsClear);
    const std::int32_t y = text.Top + (text.Height() - canvas.TextHeight("0")) / 2;
    canvas.TextRect(text, text.Left + 2, y, Text());
    if (Focused())
        detail::DrawFocusRect(canvas, text);
}

TComboBox::TComboBox(TComponent* owner)
    : TCustomComboBox(owner)
{
}

const TEnumInfo& ComboBoxStyleInfo()
{
    static const TEnumInfo info { "TComboBoxStyle", { "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable" } };
    return info;
}

const TClassInfo& TComboBox::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TComboBox>("TComboBox", &TCustomControl::StaticClassInfo())
        .Enum("Style", ComboBoxStyleInfo(), &TCustomComboBox::Style, &TCustomComboBox::SetStyle, csDropDown)
        .Apply([](auto& b) { PublishInherited(b, { "Color", "Ctl3D", "DragMode", "DragCursor" }); })
        .Integer("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount, 8)
        .Apply([](auto& b) { PublishInherited(b, { "Enabled", "Font" }); })
        .Object("Items", "TStrings", [](TComboBox& c) -> TPersistent* { return &c.Items(); })
        .Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex, -1)
        .Integer("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength, 0)
        .Apply([](auto& b) { PublishParentColor(b, false); })
        .Apply([](auto& b) { PublishInherited(b, { "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint" }); })
        .Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted, false)
        .Apply([](auto& b) { PublishInherited(b, { "TabOrder" }); })
        .Apply([](auto& b) { PublishTabStop(b, true); })
        .String("Text", &TControl::Text, &TControl::SetText)
        .Apply([](auto& b) { PublishInherited(b, { "Visible" }); })
        .Event("OnChange", "TNotifyEvent", &TCustomComboBox::OnChange, &TCustomComboBox::SetOnChange)
        .Apply([](auto& b) { PublishInherited(b, { "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver" }); })
        .Event("OnDropDown", "TNotifyEvent", &TCustomComboBox::OnDropDown, &TCustomComboBox::SetOnDropDown)
        .Apply([](auto& b) { PublishInherited(b, { "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDrag" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TComboBox(owner); })
        .Build();
    return info;
}

const TClassInfo& TComboBox::ClassType() const
{
    return StaticClassInfo();
}

// ==== Group boxes ===============================================================

TCustomGroupBox::TCustomGroupBox(TComponent* owner)
    : TCustomControl(owner)
{
    SetControlStyle({ csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks });
    SetBounds(0, 0, 185, 105);
}

std::int32_t TCustomGroupBox::CaptionHeight() const
{
    return FontHeight(Font());
}

void TCustomGroupBox::AlignControls(TControl* control, TRect& rect)
{
    rect.Top += CaptionHeight();
    InflateRect(rect, -1, -1);
    if (Ctl3D())
        InflateRect(rect, -1, -1);
    TCustomControl::AlignControls(control, rect);
}

void TCustomGroupBox::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    const std::int32_t h = canvas.TextHeight("0");
    // An etched frame whose top runs through the middle of the caption.
    TRect r = Rect(0, h / 2 - 1, Width(), Height());
    if (Ctl3D()) {
        ++r.Left;
        ++r.Top;
        canvas.Brush().SetColor(clBtnHighlight);
        canvas.FrameRect(r);
        OffsetRect(r, -1, -1);
        canvas.Brush().SetColor(clBtnShadow);
    } else {
        canvas.Brush().SetColor(clWindowFrame);
    }
    canvas.FrameRect(r);
    if (Caption().empty())
        return;
    TRect text = Rect(8, 0, 8, h);
    DrawText(canvas, Caption(), text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(text);
    detail::DrawCaption(canvas, Caption(), text, DT_LEFT | DT_SINGLELINE, Enabled());
}

void TCustomGroupBox::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<std::uint32_t>(message.WParam), Caption()) && CanFocus()) {
        message.Result = 1;
        SelectFirst();
        return;
    }
    TCustomControl::CMDialogChar(message);
}

void TCustomGroupBox::CMTextChanged(TMessage& message)
{
    TCustomControl::CMTextChanged(message);
    Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& message)
{
    TCustomControl::CMFontChanged(message);
    Realign();
}

TGroupBox::TGroupBox(TComponent* owner)
    : TCustomGroupBox(owner)
{
}

const TClassInfo& TGroupBox::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TGroupBox>("TGroupBox", &TCustomControl::StaticClassInfo())
        .Apply([](auto& b) {
            PublishInherited(b, { "Align", "Caption", "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font", "ParentColor", "ParentCtl3D",
                                    "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick",
                                    "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove",
                                    "OnMouseUp", "OnStartDrag" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TGroupBox(owner); })
        .Build();
    return info;
}

const TClassInfo& TGroupBox::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
