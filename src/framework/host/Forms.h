// Forms, the screen and the application: top-level windows, modal dialogs, the
// event loop that delivers input, timers and paints on one thread.
#pragma once

#include "framework/host/Platform.h"
#include "framework/host/WinControl.h"
#include "rtl/Exceptions.h"

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plx {

class TBitmap;
class TTimer;

enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
//! Panels and edits take bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TPosition : std::uint8_t { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

using TModalResult = std::int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
//! Receives an exception that escaped a paint or an event handler.
using TExceptionEvent = std::function<void(TObject* sender, const Exception& e)>;

//! A top-level window. Its client area is its whole window (the platform draws
//! any frame outside it); Left and Top are screen coordinates.
//!
//! Its event handlers may free it at any time (better: Release it). A form
//! freed while its ShowModal runs ends that loop, and ShowModal returns mrCancel
//! without touching it.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    //! \name Showing and closing
    //! Shows the form modally and returns its ModalResult once it is set;
    //! mrCancel when the form was freed meanwhile.
    TModalResult ShowModal();
    //! Asks OnCloseQuery and OnClose; a modal form gets mrCancel, the main form
    //! ends the application.
    void Close();
    [[nodiscard]] bool Modal() const noexcept { return m_modal; }
    [[nodiscard]] TModalResult ModalResult() const noexcept { return m_modalResult; }
    void SetModalResult(TModalResult value) noexcept { m_modalResult = value; }
    //! Frees the form once the current message is handled. A modal form's loop
    //! ends first (with mrCancel unless a ModalResult is set), and the form is
    //! freed only after its ShowModal has returned.
    void Release();

    //! \name Properties
    [[nodiscard]] TFormBorderStyle BorderStyle() const noexcept { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle value) noexcept { m_borderStyle = value; }
    [[nodiscard]] TPosition Position() const noexcept { return m_position; }
    void SetPosition(TPosition value) noexcept { m_position = value; }
    [[nodiscard]] bool KeyPreview() const noexcept { return m_keyPreview; }
    void SetKeyPreview(bool value) noexcept { m_keyPreview = value; }
    [[nodiscard]] std::int32_t PixelsPerInch() const noexcept { return 96; }
    void SetPixelsPerInch(std::int32_t) noexcept { }
    //! The form's canvas, for OnPaint handlers.
    [[nodiscard]] TCanvas& Canvas();

    //! \name Events
    [[nodiscard]] const TNotifyEvent& OnCreate() const noexcept { return m_onCreate; }
    void SetOnCreate(TNotifyEvent e) { m_onCreate = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnDestroy() const noexcept { return m_onDestroy; }
    void SetOnDestroy(TNotifyEvent e) { m_onDestroy = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnShow() const noexcept { return m_onShow; }
    void SetOnShow(TNotifyEvent e) { m_onShow = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnHide() const noexcept { return m_onHide; }
    void SetOnHide(TNotifyEvent e) { m_onHide = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnPaint() const noexcept { return m_onPaint; }
    void SetOnPaint(TNotifyEvent e) { m_onPaint = std::move(e); }
    [[nodiscard]] const TCloseEvent& OnClose() const noexcept { return m_onClose; }
    void SetOnClose(TCloseEvent e) { m_onClose = std::move(e); }
    [[nodiscard]] const TCloseQueryEvent& OnCloseQuery() const noexcept { return m_onCloseQuery; }
    void SetOnCloseQuery(TCloseQueryEvent e) { m_onCloseQuery = std::move(e); }
    //! Fires OnCreate; the application calls it after constructing a form, the
    //! form reader after reading one.
    void DoCreate();

    //! \name Focus
    //! The control that has (or, on a hidden form, will get) the keyboard focus.
    [[nodiscard]] TWinControl* ActiveControl() const noexcept { return m_activeControl.Get(); }
    //! Moves the focus: OnExit goes up from the old control and OnEnter down to
    //! the new one, each as far as their common container. A hidden form only
    //! records the control, which gets the focus (and OnEnter) when the form
    //! is shown. Raises EInvalidOperation for a control that is not on the form
    //! or (unless loading) cannot take the focus.
    void SetActiveControl(TWinControl* control);
    //! ActiveControl as a form file reference.
    [[nodiscard]] TComponent* ActiveControlComponent() const noexcept { return m_activeControl.Get(); }
    void SetActiveControlComponent(TComponent* control);

    //! \name Pop-up windows
    //! A pop-up (a drop-down list, a hint) is a borderless window that belongs
    //! to another form: it never takes the keyboard, receives input while its
    //! form is modal, hears CM_CANCELMODE when a button goes down elsewhere, and
    //! no show hook sees it.
    [[nodiscard]] bool IsPopup() const noexcept { return m_popup; }
    [[nodiscard]] TCustomForm* PopupParent() const noexcept { return m_popupParent; }
    void SetPopupParent(TCustomForm* form) noexcept { m_popupParent = form; }

    //! \name Event handlers by name, for form files
    //! Makes a handler known under a name ("Button1Click"); handler holds the
    //! exact std::function type of the events it may be bound to.
    void RegisterHandler(const std::string& name, std::any handler);
    [[nodiscard]] const std::any* FindHandler(const std::string& name) const;

    //! \name Window and painting
    [[nodiscard]] TWindowId WindowId() const noexcept { return m_window; }
    [[nodiscard]] bool HandleAllocated() const noexcept { return m_window != 0; }
    //! Creates the platform window (with its surface) if there is none yet.
    void HandleNeeded();
    //! The window's pixels, or null before the window exists.
    [[nodiscard]] Raster* Surface();
    //! Adds a rectangle (client coordinates) to the area to repaint.
    void InvalidateFormRect(const TRect& rect);
    [[nodiscard]] bool HasDamage() const noexcept { return !m_damage.empty(); }
    //! Paints the invalid area now: each damaged rectangle once, parents before children.
    void PaintDamage();
    //! Paints the whole client area into a bitmap of the client size (no window needed).
    void RenderTo(TBitmap& bitmap);
    //! Delivers a platform event to the form's controls.
    void HandleEvent(const TPlatformEvent& event);

    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    void PaintWindow(TCanvas& canvas) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void WMKeyDown(TMessage& message) override;
    void WMChar(TMessage& message) override;
    //! Tab and Shift+Tab step through the tab stops, arrows through the
    //! active control's siblings; other keys go to the children (a default
    //! button takes Enter, a cancel button Escape).
    void CMDialogKey(TMessage& message) override;
    virtual bool CloseQuery();
    //! Makes this form a pop-up; call in the constructor.
    void MakePopup() noexcept { m_popup = true; }

private:
    //! \name Keyboard routing
    void DeliverKeyDown(const TPlatformEvent& event);
    void DeliverKeyUp(const TPlatformEvent& event);
    void DeliverChar(const TPlatformEvent& event);
    //! \name Focus changes
    //! Runs the exit and enter notifications from one control to another.
    void MoveFocus(TWinControl* from, TWinControl* to);
    //! Tells every control where the focus is now (CM_FOCUSCHANGED).
    void NotifyFocusChanged(TWinControl* control);
    //! Gives the focus its place when the form is shown or hidden.
    void ShowFocus(bool visible);

    void ShowWindow(bool visible);
    //! The modal loop; false when the form was freed in it.
    [[nodiscard]] bool RunModalLoop();
    void EndModal();
    void DispatchMouse(const TPlatformEvent& event);
    void DispatchWheel(const TPlatformEvent& event);
    void UpdateHover(TPoint clientPoint);
    //! Tells the platform the pointer's shape: the screen's, a drag's, or that of
    //! the control under the pointer (or holding the capture) or its nearest parent with one.
    void ShowPointerShape();
    //! The frame and owner the platform window gets when shown.
    [[nodiscard]] TWindowStyle WindowStyle() const;

    TWindowId m_window { 0 };
    std::vector<TRect> m_damage;
    bool m_modal { false };
    TModalResult m_modalResult { mrNone };
    TFormBorderStyle m_borderStyle { bsSizeable };
    TPosition m_position { poDesigned };
    TWeakRef<TWinControl> m_activeControl;
    bool m_focusEntered { false }; //!< OnEnter has run for the active control
    bool m_popup { false };
    TCustomForm* m_popupParent { nullptr };
    bool m_keyPreview { false };
    std::map<std::string, std::any> m_handlers;
    TNotifyEvent m_onCreate;
    TNotifyEvent m_onDestroy;
    TNotifyEvent m_onShow;
    TNotifyEvent m_onHide;
    TNotifyEvent m_onPaint;
    TCloseEvent m_onClose;
    TCloseQueryEvent m_onCloseQuery;
};

//! A form, with its published properties.
class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! The window that shows a hint: the text on the hint colour inside a
//! one-pixel frame, as a pop-up of the form under the pointer.
class THintWindow : public TCustomForm {
public:
    explicit THintWindow(TComponent* owner);

    //! The rectangle (at the origin) the hint needs, its lines broken to fit
    //! maxWidth pixels.
    [[nodiscard]] virtual TRect CalcHintRect(std::int32_t maxWidth, const std::string& hint);
    //! Shows the hint in rect (screen coordinates), kept on the screen.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    //! Hides the hint.
    void ReleaseHint();

protected:
    void PaintWindow(TCanvas& canvas) override;
};

//! The part of a hint before "|" (shown in the hint window).
[[nodiscard]] std::string GetShortHint(const std::string& hint);
//! The part after "|", or the whole hint without one (Application.Hint).
[[nodiscard]] std::string GetLongHint(const std::string& hint);

//! What a control may change before its hint shows (CM_HINTSHOW: LParam points
//! at this record; a non-zero result cancels the hint).
struct THintInfo {
    TControl* HintControl { nullptr };
    TPoint HintPos; //!< screen point of the hint window's top-left corner
    std::int32_t HintMaxWidth { 0 };
    TColor HintColor { clInfoBk };
    TPoint CursorPos; //!< in the control's client coordinates
    std::string HintStr;
};

//! The screen: its size (the platform's) and the forms on it.
class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);
    [[nodiscard]] std::int32_t Width() const;
    [[nodiscard]] std::int32_t Height() const;
    [[nodiscard]] std::int32_t PixelsPerInch() const noexcept { return 96; }
    [[nodiscard]] std::int32_t FormCount() const noexcept { return static_cast<std::int32_t>(m_forms.size()); }
    [[nodiscard]] TCustomForm* Forms(std::int32_t index) const;
    //! The visible form shown last.
    [[nodiscard]] TCustomForm* ActiveForm() const;
    [[nodiscard]] TCursor Cursor() const noexcept { return m_cursor; }
    void SetCursor(TCursor cursor) noexcept { m_cursor = cursor; }
    //! The names of the fonts text can be drawn in, sorted: the installed
    //! families and the classic names that resolve to an installed face.
    [[nodiscard]] const std::vector<std::string>& Fonts() const;

private:
    friend class TCustomForm;
    friend class TApplication;
    std::vector<TCustomForm*> m_forms;
    TCursor m_cursor { crDefault };
    mutable std::vector<std::string> m_fonts;
};

//! The application: its forms, timers and the event loop. Everything runs on one
//! thread: ProcessMessages delivers pending input, then due timers, then paints.
//! Any handler it calls may free any component; the loop never touches a freed
//! one afterwards.
class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    //! \name Identity
    //! The running executable's path.
    [[nodiscard]] std::string ExeName() const;
    [[nodiscard]] const std::string& Title() const noexcept { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }

    //! \name Forms
    //! Constructs a form of class F owned by the application, fires its OnCreate,
    //! and makes the first one the main form.
    template <class F, class... Args>
    F* CreateForm(Args&&... args)
    {
        auto* form = new F(this, std::forward<Args>(args)...);
        if (!m_mainForm)
            m_mainForm = form;
        form->DoCreate();
        return form;
    }
    [[nodiscard]] TCustomForm* MainForm() const noexcept { return m_mainForm; }
    void SetMainForm(TCustomForm* form) noexcept { m_mainForm = form; }

    //! \name The event loop
    //! Handles everything pending: input events, due timers, released forms,
    //! shown-form hooks, then paints. Returns whether anything happened.
    bool ProcessMessages();
    //! One round of the loop; waits for input or the next timer when there is nothing to do.
    void HandleMessage();
    //! Shows the main form and loops until Terminate or the main form closes.
    void Run();
    void Terminate() noexcept { m_terminated = true; }
    [[nodiscard]] bool Terminated() const noexcept { return m_terminated; }

    //! \name Time
    //! Milliseconds of the platform's clock.
    [[nodiscard]] std::int64_t Now() const;
    //! With a virtual clock: moves time forward by ms, firing every timer when its
    //! turn comes, and handling what they cause.
    void AdvanceTime(std::int64_t ms);
    //! The due time of the earliest running timer, or -1.
    [[nodiscard]] std::int64_t NextTimerDue() const;

    //! \name Errors
    //! Handles the exception being caught (call it inside a catch block):
    //! OnException receives it when assigned, otherwise ShowException. Other
    //! exceptions than Exception arrive as an Exception with their message.
    //! Nothing escapes, an exception thrown by OnException included (it is shown).
    void HandleException(TObject* sender) noexcept;
    //! Shows an exception's message to the user: it is recorded
    //! (LastExceptionMessage), and with a real window system also written to
    //! standard error (the platforms offer no message box of their own yet).
    //! The message loop hands it every exception an input event's or a timer's
    //! handler lets out, and goes on.
    void ShowException(const Exception& e) noexcept;
    [[nodiscard]] const TExceptionEvent& OnException() const noexcept { return m_onException; }
    void SetOnException(TExceptionEvent e) { m_onException = std::move(e); }
    //! The message ShowException showed last, and how many it showed.
    [[nodiscard]] const std::string& LastExceptionMessage() const noexcept { return m_lastExceptionMessage; }
    [[nodiscard]] std::int64_t ExceptionsShown() const noexcept { return m_exceptionsShown; }
    //! \name Hints
    //! A control shows its hint when the pointer rests on it for HintPause
    //! milliseconds (HintShortPause right after another hint), for
    //! HintHidePause milliseconds or until the pointer leaves it.
    [[nodiscard]] bool ShowHint() const noexcept { return m_showHint; }
    void SetShowHint(bool value);
    [[nodiscard]] std::int32_t HintPause() const noexcept { return m_hintPause; }
    void SetHintPause(std::int32_t ms) noexcept { m_hintPause = ms; }
    [[nodiscard]] std::int32_t HintShortPause() const noexcept { return m_hintShortPause; }
    void SetHintShortPause(std::int32_t ms) noexcept { m_hintShortPause = ms; }
    [[nodiscard]] std::int32_t HintHidePause() const noexcept { return m_hintHidePause; }
    void SetHintHidePause(std::int32_t ms) noexcept { m_hintHidePause = ms; }
    [[nodiscard]] TColor HintColor() const noexcept { return m_hintColor; }
    void SetHintColor(TColor color) noexcept { m_hintColor = color; }
    //! The long hint of the control under the pointer.
    [[nodiscard]] const std::string& Hint() const noexcept { return m_hint; }
    void SetHint(const std::string& hint);
    [[nodiscard]] const TNotifyEvent& OnHint() const noexcept { return m_onHint; }
    void SetOnHint(TNotifyEvent e) { m_onHint = std::move(e); }
    //! Hides the hint; it comes back only when the pointer moves to another control.
    void CancelHint();
    //! The hint window while a hint shows, else null.
    [[nodiscard]] THintWindow* HintWindow() const noexcept;
    //! Host-internal: the pointer is over control (null: over none) after a
    //! mouse event; pressed when a button went down or up.
    void HintMouseMessage(TControl* control, bool pressed);

    //! \name Hooks for tests and tools
    //! Called for every form that becomes visible (modal dialogs included), once
    //! the form is shown; the hook returns true when it is done and should be removed.
    void AddShowHook(std::function<bool(TCustomForm&)> hook);

    //! \name Host-internal
    void RegisterTimer(TTimer* timer);
    void UnregisterTimer(TTimer* timer);
    void ControlDestroyed(TControl* control) noexcept;
    void FormShown(TCustomForm* form);
    void ReleaseForm(TCustomForm* form);
    [[nodiscard]] bool Released(const TCustomForm* form) const noexcept;
    [[nodiscard]] TControl* CaptureControl() const noexcept { return m_capture; }
    void SetCaptureControl(TControl* control);
    [[nodiscard]] TControl* HoverControl() const noexcept { return m_hover; }
    void SetHoverControl(TControl* control);
    //! Drag-and-drop state.
    void StartDrag(TControl* source);
    [[nodiscard]] TControl* DragSource() const noexcept { return m_dragSource; }
    //! Whether the control under a drag accepts the drop.
    [[nodiscard]] bool DragAccepted() const noexcept { return m_dragAccepted; }
    void DragMove(TPoint screen);
    void DragEnd(TPoint screen, bool drop);
    //! Double-click detection: the time and place of the last button press.
    struct TPressMemory {
        std::int64_t time { -1000000 };
        TPoint screen;
        TControl* control { nullptr };
        std::int32_t button { -1 };
    };
    TPressMemory& LastPress() noexcept { return m_lastPress; }
    //! Modal forms, innermost last; input for other forms waits while one is up.
    void PushModal(TCustomForm* form) { m_modalStack.push_back(form); }
    void PopModal(TCustomForm* form);
    [[nodiscard]] TCustomForm* ModalForm() const noexcept { return m_modalStack.empty() ? nullptr : m_modalStack.back(); }
    //! Mouse buttons held now (MK_ flags).
    [[nodiscard]] WPARAM ButtonsDown() const noexcept { return m_buttons; }
    void SetButtonsDown(WPARAM buttons) noexcept { m_buttons = buttons; }
    void FormDestroyed(TCustomForm* form) noexcept;

private:
    void FireDueTimers();
    bool RunShowHooks();
    //! Frees the released forms whose modal loops have ended; true when any went.
    bool FreeReleasedForms();
    //! Pop-ups other than target hear that a button went down on target.
    void CancelPopups(TCustomForm* target, TPoint clientPoint);
    [[nodiscard]] bool AcceptsInput(const TCustomForm* target) const noexcept;
    void StartHintTimer(std::int32_t ms);
    void ShowHintNow();
    void HideHint();

    std::string m_title;
    TCustomForm* m_mainForm { nullptr };
    bool m_terminated { false };
    std::vector<TTimer*> m_timers;
    std::vector<std::function<bool(TCustomForm&)>> m_showHooks;
    std::vector<TCustomForm*> m_justShown;
    std::vector<TCustomForm*> m_released;
    TControl* m_capture { nullptr };
    TControl* m_hover { nullptr };
    TControl* m_dragSource { nullptr };
    TControl* m_dragTarget { nullptr };
    bool m_dragAccepted { false };
    TPressMemory m_lastPress;
    std::vector<TCustomForm*> m_modalStack;
    WPARAM m_buttons { 0 };
    TExceptionEvent m_onException;
    std::string m_lastExceptionMessage;
    std::int64_t m_exceptionsShown { 0 };
    // Hints.
    bool m_showHint { true };
    std::int32_t m_hintPause { 500 };
    std::int32_t m_hintShortPause { 50 };
    std::int32_t m_hintHidePause { 2500 };
    TColor m_hintColor { clInfoBk };
    std::string m_hint;
    TNotifyEvent m_onHint;
    TControl* m_hintControl { nullptr }; //!< the control whose hint is due or shown
    bool m_hintCancelled { false };
    bool m_hintShown { false };
    std::int64_t m_hintHiddenAt { -1000000 };
    std::unique_ptr<TTimer> m_hintTimer;
    std::unique_ptr<THintWindow> m_hintWindow;
};

//! The one application and screen, created by InitializeControls.
[[nodiscard]] TApplication& Application();
[[nodiscard]] TScreen& Screen();
//! True between InitializeControls and FinalizeControls.
[[nodiscard]] bool InitializedApplication() noexcept;
//! Starts the control layer: the application, the screen and the class registry
//! of the host's controls. A second call only counts.
void InitializeControls();
void FinalizeControls();

//! The form a control lies on (null when none).
[[nodiscard]] TCustomForm* GetParentForm(const TControl* control) noexcept;

} // namespace plx
