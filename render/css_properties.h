// The CSS properties the renderer supports, one entry each: its name, value
// grammar, initial value and inheritance, and how its computed value is set
// and copied; a shorthand names its longhands and its grammar. The
// declaration parser, the cascade and the computed style all read this
// table, so a property is added here (and to ComputedStyle) only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "render/css_tokenizer.h"
#include "render/css_value.h"
#include "render/css_value_grammar.h"
#include "render/style_computed.h"

namespace ks::render {

// How an element gets the value when no declaration sets it.
enum class CssInheritance : std::uint8_t {
  No,
  Yes,
  // Not inherited in CSS, but carried to children as if it were: text
  // decorations reach the text of descendants, and carrying them draws the
  // same lines.
  CarriedAlong,
};

// A declaration's value: its tokens and their component values (never empty).
struct CssValueText {
  const std::vector<CssToken>& tokens;
  std::size_t begin;
  std::size_t end;
  const std::vector<css::Component>& components;
};

struct CssLonghand {
  CssProperty property;
  std::string_view name;
  // The value, as CSS text, that gives ComputedStyle's default; the keyword
  // 'initial' restores that default.
  std::string_view initial;
  CssInheritance inheritance;
  // Nothing when the value does not fit the property's grammar.
  std::optional<CssValue> (*parse)(const CssValueText& value);
  // Sets the computed value from a declared one ('inherit' and 'initial' are
  // copies instead).
  void (*apply)(ComputedStyle& style, const CssValue& value, const ComputedStyle& parent, float rootFontSize);
  void (*copy)(ComputedStyle& style, const ComputedStyle& from);
};

struct CssShorthand {
  std::string_view name;
  std::array<CssProperty, 12> longhands;  // the first longhandCount; 'inherit' sets them all
  std::size_t longhandCount;
  // Adds a declaration per longhand it sets; false when the value is invalid.
  bool (*parse)(const CssValueText& value, css::DeclarationBuilder& out);
};

template <typename Entry>
struct CssTableView {
  const Entry* first;
  std::size_t size;
  const Entry* begin() const { return first; }
  const Entry* end() const { return first + size; }
};

// Every longhand, in the order of CssProperty.
CssTableView<CssLonghand> CssLonghands();
CssTableView<CssShorthand> CssShorthands();

const CssLonghand& LonghandOf(CssProperty p);
// Null for names (lower case) that are no longhand, or no shorthand.
const CssLonghand* FindLonghand(std::string_view lowerName);
const CssShorthand* FindShorthand(std::string_view lowerName);

// The font size a font-size declaration gives; resolved before every other
// property, whose em lengths depend on it.
float ResolveFontSize(const CssValue& v, float parentSize, float rootFontSize);

}  // namespace ks::render
