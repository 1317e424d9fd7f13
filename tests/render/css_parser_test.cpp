#include <gtest/gtest.h>

#include "render/css_declaration_parser.h"
#include "render/css_stylesheet.h"
#include "render/css_tokenizer.h"
#include "render/dom_document.h"
#include "render/html_parser.h"

namespace ks::render {
namespace {

// The value of the last declaration of p; a failure when there is none.
const CssValue& Find(const std::vector<CssDeclaration>& decls, CssProperty p) {
  static const CssValue kMissing;
  const CssValue* found = nullptr;
  for (const auto& d : decls) {
    if (d.property == p) found = &d.value;
  }
  if (!found) ADD_FAILURE() << "no declaration of property " << static_cast<int>(p);
  return found ? *found : kMissing;
}

TEST(CssTokenizer, NumbersUnitsAndDoubledPercent) {
  const auto t = TokenizeCss("12px 1.5em -3 100%% #fff url( a.css ) \"s\\\"q\"");
  ASSERT_GE(t.size(), 14u);
  EXPECT_EQ(CssTokenType::Dimension, t[0].type);
  EXPECT_EQ("px", t[0].text);
  EXPECT_DOUBLE_EQ(12, t[0].number);
  EXPECT_EQ(CssTokenType::Dimension, t[2].type);
  EXPECT_DOUBLE_EQ(1.5, t[2].number);
  EXPECT_EQ(CssTokenType::Number, t[4].type);
  EXPECT_DOUBLE_EQ(-3, t[4].number);
  EXPECT_EQ(CssTokenType::Percentage, t[6].type);
  EXPECT_EQ(CssTokenType::Delim, t[7].type);
  EXPECT_EQ(CssTokenType::Hash, t[9].type);
  EXPECT_EQ(CssTokenType::Url, t[11].type);
  EXPECT_EQ("a.css", t[11].text);
  EXPECT_EQ(CssTokenType::String, t[13].type);
  EXPECT_EQ("s\"q", t[13].text);
  EXPECT_EQ(CssTokenType::End, t.back().type);
}

TEST(CssTokenizer, EscapesInStrings_DecodeToCharacters) {
  const auto t = TokenizeCss("\"\\41 b\\00A0 c\\\nd\"");
  EXPECT_EQ(
      "Ab\xC2\xA0"
      "cd",
      t[0].text);
}

TEST(CssStyleSheet, ImportsInBothFormsAreReportedInOrder) {
  const StyleSheet s = ParseStyleSheet(
      "@import url(\"styles.css\");\n@import url(?LOCALIZE_CSS_URL?);\n@import 'third.css' screen;\np{color:red}");
  ASSERT_EQ(3u, s.imports.size());
  EXPECT_EQ("styles.css", s.imports[0]);
  EXPECT_EQ("?LOCALIZE_CSS_URL?", s.imports[1]);
  EXPECT_EQ("third.css", s.imports[2]);
  EXPECT_EQ(1u, s.rules.size());
}

TEST(CssStyleSheet, StyleTagWrapperAndByteOrderMark_AreIgnored) {
  const StyleSheet s =
      ParseStyleSheet("\xEF\xBB\xBF<style>\n#small_changed { color: red; }\n.footer{width:400px}\n</style>\n");
  ASSERT_EQ(2u, s.rules.size());
  EXPECT_EQ("small_changed", s.rules[0].selectors[0].compounds[0].ids[0]);
}

TEST(CssStyleSheet, BrokenRules_AreSkippedAndLaterRulesSurvive) {
  const StyleSheet s = ParseStyleSheet(
      "p { color: ; width: 10qq; margin: 1px 2px 3px 4px 5px; color: blue }\n"
      "a[x=] { color: red }\n"
      "@font-face { src: url(x) }\n"
      "@media print { b { color: red } }\n"
      "@media screen { i { color: green } }\n"
      "div { color: red; \"unclosed\n} span { color: black }");
  ASSERT_EQ(4u, s.rules.size());
  ASSERT_EQ(1u, s.rules[0].declarations.size()) << "only the valid colour of the first rule stays";
  EXPECT_EQ(0xFF0000FFu, s.rules[0].declarations[0].value.color);
  EXPECT_EQ("i", s.rules[1].selectors[0].compounds[0].tag);
  EXPECT_EQ("div", s.rules[2].selectors[0].compounds[0].tag);
  EXPECT_EQ("span", s.rules[3].selectors[0].compounds[0].tag);
}

TEST(CssStyleSheet, UnterminatedBlock_KeepsItsDeclarations) {
  const StyleSheet s = ParseStyleSheet("td { vertical-align: top; border: 1px solid black");
  ASSERT_EQ(1u, s.rules.size());
  EXPECT_EQ(1u + 12u, s.rules[0].declarations.size());
}

TEST(CssDeclarations, ImportantAndCase) {
  const auto d = ParseInlineStyle("COLOR: Red ! IMPORTANT; font-weight: bold");
  ASSERT_EQ(2u, d.size());
  EXPECT_TRUE(d[0].important);
  EXPECT_EQ(0xFFFF0000u, d[0].value.color);
  EXPECT_FALSE(d[1].important);
  EXPECT_FLOAT_EQ(700, d[1].value.number);
}

TEST(CssDeclarations, ColoursInEveryNotation) {
  const auto d = ParseInlineStyle(
      "color:#abc; background-color: rgb(255, 0, 10); border-top-color: midnightblue; "
      "border-left-color: WhiteSmoke; border-right-color: #00000080; border-bottom-color: transparent");
  EXPECT_EQ(0xFFAABBCCu, Find(d, CssProperty::Color).color);
  EXPECT_EQ(0xFFFF000Au, Find(d, CssProperty::BackgroundColor).color);
  EXPECT_EQ(0xFF191970u, Find(d, CssProperty::BorderTopColor).color);
  EXPECT_EQ(0xFFF5F5F5u, Find(d, CssProperty::BorderLeftColor).color);
  EXPECT_EQ(0x80000000u, Find(d, CssProperty::BorderRightColor).color);
  EXPECT_EQ(0u, Find(d, CssProperty::BorderBottomColor).color);
}

TEST(CssDeclarations, DoubledPercentSign_ReadsAsOnePercent) {
  const auto d = ParseInlineStyle("width: 100%%; font-size: 110%%");
  EXPECT_EQ(CssUnit::Percent, Find(d, CssProperty::Width).unit);
  EXPECT_FLOAT_EQ(100, Find(d, CssProperty::Width).number);
  EXPECT_FLOAT_EQ(110, Find(d, CssProperty::FontSize).number);
}

TEST(CssDeclarations, ShorthandsExpandToLonghands) {
  const auto d = ParseInlineStyle(
      "margin: 1px 2pt; padding: 20px 10px 0 20px; border: double midnightblue 1px;"
      "border-radius: 10px");
  EXPECT_FLOAT_EQ(1, Find(d, CssProperty::MarginBottom).number);
  EXPECT_EQ(CssUnit::Pt, Find(d, CssProperty::MarginLeft).unit);
  EXPECT_FLOAT_EQ(10, Find(d, CssProperty::PaddingRight).number);
  EXPECT_FLOAT_EQ(0, Find(d, CssProperty::PaddingBottom).number);
  EXPECT_EQ(CssKeyword::Double, Find(d, CssProperty::BorderLeftStyle).keyword);
  EXPECT_FLOAT_EQ(1, Find(d, CssProperty::BorderRightWidth).number);
  EXPECT_EQ(0xFF191970u, Find(d, CssProperty::BorderBottomColor).color);
  EXPECT_FLOAT_EQ(10, Find(d, CssProperty::BorderBottomLeftRadius).number);
}

TEST(CssDeclarations, FontShorthandAndFamilyLists) {
  const auto d = ParseInlineStyle("font: bold 14pt Arial; font-family: \"Trebuchet MS\", Arial, sans-serif");
  EXPECT_FLOAT_EQ(700, Find(d, CssProperty::FontWeight).number);
  EXPECT_EQ(CssUnit::Pt, Find(d, CssProperty::FontSize).unit);
  EXPECT_EQ("Trebuchet MS,Arial,sans-serif", Find(d, CssProperty::FontFamily).text);
  const auto italic = ParseInlineStyle("font: italic 11pt/1.5 Trebuchet MS, Arial");
  EXPECT_EQ(CssKeyword::Italic, Find(italic, CssProperty::FontStyle).keyword);
  EXPECT_FLOAT_EQ(1.5f, Find(italic, CssProperty::LineHeight).number);
  EXPECT_EQ("Trebuchet MS,Arial", Find(italic, CssProperty::FontFamily).text);
}

TEST(CssDeclarations, ContentStringsConcatenate) {
  const auto d = ParseInlineStyle("content: \"\xD0\x9D\xD0\xB0\" \"\\A0\xD1\x81\"");
  EXPECT_EQ("\xD0\x9D\xD0\xB0\xC2\xA0\xD1\x81", Find(d, CssProperty::Content).text);
}

TEST(CssDeclarations, InheritOnShorthand_CoversEveryLonghand) {
  const auto d = ParseInlineStyle("padding: inherit");
  ASSERT_EQ(4u, d.size());
  for (const auto& decl : d) EXPECT_EQ(CssValue::Type::Inherit, decl.value.type);
}

TEST(CssSelectors, SpecificityCountsIdsClassesAndTypes) {
  const StyleSheet s = ParseStyleSheet("td.right #x[locid=\"a\"]:hover, * {color:red}");
  ASSERT_EQ(1u, s.rules.size());
  ASSERT_EQ(2u, s.rules[0].selectors.size());
  EXPECT_EQ((1u << 16) | (3u << 8) | 1u, s.rules[0].selectors[0].specificity);
  EXPECT_EQ(0u, s.rules[0].selectors[1].specificity);
}

bool Matches(const char* selector, const Node& e) {
  const StyleSheet s = ParseStyleSheet(std::string(selector) + "{color:red}");
  if (s.rules.empty()) return false;
  for (const auto& sel : s.rules[0].selectors) {
    if (SelectorMatches(sel, e)) return true;
  }
  return false;
}

TEST(CssSelectors, MatchingByTypeIdClassAttributeAndCombinators) {
  Document doc(ParseHtmlDocument(
      "<table id=MAIN_TABLE><tr><td class='footer x'><div class=opt><span locid=span_autorun id=s>t</span>"
      "</div></td></tr></table>"));
  const Node& span = *doc.findById("s");
  EXPECT_TRUE(Matches("span", span));
  EXPECT_TRUE(Matches("#s", span));
  EXPECT_TRUE(Matches("[locid=\"span_autorun\"]", span));
  EXPECT_TRUE(Matches("[locid]", span));
  EXPECT_FALSE(Matches("[locid=\"span\"]", span));
  EXPECT_TRUE(Matches(".footer span", span));
  EXPECT_TRUE(Matches("td.x > .opt > span", span));
  EXPECT_TRUE(Matches("#MAIN_TABLE td span", span));
  EXPECT_FALSE(Matches("td > span", span));
  EXPECT_FALSE(Matches("div + span", span)) << "sibling combinators never match";
  EXPECT_FALSE(Matches("span::before", span));
  EXPECT_TRUE(Matches("p, span", span)) << "one selector of a list is enough";
}

TEST(CssSelectors, StatePseudoClassesFollowElementState) {
  Document doc(ParseHtmlDocument("<widget id=c type=checkbox></widget><a id=l href=x>l</a>"));
  Node& box = *doc.findById("c");
  Node& link = *doc.findById("l");
  EXPECT_FALSE(Matches("widget:checked", box));
  box.setState(kStateChecked);
  EXPECT_TRUE(Matches("widget:checked", box));
  EXPECT_TRUE(Matches("a:link", link));
  link.setState(kStateVisited);
  EXPECT_FALSE(Matches("a:link", link));
  EXPECT_TRUE(Matches("a:visited", link));
}

TEST(CssSelectors, DeepTreeWithManyDescendantCombinators_MatchesQuickly) {
  std::string html;
  for (int i = 0; i < 90; ++i) html += "<div>";
  html += "<span id=leaf>x</span>";
  Document doc(ParseHtmlDocument(html));
  // Exponential backtracking would not finish; the failure kinds keep it linear.
  EXPECT_FALSE(
      Matches("p div div div div div div div div div div div div div div div div span", *doc.findById("leaf")));
  EXPECT_TRUE(Matches("body div div div div div div div div div div div div div div div span", *doc.findById("leaf")));
}

}  // namespace
}  // namespace ks::render
