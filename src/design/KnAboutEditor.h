// KnAboutEditor: the package's about box, with its picture, a description and
// two links, shown by the component editors' about verb.
#pragma once

#include "framework/host/Forms.h"

#include <string>
#include <string_view>
#include <vector>

namespace plx {

class TImage;

//! The about box, read from the package's form resource "TKnCmpAbout" with its
//! handlers bound by name: the package's picture "MYFACE" in a lowered panel, a
//! description, a web link (Label1) and a mail link (Label2), blue and
//! underlined, and a "&Close" button (modal result mrOk). A click on a link
//! opens the label's own caption (OpenLink); a failure is ignored and the box
//! stays open.
class TKnCmpAbout : public TForm {
public:
    //! Reads the form, then fires OnCreate (FormCreate).
    explicit TKnCmpAbout(TComponent* owner);

    //! \name Handlers, bound by name from the form file

    //! OnCreate: loads Image1's picture from the package's bitmap "MYFACE".
    void FormCreate(TObject* sender);
    //! The web link: opens Label1's caption.
    void Label1Click(TObject* sender);
    //! The mail link: opens Label2's caption.
    void Label2Click(TObject* sender);

private:
    void OpenCaption(const std::string& labelName);
};

//! Shows the about box modally: creates it (owned by the application) and
//! frees it when it closes.
void ShowCmpAbout();

//! Asks the desktop to open target with the program it has for it, when target
//! is an "http:", "https:" or "mailto:" link without control characters:
//! xdg-open is started directly (no shell; the link is its one argument) and
//! not waited for. With the headless platform the request is recorded instead
//! (RecordedLinks). Returns whether the request was made; a program that then
//! fails is not noticed. Never raises.
bool OpenLink(std::string_view target) noexcept;

//! The links OpenLink recorded instead of opening them (headless platform),
//! oldest first.
[[nodiscard]] std::vector<std::string> RecordedLinks();
//! Forgets the recorded links.
void ClearRecordedLinks() noexcept;

} // namespace plx
