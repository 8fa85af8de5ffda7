// The headless platform: windows are bitmaps in memory, input is injected, and
// time is a virtual clock that moves only when told.
#pragma once

#include "framework/host/Platform.h"

#include <deque>
#include <map>

namespace plx {

class THeadlessPlatform : public TPlatform {
public:
    THeadlessPlatform();

    TWindowId CreateWindow(const TRect& bounds, const std::string& caption) override;
    TWindowId CreatePopupWindow(const TRect& bounds) override;
    void DestroyWindow(TWindowId window) override;
    void ShowWindow(TWindowId window, bool visible) override;
    [[nodiscard]] bool IsWindowVisible(TWindowId window) const override;
    void SetWindowBounds(TWindowId window, const TRect& bounds) override;
    void SetWindowCaption(TWindowId window, const std::string& caption) override;
    [[nodiscard]] Raster& Surface(TWindowId window) override;
    void Present(TWindowId, const TRect&) override { }
    void BeginMoveWindow(TWindowId) override { }

    [[nodiscard]] bool PollEvent(TPlatformEvent& event) override;
    void WaitForEvent(std::int64_t) override { }
    [[nodiscard]] std::int64_t Now() const override { return m_now; }
    [[nodiscard]] TPoint CursorPos() const override { return m_cursor; }
    [[nodiscard]] TSize ScreenSize() const override { return m_screen; }
    void SetCapture(TWindowId window) override { m_capture = window; }
    void ReleaseCapture() override { m_capture = 0; }
    [[nodiscard]] bool IsVirtualTime() const override { return true; }

    //! \name Test controls
    void SetScreenSize(TSize size) noexcept { m_screen = size; }
    void SetNow(std::int64_t now) noexcept { m_now = now; }
    //! Queues pointer events at a screen point; they go to the window with the
    //! capture, else to the topmost visible window under the point.
    void MouseMove(TPoint screen);
    void MouseDown(TPoint screen, TPlatformButton button = TPlatformButton::Left, bool shift = false, bool ctrl = false);
    void MouseUp(TPoint screen, TPlatformButton button = TPlatformButton::Left);
    //! Queues a character typed into the active window (alt: with the Alt key).
    void Char(std::uint32_t code, bool alt = false);
    void KeyDown(std::uint32_t key, bool shift = false, bool ctrl = false, bool alt = false);
    void KeyUp(std::uint32_t key, bool shift = false, bool ctrl = false, bool alt = false);
    void Close(TWindowId window);
    [[nodiscard]] TRect WindowBounds(TWindowId window) const;
    [[nodiscard]] std::string WindowCaption(TWindowId window) const;
    //! The topmost visible window under a screen point (0 when none).
    [[nodiscard]] TWindowId WindowAt(TPoint screen) const;
    //! The window that receives typed keys: the visible window shown last that is not a pop-up.
    [[nodiscard]] TWindowId ActiveWindow() const;
    [[nodiscard]] TWindowId CaptureWindow() const noexcept { return m_capture; }

private:
    struct Window {
        TRect bounds;
        std::string caption;
        bool visible { false };
        std::uint64_t order { 0 }; //!< stacking: higher is on top
        bool popup { false };
        std::unique_ptr<Raster> surface;
    };
    void QueuePointer(TPlatformEventKind kind, TPoint screen, TPlatformButton button, bool shift, bool ctrl);
    void QueueKey(TPlatformEventKind kind, std::uint32_t key, bool shift, bool ctrl, bool alt);

    std::map<TWindowId, Window> m_windows;
    std::deque<TPlatformEvent> m_events;
    TWindowId m_next { 1 };
    std::uint64_t m_order { 0 };
    TWindowId m_capture { 0 };
    std::int64_t m_now { 0 };
    TPoint m_cursor;
    TSize m_screen { 1024, 768 };
};

} // namespace plx
