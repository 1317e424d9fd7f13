#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

#include "fake_container.h"
#include "render/layout_saturating.h"
#include "render/layout_table_widths.h"
#include "render/page_view.h"

namespace ks::render {
namespace {

using testing::FakeContainer;

// Pages here use a 10px font, so each character is 5px wide, ascent 8,
// descent 2, and a line of plain text is 10px high.
constexpr const char* kBase = "<style>html { font: 10px Test; } body { margin: 0 }</style>";

class LayoutTest : public ::testing::Test {
 protected:
  void load(const std::string& html, int width) {
    page.loadHtml(std::string(kBase) + html);
    page.layout(width);
  }
  Rect content(const char* id) {
    Rect r;
    const Node* n = page.document().findById(id);
    EXPECT_NE(nullptr, n) << id;
    if (n) {
      EXPECT_TRUE(page.contentBox(*n, r)) << id;
    }
    return r;
  }
  Rect border(const char* id) {
    Rect r;
    const Node* n = page.document().findById(id);
    EXPECT_NE(nullptr, n) << id;
    if (n) {
      EXPECT_TRUE(page.borderBox(*n, r)) << id;
    }
    return r;
  }

  FakeContainer fake;
  PageView page{fake};
};

void ExpectRect(const Rect& r, int x, int y, int w, int h) {
  EXPECT_EQ(x, r.x);
  EXPECT_EQ(y, r.y);
  EXPECT_EQ(w, r.w);
  EXPECT_EQ(h, r.h);
}

TEST_F(LayoutTest, BlocksStackWithMarginsBordersAndPaddings) {
  load(
      "<div id=a style='margin: 5px 10px; padding: 3px; border: 2px solid red; height: 20px'></div>"
      "<div id=b style='margin-top: 8px; padding-left: 4px'>x</div>",
      200);
  ExpectRect(border("a"), 10, 5, 180, 30);
  ExpectRect(content("a"), 15, 10, 170, 20);
  // The 5px bottom margin of a and the 8px top margin of b collapse to 8px.
  ExpectRect(content("b"), 4, 43, 196, 10);
}

TEST_F(LayoutTest, TextWrapsAtSpacesAndKeepsNonBreakingSpaces) {
  load("<div id=d style='width: 50px'>aaaa bbbb cc&nbsp;dd ee</div>", 200);
  const std::string dump = page.dumpBoxes();
  EXPECT_NE(std::string::npos, dump.find("\"aaaa bbbb\" x=0 w=45")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"cc\xC2\xA0"
                                         "dd ee\" x=0 w=40"))
      << dump;
  EXPECT_EQ(20, content("d").h);
}

TEST_F(LayoutTest, TextWrapsAfterAHyphenBetweenLettersOnly) {
  load("<div id=d style='width: 50px'>Tree-structured x -y- zz</div>", 200);
  std::string dump = page.dumpBoxes();
  EXPECT_NE(std::string::npos, dump.find("\"Tree-\" x=0 w=25")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"structured\" x=0 w=50")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"x -y- zz\" x=0 w=40")) << dump;
  EXPECT_EQ(50, page.minWidth());
  // Text that does not wrap keeps its hyphenated words whole.
  load("<div id=d style='width: 50px; white-space: nowrap'>Tree-structured</div>", 200);
  dump = page.dumpBoxes();
  EXPECT_NE(std::string::npos, dump.find("\"Tree-structured\" x=0 w=75")) << dump;
}

TEST_F(LayoutTest, WhiteSpaceCollapsesAcrossElements) {
  load("<div id=d>  a  <b> b </b>  c  </div>", 200);
  const std::string dump = page.dumpBoxes();
  EXPECT_NE(std::string::npos, dump.find("\"a\" x=0 w=5")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"b\" x=10 w=5")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"c\" x=20 w=5")) << dump;
}

TEST_F(LayoutTest, TextAlignCentersAndRightAlignsLines) {
  load(
      "<div style='text-align: center; width: 100px'><span id=c>abcd</span></div>"
      "<div style='text-align: right; width: 100px'><span id=r>abcd</span></div>",
      300);
  EXPECT_EQ(40, border("c").x);
  EXPECT_EQ(80, border("r").x);
}

TEST_F(LayoutTest, LineBreakElementsStartNewLines) {
  load("<div id=d>a<br>b<br><br>c</div>", 100);
  EXPECT_EQ(40, content("d").h);
}

