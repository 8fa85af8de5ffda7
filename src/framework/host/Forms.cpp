#include "framework/host/Forms.h"

#include "color/host/Bitmap.h"
#include "rtl/Exceptions.h"
#include "framework/host/HeadlessPlatform.h"
#include "rtl/SysUtils.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"
#include "framework/host/detail/Coordinates.h"
#include "framework/host/Published.h"
#include "rtl/Store.h"
#include "color/host/DrawText.h"
#include "color/host/FontEngine.h"
#include "framework/host/detail/ControlPaint.h"
#include "framework/host/detail/Survive.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <utility>

namespace plx {

namespace {

TUnitLifetime g_controls;
TApplication* g_application = nullptr;
TScreen* g_screen = nullptr;

static_assert(static_cast<int>(TWindowBorder::SizeToolWin) == bsSizeToolWin, "window borders follow the form's border styles");

constexpr std::int64_t kDoubleClickTime = 500;
constexpr std::int32_t kDoubleClickDistance = 4;
// A modal loop with a virtual clock and nothing left to happen cancels after
// this much virtual time instead of waiting for input that cannot come.
constexpr std::int64_t kVirtualIdleLimit = 60000;

std::uint32_t MouseMessage(TPlatformEventKind kind, TPlatformButton button, bool doubleClick)
{
    switch (button) {
    case TPlatformButton::Left:
        return kind == TPlatformEventKind::MouseUp ? WM_LBUTTONUP : doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    case TPlatformButton::Right:
        return kind == TPlatformEventKind::MouseUp ? WM_RBUTTONUP : doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case TPlatformButton::Middle:
        return kind == TPlatformEventKind::MouseUp ? WM_MBUTTONUP : doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    default:
        return WM_MOUSEMOVE;
    }
}

WPARAM ButtonFlag(TPlatformButton button)
{
    switch (button) {
    case TPlatformButton::Left:
        return MK_LBUTTON;
    case TPlatformButton::Right:
        return MK_RBUTTON;
    case TPlatformButton::Middle:
        return MK_MBUTTON;
    default:
        return 0;
    }
}

} // namespace

TCustomForm* GetParentForm(const TControl* control) noexcept
{
    return control ? control->ParentForm() : nullptr;
}

// ---- TCustomForm ---------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner)
{
    TControl::SetVisible(false);
    SetControlStyle({ csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks });
    SetBounds(0, 0, 320, 240);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    if (InitializedApplication())
        Screen().m_forms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    // From here on the framework calls into nothing the form owns.
    Destroying();
    if (m_onDestroy)
        m_onDestroy(this);
    if (InitializedApplication()) {
        Application().FormDestroyed(this);
        auto& forms = Screen().m_forms;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    }
    if (m_window)
        CurrentPlatform().DestroyWindow(m_window);
    m_window = 0;
}

void TCustomForm::DoCreate()
{
    if (m_onCreate)
        m_onCreate(this);
}

void TCustomForm::RegisterHandler(const std::string& name, std::any handler)
{
    m_handlers[name] = std::move(handler);
}

const std::any* TCustomForm::FindHandler(const std::string& name) const
{
    auto it = m_handlers.find(name);
    return it == m_handlers.end() ? nullptr : &it->second;
}

TCanvas& TCustomForm::Canvas()
{
    if (!InPaint())
        BindCanvas(WindowCanvas());
    return WindowCanvas();
}

void TCustomForm::HandleNeeded()
{
    if (m_window)
        return;
    m_window = m_popup ? CurrentPlatform().CreatePopupWindow(BoundsRect()) : CurrentPlatform().CreateWindow(BoundsRect(), Caption());
    InvalidateFormRect(ClientRect());
}

Raster* TCustomForm::Surface()
{
    return m_window ? &CurrentPlatform().Surface(m_window) : nullptr;
}

void TCustomForm::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    bool resized = std::max(width, 0) != Width() || std::max(height, 0) != Height();
    const TWeakRef alive(this);
    TWinControl::SetBounds(left, top, width, height); // OnResize may free the form
    if (!alive)
        return;
    if (m_window) {
        CurrentPlatform().SetWindowBounds(m_window, BoundsRect());
        if (resized)
            InvalidateFormRect(ClientRect());
    }
}

void TCustomForm::InvalidateFormRect(const TRect& rect)
{
    TRect r = Intersect(rect, ClientRect());
    if (r.IsEmpty())
        return;
    // Overlapping rectangles merge, so each pixel is painted once per pass.
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto it = m_damage.begin(); it != m_damage.end(); ++it)
            if (!Intersect(*it, r).IsEmpty()) {
                r = Union(r, *it);
                m_damage.erase(it);
                merged = true;
                break;
            }
    }
    m_damage.push_back(r);
    if (m_damage.size() > 32) {
        TRect all = m_damage.front();
        for (const TRect& d : m_damage)
            all = Union(all, d);
        m_damage.assign(1, all);
    }
}

void TCustomForm::PaintDamage()
{
    Raster* surface = Surface();
    if (!surface || m_damage.empty())
        return;
    auto damage = std::move(m_damage);
    m_damage.clear();
    TPaintContext context { surface, {} };
    const TWeakRef alive(this);
    for (const TRect& r : damage) {
        PaintInContext(context, r);
        if (!alive)
            return; // freed by a paint handler
        CurrentPlatform().Present(m_window, r);
    }
}

void TCustomForm::RenderTo(TBitmap& bitmap)
{
    bitmap.SetSize(ClientWidth(), ClientHeight());
    TPaintContext context { &bitmap.Image(), {} };
    PaintInContext(context, ClientRect());
}

void TCustomForm::PaintWindow(TCanvas&)
{
    if (m_onPaint)
        m_onPaint(this);
}

void TCustomForm::CMVisibleChanged(TMessage&)
{
    ShowWindow(Visible());
}

void TCustomForm::CMTextChanged(TMessage& message)
{
    TWinControl::CMTextChanged(message);
    if (m_window)
        CurrentPlatform().SetWindowCaption(m_window, Caption());
}

