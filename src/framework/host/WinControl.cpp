#include "framework/host/WinControl.h"

#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"

#include <algorithm>

namespace plx {

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner)
{
}

TWinControl::~TWinControl()
{
    Destroying();
    // Children go with their parent, last first, whoever owns them.
    while (!m_controls.empty()) {
        TControl* c = m_controls.back();
        RemoveControl(c);
        delete c;
    }
}

TControl* TWinControl::Controls(std::int32_t index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return m_controls[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const noexcept
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

void TWinControl::InsertControl(TControl* control)
{
    if (!control || control->m_parent == this)
        return;
    if (auto* w = dynamic_cast<TWinControl*>(control); w && w->ContainsControl(this))
        throw EInvalidOperation("A control cannot be a parent of its own parent");
    m_controls.push_back(control);
    control->m_parent = this;
    AddToTabList(control);
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (control->Align() != alNone)
        Realign();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(m_controls.begin(), m_controls.end(), control);
    if (it == m_controls.end())
        return;
    control->Invalidate();
    if (InitializedApplication())
        Application().ControlDestroyed(control);
    if (TCustomForm* form = GetParentForm(this); form && form->ActiveControl() && control == form->ActiveControl())
        form->SetActiveControl(nullptr);
    m_controls.erase(std::find(m_controls.begin(), m_controls.end(), control));
    RemoveFromTabList(control);
    control->m_parent = nullptr;
    if (control->Align() != alNone && !ComponentState().Contains(csDestroying))
        Realign();
}

void TWinControl::SetChildOrder(TControl* control, std::int32_t order)
{
    auto it = std::find(m_controls.begin(), m_controls.end(), control);
    if (it == m_controls.end())
        return;
    m_controls.erase(it);
    order = std::clamp(order, 0, ControlCount());
    m_controls.insert(m_controls.begin() + order, control);
    control->Invalidate();
}

void TWinControl::Broadcast(TMessage& message)
{
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        c->WndProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(std::uint32_t msg)
{
    TMessage m { msg, 0, 0, 0 };
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        m.Result = 0;
        c->WndProc(m);
    }
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && c->IsWindowed())
            continue;
        if (c->Visible() && (c->Enabled() || allowDisabled) && c->BoundsRect().Contains(point))
            return c;
    }
    return nullptr;
}

TControl* TWinControl::DeepControlAtPos(TPoint point, bool allowDisabled)
{
    // Windowed children lie above windowless ones.
    TControl* hit = nullptr;
    for (auto it = m_controls.rbegin(); it != m_controls.rend() && !hit; ++it)
        if ((*it)->IsWindowed() && (*it)->Visible() && ((*it)->Enabled() || allowDisabled) && (*it)->BoundsRect().Contains(point))
            hit = *it;
    for (auto it = m_controls.rbegin(); it != m_controls.rend() && !hit; ++it)
        if (!(*it)->IsWindowed() && (*it)->Visible() && ((*it)->Enabled() || allowDisabled) && (*it)->BoundsRect().Contains(point))
            hit = *it;
    if (!hit)
        return this;
    if (auto* w = dynamic_cast<TWinControl*>(hit)) {
        TPoint inner { point.X - w->Left(), point.Y - w->Top() };
        if (w->ClientRect().Contains(inner))
            return w->DeepControlAtPos(inner, allowDisabled);
    }
    return hit;
}

void TWinControl::EnableAlign()
{
    if (m_alignLevel > 0 && --m_alignLevel == 0)
        Realign();
}

