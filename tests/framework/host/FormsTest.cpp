// Keyboard focus, key routing, dialog keys, accelerators and hints.
#include "FrameworkFixture.h"

#include "color/host/Bitmap.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/FormFiles.h"
#include "framework/host/StdCtrls.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plx;
using plx::test::FormTest;
using plx::test::Headless;
using plx::test::Press;
using plx::test::Type;

namespace {

template <class T>
T* Make(TWinControl& parent, const std::string& name, TRect bounds)
{
    auto* c = new T(GetParentForm(&parent) ? static_cast<TComponent*>(GetParentForm(&parent)) : &parent);
    c->SetName(name);
    c->SetParent(&parent);
    c->SetBoundsRect(bounds);
    return c;
}

std::string FocusedName(TCustomForm& form)
{
    return form.ActiveControl() ? form.ActiveControl()->Name() : "(none)";
}

// Records OnEnter and OnExit of every windowed control on a form.
void LogFocus(TWinControl& parent, std::vector<std::string>& log)
{
    for (std::int32_t i = 0; i < parent.ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) {
            w->SetOnEnter([&log, w](TObject*) { log.push_back("enter " + w->Name()); });
            w->SetOnExit([&log, w](TObject*) { log.push_back("exit " + w->Name()); });
            LogFocus(*w, log);
        }
}

} // namespace

TEST_F(FormTest, TabVisitsTabStopsInTabOrderSkippingHiddenAndDisabledOnes)
{
    auto* c = Make<TEdit>(Form(), "C", Rect(0, 0, 50, 20));
    auto* a = Make<TEdit>(Form(), "A", Rect(0, 30, 50, 20));
    auto* hidden = Make<TEdit>(Form(), "Hidden", Rect(0, 60, 50, 20));
    auto* panel = Make<TPanel>(Form(), "Panel", Rect(100, 0, 150, 150));
    auto* inner1 = Make<TEdit>(*panel, "Inner1", Rect(5, 5, 50, 20));
    auto* noStop = Make<TEdit>(*panel, "NoStop", Rect(5, 35, 50, 20));
    auto* inner2 = Make<TEdit>(*panel, "Inner2", Rect(5, 65, 50, 20));
    auto* off = Make<TPanel>(Form(), "Off", Rect(0, 120, 90, 60));
    (void)Make<TEdit>(*off, "InOff", Rect(5, 5, 50, 20));
    auto* disabled = Make<TButton>(Form(), "Disabled", Rect(0, 90, 50, 20));
    a->SetTabOrder(0);
    EXPECT_EQ(a->TabOrder(), 0);
    EXPECT_EQ(c->TabOrder(), 1);
    hidden->Hide();
    noStop->SetTabStop(false);
    off->SetEnabled(false);
    disabled->SetEnabled(false);
    (void)inner1;
    (void)inner2;

    std::vector<std::string> visited;
    for (int i = 0; i < 5; ++i) {
        Press(VK_TAB);
        visited.push_back(FocusedName(Form()));
    }
    EXPECT_EQ(visited, (std::vector<std::string> { "A", "C", "Inner1", "Inner2", "A" }));
    Press(VK_TAB, true);
    EXPECT_EQ(FocusedName(Form()), "Inner2") << "Shift+Tab goes back, wrapping";
    Press(VK_TAB, true);
    EXPECT_EQ(FocusedName(Form()), "Inner1");
    EXPECT_TRUE(inner1->Focused());
    EXPECT_FALSE(a->Focused());
    // Hiding the focused control's container takes the focus away.
    panel->Hide();
    EXPECT_EQ(Form().ActiveControl(), nullptr);
    EXPECT_THROW(inner2->SetFocus(), EInvalidOperation);
    EXPECT_THROW(disabled->SetFocus(), EInvalidOperation);
}