TEST_F(LayoutTest, InlineImageSitsOnTheBaselineWithHspace) {
  fake.images["rss16.gif"] = {14, 14};
  load("<div id=d>ab<img id=i src=rss16.gif hspace=3>cd</div>", 200);
  // The image's bottom edge is on the baseline; the line grows to hold it.
  ExpectRect(border("i"), 13, 0, 14, 14);
  EXPECT_EQ(16, content("d").h);
}

TEST_F(LayoutTest, ImageSizeComesFromAttributesOrTheImage) {
  fake.images["pic.gif"] = {302, 233};
  load("<img id=a src=pic.gif><img id=b src=pic.gif width=151><img id=c src=missing.gif width=20 height=10>", 2000);
  EXPECT_EQ(302, border("a").w);
  EXPECT_EQ(233, border("a").h);
  EXPECT_EQ(151, border("b").w);
  EXPECT_EQ(117, border("b").h) << "the height keeps the aspect ratio";
  EXPECT_EQ(20, border("c").w);
}

TEST_F(LayoutTest, LeftAlignedImageFloatsAndTextFlowsBeside) {
  fake.images["icon.gif"] = {16, 16};
  load("<div id=d style='width: 60px'><img id=i src=icon.gif align=left hspace=2>aaaa bbbb cccc dddd</div>", 200);
  ExpectRect(border("i"), 2, 0, 16, 16);
  const std::string dump = page.dumpBoxes();
  // Lines beside the float start after it (2 + 16 + 2 = 20px) and hold one
  // word each; below the float the line is wide enough for two.
  EXPECT_NE(std::string::npos, dump.find("\"aaaa\" x=20")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"bbbb\" x=20")) << dump;
  EXPECT_NE(std::string::npos, dump.find("\"cccc dddd\" x=0")) << dump;
}

TEST_F(LayoutTest, TableColumnsFollowFixedAndPercentWidthsAndColspan) {
  load(
      "<table id=t style='width: 100%%; border-spacing: 0'>"
      "<tr><td id=a style='width: 100px; padding: 0'>a</td><td id=b width='50%%' style='padding:0'>b</td>"
      "<td id=c style='padding:0'>c</td></tr>"
      "<tr><td id=s colspan=3 style='padding:0'>span</td></tr></table>",
      400);
  EXPECT_EQ(400, border("t").w);
  EXPECT_EQ(100, border("a").w);
  EXPECT_EQ(200, border("b").w);
  EXPECT_EQ(100, border("c").w);
  EXPECT_EQ(400, border("s").w);
  EXPECT_EQ(10, border("s").y);
}

std::vector<int> Widths(std::vector<TableColumn> cols, int available) {
  DistributeColumnWidths(cols, available);
  std::vector<int> out;
  for (const TableColumn& c : cols) out.push_back(c.width);
  return out;
}

TEST(TableColumnWidths, SharedInTheBrowsersOrder_PercentThenFixedThenAuto) {
  const TableColumn percent{10, 50, 25.0f, false, 0};
  const TableColumn fixed{10, 100, 0.0f, true, 0};
  const TableColumn autoWidth{10, 200, 0.0f, false, 0};
  const std::vector<TableColumn> cols{autoWidth, fixed, percent};
  EXPECT_EQ((std::vector<int>{10, 10, 10}), Widths(cols, 20));  // less than the minimums
  EXPECT_EQ((std::vector<int>{10, 10, 10}), Widths(cols, 30));
  // The percentage column first, toward 25% of the table; then the fixed one
  // toward its width, then the automatic one toward its content.
  EXPECT_EQ((std::vector<int>{10, 50, 20}), Widths(cols, 80));
  EXPECT_EQ((std::vector<int>{15, 100, 39}), Widths(cols, 154));
  EXPECT_EQ((std::vector<int>{31, 100, 44}), Widths(cols, 175));
  EXPECT_EQ((std::vector<int>{200, 100, 100}), Widths(cols, 400));
  // Beyond every column's content the automatic one takes the rest.
  EXPECT_EQ((std::vector<int>{275, 100, 125}), Widths(cols, 500));
  // Without an automatic column the excess goes to all by their widths.
  EXPECT_EQ((std::vector<int>{150, 150}), Widths({fixed, fixed}, 300));
}

