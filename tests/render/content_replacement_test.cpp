#include <gtest/gtest.h>

#include "page_fixture.h"
#include "render/page_accessibility.h"

namespace ks::render {
namespace {

using testing::ExpectRect;
using testing::PageTest;

// A localisation sheet translates the page by locid: each rule's content
// replaces the element's own text and leaves its child elements in place.
class ContentReplacementTest : public PageTest {
 protected:
  void loadLocalised(const std::string& html, const std::string& sheet, int width) {
    page.loadHtml(std::string(testing::kTestBase) + "<style>@import url(\"localize.css\");</style>" + html);
    page.supplyStyleSheet("localize.css", sheet);
    page.layout(width);
  }
};

TEST_F(ContentReplacementTest, ReplacesOwnTextWhereItStoodAndKeepsChildElements) {
  fake.images["bullet.gif"] = {10, 10};
  loadLocalised("<span id=g locid=x>one <img id=i src=bullet.gif> two <b id=b>bold</b> three</span>",
                "[locid=\"x\"] { content: \"Neu\" }", 400);
  EXPECT_EQ("Neu|bold", paintedText());
  // The new text stands where the first text stood, before the image.
  EXPECT_EQ(0, textOp("Neu").rect.x);
  EXPECT_EQ(15, border("i").x);
  EXPECT_EQ(25, border("b").x);
  ASSERT_EQ(1u, ops(PaintOp::Kind::Image).size());
}

TEST_F(ContentReplacementTest, ElementWithoutTextGetsTheContentBeforeItsChildren) {
  fake.images["bullet.gif"] = {10, 10};
  loadLocalised("<span id=g locid=x><img id=i src=bullet.gif></span>", "[locid=\"x\"] { content: \"abc\" }", 400);
  EXPECT_EQ(0, textOp("abc").rect.x);
  EXPECT_EQ(15, border("i").x);
}

TEST_F(ContentReplacementTest, IsNotInheritedByDescendants) {
  loadLocalised("<div locid=outer>a<span locid=inner>b</span><span>c</span></div>",
                "[locid=\"outer\"] { content: \"X\" } [locid=\"inner\"] { content: \"Y\" }", 400);
  EXPECT_EQ("X|Y|c", paintedText());
}

TEST_F(ContentReplacementTest, CascadeChoosesTheContentAndNormalRemovesIt) {
  loadLocalised("<span id=a locid=x>a</span> <span id=b locid=y>b</span> <span id=c locid=z>c</span>",
                "span[locid=\"x\"] { content: \"specific\" } [locid=\"x\"] { content: \"plain\" }"
                "[locid=\"y\"] { content: \"first\" } [locid=\"y\"] { content: \"second\" }"
                "[locid=\"z\"] { content: \"gone\" } #c { content: normal }",
                400);
  EXPECT_EQ("specific|second|c", paintedText());
}

TEST_F(ContentReplacementTest, ContentTextIsStyledMeasuredAndWrappedLikeOwnText) {
  loadLocalised(
      "<div id=d style='width: 100px'><span id=s locid=x style='font-size: 20px; text-transform: uppercase'>"
      "old</span></div>",
      "[locid=\"x\"] { content: \"новый текст\" }", 400);
  const PaintOp first = textOp("НОВЫЙ");
  EXPECT_EQ(50, first.rect.w);
  EXPECT_EQ(0, textOp("ТЕКСТ").rect.x) << "the second word wraps";
  EXPECT_EQ(40, content("d").h);
}

TEST_F(ContentReplacementTest, MinimumWidthFollowsTheReplacedText) {
  page.loadHtml(std::string(testing::kTestBase) + "<style>@import url(loc.css);</style><span locid=x>ab</span>");
  page.supplyStyleSheet("loc.css", {}, false);
  page.layout(400);
  EXPECT_EQ(10, page.minWidth());
  page.loadHtml(std::string(testing::kTestBase) + "<style>@import url(loc.css);</style><span locid=x>ab</span>");
  page.supplyStyleSheet("loc.css", "[locid=x] { content: \"abcdefgh\" }");
  page.layout(400);
  EXPECT_EQ(40, page.minWidth());
}

TEST_F(ContentReplacementTest, SheetArrivingAfterLayoutTranslatesOnTheNextLayout) {
  page.loadHtml(std::string(testing::kTestBase) + "<style>@import url(loc.css);</style><span id=s locid=x>Main</span>");
  page.layout(400);
  EXPECT_EQ("Main", paintedText());
  page.supplyStyleSheet("loc.css", "[locid=x] { content: \"\\A0\xD0\x9E\xD1\x81\xD0\xBD\" }");
  EXPECT_EQ("\xC2\xA0\xD0\x9E\xD1\x81\xD0\xBD", paintedText());
}

// The program rewrites the heading at run time; a translated heading keeps
// its translation and shows the new marker element beside it.
TEST_F(ContentReplacementTest, ReplacedTextSurvivesInnerHtmlEditsAndShowsNewChildren) {
  loadLocalised("<span id=theader locid=lic_header_settings>Kestrow settings</span>",
                "[locid=\"lic_header_settings\"] { content: \"Einstellungen\" }", 400);
  page.setInnerHtml(node("theader"), "Kestrow settings <SUP><SPAN ID=small_changed>changed</SPAN></SUP>");
  EXPECT_EQ("Einstellungen|changed", paintedText());
  page.setInnerText(node("theader"), "other");
  EXPECT_EQ("Einstellungen", paintedText());
}

TEST_F(ContentReplacementTest, EmptyContentHidesTheOwnText) {
  loadLocalised("<div id=d locid=x>text</div><div id=e>e</div>", "[locid=\"x\"] { content: \"\" }", 400);
  EXPECT_EQ("e", paintedText());
  EXPECT_EQ(0, content("e").y) << "an empty element takes no line";
}

// A screen reader is told the texts as the page shows them: replaced by the
// sheet, entities decoded, white space collapsed, and without the text of a
// control nested inside another.
TEST_F(ContentReplacementTest, AccessibleNames_AreTheShownTextsOfTheControls) {
  loadLocalised(
      "<widget type=checkbox id=c><span locid=x>Write log file&nbsp;</span><a id=l href=LOG>open&#133;</a></widget>"
      "<input type=submit id=ok value=' OK '><a id=t href=x title='Only a tooltip'><img src=none.gif></a>"
      "<widget type=checkbox id=h style='display:none'>hidden</widget><a id=n>no href</a>"
      "<widget type=checkbox id=d>  two\n  lines  </widget>",
      "[locid=\"x\"] { content: \"Protokoll schreiben \" }", 400);
  const std::vector<Node*> controls = AccessibleControls(page.document().root());
  std::vector<std::string> names;
  for (const Node* n : controls) names.push_back(AccessibleName(*n));
  EXPECT_EQ((std::vector<std::string>{"Protokoll schreiben", "open\u2026", "OK", "Only a tooltip", "two lines"}),
            names);
  EXPECT_EQ(AccessibleRole::CheckBox, AccessibleRoleOf(node("c")));
  EXPECT_EQ(AccessibleRole::Link, AccessibleRoleOf(node("l")));
  EXPECT_EQ(AccessibleRole::PushButton, AccessibleRoleOf(node("ok")));
  // A tooltip that is not the name describes the control.
  EXPECT_EQ("", AccessibleDescription(node("t")));
  EXPECT_EQ("Check", AccessibleDefaultAction(node("c")));
  page.setState(node("c"), kStateChecked, 0);
  EXPECT_EQ("Uncheck", AccessibleDefaultAction(node("c")));
  EXPECT_EQ("Jump", AccessibleDefaultAction(node("l")));
  EXPECT_EQ("Press", AccessibleDefaultAction(node("ok")));
}

}  // namespace
}  // namespace ks::render
