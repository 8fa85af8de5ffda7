// Survives: runs code that may free a component (user events can free any
// component, the one that raised them included) and tells whether it is still there.
#pragma once

#include "framework/host/Component.h"

#include <utility>

namespace plx::detail {

//! Watches one component: Alive() turns false once it starts being destroyed.
class TFreeWatch final {
public:
    explicit TFreeWatch(TComponent& watched) noexcept
        : m_link(&watched)
    {
    }
    [[nodiscard]] bool Alive() const noexcept { return static_cast<bool>(m_link); }

private:
    TWeakRef<TComponent> m_link;
};

//! Runs code (which calls user code) and returns whether component still
//! exists afterwards; the caller touches the component only when it does.
template <class F>
[[nodiscard]] bool Survives(TComponent& component, F&& code)
{
    const TWeakRef<TComponent> alive(&component);
    std::forward<F>(code)();
    return static_cast<bool>(alive);
}

} // namespace plx::detail