TEST(TableColumnWidths, BetweenMinAndPreferred_EachGivesWayByWhatItCanGive) {
  // The settings page's top row as a browser measures it: two fixed columns
  // (min-content 159 and 118, preferred 409 and 382) and the picture's column
  // (393); the browser gives them 315, 282 and 393 of 990 px.
  const std::vector<TableColumn> page{{159, 409, 0.0f, true, 0}, {118, 382, 0.0f, true, 0}, {393, 393, 0.0f, false, 0}};
  const std::vector<int> w = Widths(page, 990);
  EXPECT_NEAR(315, w[0], 1);
  EXPECT_NEAR(282, w[1], 1);
  EXPECT_EQ(393, w[2]);
  // Over every width the columns add up exactly and never pass their
  // preferred widths before every column has reached its own.
  for (int available = 0; available <= 1400; ++available) {
    const std::vector<int> ws = Widths(page, available);
    const int sum = ws[0] + ws[1] + ws[2];
    EXPECT_EQ(std::max(available, 159 + 118 + 393), sum) << available;
    if (available <= 409 + 382 + 393) {
      EXPECT_LE(ws[0], 409) << available;
      EXPECT_LE(ws[1], 382) << available;
      EXPECT_EQ(393, ws[2]) << available;
    }
  }
}

TEST_F(LayoutTest, CellsAlignTheirContentVertically) {
  load(
      "<table style='border-spacing: 0'><tr><td id=tall style='height: 50px; padding: 0'>x</td>"
      "<td id=top valign=top style='padding:0'><span id=t>t</span></td>"
      "<td id=mid style='padding:0'><span id=m>m</span></td>"
      "<td style='vertical-align: bottom; padding:0'><span id=b>b</span></td></tr></table>",
      400);
  EXPECT_EQ(0, border("t").y);
  EXPECT_EQ(20, border("m").y);
  EXPECT_EQ(40, border("b").y);
}

TEST_F(LayoutTest, MinWidthTakesLongestWordsAndGivesUpFixedCellWidths) {
  load(
      "<table style='border-spacing: 2px'><tr><td style='width: 400px; padding: 1px'>x</td>"
      "<td style='padding: 1px'>short incomprehensibilities</td></tr></table>",
      1000);
  // As in a browser, a cell's fixed width is a preference: (1 char * 5 + 2)
  // + (21 chars * 5 + 2) + 3 gaps of 2
  EXPECT_EQ(7 + 107 + 6, page.minWidth());
  // With room, the fixed cell keeps its width and the other takes the rest.
  load(
      "<table id=t style='width: 100%%; border-spacing: 0'><tr><td id=a style='width: 400px; padding: 0'>x</td>"
      "<td id=b style='padding: 0'>y</td></tr></table>",
      1000);
  EXPECT_EQ(400, border("a").w);
  EXPECT_EQ(600, border("b").w);
}

// Three columns shaped like the settings page's: two of a fixed width with
// text that wraps, one of automatic width holding a picture.
constexpr const char* kThreeColumns =
    "<table id=t style='width: 100%%; border-spacing: 0'><tr>"
    "<td id=a style='width: 400px; padding: 0'><div id=at>aaaa aaaa aaaa aaaa aaaa aaaa aaaa aaaa aaaa aaaa "
    "aaaa aaaa aaaa aaaa aaaa aaaa</div></td>"
    "<td id=b style='width: 350px; padding: 0'>bbbbbbbb bbbbbbbb bbbbbbbb bbbbbbbb bbbbbbbb</td>"
    "<td id=c style='padding: 0'><img id=pic src=p.png width=300 height=50></td></tr>"
    "<tr><td id=s colspan=3 style='padding: 0'>span</td></tr></table>";

