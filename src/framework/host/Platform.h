// The platform under the control layer: windows with pixel surfaces, input
// events, a clock, the pointer and the screen. A headless implementation serves
// tests and tools; a window-system one plugs into the same interface.
#pragma once

#include "color/host/Raster.h"
#include "color/host/Types.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plx {

using TWindowId = std::uint32_t;

//! MouseWheel and MouseLeave come from window systems only.
enum class TPlatformEventKind : std::uint8_t { MouseDown, MouseUp, MouseMove, KeyDown, KeyUp, Char, Close, Expose, Resize, MouseWheel, MouseLeave };
enum class TPlatformButton : std::uint8_t { None, Left, Right, Middle };

//! One input event for a window. Points are in the window's client coordinates.
struct TPlatformEvent {
    TPlatformEventKind kind { TPlatformEventKind::MouseMove };
    TWindowId window { 0 };
    TPoint point;
    TPlatformButton button { TPlatformButton::None };
    bool shift { false };
    bool ctrl { false };
    bool alt { false };
    std::uint32_t key { 0 }; //!< virtual key (KeyDown/KeyUp) or character code (Char)
    TRect area; //!< Expose: the area to repaint; Resize: the window's new client bounds on the screen (moves too)
    std::int32_t wheelDelta { 0 }; //!< MouseWheel: 120 a notch, positive away from the user
};

//! A TCursor value (crDefault, crHandPoint, ...; Control.h names them).
using TCursor = std::int16_t;

//! How a window is framed, after the form's border styles.
enum class TWindowBorder : std::uint8_t { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };

//! What a window system needs to know to frame and stack a window.
struct TWindowStyle {
    TWindowBorder border { TWindowBorder::Sizeable };
    TWindowId owner { 0 }; //!< the window it belongs to (a modal dialog's owner), or 0
    bool modal { false };
};

class TPlatform {
public:
    virtual ~TPlatform() = default;

    //! \name Windows
    //! A top-level window with a client area of the given bounds (screen coordinates).
    [[nodiscard]] virtual TWindowId CreateWindow(const TRect& bounds, const std::string& caption) = 0;
    //! A borderless window that belongs to another (a drop-down list, a hint):
    //! it never becomes the window that takes typed keys.
    [[nodiscard]] virtual TWindowId CreatePopupWindow(const TRect& bounds) { return CreateWindow(bounds, {}); }
    virtual void DestroyWindow(TWindowId window) = 0;
    virtual void ShowWindow(TWindowId window, bool visible) = 0;
    [[nodiscard]] virtual bool IsWindowVisible(TWindowId window) const = 0;
    virtual void SetWindowBounds(TWindowId window, const TRect& bounds) = 0;
    virtual void SetWindowCaption(TWindowId window, const std::string& caption) = 0;
    //! The window's client pixels; the control layer paints here.
    [[nodiscard]] virtual Raster& Surface(TWindowId window) = 0;
    //! Shows what was painted into area of the surface.
    virtual void Present(TWindowId window, const TRect& area) = 0;
    //! Moves the window with the pointer until the button is released (a no-op
    //! where there is no window system).
    virtual void BeginMoveWindow(TWindowId window) = 0;

    //! \name Input and time
    //! Takes the next pending event; false when none is pending.
    [[nodiscard]] virtual bool PollEvent(TPlatformEvent& event) = 0;
    //! Waits at most timeoutMs for an event (0 returns at once).
    virtual void WaitForEvent(std::int64_t timeoutMs) = 0;
    //! Milliseconds of a monotonic clock.
    [[nodiscard]] virtual std::int64_t Now() const = 0;
    //! The pointer's last position on the screen.
    [[nodiscard]] virtual TPoint CursorPos() const = 0;
    [[nodiscard]] virtual TSize ScreenSize() const = 0;
    //! Keeps pointer events going to the window while a button is held.
    virtual void SetCapture(TWindowId window) = 0;
    virtual void ReleaseCapture() = 0;
    //! True when time only moves when told (tests): modal loops then cannot wait.
    [[nodiscard]] virtual bool IsVirtualTime() const = 0;

    //! \name For window systems (the defaults do nothing)
    //! Frames the window and makes it belong to its owner; set before it is shown.
    virtual void SetWindowStyle(TWindowId window, const TWindowStyle& style);
    //! Shows the pointer over the window in this shape.
    virtual void SetWindowCursor(TWindowId window, TCursor cursor);
};

//! The platform the control layer uses. The headless one is installed unless
//! another was set before the first window is created.
[[nodiscard]] TPlatform& CurrentPlatform();
//! Installs a platform (the previous one is returned); windows already created stay with the old one.
std::unique_ptr<TPlatform> SetPlatform(std::unique_ptr<TPlatform> platform);

} // namespace plx
