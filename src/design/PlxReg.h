// PlxReg: the package's registration with a form designer: the eleven
// components on the palette page "Plumex", their component editors and the
// editor of every TGradient property.
#pragma once

#include "framework/host/DesignEditors.h"
#include "framework/host/Packages.h"

#include <cstdint>
#include <span>
#include <string>

namespace plx {

class TGradient;

//! The component editor of the package's components: one verb, "&About The
//! Author", which shows the about box. A double click does what the host's
//! default editor does.
class TKnEditor : public TDefaultEditor {
public:
    using TDefaultEditor::TDefaultEditor;

    //! 1.
    [[nodiscard]] std::int32_t GetVerbCount() const override;
    //! Index 0: "&About The Author"; any other index: empty.
    [[nodiscard]] std::string GetVerb(std::int32_t index) const override;
    //! Index 0 shows the about box; other indices do nothing.
    void ExecuteVerb(std::int32_t index) override;
};

//! The component editor of TKnGradient: the about verb and "&Edit Gradient
//! Fill", which opens the gradient dialog on the component's Gradient, as a
//! double click does.
class TGradientEditor : public TKnEditor {
public:
    using TKnEditor::TKnEditor;

    //! The inherited count plus one (2).
    [[nodiscard]] std::int32_t GetVerbCount() const override;
    //! Index 1: "&Edit Gradient Fill"; otherwise the inherited verb.
    [[nodiscard]] std::string GetVerb(std::int32_t index) const override;
    //! Index 1: the gradient dialog on a TKnGradient's Gradient; otherwise the
    //! inherited action.
    void ExecuteVerb(std::int32_t index) override;

protected:
    //! The property named "Gradient" (without regard to case) is edited with its
    //! own editor, which opens the gradient dialog, and the walk ends there.
    void EditProperty(TPropertyEditor& propertyEditor, bool& continueEditing) override;
};

//! The editor of every published TGradient property, in any component: the
//! gradient's own properties as sub-properties, and the gradient dialog.
class TGradientProperty : public TClassProperty {
public:
    using TClassProperty::TClassProperty;

    //! Opens the gradient dialog on the property's gradient, which it changes in place.
    void Edit() override;
    //! paSubProperties and paDialog.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
};

//! The unit PlxReg.
namespace PlxReg {
//! The package's main registration, in this order: the eleven components on
//! the page "Plumex" (TApples, TBackground, TShadowButton, TColorPanel,
//! TColor95Button, TSImageBtn, TBCBitmap, TClrBevel, TArtLabel, TKnGradient,
//! TKnScroll, one call each); TGradientEditor for TKnGradient; TKnEditor for
//! TApples, TBackground, TColorPanel, TShadowButton, TBCBitmap, TArtLabel,
//! TSImageBtn, TClrBevel and TKnScroll; TGradientProperty for every TGradient
//! property.
void Register();
} // namespace PlxReg

//! The unit Backgnd.
namespace Backgnd {
//! Puts TBackground on the page "Plumex" (again).
void Register();
} // namespace Backgnd

//! The unit ColorBtns.
namespace ColorBtns {
//! Puts TColor95Button on the page "Plumex" (again).
void Register();
} // namespace ColorBtns

//! The unit SImageBtn.
namespace SImageBtn {
//! Puts TSImageBtn on the page "Plumex" (again).
void Register();
} // namespace SImageBtn

//! The unit ShadowButton.
namespace ShadowButton {
//! Puts TShadowButton on the page "Plumex" (again).
void Register();
} // namespace ShadowButton

//! The package's Register procedures in the order a designer calls them:
//! PlxReg's first (which sets the palette's order), then those of Backgnd,
//! ColorBtns, SImageBtn and ShadowButton, which repeat four of its
//! registrations.
[[nodiscard]] std::span<const TUnitRegisterProc> PackageRegisterProcs() noexcept;

} // namespace plx
