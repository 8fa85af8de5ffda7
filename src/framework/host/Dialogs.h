// Common dialogs: the colour and font dialogs, message boxes and the input
// box. Each is a form of the host's own controls shown modally, so they work
// headless as in a window.
#pragma once

#include "color/host/Font.h"
#include "framework/host/Component.h"
#include "framework/host/Forms.h"
#include "rtl/Set.h"
#include "rtl/StringList.h"

#include <memory>
#include <string>

namespace plx {

//! The base of the dialog components: Execute shows the dialog modally and
//! returns true when the user confirmed it.
class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* owner);

    [[nodiscard]] bool Ctl3D() const noexcept { return m_ctl3D; }
    void SetCtl3D(bool value) noexcept { m_ctl3D = value; }
    [[nodiscard]] std::int32_t HelpContext() const noexcept { return m_helpContext; }
    void SetHelpContext(std::int32_t value) noexcept { m_helpContext = value; }

    virtual bool Execute() = 0;

private:
    bool m_ctl3D { true };
    std::int32_t m_helpContext { 0 };
};

enum TColorDialogOption : std::uint8_t { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

//! The colour dialog: a grid of 48 basic colours, 16 custom colours and an
//! entry of red, green and blue values from 0 to 255, with a preview.
//! CustomColors holds the custom colours as lines "ColorA=<hex>" to
//! "ColorP=<hex>" (the TColor value in hexadecimal); a missing or unreadable
//! line is white. Confirming sets Color and writes all sixteen lines back.
class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* owner);

    [[nodiscard]] TColor Color() const noexcept { return m_color; }
    void SetColor(TColor value) noexcept { m_color = value; }
    [[nodiscard]] TStrings& CustomColors() noexcept { return m_customColors; }
    void SetCustomColors(const TStrings& value) { m_customColors.Assign(&value); }
    [[nodiscard]] TColorDialogOptions Options() const noexcept { return m_options; }
    void SetOptions(TColorDialogOptions value) noexcept { m_options = value; }

    bool Execute() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

private:
    TColor m_color { clBlack };
    TStringList m_customColors;
    TColorDialogOptions m_options;
};

enum TFontDialogOption : std::uint8_t {
    fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSelChange, fdNoOEMFonts,
    fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize, fdScalableOnly,
    fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption>;

//! The font dialog: a font name (typed or picked from Screen.Fonts), a style,
//! a size in points and, with fdEffects, strikeout, underline and a colour,
//! with a sample. Confirming copies them into Font; an empty (or, with
//! fdForceFontExist, unknown) name or a size that is not a number from 1 to
//! 1638 (MinFontSize to MaxFontSize with fdLimitSize) is refused with a message.
class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* owner);

    [[nodiscard]] TFont& Font() noexcept { return m_font; }
    void SetFont(const TFont& value) { m_font.Assign(&value); }
    [[nodiscard]] TFontDialogOptions Options() const noexcept { return m_options; }
    void SetOptions(TFontDialogOptions value) noexcept { m_options = value; }
    [[nodiscard]] std::int32_t MinFontSize() const noexcept { return m_minFontSize; }
    void SetMinFontSize(std::int32_t value) noexcept { m_minFontSize = value; }
    [[nodiscard]] std::int32_t MaxFontSize() const noexcept { return m_maxFontSize; }
    void SetMaxFontSize(std::int32_t value) noexcept { m_maxFontSize = value; }

    bool Execute() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

private:
    TFont m_font;
    TFontDialogOptions m_options { fdEffects };
    std::int32_t m_minFontSize { 0 };
    std::int32_t m_maxFontSize { 0 };
};

enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : std::uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel { mbYes, mbNo, mbCancel };
inline constexpr TMsgDlgButtons mbOKCancel { mbOK, mbCancel };
inline constexpr TMsgDlgButtons mbAbortRetryIgnore { mbAbort, mbRetry, mbIgnore };

//! A message box form, not yet shown: an icon for the type, the text (wrapped
//! at half the screen's width) and a button for each of buttons, named
//! "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All" and "Help",
//! with their modal results. OK (or else Yes) is the default button, Cancel
//! (or else No, or else OK) the cancel button. The caller owns the form.
[[nodiscard]] std::unique_ptr<TForm> CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
//! Shows a message box and returns the modal result of the button pressed
//! (mrYes = 6, mrNo = 7, ...); closing it otherwise gives mrCancel.
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, std::int32_t helpContext);
//! A message box with an OK button, titled with the application's title.
void ShowMessage(const std::string& message);
//! Asks for a line of text: returns true and the text in value when the user
//! confirms, false (value unchanged) otherwise. The edit is named "Value".
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
//! The text the user confirmed, or defaultValue when cancelled.
[[nodiscard]] std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);

//! Enumeration names of the dialogs.
[[nodiscard]] const TEnumInfo& ColorDialogOptionInfo();
[[nodiscard]] const TEnumInfo& FontDialogOptionInfo();

} // namespace plx
