#include "framework/host/Timer.h"

#include "rtl/Store.h"
#include "framework/host/Forms.h"
#include "rtl/TypInfo.h"

namespace plx {

TTimer::TTimer(TComponent* owner)
    : TComponent(owner)
{
}

TTimer::~TTimer()
{
    if (m_registered && InitializedApplication())
        Application().UnregisterTimer(this);
}

void TTimer::SetEnabled(bool value)
{
    Store(m_enabled, value, [this] { Update(); });
}

void TTimer::SetInterval(std::uint32_t value)
{
    Store(m_interval, value, [this] { Update(); });
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    m_onTimer = std::move(handler);
    Update();
}

void TTimer::Update()
{
    if (!InitializedApplication())
        return;
    if (Running()) {
        m_due = Application().Now() + m_interval;
        if (!m_registered) {
            Application().RegisterTimer(this);
            m_registered = true;
        }
    } else if (m_registered) {
        Application().UnregisterTimer(this);
        m_registered = false;
    }
}

void TTimer::Fire(std::int64_t now)
{
    m_due = now + m_interval;
    Timer();
}

void TTimer::Timer()
{
    if (m_onTimer)
        m_onTimer(this);
}

const TClassInfo& TTimer::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TTimer>("TTimer", &TComponent::StaticClassInfo())
        .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
        .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000, nullptr, "Cardinal")
        .Event("OnTimer", "TNotifyEvent", &TTimer::OnTimer, &TTimer::SetOnTimer)
        .Creator([](TComponent* owner) -> TComponent* { return new TTimer(owner); })
        .Build();
    return info;
}

const TClassInfo& TTimer::ClassType() const
{
    return StaticClassInfo();
}

} // namespace plx
