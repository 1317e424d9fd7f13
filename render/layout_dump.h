// A readable text form of the laid-out box tree, for golden-file tests and
// for looking at a layout by eye.
#pragma once

#include <string>

#include "render/layout_box.h"

namespace ks::render {

// One line per box: kind, element, border box in root coordinates; then
// the lines and text runs of blocks with inline content.
std::string DumpBoxTree(const LayoutBox& root);

}  // namespace ks::render
