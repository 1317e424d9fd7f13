#include <gtest/gtest.h>

#include "page_fixture.h"
#include "render/style_hints.h"

namespace ks::render {
namespace {

using testing::ExpectRect;
using testing::PageTest;

TEST(DimensionAttribute, ReadsPixelsPercentsAndTheDoubledPercentSign) {
  float v = 0;
  bool pct = true;
  ASSERT_TRUE(ParseDimensionAttribute(" 16", v, pct));
  EXPECT_EQ(16.0f, v);
  EXPECT_FALSE(pct);
  ASSERT_TRUE(ParseDimensionAttribute("16px", v, pct));
  EXPECT_EQ(16.0f, v);
  EXPECT_FALSE(pct);
  ASSERT_TRUE(ParseDimensionAttribute("70%%", v, pct));
  EXPECT_EQ(70.0f, v);
  EXPECT_TRUE(pct);
  ASSERT_TRUE(ParseDimensionAttribute("12.5%", v, pct));
  EXPECT_EQ(12.5f, v);
  EXPECT_TRUE(pct);
}

TEST(DimensionAttribute, RejectsTextWithoutALeadingNumberAndBoundsHugeOnes) {
  float v = 7;
  bool pct = false;
  EXPECT_FALSE(ParseDimensionAttribute("", v, pct));
  EXPECT_FALSE(ParseDimensionAttribute("%", v, pct));
  EXPECT_FALSE(ParseDimensionAttribute("wide", v, pct));
  EXPECT_FALSE(ParseDimensionAttribute("-5", v, pct));
  EXPECT_EQ(7.0f, v) << "a rejected value leaves the output alone";
  ASSERT_TRUE(ParseDimensionAttribute(std::string(400, '9'), v, pct));
  EXPECT_LT(v, 1.0e7f);
}

TEST(IntegerAttribute, ReadsBlanksSignAndDigitsAndStopsHugeValuesAtTheBound) {
  int v = 0;
  bool sign = true;
  ASSERT_TRUE(ParseIntegerAttribute(" \n3", v, &sign));
  EXPECT_EQ(3, v);
  EXPECT_FALSE(sign);
  ASSERT_TRUE(ParseIntegerAttribute("+2px", v, &sign));
  EXPECT_EQ(2, v);
  EXPECT_TRUE(sign);
  ASSERT_TRUE(ParseIntegerAttribute("-1", v, &sign));
  EXPECT_EQ(-1, v);
  EXPECT_TRUE(sign);
  // Past the range of int (and of a 64-bit long): the bound, never a wrapped value.
  ASSERT_TRUE(ParseIntegerAttribute("4294967298", v));
  EXPECT_EQ(kMaxIntegerAttribute, v);
  ASSERT_TRUE(ParseIntegerAttribute(std::string(400, '9'), v));
  EXPECT_EQ(kMaxIntegerAttribute, v);
  ASSERT_TRUE(ParseIntegerAttribute("-" + std::string(400, '9'), v));
  EXPECT_EQ(-kMaxIntegerAttribute, v);
  v = 7;
  EXPECT_FALSE(ParseIntegerAttribute("", v));
  EXPECT_FALSE(ParseIntegerAttribute("  ", v));
  EXPECT_FALSE(ParseIntegerAttribute("+", v));
  EXPECT_FALSE(ParseIntegerAttribute("- 1", v));
  EXPECT_FALSE(ParseIntegerAttribute("wide", v));
  EXPECT_EQ(7, v) << "a rejected value leaves the output alone";
}

class StyleAttributesTest : public PageTest {};

TEST_F(StyleAttributesTest, HugeColspan_SpansEveryColumnLeft) {
  load(
      "<table style='width: 300px; border-spacing: 0'><tr><td style='padding: 0'>a</td>"
      "<td style='padding: 0'>b</td><td style='padding: 0'>c</td></tr>"
      "<tr><td id=wraps colspan=4294967298 style='padding: 0'>x</td></tr>"
      "<tr><td id=long colspan=99999999999999999999 style='padding: 0'>y</td></tr>"
      "<tr><td id=junk colspan=many style='padding: 0'>z</td></tr></table>",
      400);
  EXPECT_EQ(300, border("wraps").w);
  EXPECT_EQ(300, border("long").w);
  EXPECT_EQ(100, border("junk").w);
}

TEST_F(StyleAttributesTest, FontSizeAttribute_ReadsSignsAfterBlanksAndBoundsHugeValues) {
  load(
      "<font size=5>a</font><font size=' +2'>b</font><font size=7>c</font><font size=4294967297>d</font>"
      "<font size=+2147483647>e</font><font size=-99999999999>f</font><font size=1>g</font>"
      "<font size=big>h</font><span>i</span>",
      400);
  const auto size = [&](const char* text) {
    const PaintOp op = textOp(text);
    return op.font >= 1 ? fake.fonts.at(op.font - 1).size : -1.0f;
  };
  EXPECT_EQ(size("a"), size("b"));
  EXPECT_EQ(size("c"), size("d"));
  EXPECT_EQ(size("c"), size("e"));
  EXPECT_EQ(size("g"), size("f"));
  EXPECT_EQ(size("i"), size("h")) << "a size without a number sets none";
  EXPECT_LT(size("g"), size("a"));
  EXPECT_LT(size("a"), size("c"));
}

TEST_F(StyleAttributesTest, CellWidthAttributeReadsDoubledPercentButStyleSheetWidthWins) {
  load(
      "<style>.footer { width: 300px }</style>"
      "<table style='width: 500px; border-spacing: 0'><tr><td id=a width='70%%' style='padding: 0'>a</td>"
      "<td id=b style='padding: 0'>b</td></tr></table>"
      "<table style='width: 500px; border-spacing: 0'><tr><td id=c class=footer width='70%%' style='padding: 0'>a</td>"
      "<td id=d style='padding: 0'>b</td></tr></table>",
      800);
  EXPECT_EQ(350, border("a").w);
  EXPECT_EQ(150, border("b").w);
  EXPECT_EQ(300, border("c").w);
  EXPECT_EQ(200, border("d").w);
}

TEST_F(StyleAttributesTest, CellspacingAndCellpaddingSpaceTheCellsBelowStyleSheetPaddings) {
  load(
      "<style>td.own { padding-left: 0 }</style>"
      "<table id=t cellspacing=5 cellpadding=3><tr><td id=a>ab</td><td id=b class=own>c</td></tr></table>",
      400);
  ExpectRect(border("a"), 5, 5, 16, 16);
  ExpectRect(content("a"), 8, 8, 10, 10);
  ExpectRect(border("b"), 26, 5, 8, 16);
  EXPECT_EQ(26, content("b").x);
  EXPECT_EQ(26 + 8 + 5, border("t").w);
  EXPECT_EQ(26, border("t").h);
}

TEST_F(StyleAttributesTest, BgcolorPaintsWithOrWithoutHashAndIgnoresNonsense) {
  load(
      "<table bgcolor='#00FF00'><tr><td bgcolor=ff0000>x</td><td bgcolor=navy>y</td><td bgcolor=zzz>z</td></tr></table>",
      400);
  std::vector<std::uint32_t> colours;
  for (const PaintOp& op : ops(PaintOp::Kind::Background)) colours.push_back(op.color);
  EXPECT_EQ((std::vector<std::uint32_t>{0xFF00FF00, 0xFFFF0000, 0xFF000080}), colours);
}

TEST_F(StyleAttributesTest, TableAlignCentresTheTableAndCellAlignCentresItsText) {
  load(
      "<table id=t align=center style='border-spacing: 0'><tr>"
      "<td align=center style='padding: 0; width: 100px'><span id=s>ab</span></td></tr></table>",
      300);
  EXPECT_EQ(100, border("t").x);
  EXPECT_EQ(100 + 45, border("s").x);
}

TEST_F(StyleAttributesTest, ValignOnACellOrItsRowPlacesTheCellContent) {
  load(
      "<table style='border-spacing: 0'>"
      "<tr><td style='height: 40px; padding: 0'>x</td><td style='padding: 0'><span id=mid>m</span></td>"
      "<td valign=bottom style='padding: 0'><span id=bottom>b</span></td></tr>"
      "<tr valign=top><td style='height: 40px; padding: 0'>x</td><td style='padding: 0'><span id=top>t</span></td>"
      "<td valign=bottom style='padding: 0'><span id=own>o</span></td></tr></table>",
      400);
  EXPECT_EQ(15, border("mid").y) << "cells are middle-aligned by default";
  EXPECT_EQ(30, border("bottom").y);
  EXPECT_EQ(40, border("top").y) << "the row's valign reaches its cells";
  EXPECT_EQ(70, border("own").y) << "the cell's own valign wins over its row's";
}

TEST_F(StyleAttributesTest, ImageAlignFloatsItWithHspaceAndVspaceAsMargins) {
  fake.images["i.gif"] = {16, 16};
  load("<div id=d style='width: 100px'><img id=r src=i.gif align=right hspace=4 vspace=10>text</div>", 400);
  ExpectRect(border("r"), 100 - 4 - 16, 10, 16, 16);
  EXPECT_EQ(0, textOp("text").rect.x);
}

TEST_F(StyleAttributesTest, ImageAlignMiddleCentresItOnTheLine) {
  fake.images["i.gif"] = {20, 20};
  load("<div>ab<img id=m src=i.gif align=absmiddle>cd</div>", 400);
  // The image's middle sits half an x-height (5px / 2) above the baseline.
  const int baseline = textOp("ab").baseline;
  const Rect m = border("m");
  EXPECT_EQ(baseline - 2, m.y + m.h / 2);
}

TEST_F(StyleAttributesTest, ImageWidthAttributeInPercentScalesWithTheBlock) {
  fake.images["p.gif"] = {300, 150};
  load("<div style='width: 200px'><img id=p src=p.gif width='50%%'></div>", 400);
  EXPECT_EQ(100, border("p").w);
  EXPECT_EQ(50, border("p").h);
}

TEST_F(StyleAttributesTest, FontAttributesSetColourAndFamily) {
  load("<font color=red face='Courier New'>x</font>", 400);
  const PaintOp x = textOp("x");
  EXPECT_EQ(0xFFFF0000u, x.color);
  ASSERT_GE(x.font, 1u);
  EXPECT_EQ("Courier New", fake.fonts.at(x.font - 1).families);
}

TEST_F(StyleAttributesTest, AttributesOnTheWrongElementsAreIgnored) {
  load("<div id=d width=20 hspace=9 cellpadding=7 valign=bottom>x</div><span id=s width=40>y</span>", 300);
  ExpectRect(border("d"), 0, 0, 300, 10);
  EXPECT_EQ(5, border("s").w);
}

}  // namespace
}  // namespace ks::render
