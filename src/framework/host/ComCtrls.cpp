#include "framework/host/ComCtrls.h"

#include "framework/host/Forms.h"
#include "framework/host/Published.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/Timer.h"
#include "framework/host/detail/ControlPaint.h"
#include "framework/host/detail/Survive.h"
#include "rtl/Exceptions.h"
#include "rtl/Store.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

#include <algorithm>

namespace plx {

namespace {

// A held arrow steps again after this long, then this often.
constexpr std::uint32_t kRepeatDelay = 500;
constexpr std::uint32_t kRepeatInterval = 100;

std::string FormatPosition(std::int32_t value, bool thousands)
{
    std::string digits = IntToStr(static_cast<std::int64_t>(value) < 0 ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
    if (thousands)
        for (auto i = static_cast<std::ptrdiff_t>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), 1, FormatSettings().ThousandSeparator);
    return value < 0 ? "-" + digits : digits;
}

} // namespace

TCustomUpDown::TCustomUpDown(TComponent* owner)
    : TCustomControl(owner)
{
    SetControlStyle({ csCaptureMouse, csOpaque });
    SetBounds(0, 0, detail::kScrollBarSize, detail::kScrollBarSize * 3 / 2);
}

TCustomUpDown::~TCustomUpDown()
{
    if (auto* edit = dynamic_cast<TCustomEdit*>(m_associate); edit && edit->ArrowKeyBuddy() == this)
        edit->SetArrowKeyBuddy(nullptr);
    if (m_associate)
        m_associate->RemoveFreeNotification(this);
}

void TCustomUpDown::SetAlignButton(TUDAlignButton value)
{
    Store(m_alignButton, value, [this] { Invalidate(); });
}

void TCustomUpDown::SetArrowKeys(bool value)
{
    Store(m_arrowKeys, value, [this] {
        if (auto* edit = dynamic_cast<TCustomEdit*>(m_associate))
            edit->SetArrowKeyBuddy(m_arrowKeys ? this : nullptr);
    });
}

void TCustomUpDown::SetAssociate(TComponent* control)
{
    auto* w = dynamic_cast<TWinControl*>(control);
    if (control && !w)
        throw EPropertyError("Associate must be a windowed control");
    if (w && (w == this || dynamic_cast<TCustomForm*>(w)))
        throw EInvalidOperation(w->Name() + " cannot be used as the associate of " + Name());
    if (w == m_associate)
        return;
    if (m_associate) {
        if (auto* edit = dynamic_cast<TCustomEdit*>(m_associate); edit && edit->ArrowKeyBuddy() == this)
            edit->SetArrowKeyBuddy(nullptr);
        m_associate->RemoveFreeNotification(this);
    }
    m_associate = w;
    if (!w)
        return;
    w->FreeNotification(this);
    if (auto* edit = dynamic_cast<TCustomEdit*>(w); edit && m_arrowKeys)
        edit->SetArrowKeyBuddy(this);
    if (ComponentState().Contains(csLoading))
        return; // a form file keeps both controls where they were placed
    if (w->Parent() && w->Parent() != Parent())
        SetParent(w->Parent());
    const std::int32_t width = Width();
    if (m_alignButton == udRight) {
        SetBounds(w->Left() + w->Width() - width, w->Top(), width, w->Height());
        w->SetWidth(w->Width() - width);
    } else {
        SetBounds(w->Left(), w->Top(), width, w->Height());
        w->SetBounds(w->Left() + width, w->Top(), w->Width() - width, w->Height());
    }
    UpdateAssociateText();
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == m_associate)
        m_associate = nullptr;
}

void TCustomUpDown::SetMin(std::int32_t value)
{
    Store(m_min, value, [this] { SetPosition(m_position); });
}

void TCustomUpDown::SetMax(std::int32_t value)
{
    Store(m_max, value, [this] { SetPosition(m_position); });
}

void TCustomUpDown::SetPosition(std::int32_t value)
{
    if (!ComponentState().Contains(csLoading))
        value = std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
    Store(m_position, value, [this] { UpdateAssociateText(); });
}