void TCustomForm::ShowWindow(bool visible)
{
    if (visible) {
        if (m_position == poScreenCenter && InitializedApplication()) {
            TControl::SetBounds((Screen().Width() - Width()) / 2, (Screen().Height() - Height()) / 2, Width(), Height());
            if (m_window)
                CurrentPlatform().SetWindowBounds(m_window, BoundsRect());
        }
        HandleNeeded();
        CurrentPlatform().SetWindowStyle(m_window, WindowStyle());
        CurrentPlatform().ShowWindow(m_window, true);
        InvalidateFormRect(ClientRect());
        const TWeakRef alive(this);
        if (m_onShow)
            m_onShow(this); // may free the form
        if (!alive)
            return;
        if (InitializedApplication() && !m_popup)
            Application().FormShown(this);
        if (!m_popup)
            ShowFocus(true);
    } else if (m_window) {
        CurrentPlatform().ShowWindow(m_window, false);
        const TWeakRef alive(this);
        if (!m_popup)
            ShowFocus(false); // the focused control's handlers may free the form
        if (alive && m_onHide)
            m_onHide(this);
    }
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (m_onCloseQuery)
        m_onCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    const TWeakRef alive(this);
    if (m_modal) {
        if (CloseQuery() && alive)
            m_modalResult = mrCancel;
        return;
    }
    if (!CloseQuery() || !alive)
        return;
    TCloseAction action = caHide;
    if (m_onClose)
        m_onClose(this, action);
    if (action == caNone || !alive)
        return;
    bool main = InitializedApplication() && Application().MainForm() == this;
    if (action == caFree)
        Release();
    else
        Hide();
    if (main)
        Application().Terminate();
}

void TCustomForm::Release()
{
    Application().ReleaseForm(this);
    if (m_modal && m_modalResult == mrNone)
        m_modalResult = mrCancel;
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || m_modal)
        throw EInvalidOperation("Cannot make a visible window modal");
    TApplication& app = Application();
    m_modal = true;
    m_modalResult = mrNone;
    app.PushModal(this);
    // A press that opened the dialog (a double click, say) must not keep the
    // pointer on the window below, whose input now waits.
    app.SetCaptureControl(nullptr);
    CurrentPlatform().ReleaseCapture();
    const TWeakRef alive(this);
    app.CancelHint();
    try {
        Show(); // OnShow may free the form
        if (!alive || !RunModalLoop())
            return mrCancel;
    } catch (...) {
        if (alive)
            EndModal();
        throw;
    }
    TModalResult result = m_modalResult;
    EndModal();
    return result;
}

bool TCustomForm::RunModalLoop()
{
    TApplication& app = Application();
    TPlatform& platform = CurrentPlatform();
    const TWeakRef alive(this);
    std::int64_t idleSince = app.Now();
    while (m_modalResult == mrNone) {
        bool busy = app.ProcessMessages();
        if (!alive)
            return false;
        if (m_modalResult != mrNone)
            break;
        if (app.Terminated() || !Visible()) {
            m_modalResult = mrCancel;
            break;
        }
        if (busy) {
            idleSince = app.Now();
            continue;
        }
        std::int64_t due = app.NextTimerDue();
        if (platform.IsVirtualTime()) {
            // Nothing happens by itself here: let the next timer's time come,
            // or give up with mrCancel when no timer is left to act.
            if (due < 0 || due - idleSince > kVirtualIdleLimit) {
                m_modalResult = mrCancel;
                break;
            }
            app.AdvanceTime(std::max<std::int64_t>(due - app.Now(), 0));
            if (!alive)
                return false;
        } else {
            platform.WaitForEvent(due < 0 ? 100 : std::clamp<std::int64_t>(due - app.Now(), 0, 100));
        }
    }
    return true;
}

void TCustomForm::EndModal()
{
    Application().PopModal(this);
    m_modal = false;
    Hide(); // OnHide may free the form; nothing follows
}

void TCustomForm::WMKeyDown(TMessage& message)
{
    TWinControl::WMKeyDown(message);
}

void TCustomForm::WMChar(TMessage& message)
{
    TWinControl::WMChar(message);
}

void TCustomForm::HandleEvent(const TPlatformEvent& e)
{
    switch (e.kind) {
    case TPlatformEventKind::MouseDown:
    case TPlatformEventKind::MouseUp:
    case TPlatformEventKind::MouseMove:
        DispatchMouse(e);
        break;
    case TPlatformEventKind::Char:
        DeliverChar(e);
        break;
    case TPlatformEventKind::KeyDown:
        DeliverKeyDown(e);
        break;
    case TPlatformEventKind::KeyUp:
        DeliverKeyUp(e);
        break;
    case TPlatformEventKind::Close:
        Close();
        break;
    case TPlatformEventKind::Resize:
        SetBounds(e.area.Left, e.area.Top, e.area.Width(), e.area.Height());
        break;
    case TPlatformEventKind::MouseWheel:
        DispatchWheel(e);
        break;
    case TPlatformEventKind::MouseLeave:
        if (Application().ButtonsDown() == 0 && GetParentForm(Application().HoverControl()) == this) {
            Application().SetHoverControl(nullptr);
            Application().HintMouseMessage(nullptr, false); // a shown hint goes with the pointer
        }
        break;
    case TPlatformEventKind::Expose:
        InvalidateFormRect(e.area);
        break;
    default:
        break;
    }
}

