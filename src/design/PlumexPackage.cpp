#include "design/PlumexPackage.h"

#include "components/ArtLabel.h"
#include "components/ClrPanel.h"
#include "components/ColorBtns.h"
#include "components/KnCtrlsUnit.h"
#include "components/KnGradient.h"
#include "components/SImageBtn.h"
#include "components/ShadowButton.h"
#include "framework/Backgnd.h"
#include "framework/KnClasses.h"
#include "framework/host/Forms.h"
#include "rtl/UnitLifetime.h"
#include "paint/GrafMan.h"
#include "utils/APIMan.h"

#include <array>

// The build defines it from the project's version.
#ifndef PLUMEX_VERSION
#define PLUMEX_VERSION "0.0.0"
#endif

namespace plx {

// Each unit with process-wide objects declares its pair in its own header; they
// are listed here in loading order (every unit after the units it uses).
namespace {

struct UnitEntry {
    const char* name;
    void (*initialize)();
    void (*finalize)();
};

const std::array<UnitEntry, 22>& Units()
{
    static const std::array<UnitEntry, 22> units { {
        { "NumMan", nullptr, nullptr },
        { "StrMan", nullptr, nullptr },
        { "VBitmap", nullptr, nullptr },
        { "ColorMan", nullptr, nullptr },
        { "DrawMan", nullptr, nullptr },
        { "APIMan", InitializeAPIMan, FinalizeAPIMan },
        { "KnClasses", InitializeKnClasses, FinalizeKnClasses },
        { "Gradient", InitializeGradient, FinalizeGradient },
        { "ArtLabel", InitializeArtLabel, FinalizeArtLabel },
        { "Backgnd", InitializeBackgnd, FinalizeBackgnd },
        { "ClrPanel", InitializeClrPanel, FinalizeClrPanel },
        { "ColorBtns", InitializeColorBtns, FinalizeColorBtns },
        { "ColorBtnEdit", nullptr, nullptr },
        { "DateMan", nullptr, nullptr },
        { "KnAboutEditor", nullptr, nullptr },
        { "KnCtrls", InitializeKnCtrls, FinalizeKnCtrls },
        { "GradEditor", nullptr, nullptr },
        { "ShadowButton", InitializeShadowButton, FinalizeShadowButton },
        { "GrafMan", InitializeGrafMan, FinalizeGrafMan },
        { "SImageBtn", InitializeSImageBtn, FinalizeSImageBtn },
        { "PlxReg", nullptr, nullptr },
        { "Fileman", nullptr, nullptr },
    } };
    return units;
}

TUnitLifetime g_package;

} // namespace

const char* PackageName() noexcept
{
    return "Plumex";
}

const char* PackageDescription() noexcept
{
    return "Graphics Components";
}

const char* PackageVersion() noexcept
{
    return PLUMEX_VERSION;
}

void InitializePackage()
{
    if (!g_package.Initialize())
        return;
    // The package requires the host's run-time package, which starts first.
    InitializeControls();
    for (const auto& unit : Units())
        if (unit.initialize)
            unit.initialize();
}

void FinalizePackage()
{
    if (!g_package.Finalize())
        return;
    const auto& units = Units();
    for (auto it = units.rbegin(); it != units.rend(); ++it)
        if (it->finalize)
            it->finalize();
    FinalizeControls();
}

std::vector<std::string> PackageUnits()
{
    std::vector<std::string> names;
    for (const auto& unit : Units())
        names.emplace_back(unit.name);
    return names;
}

} // namespace plx
