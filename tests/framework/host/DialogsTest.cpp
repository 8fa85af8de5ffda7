// The common dialogs, answered through show hooks as a user would.
#include "FrameworkFixture.h"

#include "framework/host/ComCtrls.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;
using plx::test::Type;

namespace {

// Answers the next form shown whose caption is caption.
void Answer(const std::string& caption, std::function<void(TCustomForm&)> act)
{
    Application().AddShowHook([caption, act](TCustomForm& shown) {
        if (shown.Caption() != caption)
            return false;
        act(shown);
        return true;
    });
}

template <class T>
T& Find(TCustomForm& form, const std::string& name)
{
    auto* c = dynamic_cast<T*>(form.FindComponent(name));
    if (!c)
        throw std::logic_error("no " + name + " on " + form.Caption());
    return *c;
}

void ClickOn(TControl& control)
{
    const TPoint p = control.ClientToScreen({ control.Width() / 2, control.Height() / 2 });
    Headless().MouseMove(p);
    Headless().MouseDown(p);
    Headless().MouseUp(p);
    Application().ProcessMessages();
}

// Answers the next warning box with Enter and keeps its text.
void AcknowledgeWarning(std::vector<std::string>& messages)
{
    Answer("Warning", [&messages](TCustomForm& box) {
        messages.push_back(Find<TLabel>(box, "Message").Caption());
        Headless().KeyDown(VK_RETURN);
    });
}

} // namespace

TEST_F(FormTest, MessageDlgAnswersYesOrNo)
{
    Answer("Confirm", [](TCustomForm& box) {
        EXPECT_EQ(Find<TLabel>(box, "Message").Caption(), "Do you really want to delete this object?");
        EXPECT_EQ(Find<TButton>(box, "Yes").Caption(), "&Yes");
        EXPECT_TRUE(Find<TButton>(box, "Yes").Default());
        EXPECT_TRUE(Find<TButton>(box, "No").Cancel());
        EXPECT_EQ(box.FindComponent("OK"), nullptr);
        ClickOn(Find<TButton>(box, "Yes"));
    });
    EXPECT_EQ(MessageDlg("Do you really want to delete this object?", mtConfirmation, { mbYes, mbNo }, 0), 6);
    Answer("Confirm", [](TCustomForm&) { Headless().KeyDown(VK_ESCAPE); });
    EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, { mbYes, mbNo }, 0), mrNo);
    Answer("Confirm", [](TCustomForm&) { Headless().KeyDown(VK_RETURN); });
    EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, { mbYes, mbNo }, 0), mrYes);
    Answer("Confirm", [](TCustomForm&) { Headless().Char('n', true); });
    EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, { mbYes, mbNo }, 0), mrNo);
    EXPECT_EQ(mrNo, 7);
    // The box fits its text and centres its buttons.
    auto box = CreateMessageDialog("A somewhat longer message for the box", mtError, mbOKCancel);
    EXPECT_EQ(box->Caption(), "Error");
    auto& ok = Find<TButton>(*box, "OK");
    auto& cancel = Find<TButton>(*box, "Cancel");
    EXPECT_EQ(ok.Left() + (cancel.Left() + cancel.Width()), box->ClientWidth());
    EXPECT_GT(box->ClientWidth(), Find<TLabel>(*box, "Message").Left() + Find<TLabel>(*box, "Message").Width());
    EXPECT_EQ(box->ActiveControl(), &ok);
}

TEST_F(FormTest, InputBoxReturnsTheTypedTextOrTheDefault)
{
    Answer("New Gradient Fill", [](TCustomForm& box) {
        EXPECT_EQ(Find<TLabel>(box, "Prompt").Caption(), "Please enter a name for the current Gradient Fill object.");
        EXPECT_TRUE(Find<TEdit>(box, "Value").Focused());
        Type("Sunset");
        Headless().KeyDown(VK_RETURN);
    });
    EXPECT_EQ(InputBox("New Gradient Fill", "Please enter a name for the current Gradient Fill object.", "untitled"), "Sunset")
        << "typing replaces the selected default";
    Answer("Name", [](TCustomForm&) {
        Type("ignored");
        Headless().KeyDown(VK_ESCAPE);
    });
    EXPECT_EQ(InputBox("Name", "Name:", "kept"), "kept");
    Answer("Name", [](TCustomForm& box) { ClickOn(Find<TButton>(box, "OK")); });
    std::string value = "as it was";
    EXPECT_TRUE(InputQuery("Name", "Name:", value));
    EXPECT_EQ(value, "as it was");
}

