// Form files compiled into a program from its forms/ folder (cmake/EmbedForms.cmake).
#pragma once

#include <string_view>

namespace apps {

//! The text of forms/NAME.form as it was when the program was built; empty when
//! the program has no such form.
[[nodiscard]] std::string_view EmbeddedForm(std::string_view name);

} // namespace apps
