// Shared set-up for the control layer's tests: the headless platform and a form.
#pragma once

#include "framework/host/Forms.h"
#include "framework/host/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <memory>

namespace plx::test {

inline THeadlessPlatform& Headless()
{
    auto* p = dynamic_cast<THeadlessPlatform*>(&CurrentPlatform());
    if (!p)
        throw std::logic_error("tests need the headless platform");
    return *p;
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
        Application().SetCaptureControl(nullptr);
        Application().SetButtonsDown(0);
        Application().LastPress() = {};
        Headless().ReleaseCapture();
        TPlatformEvent e;
        while (Headless().PollEvent(e)) {
        }
        Application().AdvanceTime(1000);
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
