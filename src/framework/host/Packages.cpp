#include "framework/host/Packages.h"

#include "framework/host/DesignIntf.h"
#include "framework/host/Forms.h"
#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <set>
#include <typeinfo>

namespace plx {

namespace {

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The process's packages. Only the host's own memory is kept here after a
// package goes: its name and the names of its classes.
struct PackageList {
    std::vector<std::unique_ptr<TPackage>> loaded;
    std::map<std::string, std::string, std::less<>> unloadedClasses; //!< class name -> package name
};

PackageList& Packages()
{
    static PackageList list;
    return list;
}

std::string DlError()
{
    const char* error = dlerror();
    return error ? error : "unknown error";
}

// The object (main program or library) an address lies in.
const link_map* ObjectOf(const void* address) noexcept
{
    Dl_info info {};
    link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP))
        return nullptr;
    return map;
}

const link_map* ObjectOfHandle(void* handle) noexcept
{
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0)
        return nullptr;
    return map;
}

std::set<std::string> RegisteredClassNames()
{
    std::set<std::string> names;
    for (const TClassInfo* info : RegisteredClasses())
        names.insert(info->Name());
    return names;
}

// Calls into the package, turning anything it throws into one message.
template <class F>
std::optional<std::string> Guarded(F call) noexcept
{
    try {
        call();
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    } catch (...) {
        return std::string("an unknown error");
    }
}

// Components whose class lives in the package, among the forms on the screen
// and what the application owns, everything they own included.
void CollectInstances(const TPackage& package, const TComponent& c, std::vector<std::string>& found)
{
    if (package.Contains(&typeid(c))) {
        std::string where = c.Owner() && !c.Owner()->Name().empty() ? c.Owner()->Name() + "." : std::string();
        found.push_back(where + (c.Name().empty() ? std::string("(unnamed)") : c.Name()) + ": " + c.ClassName());
    }
    for (std::int32_t i = 0; i < c.ComponentCount(); ++i)
        CollectInstances(package, *c.Components(i), found);
}

std::vector<std::string> LiveInstances(const TPackage& package)
{
    std::vector<std::string> found;
    if (!InitializedApplication())
        return found;
    CollectInstances(package, Application(), found);
    for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
        if (!Screen().Forms(i)->Owner())
            CollectInstances(package, *Screen().Forms(i), found);
    return found;
}

// Takes out whatever the package left in the host's registries and closes it.
void Release(TPackage& package) noexcept
{
    UnregisterModule(package.Handle());
    UnregisterClasses([&](const TClassInfo& info) { return package.Contains(&info); });
    dlclose(package.Handle());
}

void Forget(const TPackage& package)
{
    auto& loaded = Packages().loaded;
    std::erase_if(loaded, [&](const std::unique_ptr<TPackage>& p) { return p.get() == &package; });
}

} // namespace

// ---- TPackage ------------------------------------------------------------

std::string TPackage::Description() const
{
    return m_info->Description ? m_info->Description : "";
}

std::vector<std::string> TPackage::ContainedUnits() const
{
    std::vector<std::string> units;
    for (std::uint32_t i = 0; i < m_info->ContainsCount; ++i)
        units.emplace_back(m_info->Contains[i] ? m_info->Contains[i] : "");
    return units;
}

std::vector<std::string> TPackage::RequiredPackages() const
{
    std::vector<std::string> packages;
    for (std::uint32_t i = 0; i < m_info->RequiresCount; ++i)
        packages.emplace_back(m_info->Requires[i] ? m_info->Requires[i] : "");
    return packages;
}

bool TPackage::Contains(const void* address) const noexcept
{
    const link_map* object = ObjectOf(address);
    return object && object == ObjectOfHandle(m_handle);
}

// ---- Loading -------------------------------------------------------------

