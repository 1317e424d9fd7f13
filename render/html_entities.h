// Character references in HTML text and attribute values.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ks::render {

// At text[pos] == '&': if a reference follows, appends its characters to out,
// advances pos past it and returns true; otherwise leaves both alone and
// returns false (the ampersand is then literal text). Numeric references in
// 128..159 are read as Windows-1252, as browsers do (&#133; is an ellipsis).
bool DecodeCharacterReference(std::string_view text, std::size_t& pos, std::string& out);

// Decodes every reference in text.
std::string DecodeEntities(std::string_view text);

}  // namespace ks::render
