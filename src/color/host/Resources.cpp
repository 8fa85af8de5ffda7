#include "color/host/Resources.h"

#include <algorithm>
#include <cctype>

namespace plx {

namespace {

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

} // namespace

std::optional<std::span<const unsigned char>> FindResource(HINSTANCE module, std::string_view name, std::string_view type) noexcept
{
    if (!module || name.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < module->Count; ++i) {
        const TResourceEntry& e = module->Entries[i];
        if (SameText(e.Name, name) && SameText(e.Type, type))
            return std::span<const unsigned char>(e.Data, e.Size);
    }
    return std::nullopt;
}

} // namespace plx
