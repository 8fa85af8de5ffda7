// A private X server (Xvfb) for the tests that need a real window system, and
// helpers that drive it: an X11 platform on it, input sent through XTest, and
// pumping the event loop until a condition holds. Tests skip with a message
// when no server can be started.
#pragma once

// Include it after every other header: the X headers it brings define macros
// (None, Status, Expose) that other declarations would trip over.
#include "color/host/Bitmap.h"
#include "framework/host/Forms.h"
#include "framework/host/HeadlessPlatform.h"
#include "framework/host/X11Platform.h"

#include <gtest/gtest.h>

#include "framework/host/detail/XlibApi.h"

#include "XvfbProcess.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace plx::test {

//! One Xvfb for the whole test program, started at first use and stopped at exit.
class TXServer {
public:
    //! The server; the first call starts it, with a screen of that size (see TXvfbProcess).
    static TXServer& Instance(const std::string& screen = "800x600x24")
    {
        static TXServer server(screen);
        return server;
    }
    [[nodiscard]] bool Running() const noexcept { return !Display().empty(); }
    //! Why there is no server (for the skip message).
    [[nodiscard]] const std::string& Problem() const noexcept { return m_problem.empty() ? m_xvfb->Problem() : m_problem; }
    [[nodiscard]] const std::string& Display() const noexcept { return m_xvfb ? m_xvfb->Display() : m_none; }

private:
    explicit TXServer(const std::string& screen)
    {
        if (!detail::Xlib())
            m_problem = "libX11 cannot be loaded";
        else
            m_xvfb = std::make_unique<TXvfbProcess>(screen);
    }

    std::unique_ptr<TXvfbProcess> m_xvfb;
    std::string m_problem;
    std::string m_none;
};

//! Runs each test on an X11 platform of the private server, and gives the
//! headless platform back afterwards. Forms made in a test must be freed in it.
class X11Test : public ::testing::Test {
protected:
    void SetUp() override { Start(true); }
    void Start(bool sharedMemory)
    {
        TXServer& server = TXServer::Instance();
        if (!server.Running())
            GTEST_SKIP() << "no X server: " << server.Problem();
        if (!detail::Xlib()->hasXtst)
            GTEST_SKIP() << "libXtst cannot be loaded: no input can be sent through the X server";
        auto platform = TX11Platform::Open({ server.Display(), sharedMemory });
        if (!platform)
            GTEST_SKIP() << "the X server " << server.Display() << " does not answer";
        m_x11 = platform.get();
        m_previous = SetPlatform(std::move(platform));
    }
    void TearDown() override
    {
        if (!m_x11)
            return;
        Application().SetCaptureControl(nullptr);
        Application().SetButtonsDown(0);
        Application().LastPress() = {};
        SetPlatform(std::move(m_previous));
        m_x11 = nullptr;
    }

    TX11Platform& X11() { return *m_x11; }
    [[nodiscard]] ::Display* Dpy() const { return static_cast<::Display*>(m_x11->NativeDisplay()); }
    static const detail::TXlib& X() { return *detail::Xlib(); }

    //! Runs the event loop until done() holds or timeoutMs pass; returns done().
    bool PumpUntil(const std::function<bool()>& done, std::int64_t timeoutMs = 5000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            Application().ProcessMessages();
            if (done())
                return true;
            if (std::chrono::steady_clock::now() >= end)
                return false;
            X11().WaitForEvent(10);
        }
    }
    //! Runs the event loop for a while (lets the server's answers arrive).
    void Pump(std::int64_t ms = 100)
    {
        PumpUntil([] { return false; }, ms);
    }
    //! Shows the form and waits until the server shows it and it is painted.
    bool ShowAndWait(TCustomForm& form)
    {
        form.Show();
        const auto window = static_cast<Window>(X11().NativeWindow(form.WindowId()));
        return PumpUntil([&] {
            XWindowAttributes a {};
            return X().XGetWindowAttributes(Dpy(), window, &a) && a.map_state == IsViewable && !form.HasDamage();
        });
    }

    //! Where the server's pixels of the form's window first differ from the
    //! form rendered headless; empty when they are the same. Waits up to 5 s
    //! for the server to show what was painted.
    std::string ServerDifference(TCustomForm& form)
    {
        std::string difference = "the window is not viewable";
        PumpUntil([&] {
            TBitmap expected;
            form.RenderTo(expected);
            Raster shown;
            if (!X11().ReadWindow(form.WindowId(), shown)) {
                difference = "the window is not viewable";
                return false;
            }
            const Raster& e = expected.Image();
            if (shown.Width() != e.Width() || shown.Height() != e.Height()) {
                difference = "the window is " + std::to_string(shown.Width()) + " x " + std::to_string(shown.Height()) + ", the form "
                    + std::to_string(e.Width()) + " x " + std::to_string(e.Height());
                return false;
            }
            for (std::int32_t y = 0; y < e.Height(); ++y)
                for (std::int32_t x = 0; x < e.Width(); ++x)
                    if (shown.GetColor(x, y) != e.GetColor(x, y)) {
                        difference = "(" + std::to_string(x) + ", " + std::to_string(y) + "): server " + std::to_string(shown.GetColor(x, y))
                            + ", headless " + std::to_string(e.GetColor(x, y));
                        return false;
                    }
            difference.clear();
            return true;
        });
        return difference;
    }

    //! \name Input through the server
    void MoveTo(TPoint screen)
    {
        X().XTestFakeMotionEvent(Dpy(), -1, screen.X, screen.Y, CurrentTime);
        X().XFlush(Dpy());
    }
    void Button(unsigned button, bool down)
    {
        X().XTestFakeButtonEvent(Dpy(), button, down ? True : False, CurrentTime);
        X().XFlush(Dpy());
    }
    void Key(KeySym sym, bool down)
    {
        X().XTestFakeKeyEvent(Dpy(), X().XKeysymToKeycode(Dpy(), sym), down ? True : False, CurrentTime);
        X().XFlush(Dpy());
    }
    void Tap(KeySym sym)
    {
        Key(sym, true);
        Key(sym, false);
    }
    void Click(TPoint screen, unsigned button = Button1)
    {
        MoveTo(screen);
        Button(button, true);
        Button(button, false);
    }

private:
    TX11Platform* m_x11 { nullptr };
    std::unique_ptr<TPlatform> m_previous;
};

} // namespace plx::test
