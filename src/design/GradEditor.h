// GradEditor: the gradient editor dialog, with a live preview and a gallery of
// named gradients kept in the settings file "Gradient Fill Editor.ini".
#pragma once

#include "framework/host/Forms.h"
#include "framework/host/StdCtrls.h"
#include "paint/Gradient.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace plx {

class TColorDialog;
class TPaintBox;
class TSpeedButton;

namespace detail {
class TGradientGallery;
}

//! The gradient editor: five colour swatches, line size, colour count,
//! direction, three style buttons, a live preview, and a gallery of named
//! gradients. The form is read from the package's form resource
//! "TfrmGradEditor" with its handlers bound by name.
//!
//! The gallery is read from "Gradient Fill Editor.ini" in the settings folder
//! when the form is created (section "Gallary", one key per entry, the value
//! "Color1,Color2,Color3,Color4,Color5,ColorCount,style,direction" in signed
//! decimal) and written back in full when it is destroyed, whether the dialog
//! was confirmed or not. A value that cannot be read is not shown and is
//! written back unchanged; when the file itself cannot be read the gallery is
//! not written back. Problems with the file are reported through
//! Application().HandleException, never thrown out of the dialog's creation
//! or destruction.
class TfrmGradEditor : public TForm {
public:
    //! Reads the form, then fires OnCreate (FormCreate: the gallery is read).
    explicit TfrmGradEditor(TComponent* owner);
    //! Fires OnDestroy (FormDestroy: the gallery is written) while the form is whole.
    ~TfrmGradEditor() override;

    //! Loads the controls from gradient and shows the dialog modally. On OK
    //! (modal result mrYes) gradient takes the edited values (Assign, one
    //! OnChange) and the result is true; otherwise gradient is left as it was.
    bool Execute(TGradient& gradient);
    //! Loads the controls from gradient: swatches, line size, colour count,
    //! direction, and the style button of gsLine, gsEllipse or gsRect (for
    //! gsCustomRect the buttons keep their state).
    void SetGradient(const TGradient& gradient);
    //! The working gradient after storing the controls into it through its
    //! setters: swatch colours, ColorCount (1..4) and LineSize (1..255) from
    //! their edits (an edit that holds no number leaves the value as it was),
    //! LineDirection from the direction list and GradientStyle from the first
    //! pressed style button (Tag 1, 2, 3: gsLine, gsEllipse, gsRect).
    [[nodiscard]] TGradient& GetGradient();

    //! \name The gallery file

    //! Reads the gallery's entries; raises when the file exists but cannot be
    //! read, and the gallery is then not written back.
    void LoadIni();
    //! Writes every entry in list order, replacing the section in one write;
    //! raises EIniFileException when the file cannot be written, which is then
    //! left as it was. Does nothing when the gallery was not read completely.
    void SaveIni();
    //! True once LoadIni has read the file completely.
    [[nodiscard]] bool GalleryLoaded() const noexcept { return m_galleryLoaded; }

    //! \name Handlers, bound by name from the form file

    //! OnCreate: reads the gallery, reporting a file that cannot be read.
    void FormCreate(TObject* sender);
    //! OnDestroy: writes the gallery, reporting a failure.
    void FormDestroy(TObject* sender);
    //! "Update Preview": repaints the preview.
    void btnUpdateClick(TObject* sender);
    //! The preview: the button-face colour, then PaintGradient of GetGradient.
    void PaintBox1Paint(TObject* sender);
    //! Any style button: repaints the preview.
    void SpeedButton1Click(TObject* sender);
    //! The line-size text changed: repaints the preview.
    void txtLinesizeChange(TObject* sender);
    //! The line-size edit lost the focus: it shows the line size in use.
    void txtLinesizeExit(TObject* sender);
    //! The colour-count text changed: repaints the preview.
    void txtColorsChange(TObject* sender);
    //! The colour-count edit lost the focus: it shows the count in use.
    void txtColorsExit(TObject* sender);
    //! The number edits take digits and control keys only.
    void NumberKeyPress(TObject* sender, char& key);
    //! The direction changed: repaints the preview.
    void diComboChange(TObject* sender);
    //! A swatch (any of the five): the colour dialog, preset to its colour;
    //! when confirmed the swatch takes the colour and the preview repaints.
    void Color1DblClick(TObject* sender);
    //! Draws a gallery entry: its gradient (LineSize set to 1) in a 27 x 27
    //! picture at the item's left and its name beside it.
    void lstGallaryDrawItem(TWinControl* control, std::int32_t index, TRect rect, TOwnerDrawState state);
    //! Loads the selected entry into the controls and repaints the preview;
    //! nothing without a selection.
    void lstGallaryDblClick(TObject* sender);
    //! "Add": asks for a name ("New Gradient Fill") and adds a copy of
    //! GetGradient under it. A name the file cannot hold is refused with a
    //! message; an entry of the same name (case ignored) is replaced in its
    //! place after a confirmation.
    void btnAddClick(TObject* sender);
    //! "Delete": after a confirmation removes the selected entry; nothing
    //! without a selection.
    void Button3Click(TObject* sender);

private:
    void RegisterHandlers();
    void FindControls();
    void RedrawPreview();
    //! Shows the gallery's readable entries in the list; selects entry select.
    void FillGallery(std::int32_t select);
    //! Reports a problem of the gallery file to the user.
    void Report(const std::string& message) noexcept;

    TGradient m_working;
    std::unique_ptr<detail::TGradientGallery> m_gallery;
    bool m_galleryLoaded { false };
    bool m_ready { false }; //!< the controls are found
    std::array<TSpeedButton*, 3> m_styleButtons {};
    std::array<TEdit*, 5> m_swatches {};
    TEdit* m_lineSize { nullptr };
    TEdit* m_colorCount { nullptr };
    TComboBox* m_direction { nullptr };
    TListBox* m_gallaryList { nullptr };
    TPaintBox* m_preview { nullptr };
    TColorDialog* m_colorDialog { nullptr };
};

//! Opens the gradient editor on gradient, modally: creates the dialog (owned
//! by the application), runs Execute and frees it. True when the user
//! confirmed, and gradient then holds the edited values.
bool EditGradient(TGradient& gradient);

} // namespace plx
