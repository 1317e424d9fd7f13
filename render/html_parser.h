// A forgiving HTML parser: any byte sequence gives a tree. It follows what
// browsers do for the elements a settings page uses (implied html, head,
// body and table rows, auto-closed p, li, td and tr, ignored stray end tags)
// and caps element nesting so no input can make the tree arbitrarily deep.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "render/dom_node.h"

namespace ks::render {

// Deepest element nesting the tree ever holds; deeper start tags still create
// their elements, but as siblings at the deepest level.
constexpr std::size_t kMaxElementDepth = 96;

// Parses a whole document (UTF-8, with or without a byte-order mark) into an
// html element that always holds a head and a body, in that order.
std::unique_ptr<Node> ParseHtmlDocument(std::string_view utf8);

// Parses content meant for an element named contextName that sits at
// contextDepth in its tree; the result becomes that element's children.
std::vector<std::unique_ptr<Node>> ParseHtmlFragment(std::string_view utf8, std::string_view contextName,
                                                     std::size_t contextDepth);

}  // namespace ks::render
