#include "FrameworkFixture.h"

#include "color/host/Bitmap.h"
#include "framework/host/Buttons.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;

TEST_F(FormTest, LabelSizesItselfToItsText)
{
    auto* label = new TLabel(&Form());
    label->SetParent(&Form());
    label->SetCaption("Hello");
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(&label->Font());
    EXPECT_EQ(label->Width(), probe.Canvas().TextWidth("Hello"));
    EXPECT_EQ(label->Height(), probe.Canvas().TextHeight("Hello"));
    label->SetCaption("");
    EXPECT_EQ(label->Height(), probe.Canvas().TextHeight("W")) << "an empty caption keeps one line";
    label->SetAlignment(taRightJustify);
    std::int32_t right = label->Left() + label->Width();
    label->SetCaption("A longer caption");
    EXPECT_EQ(label->Left() + label->Width(), right) << "right-justified labels keep their right edge";
}

TEST_F(FormTest, TransparentLabelLeavesTheBackground)
{
    Form().SetColor(clYellow);
    auto* label = new TLabel(&Form());
    label->SetParent(&Form());
    label->SetCaption("   ");
    label->SetColor(clRed);
    TBitmap picture;
    Form().RenderTo(picture);
    EXPECT_EQ(picture.Canvas().Pixels(1, 1), clRed);
    label->SetTransparent(true);
    Form().RenderTo(picture);
    EXPECT_EQ(picture.Canvas().Pixels(1, 1), clYellow);
}

TEST_F(FormTest, PanelCaptionIsCentredInsideItsFrames)
{
    auto* panel = new TPanel(&Form());
    panel->SetParent(&Form());
    panel->SetBounds(0, 0, 120, 40);
    panel->SetCaption("X");
    panel->Font().SetColor(clRed);
    TBitmap picture;
    Form().RenderTo(picture);
    // The raised frame: highlight on the top-left, shadow on the bottom-right.
    EXPECT_EQ(picture.Canvas().Pixels(0, 0), 0xFFFFFF);
    EXPECT_EQ(picture.Canvas().Pixels(119, 39), 0x808080);
    int left = 120, right = -1, top = 40, bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (picture.Canvas().Pixels(x, y) == clRed) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left) << "the caption was drawn";
    EXPECT_LE(std::abs((left + right) - 119), 3) << "centred horizontally";
    EXPECT_LE(std::abs((top + bottom) - 39), 6) << "centred vertically";
}

// ---- Edits -------------------------------------------------------------------

namespace {

using plx::test::Headless;
using plx::test::Press;
using plx::test::Type;

template <class T>
T* Place(TForm& form, TRect bounds)
{
    auto* c = new T(&form);
    c->SetParent(&form);
    c->SetBoundsRect(bounds);
    return c;
}

} // namespace

TEST_F(FormTest, TypingEditsTheTextAtTheCaretInCharactersNotBytes)
{
    auto* edit = Place<TEdit>(Form(), Bounds(10, 10, 150, 21));
    int changes = 0;
    edit->SetOnChange([&](TObject*) { ++changes; });
    edit->SetFocus();
    Type("h\xC3\xA9llo"); // "héllo"
    EXPECT_EQ(edit->Text(), "h\xC3\xA9llo");
    EXPECT_EQ(edit->TextLength(), 5);
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_EQ(changes, 5) << "one change per typed character";
    Press(VK_HOME);
    Press(VK_RIGHT);
    Press(VK_RIGHT, true);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 1);
    EXPECT_EQ(edit->SelText(), "\xC3\xA9");
    Type("\xE2\x82\xAC"); // the selection is replaced by a euro sign
    EXPECT_EQ(edit->Text(), "h\xE2\x82\xACllo");
    Press(VK_BACK);
    EXPECT_EQ(edit->Text(), "hllo");
    Press(VK_DELETE);
    EXPECT_EQ(edit->Text(), "hlo");
    Press(VK_END);
    Press(VK_LEFT, true, true);
    EXPECT_EQ(edit->SelText(), "hlo") << "Ctrl+Shift+Left selects back to the word's start";
    Press(VK_DELETE);
    EXPECT_EQ(edit->Text(), "");
    Press(VK_BACK); // nothing left to delete: no change
    EXPECT_EQ(changes, 9);
    // A caret asked past the end stays at the end.
    edit->SetText("abc");
    EXPECT_EQ(changes, 10) << "text set by code changes too";
    EXPECT_EQ(edit->SelStart(), 0);
    edit->SetSelStart(99);
    EXPECT_EQ(edit->SelStart(), 3);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelLength(), 0);
    edit->SetSelStart(1);
    edit->SetSelLength(99);
    EXPECT_EQ(edit->SelText(), "bc");
    edit->SetSelText("X");
    EXPECT_EQ(edit->Text(), "aX");
}