void TCustomForm::DispatchMouse(const TPlatformEvent& e)
{
    TApplication& app = Application();
    TPoint screen { detail::ClampToInt32(std::int64_t { e.point.X } + Left()), detail::ClampToInt32(std::int64_t { e.point.Y } + Top()) };
    // Every handler below may free the form, the target or both.
    const TWeakRef alive(this);
    WPARAM buttons = app.ButtonsDown();
    if (e.kind == TPlatformEventKind::MouseDown)
        buttons |= ButtonFlag(e.button);
    else if (e.kind == TPlatformEventKind::MouseUp)
        buttons &= ~ButtonFlag(e.button);
    app.SetButtonsDown(buttons);

    if (app.DragSource()) {
        if (e.kind == TPlatformEventKind::MouseMove)
            app.DragMove(screen);
        else if (e.kind == TPlatformEventKind::MouseUp)
            app.DragEnd(screen, true);
        if (alive)
            UpdateHover(e.point);
        return;
    }

    TControl* target = app.CaptureControl();
    if (!target || GetParentForm(target) != this)
        target = DeepControlAtPos(e.point, false);
    bool doubleClick = false;
    if (e.kind == TPlatformEventKind::MouseDown) {
        CurrentPlatform().SetCapture(m_window);
        auto& last = app.LastPress();
        std::int64_t now = app.Now();
        doubleClick = last.control == target && last.button == static_cast<std::int32_t>(e.button)
            && now - last.time <= kDoubleClickTime && std::abs(std::int64_t { screen.X } - last.screen.X) <= kDoubleClickDistance
            && std::abs(std::int64_t { screen.Y } - last.screen.Y) <= kDoubleClickDistance && target->ControlStyle().Contains(csDoubleClicks);
        if (doubleClick)
            last = {};
        else
            last = { now, screen, target, static_cast<std::int32_t>(e.button) };
    }
    WPARAM keys = buttons | (e.shift ? MK_SHIFT : 0) | (e.ctrl ? MK_CONTROL : 0);
    TPoint origin = target->FormOrigin();
    TPoint local { detail::ClampToInt32(std::int64_t { e.point.X } - origin.X), detail::ClampToInt32(std::int64_t { e.point.Y } - origin.Y) };
    target->Perform(MouseMessage(e.kind, e.button, doubleClick), keys, PointToLParam(local));
    // The target, and the form, may be gone now.
    if (e.kind == TPlatformEventKind::MouseUp && app.ButtonsDown() == 0)
        CurrentPlatform().ReleaseCapture();
    if (alive) {
        UpdateHover(e.point);
        app.HintMouseMessage(app.HoverControl(), e.kind != TPlatformEventKind::MouseMove);
    }
}

void TCustomForm::DispatchWheel(const TPlatformEvent& e)
{
    TApplication& app = Application();
    const TPoint screen { detail::ClampToInt32(std::int64_t { e.point.X } + Left()), detail::ClampToInt32(std::int64_t { e.point.Y } + Top()) };
    const auto delta = static_cast<std::uint16_t>(std::clamp(e.wheelDelta, -32768, 32767));
    const WPARAM keys = app.ButtonsDown() | (e.shift ? MK_SHIFT : 0) | (e.ctrl ? MK_CONTROL : 0);
    const WPARAM wParam = static_cast<WPARAM>((std::uint32_t { delta } << 16) | (static_cast<std::uint32_t>(keys) & 0xFFFF));
    TControl* start = app.CaptureControl();
    if (!start || GetParentForm(start) != this)
        start = DeepControlAtPos(e.point, false);
    // Up the parents until one takes it; any of them may be freed by the one before.
    for (TWeakRef<TControl> c(start); c;) {
        const TWeakRef<TControl> parent(c->Parent());
        if (c->Perform(WM_MOUSEWHEEL, wParam, PointToLParam(screen)) != 0)
            return;
        c = c ? c->Parent() : parent.Get();
    }
}

void TCustomForm::UpdateHover(TPoint clientPoint)
{
    TControl* hover = ClientRect().Contains(clientPoint) ? DeepControlAtPos(clientPoint, true) : nullptr;
    const TWeakRef alive(this);
    Application().SetHoverControl(hover); // CM_MOUSEENTER and CM_MOUSELEAVE may free the form
    if (alive)
        ShowPointerShape();
}

void TCustomForm::ShowPointerShape()
{
    if (!m_window)
        return;
    TApplication& app = Application();
    TCursor cursor = Screen().Cursor();
    if (cursor == crDefault && app.DragSource())
        cursor = app.DragAccepted() ? app.DragSource()->DragCursor() : crNoDrop;
    TControl* under = app.CaptureControl() ? app.CaptureControl() : app.HoverControl();
    if (GetParentForm(under) != this)
        under = nullptr;
    for (TControl* c = under; c && cursor == crDefault; c = c->Parent())
        cursor = c->Cursor();
    CurrentPlatform().SetWindowCursor(m_window, cursor);
}

TWindowStyle TCustomForm::WindowStyle() const
{
    TWindowStyle style;
    style.border = static_cast<TWindowBorder>(m_borderStyle);
    style.modal = m_modal;
    if (m_modal && InitializedApplication()) {
        // A modal dialog belongs to the form shown last before it.
        const auto& forms = Screen().m_forms;
        for (auto it = forms.rbegin(); it != forms.rend() && !style.owner; ++it)
            if (*it != this && (*it)->Visible() && (*it)->m_window)
                style.owner = (*it)->m_window;
    }
    return style;
}

// ---- Focus ---------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == m_activeControl.Get() && (!control || m_focusEntered || !Visible()))
        return;
    if (control && (control == this || !ContainsControl(control)))
        throw EInvalidOperation("Cannot focus a control that is not on the form");
    if (control && !ComponentState().Contains(csLoading) && !control->CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    TWinControl* previous = m_focusEntered ? m_activeControl.Get() : nullptr;
    m_activeControl = control;
    if (!Visible() || m_popup || ComponentState().Contains(csDestroying)) {
        // The control gets the focus, and OnEnter, when the form is shown.
        m_focusEntered = false;
        return;
    }
    MoveFocus(previous, control);
}

void TCustomForm::SetActiveControlComponent(TComponent* control)
{
    auto* w = dynamic_cast<TWinControl*>(control);
    if (control && !w)
        throw EPropertyError("ActiveControl must be a windowed control");
    SetActiveControl(w);
}

