// The X11 platform: each form is a window on an X server, painted from the
// same surfaces as headless, with the server's input, a real clock and the
// server's pointer and screen. libX11 is loaded when a platform is opened, so
// programs that never open one run without it.
#pragma once

#include "framework/host/Platform.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plx {

//! How a TX11Platform talks to its server.
struct TX11Options {
    //! The display to open ("" for the DISPLAY environment variable).
    std::string display;
    //! Puts pictures through shared memory (MIT-SHM) where the server offers it
    //! for this client; XPutImage otherwise.
    bool sharedMemory { true };
};

//! A platform on an X server. A form's window takes its caption, position,
//! border style and modal state (a modal dialog is a transient window of its
//! owner); exposed parts go through the paint pass; Present puts only the
//! painted part on the server. Pointer buttons, moves, the wheel, enter and
//! leave, and keys (with their text, through the input method where there is
//! one) become the platform's events; a pointer grab follows SetCapture. Time
//! is the monotonic clock, and WaitForEvent sleeps on the server connection.
//! Protocol errors are recorded and never end the program; a connection the
//! server closes does, as it does for every Xlib client.
class TX11Platform : public TPlatform {
public:
    //! Connects to the server; null when libX11 cannot be loaded, the server
    //! does not answer, or its default visual is not true colour.
    [[nodiscard]] static std::unique_ptr<TX11Platform> Open(const TX11Options& options = {});
    ~TX11Platform() override;
    TX11Platform(const TX11Platform&) = delete;
    TX11Platform& operator=(const TX11Platform&) = delete;

    TWindowId CreateWindow(const TRect& bounds, const std::string& caption) override;
    //! A borderless window that the window manager leaves alone (a drop-down, a hint).
    [[nodiscard]] TWindowId CreatePopupWindow(const TRect& bounds) override;
    void DestroyWindow(TWindowId window) override;
    void ShowWindow(TWindowId window, bool visible) override;
    [[nodiscard]] bool IsWindowVisible(TWindowId window) const override;
    void SetWindowBounds(TWindowId window, const TRect& bounds) override;
    void SetWindowCaption(TWindowId window, const std::string& caption) override;
    [[nodiscard]] Raster& Surface(TWindowId window) override;
    void Present(TWindowId window, const TRect& area) override;
    void BeginMoveWindow(TWindowId window) override;
    void SetWindowStyle(TWindowId window, const TWindowStyle& style) override;
    void SetWindowCursor(TWindowId window, TCursor cursor) override;

    [[nodiscard]] bool PollEvent(TPlatformEvent& event) override;
    void WaitForEvent(std::int64_t timeoutMs) override;
    [[nodiscard]] std::int64_t Now() const override;
    [[nodiscard]] TPoint CursorPos() const override;
    [[nodiscard]] TSize ScreenSize() const override;
    void SetCapture(TWindowId window) override;
    void ReleaseCapture() override;
    [[nodiscard]] bool IsVirtualTime() const override { return false; }

    //! \name For tools and tests
    //! Whether pictures go through shared memory.
    [[nodiscard]] bool UsesSharedMemory() const noexcept;
    //! The Xlib Display* of the connection.
    [[nodiscard]] void* NativeDisplay() const noexcept;
    //! The X window of a platform window (0 when unknown).
    [[nodiscard]] std::uint64_t NativeWindow(TWindowId window) const noexcept;
    //! Waits until the server has handled every request sent so far.
    void Sync();
    //! Reads the window's pixels back from the server into pixels (sized to the
    //! window, colours as on the surface); false when the window is not viewable.
    bool ReadWindow(TWindowId window, Raster& pixels);
    //! The window's caption and frame as last set, for tests.
    [[nodiscard]] std::string WindowCaption(TWindowId window) const;
    [[nodiscard]] TWindowStyle WindowStyleOf(TWindowId window) const;
    [[nodiscard]] TCursor WindowCursor(TWindowId window) const;
    [[nodiscard]] TRect WindowBounds(TWindowId window) const;

private:
    struct TImpl;
    explicit TX11Platform(std::unique_ptr<TImpl> impl);

    std::unique_ptr<TImpl> m_impl;
};

//! Which platform ChoosePlatform installs.
enum class TPlatformChoice : std::uint8_t {
    Automatic, //!< X11 when DISPLAY names a server that answers, else headless
    Headless,
    X11, //!< X11, or headless when no server answers
};

//! Installs the platform a program runs on and returns the one installed.
//! Automatic reads PLUMEX_PLATFORM first ("headless" or "x11"). Call it at the
//! start of main, before any form has a window.
TPlatformChoice ChoosePlatform(TPlatformChoice choice = TPlatformChoice::Automatic);

} // namespace plx