void TCustomUpDown::SetOrientation(TUDOrientation value)
{
    Store(m_orientation, value, [this] { Invalidate(); });
}

void TCustomUpDown::SetThousands(bool value)
{
    Store(m_thousands, value, [this] { UpdateAssociateText(); });
}

void TCustomUpDown::Loaded()
{
    TCustomControl::Loaded();
    m_position = std::clamp(m_position, std::min(m_min, m_max), std::max(m_min, m_max));
    UpdateAssociateText();
}

void TCustomUpDown::UpdateAssociateText()
{
    if (m_associate && !ComponentState().Contains(csLoading))
        m_associate->SetText(FormatPosition(m_position, m_thousands));
}

void TCustomUpDown::ReadAssociateText()
{
    // A number typed into the associate is where the step starts.
    if (!m_associate)
        return;
    std::string text;
    for (char c : m_associate->Text())
        if (c != FormatSettings().ThousandSeparator && c != ' ')
            text += c;
    if (auto value = TryStrToInt(text))
        m_position = std::clamp(*value, std::min(m_min, m_max), std::max(m_min, m_max));
}

bool TCustomUpDown::CanChange()
{
    bool allow = true;
    if (m_onChanging) {
        auto handler = m_onChanging;
        handler(this, allow);
    }
    return allow;
}

void TCustomUpDown::UDClick(TUDBtnType button)
{
    if (m_onClick) {
        auto handler = m_onClick;
        handler(this, button);
    }
}

void TCustomUpDown::Step(TUDBtnType button)
{
    ReadAssociateText();
    const std::int64_t lo = std::min(m_min, m_max), hi = std::max(m_min, m_max);
    // "Next" goes towards Max, also when Max is below Min.
    const std::int64_t towardsMax = m_max >= m_min ? 1 : -1;
    std::int64_t target = m_position + (button == btNext ? 1 : -1) * towardsMax * static_cast<std::int64_t>(m_increment);
    if (target > hi)
        target = m_wrap ? lo : hi;
    if (target < lo)
        target = m_wrap ? hi : lo;
    if (target == m_position)
        return;
    bool allow = false;
    if (!detail::Survives(*this, [&] { allow = CanChange(); }) || !allow)
        return;
    m_position = static_cast<std::int32_t>(target);
    if (!detail::Survives(*this, [&] { UpdateAssociateText(); }))
        return;
    UDClick(button);
}

TRect TCustomUpDown::ButtonRect(TUDBtnType button) const noexcept
{
    const std::int32_t w = Width(), h = Height();
    if (m_orientation == udVertical)
        return button == btNext ? Rect(0, 0, w, h / 2) : Rect(0, h / 2, w, h);
    return button == btNext ? Rect(w / 2, 0, w, h) : Rect(0, 0, w / 2, h);
}

TUDBtnType TCustomUpDown::ButtonAt(TPoint point) const noexcept
{
    return ButtonRect(btNext).Contains(point) ? btNext : btPrev;
}

void TCustomUpDown::Release()
{
    if (m_repeat)
        m_repeat->SetEnabled(false);
    if (m_held)
        Invalidate();
    m_held = false;
}

void TCustomUpDown::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft && Enabled()) {
        m_held = true;
        m_heldHot = true;
        m_heldButton = ButtonAt({ x, y });
        Invalidate();
        if (!m_repeat) {
            m_repeat = std::make_unique<TTimer>(nullptr);
            m_repeat->SetOnTimer([this](TObject*) {
                m_repeat->SetInterval(kRepeatInterval);
                if (m_held && m_heldHot)
                    Step(m_heldButton);
            });
        }
        m_repeat->SetEnabled(false);
        m_repeat->SetInterval(kRepeatDelay);
        m_repeat->SetEnabled(true);
        if (!detail::Survives(*this, [&] { Step(m_heldButton); }))
            return;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomUpDown::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_held)
        Store(m_heldHot, ButtonRect(m_heldButton).Contains({ x, y }), [this] { Invalidate(); });
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomUpDown::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (button == mbLeft)
        Release();
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomUpDown::WMCancelMode(TMessage& message)
{
    Release();
    TCustomControl::WMCancelMode(message);
}

