// The package's dialogs are form files kept as resources of type "FORMS" and
// read into their form as a designer-made form is: controls by class name,
// handlers by name through the form's handler table.
#pragma once

#include "framework/host/Component.h"
#include "framework/host/Forms.h"
#include "rtl/Exceptions.h"

#include <string>
#include <string_view>

namespace plx::detail {

//! The resource type of the dialogs' form files (resources/FORMS/<Class>.form).
inline constexpr std::string_view kFormResourceType = "FORMS";

//! The text of the package's form resource name; raises EResNotFound when
//! the package has none.
[[nodiscard]] std::string DialogFormText(std::string_view name);

//! Reads the package's form resource name into form. Every handler the file
//! names must be registered on form first; a missing one is the reader's error.
void ReadDialogForm(TCustomForm& form, std::string_view name);

//! The component of that name the form owns, as a T; raises EComponentError
//! when it is missing or of another class (the form file and the code disagree).
template <class T>
[[nodiscard]] T& DialogControl(const TComponent& form, const std::string& name)
{
    if (auto* control = dynamic_cast<T*>(form.FindComponent(name)))
        return *control;
    throw EComponentError("The form " + form.Name() + " has no " + name + " of the expected class");
}

//! Frees a dialog made for one showing when the scope ends, unless it is gone
//! already or was released (the application frees a released form itself).
class TDialogScope {
public:
    explicit TDialogScope(TCustomForm* form) noexcept
        : m_form(form)
    {
    }
    ~TDialogScope();
    TDialogScope(const TDialogScope&) = delete;
    TDialogScope& operator=(const TDialogScope&) = delete;

private:
    TWeakRef<TCustomForm> m_form;
};

} // namespace plx::detail
