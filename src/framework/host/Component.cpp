#include "framework/host/Component.h"

#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cctype>

namespace plx {

bool IsValidIdent(const std::string& name) noexcept
{
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked; they drop their links to this component.
    auto notifies = std::move(m_freeNotifies);
    for (TComponent* c : notifies) {
        auto& back = c->m_freeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
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
    for (TComponent* c : m_components)
        c->Destroying();
}

void TComponent::DestroyComponents() noexcept
{
    // Last in, first out.
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        m_components.pop_back();
        c->m_owner = nullptr;
        delete c;
    }
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
    m_name = name;
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
    if (name.empty())
        return nullptr;
    for (TComponent* c : m_components)
        if (SameText(c->m_name, name))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->m_owner == this)
        return;
    if (component->m_owner)
        component->m_owner->RemoveComponent(component);
    if (!component->m_name.empty() && FindComponent(component->m_name))
        throw EComponentError("A component named " + component->m_name + " already exists");
    m_components.push_back(component);
    component->m_owner = this;
    if (m_state.Contains(csDesigning))
        component->SetDesigning(true);
}

void TComponent::RemoveComponent(TComponent* component)
{
    auto it = std::find(m_components.begin(), m_components.end(), component);
    if (it == m_components.end())
        return;
    m_components.erase(it);
    component->m_owner = nullptr;
    // The owner and everything it owns hear that the component is gone.
    if (!m_state.Contains(csDestroying)) {
        Notification(component, opRemove);
        for (TComponent* c : std::vector<TComponent*>(m_components))
            if (!c->m_state.Contains(csDestroying))
                c->Notification(component, opRemove);
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
