// The up-down control.
#include "FrameworkFixture.h"

#include "framework/host/ComCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;
using plx::test::Press;
using plx::test::Type;

namespace {

struct UpDownFixture {
    TEdit* edit;
    TUpDown* updown;
};

UpDownFixture Associated(TForm& form)
{
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 80, 21);
    auto* updown = new TUpDown(&form);
    updown->SetParent(&form);
    updown->SetAssociate(edit);
    return { edit, updown };
}

} // namespace

TEST_F(FormTest, AnUpDownSitsBesideItsEditAndKeepsItsText)
{
    auto [edit, updown] = Associated(Form());
    EXPECT_EQ(edit->Width(), 80 - 16) << "the edit makes room";
    EXPECT_EQ(updown->BoundsRect(), Bounds(10 + 64, 10, 16, 21));
    EXPECT_EQ(edit->Text(), "0");
    updown->SetPosition(1234);
    EXPECT_EQ(updown->Position(), 100) << "clamped to Max";
    updown->SetMax(5000);
    updown->SetPosition(1234);
    EXPECT_EQ(edit->Text(), "1,234");
    updown->SetThousands(false);
    EXPECT_EQ(edit->Text(), "1234");
}

TEST_F(FormTest, UpDownStepsStopAtTheLimitsOrWrapAndRepeatWhileHeld)
{
    auto [edit, updown] = Associated(Form());
    updown->SetMin(1);
    updown->SetMax(4);
    std::vector<TUDBtnType> clicks;
    updown->SetOnUDClick([&](TObject*, TUDBtnType b) { clicks.push_back(b); });
    const TPoint up = updown->ClientToScreen({ 8, 3 });
    const TPoint down = updown->ClientToScreen({ 8, 18 });
    Headless().MouseMove(up);
    Headless().MouseDown(up);
    Application().ProcessMessages();
    EXPECT_EQ(updown->Position(), 2);
    Application().AdvanceTime(499);
    EXPECT_EQ(updown->Position(), 2);
    Application().AdvanceTime(1);
    EXPECT_EQ(updown->Position(), 3) << "repeats after half a second";
    Application().AdvanceTime(100);
    EXPECT_EQ(updown->Position(), 4);
    Application().AdvanceTime(500);
    EXPECT_EQ(updown->Position(), 4) << "stops at Max";
    Headless().MouseUp(up);
    Application().ProcessMessages();
    EXPECT_EQ(clicks, (std::vector<TUDBtnType> { btNext, btNext, btNext }));
    EXPECT_EQ(edit->Text(), "4");
    updown->SetWrap(true);
    Headless().MouseDown(up);
    Headless().MouseUp(up);
    Application().ProcessMessages();
    EXPECT_EQ(updown->Position(), 1) << "wraps to Min";
    Application().AdvanceTime(1000);
    Headless().MouseDown(down);
    Headless().MouseUp(down);
    Application().ProcessMessages();
    EXPECT_EQ(updown->Position(), 4);
    EXPECT_EQ(clicks.back(), btPrev);
}

TEST_F(FormTest, UpDownsReadTheTypedNumberAndStepWithTheEditsArrowKeys)
{
    auto [edit, updown] = Associated(Form());
    int changing = 0;
    bool allow = true;
    updown->SetOnChanging([&](TObject*, bool& allowChange) {
        ++changing;
        allowChange = allow;
    });
    edit->SetFocus();
    Type("41");
    EXPECT_EQ(edit->Text(), "41");
    Press(VK_UP);
    EXPECT_EQ(updown->Position(), 42) << "the typed number is where the step starts";
    EXPECT_EQ(edit->Text(), "42");
    allow = false;
    Press(VK_DOWN);
    EXPECT_EQ(updown->Position(), 42) << "OnChanging can refuse";
    EXPECT_EQ(changing, 2);
    allow = true;
    edit->SetText("junk");
    Press(VK_DOWN);
    EXPECT_EQ(updown->Position(), 41) << "text that is not a number is ignored";
    updown->SetArrowKeys(false);
    Press(VK_DOWN);
    EXPECT_EQ(updown->Position(), 41);
    // Freeing the edit leaves the up-down without an associate.
    delete edit;
    EXPECT_EQ(updown->Associate(), nullptr);
    updown->SetPosition(7);
}

TEST_F(FormTest, AnUpDownAndItsEditRoundTripThroughFormFiles)
{
    auto [edit, updown] = Associated(Form());
    edit->SetName("txtColors");
    updown->SetName("UpDown2");
    updown->SetMin(1);
    updown->SetMax(4);
    updown->SetPosition(4);
    const std::string text = WriteComponentText(Form());
    EXPECT_NE(text.find("Associate = txtColors"), std::string::npos);
    TForm again(nullptr);
    ReadComponentText(text, again);
    auto* readEdit = dynamic_cast<TEdit*>(again.FindComponent("txtColors"));
    auto* readUpDown = dynamic_cast<TUpDown*>(again.FindComponent("UpDown2"));
    ASSERT_TRUE(readEdit && readUpDown);
    EXPECT_EQ(readEdit->Width(), 64) << "read, the controls keep their places";
    EXPECT_EQ(readUpDown->Left(), 74);
    EXPECT_EQ(readEdit->Text(), "4");
    EXPECT_EQ(WriteComponentText(again), text);
}
