// The section builders of the demo window (listed in Sections.cpp) and the
// little they share.
#pragma once

#include "Demo.h"

#include <cstdint>
#include <string>

namespace demo {

//! \name Sections.cpp
void GradientPanelSection(Demo& demo, plx::TPanel& box);
void ArtLabelSection(Demo& demo, plx::TPanel& box);
void BackgroundSection(Demo& demo, plx::TPanel& box);
void BevelsSection(Demo& demo, plx::TPanel& box);
void RoutinesSection(Demo& demo, plx::TPanel& box);

//! \name ButtonSections.cpp
void ColorButtonsSection(Demo& demo, plx::TPanel& box);
void ImageButtonsSection(Demo& demo, plx::TPanel& box);

//! \name ControlSections.cpp
void ScrollBarsSection(Demo& demo, plx::TPanel& box);
void ColorPanelsSection(Demo& demo, plx::TPanel& box);
void PictureSection(Demo& demo, plx::TPanel& box);

//! \name Shared between sections
//! The longest shadow the art label takes.
inline constexpr std::int32_t kMaxShadow = 12;
//! The art label's shadow length: through the "ShadowBar" scroll bar when it is
//! there (so the bar follows, and its OnChange tells the status line), else directly.
void SetArtShadow(Demo& demo, std::int32_t length, const std::string& how);
//! The gradient panel's band thickness, kept in step on the "BandsUpDown"
//! up-down and the "BandsBar" scroll bar.
void SetGradientBands(Demo& demo, std::int32_t size, const std::string& how);
//! The fully saturated colour of a hue, 0..359 degrees from red through green and blue.
[[nodiscard]] plx::TColor Hue(std::int32_t degrees) noexcept;

} // namespace demo
