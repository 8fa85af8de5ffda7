// Start-up and shut-down counting for units that own process-wide objects.
#pragma once

namespace plx {

//! A unit's Initialize does its work on the first call only and its Finalize on
//! the call that balances it; extra calls do nothing.
class TUnitLifetime {
public:
    //! True when this call is the one that must create the unit's objects.
    [[nodiscard]] bool Initialize() noexcept { return m_count++ == 0; }
    //! True when this call is the one that must free them.
    [[nodiscard]] bool Finalize() noexcept { return m_count > 0 && --m_count == 0; }
    [[nodiscard]] bool Initialized() const noexcept { return m_count > 0; }

private:
    int m_count { 0 };
};

} // namespace plx
