// Presentational attributes (width, align, valign, hspace, vspace, bgcolor,
// cellspacing...) as declarations that rank below every style sheet rule.
#pragma once

#include <string_view>
#include <vector>

#include "render/css_value.h"
#include "render/dom_node.h"

namespace ks::render {

std::vector<CssDeclaration> PresentationalHints(const Node& element);

// Reads a width or height attribute: "16", "16px", "70%" and the doubled
// "70%%" of hand-written pages. Answers false when no number leads the text.
bool ParseDimensionAttribute(std::string_view text, float& value, bool& percent);

// Reads an integer attribute (colspan, font size): blanks, an optional sign,
// digits, then anything. Values stop at plus or minus kMaxIntegerAttribute,
// so no page can overflow them. Answers false when no digit comes; isSigned
// tells whether a sign came before the digits.
constexpr int kMaxIntegerAttribute = 1000000;
bool ParseIntegerAttribute(std::string_view text, int& value, bool* isSigned = nullptr);

}  // namespace ks::render
