// Turns the styled element tree into the box tree: one box per displayed
// element or text, anonymous blocks around inline runs that sit beside
// blocks, and the table rows and cells that the markup left out.
#pragma once

#include <deque>

#include "render/dom_node.h"
#include "render/layout_box.h"
#include "render/style_computed.h"

namespace ks::render {

struct BoxTree {
  LayoutBox* root = nullptr;
  std::deque<LayoutBox> boxes;
  std::deque<ComputedStyle> anonymousStyles;

  void clear() {
    root = nullptr;
    boxes.clear();
    anonymousStyles.clear();
  }
};

// root must have been styled. Previous boxes of tree are discarded and the
// nodes' box pointers updated.
void BuildBoxTree(Node& root, BoxTree& tree);

}  // namespace ks::render