TEST_F(FormTest, FocusChangesRunExitUpAndEnterDownToTheCommonContainer)
{
    auto* left = Make<TPanel>(Form(), "Left", Rect(0, 0, 100, 100));
    auto* right = Make<TPanel>(Form(), "Right", Rect(120, 0, 100, 100));
    auto* a = Make<TEdit>(*left, "A", Rect(5, 5, 50, 20));
    auto* b = Make<TEdit>(*left, "B", Rect(5, 35, 50, 20));
    auto* c = Make<TEdit>(*right, "C", Rect(5, 5, 50, 20));
    std::vector<std::string> log;
    LogFocus(Form(), log);
    a->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string> { "enter Left", "enter A" }));
    log.clear();
    b->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string> { "exit A", "enter B" })) << "the shared panel neither exits nor enters";
    log.clear();
    c->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string> { "exit B", "exit Left", "enter Right", "enter C" }));
    log.clear();
    // A handler that moves the focus elsewhere wins; the rest of the chain is dropped.
    c->SetOnExit([&](TObject*) {
        log.push_back("exit C");
        b->SetFocus();
    });
    a->SetFocus();
    EXPECT_EQ(FocusedName(Form()), "B");
    EXPECT_EQ(log.front(), "exit C");
    EXPECT_EQ(std::count(log.begin(), log.end(), "enter A"), 0);
}

TEST_F(FormTest, HandlersMayFreeTheControlsTheFocusLeavesOrReaches)
{
    auto* a = Make<TEdit>(Form(), "A", Rect(0, 0, 50, 20));
    auto* b = Make<TEdit>(Form(), "B", Rect(0, 30, 50, 20));
    auto* c = Make<TEdit>(Form(), "C", Rect(0, 60, 50, 20));
    a->SetFocus();
    a->SetOnExit([&](TObject*) { delete a; });
    b->SetFocus();
    EXPECT_EQ(Form().ComponentCount(), 2);
    EXPECT_TRUE(b->Focused());
    b->SetOnEnter(nullptr);
    c->SetOnEnter([&](TObject*) { delete c; });
    Press(VK_TAB);
    EXPECT_EQ(Form().ComponentCount(), 1);
    EXPECT_EQ(Form().ActiveControl(), nullptr) << "the focus went with the freed control";
    // Keys typed into an edit whose OnKeyDown frees it go nowhere.
    b->SetFocus();
    b->SetOnKeyDown([&](TObject*, std::uint16_t&, TShiftState) { delete b; });
    Press('X');
    Type("abc");
    EXPECT_EQ(Form().ComponentCount(), 0);
}

TEST_F(FormTest, AHiddenFormFocusesItsActiveControlOrItsFirstTabStopWhenShown)
{
    TForm dialog(nullptr);
    auto* a = Make<TEdit>(dialog, "A", Rect(0, 0, 50, 20));
    auto* b = Make<TEdit>(dialog, "B", Rect(0, 30, 50, 20));
    std::vector<std::string> log;
    LogFocus(dialog, log);
    dialog.SetActiveControl(b);
    EXPECT_TRUE(log.empty()) << "nothing enters before the form is shown";
    EXPECT_FALSE(b->Focused());
    dialog.Show();
    EXPECT_EQ(log, (std::vector<std::string> { "enter B" }));
    EXPECT_TRUE(b->Focused());
    dialog.Hide();
    EXPECT_FALSE(b->Focused());
    dialog.Show();
    EXPECT_EQ(log.size(), 1u) << "showing again does not enter again";
    TForm other(nullptr);
    auto* first = Make<TEdit>(other, "First", Rect(0, 0, 50, 20));
    (void)Make<TEdit>(other, "Second", Rect(0, 30, 50, 20));
    first->SetTabOrder(1);
    other.Show();
    EXPECT_EQ(FocusedName(other), "Second");
    (void)a;
}

TEST_F(FormTest, KeysReachThePreviewingFormThenTheFocusedControl)
{
    auto* edit = Make<TEdit>(Form(), "Edit", Rect(0, 0, 100, 20));
    edit->SetFocus();
    std::vector<std::string> log;
    Form().SetOnKeyDown([&](TObject*, std::uint16_t& key, TShiftState shift) {
        log.push_back("form down " + std::to_string(key) + (shift.Contains(ssShift) ? " shift" : ""));
        if (key == VK_F4)
            key = 0;
    });
    Form().SetOnKeyPress([&](TObject*, char& key) { log.push_back(std::string("form press ") + key); });
    edit->SetOnKeyDown([&](TObject*, std::uint16_t& key, TShiftState) { log.push_back("edit down " + std::to_string(key)); });
    edit->SetOnKeyPress([&](TObject*, char& key) {
        log.push_back(std::string("edit press ") + key);
        if (key == 'q')
            key = 0;
    });
    edit->SetOnKeyUp([&](TObject*, std::uint16_t& key, TShiftState) { log.push_back("edit up " + std::to_string(key)); });
    Press('A', true);
    Type("a");
    EXPECT_EQ(log, (std::vector<std::string> { "edit down 65", "edit up 65", "edit press a" })) << "without KeyPreview the form hears nothing";
    log.clear();
    Form().SetKeyPreview(true);
    Press(VK_F4);
    Press('B');
    Type("qz");
    EXPECT_EQ(log, (std::vector<std::string> { "form down 115", "edit up 115", "form down 66", "edit down 66", "edit up 66", "form press q", "edit press q",
                       "form press z", "edit press z" }));
    EXPECT_EQ(edit->Text(), "az") << "a key cleared by OnKeyPress is not typed";
}

