#include "design/ColorBtnEdit.h"

#include "framework/host/Buttons.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/StdCtrls.h"
#include "DialogTests.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace plx;
using test::Answer;
using test::ClickOn;
using test::Find;
using test::Headless;

namespace {

constexpr const char* kCaption = "Colour Button Editor";

// A colour button on a form of its own, with a font of its own.
struct EditedButton {
    EditedButton()
    {
        form.SetBounds(0, 0, 200, 100);
        button = new TColor95Button(&form);
        button->SetParent(&form);
        button->SetColor(0x336699);
        button->SetCaption("&Start");
        button->SetStyle(bsWin31);
        button->Font().SetName("Arial");
        button->Font().SetSize(9);
    }
    TForm form { nullptr };
    TColor95Button* button { nullptr };
};

// Changes the preview's colour, caption, style and font inside the dialog.
void ChangeEverything(TCustomForm& form)
{
    Answer("Color", [](TCustomForm& dialog) {
        Find<TEdit>(dialog, "RedEdit").SetText("1");
        Find<TEdit>(dialog, "GreenEdit").SetText("2");
        Find<TEdit>(dialog, "BlueEdit").SetText("3");
        ClickOn(Find<TButton>(dialog, "OK"));
    });
    ClickOn(Find<TSpeedButton>(form, "btnColor"));
    auto& caption = Find<TEdit>(form, "txtCaption");
    caption.SetFocus();
    caption.SelectAll();
    test::Type("Stop");
    ClickOn(*Find<TRadioGroup>(form, "rgStyles").Buttons(2));
    Answer("Font", [](TCustomForm& dialog) {
        Find<TEdit>(dialog, "FontSize").SetText("20");
        ClickOn(Find<TButton>(dialog, "OK"));
    });
    ClickOn(Find<TButton>(form, "Button3"));
    auto& preview = Find<TColor95Button>(form, "ColorButton");
    EXPECT_EQ(preview.Color(), RGB(1, 2, 3));
    EXPECT_EQ(preview.Caption(), "Stop") << "the caption follows the typing";
    EXPECT_EQ(preview.Style(), bsGlass) << "the third item";
    EXPECT_EQ(preview.Font().Size(), 20);
}

TEST(ColorBtnEdit, TheFormHasItsComponentsInOrder)
{
    TForm1 form(nullptr);
    EXPECT_EQ(form.Caption(), kCaption);
    const char* names[] = { "ColorButton", "btnColor", "txtCaption", "Button1", "Button2", "rgStyles", "Button3", "ColorDlg",
        "FontDlg" };
    ASSERT_GE(form.ComponentCount(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(form.Components(i)->Name(), names[i]);
    EXPECT_NE(dynamic_cast<TColor95Button*>(form.Components(0)), nullptr);
    EXPECT_NE(dynamic_cast<TSpeedButton*>(form.Components(1)), nullptr);
    EXPECT_NE(dynamic_cast<TFontDialog*>(form.Components(8)), nullptr);
    auto& ok = Find<TButton>(form, "Button1");
    EXPECT_EQ(ok.Caption(), "OK");
    EXPECT_EQ(ok.ModalResult(), mrOk);
    EXPECT_TRUE(ok.Default());
    EXPECT_EQ(Find<TButton>(form, "Button2").Caption(), "Cancel");
    EXPECT_TRUE(Find<TButton>(form, "Button2").Cancel());
    EXPECT_EQ(Find<TRadioGroup>(form, "rgStyles").Items().CommaText(), "\"Windows 3.1\",New,Glass,Tab");
    // FormCreate: the sixteen custom colours and a button-face preview.
    const TStrings& custom = Find<TColorDialog>(form, "ColorDlg").CustomColors();
    ASSERT_EQ(custom.Count(), 16);
    EXPECT_EQ(custom.Strings(0), "ColorA=5CC646");
    EXPECT_EQ(custom.Strings(7), "ColorH=2F6BDD");
    EXPECT_EQ(custom.Strings(15), "ColorP=D3E547");
    EXPECT_EQ(form.ColorButton().Color(), clBtnFace);
    form.DoCreate(); // as Application().CreateForm does once more
    EXPECT_EQ(custom.Count(), 16);
}

TEST(ColorBtnEdit, ConfirmingCopiesColourCaptionAndStyleButNotTheFont)
{
    EditedButton edited;
    Answer(kCaption, [](TCustomForm& form) {
        auto& preview = Find<TColor95Button>(form, "ColorButton");
        EXPECT_EQ(preview.Color(), 0x336699);
        EXPECT_EQ(preview.Caption(), "&Start");
        EXPECT_EQ(preview.Style(), bsWin31);
        EXPECT_EQ(Find<TEdit>(form, "txtCaption").Text(), "&Start");
        EXPECT_EQ(Find<TRadioGroup>(form, "rgStyles").ItemIndex(), 0) << "the group shows the style";
        Answer("Color", [](TCustomForm& dialog) {
            EXPECT_EQ(Find<TEdit>(dialog, "BlueEdit").Text(), "51") << "preset to the preview's colour";
            ClickOn(Find<TButton>(dialog, "Cancel"));
        });
        ClickOn(Find<TSpeedButton>(form, "btnColor"));
        EXPECT_EQ(preview.Color(), 0x336699) << "a cancelled colour changes nothing";
        ChangeEverything(form);
        ClickOn(Find<TButton>(form, "Button1"));
    });
    EXPECT_TRUE(EditColorButton(*edited.button));
    EXPECT_EQ(edited.button->Color(), RGB(1, 2, 3));
    EXPECT_EQ(edited.button->Caption(), "Stop");
    EXPECT_EQ(edited.button->Style(), bsGlass);
    EXPECT_EQ(edited.button->Font().Size(), 9) << "the font is not copied back";
    EXPECT_EQ(edited.button->Font().Name(), "Arial");
}

TEST(ColorBtnEdit, CancellingLeavesTheButtonUntouched)
{
    EditedButton edited;
    Answer(kCaption, [](TCustomForm& form) {
        ChangeEverything(form);
        ClickOn(Find<TButton>(form, "Button2"));
    });
    EXPECT_FALSE(EditColorButton(*edited.button));
    EXPECT_EQ(edited.button->Color(), 0x336699);
    EXPECT_EQ(edited.button->Caption(), "&Start");
    EXPECT_EQ(edited.button->Style(), bsWin31);
    Answer(kCaption, [](TCustomForm& form) {
        ChangeEverything(form);
        Headless().KeyDown(VK_ESCAPE);
    });
    EXPECT_FALSE(EditColorButton(*edited.button));
    EXPECT_EQ(edited.button->Caption(), "&Start");
}

TEST(ColorBtnEdit, AStyleTheGroupDoesNotListIsKeptAndAnIndexOutsideIsIgnored)
{
    EditedButton edited;
    edited.button->SetStyle(bsMicroposeGame);
    Answer(kCaption, [](TCustomForm& form) {
        auto& editor = dynamic_cast<TForm1&>(form);
        auto& styles = Find<TRadioGroup>(form, "rgStyles");
        EXPECT_EQ(styles.ItemIndex(), -1);
        EXPECT_EQ(editor.ColorButton().Style(), bsMicroposeGame);
        styles.Items().Add("Extra");
        styles.SetItemIndex(4);
        editor.rgStylesClick(&styles);
        EXPECT_EQ(editor.ColorButton().Style(), bsMicroposeGame);
        styles.SetItemIndex(-1);
        editor.rgStylesClick(&styles);
        EXPECT_EQ(editor.ColorButton().Style(), bsMicroposeGame);
        ClickOn(Find<TButton>(form, "Button1"));
    });
    EXPECT_TRUE(EditColorButton(*edited.button));
    EXPECT_EQ(edited.button->Style(), bsMicroposeGame);
}

TEST(ColorBtnEdit, AButtonFreedWhileTheDialogIsOpenIsNotTouched)
{
    auto edited = std::make_unique<EditedButton>();
    TColor95Button* button = edited->button;
    Answer(kCaption, [&](TCustomForm& form) {
        edited.reset();
        ClickOn(Find<TButton>(form, "Button1"));
    });
    EXPECT_FALSE(EditColorButton(*button));
}

} // namespace
