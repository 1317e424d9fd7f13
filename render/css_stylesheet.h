// A parsed style sheet: its rules in source order and the sheets it imports.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/css_selector.h"
#include "render/css_value.h"

namespace ks::render {

struct StyleRule {
  std::vector<Selector> selectors;
  std::vector<CssDeclaration> declarations;
};

struct StyleSheet {
  std::vector<std::string> imports;  // URLs of @import, in order
  std::vector<StyleRule> rules;
};

// Never fails: what cannot be read is skipped as browsers skip it. A sheet
// wrapped in "<style>" and "</style>" lines (as an HTML resource) reads as
// the sheet inside. Only @media blocks for all media or the screen apply.
StyleSheet ParseStyleSheet(std::string_view text);

}  // namespace ks::render
