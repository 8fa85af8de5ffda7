#include "framework/host/WinControl.h"

#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/Store.h"
#include "rtl/TypInfo.h"
#include "framework/host/detail/Coordinates.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace plx {

namespace {

// A layout whose OnResize handlers keep changing the children stops after this
// many passes instead of looping.
constexpr int kMaxAlignPasses = 4;

// Children are mostly removed last first, so the search starts at the back.
std::vector<TControl*>::iterator FindFromBack(std::vector<TControl*>& list, const TControl* control) noexcept
{
    auto it = std::find(list.rbegin(), list.rend(), control);
    return it == list.rend() ? list.end() : std::prev(it.base());
}

} // namespace

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
    if (!control || control == this || control->m_parent == this)
        return;
    // Only a control with children can hold this one (a cycle); a new leaf cannot.
    if (auto* w = dynamic_cast<TWinControl*>(control); w && !w->m_controls.empty() && w->ContainsControl(this))
        throw EInvalidOperation("A control cannot be a parent of its own parent");
    m_controls.push_back(control);
    control->m_parent = this;
    AddToTabList(control);
    control->PlacementChanged();
    // The control's handlers may free it, take it off again or free this one.
    const TWeakRef alive(this);
    const TWeakRef child(control);
    auto stillHere = [&] { return alive && child && child->m_parent == this; };
    for (std::uint32_t msg : std::array { CM_PARENTCOLORCHANGED, CM_PARENTFONTCHANGED, CM_PARENTSHOWHINTCHANGED }) {
        control->Perform(msg, 0, 0);
        if (!stillHere())
            return;
    }
    if (control->Align() != alNone) {
        Realign();
        if (!stillHere())
            return;
    }
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = FindFromBack(m_controls, control);
    if (it == m_controls.end())
        return;
    // When this control is being freed, its children go too: its own area is
    // repainted as it leaves its parent, and their links to the focus clear
    // themselves (no OnExit runs on the way).
    const bool destroying = ComponentState().Contains(csDestroying);
    TCustomForm* form = destroying ? nullptr : GetParentForm(this);
    // What lay beneath shows again, also when the control is being freed.
    if (form && !form->ComponentState().Contains(csDestroying))
        form->InvalidateFormRect(control->VisibleRectInForm());
    // The focus leaves a control taken off the form, or one inside it.
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    auto* container = dynamic_cast<TWinControl*>(control);
    bool losesFocus = active && (active == control || (container && container->ContainsControl(active)));
    bool aligned = control->Align() != alNone;
    m_controls.erase(it);
    RemoveFromTabList(control);
    control->m_parent = nullptr;
    control->PlacementChanged();
    if (InitializedApplication())
        Application().ControlDestroyed(control);
    // The control is off the list; what follows runs handlers (OnExit, OnResize).
    const TWeakRef alive(this);
    if (losesFocus) {
        form->SetActiveControl(nullptr);
        if (!alive)
            return;
    }
    if (aligned && !destroying)
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
    const TWeakRef alive(this);
    for (const TWeakRef<TControl>& c : WeakSnapshot(m_controls)) {
        if (!c || c->Parent() != this)
            continue;
        c->WndProc(message);
        if (message.Result != 0 || !alive)
            return;
    }
}