TEST_F(LayoutTest, NarrowTable_FixedColumnsShrinkTowardMinContentAndTextWraps) {
  load(kThreeColumns, 1050);
  EXPECT_EQ(400, border("a").w);
  EXPECT_EQ(350, border("b").w);
  EXPECT_EQ(300, border("c").w);
  EXPECT_EQ(10, border("at").h);  // 395 px of text on one line

  // 120 px short: the fixed columns give it up in proportion to what they
  // can give (400 - 20 and 350 - 40), the picture's column keeps its width.
  load(kThreeColumns, 930);
  const Rect a = border("a"), b = border("b"), c = border("c");
  EXPECT_EQ(930, border("t").w);
  EXPECT_EQ(930, a.w + b.w + c.w);
  EXPECT_NEAR(400 - 120 * 380 / 690, a.w, 1);
  EXPECT_NEAR(350 - 120 * 310 / 690, b.w, 1);
  EXPECT_EQ(300, c.w);
  EXPECT_EQ(20, border("at").h);  // the text wrapped
  EXPECT_EQ(a.x + a.w, b.x);
  EXPECT_EQ(b.x + b.w, c.x);
  EXPECT_LE(AddPx(border("pic").x, border("pic").w), AddPx(c.x, c.w));
  EXPECT_EQ(930, border("s").w);

  // At the min-content width every column is at its longest word or picture.
  const int min = page.minWidth();
  EXPECT_EQ(20 + 40 + 300, min);
  load(kThreeColumns, min);
  EXPECT_EQ(20, border("a").w);
  EXPECT_EQ(40, border("b").w);
  EXPECT_EQ(300, border("c").w);
  EXPECT_EQ(min, border("t").w);
  // Below it the table keeps its min-content width and overflows.
  load(kThreeColumns, min - 50);
  EXPECT_EQ(min, border("t").w);
  EXPECT_EQ(20, border("a").w);
}

TEST_F(LayoutTest, MinHeightForWidthGrowsWhenTextWraps) {
  load("<div>aaaa bbbb cccc dddd</div>", 1000);
  EXPECT_EQ(10, page.minHeight(1000));
  EXPECT_EQ(40, page.minHeight(20));
}

TEST_F(LayoutTest, CheckBoxWidgetReservesRoomForItsMark) {
  load("<widget type=checkbox id=c><span>Write log</span></widget><widget type=checkbox id=d>x</widget>", 400);
  // Each check box is a row of its own; the mark (13px) and a 4px gap come
  // before the caption.
  ExpectRect(content("c"), 17, 0, 383, 13);
  ExpectRect(content("d"), 17, 13, 383, 13);
  const std::string ops = DumpPaintList(page.paint());
  EXPECT_NE(std::string::npos, ops.find("checkbox 0,0 13x13\n")) << ops;
}

TEST_F(LayoutTest, SubmitButtonTakesItsWidthAndDrawsItsValue) {
  // As in browsers, a button's width is its border box.
  load("<input type=submit id=ok value=OK style='width: 120px; padding: 2px 8px; border: 1px solid'>", 400);
  ExpectRect(border("ok"), 0, 0, 120, 16);
  ExpectRect(content("ok"), 9, 3, 102, 10);
  EXPECT_EQ(120, page.minWidth());
  const std::string ops = DumpPaintList(page.paint());
  EXPECT_NE(std::string::npos, ops.find("button 0,0 120x16")) << ops;
  EXPECT_NE(std::string::npos, ops.find("\"OK\"")) << ops;
}

TEST_F(LayoutTest, DisplayNoneRemovesTheBoxAndChangesOnRestyle) {
  load("<div id=a>a</div><div id=b>b</div>", 100);
  Node* a = page.document().findById("a");
  a->setAttribute("style", "display: none");
  page.setInnerText(*page.document().findById("b"), "bb");
  page.layout(100);
  Rect r;
  EXPECT_FALSE(page.contentBox(*a, r));
  EXPECT_EQ(0, content("b").y);
}

TEST_F(LayoutTest, SetInnerHtmlReLaysOutTheElement) {
  load("<div id=d style='width: 20px'>a</div>", 100);
  EXPECT_EQ(10, content("d").h);
  page.setInnerHtml(*page.document().findById("d"), "aaa <b>bbb</b>");
  EXPECT_EQ(20, content("d").h);
}

TEST_F(LayoutTest, HitTestFindsTheInnermostElement) {
  load("<div id=outer style='padding: 10px'><a id=link href=x>link</a></div>", 200);
  EXPECT_EQ(page.document().findById("link"), page.hitTest(12, 15));
  EXPECT_EQ(page.document().findById("outer"), page.hitTest(150, 5));
}

