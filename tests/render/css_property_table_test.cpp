// Every property of the property table, through the declaration parser, the
// cascade and the computed style.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "render/css_declaration_parser.h"
#include "render/css_properties.h"
#include "render/dom_node.h"
#include "render/style_resolver.h"

namespace ks::render {
namespace {

// A value of each longhand whose computed value differs from the initial one.
const std::map<std::string_view, std::string> kSamples = {
    {"color", "red"},
    {"background-color", "red"},
    {"font-family", "Courier"},
    {"font-size", "20px"},
    {"font-weight", "bold"},
    {"font-style", "italic"},
    {"text-transform", "uppercase"},
    {"text-align", "center"},
    {"vertical-align", "top"},
    {"text-decoration", "underline"},
    {"white-space", "nowrap"},
    {"line-height", "2"},
    {"display", "block"},
    {"float", "left"},
    {"clear", "both"},
    {"width", "10px"},
    {"height", "10px"},
    {"min-width", "10px"},
    {"min-height", "10px"},
    {"margin-top", "5px"},
    {"margin-right", "5px"},
    {"margin-bottom", "5px"},
    {"margin-left", "5px"},
    {"padding-top", "5px"},
    {"padding-right", "5px"},
    {"padding-bottom", "5px"},
    {"padding-left", "5px"},
    {"border-top-width", "2px"},
    {"border-right-width", "2px"},
    {"border-bottom-width", "2px"},
    {"border-left-width", "2px"},
    {"border-top-style", "solid"},
    {"border-right-style", "solid"},
    {"border-bottom-style", "solid"},
    {"border-left-style", "solid"},
    {"border-top-color", "red"},
    {"border-right-color", "red"},
    {"border-bottom-color", "red"},
    {"border-left-color", "red"},
    {"border-top-left-radius", "4px"},
    {"border-top-right-radius", "4px"},
    {"border-bottom-right-radius", "4px"},
    {"border-bottom-left-radius", "4px"},
    {"content", "\"x\""},
    {"cursor", "pointer"},
    {"border-spacing", "3px"},
    {"visibility", "hidden"},
    {"text-indent", "8px"},
};

bool Same(const Length& a, const Length& b) { return a.value == b.value && a.unit == b.unit; }

bool Same(const ComputedStyle& a, const ComputedStyle& b) {
  for (int i = 0; i < 4; ++i) {
    if (!Same(a.margin[i], b.margin[i]) || !Same(a.padding[i], b.padding[i]) || a.borderWidth[i] != b.borderWidth[i] ||
        a.borderStyle[i] != b.borderStyle[i] || a.borderColor[i] != b.borderColor[i] ||
        a.borderColorIsCurrent[i] != b.borderColorIsCurrent[i] || a.borderRadius[i] != b.borderRadius[i]) {
      return false;
    }
  }
  return a.display == b.display && a.floatSide == b.floatSide && a.visible == b.visible && a.color == b.color &&
         a.backgroundColor == b.backgroundColor && a.fontFamily == b.fontFamily && a.fontSize == b.fontSize &&
         a.fontWeight == b.fontWeight && a.italic == b.italic && a.textTransform == b.textTransform &&
         a.textAlign == b.textAlign && a.verticalAlign == b.verticalAlign && a.verticalShift == b.verticalShift &&
         a.underline == b.underline && a.lineThrough == b.lineThrough && a.whiteSpace == b.whiteSpace &&
         a.lineHeight == b.lineHeight && a.lineHeightIsFactor == b.lineHeightIsFactor && a.textIndent == b.textIndent &&
         Same(a.width, b.width) && Same(a.height, b.height) && Same(a.minWidth, b.minWidth) &&
         Same(a.minHeight, b.minHeight) && a.borderSpacing == b.borderSpacing && a.cursor == b.cursor &&
         a.hasContent == b.hasContent && a.content == b.content;
}

class PropertyTableTest : public ::testing::Test {
 protected:
  // The style of an element with this style attribute below a parent.
  ComputedStyle Styled(const std::string& style, const ComputedStyle& parent) const {
    auto element = Node::MakeElement("x-probe");
    if (!style.empty()) element->setAttribute("style", style);
    return resolver_.compute(*element, &parent);
  }

  // Only the property's computed value, over a default style.
  static ComputedStyle Only(const CssLonghand& property, const ComputedStyle& from) {
    ComputedStyle s;
    property.copy(s, from);
    return s;
  }

  StyleResolver resolver_;
  const ComputedStyle root_ = resolver_.compute(*Node::MakeElement("x-probe"), nullptr);
};

TEST_F(PropertyTableTest, EveryLonghand_ParsesCascadesInheritsAndStartsFromItsInitialValue) {
  for (const CssLonghand& property : CssLonghands()) {
    const std::string name(property.name);
    SCOPED_TRACE(name);
    EXPECT_EQ(FindLonghand(property.name), &property);
    EXPECT_EQ(FindShorthand(property.name), nullptr);
    const auto sample = kSamples.find(property.name);
    ASSERT_NE(sample, kSamples.end()) << "every property needs a sample value here";

    for (const std::string& value : {sample->second, std::string(property.initial), std::string("inherit")}) {
      std::vector<CssDeclaration> parsed;
      ASSERT_TRUE(ParseSingleDeclaration(property.name, value, parsed)) << value;
      ASSERT_EQ(parsed.size(), 1u) << value;
      EXPECT_EQ(parsed[0].property, property.property) << value;
    }

    const ComputedStyle plain = Styled("", root_);
    const ComputedStyle set = Styled(name + ": " + sample->second, root_);
    // 'clear' is read and ignored: floats are never cleared.
    if (property.property == CssProperty::Clear) continue;
    EXPECT_FALSE(Same(Only(property, set), Only(property, plain))) << "the sample changes the computed value";
    EXPECT_TRUE(Same(Only(property, Styled(name + ": " + std::string(property.initial), root_)), Only(property, plain)))
        << "the initial value is the computed style's default";
    EXPECT_EQ(Same(Only(property, Styled("", set)), Only(property, set)), property.inheritance != CssInheritance::No)
        << "a child takes the value exactly when it is inherited";
    EXPECT_TRUE(Same(Only(property, Styled(name + ": inherit", set)), Only(property, set)));
  }
}

TEST_F(PropertyTableTest, EveryShorthand_SetsItsLonghandsAndNoOthers) {
  for (const CssShorthand& shorthand : CssShorthands()) {
    SCOPED_TRACE(std::string(shorthand.name));
    EXPECT_EQ(FindShorthand(shorthand.name), &shorthand);
    std::vector<CssDeclaration> parsed;
    ASSERT_TRUE(ParseSingleDeclaration(shorthand.name, "inherit", parsed));
    ASSERT_EQ(parsed.size(), shorthand.longhandCount);
    for (std::size_t i = 0; i < parsed.size(); ++i) {
      EXPECT_EQ(parsed[i].property, shorthand.longhands[i]);
      EXPECT_EQ(parsed[i].value.type, CssValue::Type::Inherit);
    }
  }
  std::vector<CssDeclaration> parsed;
  EXPECT_FALSE(ParseSingleDeclaration("speak", "none", parsed)) << "unknown properties are dropped";
  EXPECT_FALSE(ParseSingleDeclaration("speak", "inherit", parsed));
  EXPECT_TRUE(parsed.empty());
}

}  // namespace
}  // namespace ks::render
