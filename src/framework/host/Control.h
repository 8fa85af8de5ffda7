// TControl: the base of everything on a form: position, visibility, colour,
// font, caption, mouse input, messages and painting requests.
#pragma once

#include "color/host/Canvas.h"
#include "color/host/Font.h"
#include "rtl/Set.h"
#include "framework/host/Component.h"
#include "framework/host/Messages.h"

#include <functional>
#include <memory>
#include <string>

namespace plx {

class TWinControl;
struct TEnumInfo;
struct TIdentMap;
class TCustomForm;
class Raster;

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

enum TControlStyleFlag : std::uint8_t {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents
};
using TControlStyle = TSet<TControlStyleFlag>;
enum TControlStateFlag : std::uint8_t { csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPainting };
using TControlState = TSet<TControlStateFlag>;

using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSize = -5;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, std::int32_t x, std::int32_t y)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, std::int32_t x, std::int32_t y)>;
using TDragOverEvent = std::function<void(TObject* sender, TObject* source, std::int32_t x, std::int32_t y, TDragState state, bool& accept)>;
using TStartDragEvent = std::function<void(TObject* sender, TObject*& dragObject)>;
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, std::int32_t x, std::int32_t y)>;
using TKeyEvent = std::function<void(TObject* sender, std::uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

//! Where a paint pass draws: the surface and the point of it where the form's
//! client origin lies.
struct TPaintContext {
    Raster* surface { nullptr };
    TPoint origin;
};

//! A control. Its position is in its parent's client coordinates; a control
//! without a parent is not shown. Every message reaches Dispatch, which calls
//! the named handler (CMMouseEnter, WMLButtonDown, ...); a handler an override
//! does not fully handle goes to the base class's.
//!
//! Event handlers may free any component, this control and its form included.
//! A handler of the framework that raises an event (Click, MouseDown, Resize,
//! a Perform, ...) and then goes on holds a TWeakRef to itself and returns at
//! once when it turned null; lists of controls are walked as WeakSnapshot.
//!
//! Where the control lies on its form (FormOrigin, VisibleRectInForm,
//! ParentForm) is kept once worked out, until its bounds, its visibility or its
//! parent chain change, so asking costs constant time at any depth.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    //! \name Parent and geometry
    [[nodiscard]] TWinControl* Parent() const noexcept { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    [[nodiscard]] std::int32_t Left() const noexcept { return m_left; }
    void SetLeft(std::int32_t value) { SetBounds(value, m_top, m_width, m_height); }
    [[nodiscard]] std::int32_t Top() const noexcept { return m_top; }
    void SetTop(std::int32_t value) { SetBounds(m_left, value, m_width, m_height); }
    [[nodiscard]] std::int32_t Width() const noexcept { return m_width; }
    void SetWidth(std::int32_t value) { SetBounds(m_left, m_top, value, m_height); }
    [[nodiscard]] std::int32_t Height() const noexcept { return m_height; }
    void SetHeight(std::int32_t value) { SetBounds(m_left, m_top, m_width, value); }
    //! Moves and sizes at once; negative sizes count as 0. Repaints both places.
    virtual void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    //! Right and Bottom stop at the largest coordinate instead of wrapping.
    [[nodiscard]] TRect BoundsRect() const noexcept;
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    //! (0, 0, ClientWidth, ClientHeight).
    [[nodiscard]] virtual TRect ClientRect() const { return Rect(0, 0, m_width, m_height); }
    [[nodiscard]] std::int32_t ClientWidth() const { return ClientRect().Width(); }
    [[nodiscard]] std::int32_t ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(std::int32_t value);
    void SetClientHeight(std::int32_t value);
    [[nodiscard]] TPoint ClientToScreen(TPoint point) const;
    [[nodiscard]] TPoint ScreenToClient(TPoint point) const;

    //! \name Properties
    [[nodiscard]] bool Visible() const noexcept { return m_visible; }
    void SetVisible(bool value);
    [[nodiscard]] bool Enabled() const noexcept { return m_enabled; }
    virtual void SetEnabled(bool value);
    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    void SetColor(TColor value);
    [[nodiscard]] bool ParentColor() const noexcept { return m_parentColor; }
    void SetParentColor(bool value);
    [[nodiscard]] TFont& Font() noexcept { return *m_font; }
    [[nodiscard]] const TFont& Font() const noexcept { return *m_font; }
    void SetFont(const TFont& font) { m_font->Assign(&font); }
    [[nodiscard]] bool ParentFont() const noexcept { return m_parentFont; }
    void SetParentFont(bool value);
    [[nodiscard]] const std::string& Caption() const noexcept { return m_caption; }
    void SetCaption(const std::string& value);
    [[nodiscard]] const std::string& Text() const noexcept { return m_caption; }
    void SetText(const std::string& value) { SetCaption(value); }
    [[nodiscard]] const std::string& Hint() const noexcept { return m_hint; }
    void SetHint(const std::string& value) { m_hint = value; }
    [[nodiscard]] bool ShowHint() const noexcept { return m_showHint; }
    void SetShowHint(bool value);
    [[nodiscard]] bool ParentShowHint() const noexcept { return m_parentShowHint; }
    void SetParentShowHint(bool value);
    [[nodiscard]] TCursor Cursor() const noexcept { return m_cursor; }
    void SetCursor(TCursor value) { m_cursor = value; }
    [[nodiscard]] TComponent* PopupMenu() const noexcept { return m_popupMenu; }
    void SetPopupMenu(TComponent* menu);
    [[nodiscard]] TAlign Align() const noexcept { return m_align; }
    void SetAlign(TAlign value);
    [[nodiscard]] TDragMode DragMode() const noexcept { return m_dragMode; }
    void SetDragMode(TDragMode value) noexcept { m_dragMode = value; }
    [[nodiscard]] TCursor DragCursor() const noexcept { return m_dragCursor; }
    void SetDragCursor(TCursor value) noexcept { m_dragCursor = value; }
    [[nodiscard]] TControlStyle ControlStyle() const noexcept { return m_controlStyle; }
    void SetControlStyle(TControlStyle style) noexcept { m_controlStyle = style; }
    [[nodiscard]] TControlState ControlState() const noexcept { return m_controlState; }
    void SetName(const std::string& name) override;

    //! \name Events
    [[nodiscard]] const TNotifyEvent& OnClick() const noexcept { return m_onClick; }
    void SetOnClick(TNotifyEvent e) { m_onClick = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnDblClick() const noexcept { return m_onDblClick; }
    void SetOnDblClick(TNotifyEvent e) { m_onDblClick = std::move(e); }
    [[nodiscard]] const TMouseEvent& OnMouseDown() const noexcept { return m_onMouseDown; }
    void SetOnMouseDown(TMouseEvent e) { m_onMouseDown = std::move(e); }
    [[nodiscard]] const TMouseMoveEvent& OnMouseMove() const noexcept { return m_onMouseMove; }
    void SetOnMouseMove(TMouseMoveEvent e) { m_onMouseMove = std::move(e); }
    [[nodiscard]] const TMouseEvent& OnMouseUp() const noexcept { return m_onMouseUp; }
    void SetOnMouseUp(TMouseEvent e) { m_onMouseUp = std::move(e); }
    [[nodiscard]] const TDragDropEvent& OnDragDrop() const noexcept { return m_onDragDrop; }
    void SetOnDragDrop(TDragDropEvent e) { m_onDragDrop = std::move(e); }
    [[nodiscard]] const TDragOverEvent& OnDragOver() const noexcept { return m_onDragOver; }
    void SetOnDragOver(TDragOverEvent e) { m_onDragOver = std::move(e); }
    [[nodiscard]] const TStartDragEvent& OnStartDrag() const noexcept { return m_onStartDrag; }
    void SetOnStartDrag(TStartDragEvent e) { m_onStartDrag = std::move(e); }
    [[nodiscard]] const TEndDragEvent& OnEndDrag() const noexcept { return m_onEndDrag; }
    void SetOnEndDrag(TEndDragEvent e) { m_onEndDrag = std::move(e); }
    [[nodiscard]] const TNotifyEvent& OnResize() const noexcept { return m_onResize; }
    void SetOnResize(TNotifyEvent e) { m_onResize = std::move(e); }

    //! \name Commands
    //! Records the control's area as needing a repaint; painting happens later, in one pass.
    virtual void Invalidate();
    //! Invalidates and paints at once.
    virtual void Repaint();
    //! Paints what is invalid in the control's window now.
    virtual void Update();
    void Refresh() { Repaint(); }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void BringToFront();
    void SendToBack();
    virtual void Click();
    virtual void DblClick();
    //! Sends a message to the control and returns its result.
    LRESULT Perform(std::uint32_t msg, WPARAM wParam, LPARAM lParam);
    //! Entry point of every message; the default passes it to Dispatch.
    virtual void WndProc(TMessage& message);
    //! Routes a message number to its named handler.
    void Dispatch(TMessage& message);
    [[nodiscard]] bool MouseCapture() const noexcept;
    void SetMouseCapture(bool value);
    //! Starts dragging this control (the drag follows the mouse until release).
    void BeginDrag(bool immediate);
    [[nodiscard]] bool Dragging() const noexcept;

    //! \name Queries
    //! Visible itself and every parent visible (the form's own visibility aside).
    [[nodiscard]] bool Showing() const noexcept;
    //! The form the control lies on, or null.
    [[nodiscard]] TCustomForm* ParentForm() const noexcept;
    //! The control's top-left corner in its form's client coordinates (clamped
    //! to the coordinate range; a control that far away shows nothing).
    [[nodiscard]] TPoint FormOrigin() const noexcept;
    //! The part of the form's client area the control can paint (empty when hidden).
    [[nodiscard]] TRect VisibleRectInForm() const noexcept;
    [[nodiscard]] virtual bool IsWindowed() const noexcept { return false; }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

    //! Paints the control (and, for windowed controls, its children) clipped to
    //! clip (form coordinates). Called by the paint pass.
    virtual void PaintInContext(const TPaintContext& context, const TRect& clip);

protected:
    //! \name Input, overridable
    virtual void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    virtual void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    virtual void Resize();
    virtual void DragOver(TObject* source, std::int32_t x, std::int32_t y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, std::int32_t x, std::int32_t y);
    virtual void DoStartDrag(TObject*& dragObject);
    virtual void DoEndDrag(TObject* target, std::int32_t x, std::int32_t y);

    //! \name Message handlers
    virtual void WMLButtonDown(TMessage& message);
    virtual void WMLButtonUp(TMessage& message);
    virtual void WMLButtonDblClk(TMessage& message);
    virtual void WMRButtonDown(TMessage& message);
    virtual void WMRButtonUp(TMessage& message);
    virtual void WMRButtonDblClk(TMessage& message);
    virtual void WMMButtonDown(TMessage& message);
    virtual void WMMButtonUp(TMessage& message);
    virtual void WMMButtonDblClk(TMessage& message);
    virtual void WMMouseMove(TMessage& message);
    virtual void WMCancelMode(TMessage& message);
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMParentShowHintChanged(TMessage& message);
    virtual void CMDialogChar(TMessage& message);
    virtual void CMDialogKey(TMessage& message);
    virtual void CMButtonPressed(TMessage& message);
    virtual void CMHitTest(TMessage& message);
    virtual void CMDrag(TMessage& message);
    virtual void WMKeyDown(TMessage& message);
    virtual void WMChar(TMessage& message);
    //! \name Keyboard and focus handlers (windowed controls use them)
    virtual void WMKeyUp(TMessage& message);
    virtual void WMSetFocus(TMessage& message);
    virtual void WMKillFocus(TMessage& message);
    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);
    //! Result 1 when the control handles the key (Tab, an arrow, Enter, Escape)
    //! itself instead of the form's dialog handling.
    virtual void CMWantSpecialKey(TMessage& message);
    //! LParam: the control that has the focus now (a TWinControl*), or 0.
    virtual void CMFocusChanged(TMessage& message);
    virtual void CMShowHintChanged(TMessage& message);
    //! A pop-up hears that a mouse button went down elsewhere; LParam: the
    //! control under the pointer (a TControl*), or 0.
    virtual void CMCancelMode(TMessage& message);
    //! Messages without a named handler.
    virtual void DefaultHandler(TMessage& message);

    //! Binds a canvas to the control's place on its form's surface (for drawing
    //! outside a paint pass); with no form surface the canvas draws nowhere.
    void BindCanvas(TCanvas& canvas) const;
    void BindCanvas(TCanvas& canvas, const TPaintContext& context, const TRect& clip) const;
    //! Adds a rectangle (client coordinates) to the form's invalid area.
    void InvalidateClientRect(const TRect& rect);
    void FontChanged();
    void SetControlState(TControlState state) noexcept { m_controlState = state; }
    //! Forgets where this control and everything inside it lie. SetBounds,
    //! SetVisible and changes of parent call it; an override of ClientRect
    //! calls it when its result changes in any other way.
    void PlacementChanged() noexcept;

private:
    friend class TWinControl;
    friend class TApplication;
    //! Where the control lies on the control at the top of its parent chain.
    struct TPlacement {
        TControl* root { nullptr };
        std::int64_t originX { 0 }; //!< top-left corner in the root's client coordinates
        std::int64_t originY { 0 };
        TRect visible; //!< the part of the root's client area the control covers
        TRect clip; //!< the part its children can cover
        bool showing { true };
    };
    //! Works out the placement of this control (and of any parent whose
    //! placement was forgotten) once; every parent placed implies this one can be.
    const TPlacement& Placement() const noexcept;
    void Place(const TPlacement* parent) const noexcept;
    void DoMouseDown(TMessage& message, TMouseButton button, TShiftState extra);
    void DoMouseUp(TMessage& message, TMouseButton button);

    TWinControl* m_parent { nullptr };
    std::int32_t m_left { 0 };
    std::int32_t m_top { 0 };
    std::int32_t m_width { 0 };
    std::int32_t m_height { 0 };
    bool m_visible { true };
    bool m_enabled { true };
    TColor m_color { clWindow };
    bool m_parentColor { true };
    std::unique_ptr<TFont> m_font;
    bool m_parentFont { true };
    bool m_changingParentFont { false };
    std::string m_caption;
    std::string m_hint;
    bool m_showHint { false };
    bool m_parentShowHint { true };
    TCursor m_cursor { crDefault };
    TComponent* m_popupMenu { nullptr };
    TAlign m_align { alNone };
    TDragMode m_dragMode { dmManual };
    TCursor m_dragCursor { crDrag };
    TControlStyle m_controlStyle { csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks };
    TControlState m_controlState;
    TNotifyEvent m_onClick;
    TNotifyEvent m_onDblClick;
    TMouseEvent m_onMouseDown;
    TMouseMoveEvent m_onMouseMove;
    TMouseEvent m_onMouseUp;
    TDragDropEvent m_onDragDrop;
    TDragOverEvent m_onDragOver;
    TStartDragEvent m_onStartDrag;
    TEndDragEvent m_onEndDrag;
    TNotifyEvent m_onResize;
    // Invariant: a placed control's parents are all placed, so forgetting a
    // placement stops at controls that are not placed.
    mutable TPlacement m_placement;
    mutable bool m_placed { false };
};

//! A windowless control: it paints on its parent's surface at its own origin,
//! through its own canvas, clipped to its visible (and damaged) part.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);

    //! The control's canvas: during a paint pass clipped to the damaged part;
    //! outside one it draws on the form's surface, or nowhere without a form.
    [[nodiscard]] TCanvas& Canvas();

    void PaintInContext(const TPaintContext& context, const TRect& clip) override;

protected:
    //! Draws the control; never call it directly (Invalidate or Repaint).
    virtual void Paint() { }

private:
    TCanvas m_canvas;
};

//! The character after a single "&" in a caption, upper-cased ("&&" is a literal "&"); 0 when none.
[[nodiscard]] char GetHotkey(const std::string& caption) noexcept;
//! True when key is the accelerator of the caption (compared without regard to case).
[[nodiscard]] bool IsAccel(std::uint32_t key, const std::string& caption) noexcept;
//! The modifier keys of a key message's LParam (KD_SHIFT, KD_CTRL, KD_ALT).
[[nodiscard]] TShiftState KeyDataToShiftState(LPARAM keyData) noexcept;
[[nodiscard]] LPARAM ShiftStateToKeyData(TShiftState shift) noexcept;
//! The pointer's position on the screen.
[[nodiscard]] TPoint GetCursorPos();
//! The control under a screen point, disabled ones included when asked; null when none.
[[nodiscard]] TControl* FindDragTarget(TPoint screenPoint, bool allowDisabled);

//! Enumeration names for form files and the designer.
[[nodiscard]] const TEnumInfo& AlignInfo();
[[nodiscard]] const TEnumInfo& AlignmentInfo();
[[nodiscard]] const TEnumInfo& DragModeInfo();
[[nodiscard]] const TIdentMap& CursorIdents();

} // namespace plx
