// Packages: libraries of components that a program loads and unloads at run
// time, and the table each one exports to describe itself.
#pragma once

#include "color/host/Resources.h"
#include "rtl/Set.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plx {

//! The version of TPackageInfoTable this host reads; a package built with
//! another layout is refused.
inline constexpr std::uint32_t kPackageInfoVersion = 1;

//! The run-time package of the host itself, which packages name among the
//! packages they require.
inline constexpr std::string_view kHostPackageName = "vcl30";

//! The exported C entry points of a package library: the information table,
//! the start-up of its units, and their shut-down.
inline constexpr const char* kPackageInfoEntry = "GetPackageInfoTable";
//! Runs the start-up of every unit the package contains, in loading order.
inline constexpr const char* kPackageInitializeEntry = "Initialize";
//! Runs the shut-down of the package's units, in reverse order.
inline constexpr const char* kPackageFinalizeEntry = "Finalize";

//! What kind of module a package is and where it may be used.
enum TPackageFlag : std::uint8_t {
    pfNeverBuild, //!< the package is not rebuilt with its users
    pfDesignOnly, //!< only form designers load it
    pfRunOnly, //!< only applications load it
    pfIgnoreDupUnits, //!< units it shares with other packages are not an error
    pfPackageModule, //!< the module is a package (set in every package)
};
//! A set of TPackageFlag, stored in TPackageInfoTable::Flags as its bits.
using TPackageFlags = TSet<TPackageFlag>;

//! A unit's design-time Register procedure, as a package lists it.
struct TUnitRegisterProc {
    const char* Unit; //!< the unit's name, "PlxReg"
    void (*Register)(); //!< what the designer calls after loading the package
};

//! What a package's GetPackageInfoTable returns: its identity, its units, the
//! packages it requires and the Register procedures a designer calls, in order.
//! Everything it points to lives in the package and is valid while it is loaded.
struct TPackageInfoTable {
    std::uint32_t Version; //!< kPackageInfoVersion
    std::uint32_t Flags; //!< TPackageFlags bits
    const char* Name; //!< the package's name, "Plumex"
    const char* Description; //!< what it offers, "Graphics Components"
    const char* const* Contains; //!< the contained units, in the package's order
    std::uint32_t ContainsCount; //!< how many Contains lists
    const char* const* Requires; //!< the packages it needs loaded first
    std::uint32_t RequiresCount; //!< how many Requires lists
    const TUnitRegisterProc* RegisterProcs; //!< the Register procedures, in calling order
    std::uint32_t RegisterCount; //!< how many RegisterProcs lists
    HINSTANCE Resources; //!< the package's resources (palette icons among them)
};

//! The signature of the exported GetPackageInfoTable.
using TGetPackageInfoTable = const TPackageInfoTable* (*)();
//! The signature of the exported Initialize and Finalize.
using TPackageEntryPoint = void (*)();

//! Whether a package is loaded into a form designer (its Register procedures
//! run) or into an application.
enum class TPackageUse : std::uint8_t { Design, Run };

//! A loaded package.
class TPackage {
public:
    TPackage(const TPackage&) = delete;
    TPackage& operator=(const TPackage&) = delete;

    //! The package's name, "Plumex".
    [[nodiscard]] const std::string& Name() const noexcept { return m_name; }
    //! The library's path, as loaded.
    [[nodiscard]] const std::string& FileName() const noexcept { return m_fileName; }
    //! The package's description, "Graphics Components".
    [[nodiscard]] std::string Description() const;
    //! The contained units, in the package's order.
    [[nodiscard]] std::vector<std::string> ContainedUnits() const;
    //! The packages it requires.
    [[nodiscard]] std::vector<std::string> RequiredPackages() const;
    //! The package's flags.
    [[nodiscard]] TPackageFlags Flags() const noexcept { return TPackageFlags::FromBits(m_info->Flags); }
    //! The table the package exported.
    [[nodiscard]] const TPackageInfoTable& Info() const noexcept { return *m_info; }
    //! The library's handle; its registrations belong to it (TRegistrationScope).
    [[nodiscard]] void* Handle() const noexcept { return m_handle; }
    //! The classes the package added to the class registry, by name.
    [[nodiscard]] const std::vector<std::string>& Classes() const noexcept { return m_classes; }
    //! True when address lies in the package's library (code, data or tables).
    [[nodiscard]] bool Contains(const void* address) const noexcept;

private:
    friend TPackage& LoadPackage(const std::string& fileName, TPackageUse use);
    friend void UnloadPackage(TPackage& package);
    TPackage() = default;

    std::string m_name;
    std::string m_fileName;
    void* m_handle { nullptr };
    const TPackageInfoTable* m_info { nullptr };
    TPackageEntryPoint m_finalize { nullptr };
    std::vector<std::string> m_classes;
};

//! Loads a package library: opens it, checks its table (a library without one,
//! or with another version, is not a package), checks that every package it
//! requires is loaded, runs its Initialize and, for TPackageUse::Design, its
//! Register procedures in order. Everything they register belongs to the
//! package. Raises EPackageError with a message naming the file and the reason;
//! a failed load leaves nothing of the package behind.
TPackage& LoadPackage(const std::string& fileName, TPackageUse use = TPackageUse::Design);
//! Unloads a package: refuses (EPackageError) while another loaded package
//! requires it or while a component of one of its classes is alive on a form
//! or owned by the application; otherwise runs its Finalize, takes everything
//! it registered out of the host's registries (palette, editors, form-file
//! classes) and closes the library.
void UnloadPackage(TPackage& package);
//! Unloads every package, the last loaded first; errors are left out (for a
//! program's shut-down).
void UnloadAllPackages() noexcept;
//! The loaded packages, in loading order.
[[nodiscard]] std::vector<TPackage*> LoadedPackages();
//! The loaded package of that name (without regard to case); null when none.
[[nodiscard]] TPackage* FindPackage(std::string_view name);
//! For a class that an unloaded package had registered, that package's name;
//! empty otherwise (explains why a form naming the class cannot be read).
[[nodiscard]] std::string UnloadedPackageOfClass(std::string_view className);
//! True while the library fileName is mapped into the process.
[[nodiscard]] bool LibraryMapped(const std::string& fileName);

} // namespace plx
