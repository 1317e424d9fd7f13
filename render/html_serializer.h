// Writes a tree back out as HTML, for the host's "get element HTML".
#pragma once

#include <string>

#include "render/dom_node.h"

namespace ks::render {

// The element itself with its content.
std::string OuterHtml(const Node& node);
// Only the content.
std::string InnerHtml(const Node& node);

}  // namespace ks::render
