// Survives: runs code that may free a component (user events can free any
// component, the one that raised them included) and tells whether it is still there.
#pragma once

#include "framework/host/Component.h"

#include <utility>

namespace plx::detail {

//! Hears when the watched component goes away.
class TFreeWatch final : public TComponent {
public:
    explicit TFreeWatch(TComponent& watched)
        : TComponent(nullptr)
        , m_watched(&watched)
    {
        FreeNotification(m_watched);
    }
    ~TFreeWatch() override
    {
        if (m_watched)
            RemoveFreeNotification(m_watched);
    }
    [[nodiscard]] bool Alive() const noexcept { return m_watched != nullptr; }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == opRemove && component == m_watched)
            m_watched = nullptr;
    }

private:
    TComponent* m_watched;
};

//! Runs code (which calls user code) and returns whether component still
//! exists afterwards; the caller touches the component only when it does.
template <class F>
[[nodiscard]] bool Survives(TComponent& component, F&& code)
{
    TFreeWatch watch(component);
    std::forward<F>(code)();
    return watch.Alive();
}

} // namespace plx::detail