TEST_F(FormTest, ReadOnlyEditsMoveTheCaretButKeepTheirTextAndMaxLengthLimitsTyping)
{
    auto* edit = Place<TEdit>(Form(), Bounds(10, 10, 150, 21));
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    int changes = 0;
    edit->SetOnChange([&](TObject*) { ++changes; });
    edit->SetFocus();
    EXPECT_EQ(edit->SelLength(), 5) << "focus by the keyboard selects all";
    Type("x");
    Press(VK_BACK);
    Press(VK_DELETE);
    EXPECT_EQ(edit->Text(), "fixed");
    EXPECT_EQ(changes, 0);
    Press(VK_END);
    Press(VK_LEFT, true);
    EXPECT_EQ(edit->SelText(), "d");
    edit->SetReadOnly(false);
    edit->SetMaxLength(6);
    Press(VK_END);
    Type("ABC");
    EXPECT_EQ(edit->Text(), "fixedA");
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(edit->Text(), "FIXEDA");
    EXPECT_EQ(edit->SelStart(), 0) << "text set by code puts the caret at the start";
    Press(VK_END);
    Press(VK_BACK);
    Type("b");
    EXPECT_EQ(edit->Text(), "FIXEDB");
}

TEST_F(FormTest, TheMouseSelectsInAnEdit)
{
    auto* edit = Place<TEdit>(Form(), Bounds(10, 10, 200, 21));
    edit->SetText("one two three");
    TCanvas measure;
    measure.Font().Assign(&edit->Font());
    const std::int32_t textLeft = 10 + 3;
    auto xAfter = [&](const char* prefix) { return textLeft + measure.TextWidth(prefix); };
    // A click focuses the edit and places the caret (no select-all).
    Click({ xAfter("one"), 15 });
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 0);
    // A drag selects.
    Headless().MouseDown(FormTest::Screen({ xAfter("one "), 15 }));
    Headless().MouseMove(FormTest::Screen({ xAfter("one two") + 1, 15 }));
    Headless().MouseUp(FormTest::Screen({ xAfter("one two") + 1, 15 }));
    Application().ProcessMessages();
    EXPECT_EQ(edit->SelText(), "two");
    Application().AdvanceTime(1000);
    // A double click selects the word and the blank after it.
    const TPoint word = FormTest::Screen({ xAfter("one t"), 15 });
    Headless().MouseDown(word);
    Headless().MouseUp(word);
    Headless().MouseDown(word);
    Headless().MouseUp(word);
    Application().ProcessMessages();
    EXPECT_EQ(edit->SelText(), "two ");
}