TEST_F(FormTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButtonOfAModalForm)
{
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 200, 120);
    auto* edit = Make<TEdit>(dialog, "Edit", Rect(10, 10, 100, 21));
    auto* ok = Make<TButton>(dialog, "OK", Rect(10, 50, 75, 25));
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Make<TButton>(dialog, "Cancel", Rect(100, 50, 75, 25));
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto answer = [&](std::function<void()> keys) {
        Application().AddShowHook([&, keys](TCustomForm& shown) {
            if (&shown != &dialog)
                return false;
            keys();
            return true;
        });
        return dialog.ShowModal();
    };
    EXPECT_EQ(answer([] {
        Type("42");
        Headless().KeyDown(VK_RETURN);
    }),
        mrOk);
    EXPECT_EQ(edit->Text(), "42");
    EXPECT_EQ(answer([] { Headless().KeyDown(VK_ESCAPE); }), mrCancel);
    // Enter clicks the focused button, which need not be the default one.
    EXPECT_EQ(answer([&] {
        cancel->SetFocus();
        EXPECT_TRUE(cancel->Active());
        EXPECT_FALSE(ok->Active());
        Headless().KeyDown(VK_RETURN);
    }),
        mrCancel);
    // A click handler may keep the dialog open by clearing the result.
    int clicks = 0;
    ok->SetOnClick([&](TObject*) {
        if (++clicks == 1)
            dialog.SetModalResult(mrNone);
    });
    EXPECT_EQ(answer([&] {
        edit->SetFocus();
        Headless().KeyDown(VK_RETURN);
        Headless().KeyDown(VK_RETURN);
    }),
        mrOk);
    EXPECT_EQ(clicks, 2);
    // A modal loop with a blinking caret and nothing else to do still ends.
    EXPECT_EQ(answer([&] { edit->SetFocus(); }), mrCancel);
}

TEST_F(FormTest, ADialogOpenedByADoubleClickTakesTheNextClick)
{
    TForm dialog(nullptr);
    dialog.SetBounds(300, 300, 200, 120);
    auto* ok = Make<TButton>(dialog, "OK", Bounds(10, 50, 75, 25));
    ok->SetModalResult(mrOk);
    auto* edit = Make<TEdit>(Form(), "Edit", Bounds(10, 10, 100, 21));
    TModalResult result = mrNone;
    edit->SetOnDblClick([&](TObject*) {
        Application().AddShowHook([&](TCustomForm& shown) {
            if (&shown != &dialog)
                return false;
            // The double click's release is still queued for the form below.
            const TPoint at = ok->ClientToScreen({ 5, 5 });
            Click({ at.X - 100, at.Y - 50 });
            return true;
        });
        result = dialog.ShowModal();
    });
    const TPoint p = Screen({ 20, 20 });
    Headless().MouseDown(p);
    Headless().MouseUp(p);
    Headless().MouseDown(p);
    Headless().MouseUp(p);
    Application().ProcessMessages();
    EXPECT_EQ(result, mrOk);
}

