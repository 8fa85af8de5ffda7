// The radio group.
#include "FrameworkFixture.h"

#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"

#include <gtest/gtest.h>

using namespace plx;
using plx::test::FormTest;
using plx::test::Press;

namespace {

TRadioGroup* Styles(TForm& form)
{
    auto* group = new TRadioGroup(&form);
    group->SetName("rgStyles");
    group->SetParent(&form);
    group->SetBounds(10, 10, 120, 100);
    group->SetCaption("Style");
    group->Items().SetCommaText("Win31,New,Glass,Tab");
    return group;
}

} // namespace

TEST_F(FormTest, RadioGroupsClickOnlyWhenTheUserChecksAnItem)
{
    auto* group = Styles(Form());
    int clicks = 0;
    group->SetOnClick([&](TObject*) { ++clicks; });
    group->SetItemIndex(1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_EQ(clicks, 0) << "not when set by code";
    // Four buttons, one column, one under the other below the caption.
    const TRadioButton* third = group->Buttons(2);
    EXPECT_EQ(third->Left(), 8);
    EXPECT_EQ(third->Width(), 110);
    Click({ 10 + third->Left() + 5, 10 + third->Top() + third->Height() / 2 });
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_FALSE(group->Buttons(1)->Checked());
    EXPECT_EQ(clicks, 1);
    Click({ 10 + third->Left() + 5, 10 + third->Top() + third->Height() / 2 });
    EXPECT_EQ(clicks, 1) << "checking the checked item again changes nothing";
    Press(VK_DOWN);
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_EQ(clicks, 2);
    Press(VK_TAB);
    Press(VK_TAB, true);
    EXPECT_TRUE(group->Buttons(3)->Focused()) << "Tab comes back to the checked item";
    group->SetColumns(2);
    EXPECT_EQ(group->Buttons(2)->Left(), 8 + 55);
    group->Items().Delete(3);
    EXPECT_EQ(group->ItemIndex(), -1);
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(FormTest, RadioGroupsRoundTripWithTheirIndexBeforeTheirItems)
{
    auto* group = Styles(Form());
    group->SetItemIndex(2);
    const std::string text = WriteComponentText(Form());
    EXPECT_LT(text.find("ItemIndex = 2"), text.find("Items.Strings"));
    TForm again(nullptr);
    ReadComponentText(text, again);
    auto* read = dynamic_cast<TRadioGroup*>(again.FindComponent("rgStyles"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ItemIndex(), 2);
    EXPECT_TRUE(read->Buttons(2)->Checked());
    EXPECT_EQ(WriteComponentText(again), text);
}
