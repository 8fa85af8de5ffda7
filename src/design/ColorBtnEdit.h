// ColorBtnEdit: a dialog that edits a colour button's colour, caption and face
// style on a live preview, and EditColorButton, which runs it.
#pragma once

#include "components/ColorBtns.h"
#include "framework/host/Forms.h"

namespace plx {

class TColorDialog;
class TEdit;
class TFontDialog;
class TRadioGroup;

//! The colour button editor, read from the package's form resource "TForm1"
//! with its handlers bound by name. Its published components, in order:
//! ColorButton (the preview, a TColor95Button), btnColor (a speed button that
//! opens the colour dialog), txtCaption (the caption), Button1 ("OK", modal
//! result mrOk, the default button), Button2 ("Cancel", the cancel button),
//! rgStyles (the radio group of the styles "Windows 3.1", "New", "Glass" and
//! "Tab": bsWin31, bsNew, bsGlass, bsTab), Button3 (opens the font dialog),
//! ColorDlg and FontDlg. Every change reaches the preview through its setters,
//! so it repaints at once.
class TForm1 : public TForm {
public:
    //! Reads the form, then fires OnCreate (FormCreate).
    explicit TForm1(TComponent* owner);

    //! The preview button.
    [[nodiscard]] TColor95Button& ColorButton() const noexcept { return *m_preview; }

    //! \name Handlers, bound by name from the form file

    //! OnCreate: offers the sixteen custom colours ("ColorA=5CC646" to
    //! "ColorP=D3E547") in the colour dialog and gives the preview clBtnFace.
    void FormCreate(TObject* sender);
    //! The colour dialog, preset to the preview's colour; when confirmed the
    //! preview takes the chosen colour.
    void btnColorClick(TObject* sender);
    //! The preview's caption follows the text as it is typed.
    void txtCaptionChange(TObject* sender);
    //! The preview takes the style of the checked item; an index outside 0..3
    //! is ignored.
    void rgStylesClick(TObject* sender);
    //! The font dialog, preset to the preview's font; when confirmed the
    //! preview takes the chosen font.
    void Button3Click(TObject* sender);

private:
    friend bool EditColorButton(TColor95Button& button);

    //! Loads the preview, the caption edit and the style choice from button.
    void LoadButton(const TColor95Button& button);

    TColor95Button* m_preview { nullptr };
    TEdit* m_caption { nullptr };
    TRadioGroup* m_styles { nullptr };
    TColorDialog* m_colorDialog { nullptr };
    TFontDialog* m_fontDialog { nullptr };
};

//! Edits button's Color, Caption and Style in a TForm1 (owned by the
//! application, freed before the return). When the user confirms with OK the
//! button takes the preview's colour, caption and style (not its font) and the
//! result is true; otherwise the button is left untouched and the result is
//! false.
bool EditColorButton(TColor95Button& button);

} // namespace plx
