#include <gtest/gtest.h>

#include "page_fixture.h"

namespace ks::render {
namespace {

using testing::ExpectRect;
using testing::PageTest;

class PageEditTest : public PageTest {};

TEST_F(PageEditTest, SetInnerTextChangesTheMinimumWidth) {
  load("<table style='border-spacing: 0'><tr><td id=c style='padding: 0'>ab</td></tr></table>", 400);
  EXPECT_EQ(10, page.minWidth());
  page.setInnerText(node("c"), "abcdefgh ij");
  EXPECT_EQ(40, page.minWidth());
  page.setInnerText(node("c"), "");
  EXPECT_EQ(0, page.minWidth());
}

TEST_F(PageEditTest, SetInnerHtmlChangesTheMinimumHeightAndMovesLaterSiblings) {
  load("<div id=a>a</div><div id=b>b</div>", 100);
  EXPECT_EQ(20, page.minHeight(100));
  page.setInnerHtml(node("a"), "1<br>2<br>3");
  EXPECT_EQ(40, page.minHeight(100));
  EXPECT_EQ(30, content("b").y);
}

TEST_F(PageEditTest, SetInnerHtmlReplacesChildrenAndNewElementsAreFoundAndLaidOut) {
  load("<div id=d><span id=old>old</span></div>", 400);
  page.setInnerHtml(node("d"), "<span id=new>new text</span>");
  EXPECT_EQ(nullptr, page.document().findById("old"));
  ExpectRect(border("new"), 0, 0, 40, 10);
}

TEST_F(PageEditTest, SetInnerTextKeepsMarkupAsText) {
  load("<div id=d>x</div>", 400);
  page.setInnerText(node("d"), "<b>x</b> &amp;");
  EXPECT_EQ("<b>x</b> &amp;", paintedText());
  ASSERT_EQ(1u, node("d").children().size());
  EXPECT_TRUE(node("d").children()[0]->isText());
}

TEST_F(PageEditTest, EditingAStyleElementRestylesThePage) {
  load("<style id=st>div { color: red }</style><div>x</div><div id=d></div>", 400);
  EXPECT_EQ(0xFFFF0000u, textOp("x").color);
  page.setInnerText(node("st"), "div { color: blue }");
  EXPECT_EQ(0xFF0000FFu, textOp("x").color);
  // Imports of the new text are asked for before the next layout.
  page.setInnerHtml(node("st"), "@import 'a.css'; div { color: blue }");
  EXPECT_EQ(std::vector<std::string>{"a.css"}, page.pendingStyleSheets());
  page.setInnerText(node("st"), "div { color: blue }");
  EXPECT_TRUE(page.pendingStyleSheets().empty());
  page.setInnerHtml(node("d"), "<style>@import 'b.css';</style>");
  EXPECT_EQ(std::vector<std::string>{"b.css"}, page.pendingStyleSheets());
  page.setInnerHtml(node("d"), "y");
  EXPECT_TRUE(page.pendingStyleSheets().empty());
}

// The host asks for the minimum width after the page is laid out and then
// reads element locations at the same width.
TEST_F(PageEditTest, MinimumWidthQueryLeavesLocationsAsTheLayoutPlacedThem) {
  load("<div id=d style='padding-left: 10%; margin-left: 5%'>x</div>", 400);
  ExpectRect(content("d"), 20 + 40, 0, 400 - 20 - 40, 10);
  EXPECT_EQ(5, page.minWidth());
  ExpectRect(content("d"), 20 + 40, 0, 400 - 20 - 40, 10);
  EXPECT_EQ(10, page.minHeight(400));
}

class ElementStateTest : public PageTest {};

TEST_F(ElementStateTest, HoverRestylesAndClearingItRestores) {
  load(
      "<style>a:hover { color: red } #other:hover { color: green } #other { color: blue }</style>"
      "<a id=l href=u>link</a> <a id=other href=u>more</a>",
      400);
  EXPECT_EQ(0xFF0000EEu, textOp("link").color);
  page.setState(node("l"), kStateHover, 0);
  EXPECT_EQ(0xFFFF0000u, textOp("link").color);
  page.setState(node("other"), kStateHover, 0);
  EXPECT_EQ(0xFF008000u, textOp("more").color);
  page.setState(node("l"), 0, kStateHover);
  EXPECT_EQ(0xFF0000EEu, textOp("link").color);
  EXPECT_EQ(kStateHover, node("other").state());
}

TEST_F(ElementStateTest, IdRuleOutranksAHoverRuleOfLowerSpecificity) {
  load("<style>#l { color: blue } a:hover { color: red }</style><a id=l href=u>link</a>", 400);
  page.setState(node("l"), kStateHover, 0);
  EXPECT_EQ(0xFF0000FFu, textOp("link").color);
}

TEST_F(ElementStateTest, CheckedAndFocusSelectorsFollowTheirBits) {
  load(
      "<style>widget:checked span { color: green } widget:focus { background-color: yellow }</style>"
      "<widget type=checkbox id=c><span>caption</span></widget>",
      400);
  EXPECT_EQ(testing::kBlack, textOp("caption").color);
  EXPECT_TRUE(ops(PaintOp::Kind::Background).empty());
  page.setState(node("c"), kStateChecked | kStateFocus, 0);
  EXPECT_EQ(0xFF008000u, textOp("caption").color);
  ASSERT_EQ(1u, ops(PaintOp::Kind::Background).size());
  page.setState(node("c"), 0, kStateFocus);
  EXPECT_TRUE(ops(PaintOp::Kind::Background).empty());
  EXPECT_EQ(0xFF008000u, textOp("caption").color) << "still checked";
}

TEST_F(ElementStateTest, VisitedLinkTakesTheVisitedColourAndLeavesLinkRules) {
  load("<style>a:link { font-weight: bold }</style><a id=l href=u>link</a><a id=n>anchor</a>", 400);
  const PaintOp before = textOp("link");
  EXPECT_EQ(700, fake.fonts.at(before.font - 1).weight);
  EXPECT_EQ(400, fake.fonts.at(textOp("anchor").font - 1).weight) << ":link needs an href";
  page.setState(node("l"), kStateVisited, 0);
  const PaintOp after = textOp("link");
  EXPECT_EQ(0xFF551A8Bu, after.color);
  EXPECT_EQ(400, fake.fonts.at(after.font - 1).weight);
  EXPECT_TRUE(after.underline);
}

TEST_F(ElementStateTest, StateThatChangesSizeReLaysOutThePage) {
  load("<style>span:hover { font-size: 20px }</style><div><span id=s>x</span></div><div id=next>y</div>", 400);
  EXPECT_EQ(10, content("next").y);
  page.setState(node("s"), kStateHover, 0);
  EXPECT_EQ(20, content("next").y);
  EXPECT_EQ(30, page.minHeight(400));
}

}  // namespace
}  // namespace ks::render