TEST_F(FormTest, TheColorDialogPicksABasicColourOrTheTypedValues)
{
    TColorDialog dialog(nullptr);
    dialog.SetColor(clRed);
    Answer("Color", [](TCustomForm& form) {
        EXPECT_EQ(Find<TEdit>(form, "RedEdit").Text(), "255");
        EXPECT_EQ(Find<TEdit>(form, "GreenEdit").Text(), "0");
        // The second swatch of the first row is light yellow (255, 255, 128).
        auto& grid = Find<TCustomControl>(form, "BasicColors");
        const TPoint p = grid.ClientToScreen({ 26 + 13, 11 });
        Headless().MouseMove(p);
        Headless().MouseDown(p);
        Headless().MouseUp(p);
        Application().ProcessMessages();
        EXPECT_EQ(Find<TEdit>(form, "BlueEdit").Text(), "128");
        EXPECT_EQ(Find<TPanel>(form, "Preview").Color(), 0x80FFFF);
        Headless().KeyDown(VK_RETURN);
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), 0x80FFFF);

    Answer("Color", [](TCustomForm& form) {
        Find<TEdit>(form, "GreenEdit").SetFocus();
        Type("200");
        ClickOn(Find<TButton>(form, "OK"));
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), RGB(255, 200, 128));

    Answer("Color", [](TCustomForm& form) {
        ClickOn(Find<TButton>(form, "Cancel"));
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), RGB(255, 200, 128));
}