TEST_F(FormTest, AnEditDrawsItsSelectionInTheHighlightColoursAndABlinkingCaret)
{
    auto* edit = Place<TEdit>(Form(), Bounds(10, 10, 100, 21));
    edit->SetText("WWW");
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    // The sunken field: shadow, dark shadow, then the window colour.
    EXPECT_EQ(s->GetColor(10, 10), 0x808080);
    EXPECT_EQ(s->GetColor(11, 11), 0x000000);
    EXPECT_EQ(s->GetColor(109, 30), 0xFFFFFF);
    EXPECT_EQ(s->GetColor(108, 29), 0xC0C0C0);
    EXPECT_EQ(s->GetColor(12, 12), 0xFFFFFF);
    edit->SetFocus(); // selects all
    Application().ProcessMessages();
    TCanvas measure;
    measure.Font().Assign(&edit->Font());
    const std::int32_t textRight = 13 + measure.TextWidth("WWW");
    EXPECT_EQ(s->GetColor(13, 13), 0x800000) << "the selection in the highlight colour";
    EXPECT_EQ(s->GetColor(textRight - 1, 13), 0x800000);
    EXPECT_EQ(s->GetColor(textRight + 1, 13), 0xFFFFFF);
    bool highlightText = false;
    for (int x = 13; x < textRight; ++x)
        for (int y = 13; y < 26; ++y)
            highlightText |= s->GetColor(x, y) == 0xFFFFFF;
    EXPECT_TRUE(highlightText) << "and the text in the highlight text colour";
    // Without the focus the selection hides (HideSelection).
    Form().SetActiveControl(nullptr);
    Application().ProcessMessages();
    EXPECT_EQ(s->GetColor(13, 13), 0xFFFFFF);
    // The caret: one inverted column, on and off every half second.
    edit->SetFocus();
    edit->SetSelStart(0);
    Application().ProcessMessages();
    EXPECT_TRUE(edit->CaretVisible());
    EXPECT_EQ(s->GetColor(13, 14), 0x000000);
    Application().AdvanceTime(500);
    EXPECT_FALSE(edit->CaretVisible());
    EXPECT_EQ(s->GetColor(13, 14), 0xFFFFFF);
    Application().AdvanceTime(500);
    EXPECT_EQ(s->GetColor(13, 14), 0x000000);
}

TEST_F(FormTest, ALongTextScrollsToKeepTheCaretInView)
{
    auto* edit = Place<TEdit>(Form(), Bounds(10, 10, 60, 21));
    edit->SetFocus();
    Type("a fairly long line that cannot fit");
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    // The caret stays inside the field, at its right end.
    bool caretSeen = false;
    for (int x = 60; x < 67; ++x)
        caretSeen |= s->GetColor(x, 15) == 0x000000 && s->GetColor(x, 16) == 0x000000 && s->GetColor(x, 20) == 0x000000;
    EXPECT_TRUE(caretSeen);
    Press(VK_HOME);
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(s->GetColor(13, 15), 0x000000) << "back at the start the caret shows there";
}

// ---- Buttons, check boxes, radio buttons -----------------------------------------

TEST_F(FormTest, ButtonsClickOnReleaseInsideAndOnSpace)
{
    auto* button = Place<TButton>(Form(), Bounds(10, 10, 75, 25));
    int clicks = 0;
    button->SetOnClick([&](TObject*) { ++clicks; });
    Click({ 20, 20 });
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->Focused());
    // Pressed, dragged out and released outside: no click.
    Headless().MouseDown(FormTest::Screen({ 20, 20 }));
    Headless().MouseMove(FormTest::Screen({ 200, 20 }));
    Headless().MouseUp(FormTest::Screen({ 200, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    Application().AdvanceTime(1000);
    // Two quick presses are two clicks.
    Click({ 20, 20 });
    Headless().MouseDown(FormTest::Screen({ 20, 20 }));
    Headless().MouseUp(FormTest::Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 3);
    Headless().KeyDown(VK_SPACE);
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 3) << "Space clicks when it comes up";
    Headless().KeyUp(VK_SPACE);
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 4);
    button->SetEnabled(false);
    Click({ 20, 20 });
    EXPECT_EQ(clicks, 4);
}

