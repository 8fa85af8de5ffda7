// The demo window on a real X server: what the server shows is what the form
// renders headless, and input sent through the server reaches its controls.
#include "Demo.h"

#include "components/ArtLabel.h"
#include "components/KnGradient.h"
#include "framework/Backgnd.h"

#include "XServer.h"

#include <X11/keysym.h>

namespace plx::test {

namespace {

class DemoTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        m_demo = std::make_unique<demo::Demo>(nullptr);
        ASSERT_TRUE(ShowAndWait(*m_demo));
    }
    void TearDown() override
    {
        m_demo.reset();
        X11Test::TearDown();
    }
    demo::Demo& Form() { return *m_demo; }
    template <class T>
    T& Find(const std::string& name)
    {
        auto* c = dynamic_cast<T*>(m_demo->FindComponent(name));
        if (!c)
            throw std::logic_error("no " + name + " on the demo");
        return *c;
    }
    //! The screen point at (dx, dy) inside a control.
    TPoint On(const TControl& control, std::int32_t dx, std::int32_t dy) { return control.ClientToScreen({ dx, dy }); }

private:
    std::unique_ptr<demo::Demo> m_demo;
};

} // namespace

TEST_F(DemoTest, TheWindowOnTheServerIsPixelIdenticalToTheHeadlessRendering)
{
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DemoTest, ClicksThroughTheServerChangeTheComponents)
{
    auto& gradient = Find<TKnGradient>("GradientPanel");
    const TGradientStyle before = gradient.Gradient().GradientStyle();
    Click(On(gradient, 20, 20));
    ASSERT_TRUE(PumpUntil([&] { return gradient.Gradient().GradientStyle() != before; }));
    auto& background = Find<TBackground>("Background");
    const TBackStyle back = background.BackObj().BackStyle();
    Click(On(background, 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return background.BackObj().BackStyle() != back; }));
    EXPECT_EQ(ServerDifference(Form()), "") << "the changed components reach the server";
}

TEST_F(DemoTest, ADragAcrossTheArtLabelSetsItsShadow)
{
    auto& label = Find<TArtLabel>("ArtLabel");
    const std::int32_t before = label.ShadowLength();
    MoveTo(On(label, 20, 30));
    Button(Button1, true);
    MoveTo(On(label, 60, 30));
    MoveTo(On(label, 100, 30)); // 80 pixels: 10 more pixels of shadow, at most 12
    Button(Button1, false);
    ASSERT_TRUE(PumpUntil([&] { return label.ShadowLength() == std::min(before + 10, 12); })) << label.ShadowLength();
    EXPECT_NE(Form().StatusText().find("shadow"), std::string::npos);
}

TEST_F(DemoTest, TheWheelOverTheArtLabelSetsItsShadow)
{
    auto& label = Find<TArtLabel>("ArtLabel");
    const std::int32_t before = label.ShadowLength();
    Click(On(label, 30, 30), 5); // one notch towards the user
    ASSERT_TRUE(PumpUntil([&] { return label.ShadowLength() == before - 1; })) << label.ShadowLength();
}

TEST_F(DemoTest, TypedKeysChangeTheArtLabelsText)
{
    auto& label = Find<TArtLabel>("ArtLabel");
    MoveTo(On(label, 10, 10));
    Pump(50);
    Tap(XK_BackSpace);
    Tap(XK_BackSpace);
    Tap(XK_BackSpace);
    Tap(XK_BackSpace);
    Tap(XK_x);
    Key(XK_Shift_L, true);
    Tap(XK_y);
    Key(XK_Shift_L, false);
    ASSERT_TRUE(PumpUntil([&] { return label.Caption() == "Art xY"; })) << label.Caption();
    EXPECT_EQ(ServerDifference(Form()), "");
}

} // namespace plx::test
