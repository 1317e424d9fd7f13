// The value grammars CSS properties share: component values, lengths,
// colours, border widths and styles, font sizes, weights and families,
// keyword lists. The property table names one of them for each property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "render/css_tokenizer.h"
#include "render/css_value.h"

namespace ks::render::css {

// One component value: a token, or a function with its arguments.
struct Component {
  const CssToken* token = nullptr;
  std::vector<const CssToken*> args;  // function arguments without whitespace and commas
};

// Skips one component starting at tokens[i]; returns the index after it.
std::size_t SkipComponent(const std::vector<CssToken>& tokens, std::size_t i, std::size_t end);
std::vector<Component> Components(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end);

CssValue Keyword(CssKeyword k);
CssValue Length(float number, CssUnit unit);
CssValue Color(std::uint32_t argb);
CssValue FamilyValue(std::string families);

CssKeyword KeywordOf(const Component& c);

struct LengthRules {
  bool percent = true;
  bool negative = true;
  bool unitlessAsPx = true;  // old pages write "width: 100"
};

std::optional<CssValue> ParseLength(const CssToken& t, LengthRules rules);
std::optional<CssValue> ParseColorValue(const Component& c);
std::optional<CssValue> ParseBorderWidth(const Component& c);
bool IsBorderStyle(CssKeyword k);
std::optional<CssValue> FontSizeValue(const Component& c);
std::optional<CssValue> FontWeightValue(const Component& c);
std::optional<CssValue> LineHeightValue(const Component& c);
// Family names joined by ',': quoted names as written, unquoted words joined by one space.
std::optional<std::string> FontFamilies(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end);
std::optional<CssValue> SingleKeyword(const std::vector<Component>& cs, std::initializer_list<CssKeyword> allowed);

// Collects the longhands of one declaration; they reach the block only when
// the whole value was valid.
class DeclarationBuilder {
 public:
  DeclarationBuilder(std::vector<CssDeclaration>& out, bool important) : out_(out), important_(important) {}

  void add(CssProperty p, CssValue v) { pending_.push_back(CssDeclaration{p, important_, std::move(v)}); }

  void commit() {
    for (auto& d : pending_) out_.push_back(std::move(d));
  }

 private:
  std::vector<CssDeclaration>& out_;
  bool important_;
  std::vector<CssDeclaration> pending_;
};

// 1 to 4 values for top, right, bottom, left.
template <typename ParseOne>
bool FourSides(const std::vector<Component>& cs, const CssProperty (&props)[4], DeclarationBuilder& b, ParseOne parse) {
  if (cs.empty() || cs.size() > 4) return false;
  std::vector<CssValue> v;
  for (const Component& c : cs) {
    auto parsed = parse(c);
    if (!parsed) return false;
    v.push_back(std::move(*parsed));
  }
  const std::size_t n = v.size();
  const CssValue sides[4] = {v[0], n > 1 ? v[1] : v[0], n > 2 ? v[2] : v[0], n > 3 ? v[3] : (n > 1 ? v[1] : v[0])};
  for (int i = 0; i < 4; ++i) b.add(props[i], sides[i]);
  return true;
}

}  // namespace ks::render::css