void TWinControl::Realign()
{
    if (m_alignLevel > 0)
        return;
    TRect r = ClientRect();
    AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl*, TRect& rect)
{
    ++m_alignLevel;
    auto place = [&](TAlign align) {
        for (TControl* c : m_controls) {
            if (!c->Visible() || c->Align() != align)
                continue;
            switch (align) {
            case alTop:
                c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
                rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
                rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
                rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
                rect.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
                break;
            default:
                break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
    --m_alignLevel;
}

void TWinControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    bool resized = std::max(width, 0) != Width() || std::max(height, 0) != Height();
    TControl::SetBounds(left, top, width, height);
    if (resized)
        Realign();
}

void TWinControl::SetCtl3D(bool value)
{
    m_ctl3D = value;
    m_parentCtl3D = false;
}

void TWinControl::SetParentCtl3D(bool value)
{
    m_parentCtl3D = value;
    if (value && Parent())
        m_ctl3D = Parent()->Ctl3D();
}

bool TWinControl::CanFocus() const noexcept
{
    const TCustomForm* form = GetParentForm(this);
    if (!form)
        return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const noexcept
{
    TCustomForm* form = GetParentForm(this);
    return form && form != this && form->Visible() && form->ActiveControl() == this;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this); form && form != this) {
        if (!CanFocus())
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
        form->SetActiveControl(this);
    }
}

void TWinControl::DoEnter()
{
    if (m_onEnter) {
        auto handler = m_onEnter;
        handler(this);
    }
}

void TWinControl::DoExit()
{
    if (m_onExit) {
        auto handler = m_onExit;
        handler(this);
    }
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (m_onKeyDown) {
        auto handler = m_onKeyDown;
        handler(this, key, shift);
    }
}

void TWinControl::KeyPress(char& key)
{
    if (m_onKeyPress) {
        auto handler = m_onKeyPress;
        handler(this, key);
    }
}

void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift)
{
    if (m_onKeyUp) {
        auto handler = m_onKeyUp;
        handler(this, key, shift);
    }
}

// The handlers below may free the control (user events run inside them):
// after the call only the message, which lives with the caller, is touched.

void TWinControl::WMKeyDown(TMessage& message)
{
    auto key = static_cast<std::uint16_t>(message.WParam);
    KeyDown(key, KeyDataToShiftState(message.LParam));
    message.Result = key == 0 ? 1 : 0;
}

void TWinControl::WMKeyUp(TMessage& message)
{
    auto key = static_cast<std::uint16_t>(message.WParam);
    KeyUp(key, KeyDataToShiftState(message.LParam));
    message.Result = key == 0 ? 1 : 0;
}

void TWinControl::WMChar(TMessage& message)
{
    // WParam is a code point; KeyPress sees those a char holds (up to 255).
    if (message.WParam < 0 || message.WParam > 0xFF)
        return;
    char key = static_cast<char>(message.WParam);
    KeyPress(key);
    message.Result = key == 0 ? 1 : 0;
}

void TWinControl::WMSetFocus(TMessage&)
{
    Invalidate();
}

void TWinControl::WMKillFocus(TMessage&)
{
    Invalidate();
}

void TWinControl::CMEnter(TMessage&)
{
    DoEnter();
}

void TWinControl::CMExit(TMessage&)
{
    DoExit();
}

void TWinControl::CMVisibleChanged(TMessage& message)
{
    TControl::CMVisibleChanged(message);
    if (!Visible())
        if (TCustomForm* form = GetParentForm(this); form && form != this && form->ActiveControl() && ContainsControl(form->ActiveControl()))
            form->SetActiveControl(nullptr);
}

// ---- Tab order -------------------------------------------------------------

void TWinControl::AddToTabList(TControl* control)
{
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w)
        return;
    auto at = w->m_tabOrder >= 0 && static_cast<std::size_t>(w->m_tabOrder) < m_tabList.size()
        ? m_tabList.begin() + w->m_tabOrder
        : m_tabList.end();
    m_tabList.insert(at, w);
}

void TWinControl::RemoveFromTabList(TControl* control) noexcept
{
    std::erase(m_tabList, control);
}

void TWinControl::MoveInTabList(TWinControl* control, std::int32_t order)
{
    auto it = std::find(m_tabList.begin(), m_tabList.end(), control);
    if (it == m_tabList.end())
        return;
    m_tabList.erase(it);
    if (order < 0 || static_cast<std::size_t>(order) > m_tabList.size())
        order = static_cast<std::int32_t>(m_tabList.size());
    m_tabList.insert(m_tabList.begin() + order, control);
}

