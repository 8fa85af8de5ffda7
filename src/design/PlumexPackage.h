// The package frame: starting and stopping every unit of Plumex in order.
#pragma once

#include <string>
#include <vector>

namespace plx {

//! "Plumex", described as "Graphics Components".
[[nodiscard]] const char* PackageName() noexcept;
[[nodiscard]] const char* PackageDescription() noexcept;

//! Initialises every unit in loading order (NumMan, StrMan, VBitmap, ColorMan,
//! DrawMan, ...); a second call only counts.
void InitializePackage();
//! Finalises the units in reverse order when the last initialisation is balanced.
void FinalizePackage();
//! The units in loading order, as the package starts them.
[[nodiscard]] std::vector<std::string> PackageUnits();

//! Initialises the package for the lifetime of the object.
class TPackageScope {
public:
    TPackageScope() { InitializePackage(); }
    ~TPackageScope() { FinalizePackage(); }
    TPackageScope(const TPackageScope&) = delete;
    TPackageScope& operator=(const TPackageScope&) = delete;
};

} // namespace plx