TEST_F(FormTest, CheckBoxesToggleThroughGrayedAndRadioButtonsExcludeTheirSiblings)
{
    auto* check = Place<TCheckBox>(Form(), Bounds(10, 10, 100, 17));
    check->SetCaption("Bold");
    std::vector<TCheckBoxState> seen;
    check->SetOnClick([&](TObject*) { seen.push_back(check->State()); });
    Click({ 15, 15 });
    EXPECT_TRUE(check->Checked());
    check->SetAllowGrayed(true);
    Click({ 15, 15 });
    Click({ 15, 15 });
    EXPECT_EQ(seen, (std::vector<TCheckBoxState> { cbChecked, cbUnchecked, cbGrayed }));
    check->SetChecked(true);
    EXPECT_EQ(seen.size(), 4u) << "a change by code fires OnClick too";
    // The box: the tick in the window text colour on white.
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    const int boxTop = 10 + (17 - 13) / 2;
    EXPECT_EQ(s->GetColor(10, boxTop), 0x808080);
    EXPECT_EQ(s->GetColor(10 + 3 + 6, boxTop + 3), 0x000000);
    EXPECT_EQ(s->GetColor(10 + 3, boxTop + 3), 0xFFFFFF);

    auto* a = Place<TRadioButton>(Form(), Bounds(10, 40, 100, 17));
    auto* b = Place<TRadioButton>(Form(), Bounds(10, 60, 100, 17));
    a->SetChecked(true);
    Click({ 15, 65 });
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(check->Checked()) << "check boxes are not part of the radio group";
}

// ---- List boxes ----------------------------------------------------------------

namespace {

TListBox* FilledList(TForm& form, int count)
{
    auto* list = Place<TListBox>(form, Bounds(10, 10, 120, 4 + 5 * 13));
    for (int i = 0; i < count; ++i)
        list->Items().Add("Item " + std::to_string(i));
    return list;
}

} // namespace

TEST_F(FormTest, ListBoxesSelectWithTheKeyboardAndScrollTheSelectionIntoView)
{
    auto* list = FilledList(Form(), 20);
    ASSERT_EQ(list->ItemHeight(), 13);
    EXPECT_EQ(list->VisibleRows(), 5);
    EXPECT_TRUE(list->ScrollBarVisible());
    int clicks = 0;
    list->SetOnClick([&](TObject*) { ++clicks; });
    list->SetItemIndex(3);
    EXPECT_EQ(clicks, 0) << "code selects silently";
    list->SetFocus();
    Press(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(clicks, 1);
    Press(VK_DOWN);
    EXPECT_EQ(list->TopIndex(), 1);
    Press(VK_NEXT);
    EXPECT_EQ(list->ItemIndex(), 9);
    EXPECT_EQ(list->TopIndex(), 5);
    Press(VK_END);
    EXPECT_EQ(list->ItemIndex(), 19);
    EXPECT_EQ(list->TopIndex(), 15);
    Press(VK_END);
    EXPECT_EQ(clicks, 4) << "no click without a change";
    Press(VK_HOME);
    EXPECT_EQ(list->TopIndex(), 0);
    Type("i");
    EXPECT_EQ(list->ItemIndex(), 1) << "a letter finds the next item starting with it";
    list->SetItemIndex(50);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetTopIndex(100);
    EXPECT_EQ(list->TopIndex(), 15);
}

TEST_F(FormTest, ListBoxesSelectWithTheMouseAndDoubleClick)
{
    auto* list = FilledList(Form(), 20);
    int clicks = 0, doubles = 0;
    list->SetOnClick([&](TObject*) { ++clicks; });
    list->SetOnDblClick([&](TObject*) { ++doubles; });
    // Row 2 of the visible rows: y from 10 + 2 + 26.
    Click({ 30, 12 + 26 + 3 });
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list->Focused());
    const TPoint row4 = FormTest::Screen({ 30, 12 + 52 + 3 });
    Headless().MouseDown(row4);
    Headless().MouseUp(row4);
    Headless().MouseDown(row4);
    Headless().MouseUp(row4);
    Application().ProcessMessages();
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(doubles, 1);
    Application().AdvanceTime(1000);
    // The scroll bar's down arrow (at the bottom right) scrolls one row, and
    // repeats while held.
    const TPoint down = FormTest::Screen({ 10 + 120 - 2 - 8, 10 + 4 + 65 - 2 - 8 });
    Headless().MouseDown(down);
    Application().ProcessMessages();
    EXPECT_EQ(list->TopIndex(), 1);
    Application().AdvanceTime(500);
    EXPECT_EQ(list->TopIndex(), 2);
    Application().AdvanceTime(300);
    EXPECT_EQ(list->TopIndex(), 5);
    Headless().MouseUp(down);
    Application().ProcessMessages();
    Application().AdvanceTime(1000);
    EXPECT_EQ(list->TopIndex(), 5);
    EXPECT_EQ(list->ItemIndex(), 4) << "scrolling does not select";
    EXPECT_EQ(clicks, 2);
}