void TCustomForm::MoveFocus(TWinControl* from, TWinControl* to)
{
    m_focusEntered = true;
    // OnExit for from and each container of it that does not hold to, then
    // OnEnter for each container of to (outermost first) that does not hold
    // from, then to itself. Any handler may free controls or move the focus
    // elsewhere; the chain stops as soon as the focus is no longer going to to.
    std::vector<TWinControl*> exits;
    for (TWinControl* c = from; c && c != this && !(to && c->ContainsControl(to)); c = c->Parent())
        exits.push_back(c);
    std::vector<TWinControl*> enters;
    for (TWinControl* c = to; c && c != this && !(from && c->ContainsControl(from)); c = c->Parent())
        enters.insert(enters.begin(), c);
    auto going = [](const TWinControl* c) { return c->ComponentState().Contains(csDestroying); };
    std::vector<std::unique_ptr<detail::TFreeWatch>> exitWatches, enterWatches;
    for (TWinControl* c : exits)
        exitWatches.push_back(std::make_unique<detail::TFreeWatch>(*c));
    for (TWinControl* c : enters)
        enterWatches.push_back(std::make_unique<detail::TFreeWatch>(*c));
    detail::TFreeWatch self(*this);
    auto stillGoing = [&] { return self.Alive() && m_activeControl.Get() == to; };

    if (from && !going(from))
        from->Perform(WM_KILLFOCUS, 0, 0);
    for (std::size_t i = 0; i < exits.size() && stillGoing(); ++i)
        if (exitWatches[i]->Alive() && !going(exits[i]))
            exits[i]->Perform(CM_EXIT, 0, 0);
    for (std::size_t i = 0; i < enters.size() && stillGoing(); ++i)
        if (enterWatches[i]->Alive())
            enters[i]->Perform(CM_ENTER, 0, 0);
    if (stillGoing() && to)
        to->Perform(WM_SETFOCUS, 0, 0);
    if (self.Alive())
        NotifyFocusChanged(m_activeControl.Get());
}

void TCustomForm::NotifyFocusChanged(TWinControl* control)
{
    if (ComponentState().Contains(csDestroying))
        return;
    // CM_FOCUSCHANGED handlers only record state; they run no user code.
    auto notify = [control](auto& self, TWinControl& parent) -> void {
        for (std::int32_t i = 0; i < parent.ControlCount(); ++i) {
            TControl* c = parent.Controls(i);
            c->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
            if (auto* w = dynamic_cast<TWinControl*>(c))
                self(self, *w);
        }
    };
    notify(notify, *this);
}

void TCustomForm::ShowFocus(bool visible)
{
    if (!visible) {
        if (m_activeControl.Get() && m_focusEntered)
            m_activeControl.Get()->Perform(WM_KILLFOCUS, 0, 0);
        return;
    }
    if (m_activeControl.Get() && !m_activeControl.Get()->CanFocus()) {
        m_activeControl = nullptr;
        m_focusEntered = false;
    }
    if (!m_activeControl.Get())
        SelectFirst();
    else if (!m_focusEntered)
        MoveFocus(nullptr, m_activeControl.Get());
    else
        m_activeControl.Get()->Perform(WM_SETFOCUS, 0, 0);
}

// ---- Keyboard routing ----------------------------------------------------
//
// A key goes first to the form when KeyPreview is on; then a dialog key (Tab,
// an arrow, Enter, Escape) that the focused control does not want
// (CM_WANTSPECIALKEY) goes to the form as CM_DIALOGKEY; what is left goes to
// the focused control (the form itself when none has the focus). A character
// goes to the focused control; one it does not take, and any typed with Alt,
// goes to the form as CM_DIALOGCHAR, which finds the accelerator. Handlers may
// free the form, so each step checks that it is still there.

namespace {

LPARAM KeyData(const TPlatformEvent& e) noexcept
{
    return (e.shift ? KD_SHIFT : 0) | (e.ctrl ? KD_CTRL : 0) | (e.alt ? KD_ALT : 0);
}

bool IsDialogKey(std::uint32_t key) noexcept
{
    switch (key) {
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
    case VK_ESCAPE:
        return true;
    default:
        return false;
    }
}

} // namespace

void TCustomForm::DeliverKeyDown(const TPlatformEvent& e)
{
    const auto key = static_cast<WPARAM>(e.key);
    const LPARAM flags = KeyData(e);
    detail::TFreeWatch self(*this);
    auto target = [this]() -> TWinControl* { return m_activeControl.Get() ? m_activeControl.Get() : this; };
    if (m_keyPreview && target() != this)
        if (Perform(WM_KEYDOWN, key, flags) != 0 || !self.Alive())
            return;
    if (IsDialogKey(e.key) && (target() == this || target()->Perform(CM_WANTSPECIALKEY, key, flags) == 0))
        if (Perform(CM_DIALOGKEY, key, flags) != 0 || !self.Alive())
            return;
    target()->Perform(WM_KEYDOWN, key, flags);
}

void TCustomForm::DeliverKeyUp(const TPlatformEvent& e)
{
    const auto key = static_cast<WPARAM>(e.key);
    const LPARAM flags = KeyData(e);
    detail::TFreeWatch self(*this);
    if (m_keyPreview && m_activeControl.Get())
        if (Perform(WM_KEYUP, key, flags) != 0 || !self.Alive())
            return;
    (m_activeControl.Get() ? m_activeControl.Get() : this)->Perform(WM_KEYUP, key, flags);
}

void TCustomForm::DeliverChar(const TPlatformEvent& e)
{
    const auto key = static_cast<WPARAM>(e.key);
    if (e.alt) {
        Perform(CM_DIALOGCHAR, key, KD_ALT);
        return;
    }
    detail::TFreeWatch self(*this);
    if (m_keyPreview && m_activeControl.Get())
        if (Perform(WM_CHAR, key, 0) != 0 || !self.Alive())
            return;
    bool taken = (m_activeControl.Get() ? m_activeControl.Get() : this)->Perform(WM_CHAR, key, 0) != 0;
    if (!taken && self.Alive())
        Perform(CM_DIALOGCHAR, key, 0);
}

void TCustomForm::CMDialogKey(TMessage& message)
{
    const TShiftState shift = KeyDataToShiftState(message.LParam);
    if (!shift.Contains(ssAlt)) {
        switch (message.WParam) {
        case VK_TAB:
            if (shift.Contains(ssCtrl))
                break;
            message.Result = 1;
            SelectNext(m_activeControl.Get(), !shift.Contains(ssShift), true);
            return;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (m_activeControl.Get() && m_activeControl.Get()->Parent()) {
                message.Result = 1;
                m_activeControl.Get()->Parent()->SelectNext(m_activeControl.Get(), message.WParam == VK_RIGHT || message.WParam == VK_DOWN, false);
            }
            return;
        default:
            break;
        }
    }
    TWinControl::CMDialogKey(message);
}

