// Whether the user has a high-contrast theme on, and the system's colours
// the page is then drawn in.
#pragma once

#include <optional>

#include "render/paint_forced_colors.h"

namespace ks::render {

// The system's colours while SPI_GETHIGHCONTRAST says high contrast is on;
// nothing otherwise.
std::optional<ForcedColors> HighContrastColors();

// Some systems (Wine) cannot switch high contrast on: tests answer the
// question for them here. Nothing restores the system's own answer.
void OverrideHighContrast(std::optional<bool> on);

}  // namespace ks::render
