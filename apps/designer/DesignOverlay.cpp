#include "designer/DesignOverlay.h"

#include "designer/FormDesigner.h"
#include "framework/host/Forms.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace plx::designer {

namespace {

TRect Normalized(TPoint a, TPoint b) noexcept
{
    return Rect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

// A control's rectangle in its form's client coordinates.
TRect FormRect(const TControl& control) noexcept
{
    const TPoint origin = control.FormOrigin();
    return Rect(origin.X, origin.Y, origin.X + control.Width(), origin.Y + control.Height());
}

} // namespace

TRect HandleRect(const TRect& bounds, THandle handle) noexcept
{
    const std::int32_t half = kHandleSize / 2;
    const std::int32_t midX = bounds.Left + bounds.Width() / 2;
    const std::int32_t midY = bounds.Top + bounds.Height() / 2;
    const std::int32_t right = bounds.Right - 1;
    const std::int32_t bottom = bounds.Bottom - 1;
    TPoint centre;
    switch (handle) {
    case THandle::TopLeft: centre = { bounds.Left, bounds.Top }; break;
    case THandle::Top: centre = { midX, bounds.Top }; break;
    case THandle::TopRight: centre = { right, bounds.Top }; break;
    case THandle::Right: centre = { right, midY }; break;
    case THandle::BottomRight: centre = { right, bottom }; break;
    case THandle::Bottom: centre = { midX, bottom }; break;
    case THandle::BottomLeft: centre = { bounds.Left, bottom }; break;
    case THandle::Left: centre = { bounds.Left, midY }; break;
    }
    return Rect(centre.X - half, centre.Y - half, centre.X - half + kHandleSize, centre.Y - half + kHandleSize);
}

TDesignOverlay::TDesignOverlay(TFormDesigner& designer, TForm& form)
    : TCustomControl(nullptr)
    , m_designer(designer)
{
    // Opaque: the background is not erased, so the form shows through
    // everywhere but at the handles.
    SetControlStyle({ csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks });
    SetParent(&form);
    Cover();
}

void TDesignOverlay::Cover()
{
    if (TWinControl* form = Parent()) {
        SetBounds(0, 0, form->ClientWidth(), form->ClientHeight());
        TControl::BringToFront();
        // Last in the tab order too, so the designed controls keep the orders
        // they will have in the saved form.
        SetTabOrder(std::numeric_limits<std::int32_t>::max());
    }
}

std::optional<std::array<TRect, 8>> TDesignOverlay::HandleRects() const
{
    auto* control = dynamic_cast<TControl*>(m_designer.Selected());
    if (!control || control == &m_designer.Form())
        return std::nullopt;
    std::array<TRect, 8> rects;
    const TRect bounds = FormRect(*control);
    for (std::size_t i = 0; i < rects.size(); ++i)
        rects[i] = HandleRect(bounds, static_cast<THandle>(i));
    return rects;
}

void TDesignOverlay::Paint()
{
    const auto rects = HandleRects();
    if (!rects)
        return;
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBlack);
    for (const TRect& r : *rects)
        canvas.FillRect(r);
}

std::optional<THandle> TDesignOverlay::HandleAt(TPoint p) const
{
    const auto rects = HandleRects();
    if (!rects)
        return std::nullopt;
    for (std::size_t i = 0; i < rects->size(); ++i)
        if ((*rects)[i].Contains(p))
            return static_cast<THandle>(i);
    return std::nullopt;
}

TRect TDesignOverlay::Resized(TPoint p) const
{
    const std::int32_t dx = p.X - m_start.X;
    const std::int32_t dy = p.Y - m_start.Y;
    std::int32_t left = m_startBounds.Left, top = m_startBounds.Top;
    std::int32_t right = m_startBounds.Right, bottom = m_startBounds.Bottom;
    switch (m_handle) {
    case THandle::TopLeft: left += dx; top += dy; break;
    case THandle::Top: top += dy; break;
    case THandle::TopRight: right += dx; top += dy; break;
    case THandle::Right: right += dx; break;
    case THandle::BottomRight: right += dx; bottom += dy; break;
    case THandle::Bottom: bottom += dy; break;
    case THandle::BottomLeft: left += dx; bottom += dy; break;
    case THandle::Left: left += dx; break;
    }
    // An edge dragged over the opposite one stops a pixel before it.
    left = std::min(left, right - 1);
    top = std::min(top, bottom - 1);
    right = std::max(right, left + 1);
    bottom = std::max(bottom, top + 1);
    return Rect(left, top, right, bottom);
}