TEST_F(FormTest, AcceleratorsClickButtonsAndFocusLabelledControls)
{
    auto* label = Make<TLabel>(Form(), "Label", Rect(0, 0, 60, 15));
    label->SetCaption("&Name");
    auto* edit = Make<TEdit>(Form(), "Edit", Rect(0, 20, 100, 21));
    label->SetFocusControl(edit);
    auto* button = Make<TButton>(Form(), "Apply", Rect(0, 50, 75, 25));
    button->SetCaption("&Apply");
    int clicks = 0;
    button->SetOnClick([&](TObject*) { ++clicks; });
    auto* check = Make<TCheckBox>(Form(), "Check", Rect(0, 80, 90, 17));
    check->SetCaption("&Bold");
    Headless().Char('n', true);
    Application().ProcessMessages();
    EXPECT_TRUE(edit->Focused());
    Type("a");
    EXPECT_EQ(clicks, 0) << "an edit takes plain letters";
    EXPECT_EQ(edit->Text(), "a");
    Headless().Char('A', true);
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    Headless().Char('b', true);
    Application().ProcessMessages();
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(check->Focused());
    Type("a");
    EXPECT_EQ(clicks, 2) << "away from an edit a plain letter is an accelerator";
}

TEST_F(FormTest, FocusedButtonsDrawTheDottedFocusRectangle)
{
    auto* button = Make<TButton>(Form(), "Button", Rect(10, 10, 75, 25));
    button->SetCaption("");
    Application().ProcessMessages();
    Raster* s = Form().Surface();
    const TColor face = s->GetColor(10 + 4, 10 + 4);
    EXPECT_EQ(face, 0xC0C0C0);
    button->SetFocus();
    Application().ProcessMessages();
    // Every other pixel of the rectangle 4 pixels inside the button is inverted.
    EXPECT_EQ(s->GetColor(14, 14), 0x3F3F3F);
    EXPECT_EQ(s->GetColor(15, 14), 0xC0C0C0);
    EXPECT_EQ(s->GetColor(16, 14), 0x3F3F3F);
    EXPECT_EQ(s->GetColor(14, 15), 0xC0C0C0);
    EXPECT_EQ(s->GetColor(14, 16), 0x3F3F3F);
    EXPECT_EQ(s->GetColor(15, 15), 0xC0C0C0) << "inside the rectangle";
    // The focused button has the black default frame.
    EXPECT_EQ(s->GetColor(10, 10), 0x000000);
    EXPECT_EQ(s->GetColor(11, 11), 0xFFFFFF);
}

TEST_F(FormTest, ArrowKeysMoveAmongSiblingsAndCheckRadioButtons)
{
    auto* one = Make<TRadioButton>(Form(), "One", Rect(0, 0, 80, 17));
    auto* two = Make<TRadioButton>(Form(), "Two", Rect(0, 20, 80, 17));
    auto* three = Make<TRadioButton>(Form(), "Three", Rect(0, 40, 80, 17));
    int clicks = 0;
    for (auto* r : { one, two, three })
        r->SetOnClick([&](TObject*) { ++clicks; });
    one->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(one->TabStop());
    EXPECT_FALSE(two->TabStop());
    Press(VK_TAB);
    EXPECT_TRUE(one->Focused()) << "Tab reaches the checked radio button";
    Press(VK_DOWN);
    EXPECT_TRUE(two->Focused());
    EXPECT_TRUE(two->Checked());
    EXPECT_FALSE(one->Checked());
    Press(VK_UP);
    Press(VK_UP);
    EXPECT_TRUE(three->Checked()) << "the arrows wrap around";
    EXPECT_EQ(clicks, 4);
}

