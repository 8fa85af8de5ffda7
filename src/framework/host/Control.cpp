#include "framework/host/Control.h"

#include "rtl/Store.h"
#include "color/host/Raster.h"
#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"
#include "framework/host/WinControl.h"
#include "framework/host/detail/Coordinates.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace plx {

namespace {

TShiftState ShiftFromKeys(WPARAM keys) noexcept
{
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    return s;
}

} // namespace

TControl::TControl(TComponent* owner)
    : TComponent(owner)
    , m_font(std::make_unique<TFont>())
{
    m_font->SetOnChange([this](TObject*) { FontChanged(); });
}

TControl::~TControl()
{
    Destroying();
    if (InitializedApplication())
        Application().ControlDestroyed(this);
    if (m_parent)
        m_parent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == m_parent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (m_parent) {
        const TWeakRef alive(this);
        m_parent->RemoveControl(this); // may run OnExit and OnResize handlers
        if (!alive)
            return;
    }
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    bool resized = width != m_width || height != m_height;
    Invalidate();
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    PlacementChanged();
    Invalidate();
    const TWeakRef alive(this);
    if (m_parent && m_align != alNone) {
        m_parent->Realign(); // the siblings' OnResize handlers may free this control
        if (!alive)
            return;
    }
    if (resized)
        Resize();
}

TRect TControl::BoundsRect() const noexcept
{
    return detail::Bounds64(m_left, m_top, m_width, m_height).Clamped();
}

void TControl::SetClientWidth(std::int32_t value)
{
    SetWidth(detail::ClampToInt32(std::int64_t { m_width } - ClientWidth() + value));
}

void TControl::SetClientHeight(std::int32_t value)
{
    SetHeight(detail::ClampToInt32(std::int64_t { m_height } - ClientHeight() + value));
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const TPlacement& p = Placement();
    std::int64_t x = p.originX + point.X;
    std::int64_t y = p.originY + point.Y;
    if (TCustomForm* form = ParentForm()) {
        x += form->Left();
        y += form->Top();
    }
    return { detail::ClampToInt32(x), detail::ClampToInt32(y) };
}

TPoint TControl::ScreenToClient(TPoint point) const
{
    const TPlacement& p = Placement();
    std::int64_t x = std::int64_t { point.X } - p.originX;
    std::int64_t y = std::int64_t { point.Y } - p.originY;
    if (TCustomForm* form = ParentForm()) {
        x -= form->Left();
        y -= form->Top();
    }
    return { detail::ClampToInt32(x), detail::ClampToInt32(y) };
}

void TControl::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    if (!value)
        Invalidate();
    m_visible = value;
    PlacementChanged();
    const TWeakRef alive(this);
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0); // a form runs OnShow or OnHide here
    if (!alive)
        return;
    if (value)
        Invalidate();
    if (m_parent && m_align != alNone)
        m_parent->Realign();
}

void TControl::SetEnabled(bool value)
{
    Store(m_enabled, value, [this] { Perform(CM_ENABLEDCHANGED, 0, 0); });
}

