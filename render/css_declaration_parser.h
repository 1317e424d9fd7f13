// Reads declaration blocks ("color: red; margin: 0 auto !important") into
// longhand declarations. Invalid declarations are dropped one by one, as
// browsers do, and the rest of the block still applies.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "render/css_tokenizer.h"
#include "render/css_value.h"

namespace ks::render {

// Reads declarations from tokens[pos] up to a '}' at this nesting level (the
// brace is consumed) or the end; appends what is valid to out.
void ParseDeclarationList(const std::vector<CssToken>& tokens, std::size_t& pos, std::vector<CssDeclaration>& out);

// A style attribute's text.
std::vector<CssDeclaration> ParseInlineStyle(std::string_view text);

// One declaration from its lower-case name and value text; for presentational
// attributes and tests. Answers false when the value is not valid.
bool ParseSingleDeclaration(std::string_view lowerName, std::string_view value, std::vector<CssDeclaration>& out);

}  // namespace ks::render