TEST_F(FormTest, HintsShowAfterThePauseAndGoWhenThePointerLeaves)
{
    auto* panel = Make<TPanel>(Form(), "Panel", Rect(0, 0, 150, 100));
    auto* button = Make<TButton>(*panel, "Button", Rect(10, 10, 75, 25));
    button->SetHint("Saves the file|Saves the file under its name");
    auto* plain = Make<TButton>(Form(), "Plain", Rect(200, 10, 75, 25));
    plain->SetHint("Never shown");
    panel->SetShowHint(true);
    EXPECT_TRUE(button->ShowHint()) << "inherited through ParentShowHint";
    EXPECT_FALSE(plain->ShowHint());
    Application().AdvanceTime(10000);

    Headless().MouseMove(FormTest::Screen({ 20, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(Application().Hint(), "Saves the file under its name");
    Application().AdvanceTime(499);
    EXPECT_EQ(Application().HintWindow(), nullptr);
    Application().AdvanceTime(1);
    THintWindow* hint = Application().HintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->Visible());
    EXPECT_EQ(hint->Caption(), "Saves the file");
    EXPECT_EQ(hint->Top(), FormTest::Screen({ 20, 20 }).Y + 20) << "below the pointer";
    // The window: the text on the hint colour inside a black frame.
    TBitmap picture;
    hint->RenderTo(picture);
    EXPECT_EQ(picture.Canvas().Pixels(0, 0), 0x000000);
    EXPECT_EQ(picture.Canvas().Pixels(1, 1), 0xE1FFFF);
    EXPECT_FALSE(Headless().ActiveWindow() == hint->WindowId()) << "a hint never takes the keyboard";

    Headless().MouseMove(FormTest::Screen({ 240, 20 }));
    Application().ProcessMessages();
    EXPECT_EQ(Application().HintWindow(), nullptr) << "gone when the pointer leaves";
    Application().AdvanceTime(5000);
    EXPECT_EQ(Application().HintWindow(), nullptr) << "a control without ShowHint shows none";

    // Back on the button: shown, then hidden after HintHidePause; a press cancels it.
    Headless().MouseMove(FormTest::Screen({ 20, 20 }));
    Application().ProcessMessages();
    Application().AdvanceTime(500);
    ASSERT_NE(Application().HintWindow(), nullptr);
    Application().AdvanceTime(2500);
    EXPECT_EQ(Application().HintWindow(), nullptr);
    Headless().MouseMove(FormTest::Screen({ 21, 20 }));
    Headless().MouseDown(FormTest::Screen({ 21, 20 }));
    Headless().MouseUp(FormTest::Screen({ 21, 20 }));
    Application().ProcessMessages();
    Application().AdvanceTime(5000);
    EXPECT_EQ(Application().HintWindow(), nullptr) << "a click cancels the hint until the pointer moves on";
}

TEST_F(FormTest, AControlCanRewriteOrCancelItsHint)
{
    class THinted : public TButton {
    public:
        using TButton::TButton;
        bool cancel { false };

    protected:
        void DefaultHandler(TMessage& message) override
        {
            if (message.Msg == CM_HINTSHOW) {
                auto* info = reinterpret_cast<THintInfo*>(message.LParam);
                info->HintStr = "At " + std::to_string(info->CursorPos.X) + "," + std::to_string(info->CursorPos.Y);
                message.Result = cancel ? 1 : 0;
                return;
            }
            TButton::DefaultHandler(message);
        }
    };
    auto* b = new THinted(&Form());
    b->SetParent(&Form());
    b->SetBounds(10, 10, 75, 25);
    b->SetHint("x");
    b->SetShowHint(true);
    Headless().MouseMove(FormTest::Screen({ 15, 17 }));
    Application().ProcessMessages();
    Application().AdvanceTime(500);
    ASSERT_NE(Application().HintWindow(), nullptr);
    EXPECT_EQ(Application().HintWindow()->Caption(), "At 5,7");
    Headless().MouseMove(FormTest::Screen({ 250, 150 }));
    Application().ProcessMessages();
    b->cancel = true;
    Headless().MouseMove(FormTest::Screen({ 15, 17 }));
    Application().ProcessMessages();
    Application().AdvanceTime(1000);
    EXPECT_EQ(Application().HintWindow(), nullptr);
}

TEST_F(FormTest, TabOrderAndActiveControlRoundTripThroughFormFiles)
{
    const char* text = R"(object Dialog: TForm
  ActiveControl = Second
  Caption = 'Dialog'
  object Third: TEdit
    Left = 8
    Top = 8
    TabOrder = 2
  end
  object First: TEdit
    Left = 8
    Top = 40
    TabOrder = 0
  end
  object Second: TEdit
    Left = 8
    Top = 72
    TabOrder = 1
  end
end
)";
    std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr));
    auto& form = dynamic_cast<TForm&>(*root);
    std::vector<std::string> order;
    for (TWinControl* c : form.TabList())
        order.push_back(c->Name());
    EXPECT_EQ(order, (std::vector<std::string> { "First", "Second", "Third" }));
    EXPECT_EQ(FocusedName(form), "Second");
    const std::string written = WriteComponentText(form);
    EXPECT_NE(written.find("ActiveControl = Second"), std::string::npos);
    std::unique_ptr<TComponent> again(ReadComponentFromText(written, nullptr));
    EXPECT_EQ(WriteComponentText(*again), written);
}
