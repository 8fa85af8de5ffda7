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
    [[nodiscard]] std::int32_t TabOrder() const noexcept { return m_tabOrder; }
    void SetTabOrder(std::int32_t value) noexcept { m_tabOrder = value; }
    [[nodiscard]] bool TabStop() const noexcept { return m_tabStop; }
    void SetTabStop(bool value) noexcept { m_tabStop = value; }
    [[nodiscard]] const TNotifyEvent& OnEnter() const noexcept { return m_onEnter; }
    void SetOnEnter(TNotifyEvent e) { m_onEnter = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnExit() const noexcept { return m_onExit; }
    void SetOnExit(TNotifyEvent e) { m_onExit = std::move(e); }
    [[nodiscard]] const TKeyEvent& OnKeyDown() const noexcept { return m_onKeyDown; }
    void SetOnKeyDown(TKeyEvent e) { m_onKeyDown = std::move(e); }
    [[nodiscard]] const TKeyPressEvent& OnKeyPress() const noexcept { return m_onKeyPress; }
    void SetOnKeyPress(TKeyPressEvent e) { m_onKeyPress = std::move(e); }

    //! \name Focus
    [[nodiscard]] virtual bool CanFocus() const noexcept;
    [[nodiscard]] bool Focused() const noexcept;
    virtual void SetFocus();

    [[nodiscard]] bool IsWindowed() const noexcept override { return true; }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void PaintInContext(const TPaintContext& context, const TRect& clip) override;

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
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char& key);
    void CMDialogChar(TMessage& message) override;
    void CMDialogKey(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMShowHintChanged(TMessage& message);
    void WMKeyDown(TMessage& message) override;
    void WMChar(TMessage& message) override;
    void DoEnter();
    void DoExit();
    //! The canvas used for the background and, in TCustomControl, for Paint.
    [[nodiscard]] TCanvas& WindowCanvas() noexcept { return m_canvas; }
    [[nodiscard]] bool InPaint() const noexcept { return ControlState().Contains(csPainting); }

private:
    friend class TControl;
    friend class TCustomForm;
    std::vector<TControl*> m_controls; //!< z-order, bottom first
    TCanvas m_canvas;
    int m_alignLevel { 0 };
    bool m_realignPending { false };
    bool m_ctl3D { true };
    bool m_parentCtl3D { true };
    std::int32_t m_tabOrder { -1 };
    bool m_tabStop { false };
    TNotifyEvent m_onEnter;
    TNotifyEvent m_onExit;
    TKeyEvent m_onKeyDown;
    TKeyPressEvent m_onKeyPress;
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
