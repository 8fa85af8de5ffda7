// The root classes: TObject (every host object) and TPersistent (objects with
// published properties that can be assigned and streamed).
#pragma once

#include <functional>
#include <string>
#include <typeinfo>
#include <utility>

namespace plx {

class TClassInfo;

//! The root of the host's class tree. Objects are not copyable; they are owned
//! by an owner, a list or a std::unique_ptr.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    //! The class name as the host spells it ("TGradient"), taken from the
    //! run-time type without the namespace.
    [[nodiscard]] std::string ClassName() const;
};

//! The host's spelling of a C++ class's name: the run-time type's name without
//! its namespace ("TGradient" for plx::TGradient).
[[nodiscard]] std::string ClassNameOf(const std::type_info& type);

//! An event handler that receives the sender; description objects raise
//! OnChange with it.
using TNotifyEvent = std::function<void(TObject* sender)>;

//! An object with published properties. Assign copies another object's values
//! into this one; an unsupported pair ends in the assignment error
//! "Cannot assign a TSource to a TTarget" (EConvertError).
class TPersistent : public TObject {
public:
    //! Copies the source's values. The default hands the request to the
    //! source's AssignTo; a null source raises the assignment error.
    virtual void Assign(const TPersistent* source);

    //! The published-property table of the object's class.
    [[nodiscard]] virtual const TClassInfo& ClassType() const;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    //! Copies this object into dest; the default raises the assignment error.
    virtual void AssignTo(TPersistent* dest) const;
    //! Raises EConvertError("Cannot assign a <source> to a <this class>").
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

//! A description that a component owns (a gradient, a background, a bevel):
//! every change of a property calls Changed, which fires OnChange, the
//! owner's cue to render again.
class TDescription : public TPersistent {
public:
    //! Fired by Changed, after any property changed.
    [[nodiscard]] const TNotifyEvent& OnChange() const noexcept { return m_onChange; }
    //! Sets the handler fired after a change (the owner hooks it).
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }
    //! Fires OnChange(this) when a handler is assigned.
    void Changed();

private:
    TNotifyEvent m_onChange;
};

} // namespace plx