TEST_F(LayoutTest, LocalisationSheetReplacesTextByLocid) {
  page.loadHtml(std::string(kBase) +
                "<style>@import url(\"localize_Ru.css\");</style>"
                "<span id=s locid=\"span_autorun\">Start Kestrow with Windows</span>"
                "<span id=g locid=\"lic_header_misc\"><img src=bullet.gif>&nbsp;Main</span>");
  ASSERT_EQ(std::vector<std::string>{"localize_Ru.css"}, page.pendingStyleSheets());
  page.supplyStyleSheet("localize_Ru.css",
                        "[locid=\"span_autorun\"] { content: \"\xD0\x97\xD0\xB0\xD0\xBF\" }\n"
                        "[locid=\"lic_header_misc\"] { content: \"\\A0\xD0\x9E\" }");
  EXPECT_TRUE(page.pendingStyleSheets().empty());
  page.layout(400);
  const std::string dump = page.dumpBoxes();
  EXPECT_NE(std::string::npos, dump.find("\"\xD0\x97\xD0\xB0\xD0\xBF\" x=0 w=15")) << dump;
  EXPECT_EQ(std::string::npos, dump.find("Start")) << dump;
  EXPECT_NE(std::string::npos, dump.find("image img")) << "elements of a replaced element stay: " << dump;
}

TEST_F(LayoutTest, MissingImportedSheet_LeavesThePageUnstyledByIt) {
  page.loadHtml(std::string(kBase) + "<style>@import url(?LOCALIZE_CSS_URL?); p { margin: 0 }</style><p id=p>x</p>");
  page.supplyStyleSheet("?LOCALIZE_CSS_URL?", {}, false);
  EXPECT_TRUE(page.pendingStyleSheets().empty());
  page.layout(100);
  EXPECT_EQ(0, content("p").y);
}

TEST_F(LayoutTest, ImportCycles_End) {
  page.loadHtml("<style>@import 'a.css';</style>");
  for (int i = 0; i < 100 && !page.pendingStyleSheets().empty(); ++i) {
    for (const std::string& url : page.pendingStyleSheets())
      page.supplyStyleSheet(url, "@import 'a.css'; @import 'b.css';");
  }
  EXPECT_TRUE(page.pendingStyleSheets().empty());
  EXPECT_EQ((std::vector<std::string>{"b.css", "a.css", ""}), page.appliedStyleSheets())
      << "64 imports of two sheets read each once";
  page.layout(100);
}

TEST_F(LayoutTest, SheetImportedInSeveralPlaces_IsReadOnceWhereItWins) {
  page.loadHtml(std::string(kBase) + "<style>@import 'a.css'; @import 'b.css'; @import 'a.css';</style><p id=p>x</p>");
  ASSERT_EQ((std::vector<std::string>{"a.css", "b.css"}), page.pendingStyleSheets());
  page.supplyStyleSheet("a.css", "p { margin-top: 7px }");
  page.supplyStyleSheet("b.css", "@import 'a.css'; p { margin-top: 3px }");
  EXPECT_TRUE(page.pendingStyleSheets().empty());
  EXPECT_EQ((std::vector<std::string>{"", "b.css", "a.css", ""}), page.appliedStyleSheets());
  page.layout(100);
  EXPECT_EQ(7, content("p").y) << "the last import of a.css comes after b.css";
  // New text for a sheet in place reaches every place that imports it, and
  // what it imports now is asked for.
  page.supplyStyleSheet("a.css", "@import 'c.css'; p { margin-top: 9px }");
  EXPECT_EQ(std::vector<std::string>{"c.css"}, page.pendingStyleSheets());
  page.layout(100);
  EXPECT_EQ(9, content("p").y);
}

TEST(SaturatingPx, SumsProductsAndRoundingStopAtTheBound) {
  constexpr int kIntMax = std::numeric_limits<int>::max();
  EXPECT_EQ(6, AddPx(1, 2, 3));
  EXPECT_EQ(kMaxLayoutPx, AddPx(kIntMax, kIntMax, kIntMax));
  EXPECT_EQ(-kMaxLayoutPx, AddPx(-kMaxLayoutPx, -1));
  EXPECT_EQ(5, AddPx(kIntMax, kIntMax, -kIntMax, -kIntMax, 5)) << "only the result is bounded";
  EXPECT_EQ(-kMaxLayoutPx, SubPx(-kMaxLayoutPx, kMaxLayoutPx));
  EXPECT_EQ(kMaxLayoutPx, MulPx(1000, 1000000000));
  EXPECT_EQ(-kMaxLayoutPx, MulPx(-50000, 50000));
  EXPECT_EQ(3, RoundPx(2.5));
  EXPECT_EQ(kMaxLayoutPx, RoundPx(std::numeric_limits<double>::infinity()));
  EXPECT_EQ(-kMaxLayoutPx, RoundPx(-1.0e300));
  EXPECT_EQ(0, RoundPx(std::numeric_limits<double>::quiet_NaN()));
}

