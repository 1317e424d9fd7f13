// Replays a page's paint list with GDI+ (anti-aliased): backgrounds and
// rounded, double, dashed and per-side borders, text, images, check boxes,
// radio buttons, push buttons and the keyboard focus mark.
#pragma once

#include <vector>

#include "render/paint_forced_colors.h"
#include "render/paint_list.h"

namespace Gdiplus {
class Graphics;
}

namespace ks::render {

class Win32Container;

struct PaintSettings {
  float scale = 1.0f;     // device pixels per CSS pixel
  int scrollX = 0;        // CSS pixels of the page left of the window
  int scrollY = 0;        // CSS pixels of the page above the window
  bool showFocus = true;  // the window has the keyboard focus
  // High contrast: marks and focus in these colours (the list's own colours
  // have been forced already); null otherwise.
  const ForcedColors* forced = nullptr;
};

// Draws onto g, whose origin is the window's client corner.
void PaintPage(Gdiplus::Graphics& g, const std::vector<PaintOp>& ops, const Win32Container& container,
               const PaintSettings& settings);

}  // namespace ks::render