void TWinControl::NotifyControls(std::uint32_t msg)
{
    const TWeakRef alive(this);
    TMessage m { msg, 0, 0, 0 };
    for (const TWeakRef<TControl>& c : WeakSnapshot(m_controls)) {
        if (!c || c->Parent() != this)
            continue;
        m.Result = 0;
        c->WndProc(m);
        if (!alive)
            return;
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
    if (m_alignLevel > 0) {
        m_realignPending = true;
        return;
    }
    const TWeakRef alive(this);
    for (int pass = 0; pass < kMaxAlignPasses; ++pass) {
        m_realignPending = false;
        TRect r = ClientRect();
        AlignControls(nullptr, r);
        if (!alive || !m_realignPending)
            return;
    }
    m_realignPending = false;
}

void TWinControl::AlignControls(TControl*, TRect& rect)
{
    ++m_alignLevel;
    // The space left, in 64 bits: sizes of any magnitude use it up without
    // wrapping; what reaches a control is clamped to the coordinate range.
    detail::TRect64 space = detail::TRect64::Of(rect);
    auto width = [&] { return detail::ClampToInt32(std::max<std::int64_t>(space.Right - space.Left, 0)); };
    auto height = [&] { return detail::ClampToInt32(std::max<std::int64_t>(space.Bottom - space.Top, 0)); };
    auto x = [](std::int64_t v) { return detail::ClampToInt32(v); };
    const TWeakRef alive(this);
    // The children's OnResize handlers may add, free or move children: the
    // list is walked as a snapshot and each child checked before it is placed.
    const auto children = WeakSnapshot(m_controls);
    for (TAlign align : { alTop, alBottom, alLeft, alRight, alClient }) {
        for (const TWeakRef<TControl>& child : children) {
            TControl* c = child.Get();
            if (!c || c->Parent() != this || !c->Visible() || c->Align() != align)
                continue;
            switch (align) {
            case alTop:
                c->SetBounds(x(space.Left), x(space.Top), width(), c->Height());
                break;
            case alBottom:
                c->SetBounds(x(space.Left), x(space.Bottom - c->Height()), width(), c->Height());
                break;
            case alLeft:
                c->SetBounds(x(space.Left), x(space.Top), c->Width(), height());
                break;
            case alRight:
                c->SetBounds(x(space.Right - c->Width()), x(space.Top), c->Width(), height());
                break;
            default:
                c->SetBounds(x(space.Left), x(space.Top), width(), height());
                break;
            }
            if (!alive)
                return; // freed by a handler: nothing of it may be touched, its level included
            if (!child)
                continue;
            // The space the control takes as it is now (its handler may have sized it).
            switch (align) {
            case alTop:
                space.Top += c->Height();
                break;
            case alBottom:
                space.Bottom -= c->Height();
                break;
            case alLeft:
                space.Left += c->Width();
                break;
            case alRight:
                space.Right -= c->Width();
                break;
            default:
                break;
            }
        }
    }
    rect = space.Clamped();
    --m_alignLevel;
}

void TWinControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    bool resized = std::max(width, 0) != Width() || std::max(height, 0) != Height();
    const TWeakRef alive(this);
    TControl::SetBounds(left, top, width, height); // OnResize may free this control
    if (resized && alive)
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
    // Controls mostly leave in the reverse order of their arrival (an owner
    // frees the last first), so the search starts at the back.
    auto it = std::find(m_tabList.rbegin(), m_tabList.rend(), control);
    if (it != m_tabList.rend())
        m_tabList.erase(std::next(it).base());
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
        // A control holding the current one (a combo box around its edit field) is not the next.
        if (current && c != current && c->ContainsControl(current))
            continue;
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
    const TWeakRef alive(this);
    try {
        EraseBackground(m_canvas);
        PaintWindow(m_canvas);
    } catch (...) {
        // The children and the rest of the form are still painted; the
        // application shows the error.
        Application().HandleException(alive.Get());
    }
    if (!alive)
        return;
    SetControlState(ControlState().Without(csPainting));
    // Windowless children in z-order, then windowed ones above them. A paint
    // handler may free controls, this one included.
    const auto children = WeakSnapshot(m_controls);
    for (bool windowed : { false, true })
        for (const TWeakRef<TControl>& c : children) {
            if (!c || c->Parent() != this || c->IsWindowed() != windowed || !c->Visible())
                continue;
            TRect r = windowed ? visible : Intersect(visible, c->VisibleRectInForm());
            if (!r.IsEmpty())
                c->PaintInContext(context, r);
            if (!alive)
                return;
        }
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
