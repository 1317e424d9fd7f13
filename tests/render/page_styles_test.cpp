#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "page_fixture.h"

namespace ks::render {
namespace {

using testing::ExpectRect;
using testing::PageTest;

class DefaultStylesTest : public PageTest {
 protected:
  const FontDesc& fontOf(const char* text) { return fake.fonts.at(textOp(text).font - 1); }
};

TEST_F(DefaultStylesTest, LinkWithAnHrefIsBlueUnderlinedWithAHandCursor) {
  load("<a id=l href=u>link</a> <a id=n name=x>anchor</a>", 400);
  const PaintOp link = textOp("link");
  EXPECT_EQ(0xFF0000EEu, link.color);
  EXPECT_TRUE(link.underline);
  EXPECT_EQ(Cursor::Pointer, node("l").style->cursor);
  const PaintOp anchor = textOp("anchor");
  EXPECT_EQ(testing::kBlack, anchor.color);
  EXPECT_FALSE(anchor.underline);
}

// A rule found through several of its selectors counts once, at the highest
// of their specificities; a class named many times is still one class.
TEST_F(DefaultStylesTest, RuleMatchedThroughSeveralSelectors_CountsOnceAtItsHighestSpecificity) {
  load(
      "<style>p, #p, .a { margin-left: 5px } .a { margin-left: 7px } .b { padding-left: 2px }</style>"
      "<p id=p class='a b a b a'>x</p><p id=q class='a a'>y</p>",
      400);
  EXPECT_EQ(5, content("p").x - 2);
  EXPECT_EQ(7, content("q").x);
}

TEST_F(DefaultStylesTest, BoldAndItalicElementsChangeTheFont) {
  load(
      "<b>b</b> <strong>s</strong> <i>i</i> <em>e</em> <span>n</span>"
      "<table><tr><th>h</th></tr></table>",
      400);
  EXPECT_EQ(700, fontOf("b").weight);
  EXPECT_EQ(700, fontOf("s").weight);
  EXPECT_EQ(700, fontOf("h").weight);
  EXPECT_TRUE(fontOf("i").italic);
  EXPECT_TRUE(fontOf("e").italic);
  EXPECT_EQ(400, fontOf("n").weight);
  EXPECT_FALSE(fontOf("n").italic);
}

TEST_F(DefaultStylesTest, CheckBoxWidgetIsARowOfItsOwn) {
  load("<div>before<widget type=checkbox id=w>x</widget>after</div>", 400);
  ExpectRect(border("w"), 0, 10, 400, 13);
  EXPECT_EQ(23, textOp("after").rect.y);
  EXPECT_EQ(0, textOp("after").rect.x);
}

TEST_F(DefaultStylesTest, HeadContentAndHiddenInputsAreNotDrawn) {
  load("<title>Title</title><script>var x;</script><input type=hidden id=h value=v><div>shown</div>", 400);
  EXPECT_EQ("shown", paintedText());
  Rect r;
  EXPECT_FALSE(page.borderBox(node("h"), r));
}

TEST_F(DefaultStylesTest, ParagraphMarginsAreOneEmAndCollapse) {
  load("<p id=a>x</p><p id=b style='font-size: 20px'>y</p>", 400);
  EXPECT_EQ(10, border("a").y);
  EXPECT_EQ(10 + 10 + 20, border("b").y);
}

TEST_F(DefaultStylesTest, ButtonsHaveAGreyFaceAndCentredLabel) {
  load("<input type=button id=b value=Go style='width: 40px'>", 400);
  ExpectRect(border("b"), 0, 0, 40, 16);  // the width is the border box
  const std::vector<PaintOp> faces = ops(PaintOp::Kind::Background);
  ASSERT_EQ(1u, faces.size());
  EXPECT_EQ(0xFFE1E1E1u, faces[0].color);
  EXPECT_EQ(3.0f, faces[0].radius[0]);
  EXPECT_EQ(0xFF707070u, ops(PaintOp::Kind::Border).at(0).borderColor[0]);
  EXPECT_EQ(1 + 8 + (40 - 18 - 10) / 2, textOp("Go").rect.x);
}

TEST_F(DefaultStylesTest, TableCellsHaveSpacingPaddingAndMiddleAlignment) {
  load("<table><tr><td id=c>x</td><td style='height: 30px'>y</td></tr></table>", 400);
  ExpectRect(border("c"), 2, 2, 7, 32);
  EXPECT_EQ(2 + 1 + 10, textOp("x").rect.y);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The settings page's own sheet: a byte-order mark, then a "<style>" line
// before the first rule and a "</style>" line after the last.
class SettingsSheetTest : public PageTest {
 protected:
  void loadWithSheet(const std::string& html, const std::string& sheet, int width) {
    page.loadHtml(std::string(testing::kTestBase) + "<style>@import url(\"styles.css\");</style>" + html);
    ASSERT_EQ(std::vector<std::string>{"styles.css"}, page.pendingStyleSheets());
    page.supplyStyleSheet("styles.css", sheet);
    page.layout(width);
  }
};

TEST_F(SettingsSheetTest, EveryRuleAppliesFromTheFirstToTheLast) {
  const std::string sheet = ReadFile(std::string(KS_RENDER_TEST_DATA) + "/../../../config/page/styles.css");
  ASSERT_EQ(0u, sheet.rfind("\xEF\xBB\xBF<style>", 0)) << "the sheet starts with its mark and <style> line";
  loadWithSheet(
      "<span id=theader>kestrow settings <SUP><SPAN ID=small_changed>CHANGED</SPAN></SUP></span>"
      "<div id=happy_new_year>happy new year</div>",
      sheet, 800);
  const PaintOp marker = textOp("changed");
  EXPECT_EQ(0xFFFF0000u, marker.color);
  const FontDesc& markerFont = fake.fonts.at(marker.font - 1);
  EXPECT_EQ("Trebuchet MS", markerFont.families);
  EXPECT_NEAR(8.0f * 96.0f / 72.0f, markerFont.size, 0.25f);
  EXPECT_EQ(400, markerFont.weight) << "lighter than the bold heading";

  const PaintOp heading = textOp("Kestrow Settings");
  EXPECT_EQ(0xFF191970u, heading.color);
  EXPECT_EQ(700, fake.fonts.at(heading.font - 1).weight);
  EXPECT_EQ(20.0f, fake.fonts.at(heading.font - 1).size);
  EXPECT_EQ(0xFF800000u, textOp("Happy New Year").color) << "the last rule";
}

TEST_F(SettingsSheetTest, DoubledPercentSignsReadAsPercentages) {
  const std::string sheet = ReadFile(std::string(KS_RENDER_TEST_DATA) + "/../../../config/page/styles.css");
  loadWithSheet(
      "<table id=MAIN_TABLE><tr><td>x</td></tr></table>"
      "<div id=adv_block><span id=adv_header>Leafnote</span></div>",
      sheet, 800);
  EXPECT_EQ(800, border("MAIN_TABLE").w);
  EXPECT_NEAR(12.0f * 1.1f, node("adv_header").style->fontSize, 0.01f);
}

TEST_F(SettingsSheetTest, StyleLinesAndByteOrderMarkAroundAnySheetAreSkipped) {
  for (const char* prefix : {"", "\xEF\xBB\xBF", "<style>\n", "\xEF\xBB\xBF<style>\r\n", "\xEF\xBB\xBF<style>"}) {
    SCOPED_TRACE(::testing::Message() << "prefix \"" << prefix << "\"");
    loadWithSheet("<span id=a>a</span> <span id=b>b</span>",
                  std::string(prefix) + "#a { color: red }\n</style>\n#b { color: blue }\n", 400);
    EXPECT_EQ(0xFFFF0000u, textOp("a").color);
    EXPECT_EQ(0xFF0000FFu, textOp("b").color);
  }
}

}  // namespace
}  // namespace ks::render
