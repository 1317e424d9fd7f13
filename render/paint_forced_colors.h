// High contrast: the page drawn in the system's colours instead of its own,
// as browsers do in forced-colours mode. Backgrounds take the window colour,
// text and borders the window-text colour, links the hot-light colour, push
// buttons the button colours; images keep theirs.
#pragma once

#include <cstdint>
#include <vector>

#include "render/paint_list.h"

namespace ks::render {

// 0xAARRGGBB, like every colour of the paint list.
struct ForcedColors {
  std::uint32_t window = 0xFFFFFFFFu;
  std::uint32_t windowText = 0xFF000000u;
  std::uint32_t hotLight = 0xFF0000FFu;   // links
  std::uint32_t highlight = 0xFF0078D7u;  // keyboard focus, hovered and checked marks
  std::uint32_t highlightText = 0xFFFFFFFFu;
  std::uint32_t buttonFace = 0xFFF0F0F0u;
  std::uint32_t buttonText = 0xFF000000u;
  std::uint32_t grayText = 0xFF6D6D6Du;  // disabled controls
};

void ApplyForcedColors(std::vector<PaintOp>& ops, const ForcedColors& colors);

}  // namespace ks::render
