// TTimer: fires OnTimer every Interval milliseconds on the user-interface thread.
#pragma once

#include "framework/host/Component.h"

namespace plx {

//! Runs while Enabled, with a non-zero Interval and an OnTimer handler. The
//! first tick comes one interval after it starts; changing Interval or Enabled
//! restarts the count.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    [[nodiscard]] bool Enabled() const noexcept { return m_enabled; }
    void SetEnabled(bool value);
    [[nodiscard]] std::uint32_t Interval() const noexcept { return m_interval; }
    void SetInterval(std::uint32_t value);
    [[nodiscard]] const TNotifyEvent& OnTimer() const noexcept { return m_onTimer; }
    void SetOnTimer(TNotifyEvent handler);

    //! True while the timer would tick.
    [[nodiscard]] bool Running() const noexcept { return m_enabled && m_interval != 0 && m_onTimer; }
    //! Host-internal: a timer that only keeps up appearances (a caret's blink,
    //! a hint's delay); its ticks do not count as activity of the event loop.
    [[nodiscard]] bool Background() const noexcept { return m_background; }
    void SetBackground(bool value) noexcept { m_background = value; }
    //! Host-internal: when the next tick is due.
    [[nodiscard]] std::int64_t Due() const noexcept { return m_due; }
    void Fire(std::int64_t now);

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

protected:
    virtual void Timer();

private:
    void Update();

    bool m_enabled { true };
    std::uint32_t m_interval { 1000 };
    TNotifyEvent m_onTimer;
    std::int64_t m_due { 0 };
    bool m_registered { false };
    bool m_background { false };
};

} // namespace plx
