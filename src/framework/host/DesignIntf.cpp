#include "framework/host/DesignIntf.h"

#include "color/host/Bitmap.h"
#include "framework/host/Component.h"
#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace plx {

namespace {

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// How many steps up the class tree ancestor is from cls; -1 when it is not an ancestor.
int Distance(const TClassInfo& cls, const TClassInfo& ancestor) noexcept
{
    int steps = 0;
    for (const TClassInfo* c = &cls; c; c = c->Parent(), ++steps)
        if (c == &ancestor)
            return steps;
    return -1;
}

struct ComponentEditorEntry {
    const TClassInfo* componentClass;
    TComponentEditorClass editorClass;
    const void* module;
};

struct PropertyEditorEntry {
    TPropertyType type;
    const TClassInfo* componentClass;
    std::string propertyName;
    TPropertyEditorClass editorClass;
    const void* module;
};

// The registries live here, in the host layer, for the whole process: a
// package's entries are taken out by UnregisterModule before it unloads, so
// nothing here points into a library that is gone.
struct Registries {
    const void* module { nullptr };
    HINSTANCE resources { nullptr };
    std::vector<TPaletteEntry> palette;
    std::vector<std::string> pages;
    std::vector<ComponentEditorEntry> componentEditors;
    std::vector<PropertyEditorEntry> propertyEditors;
};

Registries& State()
{
    static Registries registries;
    return registries;
}

std::shared_ptr<const TBitmap> LoadIcon(HINSTANCE resources, const std::string& className)
{
    if (!resources)
        return nullptr;
    const std::string name = UpperCase(className);
    if (!FindResource(resources, name, RT_BITMAP))
        return nullptr;
    try {
        auto icon = std::make_shared<TBitmap>();
        icon->LoadFromResourceName(resources, name);
        return icon;
    } catch (const Exception&) {
        // A broken picture leaves the class without an icon, not off the palette.
        return nullptr;
    }
}

void ForgetUnusedPages(Registries& r)
{
    std::erase_if(r.pages, [&](const std::string& page) {
        return std::none_of(r.palette.begin(), r.palette.end(), [&](const TPaletteEntry& e) { return e.Page == page; });
    });
}

} // namespace

TRegistrationScope::TRegistrationScope(const void* module, HINSTANCE resources)
    : m_previousModule(State().module)
    , m_previousResources(State().resources)
{
    State().module = module;
    State().resources = resources;
}

TRegistrationScope::~TRegistrationScope()
{
    State().module = m_previousModule;
    State().resources = m_previousResources;
}

void UnregisterModule(const void* module)
{
    Registries& r = State();
    std::erase_if(r.palette, [&](const TPaletteEntry& e) { return e.Module == module; });
    ForgetUnusedPages(r);
    std::erase_if(r.componentEditors, [&](const ComponentEditorEntry& e) { return e.module == module; });
    std::erase_if(r.propertyEditors, [&](const PropertyEditorEntry& e) { return e.module == module; });
}

// ---- Palette -------------------------------------------------------------

void RegisterComponents(const std::string& page, std::span<const TClassInfo* const> classes)
{
    Registries& r = State();
    for (const TClassInfo* cls : classes) {
        if (!cls)
            continue;
        if (!cls->Creator())
            throw EComponentError("Cannot put " + cls->Name() + " on the palette: it is not a component class");
        if (FindPaletteEntry(cls->Name()))
            continue;
        r.palette.push_back({ page, cls, LoadIcon(r.resources, cls->Name()), r.module });
        if (std::find(r.pages.begin(), r.pages.end(), page) == r.pages.end())
            r.pages.push_back(page);
    }
}

void RegisterComponents(const std::string& page, std::initializer_list<const TClassInfo*> classes)
{
    RegisterComponents(page, std::span<const TClassInfo* const>(classes.begin(), classes.size()));
}

std::vector<std::string> PalettePages()
{
    return State().pages;
}

