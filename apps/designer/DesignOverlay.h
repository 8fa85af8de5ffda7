// The layer over the designed form: a transparent windowed control on top of
// every component that takes the mouse (select, move, resize, drop, double
// click, context menu) and draws the selection's handles. It is not owned by
// the form, so it is never written to the form file.
#pragma once

#include "framework/host/Forms.h"
#include "framework/host/WinControl.h"

#include <array>
#include <functional>
#include <optional>

namespace plx::designer {

class TFormDesigner;

//! The eight grab handles, clockwise from the top-left corner.
enum class THandle : std::uint8_t { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

//! Side of a grab handle in pixels.
inline constexpr std::int32_t kHandleSize = 5;

class TDesignOverlay : public TCustomControl {
public:
    TDesignOverlay(TFormDesigner& designer, TForm& form);

    //! The handles of the selection (form client coordinates); none when the
    //! form itself is selected.
    [[nodiscard]] std::optional<std::array<TRect, 8>> HandleRects() const;
    //! Covers the form's client area again (after the form's size changed) and
    //! stays above every component.
    void Cover();
    //! Called for a right click: the component under the pointer (selected by
    //! now) and the screen point.
    void SetOnContextMenu(std::function<void(TComponent&, TPoint)> handler) { m_onContextMenu = std::move(handler); }
    //! Called first at every press on the form (open lists close).
    void SetOnPress(std::function<void()> handler) { m_onPress = std::move(handler); }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void DblClick() override;
    //! Delete deletes the selection; the arrow keys move it by a pixel.
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    //! The arrow keys move the selection, so the form does not take them for focus moves.
    void CMWantSpecialKey(TMessage& message) override;

private:
    enum class Drag : std::uint8_t { None, Move, Resize, Place };
    [[nodiscard]] std::optional<THandle> HandleAt(TPoint p) const;
    [[nodiscard]] TRect Resized(TPoint p) const;

    TFormDesigner& m_designer;
    Drag m_drag { Drag::None };
    THandle m_handle { THandle::TopLeft };
    TPoint m_start; //!< where the drag began (form coordinates)
    TRect m_startBounds; //!< the selection's bounds then (parent coordinates)
    bool m_dragged { false };
    std::function<void(TComponent&, TPoint)> m_onContextMenu;
    std::function<void()> m_onPress;
};

//! The rectangle a grab handle covers around a control's rectangle.
[[nodiscard]] TRect HandleRect(const TRect& bounds, THandle handle) noexcept;

} // namespace plx::designer
