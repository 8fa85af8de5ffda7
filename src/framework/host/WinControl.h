// TWinControl: a control that holds other controls; TCustomControl: one that
// also paints itself through a canvas of its own.
#pragma once

#include "framework/host/Control.h"

#include <vector>

namespace plx {

//! A windowed control: the parent of other controls, which it frees with itself
//! (last first), aligns, and paints above its own background: windowless
//! children first, in z-order, then windowed ones.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    //! \name Children
    [[nodiscard]] std::int32_t ControlCount() const noexcept { return static_cast<std::int32_t>(m_controls.size()); }
    //! Raises EListError for an index out of range.
    [[nodiscard]] TControl* Controls(std::int32_t index) const;
    [[nodiscard]] bool ContainsControl(const TControl* control) const noexcept;
    //! Sends the message to every child in turn until one leaves a non-zero
    //! result. A child freed or taken off by a handler on the way is skipped.
    void Broadcast(TMessage& message);
    //! Sends a message with no parameters to every child.
    void NotifyControls(std::uint32_t msg);
    //! The topmost child under a point of the client area (disabled children only
    //! when allowDisabled); null when none.
    [[nodiscard]] TControl* ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls = true) const;
    //! The deepest visible control under a client point (this control when no child is there).
    [[nodiscard]] TControl* DeepControlAtPos(TPoint point, bool allowDisabled);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void SetChildOrder(TControl* control, std::int32_t order);

    //! \name Alignment
    void DisableAlign() noexcept { ++m_alignLevel; }
    void EnableAlign();
    //! Lays out the aligned children (top, bottom, left, right, then client).
    //! When the layout's own handlers (OnResize) add, remove or move aligned
    //! children, it is laid out again, a few times at most.
    void Realign();

    //! \name Properties that only windowed controls have
    [[nodiscard]] bool Ctl3D() const noexcept { return m_ctl3D; }
    void SetCtl3D(bool value);
    [[nodiscard]] bool ParentCtl3D() const noexcept { return m_parentCtl3D; }
    void SetParentCtl3D(bool value);
    //! The position among the parent's windowed children in tab order (the
    //! requested one while there is no parent; -1 for none).
    [[nodiscard]] std::int32_t TabOrder() const noexcept;
    //! Moves the control in its parent's tab order; a value out of range makes
    //! it the last. While loading, the order is settled once everything is read.
    void SetTabOrder(std::int32_t value);
    [[nodiscard]] bool TabStop() const noexcept { return m_tabStop; }
    void SetTabStop(bool value);
    [[nodiscard]] const TNotifyEvent& OnEnter() const noexcept { return m_onEnter; }
    void SetOnEnter(TNotifyEvent e) { m_onEnter = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnExit() const noexcept { return m_onExit; }
    void SetOnExit(TNotifyEvent e) { m_onExit = std::move(e); }
    [[nodiscard]] const TKeyEvent& OnKeyDown() const noexcept { return m_onKeyDown; }
    void SetOnKeyDown(TKeyEvent e) { m_onKeyDown = std::move(e); }
    [[nodiscard]] const TKeyPressEvent& OnKeyPress() const noexcept { return m_onKeyPress; }
    void SetOnKeyPress(TKeyPressEvent e) { m_onKeyPress = std::move(e); }

    //! \name Focus
    //! True when the control is on a form and it and every parent up to the
    //! form are visible and enabled.
    [[nodiscard]] virtual bool CanFocus() const noexcept;
    //! True when the control is its form's active control and the form is shown.
    [[nodiscard]] bool Focused() const noexcept;
    //! Makes the control its form's active control. Raises EInvalidOperation
    //! when it cannot take the focus.
    virtual void SetFocus();

    //! \name Keyboard and tab order
    [[nodiscard]] const TKeyEvent& OnKeyUp() const noexcept { return m_onKeyUp; }
    void SetOnKeyUp(TKeyEvent e) { m_onKeyUp = std::move(e); }
    //! The windowed children in tab order.
    [[nodiscard]] const std::vector<TWinControl*>& TabList() const noexcept { return m_tabList; }
    //! Every windowed control inside, depth first: each child in tab order,
    //! followed by the controls inside it.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    //! The control after (or before) current in GetTabOrderList, wrapping
    //! around, that can take the focus, has TabStop when checkTabStop and is a
    //! direct child when checkParent; null when there is none. A current that is
    //! not in the list starts the search at the end.
    [[nodiscard]] TWinControl* FindNextControl(const TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    //! Focuses FindNextControl(current, goForward, checkTabStop, !checkTabStop):
    //! Tab steps through tab stops everywhere, arrows through siblings.
    void SelectNext(const TWinControl* current, bool goForward, bool checkTabStop);
    //! Focuses the first tab stop inside.
    void SelectFirst();

    [[nodiscard]] bool IsWindowed() const noexcept override { return true; }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void PaintInContext(const TPaintContext& context, const TRect& clip) override;

    //! Host-internal: orders the tab list by the tab orders read from a form
    //! file. The form reader calls it once for each parent of what it read,
    //! after every Loaded.
    void FixupTabList();

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Paints the control's own face (after the background, before children).
    //! The default paints nothing.
    virtual void PaintWindow(TCanvas& canvas);
    //! Fills the client area with Color unless the control is opaque (csOpaque).
    virtual void EraseBackground(TCanvas& canvas);
    //! Places the aligned children in rect and leaves in rect the space they
    //! left over. Sizes of any magnitude use the space up without wrapping.
    virtual void AlignControls(TControl* control, TRect& rect);
    //! Key handlers: the defaults fire OnKeyDown, OnKeyPress and OnKeyUp, which
    //! may free the control; an override checks that it survived (and that the
    //! key was not cleared) before it acts on the key.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    void CMDialogChar(TMessage& message) override;
    void CMDialogKey(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMShowHintChanged(TMessage& message) override;
    void WMKeyDown(TMessage& message) override;
    void WMChar(TMessage& message) override;
    void WMKeyUp(TMessage& message) override;
    //! Focus gained or lost: the defaults repaint (for focus rectangles).
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    //! The defaults fire OnEnter and OnExit.
    void CMEnter(TMessage& message) override;
    void CMExit(TMessage& message) override;
    //! A hidden control gives up the focus.
    void CMVisibleChanged(TMessage& message) override;
    void DoEnter();
    void DoExit();
    //! The canvas used for the background and, in TCustomControl, for Paint.
    [[nodiscard]] TCanvas& WindowCanvas() noexcept { return m_canvas; }
    [[nodiscard]] bool InPaint() const noexcept { return ControlState().Contains(csPainting); }

private:
    friend class TControl;
    friend class TCustomForm;
    void AddToTabList(TControl* control);
    void RemoveFromTabList(TControl* control) noexcept;
    void MoveInTabList(TWinControl* control, std::int32_t order);

    std::vector<TControl*> m_controls; //!< z-order, bottom first
    std::vector<TWinControl*> m_tabList; //!< windowed children in tab order
    TCanvas m_canvas;
    int m_alignLevel { 0 };
    bool m_realignPending { false };
    bool m_ctl3D { true };
    bool m_parentCtl3D { true };
    std::int32_t m_tabOrder { -1 }; //!< the order asked for (kept while without a parent or loading)
    bool m_tabStop { false };
    TNotifyEvent m_onEnter;
    TNotifyEvent m_onExit;
    TKeyEvent m_onKeyDown;
    TKeyPressEvent m_onKeyPress;
    TKeyEvent m_onKeyUp;
};

//! A windowed control that paints itself: override Paint and draw on Canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);

    //! The control's canvas: during a paint pass clipped to the damaged part;
    //! outside one it draws on the form's surface, or nowhere without a form.
    [[nodiscard]] TCanvas& Canvas();

protected:
    //! Draws the control; never call it directly (Invalidate or Repaint).
    virtual void Paint() { }
    void PaintWindow(TCanvas& canvas) override;
};

} // namespace plx
