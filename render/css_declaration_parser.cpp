#include "render/css_declaration_parser.h"

#include <string>

#include "render/css_properties.h"
#include "render/css_value_grammar.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

using Type = CssTokenType;
using css::DeclarationBuilder;
using css::SkipComponent;

// The property table decides what a name means; a name it does not know is
// dropped like an invalid value.
bool ParseValue(std::string_view name, const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                DeclarationBuilder& b) {
  const std::vector<css::Component> cs = css::Components(tokens, begin, end);
  if (cs.empty()) return false;
  const CssLonghand* longhand = FindLonghand(name);
  const CssShorthand* shorthand = longhand != nullptr ? nullptr : FindShorthand(name);
  if (cs.size() == 1 && css::KeywordOf(cs[0]) == CssKeyword::Inherit) {
    CssValue inherit;
    inherit.type = CssValue::Type::Inherit;
    if (longhand != nullptr) b.add(longhand->property, inherit);
    if (shorthand != nullptr) {
      for (std::size_t i = 0; i < shorthand->longhandCount; ++i) b.add(shorthand->longhands[i], inherit);
    }
    return longhand != nullptr || shorthand != nullptr;
  }
  const CssValueText value{tokens, begin, end, cs};
  if (longhand != nullptr) {
    std::optional<CssValue> v = longhand->parse(value);
    if (!v) return false;
    b.add(longhand->property, std::move(*v));
    return true;
  }
  return shorthand != nullptr && shorthand->parse(value, b);
}

// Parses "name : value [!important]" in tokens[begin, end).
void ParseOneDeclaration(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                         std::vector<CssDeclaration>& out) {
  while (begin < end && tokens[begin].type == Type::Whitespace) ++begin;
  if (begin >= end || tokens[begin].type != Type::Ident) return;
  const std::string name = AsciiLowered(tokens[begin].text);
  std::size_t i = begin + 1;
  while (i < end && tokens[i].type == Type::Whitespace) ++i;
  if (i >= end || tokens[i].type != Type::Colon) return;
  ++i;
  // Trailing "!important".
  std::size_t valueEnd = end;
  while (valueEnd > i && tokens[valueEnd - 1].type == Type::Whitespace) --valueEnd;
  bool important = false;
  if (valueEnd > i && tokens[valueEnd - 1].type == Type::Ident &&
      EqualsIgnoreAsciiCase(tokens[valueEnd - 1].text, "important")) {
    std::size_t k = valueEnd - 1;
    while (k > i && tokens[k - 1].type == Type::Whitespace) --k;
    if (k > i && tokens[k - 1].type == Type::Delim && tokens[k - 1].text == "!") {
      important = true;
      valueEnd = k - 1;
    }
  }
  DeclarationBuilder b(out, important);
  if (ParseValue(name, tokens, i, valueEnd, b)) b.commit();
}

}  // namespace

void ParseDeclarationList(const std::vector<CssToken>& tokens, std::size_t& pos, std::vector<CssDeclaration>& out) {
  const std::size_t last = tokens.size() - 1;  // the End token
  std::size_t start = pos;
  while (pos < last) {
    const Type t = tokens[pos].type;
    if (t == Type::RightBrace) {
      ParseOneDeclaration(tokens, start, pos, out);
      ++pos;
      return;
    }
    if (t == Type::Semicolon) {
      ParseOneDeclaration(tokens, start, pos, out);
      ++pos;
      start = pos;
      continue;
    }
    pos = SkipComponent(tokens, pos, last);
  }
  ParseOneDeclaration(tokens, start, pos, out);
}

std::vector<CssDeclaration> ParseInlineStyle(std::string_view text) {
  const std::vector<CssToken> tokens = TokenizeCss(text);
  std::vector<CssDeclaration> out;
  std::size_t pos = 0;
  while (pos < tokens.size() - 1) ParseDeclarationList(tokens, pos, out);
  return out;
}

bool ParseSingleDeclaration(std::string_view lowerName, std::string_view value, std::vector<CssDeclaration>& out) {
  const std::vector<CssToken> tokens = TokenizeCss(value);
  DeclarationBuilder b(out, false);
  if (!ParseValue(lowerName, tokens, 0, tokens.size() - 1, b)) return false;
  b.commit();
  return true;
}

}  // namespace ks::render