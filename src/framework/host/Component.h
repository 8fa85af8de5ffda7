// TComponent: named objects with an owner that frees them, the base of every
// control and of the non-visual parts of a form.
#pragma once

#include "rtl/Set.h"
#include "rtl/Persistent.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace plx {

class TComponent;

enum TComponentStateFlag : std::uint8_t { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups };
using TComponentState = TSet<TComponentStateFlag>;
enum TOperation : std::uint8_t { opInsert, opRemove };

//! The untyped part of TWeakRef: a node in the list of links its component
//! clears when it starts being destroyed. Use TWeakRef.
class TWeakLink {
protected:
    TWeakLink() noexcept = default;
    TWeakLink(const TWeakLink& other) noexcept { Attach(other.m_target); }
    TWeakLink& operator=(const TWeakLink& other) noexcept;
    explicit TWeakLink(TComponent* target) noexcept { Attach(target); }
    ~TWeakLink() { Detach(); }
    void Attach(TComponent* target) noexcept;
    void Detach() noexcept;
    [[nodiscard]] TComponent* Target() const noexcept { return m_target; }

private:
    friend class TComponent;
    TComponent* m_target { nullptr };
    TWeakLink* m_prev { nullptr };
    TWeakLink* m_next { nullptr };
};

//! A link to a component that turns null as soon as the component starts being
//! destroyed: in its own destructor, or when its owner starts being destroyed
//! (csDestroying). A link made to a component that is already being destroyed
//! is null from the start. Linking and unlinking cost a few pointer writes and
//! allocate nothing.
//!
//! User code may free any component from any event, and the framework never
//! touches a freed one afterwards. Code that calls user code (an event, a
//! virtual that components override, a Perform) and then goes on checks first:
//!
//!     const TWeakRef alive(this);
//!     Click();                // the OnClick handler may free this control
//!     if (!alive)
//!         return;             // gone: no member may be read any more
//!     DoMouseUp(message, mbLeft);
//!
//! A list that user code may change while it is walked is walked as a snapshot
//! of links (WeakSnapshot), each entry checked before use and again after every
//! call that runs user code:
//!
//!     for (const TWeakRef<TControl>& child : WeakSnapshot(m_controls))
//!         if (child && child->Parent() == this) {
//!             child->Perform(msg, 0, 0);
//!             if (!alive)
//!                 return;
//!         }
template <class T>
class TWeakRef : private TWeakLink {
public:
    TWeakRef() noexcept = default;
    TWeakRef(T* target) noexcept // NOLINT(google-explicit-constructor): a link reads like a pointer
        : TWeakLink(target)
    {
    }
    TWeakRef(const TWeakRef&) noexcept = default;
    TWeakRef& operator=(const TWeakRef&) noexcept = default;
    TWeakRef& operator=(T* target) noexcept
    {
        Attach(target);
        return *this;
    }
    ~TWeakRef() = default;

    //! The component, or null once it started being destroyed.
    [[nodiscard]] T* Get() const noexcept { return static_cast<T*>(Target()); }
    [[nodiscard]] T* operator->() const noexcept { return Get(); }
    [[nodiscard]] T& operator*() const noexcept { return *Get(); }
    [[nodiscard]] explicit operator bool() const noexcept { return Target() != nullptr; }
    [[nodiscard]] bool operator==(const T* other) const noexcept { return Get() == other; }
};

//! Links to every component of a list, for walking it while user code runs.
template <class T>
[[nodiscard]] std::vector<TWeakRef<T>> WeakSnapshot(const std::vector<T*>& list)
{
    return std::vector<TWeakRef<T>>(list.begin(), list.end());
}

//! A component belongs to its owner, which frees what it owns when it is freed,
//! last in, first out. When a component goes away, its owner, everything the
//! owner owns, and every component that asked with FreeNotification receive
//! Notification(component, opRemove), so nothing keeps a dangling link.
//! The owner finds its components by name through an index, and removing the
//! component added last costs constant time, so building and freeing N
//! components costs time in proportion to N.
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
    //! The owned component of that name, compared without regard to case; null
    //! when none. While this component is being destroyed, names are found
    //! until the first of its components goes (OnDestroy still finds them all).
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
    //! Sets csDestroying here and in everything owned, and clears every
    //! TWeakRef to them: from here on the framework calls none of them.
    void Destroying() noexcept;
    void SetComponentState(TComponentState state) noexcept { m_state = state; }

private:
    friend class TWeakLink;
    void DestroyComponents() noexcept;
    void ClearWeakLinks() noexcept;
    void IndexName(TComponent* component);
    void UnindexName(const TComponent* component) noexcept;
    void DropNameIndex() noexcept;

    std::string m_name;
    TComponent* m_owner { nullptr };
    std::vector<TComponent*> m_components; //!< owned, in insertion order
    std::unordered_map<std::string, TComponent*> m_names; //!< named owned components by lower-cased name
    std::vector<TComponent*> m_freeNotifies;
    TWeakLink* m_weakLinks { nullptr }; //!< head of the links to this component
    TComponentState m_state;
    std::int64_t m_tag { 0 };
    std::map<std::string, std::string> m_eventBindings;
};

//! True for a valid component name: a letter or "_" followed by letters, digits
//! and "_".
[[nodiscard]] bool IsValidIdent(const std::string& name) noexcept;

} // namespace plx