void TWinControl::FixupTabList()
{
    // Each child asked for a place; those that did not keep theirs.
    std::vector<std::pair<std::int32_t, TWinControl*>> keyed;
    for (std::size_t i = 0; i < m_tabList.size(); ++i) {
        TWinControl* c = m_tabList[i];
        keyed.emplace_back(c->m_tabOrder >= 0 ? c->m_tabOrder : static_cast<std::int32_t>(i), c);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        m_tabList[i] = keyed[i].second;
}

std::int32_t TWinControl::TabOrder() const noexcept
{
    if (!Parent())
        return m_tabOrder;
    const auto& list = Parent()->m_tabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<std::int32_t>(it - list.begin());
}

void TWinControl::SetTabOrder(std::int32_t value)
{
    m_tabOrder = value;
    if (Parent() && !ComponentState().Contains(csLoading))
        Parent()->MoveInTabList(this, value);
}

void TWinControl::SetTabStop(bool value)
{
    Store(m_tabStop, value, [this] { Perform(CM_TABSTOPCHANGED, 0, 0); });
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    if (Parent())
        Parent()->FixupTabList();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* c : m_tabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(const TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const std::size_t n = list.size();
    auto found = std::find(list.begin(), list.end(), current);
    std::size_t start = found != list.end() ? static_cast<std::size_t>(found - list.begin()) : goForward ? n - 1 : 0;
    std::size_t i = start;
    do {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[i];
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this))
            return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(const TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

void TWinControl::SelectFirst()
{
    if (TWinControl* first = FindNextControl(nullptr, true, true, false))
        first->SetFocus();
}

void TWinControl::CMDialogChar(TMessage& message)
{
    Broadcast(message);
}

void TWinControl::CMDialogKey(TMessage& message)
{
    Broadcast(message);
}

void TWinControl::CMColorChanged(TMessage& message)
{
    TControl::CMColorChanged(message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& message)
{
    TControl::CMFontChanged(message);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMEnabledChanged(TMessage& message)
{
    TControl::CMEnabledChanged(message);
    if (!Enabled())
        if (TCustomForm* form = GetParentForm(this); form && form->ActiveControl() && ContainsControl(form->ActiveControl()))
            form->SetActiveControl(nullptr);
}

void TWinControl::CMShowHintChanged(TMessage&)
{
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::EraseBackground(TCanvas& canvas)
{
    if (ControlStyle().Contains(csOpaque))
        return;
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
}

void TWinControl::PaintWindow(TCanvas&)
{
}

void TWinControl::PaintInContext(const TPaintContext& context, const TRect& clip)
{
    TRect visible = Intersect(clip, VisibleRectInForm());
    if (visible.IsEmpty())
        return;
    BindCanvas(m_canvas, context, visible);
    SetControlState(ControlState().With(csPainting));
    try {
        EraseBackground(m_canvas);
        PaintWindow(m_canvas);
    } catch (...) {
        SetControlState(ControlState().Without(csPainting));
        throw;
    }
    SetControlState(ControlState().Without(csPainting));
    // Windowless children in z-order, then windowed ones above them.
    for (TControl* c : std::vector<TControl*>(m_controls))
        if (!c->IsWindowed() && c->Visible()) {
            TRect r = Intersect(visible, c->VisibleRectInForm());
            if (!r.IsEmpty())
                c->PaintInContext(context, r);
        }
    for (TControl* c : std::vector<TControl*>(m_controls))
        if (c->IsWindowed() && c->Visible())
            c->PaintInContext(context, visible);
}

const TClassInfo& TWinControl::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TWinControl>("TWinControl", &TControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TWinControl::ClassType() const
{
    return StaticClassInfo();
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner)
{
}

TCanvas& TCustomControl::Canvas()
{
    if (!InPaint())
        BindCanvas(WindowCanvas());
    return WindowCanvas();
}

void TCustomControl::PaintWindow(TCanvas&)
{
    Paint();
}

} // namespace plx