TEST_F(FormTest, OwnerDrawnListBoxesGetTheBrushSetForTheSelection)
{
    auto* list = FilledList(Form(), 3);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    EXPECT_EQ(list->ItemHeight(), 20);
    list->SetItemIndex(1);
    struct Call {
        std::int32_t index;
        TRect rect;
        TColor brush;
        bool selected;
    };
    std::vector<Call> calls;
    list->SetOnDrawItem([&](TWinControl* control, std::int32_t index, TRect rect, TOwnerDrawState state) {
        auto& canvas = static_cast<TListBox*>(control)->Canvas();
        calls.push_back({ index, rect, canvas.Brush().Color(), state.Contains(odSelected) });
        canvas.FillRect(rect);
        canvas.Brush().SetColor(clRed);
        canvas.FillRect(Rect(rect.Left, rect.Top, rect.Left + 3, rect.Top + 3));
    });
    Form().Repaint();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].brush, clWindow);
    EXPECT_EQ(calls[1].brush, clHighlight);
    EXPECT_TRUE(calls[1].selected);
    EXPECT_EQ(calls[1].rect, Rect(2, 22, 118, 42));
    Raster* s = Form().Surface();
    EXPECT_EQ(s->GetColor(12, 12 + 20), clRed);
    EXPECT_EQ(s->GetColor(20, 12 + 30), 0x800000);
    EXPECT_EQ(s->GetColor(20, 12 + 10), 0xFFFFFF);
}

// ---- Combo boxes ---------------------------------------------------------------

