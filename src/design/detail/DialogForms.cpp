#include "design/detail/DialogForms.h"

#include "color/host/Resources.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

namespace plx::detail {

std::string DialogFormText(std::string_view name)
{
    const auto data = FindResource(HInstance(), name, kFormResourceType);
    if (!data)
        throw EResNotFound("Form resource " + std::string(name) + " not found");
    return std::string(reinterpret_cast<const char*>(data->data()), data->size());
}

void ReadDialogForm(TCustomForm& form, std::string_view name)
{
    TFormReadOptions options;
    options.strictHandlers = true;
    ReadComponentText(DialogFormText(name), form, options);
}

TDialogScope::~TDialogScope()
{
    TCustomForm* form = m_form.Get();
    if (form && !(InitializedApplication() && Application().Released(form)))
        delete form;
}

} // namespace plx::detail