const TClassInfo& TCustomForm::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TCustomForm>("TCustomForm", &TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TCustomForm::ClassType() const
{
    return StaticClassInfo();
}

// ---- TForm ---------------------------------------------------------------

TForm::TForm(TComponent* owner)
    : TCustomForm(owner)
{
}

const TClassInfo& TForm::StaticClassInfo()
{
    static const TEnumInfo borderStyles { "TFormBorderStyle", { "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin" } };
    static const TEnumInfo positions { "TPosition", { "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter" } };
    static const TClassInfo info = TClassInfoBuilder<TForm>("TForm", &TCustomForm::StaticClassInfo())
        .Reference("ActiveControl", "TWinControl", &TCustomForm::ActiveControlComponent, &TCustomForm::SetActiveControlComponent)
        .Integer("Left", &TControl::Left, &TControl::SetLeft)
        .Integer("Top", &TControl::Top, &TControl::SetTop)
        .Integer("Width", &TControl::Width, &TControl::SetWidth).NotStored()
        .Integer("Height", &TControl::Height, &TControl::SetHeight).NotStored()
        .Enum("BorderStyle", borderStyles, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable)
        .String("Caption", &TControl::Caption, &TControl::SetCaption)
        .Integer("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
        .Integer("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
        .Integer("Color", &TControl::Color, &TControl::SetColor, clBtnFace, &ColorIdents(), "TColor")
        .Object("Font", "TFont", [](TForm& f) -> TPersistent* { return &f.Font(); })
        .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
        .Enum("Position", positions, &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned)
        .Apply([](auto& b) { PublishInherited(b, { "ShowHint" }); })
        .Event("OnClose", "TCloseEvent", &TCustomForm::OnClose, &TCustomForm::SetOnClose)
        .Event("OnCreate", "TNotifyEvent", &TCustomForm::OnCreate, &TCustomForm::SetOnCreate)
        .Event("OnDestroy", "TNotifyEvent", &TCustomForm::OnDestroy, &TCustomForm::SetOnDestroy)
        .Apply([](auto& b) { PublishInherited(b, { "OnKeyDown", "OnKeyPress", "OnKeyUp" }); })
        .Event("OnPaint", "TNotifyEvent", &TCustomForm::OnPaint, &TCustomForm::SetOnPaint)
        .Event("OnShow", "TNotifyEvent", &TCustomForm::OnShow, &TCustomForm::SetOnShow)
        .Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
        .Creator([](TComponent* owner) -> TComponent* { return new TForm(owner); })
        .Build();
    return info;
}

const TClassInfo& TForm::ClassType() const
{
    return StaticClassInfo();
}

// ---- TScreen -------------------------------------------------------------

TScreen::TScreen(TComponent* owner)
    : TComponent(owner)
{
}

std::int32_t TScreen::Width() const
{
    return CurrentPlatform().ScreenSize().cx;
}

std::int32_t TScreen::Height() const
{
    return CurrentPlatform().ScreenSize().cy;
}

TCustomForm* TScreen::Forms(std::int32_t index) const
{
    if (index < 0 || index >= FormCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return m_forms[static_cast<std::size_t>(index)];
}

TCustomForm* TScreen::ActiveForm() const
{
    if (TCustomForm* modal = Application().ModalForm())
        return modal;
    for (auto it = m_forms.rbegin(); it != m_forms.rend(); ++it)
        if ((*it)->Visible() && !(*it)->IsPopup())
            return *it;
    return nullptr;
}

const std::vector<std::string>& TScreen::Fonts() const
{
    if (!m_fonts.empty())
        return m_fonts;
    std::vector<std::string> names;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
        if (FcFontSet* set = objects ? FcFontList(nullptr, pattern, objects) : nullptr) {
            for (int i = 0; i < set->nfont; ++i) {
                FcChar8* family = nullptr;
                if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
                    names.emplace_back(reinterpret_cast<const char*>(family));
            }
            FcFontSetDestroy(set);
        }
        if (objects)
            FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
    }
    // The classic names forms use, where they resolve to an installed face.
    for (const char* classic : { "Arial", "Courier New", "MS Sans Serif", "Times New Roman" })
        if (!detail::FontEngine::Instance().ResolveFace(classic, 400, false).fallback)
            names.emplace_back(classic);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    names.erase(std::unique(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return SameText(a, b); }), names.end());
    m_fonts = std::move(names);
    return m_fonts;
}

// ---- THintWindow -----------------------------------------------------------

THintWindow::THintWindow(TComponent* owner)
    : TCustomForm(owner)
{
    MakePopup();
    SetBorderStyle(bsNone);
    SetColor(clInfoBk);
    Font().SetColor(clInfoText);
}

TRect THintWindow::CalcHintRect(std::int32_t maxWidth, const std::string& hint)
{
    // The text, a margin of two pixels (three on the right) and a one-pixel frame.
    TBitmap scratch(1, 1);
    scratch.Canvas().Font().Assign(&Font());
    TRect r = Rect(0, 0, std::max(maxWidth - 8, 1), 0);
    DrawText(scratch.Canvas(), hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.Right += 8;
    r.Bottom += 4;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint)
{
    TScreen& screen = Screen();
    if (rect.Right > screen.Width())
        OffsetRect(rect, screen.Width() - rect.Right, 0);
    if (rect.Left < 0)
        OffsetRect(rect, -rect.Left, 0);
    if (rect.Bottom > screen.Height())
        OffsetRect(rect, 0, screen.Height() - rect.Bottom);
    if (rect.Top < 0)
        OffsetRect(rect, 0, -rect.Top);
    SetCaption(hint);
    SetBoundsRect(rect);
    Invalidate();
    Show();
}

void THintWindow::ReleaseHint()
{
    Hide();
}

void THintWindow::PaintWindow(TCanvas& canvas)
{
    TRect r = ClientRect();
    detail::DrawFrame(canvas, r, clWindowFrame, clWindowFrame);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(&Font());
    r.Left += 2;
    r.Top += 2;
    DrawText(canvas, Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

std::string GetShortHint(const std::string& hint)
{
    auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint)
{
    auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

// ---- TApplication --------------------------------------------------------

TApplication::TApplication(TComponent* owner)
    : TComponent(owner)
    , m_title(ChangeFileExt(ExtractFileName(ExeName()), ""))
{
}

TApplication::~TApplication()
{
    Destroying();
    for (TCustomForm* f : std::exchange(m_released, {}))
        delete f;
    // The hint's window and timer talk to the application as they go.
    m_hintWindow.reset();
    m_hintTimer.reset();
    // The forms it owns (CreateForm) report to the application as they go, so
    // they go while it is still one, last in, first out.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
}

std::string TApplication::ExeName() const
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::int64_t TApplication::Now() const
{
    return CurrentPlatform().Now();
}

void TApplication::RegisterTimer(TTimer* timer)
{
    if (std::find(m_timers.begin(), m_timers.end(), timer) == m_timers.end())
        m_timers.push_back(timer);
}

void TApplication::UnregisterTimer(TTimer* timer)
{
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}

std::int64_t TApplication::NextTimerDue() const
{
    std::int64_t due = -1;
    for (TTimer* t : m_timers)
        if (t->Running() && (due < 0 || t->Due() < due))
            due = t->Due();
    return due;
}

void TApplication::FireDueTimers()
{
    // Each timer ticks at most once per round, as the platform's timer messages
    // do. A tick may free other due timers, or stop them.
    const std::int64_t now = Now();
    std::vector<TTimer*> due;
    for (TTimer* t : m_timers)
        if (t->Running() && t->Due() <= now)
            due.push_back(t);
    std::sort(due.begin(), due.end(), [](TTimer* a, TTimer* b) { return a->Due() < b->Due(); });
    for (const TWeakRef<TTimer>& t : WeakSnapshot(due)) {
        if (!t || !t->Running() || t->Due() > now)
            continue;
        try {
            t->Fire(now);
        } catch (...) {
            HandleException(t.Get());
        }
    }
}

void TApplication::AdvanceTime(std::int64_t ms)
{
    auto* headless = dynamic_cast<THeadlessPlatform*>(&CurrentPlatform());
    if (!headless) {
        ProcessMessages();
        return;
    }
    const std::int64_t target = headless->Now() + std::max<std::int64_t>(ms, 0);
    for (;;) {
        std::int64_t due = NextTimerDue();
        if (due < 0 || due > target)
            break;
        headless->SetNow(std::max(due, headless->Now()));
        ProcessMessages();
    }
    headless->SetNow(target);
    ProcessMessages();
}

void TApplication::AddShowHook(std::function<bool(TCustomForm&)> hook)
{
    m_showHooks.push_back(std::move(hook));
}

void TApplication::FormShown(TCustomForm* form)
{
    if (!form->ComponentState().Contains(csDestroying))
        m_justShown.push_back(form);
}

bool TApplication::RunShowHooks()
{
    if (m_justShown.empty() || m_showHooks.empty()) {
        m_justShown.clear();
        return false;
    }
    bool ran = false;
    // A hook may free any form, the ones still to come in this list included.
    auto shown = WeakSnapshot(m_justShown);
    m_justShown.clear();
    for (const TWeakRef<TCustomForm>& form : shown) {
        if (!form || !form->Visible())
            continue;
        form->PaintDamage();
        for (std::size_t i = 0; form && i < m_showHooks.size();) {
            auto hook = m_showHooks[i];
            ran = true;
            if (hook(*form))
                m_showHooks.erase(m_showHooks.begin() + static_cast<std::ptrdiff_t>(i));
            else
                ++i;
        }
    }
    return ran;
}

void TApplication::ReleaseForm(TCustomForm* form)
{
    if (form->ComponentState().Contains(csDestroying))
        return; // on its way already
    if (std::find(m_released.begin(), m_released.end(), form) == m_released.end())
        m_released.push_back(form);
}

bool TApplication::Released(const TCustomForm* form) const noexcept
{
    return std::find(m_released.begin(), m_released.end(), form) != m_released.end();
}

bool TApplication::FreeReleasedForms()
{
    // One at a time from the list itself: freeing a form frees the forms it
    // owns, which leave the list as they go (FormDestroyed). A form whose
    // ShowModal still runs stays until that loop has ended.
    bool any = false;
    for (;;) {
        auto it = std::find_if(m_released.begin(), m_released.end(), [](TCustomForm* f) { return !f->Modal(); });
        if (it == m_released.end())
            return any;
        TCustomForm* form = *it;
        m_released.erase(it);
        delete form;
        any = true;
    }
}

void TApplication::HandleException(TObject* sender) noexcept
{
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        try {
            std::rethrow_exception(current);
        } catch (const Exception& e) {
            if (m_onException)
                m_onException(sender, e);
            else
                ShowException(e);
        } catch (const std::exception& e) {
            Exception wrapped(e.what());
            if (m_onException)
                m_onException(sender, wrapped);
            else
                ShowException(wrapped);
        } catch (...) {
            Exception wrapped("Unknown exception");
            if (m_onException)
                m_onException(sender, wrapped);
            else
                ShowException(wrapped);
        }
    } catch (const Exception& e) {
        ShowException(e); // thrown by OnException itself
    } catch (const std::exception& e) {
        try {
            ShowException(Exception(e.what()));
        } catch (...) {
        }
    } catch (...) {
        try {
            ShowException(Exception("Unknown exception"));
        } catch (...) {
        }
    }
}

void TApplication::ShowException(const Exception& e) noexcept
{
    ++m_exceptionsShown;
    try {
        m_lastExceptionMessage = e.Message();
    } catch (...) {
        m_lastExceptionMessage.clear(); // no memory for the text: the count still tells
    }
    // With a real window system somebody is watching: say it where a terminal shows it.
    if (!CurrentPlatform().IsVirtualTime())
        std::fprintf(stderr, "%s\n", m_lastExceptionMessage.c_str());
}

void TApplication::PopModal(TCustomForm* form)
{
    m_modalStack.erase(std::remove(m_modalStack.begin(), m_modalStack.end(), form), m_modalStack.end());
}

void TApplication::FormDestroyed(TCustomForm* form) noexcept
{
    if (m_mainForm == form)
        m_mainForm = nullptr;
    for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
        if (Screen().Forms(i)->PopupParent() == form)
            Screen().Forms(i)->SetPopupParent(nullptr);
    std::erase(m_justShown, form);
    std::erase(m_released, form);
    std::erase(m_modalStack, form);
    ControlDestroyed(form);
}

void TApplication::ControlDestroyed(TControl* control) noexcept
{
    auto inside = [control](TControl* c) {
        for (; c; c = c->Parent())
            if (c == control)
                return true;
        return false;
    };
    if (inside(m_capture))
        m_capture = nullptr;
    if (inside(m_hover))
        m_hover = nullptr;
    if (inside(m_dragSource))
        m_dragSource = nullptr;
    if (inside(m_dragTarget))
        m_dragTarget = nullptr;
    if (inside(m_lastPress.control))
        m_lastPress = {};
    if (inside(m_hintControl)) {
        m_hintControl = nullptr;
        if (m_hintShown && m_hintWindow && m_hintWindow.get() != control)
            m_hintWindow->ReleaseHint();
        m_hintShown = false;
        if (m_hintTimer)
            m_hintTimer->SetEnabled(false);
    }
}

void TApplication::SetCaptureControl(TControl* control)
{
    m_capture = control;
}

void TApplication::SetHoverControl(TControl* control)
{
    if (control == m_hover)
        return;
    TControl* old = m_hover;
    m_hover = control;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    if (control && control == m_hover)
        control->Perform(CM_MOUSEENTER, 0, 0);
}

void TApplication::StartDrag(TControl* source)
{
    if (m_dragSource)
        return;
    m_dragSource = source;
    m_dragTarget = nullptr;
    m_dragAccepted = false;
    TObject* dragObject = nullptr;
    const TWeakRef alive(source);
    source->DoStartDrag(dragObject); // OnStartDrag may free the source
    if (alive)
        m_capture = source;
}

void TApplication::DragMove(TPoint screen)
{
    // The drag records clear themselves when their controls go (ControlDestroyed),
    // so after every handler they are read again.
    if (!m_dragSource)
        return;
    const TWeakRef<TControl> target = FindDragTarget(screen, false);
    if (target != m_dragTarget) {
        if (m_dragTarget) {
            TPoint p = m_dragTarget->ScreenToClient(screen);
            bool ignored = false;
            m_dragTarget->DragOver(m_dragSource, p.X, p.Y, dsDragLeave, ignored);
            if (!m_dragSource)
                return;
        }
        m_dragTarget = target.Get();
        m_dragAccepted = false;
        if (target) {
            TPoint p = target->ScreenToClient(screen);
            target->DragOver(m_dragSource, p.X, p.Y, dsDragEnter, m_dragAccepted);
        }
    } else if (target) {
        TPoint p = target->ScreenToClient(screen);
        target->DragOver(m_dragSource, p.X, p.Y, dsDragMove, m_dragAccepted);
    }
}

void TApplication::DragEnd(TPoint screen, bool drop)
{
    if (!m_dragSource)
        return;
    DragMove(screen);
    if (!m_dragSource)
        return;
    const TWeakRef<TControl> source = m_dragSource;
    const TWeakRef<TControl> target = drop && m_dragAccepted ? m_dragTarget : nullptr;
    m_dragSource = nullptr;
    m_dragTarget = nullptr;
    m_capture = nullptr;
    TPoint p = target ? target->ScreenToClient(screen) : source->ScreenToClient(screen);
    if (target)
        target->DragDrop(source.Get(), p.X, p.Y); // may free either
    if (source)
        source->DoEndDrag(target.Get(), p.X, p.Y);
}

bool TApplication::ProcessMessages()
{
    bool any = false;
    TPlatform& platform = CurrentPlatform();
    TPlatformEvent e;
    auto windowForm = [](TWindowId window) -> TCustomForm* {
        for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
            if (Screen().Forms(i)->WindowId() == window)
                return Screen().Forms(i);
        return nullptr;
    };
    while (platform.PollEvent(e)) {
        any = true;
        TCustomForm* target = windowForm(e.window);
        if (!target)
            continue;
        bool input = e.kind != TPlatformEventKind::Expose && e.kind != TPlatformEventKind::Resize;
        if (input && !AcceptsInput(target))
            continue; // other windows are disabled while a modal form is up
        if (e.kind == TPlatformEventKind::MouseDown) {
            CancelPopups(target, e.point);
            if (!(target = windowForm(e.window)))
                continue;
        }
        // A handler's exception is the application's to show, as the message
        // loop of a window system does; the loop goes on with the next event.
        const TWeakRef<TCustomForm> sender(target);
        try {
            target->HandleEvent(e);
        } catch (...) {
            HandleException(sender.Get());
        }
    }
    // Timers that only keep up appearances (a caret's blink) do not count as
    // activity, so a loop waiting for something to happen still ends.
    bool due = false;
    for (TTimer* t : m_timers)
        if (t->Running() && t->Due() <= Now()) {
            due = true;
            any = any || !t->Background();
        }
    if (due)
        FireDueTimers();
    if (RunShowHooks())
        any = true;
    if (FreeReleasedForms())
        any = true;
    // A paint handler may free forms.
    for (const TWeakRef<TCustomForm>& form : WeakSnapshot(Screen().m_forms))
        if (form && form->HasDamage())
            form->PaintDamage();
    return any;
}

bool TApplication::AcceptsInput(const TCustomForm* target) const noexcept
{
    const TCustomForm* modal = ModalForm();
    if (!modal)
        return true;
    for (const TCustomForm* f = target; f; f = f->PopupParent())
        if (f == modal)
            return true;
    return false;
}

void TApplication::CancelPopups(TCustomForm* target, TPoint clientPoint)
{
    std::vector<TCustomForm*> popups;
    for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
        if (TCustomForm* f = Screen().Forms(i); f != target && f->IsPopup() && f->Visible())
            popups.push_back(f);
    if (popups.empty())
        return;
    auto hit = reinterpret_cast<LPARAM>(target->DeepControlAtPos(clientPoint, true));
    auto exists = [](TCustomForm* p) {
        for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
            if (Screen().Forms(i) == p)
                return true;
        return false;
    };
    for (TCustomForm* p : popups)
        if (exists(p) && p->Visible())
            p->Perform(CM_CANCELMODE, 0, hit);
}

// ---- Hints -----------------------------------------------------------------

namespace {

// Hints show this far below the pointer's hot spot, clear of the cursor.
constexpr std::int32_t kHintCursorMargin = 20;

} // namespace

void TApplication::SetShowHint(bool value)
{
    if (Store(m_showHint, value, [] { }) && !value)
        CancelHint();
}

void TApplication::SetHint(const std::string& hint)
{
    if (Store(m_hint, hint, [] { }) && m_onHint) {
        auto handler = m_onHint;
        handler(this);
    }
}

THintWindow* TApplication::HintWindow() const noexcept
{
    return m_hintShown ? m_hintWindow.get() : nullptr;
}

void TApplication::CancelHint()
{
    HideHint();
    m_hintCancelled = true;
}

void TApplication::HideHint()
{
    if (m_hintTimer)
        m_hintTimer->SetEnabled(false);
    if (!m_hintShown)
        return;
    m_hintShown = false;
    m_hintHiddenAt = Now();
    if (m_hintWindow)
        m_hintWindow->ReleaseHint();
}

void TApplication::StartHintTimer(std::int32_t ms)
{
    if (!m_hintTimer) {
        m_hintTimer = std::make_unique<TTimer>(nullptr);
        m_hintTimer->SetBackground(true);
        m_hintTimer->SetOnTimer([this](TObject*) {
            if (m_hintShown)
                HideHint();
            else
                ShowHintNow();
        });
    }
    m_hintTimer->SetEnabled(false);
    m_hintTimer->SetInterval(static_cast<std::uint32_t>(std::max(ms, 1)));
    m_hintTimer->SetEnabled(true);
}

void TApplication::HintMouseMessage(TControl* control, bool pressed)
{
    // The hint comes from the first control up the parents whose ShowHint is
    // on (own or inherited).
    TControl* hintControl = control;
    while (hintControl && !hintControl->ShowHint())
        hintControl = hintControl->Parent();
    if (hintControl && hintControl->ComponentState().Contains(csDesigning))
        hintControl = nullptr;
    if (pressed) {
        HideHint();
        m_hintControl = hintControl;
        m_hintCancelled = true;
    } else if (hintControl != m_hintControl) {
        // Right after a hint, the next one follows sooner.
        bool recent = m_hintShown || Now() - m_hintHiddenAt <= m_hintHidePause / 5;
        HideHint();
        m_hintControl = hintControl;
        m_hintCancelled = false;
        if (hintControl && m_showHint)
            StartHintTimer(recent ? m_hintShortPause : m_hintPause);
    } else if (hintControl && !m_hintShown && !m_hintCancelled && m_showHint) {
        StartHintTimer(m_hintPause); // the pointer moved: the rest starts again
    }
    // The long hint (for status lines) of the control or its nearest parent with one.
    TControl* withHint = control;
    while (withHint && withHint->Hint().empty())
        withHint = withHint->Parent();
    SetHint(withHint ? GetLongHint(withHint->Hint()) : std::string());
}

void TApplication::ShowHintNow()
{
    TControl* control = m_hintControl;
    if (!control || !m_showHint || !control->ShowHint() || !control->Showing() || !control->ParentForm()
        || !control->ParentForm()->Visible())
        return;
    THintInfo info;
    info.HintControl = control;
    info.HintStr = GetShortHint(control->Hint());
    const TPoint cursor = GetCursorPos();
    info.CursorPos = control->ScreenToClient(cursor);
    info.HintPos = { cursor.X, cursor.Y + kHintCursorMargin };
    info.HintMaxWidth = Screen().Width();
    info.HintColor = m_hintColor;
    bool cancelled = false;
    if (!detail::Survives(*control, [&] { cancelled = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0; }))
        return;
    if (cancelled || info.HintStr.empty() || m_hintControl != control)
        return;
    if (!m_hintWindow)
        m_hintWindow = std::make_unique<THintWindow>(nullptr);
    m_hintWindow->SetColor(info.HintColor);
    m_hintWindow->SetPopupParent(control->ParentForm());
    TRect r = m_hintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    m_hintWindow->ActivateHint(r, info.HintStr);
    m_hintShown = true;
    StartHintTimer(m_hintHidePause);
}

void TApplication::HandleMessage()
{
    if (ProcessMessages())
        return;
    TPlatform& platform = CurrentPlatform();
    if (platform.IsVirtualTime())
        return;
    std::int64_t due = NextTimerDue();
    platform.WaitForEvent(due < 0 ? 100 : std::clamp<std::int64_t>(due - Now(), 0, 100));
}

void TApplication::Run()
{
    m_terminated = false;
    if (m_mainForm)
        m_mainForm->Show();
    TPlatform& platform = CurrentPlatform();
    while (!m_terminated && (!m_mainForm || m_mainForm->Visible())) {
        bool busy = ProcessMessages();
        if (busy)
            continue;
        if (platform.IsVirtualTime()) {
            // Without a window system nothing can arrive: the run ends when idle.
            break;
        }
        HandleMessage();
    }
}

// ---- Start-up ------------------------------------------------------------

bool InitializedApplication() noexcept
{
    return g_application != nullptr;
}

TApplication& Application()
{
    if (!g_application)
        InitializeControls();
    return *g_application;
}

TScreen& Screen()
{
    if (!g_screen)
        InitializeControls();
    return *g_screen;
}

void RegisterHostControls();
void UnregisterHostControls();

void InitializeControls()
{
    if (!g_controls.Initialize())
        return;
    g_screen = new TScreen(nullptr);
    g_application = new TApplication(nullptr);
    RegisterHostControls();
}

void FinalizeControls()
{
    if (!g_controls.Finalize())
        return;
    UnregisterHostControls();
    delete g_application;
    g_application = nullptr;
    delete g_screen;
    g_screen = nullptr;
}

} // namespace plx
