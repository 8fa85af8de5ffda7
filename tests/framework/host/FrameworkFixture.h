// Shared set-up for the control layer's tests: the headless platform and a form.
#pragma once

#include "framework/host/Forms.h"
#include "framework/host/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string_view>

namespace plx::test {

inline THeadlessPlatform& Headless()
{
    auto* p = dynamic_cast<THeadlessPlatform*>(&CurrentPlatform());
    if (!p)
        throw std::logic_error("tests need the headless platform");
    return *p;
}

//! Types UTF-8 text into the active window, one character event per code
//! point, and handles the events.
inline void Type(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        std::uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (std::size_t k = 1; k < n && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        Headless().Char(cp);
        i += n;
    }
    Application().ProcessMessages();
}

//! Presses and releases a key in the active window and handles the events.
inline void Press(std::uint32_t key, bool shift = false, bool ctrl = false, bool alt = false)
{
    Headless().KeyDown(key, shift, ctrl, alt);
    Headless().KeyUp(key, shift, ctrl, alt);
    Application().ProcessMessages();
}

//! Leaves no input behind for the next test: no capture, no button held, no
//! last press, no pending platform event, and the clock past any double click.
inline void ResetInput()
{
    Application().SetCaptureControl(nullptr);
    Application().SetButtonsDown(0);
    Application().LastPress() = {};
    Headless().ReleaseCapture();
    TPlatformEvent e;
    while (Headless().PollEvent(e)) {
    }
    Application().AdvanceTime(1000);
}

//! A shown form at (100, 50) of 300 x 200, freed after the test.
class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(100, 50, 300, 200);
        m_form->Show();
        Application().ProcessMessages();
    }
    void TearDown() override
    {
        m_form.reset();
        ResetInput();
    }

    TForm& Form() { return *m_form; }
    //! Clicks at a point of the form's client area (screen = client + (100, 50)).
    void Click(TPoint client)
    {
        TPoint s { client.X + 100, client.Y + 50 };
        Headless().MouseMove(s);
        Headless().MouseDown(s);
        Headless().MouseUp(s);
        Application().ProcessMessages();
        Application().AdvanceTime(1000); // no double click with the next one
    }
    static TPoint Screen(TPoint client) { return { client.X + 100, client.Y + 50 }; }

private:
    std::unique_ptr<TForm> m_form;
};

} // namespace plx::test
