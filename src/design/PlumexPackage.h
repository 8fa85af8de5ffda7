// The package frame: starting and stopping every unit of Plumex in order.
#pragma once

#include <string>
#include <vector>

namespace plx {

//! The package's name, "Plumex".
[[nodiscard]] const char* PackageName() noexcept;
//! The package's description, "Graphics Components".
[[nodiscard]] const char* PackageDescription() noexcept;
//! The library's version, "major.minor.patch" (for example "0.2.0").
[[nodiscard]] const char* PackageVersion() noexcept;

//! Initialises every unit in loading order (NumMan, StrMan, VBitmap, ColorMan,
//! DrawMan, ...); a second call only counts. Prefer a TPackageScope, which
//! pairs the call with FinalizePackage.
void InitializePackage();
//! Finalises the units in reverse order when the last initialisation is balanced.
void FinalizePackage();
//! The units in loading order, as the package starts them.
[[nodiscard]] std::vector<std::string> PackageUnits();

//! Starts the package for the lifetime of the object: the one thing a program
//! must do before it calls the library. Create one at the top of `main`, before
//! any bitmap, form or component, and let it go out of scope last:
//! \code
//! int main()
//! {
//!     plx::TPackageScope package;
//!     // ... use the library ...
//! }
//! \endcode
//! Units that own process-wide objects create them here: the bitmap filters'
//! result bitmap, the shared timer, the application and the screen. A routine
//! called without them raises EInvalidOperation saying what to create. Scopes
//! nest; only the outermost one starts and stops the units.
class TPackageScope {
public:
    //! Calls InitializePackage.
    TPackageScope() { InitializePackage(); }
    //! Calls FinalizePackage.
    ~TPackageScope() { FinalizePackage(); }
    TPackageScope(const TPackageScope&) = delete;
    TPackageScope& operator=(const TPackageScope&) = delete;
};

} // namespace plx
