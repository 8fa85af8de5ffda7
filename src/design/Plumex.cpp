// Plumex: the package's own unit, built into the loadable package only
// (libPlumex.so): the entry points a host finds by name.
#include "color/host/Resources.h"
#include "design/PlumexPackage.h"
#include "design/PlxReg.h"
#include "framework/host/Packages.h"

#include <array>

namespace {

// The package's units in the package's own order; "SysInit" is the host's
// start-up unit, which every package contains.
constexpr std::array<const char*, 24> kContains { "Plumex", "VBitmap", "SysInit", "NumMan", "StrMan", "SImageBtn", "ColorMan",
    "DrawMan", "GrafMan", "ShadowButton", "Gradient", "GradEditor", "Fileman", "PlxReg", "ColorBtns", "APIMan", "ClrPanel",
    "Backgnd", "KnClasses", "ArtLabel", "KnAboutEditor", "KnCtrls", "DateMan", "ColorBtnEdit" };

constexpr std::array<const char*, 1> kRequires { "vcl30" };

} // namespace

extern "C" {

//! The package's information table: its name, description, units, required
//! packages, flags and Register procedures.
const plx::TPackageInfoTable* GetPackageInfoTable()
{
    static const plx::TPackageInfoTable table {
        plx::kPackageInfoVersion,
        plx::TPackageFlags { plx::pfPackageModule, plx::pfDesignOnly }.Bits(),
        plx::PackageName(),
        plx::PackageDescription(),
        kContains.data(),
        static_cast<std::uint32_t>(kContains.size()),
        kRequires.data(),
        static_cast<std::uint32_t>(kRequires.size()),
        plx::PackageRegisterProcs().data(),
        static_cast<std::uint32_t>(plx::PackageRegisterProcs().size()),
        plx::HInstance(),
    };
    return &table;
}

//! Starts the package's units in loading order (each only once).
void Initialize()
{
    plx::InitializePackage();
}

//! Stops the package's units in reverse order.
void Finalize()
{
    plx::FinalizePackage();
}

} // extern "C"
