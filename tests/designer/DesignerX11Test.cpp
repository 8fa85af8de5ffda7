// plumex-designer's windows on a real X server: what the server shows is what
// they paint, and the pointer and keys sent through the server design a form.
#include "designer/DesignerApp.h"
#include "designer/Inspector.h"
#include "designer/Palette.h"
#include "framework/host/DesignIntf.h"

#include "XServer.h"

#include <X11/keysym.h>

#include <algorithm>
#include <memory>
#include <string>

namespace plx::test {

namespace {

using designer::TDesignerApp;

class DesignerOnX11 : public X11Test {
protected:
    void SetUp() override
    {
        // The designer's windows are laid out for a screen of this size.
        TXServer::Instance("1280x800x24");
        X11Test::SetUp();
        if (IsSkipped())
            return;
        m_app = std::make_unique<TDesignerApp>();
        m_app->LoadPackage(PLUMEX_PACKAGE_FILE);
        m_app->Designer().NewForm(400, 300);
        m_app->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shown(m_app->MainWindow()) && Shown(m_app->InspectorWindow()) && Shown(Form()); }));
    }
    void TearDown() override
    {
        m_app.reset();
        X11Test::TearDown();
    }
    TDesignerApp& App() { return *m_app; }
    TForm& Form() { return m_app->Designer().Form(); }
    //! The window is on the screen and painted.
    bool Shown(TCustomForm& form)
    {
        XWindowAttributes a {};
        const auto window = static_cast<Window>(X11().NativeWindow(form.WindowId()));
        return window && X().XGetWindowAttributes(Dpy(), window, &a) && a.map_state == IsViewable && !form.HasDamage();
    }
    TPoint Middle(const TControl& control, const TRect& r)
    {
        return control.ClientToScreen({ (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 });
    }
    TPoint PaletteButton(const std::string& className)
    {
        const auto& entries = App().Palette().Entries();
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const TPaletteEntry& e) { return e.Class->Name() == className; });
        if (it == entries.end())
            throw std::logic_error("no " + className + " on the palette");
        return Middle(App().Palette(), App().Palette().ButtonRect(static_cast<std::size_t>(it - entries.begin()) + 1));
    }

private:
    std::unique_ptr<TDesignerApp> m_app;
};

} // namespace

TEST_F(DesignerOnX11, TheServerShowsWhatTheWindowsPaint)
{
    EXPECT_EQ(ServerDifference(App().MainWindow()), "");
    EXPECT_EQ(ServerDifference(App().InspectorWindow()), "");
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DesignerOnX11, ThePointerDropsAComponentAndTheKeysSetItsProperty)
{
    Click(PaletteButton("TArtLabel"));
    ASSERT_TRUE(PumpUntil([&] { return App().Designer().PendingClass() == "TArtLabel"; }));
    Click(Form().ClientToScreen({ 30, 40 }));
    ASSERT_TRUE(PumpUntil([&] { return App().Designer().FindComponent("ArtLabel1") != nullptr; }));
    auto& label = dynamic_cast<TControl&>(*App().Designer().FindComponent("ArtLabel1"));
    EXPECT_EQ(label.BoundsRect().TopLeft(), (TPoint { 30, 40 }));
    EXPECT_EQ(App().Designer().Selected(), &label);

    // Its Left typed into the inspector.
    designer::TInspector& inspector = App().Inspector();
    ASSERT_TRUE(PumpUntil([&] { return inspector.RowIndex("Left") >= 0; }));
    Click(Middle(inspector, inspector.ValueRect(inspector.RowIndex("Left"))));
    ASSERT_TRUE(PumpUntil([&] { return inspector.Editing(); }));
    // The keyboard goes to the window last shown (the designed form) until a
    // window manager moves it on the click; there is none on this server.
    const auto window = static_cast<Window>(X11().NativeWindow(App().InspectorWindow().WindowId()));
    X().XSetInputFocus(Dpy(), window, RevertToParent, CurrentTime);
    Tap(XK_BackSpace);
    Tap(XK_BackSpace);
    Tap(XK_6);
    Tap(XK_4);
    Tap(XK_Return);
    ASSERT_TRUE(PumpUntil([&] { return label.Left() == 64; })) << label.Left();
    EXPECT_EQ(ServerDifference(Form()), "");
    EXPECT_EQ(ServerDifference(App().InspectorWindow()), "");
}

} // namespace plx::test