void TCustomUpDown::CMEnabledChanged(TMessage& message)
{
    Release();
    TCustomControl::CMEnabledChanged(message);
}

void TCustomUpDown::CMWantSpecialKey(TMessage& message)
{
    switch (message.WParam) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        message.Result = m_arrowKeys ? 1 : 0;
        break;
    default:
        TCustomControl::CMWantSpecialKey(message);
    }
}

void TCustomUpDown::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!detail::Survives(*this, [&] { TCustomControl::KeyDown(key, shift); }) || key == 0 || !m_arrowKeys)
        return;
    if (key == VK_UP || key == VK_RIGHT) {
        key = 0;
        Step(btNext);
    } else if (key == VK_DOWN || key == VK_LEFT) {
        key = 0;
        Step(btPrev);
    }
}

void TCustomUpDown::Paint()
{
    TCanvas& canvas = Canvas();
    const bool vertical = m_orientation == udVertical;
    for (TUDBtnType b : { btNext, btPrev }) {
        TRect r = ButtonRect(b);
        if (m_held && m_heldHot && b == m_heldButton) {
            detail::DrawFlatPushedFace(canvas, r);
            OffsetRect(r, 1, 1);
        } else {
            detail::DrawRaisedEdge(canvas, r);
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(r);
        }
        using detail::TArrowDirection;
        const TArrowDirection direction = vertical ? (b == btNext ? TArrowDirection::Up : TArrowDirection::Down)
                                                   : (b == btNext ? TArrowDirection::Right : TArrowDirection::Left);
        detail::DrawArrow(canvas, r, direction, Enabled());
    }
}

TUpDown::TUpDown(TComponent* owner)
    : TCustomUpDown(owner)
{
}

const TEnumInfo& UDAlignButtonInfo()
{
    static const TEnumInfo info { "TUDAlignButton", { "udLeft", "udRight" } };
    return info;
}

const TEnumInfo& UDOrientationInfo()
{
    static const TEnumInfo info { "TUDOrientation", { "udHorizontal", "udVertical" } };
    return info;
}

const TClassInfo& TUpDown::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TUpDown>("TUpDown", &TCustomControl::StaticClassInfo())
        .Enum("AlignButton", UDAlignButtonInfo(), &TCustomUpDown::AlignButton, &TCustomUpDown::SetAlignButton, udRight)
        .Reference("Associate", "TWinControl", &TCustomUpDown::AssociateComponent, &TCustomUpDown::SetAssociate)
        .Bool("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys, true)
        .Apply([](auto& b) { PublishInherited(b, { "Enabled", "Hint" }); })
        .Integer("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin, 0, nullptr, "SmallInt")
        .Integer("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax, 100, nullptr, "SmallInt")
        .Integer("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement, 1)
        .Enum("Orientation", UDOrientationInfo(), &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation, udVertical)
        .Apply([](auto& b) { PublishInherited(b, { "ParentShowHint", "PopupMenu" }); })
        .Integer("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition, 0, nullptr, "SmallInt")
        .Apply([](auto& b) { PublishInherited(b, { "ShowHint", "TabOrder", "TabStop" }); })
        .Bool("Thousands", &TCustomUpDown::Thousands, &TCustomUpDown::SetThousands, true)
        .Apply([](auto& b) { PublishInherited(b, { "Visible" }); })
        .Bool("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap, false)
        .Event("OnChanging", "TUDChangingEvent", &TCustomUpDown::OnChanging, &TCustomUpDown::SetOnChanging)
        .Event("OnClick", "TUDClickEvent", &TCustomUpDown::OnUDClick, &TCustomUpDown::SetOnUDClick)
        .Apply([](auto& b) { PublishInherited(b, { "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp" }); })
        .Creator([](TComponent* owner) -> TComponent* { return new TUpDown(owner); })
        .Build();
    return info;
}

const TClassInfo& TUpDown::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
