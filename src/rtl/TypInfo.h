// Published-property tables: each class declares its published properties once,
// in order, with their defaults; form files, Assign and the designer read them.
#pragma once

#include "rtl/Persistent.h"

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <variant>
#include <vector>

namespace plx {

class TComponent;

enum class TTypeKind { tkInteger, tkInt64, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod };

//! The value names of an enumeration, in ordinal order; sets use the names of
//! their element type. Form files store these names.
struct TEnumInfo {
    std::string TypeName;
    std::vector<std::string> Names;

    [[nodiscard]] std::optional<std::int64_t> ValueOf(std::string_view name) const;
    [[nodiscard]] std::string NameOf(std::int64_t value) const;
};

//! Integers that have names for some values (colours such as clBtnFace, cursors).
struct TIdentMap {
    std::vector<std::pair<std::int64_t, std::string>> Entries;

    [[nodiscard]] std::optional<std::string> IdentOf(std::int64_t value) const;
    [[nodiscard]] std::optional<std::int64_t> ValueOf(std::string_view ident) const;
};

//! A data property's value: ordinals, sets (a bit mask), Booleans and colours
//! as integers; floats; strings.
using TPropValue = std::variant<std::int64_t, double, std::string>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind { TTypeKind::tkInteger };
    std::string TypeName;
    const TEnumInfo* EnumType { nullptr }; //!< enumerations; sets: the element type
    const TIdentMap* Idents { nullptr }; //!< integers written as identifiers
    std::optional<std::int64_t> Default; //!< ordinal default: written only when different
    std::function<bool(const TPersistent&)> IsStored; //!< empty: always stored
    bool WriteEmpty { false }; //!< strings: written even when empty (their constructor's value is not)

    // Data properties.
    std::function<TPropValue(const TPersistent&)> Get;
    std::function<void(TPersistent&, const TPropValue&)> Set;

    // Class properties: the sub-object owned by the instance; its own
    // properties are read and written in place.
    std::function<TPersistent*(const TPersistent&)> Object;

    // Component references (PopupMenu = PopupMenu1): written by name, resolved
    // after a form file is read.
    std::function<TComponent*(const TPersistent&)> GetReference;
    std::function<void(TPersistent&, TComponent*)> SetReference;

    // Method properties (events).
    std::type_index HandlerType { typeid(void) };
    std::function<void(TPersistent&, const std::any&)> Bind; //!< an empty any clears the handler
    std::function<bool(const TPersistent&)> Assigned;

    [[nodiscard]] bool Stored(const TPersistent& instance) const { return !IsStored || IsStored(instance); }
};

//! A class's name, parent and published properties (the parent's first, a
//! redeclared one replacing the inherited entry in place).
class TClassInfo {
public:
    using TCreateFunc = std::function<TComponent*(TComponent* owner)>;

    TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> properties, TCreateFunc create);

    [[nodiscard]] const std::string& Name() const noexcept { return m_name; }
    [[nodiscard]] const TClassInfo* Parent() const noexcept { return m_parent; }
    [[nodiscard]] const std::vector<TPropInfo>& Properties() const noexcept { return m_properties; }
    [[nodiscard]] const TPropInfo* FindProperty(std::string_view name) const;
    [[nodiscard]] bool InheritsFrom(const TClassInfo& other) const;
    //! Creates an instance owned by owner; empty for classes that are not components.
    [[nodiscard]] const TCreateFunc& Creator() const noexcept { return m_create; }

private:
    std::string m_name;
    const TClassInfo* m_parent { nullptr };
    std::vector<TPropInfo> m_properties;
    TCreateFunc m_create;
};

//! Builds a class's table. T is the class; getters and setters are member
//! function pointers (or callables taking T).
template <class T>
class TClassInfoBuilder {
public:
    TClassInfoBuilder(std::string name, const TClassInfo* parent)
        : m_name(std::move(name))
        , m_parent(parent)
    {
    }

