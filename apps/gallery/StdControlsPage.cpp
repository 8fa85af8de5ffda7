#include "Gallery.h"

#include "framework/host/Buttons.h"
#include "framework/host/ComCtrls.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"
#include "framework/host/HeadlessPlatform.h"
#include "framework/host/StdCtrls.h"

#include <functional>
#include <memory>

using namespace plx;

namespace gallery {

namespace {

template <class T>
T* Place(TForm& form, TWinControl& parent, TRect bounds)
{
    auto* c = new T(&form);
    c->SetParent(&parent);
    c->SetBoundsRect(bounds);
    return c;
}

// The form and, where its pop-up lies, the pop-up, in one picture.
void RenderWithPopup(TCustomForm& form, TCustomForm* popup, TBitmap& out)
{
    TBitmap base;
    form.RenderTo(base);
    if (!popup || !popup->Visible()) {
        out.Assign(&base);
        return;
    }
    TBitmap over;
    popup->RenderTo(over);
    const std::int32_t dx = popup->Left() - form.Left(), dy = popup->Top() - form.Top();
    Blank(out, std::max(base.Width(), dx + over.Width()), std::max(base.Height(), dy + over.Height()), 0xF4F4F4);
    out.Canvas().Draw(0, 0, base);
    out.Canvas().Draw(dx, dy, over);
}

// Shows a dialog through run, renders it as it opens and closes it with Escape.
void DialogFigure(Gallery& g, const std::string& caption, const std::function<void()>& run)
{
    TBitmap picture;
    Application().AddShowHook([&picture](TCustomForm& shown) {
        shown.RenderTo(picture);
        dynamic_cast<THeadlessPlatform&>(CurrentPlatform()).KeyDown(VK_ESCAPE);
        return true;
    });
    run();
    g.Figure(picture, caption, 2);
}

} // namespace

void StdControlsPage(Gallery& g)
{
    g.BeginPage("stdcontrols", "Standard controls",
        "The host's standard controls in the classic look, headless: a focused edit with a selection, a default and a "
        "disabled button, check boxes in their three states, radio buttons and a radio group, a list with a selection, "
        "an up-down beside its edit, speed buttons and bitmap buttons, and an open combo box. Then the common dialogs "
        "as they open. Shown at 2x.");

    TForm form(nullptr);
    form.SetCaption("Standard controls");
    form.SetBounds(40, 40, 420, 300);

    auto* edit = Place<TEdit>(form, form, Bounds(8, 8, 150, 21));
    edit->SetText("Selected text");
    auto* label = Place<TLabel>(form, form, Bounds(166, 12, 60, 13));
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    auto* ok = Place<TButton>(form, form, Bounds(8, 38, 75, 25));
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* disabled = Place<TButton>(form, form, Bounds(90, 38, 75, 25));
    disabled->SetCaption("&Disabled");
    disabled->SetEnabled(false);

    auto* group = Place<TGroupBox>(form, form, Bounds(8, 72, 150, 90));
    group->SetCaption("Check boxes");
    const char* checks[] = { "Unchecked", "&Checked", "Grayed" };
    for (int i = 0; i < 3; ++i) {
        auto* c = Place<TCheckBox>(form, *group, Bounds(10, 18 + 22 * i, 130, 17));
        c->SetCaption(checks[i]);
        c->SetAllowGrayed(true);
        c->SetState(static_cast<TCheckBoxState>(i));
    }
    auto* radios = Place<TRadioGroup>(form, form, Bounds(8, 170, 150, 90));
    radios->SetCaption("Style");
    radios->Items().SetCommaText("Win31,New,Glass,Tab");
    radios->SetColumns(2);
    radios->SetItemIndex(2);
    auto* loose = Place<TRadioButton>(form, form, Bounds(8, 266, 150, 17));
    loose->SetCaption("A radio button");
    loose->SetChecked(true);

    auto* list = Place<TListBox>(form, form, Bounds(166, 38, 120, 82));
    for (const char* item : { "Horizontal", "Vertical", "Ellipse", "Rectangle", "Custom", "Diagonal", "Stripes" })
        list->Items().Add(item);
    list->SetItemIndex(2);
    auto* number = Place<TEdit>(form, form, Bounds(166, 128, 60, 21));
    auto* updown = Place<TUpDown>(form, form, Bounds(0, 0, 16, 21));
    updown->SetMax(255);
    updown->SetAssociate(number);
    updown->SetPosition(128);

    const char* tools[] = { "B", "I", "U" };
    for (int i = 0; i < 3; ++i) {
        auto* s = Place<TSpeedButton>(form, form, Bounds(166 + 25 * i, 158, 25, 25));
        s->SetCaption(tools[i]);
        s->SetGroupIndex(i + 1);
        s->SetAllowAllUp(true);
        s->SetDown(i == 0);
    }
    auto* flat = Place<TSpeedButton>(form, form, Bounds(245, 158, 25, 25));
    flat->SetCaption("F");
    flat->SetFlat(true);
    auto* bitOk = Place<TBitBtn>(form, form, Bounds(166, 192, 90, 27));
    bitOk->SetKind(bkOK);
    auto* bitCancel = Place<TBitBtn>(form, form, Bounds(166, 226, 90, 27));
    bitCancel->SetKind(bkCancel);
    auto* help = Place<TBitBtn>(form, form, Bounds(262, 192, 90, 27));
    help->SetKind(bkHelp);

    auto* combo = Place<TComboBox>(form, form, Bounds(294, 38, 110, 21));
    combo->SetStyle(csDropDownList);
    combo->Items().SetCommaText("diHorizonal,diVertical,Third,Fourth");
    combo->SetItemIndex(1);
    auto* editable = Place<TComboBox>(form, form, Bounds(294, 68, 110, 21));
    editable->Items().SetCommaText("Sunset,Ocean,Steel");
    editable->SetText("Typed name");

    form.Show();
    edit->SetFocus();
    edit->SetSelStart(0);
    edit->SetSelLength(8);
    Application().ProcessMessages();
    TBitmap picture;
    form.RenderTo(picture);
    g.Figure(picture, "A form of standard controls: the edit has the focus and a selection, OK is the default button; under the drop-down list (csDropDownList) an editable combo box (csDropDown) with typed text", 2);

    combo->SetFocus();
    combo->SetDroppedDown(true);
    combo->DropDownList()->SetItemIndex(2);
    Application().ProcessMessages();
    TBitmap open;
    RenderWithPopup(form, combo->DropDownWindow(), open);
    g.Figure(open, "The combo box open: its list is a pop-up window below the field, the item under the pointer highlighted", 2);
    combo->SetDroppedDown(false);
    form.Hide();

    DialogFigure(g, "MessageDlg(\"Do you really want to delete this object?\", mtConfirmation, [mbYes, mbNo], 0)",
        [] { MessageDlg("Do you really want to delete this object?", mtConfirmation, { mbYes, mbNo }, 0); });
    DialogFigure(g, "InputBox(\"New Gradient Fill\", \"Please enter a name for the current Gradient Fill object.\", \"\")",
        [] { (void)InputBox("New Gradient Fill", "Please enter a name for the current Gradient Fill object.", "Sunset"); });
    DialogFigure(g, "TColorDialog: basic colours, custom colours and the RGB entry", [] {
        TColorDialog dialog(nullptr);
        dialog.CustomColors().Add("ColorA=5CC646");
        dialog.CustomColors().Add("ColorB=4E89BE");
        dialog.CustomColors().Add("ColorC=45C7BA");
        dialog.SetColor(0x80FFFF);
        dialog.Execute();
    });
    DialogFigure(g, "TFontDialog: name, style, size, effects and a sample", [] {
        TFontDialog dialog(nullptr);
        dialog.Font().SetName("Arial");
        dialog.Font().SetSize(12);
        dialog.Execute();
    });
}

} // namespace gallery
