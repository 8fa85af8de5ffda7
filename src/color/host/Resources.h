// Resources compiled into a module: named byte blocks looked up by name and type.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace plx {

struct TResourceEntry {
    const char* Name;
    const char* Type;
    const unsigned char* Data;
    std::size_t Size;
};

//! A module's resources (the package's are generated from the files under resources/).
struct TResourceModule {
    const char* Name;
    const TResourceEntry* Entries;
    std::size_t Count;
};

using HINSTANCE = const TResourceModule*;
using HMODULE = HINSTANCE;

//! Resource types: bitmaps are whole .bmp files; wave sounds use the type named "RT_RCDATA".
inline constexpr std::string_view RT_BITMAP = "BITMAP";
inline constexpr std::string_view RT_RCDATA_NAME = "RT_RCDATA";

//! The bytes of resource name of the given type (names and types compare without
//! regard to case); empty when the module has none.
[[nodiscard]] std::optional<std::span<const unsigned char>> FindResource(HINSTANCE module, std::string_view name,
    std::string_view type) noexcept;

//! The package's own module (defined by the package library).
[[nodiscard]] const TResourceModule& PlumexModule() noexcept;
//! The package's instance handle, as components pass it to LoadFromResourceName.
[[nodiscard]] inline HINSTANCE HInstance() noexcept { return &PlumexModule(); }

} // namespace plx
