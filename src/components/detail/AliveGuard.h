// AliveGuard: whether a component survived a call that may have run user code.
#pragma once

#include "framework/host/Component.h"

namespace plx::detail {

//! Watches a component through its free notifications: code that calls out to
//! anything that may run an application's handler (a repaint, a message) makes
//! one first and checks Alive() before it touches the component again, since
//! the handler may have freed it.
class TAliveGuard final : public TComponent {
public:
    explicit TAliveGuard(TComponent& watched)
        : TComponent(nullptr)
        , m_watched(&watched)
    {
        watched.FreeNotification(this);
    }
    ~TAliveGuard() override
    {
        if (m_watched)
            m_watched->RemoveFreeNotification(this);
    }
    TAliveGuard(const TAliveGuard&) = delete;
    TAliveGuard& operator=(const TAliveGuard&) = delete;

    [[nodiscard]] bool Alive() const noexcept { return m_watched != nullptr; }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == opRemove && component == m_watched)
            m_watched = nullptr;
        TComponent::Notification(component, operation);
    }

private:
    TComponent* m_watched;
};

} // namespace plx::detail
