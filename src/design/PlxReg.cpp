#include "design/PlxReg.h"

#include "components/Apples.h"
#include "components/ArtLabel.h"
#include "components/BCBitmap.h"
#include "components/ClrPanel.h"
#include "components/ColorBtns.h"
#include "components/KnGradient.h"
#include "components/KnScroll.h"
#include "components/SImageBtn.h"
#include "components/ShadowButton.h"
#include "design/GradEditor.h"
#include "design/KnAboutEditor.h"
#include "framework/Backgnd.h"
#include "paint/Gradient.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace plx {

namespace {

constexpr const char* kPalettePage = "Plumex";

// One class per call, as the palette's order depends on it.
void RegisterOnPalette(const TClassInfo* cls)
{
    RegisterComponents(kPalettePage, { cls });
}

void RegisterEditor(const TClassInfo& cls, TComponentEditorClass editorClass)
{
    RegisterComponentEditor(cls, std::move(editorClass));
}

bool IsGradientName(const std::string& name)
{
    constexpr std::string_view kGradient = "GRADIENT";
    return name.size() == kGradient.size() && std::equal(name.begin(), name.end(), kGradient.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

} // namespace

// ---- TKnEditor -----------------------------------------------------------

std::int32_t TKnEditor::GetVerbCount() const
{
    return 1;
}

std::string TKnEditor::GetVerb(std::int32_t index) const
{
    return index == 0 ? "&About The Author" : std::string();
}

void TKnEditor::ExecuteVerb(std::int32_t index)
{
    if (index == 0)
        ShowCmpAbout();
}

// ---- TGradientEditor -----------------------------------------------------

std::int32_t TGradientEditor::GetVerbCount() const
{
    return TKnEditor::GetVerbCount() + 1;
}

std::string TGradientEditor::GetVerb(std::int32_t index) const
{
    return index == 1 ? "&Edit Gradient Fill" : TKnEditor::GetVerb(index);
}

void TGradientEditor::ExecuteVerb(std::int32_t index)
{
    if (index != 1) {
        TKnEditor::ExecuteVerb(index);
        return;
    }
    if (auto* gradient = dynamic_cast<TKnGradient*>(&Component())) {
        if (EditGradient(gradient->Gradient()) && Designer())
            Designer()->Modified();
        return;
    }
    TKnEditor::ExecuteVerb(index);
}

void TGradientEditor::EditProperty(TPropertyEditor& propertyEditor, bool& continueEditing)
{
    if (IsGradientName(propertyEditor.GetName())) {
        propertyEditor.Edit();
        continueEditing = false;
        return;
    }
    TKnEditor::EditProperty(propertyEditor, continueEditing);
}

// ---- TGradientProperty ---------------------------------------------------

void TGradientProperty::Edit()
{
    auto* gradient = dynamic_cast<TGradient*>(GetObjectValue());
    if (gradient && EditGradient(*gradient))
        Modified();
}

TPropertyAttributes TGradientProperty::GetAttributes() const
{
    return { paSubProperties, paDialog };
}

// ---- Register procedures -------------------------------------------------

namespace PlxReg {

void Register()
{
    // The palette's order.
    for (const TClassInfo* cls : { &TApples::StaticClassInfo(), &TBackground::StaticClassInfo(),
             &TShadowButton::StaticClassInfo(), &TColorPanel::StaticClassInfo(), &TColor95Button::StaticClassInfo(),
             &TSImageBtn::StaticClassInfo(), &TBCBitmap::StaticClassInfo(), &TClrBevel::StaticClassInfo(),
             &TArtLabel::StaticClassInfo(), &TKnGradient::StaticClassInfo(), &TKnScroll::StaticClassInfo() })
        RegisterOnPalette(cls);
    RegisterEditor(TKnGradient::StaticClassInfo(), TComponentEditorClass::Of<TGradientEditor>());
    // TColor95Button has no component editor of this unit.
    for (const TClassInfo* cls : { &TApples::StaticClassInfo(), &TBackground::StaticClassInfo(),
             &TColorPanel::StaticClassInfo(), &TShadowButton::StaticClassInfo(), &TBCBitmap::StaticClassInfo(),
             &TArtLabel::StaticClassInfo(), &TSImageBtn::StaticClassInfo(), &TClrBevel::StaticClassInfo(),
             &TKnScroll::StaticClassInfo() })
        RegisterEditor(*cls, TComponentEditorClass::Of<TKnEditor>());
    RegisterPropertyEditor(TGradient::StaticClassInfo(), nullptr, "", TPropertyEditorClass::Of<TGradientProperty>());
}

} // namespace PlxReg

namespace Backgnd {

void Register()
{
    RegisterOnPalette(&TBackground::StaticClassInfo());
}

} // namespace Backgnd

namespace ColorBtns {

void Register()
{
    RegisterOnPalette(&TColor95Button::StaticClassInfo());
}

} // namespace ColorBtns

namespace SImageBtn {

void Register()
{
    RegisterOnPalette(&TSImageBtn::StaticClassInfo());
}

} // namespace SImageBtn

namespace ShadowButton {

void Register()
{
    RegisterOnPalette(&TShadowButton::StaticClassInfo());
}

} // namespace ShadowButton

std::span<const TUnitRegisterProc> PackageRegisterProcs() noexcept
{
    static constexpr std::array<TUnitRegisterProc, 5> procs { {
        { "PlxReg", &PlxReg::Register },
        { "Backgnd", &Backgnd::Register },
        { "ColorBtns", &ColorBtns::Register },
        { "SImageBtn", &SImageBtn::Register },
        { "ShadowButton", &ShadowButton::Register },
    } };
    return procs;
}

} // namespace plx