// Each page stacks, lines up or nests lengths that style allows one by one
// until their sum leaves the range of int; layout answers the bound instead
// of a position that wrapped around.
TEST_F(LayoutTest, HugeLengths_SaturateInsteadOfWrappingAround) {
  const auto repeat = [](const std::string& part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += part;
    return out;
  };
  load("<style>p { height: 1000000px; padding: 1000000px; margin: 1000000px }</style><p id=first></p>" +
           repeat("<p></p>", 600) + "<p id=last></p>",
       200);
  EXPECT_EQ(kMaxLayoutPx, page.contentHeight());
  EXPECT_EQ(1000000, border("first").y);
  EXPECT_EQ(kMaxLayoutPx, border("last").y);

  load(
      "<style>b { display: inline-block; width: 1000000px; padding: 0 1000000px }</style>"
      "<div style='white-space: nowrap'><b id=first></b>" +
          repeat("<b></b>", 800) + "<b id=last></b></div>",
      200);
  EXPECT_EQ(kMaxLayoutPx, page.minWidth());
  page.layout(200);
  EXPECT_EQ(0, border("first").x);
  EXPECT_EQ(kMaxLayoutPx, border("last").x);

  load("<style>td { width: 1000000px; padding: 1000000px }</style><table id=t><tr>" + repeat("<td></td>", 1000) +
           "</tr><tr><td id=span colspan=1000></td></tr></table>",
       200);
  EXPECT_EQ(kMaxLayoutPx, border("t").w);
  EXPECT_EQ(kMaxLayoutPx, border("span").w);

  load("<style>div { width: 100000000%; margin-left: 100000000% }</style>" + repeat("<div>", 12) + "<div id=inner>" +
           repeat("</div>", 13),
       200);
  EXPECT_EQ(kMaxLayoutPx, content("inner").w);
  EXPECT_EQ(kMaxLayoutPx, content("inner").x);

  // Style takes at most a million em of at most 1000px each.
  load(
      "<style>p { font-size: 1000px; text-indent: 1000000em } span { vertical-align: 1000000em }</style>"
      "<p id=p>" +
          repeat("<span>", 20) + "<b id=up>x</b>" + repeat("</span>", 20) + "</p>",
      200);
  EXPECT_EQ(kMaxLayoutPx, content("p").h);
  EXPECT_EQ(kMaxLayoutPx, border("up").x);
}

TEST_F(LayoutTest, SuperscriptRaisesItsText) {
  load("<div><span id=n>Kestrow Settings</span> <sup><span id=m>changed</span></sup></div>", 400);
  int normal = 0, raised = 0;
  for (const PaintOp& op : page.paint()) {
    if (op.kind != PaintOp::Kind::Text) continue;
    if (op.text == "Kestrow Settings") normal = op.baseline;
    if (op.text == "changed") raised = op.baseline;
  }
  // sup raises its baseline by a third of the parent's 10px font.
  EXPECT_EQ(3, normal - raised);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Lays out a page shaped like the settings page and compares the box tree
// with the golden file; a mismatch leaves the actual dump beside it.
TEST(LayoutGolden, SettingsLikePage) {
  FakeContainer fake;
  fake.images["bullet.gif"] = {11, 11};
  fake.images["rss16.gif"] = {14, 14};
  fake.images["leafnote_ico.gif"] = {16, 16};
  fake.images["ks_howto_settings.gif"] = {302, 233};
  PageView page(fake);
  const std::string dir = KS_RENDER_TEST_DATA;
  page.loadHtml(ReadFile(dir + "/settings_like.html"));
  for (const std::string& url : page.pendingStyleSheets()) {
    const std::string css = ReadFile(dir + "/" + url);
    page.supplyStyleSheet(url, css, !css.empty());
  }
  EXPECT_TRUE(page.pendingStyleSheets().empty());
  const int width = page.minWidth();
  page.layout(width);
  const std::string actual = "min width " + std::to_string(width) + ", height " +
                             std::to_string(page.minHeight(width)) + "\n" + page.dumpBoxes();
  const std::string expected = ReadFile(dir + "/settings_like.layout");
  if (actual != expected) {
    std::ofstream(dir + "/settings_like.layout.actual", std::ios::binary) << actual;
  }
  EXPECT_EQ(expected, actual) << "see settings_like.layout.actual";
}

}  // namespace
}  // namespace ks::render