TEST_F(FormTest, ComboBoxesOpenAPopupListPickAnItemAndClose)
{
    auto* combo = Place<TComboBox>(Form(), Bounds(10, 10, 100, 0));
    combo->SetStyle(csDropDownList);
    combo->Items().SetCommaText("Red,Green,Blue,Cyan");
    EXPECT_EQ(combo->Height(), 13 + 8) << "the height follows the font";
    int changes = 0;
    combo->SetOnChange([&](TObject*) { ++changes; });
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), "Red");
    EXPECT_EQ(changes, 0);
    Click({ 50, 15 });
    ASSERT_TRUE(combo->DroppedDown());
    TCustomForm* popup = combo->DropDownWindow();
    EXPECT_TRUE(popup->IsPopup());
    EXPECT_EQ(popup->Left(), 100 + 10);
    EXPECT_EQ(popup->Top(), 50 + 10 + combo->Height()) << "just below the field";
    EXPECT_EQ(popup->Height(), 4 * 13 + 2);
    EXPECT_NE(Headless().ActiveWindow(), popup->WindowId()) << "keys still go to the form";
    // A click on the third item picks it.
    Headless().MouseMove({ popup->Left() + 10, popup->Top() + 1 + 2 * 13 + 5 });
    Headless().MouseDown({ popup->Left() + 10, popup->Top() + 1 + 2 * 13 + 5 });
    Headless().MouseUp({ popup->Left() + 10, popup->Top() + 1 + 2 * 13 + 5 });
    Application().ProcessMessages();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "Blue");
    EXPECT_EQ(changes, 1);
    Application().AdvanceTime(1000);
    // Escape closes without a change; so does a click elsewhere.
    Click({ 50, 15 });
    ASSERT_TRUE(combo->DroppedDown());
    Press(VK_DOWN);
    EXPECT_EQ(combo->DropDownList()->ItemIndex(), 3);
    Press(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    Click({ 50, 15 });
    Click({ 250, 150 });
    EXPECT_FALSE(combo->DroppedDown());
    Click({ 50, 15 });
    Click({ 50, 15 });
    EXPECT_FALSE(combo->DroppedDown()) << "a second click on the field closes it";
    // Enter picks the tracked item; arrows pick directly while closed.
    Press(VK_F4);
    Press(VK_UP);
    Press(VK_RETURN);
    EXPECT_EQ(combo->Text(), "Green");
    Press(VK_DOWN);
    EXPECT_EQ(combo->Text(), "Blue");
    Type("r");
    EXPECT_EQ(combo->Text(), "Red");
    EXPECT_EQ(changes, 4);
    combo->SetText("Cyan");
    EXPECT_EQ(combo->ItemIndex(), 3);
    combo->SetText("Magenta");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(FormTest, AComboBoxInAModalDialogTakesClicksInItsPopup)
{
    TForm dialog(nullptr);
    dialog.SetBounds(300, 300, 200, 150);
    auto* combo = new TComboBox(&dialog);
    combo->SetParent(&dialog);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 120, 0);
    combo->Items().SetCommaText("One,Two,Three");
    combo->SetItemIndex(0);
    combo->SetOnChange([&](TObject*) { dialog.SetModalResult(mrOk); });
    Application().AddShowHook([&](TCustomForm& shown) {
        if (&shown != &dialog)
            return false;
        const TPoint field = combo->ClientToScreen({ 20, 5 });
        Headless().MouseMove(field);
        Headless().MouseDown(field);
        Headless().MouseUp(field);
        Application().ProcessMessages();
        TCustomForm* popup = combo->DropDownWindow();
        const TPoint item = { popup->Left() + 5, popup->Top() + 1 + 13 + 5 };
        Headless().MouseMove(item);
        Headless().MouseDown(item);
        Headless().MouseUp(item);
        return true;
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(combo->Text(), "Two");
}

// ---- Round trips ---------------------------------------------------------------

TEST_F(FormTest, StandardControlsRoundTripThroughFormFiles)
{
    const char* text = R"(object Dialog: TForm
  Left = 0
  Top = 0
  Caption = 'Standard controls'
  ClientHeight = 240
  ClientWidth = 320
  Font.Charset = 1
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  object Name: TEdit
    Left = 8
    Top = 8
    Width = 121
    Height = 21
    MaxLength = 20
    PasswordChar = '*'
    TabOrder = 0
    Text = 'secret'
    OnChange = NameChange
  end
  object OK: TButton
    Left = 8
    Top = 40
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object Bold: TCheckBox
    Left = 8
    Top = 72
    Width = 97
    Height = 17
    AllowGrayed = True
    Caption = '&Bold'
    State = cbGrayed
    TabOrder = 2
  end
  object Choice: TRadioButton
    Left = 8
    Top = 96
    Width = 113
    Height = 17
    Caption = 'Choice'
    Checked = True
    TabOrder = 3
  end
  object List: TListBox
    Left = 140
    Top = 8
    Width = 121
    Height = 97
    ItemHeight = 13
    Items.Strings = (
      'one'
      'two')
    TabOrder = 4
  end
  object Combo: TComboBox
    Left = 140
    Top = 112
    Width = 121
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'diHorizonal'
      'diVertical')
    ItemIndex = 1
    TabOrder = 5
    Text = 'diVertical'
  end
  object Group: TGroupBox
    Left = 8
    Top = 120
    Width = 120
    Height = 60
    Caption = 'Group'
    TabOrder = 6
  end
end
)";
    TForm form(nullptr);
    int changes = 0;
    form.RegisterHandler("NameChange", TNotifyEvent([&](TObject*) { ++changes; }));
    ReadComponentText(text, form);
    auto* name = dynamic_cast<TEdit*>(form.FindComponent("Name"));
    auto* combo = dynamic_cast<TComboBox*>(form.FindComponent("Combo"));
    auto* bold = dynamic_cast<TCheckBox*>(form.FindComponent("Bold"));
    ASSERT_TRUE(name && combo && bold);
    EXPECT_EQ(name->PasswordChar(), "*");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(bold->State(), cbGrayed);
    const std::string written = WriteComponentText(form);
    EXPECT_EQ(written, text);
    TForm again(nullptr);
    again.RegisterHandler("NameChange", TNotifyEvent([](TObject*) { }));
    ReadComponentText(written, again);
    EXPECT_EQ(WriteComponentText(again), written);
}

