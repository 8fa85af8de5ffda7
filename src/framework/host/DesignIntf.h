// DesignIntf: what a form designer and the design-time parts of packages share:
// the palette, the registries of component and property editors, and the
// designer as editors see it.
#pragma once

#include "color/host/Resources.h"
#include "rtl/Persistent.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace plx {

class TBitmap;
class TClassInfo;
class TComponent;
class TComponentEditor;
class TPropertyEditor;
struct TPropInfo;

//! The form designer, as component and property editors talk to it.
class IDesigner {
public:
    virtual ~IDesigner() = default;

    //! The component being designed (the form).
    [[nodiscard]] virtual TComponent* Root() const = 0;
    //! An editor changed the root or one of its components: the designer
    //! repaints, refreshes its inspector and marks the form as changed.
    virtual void Modified() = 0;
    //! A name that no component of the root has: base ("KnGradient") followed by
    //! the lowest number that is free.
    [[nodiscard]] virtual std::string UniqueName(const std::string& base) = 0;
    //! Makes instance (a component of the root, or the root) the selection.
    virtual void SelectComponent(TPersistent* instance) = 0;
    //! An event of a component was bound to the handler name; the designer
    //! shows where that handler goes.
    virtual void ShowMethod(const std::string& name) = 0;
};

//! \name Registration by modules
//! Everything registered while a scope is open belongs to its module, and
//! UnregisterModule takes it all out again: the package loader opens a scope
//! with the package's handle while the package registers, and unregisters the
//! handle when the package unloads. Registrations outside any scope belong to
//! the program itself (module null). Scopes nest; the innermost one counts.

//! Opens a registration scope for module, whose palette icons are the bitmap
//! resources of resources named after each class in capitals ("TKNGRADIENT").
class TRegistrationScope {
public:
    //! Makes module the owner of what is registered until the scope closes.
    TRegistrationScope(const void* module, HINSTANCE resources);
    //! Returns to the scope that was open before.
    ~TRegistrationScope();
    TRegistrationScope(const TRegistrationScope&) = delete;
    TRegistrationScope& operator=(const TRegistrationScope&) = delete;

private:
    const void* m_previousModule;
    HINSTANCE m_previousResources;
};

//! Takes out every palette entry, component editor and property editor that
//! module registered.
void UnregisterModule(const void* module);

//! \name The palette
//! One entry per component class, on the page of its first registration;
//! registering a class again (on any page) changes nothing.
struct TPaletteEntry {
    std::string Page; //!< the palette page, "Plumex"
    const TClassInfo* Class { nullptr }; //!< the component class
    //! The class's palette picture, from the registering module's resources;
    //! null when it has none.
    std::shared_ptr<const TBitmap> Icon;
    const void* Module { nullptr }; //!< who registered the class
};

//! Puts classes on the palette page, in the order given.
void RegisterComponents(const std::string& page, std::span<const TClassInfo* const> classes);
//! RegisterComponents for a braced list.
void RegisterComponents(const std::string& page, std::initializer_list<const TClassInfo*> classes);
//! The palette's pages in the order of their first registration.
[[nodiscard]] std::vector<std::string> PalettePages();
//! The entries of a page in the order of registration; empty for an unknown page.
[[nodiscard]] std::vector<TPaletteEntry> PaletteEntries(std::string_view page);
//! The entry of a class, by its name (without regard to case); null when the
//! class is not on the palette. Valid until the palette changes.
[[nodiscard]] const TPaletteEntry* FindPaletteEntry(std::string_view className);

//! \name Editor classes
//! What RegisterComponentEditor and RegisterPropertyEditor take in place of a
//! class reference: the editor class's name and how to create one.

//! A component editor class.
struct TComponentEditorClass {
    //! Creates an editor of the class for component.
    using TCreate = std::unique_ptr<TComponentEditor> (*)(TComponent& component, IDesigner* designer);

    std::string Name; //!< the class's name, "TKnEditor"
    TCreate Create { nullptr }; //!< makes one

    //! The editor class E (constructed from a component and a designer).
    template <class E>
    [[nodiscard]] static TComponentEditorClass Of()
    {
        return { ClassNameOf(typeid(E)),
            [](TComponent& component, IDesigner* designer) -> std::unique_ptr<TComponentEditor> {
                return std::make_unique<E>(component, designer);
            } };
    }
};

//! Where a property editor works: the designer, the component whose property it
//! edits, the object that has the property (the component, or a sub-object such
//! as its Gradient), the property, and its path from the component
//! ("Gradient.Color1").
struct TPropertyContext {
    IDesigner* Designer { nullptr }; //!< may be null outside a designer
    TComponent* Component { nullptr }; //!< the component edited
    TPersistent* Instance { nullptr }; //!< the object that has the property
    const TPropInfo* Property { nullptr }; //!< the property
    std::string Path; //!< the property's path from the component
};

//! A property editor class.
struct TPropertyEditorClass {
    //! Creates an editor of the class for one property.
    using TCreate = std::unique_ptr<TPropertyEditor> (*)(const TPropertyContext& context);

    std::string Name; //!< the class's name, "TGradientProperty"
    TCreate Create { nullptr }; //!< makes one

    //! The editor class E (constructed from a TPropertyContext).
    template <class E>
    [[nodiscard]] static TPropertyEditorClass Of()
    {
        return { ClassNameOf(typeid(E)),
            [](const TPropertyContext& context) -> std::unique_ptr<TPropertyEditor> { return std::make_unique<E>(context); } };
    }
};

//! \name Component editors

//! Makes editorClass the editor of componentClass and its descendants (those
//! that have no editor of a nearer class); a later registration for the same
//! class replaces an earlier one.
void RegisterComponentEditor(const TClassInfo& componentClass, TComponentEditorClass editorClass);
//! The editor class registered for the nearest class of the component's
//! ancestry; null when none is (the designer then uses TDefaultEditor).
[[nodiscard]] const TComponentEditorClass* FindComponentEditorClass(const TClassInfo& componentClass);

//! \name Property editors

//! The type of the properties a property editor is registered for: a class
//! (a published sub-object such as TGradient; descendants match too), or any
//! other type by its name ("TColor", "TCursor", "Boolean").
class TPropertyType {
public:
    //! Properties holding an object of the class or of a descendant.
    TPropertyType(const TClassInfo& classType); // NOLINT(google-explicit-constructor): reads as a type
    //! Properties of the named type (compared without regard to case).
    TPropertyType(std::string typeName); // NOLINT(google-explicit-constructor)
    //! Properties of the named type.
    TPropertyType(const char* typeName) // NOLINT(google-explicit-constructor)
        : TPropertyType(std::string(typeName))
    {
    }

    //! The class, for class types; null otherwise.
    [[nodiscard]] const TClassInfo* Class() const noexcept { return m_class; }
    //! The type's name.
    [[nodiscard]] const std::string& Name() const noexcept { return m_name; }

private:
    const TClassInfo* m_class { nullptr };
    std::string m_name;
};

//! Makes editorClass the editor of properties of propertyType. componentClass
//! null means in any component (otherwise only in that class and its
//! descendants); an empty propertyName means of any name. Where several
//! registrations fit a property, one that names the property wins over one
//! that does not, then the one for the nearest component class, then the one
//! for the nearest property class; of equals, the later registration.
void RegisterPropertyEditor(const TPropertyType& propertyType, const TClassInfo* componentClass,
    const std::string& propertyName, TPropertyEditorClass editorClass);
//! The editor class registered for the property of the context; null when none fits.
[[nodiscard]] const TPropertyEditorClass* FindPropertyEditorClass(const TPropertyContext& context);

} // namespace plx