    template <class G, class S>
    TClassInfoBuilder& Integer(std::string name, G get, S set, std::optional<std::int64_t> def = {},
        const TIdentMap* idents = nullptr, std::string typeName = "Integer")
    {
        TPropInfo p = Ordinal(std::move(name), TTypeKind::tkInteger, get, set, def);
        p.Idents = idents;
        p.TypeName = std::move(typeName);
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassInfoBuilder& Bool(std::string name, G get, S set, std::optional<bool> def = {})
    {
        TPropInfo p = Ordinal(std::move(name), TTypeKind::tkEnumeration, get, set,
            def ? std::optional<std::int64_t>(*def ? 1 : 0) : std::nullopt);
        p.EnumType = &BooleanInfo();
        p.TypeName = "Boolean";
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassInfoBuilder& Enum(std::string name, const TEnumInfo& type, G get, S set, std::optional<std::int64_t> def = {})
    {
        TPropInfo p = Ordinal(std::move(name), TTypeKind::tkEnumeration, get, set, def);
        p.EnumType = &type;
        p.TypeName = type.TypeName;
        return Add(std::move(p));
    }

    //! A set stored as a bit mask (bit n = the element of ordinal n); the getter
    //! returns a type with Bits() and the setter takes one built by FromBits().
    template <class G, class S>
    TClassInfoBuilder& Set(std::string name, const TEnumInfo& elementType, std::string typeName, G get, S set,
        std::optional<std::int64_t> def = {})
    {
        using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkSet;
        p.TypeName = std::move(typeName);
        p.EnumType = &elementType;
        p.Default = def;
        p.Get = [get](const TPersistent& o) -> TPropValue {
            return static_cast<std::int64_t>(std::invoke(get, static_cast<const T&>(o)).Bits());
        };
        p.Set = [set](TPersistent& o, const TPropValue& v) {
            std::invoke(set, static_cast<T&>(o), V::FromBits(static_cast<std::uint32_t>(std::get<std::int64_t>(v))));
        };
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassInfoBuilder& Float(std::string name, G get, S set, std::string typeName = "Double")
    {
        using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkFloat;
        p.TypeName = std::move(typeName);
        p.Get = [get](const TPersistent& o) -> TPropValue {
            return static_cast<double>(std::invoke(get, static_cast<const T&>(o)));
        };
        p.Set = [set](TPersistent& o, const TPropValue& v) {
            std::invoke(set, static_cast<T&>(o), static_cast<V>(std::get<double>(v)));
        };
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassInfoBuilder& String(std::string name, G get, S set)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkString;
        p.TypeName = "string";
        p.Get = [get](const TPersistent& o) -> TPropValue {
            return std::string(std::invoke(get, static_cast<const T&>(o)));
        };
        p.Set = [set](TPersistent& o, const TPropValue& v) {
            std::invoke(set, static_cast<T&>(o), std::get<std::string>(v));
        };
        return Add(std::move(p));
    }

    //! A sub-object owned by the instance (a TGradient, a TFont, a TBitmap).
    template <class G>
    TClassInfoBuilder& Object(std::string name, std::string typeName, G get)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkClass;
        p.TypeName = std::move(typeName);
        p.Object = [get](const TPersistent& o) -> TPersistent* {
            return std::invoke(get, const_cast<T&>(static_cast<const T&>(o)));
        };
        return Add(std::move(p));
    }

    //! A link to another component, stored by its name.
    template <class G, class S>
    TClassInfoBuilder& Reference(std::string name, std::string typeName, G get, S set)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkClass;
        p.TypeName = std::move(typeName);
        p.GetReference = [get](const TPersistent& o) -> TComponent* { return std::invoke(get, static_cast<const T&>(o)); };
        p.SetReference = [set](TPersistent& o, TComponent* c) { std::invoke(set, static_cast<T&>(o), c); };
        return Add(std::move(p));
    }

    //! Runs a function that declares several properties at once (shared lists).
    template <class F>
    TClassInfoBuilder& Apply(F declare)
    {
        declare(*this);
        return *this;
    }

    //! An event: the getter returns the std::function member, the setter takes one.
    template <class G, class S>
    TClassInfoBuilder& Event(std::string name, std::string typeName, G get, S set)
    {
        using F = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkMethod;
        p.TypeName = std::move(typeName);
        p.HandlerType = typeid(F);
        p.Bind = [set](TPersistent& o, const std::any& handler) {
            std::invoke(set, static_cast<T&>(o), handler.has_value() ? std::any_cast<F>(handler) : F {});
        };
        p.Assigned = [get](const TPersistent& o) { return static_cast<bool>(std::invoke(get, static_cast<const T&>(o))); };
        return Add(std::move(p));
    }

    //! Marks the last declared property as stored only when the predicate holds.
    template <class P>
    TClassInfoBuilder& StoredWhen(P predicate)
    {
        m_properties.back().IsStored = [predicate](const TPersistent& o) {
            return std::invoke(predicate, static_cast<const T&>(o));
        };
        return *this;
    }

    //! The last declared property, a string, is written even when empty: for a
    //! class whose constructor gives it another value, which reading would keep.
    TClassInfoBuilder& WriteEmpty()
    {
        m_properties.back().WriteEmpty = true;
        return *this;
    }

    //! The last declared property is not stored at all.
    TClassInfoBuilder& NotStored()
    {
        m_properties.back().IsStored = [](const TPersistent&) { return false; };
        return *this;
    }

    //! For components: how the form reader creates an instance.
    TClassInfoBuilder& Creator(TClassInfo::TCreateFunc create)
    {
        m_create = std::move(create);
        return *this;
    }

    TClassInfoBuilder& Add(TPropInfo p)
    {
        m_properties.push_back(std::move(p));
        return *this;
    }

    [[nodiscard]] TClassInfo Build() { return TClassInfo(m_name, m_parent, std::move(m_properties), std::move(m_create)); }

    static const TEnumInfo& BooleanInfo()
    {
        static const TEnumInfo info { "Boolean", { "False", "True" } };
        return info;
    }

private:
    template <class G, class S>
    static TPropInfo Ordinal(std::string name, TTypeKind kind, G get, S set, std::optional<std::int64_t> def)
    {
        using V = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.Default = def;
        p.Get = [get](const TPersistent& o) -> TPropValue {
            return static_cast<std::int64_t>(std::invoke(get, static_cast<const T&>(o)));
        };
        p.Set = [set](TPersistent& o, const TPropValue& v) {
            std::invoke(set, static_cast<T&>(o), static_cast<V>(std::get<std::int64_t>(v)));
        };
        return p;
    }

    std::string m_name;
    const TClassInfo* m_parent;
    std::vector<TPropInfo> m_properties;
    TClassInfo::TCreateFunc m_create;
};

//! Copies every published data property (not events) from source to dest through
//! the table of source's class, recursing into sub-objects. Both must share it.
void AssignPublished(TPersistent& dest, const TPersistent& source);

//! The class registry that form files create components from.
void RegisterClass(const TClassInfo& info);
void UnregisterClass(const TClassInfo& info);
[[nodiscard]] const TClassInfo* FindClass(std::string_view name);
//! The registered classes, ordered by name.
[[nodiscard]] std::vector<const TClassInfo*> RegisteredClasses();
//! Takes out every registered class the predicate picks (a package that is
//! unloaded takes out the classes whose tables lie in it).
void UnregisterClasses(const std::function<bool(const TClassInfo&)>& which);

} // namespace plx