// ---- User code that frees controls -------------------------------------------------

TEST_F(FormTest, EventsMayFreeTheControlsThatRaiseThem)
{
    auto* button = Place<TButton>(Form(), Bounds(10, 10, 75, 25));
    button->SetOnClick([&](TObject*) { delete button; });
    Click({ 20, 20 });
    auto* edit = Place<TEdit>(Form(), Bounds(10, 10, 75, 21));
    edit->SetOnChange([&](TObject*) { delete edit; });
    edit->SetFocus();
    Type("ab");
    Press(VK_BACK);
    auto* list = FilledList(Form(), 5);
    list->SetOnClick([&](TObject*) { delete list; });
    list->SetFocus();
    Press(VK_DOWN);
    Press(VK_DOWN);
    auto* check = Place<TCheckBox>(Form(), Bounds(10, 10, 75, 17));
    check->SetOnClick([&](TObject*) { delete check; });
    check->SetFocus();
    Press(VK_SPACE);
    EXPECT_EQ(Form().ComponentCount(), 0);
    // A pick in a combo box's drop-down whose OnChange frees the combo box.
    auto* combo = Place<TComboBox>(Form(), Bounds(10, 10, 100, 0));
    combo->SetStyle(csDropDownList);
    combo->Items().SetCommaText("One,Two");
    combo->SetOnChange([&](TObject*) { delete combo; });
    Click({ 50, 15 });
    TCustomForm* popup = combo->DropDownWindow();
    ASSERT_NE(popup, nullptr);
    const TPoint item { popup->Left() + 5, popup->Top() + 1 + 13 + 5 };
    Headless().MouseMove(item);
    Headless().MouseDown(item);
    Headless().MouseUp(item);
    Application().ProcessMessages();
    Application().ProcessMessages();
    EXPECT_EQ(Form().ComponentCount(), 0);
}

TEST_F(FormTest, AnEditableComboBoxTakesTypingAndPicksItemsWithTheKeys)
{
    auto* before = Place<TEdit>(Form(), Bounds(10, 40, 100, 21));
    auto* combo = Place<TComboBox>(Form(), Bounds(10, 10, 100, 0));
    ASSERT_EQ(combo->Style(), csDropDown) << "the default style is editable";
    combo->Items().SetCommaText("Red,Green,Blue");
    combo->SetTabOrder(1);
    TCustomEdit* field = combo->EditField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->Owner(), combo) << "not the form's: form files do not hold it";
    int changes = 0;
    combo->SetOnChange([&](TObject*) { ++changes; });

    // A click in the field focuses it without opening the list; typing edits the text.
    Click({ 30, 15 });
    EXPECT_EQ(Form().ActiveControl(), field);
    EXPECT_FALSE(combo->DroppedDown());
    Type("Gre");
    EXPECT_EQ(combo->Text(), "Gre");
    EXPECT_EQ(combo->ItemIndex(), -1);
    Type("en");
    EXPECT_EQ(combo->ItemIndex(), 1) << "the text of an item selects it";
    EXPECT_EQ(changes, 5) << "every typed change";
    // Down picks the next item into the field, selected, so typing replaces it.
    Press(VK_DOWN);
    EXPECT_EQ(combo->Text(), "Blue");
    EXPECT_EQ(field->Text(), "Blue");
    EXPECT_EQ(field->SelLength(), 4);
    EXPECT_EQ(changes, 6);
    Type("x");
    EXPECT_EQ(combo->Text(), "x");
    EXPECT_EQ(combo->ItemIndex(), -1);
    // F4 opens the list; Enter picks from it and is not the dialog's.
    Press(VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Red");
    // The button opens the list and leaves the focus in the field.
    Click({ 10 + 100 - 8, 15 });
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(Form().ActiveControl(), field);
    Press(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());

    // Tab and Shift+Tab pass the combo box as one stop.
    Press(VK_TAB, true);
    EXPECT_EQ(Form().ActiveControl(), before);
    Press(VK_TAB);
    EXPECT_EQ(Form().ActiveControl(), field);

    // Code may set any text; items added later find it.
    combo->SetText("Purple");
    EXPECT_EQ(field->Text(), "Purple");
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->Items().Add("Purple");
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), "Purple");
    combo->SetItemIndex(1);
    EXPECT_EQ(field->Text(), "Green");

    // csSimple has no list to open; csDropDownList no field.
    combo->SetStyle(csSimple);
    Press(VK_F4);
    EXPECT_FALSE(combo->DroppedDown());
    Press(VK_DOWN);
    EXPECT_EQ(combo->Text(), "Blue");
    combo->SetText("Custom");
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->EditField(), nullptr);
    EXPECT_EQ(combo->Text(), "") << "the text is an item's again";
}