std::vector<TPaletteEntry> PaletteEntries(std::string_view page)
{
    std::vector<TPaletteEntry> entries;
    for (const TPaletteEntry& e : State().palette)
        if (e.Page == page)
            entries.push_back(e);
    return entries;
}

const TPaletteEntry* FindPaletteEntry(std::string_view className)
{
    for (const TPaletteEntry& e : State().palette)
        if (SameText(e.Class->Name(), className))
            return &e;
    return nullptr;
}

// ---- Component editors ---------------------------------------------------

void RegisterComponentEditor(const TClassInfo& componentClass, TComponentEditorClass editorClass)
{
    if (!editorClass.Create)
        throw EComponentError("The component editor for " + componentClass.Name() + " has no constructor");
    Registries& r = State();
    r.componentEditors.push_back({ &componentClass, std::move(editorClass), r.module });
}

const TComponentEditorClass* FindComponentEditorClass(const TClassInfo& componentClass)
{
    const ComponentEditorEntry* best = nullptr;
    int bestDistance = 0;
    // The latest registration wins among equals, so the list is walked forwards
    // and a tie replaces the earlier find.
    for (const ComponentEditorEntry& e : State().componentEditors) {
        const int d = Distance(componentClass, *e.componentClass);
        if (d >= 0 && (!best || d <= bestDistance)) {
            best = &e;
            bestDistance = d;
        }
    }
    return best ? &best->editorClass : nullptr;
}

// ---- Property editors ----------------------------------------------------

TPropertyType::TPropertyType(const TClassInfo& classType)
    : m_class(&classType)
    , m_name(classType.Name())
{
}

TPropertyType::TPropertyType(std::string typeName)
    : m_name(std::move(typeName))
{
}

void RegisterPropertyEditor(const TPropertyType& propertyType, const TClassInfo* componentClass,
    const std::string& propertyName, TPropertyEditorClass editorClass)
{
    if (!editorClass.Create)
        throw EComponentError("The property editor for " + propertyType.Name() + " has no constructor");
    Registries& r = State();
    r.propertyEditors.push_back({ propertyType, componentClass, propertyName, std::move(editorClass), r.module });
}

const TPropertyEditorClass* FindPropertyEditorClass(const TPropertyContext& context)
{
    if (!context.Property || !context.Component || !context.Instance)
        return nullptr;
    const TPropInfo& prop = *context.Property;
    // A sub-object property is matched by the class of the object it holds.
    const TClassInfo* objectClass = nullptr;
    if (prop.Kind == TTypeKind::tkClass && prop.Object)
        if (const TPersistent* object = prop.Object(*context.Instance))
            objectClass = &object->ClassType();

    // Ranked by: names the property, nearness of the component class, nearness
    // of the property class; later registrations win ties.
    using Rank = std::tuple<int, int, int>;
    const PropertyEditorEntry* best = nullptr;
    Rank bestRank;
    for (const PropertyEditorEntry& e : State().propertyEditors) {
        int typeRank = 0;
        if (e.type.Class()) {
            const int d = objectClass ? Distance(*objectClass, *e.type.Class()) : (SameText(prop.TypeName, e.type.Name()) ? 0 : -1);
            if (d < 0)
                continue;
            typeRank = -d;
        } else if (!SameText(prop.TypeName, e.type.Name())) {
            continue;
        }
        int componentRank = -1000000;
        if (e.componentClass) {
            const int d = Distance(context.Component->ClassType(), *e.componentClass);
            if (d < 0)
                continue;
            componentRank = -d;
        }
        if (!e.propertyName.empty() && !SameText(e.propertyName, prop.Name))
            continue;
        const Rank rank { e.propertyName.empty() ? 0 : 1, componentRank, typeRank };
        if (!best || rank >= bestRank) {
            best = &e;
            bestRank = rank;
        }
    }
    return best ? &best->editorClass : nullptr;
}

} // namespace plx