TPackage& LoadPackage(const std::string& fileName, TPackageUse use)
{
    const std::string what = "Cannot load package " + fileName + ": ";
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        throw EPackageError(what + "there is no such file");
    // The package's symbols stay its own (RTLD_LOCAL): nothing outside it can
    // bind to them, so nothing keeps it loaded after it is closed.
    void* handle = dlopen(std::filesystem::absolute(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw EPackageError(what + DlError());

    auto package = std::unique_ptr<TPackage>(new TPackage);
    package->m_fileName = fileName;
    package->m_handle = handle;
    auto refuse = [&](const std::string& reason) {
        dlclose(handle);
        throw EPackageError(what + reason);
    };

    // Only the library's own table counts: dlsym would also find one in a
    // library it depends on.
    auto getInfo = reinterpret_cast<TGetPackageInfoTable>(dlsym(handle, kPackageInfoEntry));
    if (!getInfo || !package->Contains(reinterpret_cast<const void*>(getInfo)))
        refuse("it is not a package (it exports no " + std::string(kPackageInfoEntry) + ")");
    const TPackageInfoTable* info = getInfo();
    if (!info || info->Version != kPackageInfoVersion)
        refuse("its package information has version " + std::to_string(info ? info->Version : 0) + ", this host reads version "
            + std::to_string(kPackageInfoVersion));
    const TPackageFlags flags = TPackageFlags::FromBits(info->Flags);
    if (!flags.Contains(pfPackageModule) || !info->Name || !*info->Name)
        refuse("it is not a package (its information does not describe one)");
    package->m_info = info;
    package->m_name = info->Name;
    if (use == TPackageUse::Run && flags.Contains(pfDesignOnly))
        refuse("package " + package->m_name + " is a design-time package");
    if (use == TPackageUse::Design && flags.Contains(pfRunOnly))
        refuse("package " + package->m_name + " is a run-time only package");
    if (TPackage* same = FindPackage(package->m_name))
        refuse("package " + package->m_name + " is already loaded (from " + same->FileName() + ")");
    for (const std::string& required : package->RequiredPackages())
        if (!SameText(required, kHostPackageName) && !FindPackage(required))
            refuse("package " + package->m_name + " requires package " + required + ", which is not loaded");
    auto initialize = reinterpret_cast<TPackageEntryPoint>(dlsym(handle, kPackageInitializeEntry));
    package->m_finalize = reinterpret_cast<TPackageEntryPoint>(dlsym(handle, kPackageFinalizeEntry));
    if (!initialize || !package->m_finalize || !package->Contains(reinterpret_cast<const void*>(initialize))
        || !package->Contains(reinterpret_cast<const void*>(package->m_finalize)))
        refuse("package " + package->m_name + " exports no " + kPackageInitializeEntry + " and " + kPackageFinalizeEntry);

    const std::set<std::string> before = RegisteredClassNames();
    TPackage& loaded = *package;
    Packages().loaded.push_back(std::move(package));
    auto undo = [&](const std::string& reason, bool started) {
        if (started)
            (void)Guarded([&] { loaded.m_finalize(); });
        Release(loaded);
        Forget(loaded);
        throw EPackageError(what + reason);
    };
    // Whatever the package registers, from its units' start-up on, is its own.
    TRegistrationScope scope(handle, info->Resources);
    if (auto failure = Guarded([&] { initialize(); }))
        undo("package " + loaded.m_name + " failed to start: " + *failure, true);
    if (use == TPackageUse::Design) {
        for (std::uint32_t i = 0; i < info->RegisterCount; ++i) {
            const TUnitRegisterProc& proc = info->RegisterProcs[i];
            if (!proc.Register)
                continue;
            if (auto failure = Guarded(proc.Register))
                undo("Register of unit " + std::string(proc.Unit ? proc.Unit : "?") + " failed: " + *failure, true);
        }
    }
    for (const std::string& name : RegisteredClassNames())
        if (!before.contains(name))
            loaded.m_classes.push_back(name);
    for (const std::string& page : PalettePages())
        for (const TPaletteEntry& e : PaletteEntries(page))
            if (e.Module == handle
                && std::find(loaded.m_classes.begin(), loaded.m_classes.end(), e.Class->Name()) == loaded.m_classes.end())
                loaded.m_classes.push_back(e.Class->Name());
    for (const std::string& name : loaded.m_classes)
        Packages().unloadedClasses.erase(name);
    return loaded;
}

void UnloadPackage(TPackage& package)
{
    const std::string what = "Cannot unload package " + package.Name() + ": ";
    for (const auto& other : Packages().loaded)
        if (other.get() != &package)
            for (const std::string& required : other->RequiredPackages())
                if (SameText(required, package.Name()))
                    throw EPackageError(what + "package " + other->Name() + " requires it");
    const std::vector<std::string> instances = LiveInstances(package);
    if (!instances.empty()) {
        std::string list;
        for (const std::string& name : instances)
            list += (list.empty() ? "" : ", ") + name;
        throw EPackageError(what + "components of its classes are still in use (" + list + ")");
    }
    // A failing shut-down still unloads: the package is not used any more.
    (void)Guarded([&] { package.m_finalize(); });
    Release(package);
    for (const std::string& name : package.m_classes)
        Packages().unloadedClasses[name] = package.Name();
    Forget(package);
}

void UnloadAllPackages() noexcept
{
    auto& loaded = Packages().loaded;
    while (!loaded.empty()) {
        TPackage& last = *loaded.back();
        try {
            UnloadPackage(last);
        } catch (...) {
            // Still in use: it stays loaded until the process ends.
            loaded.pop_back();
        }
    }
}

std::vector<TPackage*> LoadedPackages()
{
    std::vector<TPackage*> packages;
    for (const auto& p : Packages().loaded)
        packages.push_back(p.get());
    return packages;
}

TPackage* FindPackage(std::string_view name)
{
    for (const auto& p : Packages().loaded)
        if (SameText(p->Name(), name))
            return p.get();
    return nullptr;
}

std::string UnloadedPackageOfClass(std::string_view className)
{
    for (const auto& [name, package] : Packages().unloadedClasses)
        if (SameText(name, className))
            return package;
    return {};
}

bool LibraryMapped(const std::string& fileName)
{
    void* handle = dlopen(std::filesystem::absolute(fileName).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

} // namespace plx