void TControl::SetColor(TColor value)
{
    if (value == m_color && !m_parentColor)
        return;
    m_color = value;
    m_parentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (value == m_parentColor)
        return;
    m_parentColor = value;
    if (m_parent && value)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged()
{
    if (!m_changingParentFont)
        m_parentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (value == m_parentFont)
        return;
    m_parentFont = value;
    if (m_parent && value)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCaption(const std::string& value)
{
    Store(m_caption, value, [this] { Perform(CM_TEXTCHANGED, 0, 0); });
}

void TControl::SetShowHint(bool value)
{
    m_parentShowHint = false;
    Store(m_showHint, value, [this] { Perform(CM_SHOWHINTCHANGED, 0, 0); });
}

void TControl::SetParentShowHint(bool value)
{
    if (value == m_parentShowHint)
        return;
    m_parentShowHint = value;
    if (m_parent && value)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* menu)
{
    if (m_popupMenu)
        m_popupMenu->RemoveFreeNotification(this);
    m_popupMenu = menu;
    if (menu)
        menu->FreeNotification(this);
}

void TControl::SetAlign(TAlign value)
{
    if (value == m_align)
        return;
    m_align = value;
    if (m_parent)
        m_parent->Realign();
}

void TControl::SetName(const std::string& name)
{
    // A caption that still shows the old name follows the new one.
    bool follow = m_controlStyle.Contains(csSetCaption) && m_caption == TComponent::Name()
        && !ComponentState().Contains(csLoading);
    TComponent::SetName(name);
    if (follow)
        SetCaption(name);
}

void TControl::Invalidate()
{
    InvalidateClientRect(Rect(0, 0, m_width, m_height));
}

void TControl::InvalidateClientRect(const TRect& rect)
{
    if (!m_visible || ComponentState().Contains(csDestroying))
        return;
    const TPlacement& p = Placement();
    if (p.visible.IsEmpty())
        return;
    TRect r = detail::ClipTo(detail::TRect64::Of(rect).Offset(p.originX, p.originY), p.visible);
    if (r.IsEmpty())
        return;
    if (auto* form = dynamic_cast<TCustomForm*>(p.root))
        form->InvalidateFormRect(r);
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (TCustomForm* form = ParentForm(); form && form->HandleAllocated())
        form->PaintDamage();
}

void TControl::BringToFront()
{
    if (m_parent)
        m_parent->SetChildOrder(this, m_parent->ControlCount() - 1);
}

void TControl::SendToBack()
{
    if (m_parent)
        m_parent->SetChildOrder(this, 0);
}

void TControl::Click()
{
    if (m_onClick)
        m_onClick(this);
}

void TControl::DblClick()
{
    if (m_onDblClick)
        m_onDblClick(this);
}

LRESULT TControl::Perform(std::uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message { msg, wParam, lParam, 0 };
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message)
{
    Dispatch(message);
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); break;
    case WM_LBUTTONUP: WMLButtonUp(m); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    case WM_RBUTTONDOWN: WMRButtonDown(m); break;
    case WM_RBUTTONUP: WMRButtonUp(m); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); break;
    case WM_MBUTTONDOWN: WMMButtonDown(m); break;
    case WM_MBUTTONUP: WMMButtonUp(m); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case WM_KEYDOWN: WMKeyDown(m); break;
    case WM_CHAR: WMChar(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_TEXTCHANGED: CMTextChanged(m); break;
    case CM_COLORCHANGED: CMColorChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    case CM_DIALOGKEY: CMDialogKey(m); break;
    case CM_BUTTONPRESSED: CMButtonPressed(m); break;
    case CM_HITTEST: CMHitTest(m); break;
    case CM_DRAG: CMDrag(m); break;
    // Keyboard and focus.
    case WM_KEYUP: WMKeyUp(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case CM_ENTER: CMEnter(m); break;
    case CM_EXIT: CMExit(m); break;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(m); break;
    case CM_FOCUSCHANGED: CMFocusChanged(m); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(m); break;
    case CM_CANCELMODE: CMCancelMode(m); break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DefaultHandler(TMessage&)
{
}

bool TControl::MouseCapture() const noexcept
{
    return InitializedApplication() && Application().CaptureControl() == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture())
        return;
    Application().SetCaptureControl(value ? this : nullptr);
}

void TControl::BeginDrag(bool)
{
    Application().StartDrag(this);
}

bool TControl::Dragging() const noexcept
{
    return InitializedApplication() && Application().DragSource() == this;
}

bool TControl::Showing() const noexcept
{
    return Placement().showing;
}

TCustomForm* TControl::ParentForm() const noexcept
{
    return dynamic_cast<TCustomForm*>(Placement().root);
}

TPoint TControl::FormOrigin() const noexcept
{
    const TPlacement& p = Placement();
    return { detail::ClampToInt32(p.originX), detail::ClampToInt32(p.originY) };
}

TRect TControl::VisibleRectInForm() const noexcept
{
    return Placement().visible;
}

const TControl::TPlacement& TControl::Placement() const noexcept
{
    if (m_placed)
        return m_placement;
    const TControl* parent = m_parent;
    if (!parent || parent->m_placed) {
        Place(parent ? &parent->m_placement : nullptr);
        return m_placement;
    }
    // Parents whose placement was forgotten too: place them from the top down.
    std::vector<const TControl*> chain;
    for (const TControl* c = this; c && !c->m_placed; c = c->m_parent)
        chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const TControl* c = *it;
        const TControl* cp = c->m_parent;
        c->Place(cp ? &cp->m_placement : nullptr);
    }
    return m_placement;
}

void TControl::Place(const TPlacement* parent) const noexcept
{
    TPlacement& p = m_placement;
    if (!parent) {
        // The top of the chain (a form) paints into its window also while the
        // window is hidden, so only the controls on it count for Showing.
        p = { const_cast<TControl*>(this), 0, 0, Rect(0, 0, m_width, m_height), ClientRect(), true };
    } else {
        p.root = parent->root;
        p.originX = parent->originX + m_left;
        p.originY = parent->originY + m_top;
        p.showing = parent->showing && m_visible;
        if (p.showing) {
            p.visible = detail::ClipTo(detail::Bounds64(p.originX, p.originY, m_width, m_height), parent->clip);
            p.clip = detail::ClipTo(detail::TRect64::Of(ClientRect()).Offset(p.originX, p.originY), parent->clip);
        } else {
            p.visible = {};
            p.clip = {};
        }
    }
    m_placed = true;
}

void TControl::PlacementChanged() noexcept
{
    if (!m_placed)
        return; // nothing inside is placed either
    m_placed = false;
    auto* self = dynamic_cast<TWinControl*>(this);
    if (!self || self->m_controls.empty())
        return;
    std::vector<TControl*> pending(self->m_controls.begin(), self->m_controls.end());
    while (!pending.empty()) {
        TControl* c = pending.back();
        pending.pop_back();
        if (!c->m_placed)
            continue;
        c->m_placed = false;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            pending.insert(pending.end(), w->m_controls.begin(), w->m_controls.end());
    }
}

void TControl::BindCanvas(TCanvas& canvas) const
{
    TCustomForm* form = ParentForm();
    Raster* surface = form ? form->Surface() : nullptr;
    if (!surface) {
        canvas.SetSurface(nullptr);
        return;
    }
    canvas.SetSurface(surface, FormOrigin(), VisibleRectInForm());
}

void TControl::BindCanvas(TCanvas& canvas, const TPaintContext& context, const TRect& clip) const
{
    const TPlacement& p = Placement();
    TPoint origin { detail::ClampToInt32(p.originX + context.origin.X), detail::ClampToInt32(p.originY + context.origin.Y) };
    TRect c = detail::TRect64::Of(clip).Offset(context.origin.X, context.origin.Y).Clamped();
    canvas.SetSurface(context.surface, origin, c);
}

void TControl::PaintInContext(const TPaintContext&, const TRect&)
{
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_onMouseDown)
        m_onMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_onMouseMove)
        m_onMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    if (m_onMouseUp)
        m_onMouseUp(this, button, shift, x, y);
}