void TDesignOverlay::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (m_onPress)
        m_onPress();
    if (CanFocus())
        SetFocus();
    const TPoint p { x, y };
    m_start = p;
    m_dragged = false;
    m_drag = Drag::None;
    if (button == mbRight) {
        TComponent* hit = m_designer.ControlAt(p);
        m_designer.Select(hit);
        TComponent& target = hit ? *hit : static_cast<TComponent&>(m_designer.Form());
        if (m_onContextMenu)
            m_onContextMenu(target, ClientToScreen(p));
        return;
    }
    if (button != mbLeft)
        return;
    if (!m_designer.PendingClass().empty()) {
        m_drag = Drag::Place;
        return;
    }
    if (auto handle = HandleAt(p)) {
        m_drag = Drag::Resize;
        m_handle = *handle;
        m_startBounds = dynamic_cast<TControl*>(m_designer.Selected())->BoundsRect();
        return;
    }
    TControl* hit = m_designer.ControlAt(p);
    m_designer.Select(hit);
    if (hit) {
        m_drag = Drag::Move;
        m_startBounds = hit->BoundsRect();
    }
}

void TDesignOverlay::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (m_drag != Drag::Move && m_drag != Drag::Resize)
        return;
    const TPoint p { x, y };
    if (!m_dragged && std::abs(p.X - m_start.X) <= kDragThreshold && std::abs(p.Y - m_start.Y) <= kDragThreshold)
        return;
    auto* control = dynamic_cast<TControl*>(m_designer.Selected());
    if (!control || control == &m_designer.Form())
        return;
    m_dragged = true;
    if (m_drag == Drag::Move)
        m_designer.SetBounds(*control, Bounds(m_startBounds.Left + p.X - m_start.X, m_startBounds.Top + p.Y - m_start.Y,
                                           m_startBounds.Width(), m_startBounds.Height()));
    else
        m_designer.SetBounds(*control, Resized(p));
}

void TDesignOverlay::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (drag != Drag::Place || button != mbLeft)
        return;
    const TPoint p { x, y };
    const std::string className = m_designer.PendingClass();
    m_designer.SetPendingClass({});
    try {
        const TRect area = Normalized(m_start, p);
        if (area.Width() > kDragThreshold || area.Height() > kDragThreshold)
            m_designer.Drop(className, { area.Left, area.Top }, TSize { area.Width(), area.Height() });
        else
            m_designer.Drop(className, m_start);
    } catch (const std::exception& e) {
        m_designer.Message(e.what());
    }
}

void TDesignOverlay::DblClick()
{
    if (TComponent* selected = m_designer.Selected()) {
        try {
            m_designer.Edit(*selected);
        } catch (const std::exception& e) {
            m_designer.Message(e.what());
        }
    }
}

void TDesignOverlay::CMWantSpecialKey(TMessage& message)
{
    switch (message.WParam) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        message.Result = 1;
        break;
    default:
        TCustomControl::CMWantSpecialKey(message);
    }
}

void TDesignOverlay::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    constexpr std::uint16_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kDelete = 46;
    auto* control = dynamic_cast<TControl*>(m_designer.Selected());
    if (!control || control == &m_designer.Form())
        return;
    try {
        TRect b = control->BoundsRect();
        switch (key) {
        case kDelete: m_designer.Delete(*control); break;
        case kLeft: m_designer.SetBounds(*control, Bounds(b.Left - 1, b.Top, b.Width(), b.Height())); break;
        case kRight: m_designer.SetBounds(*control, Bounds(b.Left + 1, b.Top, b.Width(), b.Height())); break;
        case kUp: m_designer.SetBounds(*control, Bounds(b.Left, b.Top - 1, b.Width(), b.Height())); break;
        case kDown: m_designer.SetBounds(*control, Bounds(b.Left, b.Top + 1, b.Width(), b.Height())); break;
        default: return;
        }
    } catch (const std::exception& e) {
        m_designer.Message(e.what());
    }
    key = 0;
}

} // namespace plx::designer
