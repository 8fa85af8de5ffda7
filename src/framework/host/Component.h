// TComponent: named objects with an owner that frees them, the base of every
// control and of the non-visual parts of a form.
#pragma once

#include "rtl/Set.h"
#include "rtl/Persistent.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace plx {

enum TComponentStateFlag : std::uint8_t { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups };
using TComponentState = TSet<TComponentStateFlag>;
enum TOperation : std::uint8_t { opInsert, opRemove };

//! A component belongs to its owner, which frees what it owns when it is freed,
//! last in, first out. When a component goes away, its owner, everything the
//! owner owns, and every component that asked with FreeNotification receive
//! Notification(component, opRemove), so nothing keeps a dangling link.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    //! \name Identity and ownership
    [[nodiscard]] const std::string& Name() const noexcept { return m_name; }
    //! Raises EComponentError for a name that is not an identifier or that
    //! another component of the same owner already has.
    virtual void SetName(const std::string& name);
    [[nodiscard]] TComponent* Owner() const noexcept { return m_owner; }
    [[nodiscard]] std::int32_t ComponentCount() const noexcept { return static_cast<std::int32_t>(m_components.size()); }
    //! Raises EListError for an index out of range.
    [[nodiscard]] TComponent* Components(std::int32_t index) const;
    [[nodiscard]] std::int32_t ComponentIndex() const noexcept;
    [[nodiscard]] TComponent* FindComponent(const std::string& name) const noexcept;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    [[nodiscard]] std::int64_t Tag() const noexcept { return m_tag; }
    void SetTag(std::int64_t tag) noexcept { m_tag = tag; }

    //! \name State
    [[nodiscard]] TComponentState ComponentState() const noexcept { return m_state; }
    //! Marks this component and everything it owns as being in the form designer.
    void SetDesigning(bool value);
    //! Marks the start of reading stored properties (csLoading).
    virtual void Loading();
    //! Called once after all stored properties were read; clears csLoading.
    virtual void Loaded();

    //! \name Notifications
    //! Asks to be told (Notification with opRemove) when component goes away.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    //! \name Event bindings of form files
    //! The handler name an event property (path such as "OnClick" or
    //! "Gradient.OnDrawRect") was bound to; empty when none.
    [[nodiscard]] std::string EventBinding(const std::string& path) const;
    void SetEventBinding(const std::string& path, const std::string& handlerName);
    [[nodiscard]] const std::map<std::string, std::string>& EventBindings() const noexcept { return m_eventBindings; }

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! With opRemove the component is being destroyed and is no more than a
    //! TComponent by now: compare its address, do not call into it or cast it.
    virtual void Notification(TComponent* component, TOperation operation);
    //! Sets csDestroying here and in everything owned.
    void Destroying() noexcept;
    void SetComponentState(TComponentState state) noexcept { m_state = state; }

private:
    void DestroyComponents() noexcept;

    std::string m_name;
    TComponent* m_owner { nullptr };
    std::vector<TComponent*> m_components; //!< owned, in insertion order
    std::vector<TComponent*> m_freeNotifies;
    TComponentState m_state;
    std::int64_t m_tag { 0 };
    std::map<std::string, std::string> m_eventBindings;
};

//! True for a valid component name: a letter or "_" followed by letters, digits
//! and "_".
[[nodiscard]] bool IsValidIdent(const std::string& name) noexcept;

} // namespace plx
