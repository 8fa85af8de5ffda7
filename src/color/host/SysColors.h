// The system colour table and ColorToRGB.
#pragma once

#include "color/host/Types.h"

namespace plx {

//! Resolves a system colour (negative TColor) to its explicit 0x00BBGGRR value
//! from the system colour table; explicit colours pass unchanged. An unknown
//! system index resolves to 0 (black).
[[nodiscard]] TColor ColorToRGB(TColor color) noexcept;

//! The current value of system colour index (0 for an unknown index).
[[nodiscard]] TColor GetSysColor(std::int32_t index) noexcept;

//! Changes one entry of the system colour table (the application's scheme).
void SetSysColor(std::int32_t index, TColor value) noexcept;

//! Restores the classic desktop scheme (button face 0xC0C0C0, window 0xFFFFFF, ...).
void ResetSysColors() noexcept;

} // namespace plx
