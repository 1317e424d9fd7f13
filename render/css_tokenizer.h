// CSS tokens, read the way browsers read them, so broken style sheets fail
// in the same small places.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ks::render {

enum class CssTokenType : std::uint8_t {
  Ident,
  Function,
  AtKeyword,
  Hash,
  String,
  BadString,
  Url,
  BadUrl,
  Delim,
  Number,
  Percentage,
  Dimension,
  Whitespace,
  Cdo,
  Cdc,
  Colon,
  Semicolon,
  Comma,
  LeftBracket,
  RightBracket,
  LeftParen,
  RightParen,
  LeftBrace,
  RightBrace,
  End,
};

struct CssToken {
  CssTokenType type = CssTokenType::End;
  std::string text;       // name, string value, unit, or the delimiter character
  double number = 0.0;    // Number, Percentage, Dimension
  bool hashIsId = false;  // a Hash that could be an id selector
};

// The whole input as tokens, always ending with one End token. Comments are
// dropped; a leading byte-order mark is skipped.
std::vector<CssToken> TokenizeCss(std::string_view text);

}  // namespace ks::render
