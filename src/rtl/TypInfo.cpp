#include "rtl/TypInfo.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace plx {

namespace {

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::map<std::string, const TClassInfo*, std::less<>>& Registry()
{
    static std::map<std::string, const TClassInfo*, std::less<>> registry;
    return registry;
}

} // namespace

std::optional<std::int64_t> TEnumInfo::ValueOf(std::string_view name) const
{
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name))
            return static_cast<std::int64_t>(i);
    return std::nullopt;
}

std::string TEnumInfo::NameOf(std::int64_t value) const
{
    if (value >= 0 && static_cast<std::size_t>(value) < Names.size())
        return Names[static_cast<std::size_t>(value)];
    return std::to_string(value);
}

std::optional<std::string> TIdentMap::IdentOf(std::int64_t value) const
{
    for (const auto& [v, name] : Entries)
        if (v == value)
            return name;
    return std::nullopt;
}

std::optional<std::int64_t> TIdentMap::ValueOf(std::string_view ident) const
{
    for (const auto& [v, name] : Entries)
        if (SameText(name, ident))
            return v;
    return std::nullopt;
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> properties, TCreateFunc create)
    : m_name(std::move(name))
    , m_parent(parent)
    , m_create(std::move(create))
{
    if (parent)
        m_properties = parent->m_properties;
    for (auto& p : properties) {
        auto same = std::find_if(m_properties.begin(), m_properties.end(), [&](const TPropInfo& q) { return SameText(q.Name, p.Name); });
        if (same != m_properties.end())
            *same = std::move(p);
        else
            m_properties.push_back(std::move(p));
    }
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
    for (const auto& p : m_properties)
        if (SameText(p.Name, name))
            return &p;
    return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->m_parent)
        if (c == &other)
            return true;
    return false;
}

void AssignPublished(TPersistent& dest, const TPersistent& source)
{
    for (const auto& p : source.ClassType().Properties()) {
        switch (p.Kind) {
        case TTypeKind::tkMethod:
            break;
        case TTypeKind::tkClass:
            if (p.GetReference) {
                if (p.SetReference)
                    p.SetReference(dest, p.GetReference(source));
                break;
            }
            if (TPersistent* from = p.Object(source); from)
                if (TPersistent* to = p.Object(dest); to && to != from)
                    to->Assign(from);
            break;
        default:
            if (p.Get && p.Set)
                p.Set(dest, p.Get(source));
            break;
        }
    }
}

void RegisterClass(const TClassInfo& info)
{
    Registry()[info.Name()] = &info;
}

void UnregisterClass(const TClassInfo& info)
{
    auto& registry = Registry();
    if (auto it = registry.find(info.Name()); it != registry.end() && it->second == &info)
        registry.erase(it);
}

std::vector<const TClassInfo*> RegisteredClasses()
{
    std::vector<const TClassInfo*> classes;
    for (const auto& [name, info] : Registry())
        classes.push_back(info);
    return classes;
}

void UnregisterClasses(const std::function<bool(const TClassInfo&)>& which)
{
    std::erase_if(Registry(), [&](const auto& entry) { return which(*entry.second); });
}

const TClassInfo* FindClass(std::string_view name)
{
    auto& registry = Registry();
    if (auto it = registry.find(name); it != registry.end())
        return it->second;
    for (const auto& [key, info] : registry)
        if (SameText(key, name))
            return info;
    return nullptr;
}

} // namespace plx
