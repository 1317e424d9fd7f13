#include <gtest/gtest.h>

#include "page_fixture.h"

namespace ks::render {
namespace {

using testing::ExpectRect;
using testing::PageTest;

class ElementGeometryTest : public PageTest {};

TEST_F(ElementGeometryTest, CellBoxesCountTableBorderPaddingAndSpacing) {
  load(
      "<table id=t style='border: 1px solid; padding: 4px; border-spacing: 2px'><tr>"
      "<td id=a style='padding: 6px 0 0 6px; border: 1px solid'>ab</td>"
      "<td id=b style='padding: 0'>c</td></tr></table>",
      400);
  // Table content starts at 1 + 4; the first cell after 2px of spacing.
  ExpectRect(border("a"), 7, 7, 18, 18);
  ExpectRect(content("a"), 14, 14, 10, 10);
  ExpectRect(border("b"), 7 + 18 + 2, 7, 5, 18);
  ExpectRect(border("t"), 0, 0, 1 + 4 + 2 + 18 + 2 + 5 + 2 + 4 + 1, 1 + 4 + 2 + 18 + 2 + 4 + 1);
}

TEST_F(ElementGeometryTest, ContentOfAMiddleAlignedCellMovesWithIt) {
  load(
      "<table style='border-spacing: 0'><tr><td style='height: 50px; padding: 0'>x</td>"
      "<td id=c style='padding: 0'><span id=s>s</span><div id=d>d</div></td></tr></table>",
      400);
  // Two lines of 10px in a 50px row: 15px above them.
  ExpectRect(content("c"), 5, 0, 5, 50);
  ExpectRect(border("s"), 5, 15, 5, 10);
  ExpectRect(content("d"), 5, 25, 5, 10);
}

TEST_F(ElementGeometryTest, NestedTableLocationsAddUp) {
  load(
      "<div style='padding: 3px'><table style='border-spacing: 0; margin-left: 10px'><tr>"
      "<td style='padding: 5px'><table style='border-spacing: 1px'><tr><td id=in style='padding: 2px'>abc</td>"
      "</tr></table></td></tr></table></div>",
      400);
  ExpectRect(content("in"), 3 + 10 + 5 + 1 + 2, 3 + 5 + 1 + 2, 15, 10);
}

TEST_F(ElementGeometryTest, LocationsAreRelativeToTheRootWithTheBodyMargin) {
  page.loadHtml("<style>html { font: 10px Test }</style><div id=d style='padding: 1px'>x</div>");
  page.layout(200);
  ExpectRect(content("d"), 9, 9, 200 - 16 - 2, 10);
}

TEST_F(ElementGeometryTest, ElementsWithoutABoxHaveNoLocation) {
  Rect r;
  page.loadHtml("<div id=d>x</div>");
  EXPECT_FALSE(page.contentBox(node("d"), r)) << "before the first layout";
  EXPECT_EQ(nullptr, page.hitTest(1, 1));
  load("<meta id=m><div id=gone style='display: none'><span id=inner>x</span></div><div id=d><b id=b>b</b></div>", 200);
  EXPECT_FALSE(page.contentBox(node("m"), r));
  EXPECT_FALSE(page.contentBox(node("gone"), r));
  EXPECT_FALSE(page.borderBox(node("inner"), r));
  Node& removed = node("b");
  removed.use();
  page.setInnerHtml(node("d"), "new");
  EXPECT_FALSE(page.contentBox(removed, r)) << "removed from the page";
  removed.unuse();
}

class HitTestTest : public PageTest {};

TEST_F(HitTestTest, FindsTheInnermostElementAtEachPartOfACheckBox) {
  fake.images["i.gif"] = {16, 16};
  load(
      "<div id=outer style='padding: 10px'>"
      "<widget type=checkbox id=cb><span id=cap>caption</span></widget>"
      "<img id=f src=i.gif align=right></div>",
      200);
  EXPECT_EQ(&node("cb"), page.hitTest(15, 15)) << "the mark";
  EXPECT_EQ(&node("cap"), page.hitTest(10 + 17 + 2, 15)) << "the caption";
  EXPECT_EQ(&node("cb"), page.hitTest(150, 15)) << "the row beside the caption";
  EXPECT_EQ(&node("f"), page.hitTest(185, 25)) << "the floated image";
  EXPECT_EQ(&node("outer"), page.hitTest(5, 5)) << "the padding";
  EXPECT_EQ(nullptr, page.hitTest(5, 500));
  EXPECT_EQ(nullptr, page.hitTest(-1, 5));
}

TEST_F(HitTestTest, FindsALinkOnEachOfItsLines) {
  load("<div style='width: 50px'>x <a id=l href=u>aaaa bbbb</a></div>", 200);
  EXPECT_EQ(&node("l"), page.hitTest(12, 5));
  EXPECT_EQ(&node("l"), page.hitTest(2, 15));
  EXPECT_NE(&node("l"), page.hitTest(40, 15)) << "past the end of the second line";
}

// A link in a cell whose content is centred vertically is clicked where it
// is drawn.
TEST_F(HitTestTest, FindsALinkInAMiddleAlignedCell) {
  load(
      "<table style='border-spacing: 0'><tr><td style='height: 50px; padding: 0'>x</td>"
      "<td style='padding: 0'><a id=l href=u>link</a></td></tr></table>",
      400);
  const Rect drawn = textOp("link").rect;
  EXPECT_EQ(20, drawn.y);
  EXPECT_EQ(&node("l"), page.hitTest(drawn.x + 2, drawn.y + 5));
  EXPECT_NE(&node("l"), page.hitTest(drawn.x + 2, 5));
}

}  // namespace
}  // namespace ks::render