TEST_F(FormTest, TheColorDialogRefusesAValueThatIsNotANumber)
{
    TColorDialog dialog(nullptr);
    dialog.SetColor(clLime);
    std::vector<std::string> warnings;
    Answer("Color", [&](TCustomForm& form) {
        Find<TEdit>(form, "RedEdit").SetFocus();
        Type("abc");
        AcknowledgeWarning(warnings);
        Headless().KeyDown(VK_RETURN);
    });
    EXPECT_FALSE(dialog.Execute()) << "the dialog stays open; nothing else happens, so it is cancelled";
    EXPECT_EQ(warnings, (std::vector<std::string> { "'abc' is not a valid color value. Enter a number from 0 to 255." }));
    EXPECT_EQ(dialog.Color(), clLime);
    Answer("Color", [&](TCustomForm& form) {
        Find<TEdit>(form, "BlueEdit").SetFocus();
        Type("300");
        AcknowledgeWarning(warnings);
        Headless().KeyDown(VK_RETURN);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(warnings.size(), 2u);
}

TEST_F(FormTest, TheColorDialogKeepsSixteenCustomColours)
{
    TColorDialog dialog(nullptr);
    dialog.CustomColors().Add("ColorA=5CC646");
    dialog.CustomColors().Add("ColorB=not hex");
    dialog.SetColor(0x123456);
    Answer("Color", [](TCustomForm& form) {
        auto& grid = Find<TCustomControl>(form, "CustomColors");
        TBitmap picture;
        form.RenderTo(picture);
        const TPoint a = form.ScreenToClient(grid.ClientToScreen({ 13, 11 }));
        EXPECT_EQ(picture.Canvas().Pixels(a.X, a.Y), 0x5CC646);
        const TPoint b = form.ScreenToClient(grid.ClientToScreen({ 26 + 13, 11 }));
        EXPECT_EQ(picture.Canvas().Pixels(b.X, b.Y), 0xFFFFFF) << "an unreadable entry is white";
        // Add the current colour into the selected second slot.
        const TPoint p = grid.ClientToScreen({ 26 + 13, 11 });
        Headless().MouseMove(p);
        Headless().MouseDown(p);
        Headless().MouseUp(p);
        Application().ProcessMessages();
        Find<TEdit>(form, "RedEdit").SetText("1");
        Find<TEdit>(form, "GreenEdit").SetText("2");
        Find<TEdit>(form, "BlueEdit").SetText("3");
        ClickOn(Find<TButton>(form, "AddCustom"));
        ClickOn(Find<TButton>(form, "OK"));
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), RGB(1, 2, 3));
    ASSERT_EQ(dialog.CustomColors().Count(), 16);
    EXPECT_EQ(dialog.CustomColors().Strings(0), "ColorA=5CC646");
    EXPECT_EQ(dialog.CustomColors().Strings(1), "ColorB=030201");
    EXPECT_EQ(dialog.CustomColors().Strings(15), "ColorP=FFFFFF");
}

TEST_F(FormTest, TheFontDialogSetsNameSizeStyleAndEffects)
{
    TFontDialog dialog(nullptr);
    dialog.Font().SetName("Arial");
    dialog.Font().SetSize(10);
    Answer("Font", [](TCustomForm& form) {
        EXPECT_TRUE(Find<TEdit>(form, "FontName").Focused());
        EXPECT_EQ(Find<TEdit>(form, "FontName").SelText(), "Arial");
        Type("Courier New");
        Find<TEdit>(form, "FontSize").SetFocus();
        Type("14");
        Find<TListBox>(form, "FontStyles").SetFocus();
        plx::test::Press(VK_END); // Bold Italic
        ClickOn(Find<TCheckBox>(form, "Underline"));
        Find<TComboBox>(form, "FontColor").SetFocus();
        Type("r"); // Red
        Application().ProcessMessages();
        EXPECT_EQ(Find<TLabel>(form, "Sample").Font().Name(), "Courier New");
        EXPECT_EQ(Find<TLabel>(form, "Sample").Font().Size(), 14);
        ClickOn(Find<TButton>(form, "OK"));
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font().Name(), "Courier New");
    EXPECT_EQ(dialog.Font().Size(), 14);
    EXPECT_EQ(dialog.Font().Style(), (TFontStyles { fsBold, fsItalic, fsUnderline }));
    EXPECT_EQ(dialog.Font().Color(), clRed);
    Answer("Font", [](TCustomForm&) { Headless().KeyDown(VK_ESCAPE); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Font().Name(), "Courier New");
}

TEST_F(FormTest, TheFontDialogRefusesAnEmptyNameOrASizeThatIsNotANumber)
{
    TFontDialog dialog(nullptr);
    dialog.Font().SetName("Arial");
    std::vector<std::string> warnings;
    Answer("Font", [&](TCustomForm& form) {
        Find<TEdit>(form, "FontName").SetText("");
        AcknowledgeWarning(warnings);
        ClickOn(Find<TButton>(form, "OK"));
    });
    EXPECT_FALSE(dialog.Execute());
    Answer("Font", [&](TCustomForm& form) {
        Find<TEdit>(form, "FontSize").SetText("big");
        AcknowledgeWarning(warnings);
        ClickOn(Find<TButton>(form, "OK"));
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(warnings, (std::vector<std::string> { "There is no font with that name. Choose a font from the list of fonts.",
                            "Size must be a number." }));
    EXPECT_EQ(dialog.Font().Name(), "Arial");
}

TEST_F(FormTest, DialogComponentsRoundTripThroughFormFiles)
{
    TForm form(nullptr);
    auto* colors = new TColorDialog(&form);
    colors->SetName("ColorDlg");
    colors->CustomColors().Add("ColorA=5CC646");
    colors->SetColor(clNavy);
    auto* fonts = new TFontDialog(&form);
    fonts->SetName("FontDlg");
    fonts->SetOptions({ fdEffects, fdForceFontExist });
    const std::string text = WriteComponentText(form);
    EXPECT_NE(text.find("  object ColorDlg: TColorDialog\n    Color = clNavy\n    CustomColors.Strings = (\n      'ColorA=5CC646')\n  end"),
        std::string::npos);
    EXPECT_NE(text.find("Options = [fdEffects, fdForceFontExist]"), std::string::npos);
    TForm again(nullptr);
    ReadComponentText(text, again);
    EXPECT_EQ(WriteComponentText(again), text);
}
