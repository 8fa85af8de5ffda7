#include "framework/host/Component.h"

#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace plx {

bool IsValidIdent(const std::string& name) noexcept
{
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

namespace {

// The owner's lists are searched from the back: components are mostly freed
// last in, first out, so freeing N of them costs time in proportion to N.
template <class T>
typename std::vector<T*>::iterator FindFromBack(std::vector<T*>& list, const T* item) noexcept
{
    auto it = std::find(list.rbegin(), list.rend(), item);
    return it == list.rend() ? list.end() : std::prev(it.base());
}

} // namespace

// ---- TWeakLink -----------------------------------------------------------

TWeakLink& TWeakLink::operator=(const TWeakLink& other) noexcept
{
    if (this != &other)
        Attach(other.m_target);
    return *this;
}

void TWeakLink::Attach(TComponent* target) noexcept
{
    if (target == m_target)
        return;
    Detach();
    if (!target || target->m_state.Contains(csDestroying))
        return;
    m_target = target;
    m_next = target->m_weakLinks;
    if (m_next)
        m_next->m_prev = this;
    target->m_weakLinks = this;
}

void TWeakLink::Detach() noexcept
{
    if (!m_target)
        return;
    if (m_prev)
        m_prev->m_next = m_next;
    else
        m_target->m_weakLinks = m_next;
    if (m_next)
        m_next->m_prev = m_prev;
    m_target = nullptr;
    m_prev = nullptr;
    m_next = nullptr;
}

// ---- TComponent ----------------------------------------------------------

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked; they drop their links to this component. A
    // Notification may free another of them, whose destructor then takes itself
    // off this list, so the list itself is walked, never a copy.
    while (!m_freeNotifies.empty()) {
        TComponent* c = m_freeNotifies.back();
        m_freeNotifies.pop_back();
        std::erase(c->m_freeNotifies, this);
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void TComponent::Destroying() noexcept
{
    if (m_state.Contains(csDestroying))
        return;
    m_state.Include(csDestroying);
    ClearWeakLinks();
    for (TComponent* c : m_components)
        c->Destroying();
}

void TComponent::ClearWeakLinks() noexcept
{
    while (m_weakLinks)
        m_weakLinks->Detach();
}

void TComponent::DestroyComponents() noexcept
{
    // Last in, first out. A destructor may free a sibling, which then leaves
    // this list itself, so the list is read again each time.
    DropNameIndex();
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        m_components.pop_back();
        c->m_owner = nullptr;
        delete c;
    }
}

void TComponent::IndexName(TComponent* component)
{
    if (component->m_name.empty() || m_state.Contains(csDestroying))
        return;
    auto [it, added] = m_names.try_emplace(LowerCase(component->m_name), component);
    if (!added && it->second != component)
        throw EComponentError("A component named " + component->m_name + " already exists");
}

void TComponent::DropNameIndex() noexcept
{
    // Swapped out, not cleared: clearing keeps (and wipes) the bucket array,
    // which would cost its size on every later call.
    if (!m_names.empty())
        std::unordered_map<std::string, TComponent*>().swap(m_names);
}

void TComponent::UnindexName(const TComponent* component) noexcept
{
    if (component->m_name.empty() || m_names.empty())
        return;
    if (auto it = m_names.find(LowerCase(component->m_name)); it != m_names.end() && it->second == component)
        m_names.erase(it);
}

void TComponent::SetName(const std::string& name)
{
    if (name == m_name)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (!name.empty() && m_owner) {
        if (TComponent* other = m_owner->FindComponent(name); other && other != this)
            throw EComponentError("A component named " + name + " already exists");
    }
    if (m_owner)
        m_owner->UnindexName(this);
    m_name = name;
    if (m_owner)
        m_owner->IndexName(this);
}

TComponent* TComponent::Components(std::int32_t index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return m_components[static_cast<std::size_t>(index)];
}

std::int32_t TComponent::ComponentIndex() const noexcept
{
    if (!m_owner)
        return -1;
    auto& list = m_owner->m_components;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<std::int32_t>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const noexcept
{
    if (name.empty() || m_names.empty())
        return nullptr;
    try {
        auto it = m_names.find(LowerCase(name));
        return it == m_names.end() ? nullptr : it->second;
    } catch (...) {
        return nullptr; // no memory for the lower-cased key
    }
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->m_owner == this)
        return;
    if (!component->m_name.empty() && FindComponent(component->m_name))
        throw EComponentError("A component named " + component->m_name + " already exists");
    if (component->m_owner)
        component->m_owner->RemoveComponent(component);
    m_components.push_back(component);
    component->m_owner = this;
    IndexName(component);
    if (m_state.Contains(csDesigning))
        component->SetDesigning(true);
}

void TComponent::RemoveComponent(TComponent* component)
{
    auto it = FindFromBack(m_components, component);
    if (it == m_components.end())
        return;
    m_components.erase(it);
    // While this component is being destroyed (OnDestroy and the destructors
    // still find the others by name), the first one to go ends finding by
    // name: the index is dropped at once instead of name by name.
    if (m_state.Contains(csDestroying))
        DropNameIndex();
    else
        UnindexName(component);
    component->m_owner = nullptr;
    // The owner and everything it owns hear that the component is gone; a
    // Notification may free others, which are then skipped.
    if (m_state.Contains(csDestroying))
        return;
    const TWeakRef<TComponent> alive(this);
    Notification(component, opRemove);
    if (!alive)
        return;
    for (const TWeakRef<TComponent>& c : WeakSnapshot(m_components)) {
        if (c && c->m_owner == this)
            c->Notification(component, opRemove);
        if (!alive)
            return;
    }
}

void TComponent::SetDesigning(bool value)
{
    if (value)
        m_state.Include(csDesigning);
    else
        m_state.Exclude(csDesigning);
    for (TComponent* c : m_components)
        c->SetDesigning(value);
}

void TComponent::Loading()
{
    m_state.Include(csLoading);
    m_state.Include(csReading);
}

void TComponent::Loaded()
{
    m_state.Exclude(csLoading);
    m_state.Exclude(csReading);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), component) == m_freeNotifies.end())
        m_freeNotifies.push_back(component);
    if (std::find(component->m_freeNotifies.begin(), component->m_freeNotifies.end(), this) == component->m_freeNotifies.end())
        component->m_freeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    m_freeNotifies.erase(std::remove(m_freeNotifies.begin(), m_freeNotifies.end(), component), m_freeNotifies.end());
    auto& back = component->m_freeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent*, TOperation)
{
}

std::string TComponent::EventBinding(const std::string& path) const
{
    auto it = m_eventBindings.find(path);
    return it == m_eventBindings.end() ? std::string() : it->second;
}

void TComponent::SetEventBinding(const std::string& path, const std::string& handlerName)
{
    if (handlerName.empty())
        m_eventBindings.erase(path);
    else
        m_eventBindings[path] = handlerName;
}

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
        .Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0, nullptr, "Longint")
        .Build();
    return info;
}

const TClassInfo& TComponent::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