TEST_F(FormTest, AnEditableComboBoxKeepsTypedTextThroughAFormFile)
{
    auto* combo = Place<TComboBox>(Form(), Bounds(10, 10, 100, 0));
    combo->SetName("Combo");
    combo->Items().SetCommaText("Red,Green");
    combo->SetText("Teal");
    const std::string text = WriteComponentText(Form());
    EXPECT_EQ(text.find("TComboEdit"), std::string::npos);
    EXPECT_EQ(text.find("TEdit"), std::string::npos) << "the field is not written";
    std::unique_ptr<TComponent> read(ReadComponentFromText(text, nullptr));
    auto* copy = dynamic_cast<TComboBox*>(read->FindComponent("Combo"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Text(), "Teal");
    EXPECT_EQ(copy->ItemIndex(), -1);
    ASSERT_NE(copy->EditField(), nullptr);
    EXPECT_EQ(copy->EditField()->Text(), "Teal");
}

TEST_F(FormTest, DraggingFromAComboBoxIntoItsListPicksWhereTheButtonComesUp)
{
    auto* combo = Place<TComboBox>(Form(), Bounds(10, 10, 100, 0));
    combo->SetStyle(csDropDownList);
    combo->Items().SetCommaText("One,Two,Three");
    const TPoint field = FormTest::Screen({ 50, 15 });
    Headless().MouseMove(field);
    Headless().MouseDown(field);
    Application().ProcessMessages();
    ASSERT_TRUE(combo->DroppedDown());
    TCustomForm* popup = combo->DropDownWindow();
    const TPoint third { popup->Left() + 5, popup->Top() + 1 + 2 * 13 + 5 };
    Headless().MouseMove(third);
    Application().ProcessMessages();
    EXPECT_EQ(combo->DropDownList()->ItemIndex(), 2) << "the item under the pointer follows it";
    Headless().MouseUp(third);
    Application().ProcessMessages();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Three");
}

TEST_F(FormTest, ControlsOfAnyInt32SizePaintOnlyTheirVisiblePart)
{
    auto* button = Place<TButton>(Form(), Bounds(-1000000000, 10, 2000000000, 25));
    button->SetCaption("");
    button->SetFocus();
    auto* list = Place<TListBox>(Form(), Bounds(10, 50, 100, 60));
    list->Items().SetCommaText("a,b");
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(INT32_MAX);
    list->SetFocus();
    auto* group = Place<TRadioGroup>(Form(), Bounds(120, 50, INT32_MAX, INT32_MAX));
    group->Items().SetCommaText("x,y,z");
    group->SetColumns(2);
    auto* speed = new TSpeedButton(&Form());
    speed->SetParent(&Form());
    speed->SetBounds(200, 10, 40, 30);
    speed->SetCaption("Far");
    speed->SetMargin(INT32_MAX);
    speed->SetSpacing(INT32_MAX);
    Form().Repaint();
    Raster* s = Form().Surface();
    // The button's face fills the form's width; the list box shows its first row.
    EXPECT_EQ(s->GetColor(150, 10), 0xFFFFFF) << "the raised edge's top row";
    EXPECT_EQ(s->GetColor(150, 34), 0x000000);
    EXPECT_EQ(s->GetColor(150, 20), 0xC0C0C0);
    EXPECT_EQ(s->GetColor(30, 60), 0xFFFFFF);
    EXPECT_GE(group->Buttons(2)->Left(), 8);
}