void TControl::Resize()
{
    if (m_onResize)
        m_onResize(this);
}

void TControl::DragOver(TObject* source, std::int32_t x, std::int32_t y, TDragState state, bool& accept)
{
    accept = static_cast<bool>(m_onDragOver);
    if (m_onDragOver)
        m_onDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, std::int32_t x, std::int32_t y)
{
    if (m_onDragDrop)
        m_onDragDrop(this, source, x, y);
}

void TControl::DoStartDrag(TObject*& dragObject)
{
    if (m_onStartDrag)
        m_onStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, std::int32_t x, std::int32_t y)
{
    if (m_onEndDrag)
        m_onEndDrag(this, target, x, y);
}

void TControl::DoMouseDown(TMessage& message, TMouseButton button, TShiftState extra)
{
    TPoint p = LParamToPoint(message.LParam);
    MouseDown(button, ShiftFromKeys(message.WParam) + extra, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& message, TMouseButton button)
{
    TPoint p = LParamToPoint(message.LParam);
    MouseUp(button, ShiftFromKeys(message.WParam), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& message)
{
    if (m_controlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (m_controlStyle.Contains(csClickEvents))
        m_controlState.Include(csClicked);
    m_controlState.Include(csLButtonDown);
    if (m_dragMode == dmAutomatic) {
        BeginDrag(true);
        return;
    }
    DoMouseDown(message, mbLeft, {});
}

void TControl::WMLButtonUp(TMessage& message)
{
    if (m_controlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    m_controlState.Exclude(csLButtonDown);
    if (m_controlState.Contains(csClicked)) {
        m_controlState.Exclude(csClicked);
        if (ClientRect().Contains(LParamToPoint(message.LParam))) {
            const TWeakRef alive(this);
            Click(); // OnClick may free this control
            if (!alive)
                return;
        }
    }
    DoMouseUp(message, mbLeft);
}

void TControl::WMLButtonDblClk(TMessage& message)
{
    if (m_controlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (m_controlStyle.Contains(csClickEvents)) {
        const TWeakRef alive(this);
        DblClick(); // OnDblClick may free this control
        if (!alive)
            return;
    }
    DoMouseDown(message, mbLeft, { ssDouble });
}

void TControl::WMRButtonDown(TMessage& message)
{
    DoMouseDown(message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& message)
{
    DoMouseUp(message, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& message)
{
    DoMouseDown(message, mbRight, { ssDouble });
}

void TControl::WMMButtonDown(TMessage& message)
{
    DoMouseDown(message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& message)
{
    DoMouseUp(message, mbMiddle);
}

void TControl::WMMButtonDblClk(TMessage& message)
{
    DoMouseDown(message, mbMiddle, { ssDouble });
}

void TControl::WMMouseMove(TMessage& message)
{
    TPoint p = LParamToPoint(message.LParam);
    MouseMove(ShiftFromKeys(message.WParam), p.X, p.Y);
}

void TControl::WMCancelMode(TMessage&)
{
    if (MouseCapture())
        SetMouseCapture(false);
    m_controlState.Exclude(csClicked);
    m_controlState.Exclude(csLButtonDown);
}

void TControl::CMMouseEnter(TMessage&)
{
}

void TControl::CMMouseLeave(TMessage&)
{
}

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&)
{
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMTextChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (m_parentColor && m_parent) {
        SetColor(m_parent->Color());
        m_parentColor = true;
    }
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (m_parentFont && m_parent) {
        m_changingParentFont = true;
        m_font->Assign(&m_parent->Font());
        m_changingParentFont = false;
    }
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    // An inherited change goes on down to the children of a windowed control.
    if (m_parentShowHint && m_parent)
        Store(m_showHint, m_parent->ShowHint(), [this] { Perform(CM_SHOWHINTCHANGED, 0, 0); });
}

void TControl::CMDialogChar(TMessage&)
{
}

void TControl::CMDialogKey(TMessage&)
{
}

void TControl::CMButtonPressed(TMessage&)
{
}

void TControl::CMHitTest(TMessage& message)
{
    message.Result = 1;
}

void TControl::CMDrag(TMessage&)
{
}

void TControl::WMKeyDown(TMessage&)
{
}

void TControl::WMChar(TMessage&)
{
}

// ---- Keyboard and focus handlers -------------------------------------------

void TControl::WMKeyUp(TMessage&)
{
}

void TControl::WMSetFocus(TMessage&)
{
}

void TControl::WMKillFocus(TMessage&)
{
}

void TControl::CMEnter(TMessage&)
{
}

void TControl::CMExit(TMessage&)
{
}

void TControl::CMWantSpecialKey(TMessage&)
{
}

void TControl::CMFocusChanged(TMessage&)
{
}

void TControl::CMShowHintChanged(TMessage&)
{
}

void TControl::CMCancelMode(TMessage&)
{
}

TShiftState KeyDataToShiftState(LPARAM keyData) noexcept
{
    TShiftState s;
    if (keyData & KD_SHIFT)
        s.Include(ssShift);
    if (keyData & KD_CTRL)
        s.Include(ssCtrl);
    if (keyData & KD_ALT)
        s.Include(ssAlt);
    return s;
}

LPARAM ShiftStateToKeyData(TShiftState shift) noexcept
{
    return (shift.Contains(ssShift) ? KD_SHIFT : 0) | (shift.Contains(ssCtrl) ? KD_CTRL : 0) | (shift.Contains(ssAlt) ? KD_ALT : 0);
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner)
{
}

TCanvas& TGraphicControl::Canvas()
{
    if (!ControlState().Contains(csPainting))
        BindCanvas(m_canvas);
    return m_canvas;
}

void TGraphicControl::PaintInContext(const TPaintContext& context, const TRect& clip)
{
    BindCanvas(m_canvas, context, clip);
    SetControlState(ControlState().With(csPainting));
    const TWeakRef alive(this);
    try {
        Paint();
    } catch (...) {
        // Painting goes on with the other controls; the application shows the error.
        Application().HandleException(alive.Get());
    }
    if (alive)
        SetControlState(ControlState().Without(csPainting));
}

char GetHotkey(const std::string& caption) noexcept
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

bool IsAccel(std::uint32_t key, const std::string& caption) noexcept
{
    char hot = GetHotkey(caption);
    return hot != 0 && key < 256 && std::toupper(static_cast<int>(key)) == static_cast<unsigned char>(hot);
}

TPoint GetCursorPos()
{
    return CurrentPlatform().CursorPos();
}

TControl* FindDragTarget(TPoint screenPoint, bool allowDisabled)
{
    TScreen& screen = Screen();
    TCustomForm* best = nullptr;
    // The topmost visible form under the point: the one shown last.
    for (std::int32_t i = 0; i < screen.FormCount(); ++i) {
        TCustomForm* f = screen.Forms(i);
        if (f->Visible() && f->HandleAllocated() && f->BoundsRect().Contains(screenPoint))
            best = f;
    }
    if (!best)
        return nullptr;
    return best->DeepControlAtPos(best->ScreenToClient(screenPoint), allowDisabled);
}

const TEnumInfo& AlignInfo()
{
    static const TEnumInfo info { "TAlign", { "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient" } };
    return info;
}

const TEnumInfo& AlignmentInfo()
{
    static const TEnumInfo info { "TAlignment", { "taLeftJustify", "taRightJustify", "taCenter" } };
    return info;
}

const TEnumInfo& DragModeInfo()
{
    static const TEnumInfo info { "TDragMode", { "dmManual", "dmAutomatic" } };
    return info;
}

const TIdentMap& CursorIdents()
{
    static const TIdentMap map { { { crDefault, "crDefault" }, { crNone, "crNone" }, { crArrow, "crArrow" }, { crCross, "crCross" },
        { crIBeam, "crIBeam" }, { crSize, "crSize" }, { crSizeNESW, "crSizeNESW" }, { crSizeNS, "crSizeNS" },
        { crSizeNWSE, "crSizeNWSE" }, { crSizeWE, "crSizeWE" }, { crUpArrow, "crUpArrow" }, { crHourGlass, "crHourGlass" },
        { crDrag, "crDrag" }, { crNoDrop, "crNoDrop" }, { crHSplit, "crHSplit" }, { crVSplit, "crVSplit" },
        { crMultiDrag, "crMultiDrag" }, { crSQLWait, "crSQLWait" }, { crNo, "crNo" }, { crAppStart, "crAppStart" },
        { crHelp, "crHelp" }, { crHandPoint, "crHandPoint" } } };
    return map;
}

const TClassInfo& TControl::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TControl>("TControl", &TComponent::StaticClassInfo())
        .Integer("Left", &TControl::Left, &TControl::SetLeft)
        .Integer("Top", &TControl::Top, &TControl::SetTop)
        .Integer("Width", &TControl::Width, &TControl::SetWidth)
        .Integer("Height", &TControl::Height, &TControl::SetHeight)
        .Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault, &CursorIdents(), "TCursor")
        .String("Hint", &TControl::Hint, &TControl::SetHint)
        .Build();
    return info;
}

const TClassInfo& TControl::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
