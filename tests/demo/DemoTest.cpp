// The demo window on a real X server: what the server shows is what the form
// renders headless, and input sent through the server reaches its controls.
#include "Demo.h"
#include "Sections.h"

#include "components/Apples.h"
#include "components/ArtLabel.h"
#include "components/ClrPanel.h"
#include "components/ColorBtns.h"
#include "components/KnGradient.h"
#include "components/KnScroll.h"
#include "design/GradEditor.h"
#include "framework/Backgnd.h"
#include "framework/host/Forms.h"
#include "framework/host/ComCtrls.h"
#include "framework/host/StdCtrls.h"

#include "XServer.h"

#include <X11/keysym.h>

#include <algorithm>
#include <map>

namespace plx::test {

namespace {

class DemoTest : public X11Test {
protected:
    void SetUp() override
    {
        // The demo's window needs a screen as large as it is meant for.
        TXServer::Instance("1280x800x24");
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
    //! The host's push button of that caption on the demo.
    TButton& ButtonCaptioned(const std::string& caption)
    {
        for (std::int32_t i = 0; i < m_demo->ComponentCount(); ++i)
            if (auto* button = dynamic_cast<TButton*>(m_demo->Components(i)); button && button->Caption() == caption)
                return *button;
        throw std::logic_error("no button " + caption + " on the demo");
    }
    //! The screen point at (dx, dy) inside a control.
    TPoint On(const TControl& control, std::int32_t dx, std::int32_t dy) { return control.ClientToScreen({ dx, dy }); }
    //! The screen point at the middle of a rectangle of a control.
    TPoint On(const TControl& control, const TRect& r) { return On(control, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

private:
    std::unique_ptr<demo::Demo> m_demo;
};

} // namespace

TEST_F(DemoTest, TheWindowOnTheServerIsPixelIdenticalToTheHeadlessRendering)
{
    EXPECT_EQ(ServerDifference(Form()), "");
    // Room is left on a 1280 x 800 screen for a window manager's frame.
    EXPECT_LE(Form().Width(), 1260);
    EXPECT_LE(Form().Height(), 760);
    // Each row of boxes spans the window, with the same gap at either end.
    std::map<std::int32_t, std::int32_t> rowEnds;
    for (const demo::Section& section : demo::Sections()) {
        const TPanel* box = Form().Box(section.title);
        ASSERT_NE(box, nullptr) << section.title;
        EXPECT_EQ(box->Width(), section.width);
        EXPECT_GE(box->Left(), demo::kGap);
        rowEnds[box->Top()] = std::max(rowEnds[box->Top()], box->Left() + box->Width());
    }
    EXPECT_EQ(rowEnds.size(), 3u);
    for (const auto& [top, end] : rowEnds)
        EXPECT_EQ(end, demo::kClientWidth - demo::kGap) << "the row at " << top;
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
    EXPECT_EQ(Find<TRadioGroup>("BackStyle").ItemIndex(), background.BackObj().BackStyle()) << "the chooser follows";
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
    EXPECT_EQ(Find<TKnScroll>("ShadowBar").Position(), label.ShadowLength()) << "the scroll bar follows";
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
    EXPECT_EQ(Find<TEdit>("ArtText").Text(), "Art xY") << "the label's text is the edit's";
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DemoTest, AnEditTakesTextTypedIntoIt)
{
    auto& edit = Find<TEdit>("ArtText");
    auto& label = Find<TArtLabel>("ArtLabel");
    // Another control takes the focus first; a click gives it back to the edit.
    Click(On(Find<TListBox>("PanelColours"), 10, 5));
    ASSERT_TRUE(PumpUntil([&] { return Find<TListBox>("PanelColours").Focused(); }));
    Click(On(edit, edit.Width() - 4, edit.Height() / 2));
    ASSERT_TRUE(PumpUntil([&] { return edit.Focused(); }));
    Tap(XK_End);
    Tap(XK_s);
    ASSERT_TRUE(PumpUntil([&] { return edit.Text() == "Art texts"; })) << edit.Text();
    EXPECT_EQ(label.Caption(), "Art texts");
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DemoTest, AColourButtonOfTheGroupGoesDownAndPaintsTheStyleButtons)
{
    auto& grey = Find<TColor95Button>("PaintGrey");
    auto& teal = Find<TColor95Button>("PaintTeal");
    auto& glass = Find<TColor95Button>("StyleGlass");
    ASSERT_TRUE(grey.Down());
    ASSERT_FALSE(teal.Down());
    Click(On(teal, 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return teal.Down(); }));
    EXPECT_FALSE(grey.Down()) << "one button of a group is down";
    EXPECT_EQ(glass.Color(), teal.Color());
    EXPECT_EQ(Find<TColor95Button>("StyleWin31").Color(), teal.Color());
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DemoTest, AHeldRepeatingColourButtonClicksUntilReleased)
{
    auto& up = Find<TColor95Button>("RepeatUp");
    auto& count = Find<TPanel>("RepeatCount");
    MoveTo(On(up, 10, 10));
    Button(Button1, true);
    const bool repeated = PumpUntil([&] { return count.Caption() == "3"; });
    Button(Button1, false);
    ASSERT_TRUE(repeated) << count.Caption();
    Pump(50);
    const std::string released = count.Caption();
    Pump(400); // longer than the repeat's period
    EXPECT_EQ(count.Caption(), released);
}

TEST_F(DemoTest, AScrollBarMovesAndTheArtLabelsShadowFollows)
{
    auto& bar = Find<TKnScroll>("ShadowBar");
    auto& label = Find<TArtLabel>("ArtLabel");
    const std::int32_t before = bar.Position();
    Click(On(bar, bar.IncBox()));
    ASSERT_TRUE(PumpUntil([&] { return bar.Position() == before + 1; })) << bar.Position();
    EXPECT_EQ(label.ShadowLength(), before + 1);
    // The thumb dragged to the end of the track.
    MoveTo(On(bar, bar.ThumbBox()));
    Button(Button1, true);
    MoveTo(On(bar, bar.IncBox().Left - 4, bar.Height() / 2));
    MoveTo(On(bar, bar.IncBox().Right + 40, bar.Height() / 2));
    Button(Button1, false);
    ASSERT_TRUE(PumpUntil([&] { return bar.Position() == bar.Max(); })) << bar.Position();
    EXPECT_EQ(label.ShadowLength(), bar.Max());
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DemoTest, TheWheelOverAScrollBarStepsItAndTheColourFollows)
{
    auto& bar = Find<TKnScroll>("Colour1Bar");
    auto& gradient = Find<TKnGradient>("GradientPanel");
    const std::int32_t before = bar.Position();
    Click(On(bar, bar.Width() / 2, bar.Height() / 2), 5); // one notch towards the user
    ASSERT_TRUE(PumpUntil([&] { return bar.Position() == before + bar.SmallChange(); })) << bar.Position();
    EXPECT_EQ(gradient.Gradient().Color1(), demo::Hue(bar.Position()));
}

TEST_F(DemoTest, TheApplesFollowTheirScrollBar)
{
    auto& bar = Find<TKnScroll>("AppleBar");
    auto& apples = Find<TApples>("Apples");
    Click(On(bar, bar.IncBox()));
    ASSERT_TRUE(PumpUntil([&] { return bar.Position() == 40; })) << bar.Position();
    EXPECT_EQ(apples.Value(), 4.0L);
    EXPECT_EQ(Find<TLabel>("AppleCount").Caption(), "4.0 apples");
}

TEST_F(DemoTest, TheHostsControlsDriveTheComponents)
{
    // The radio group chooses the background's style.
    auto& style = Find<TRadioGroup>("BackStyle");
    Click(On(*style.Buttons(3), 6, 6));
    ASSERT_TRUE(PumpUntil([&] { return Find<TBackground>("Background").BackObj().BackStyle() == bgTileBitmap; }));
    // The list box colours the panels.
    auto& list = Find<TListBox>("PanelColours");
    Click(On(list, list.ItemRect(1)));
    ASSERT_TRUE(PumpUntil([&] { return Find<TColorPanel>("ColourPanel").Color() == clNavy; }));
    // A check box switches an effect of the art label.
    auto& outline = Find<TCheckBox>("ArtOutline");
    Click(On(outline, 6, outline.Height() / 2));
    ASSERT_TRUE(PumpUntil([&] { return Find<TArtLabel>("ArtLabel").ArtStyle().Contains(asOutlined); }));
    // The up-down steps the gradient's bands, and the upright scroll bar follows.
    auto& upDown = Find<TUpDown>("BandsUpDown");
    const std::int32_t bands = Find<TKnGradient>("GradientPanel").Gradient().LineSize();
    Click(On(upDown, upDown.Width() / 2, 3));
    ASSERT_TRUE(PumpUntil([&] { return Find<TKnGradient>("GradientPanel").Gradient().LineSize() == bands + 1; }));
    EXPECT_EQ(Find<TKnScroll>("BandsBar").Position(), bands + 1);
    // The combo box's list opens in a window of its own and chooses the font.
    auto& font = Find<TComboBox>("ArtFont");
    Click(On(font, font.Width() - 6, font.Height() / 2));
    ASSERT_TRUE(PumpUntil([&] { return font.DroppedDown() && font.DropDownList() && font.DropDownWindow()->Visible(); }));
    TCustomListBox& items = *font.DropDownList();
    Pump(100);
    Click(On(items, items.ItemRect(2)));
    ASSERT_TRUE(PumpUntil([&] { return font.Text() == "Courier New"; })) << font.Text();
    EXPECT_EQ(Find<TArtLabel>("ArtLabel").GetFont().Name(), "Courier New");
    EXPECT_EQ(ServerDifference(Form()), "");
}

TEST_F(DemoTest, TheButtonsOpenThePackagesDialogs)
{
    // The gradient editor opens on the panel's gradient; what is confirmed there reaches the panel.
    auto& panel = Find<TKnGradient>("GradientPanel");
    bool edited = false;
    Application().AddShowHook([&](TCustomForm& form) {
        auto* editor = dynamic_cast<TfrmGradEditor*>(&form);
        if (!editor)
            return false;
        EXPECT_EQ(editor->GetGradient().Color2(), panel.Gradient().Color2());
        TGradient changed;
        changed.Assign(&editor->GetGradient());
        changed.SetColor1(clFuchsia);
        editor->SetGradient(changed);
        editor->SetModalResult(mrYes);
        edited = true;
        return true;
    });
    Click(On(ButtonCaptioned("&Edit gradient..."), 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return edited && panel.Gradient().Color1() == clFuchsia; }));
    // The about box opens and closes; the demo goes on.
    bool about = false;
    Application().AddShowHook([&](TCustomForm& form) {
        if (form.Caption() != "About Plumex")
            return false;
        form.SetModalResult(mrCancel);
        about = true;
        return true;
    });
    Click(On(ButtonCaptioned("&About Plumex..."), 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return about && Form().StatusText().find("About: closed") != std::string::npos; }));
    EXPECT_EQ(ServerDifference(Form()), "");
}

} // namespace plx::test
