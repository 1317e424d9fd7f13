#include <gtest/gtest.h>

#include <string>

#include "render/dom_document.h"
#include "render/html_parser.h"
#include "render/html_serializer.h"

namespace ks::render {
namespace {

Document Parse(std::string_view html) { return Document(ParseHtmlDocument(html)); }

std::string BodyHtml(std::string_view html) { return InnerHtml(*Parse(html).body()); }

TEST(HtmlParser, EmptyInput_GivesHtmlWithHeadAndBody) {
  const Document doc = Parse("");
  EXPECT_EQ("<head></head><body></body>", InnerHtml(doc.root()));
}

TEST(HtmlParser, ByteOrderMark_IsSkipped) {
  const Document doc = Parse("\xEF\xBB\xBF<html><body>x</body></html>");
  EXPECT_EQ("x", InnerHtml(*doc.body()));
}

TEST(HtmlParser, HeadElements_GoToHeadAndBodyContentToBody) {
  const Document doc = Parse(
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
      "<base target=_blank><style>@import url(\"styles.css\"); a > b {}</style></head>"
      "<body><p>Hi</body></html>");
  EXPECT_EQ(
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><base target=\"_blank\">"
      "<style>@import url(\"styles.css\"); a > b {}</style>",
      InnerHtml(*doc.head()));
  EXPECT_EQ("<p>Hi</p>", InnerHtml(*doc.body()));
}

TEST(HtmlParser, LangAttributeOnHtml_IsKept) {
  const Document doc = Parse("<html lang=\"ru\"><body></body></html>");
  EXPECT_EQ("ru", doc.root().attributeOr("lang", ""));
}

TEST(HtmlParser, NamedAndNumericEntities_AreDecoded) {
  EXPECT_EQ("&amp;&lt;&gt;\"&nbsp;\xE2\x80\xA6 A\xC2\xAB", BodyHtml("&amp;&lt;&gt;&quot;&nbsp;&hellip; &#x41;&laquo;"));
}

TEST(HtmlParser, NumericReferencesInC1Range_ReadAsWindows1252) {
  // &#133; is what the page writes for an ellipsis; &#150; is an en dash.
  const Document doc = Parse("open&#133; a&#150;b");
  EXPECT_EQ(
      "open\xE2\x80\xA6 a\xE2\x80\x93"
      "b",
      InnerText(*doc.body()));
}

TEST(HtmlParser, BrokenReferences_StayLiteral) {
  const Document doc = Parse("a & b &unknown; &#; &#xZ &#99999999999;");
  EXPECT_EQ("a & b &unknown; &#; &#xZ \xEF\xBF\xBD", InnerText(*doc.body()));
}

TEST(HtmlParser, AttributesQuotedUnquotedAndBare_AreRead) {
  const Document doc = Parse("<img src=bullet.gif align='left' ismap width=\"16\" WIDTH=99 title=\"a &amp; b\">");
  const Node& img = *doc.body()->children().at(0);
  EXPECT_EQ(Tag::Img, img.tag());
  EXPECT_EQ("bullet.gif", img.attributeOr("src", ""));
  EXPECT_EQ("left", img.attributeOr("align", ""));
  EXPECT_NE(nullptr, img.attribute("ismap"));
  EXPECT_EQ("16", img.attributeOr("width", "")) << "the first of duplicate attributes wins";
  EXPECT_EQ("a & b", img.attributeOr("title", ""));
  EXPECT_EQ(5u, img.attributes().size());

  // A second body tag adds only the attributes the body lacks.
  const Document twice = Parse("<body class=a><p>x</p><body class=b id=c bgcolor=red>");
  EXPECT_EQ("a", twice.body()->attributeOr("class", ""));
  EXPECT_EQ("c", twice.body()->attributeOr("id", ""));
  EXPECT_EQ(3u, twice.body()->attributes().size());
}

TEST(HtmlParser, UnclosedParagraphsAndCells_CloseAsInBrowsers) {
  EXPECT_EQ("<p>one</p><p>two</p><div>three</div>", BodyHtml("<p>one<p>two<div>three</div>"));
  EXPECT_EQ("<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>",
            BodyHtml("<table><tr><td>a<td>b<tr><td>c</table>"));
}

TEST(HtmlParser, CellWithoutRow_GetsImpliedRow) {
  EXPECT_EQ("<table><tr><td>a</td></tr></table>", BodyHtml("<table><td>a</td></table>"));
}

TEST(HtmlParser, StrayEndTags_AreIgnoredAndDoNotEscapeCells) {
  EXPECT_EQ("<table><tr><td><span>x</span></td><td>y</td></tr></table>",
            BodyHtml("</div><table><tr><td><span>x</td><td>y</span></td></tr></table></b>"));
}

TEST(HtmlParser, VoidElements_TakeNoChildren) {
  EXPECT_EQ("<span>a<br>b<input type=\"submit\" value=\"OK\">c</span>",
            BodyHtml("<span>a<br>b<input type=submit value=OK>c</span>"));
}

TEST(HtmlParser, EndTagBr_IsALineBreak) { EXPECT_EQ("a<br>b", BodyHtml("a</br>b")); }

TEST(HtmlParser, CommentsDoctypeAndProcessingInstructions_AreDropped) {
  EXPECT_EQ("ab", BodyHtml("<!DOCTYPE html><?xml x?>a<!-- <p> -->b<!-- unterminated"));
}

TEST(HtmlParser, LoneAngleBrackets_AreText) { EXPECT_EQ("a &lt; b &lt;3 &gt;", BodyHtml("a < b <3 >")); }

TEST(HtmlParser, StyleContent_IsRawTextUpToItsEndTag) {
  const Document doc = Parse("<style>p > b { content: \"<i>&amp;\" }</STYLE ><p>x");
  EXPECT_EQ("p > b { content: \"<i>&amp;\" }", InnerText(*doc.head()->children().at(0)));
}

TEST(HtmlParser, WidgetCheckBox_KeepsItsContent) {
  const Document doc = Parse(
      "<widget type=\"checkbox\" id=\"CHECKBOX_WRITE_LOG\"><span locid=\"cb_writelog\">Write log file&nbsp;</span>"
      "<a href=\"LINK_TO_LOG_FILE\"><span class=hint>open&#133;</span></a></widget>");
  const Node* box = doc.findById("CHECKBOX_WRITE_LOG");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(Tag::Widget, box->tag());
  EXPECT_EQ("checkbox", box->attributeOr("type", ""));
  EXPECT_EQ(2u, box->children().size());
}

TEST(HtmlParser, InvalidUtf8_BecomesReplacementCharacters) {
  EXPECT_EQ(
      "a\xEF\xBF\xBD"
      "b\xEF\xBF\xBD",
      InnerText(*Parse("a\xFF"
                       "b\xE2\x82")
                     .body()));
}

TEST(HtmlParser, DeepNesting_IsCappedWithoutLosingElements) {
  std::string html;
  for (int i = 0; i < 5000; ++i) html += "<div>";
  html += "deep";
  const Document doc = Parse(html);
  std::size_t elements = 0;
  std::size_t maxDepth = 0;
  Document::VisitElements(doc.root(), [&](Node& n) {
    ++elements;
    if (n.depth() > maxDepth) maxDepth = n.depth();
    return true;
  });
  EXPECT_EQ(5000u + 3u, elements);
  EXPECT_LE(maxDepth, kMaxElementDepth);
  EXPECT_EQ("deep", InnerText(*doc.body()));

  // Elements at the cap are leaves: their end tags close nothing above them,
  // so the page written back reads as the same tree.
  std::string capped;
  for (int i = 0; i < 120; ++i) capped += "<div>";
  capped += "<p>a</p><b>b</b><div>c</div>d";
  const Document once = Parse(capped);
  const std::string written = OuterHtml(once.root());
  EXPECT_EQ(written, OuterHtml(Parse(written).root()));
  std::size_t paragraphs = 0;
  Document::VisitElements(once.root(), [&](Node& n) {
    if (n.tag() == Tag::P) ++paragraphs;
    return true;
  });
  EXPECT_EQ(1u, paragraphs);
  EXPECT_EQ("abcd", InnerText(*once.body()));

  // A table just above the cap: its cells have no room for the row a cell
  // implies, and a row written back must not close the table.
  std::string table;
  for (std::size_t i = 0; i + 3 < kMaxElementDepth; ++i) table += "<div>";
  table += "<table><td>e<td>f</table>g";
  const std::string tableWritten = OuterHtml(Parse(table).root());
  EXPECT_EQ(tableWritten, OuterHtml(Parse(tableWritten).root()));
}

TEST(Document, FindById_ReturnsFirstInDocumentOrder) {
  const Document doc = Parse("<div id=TEXT_COPY>first<span id=TEXT_COPY>inner</span></div><div id=TEXT_COPY>2</div>");
  const Node* found = doc.findById("TEXT_COPY");
  ASSERT_NE(nullptr, found);
  EXPECT_EQ(Tag::Div, found->tag());
  EXPECT_EQ("firstinner", InnerText(*found));
  EXPECT_EQ(nullptr, doc.findById("text_copy")) << "ids compare case-sensitively";
}

TEST(Document, SetInnerHtml_ReplacesContentAndRoundTrips) {
  Document doc = Parse("<span id=theader>Kestrow settings</span>");
  Node* header = doc.findById("theader");
  ASSERT_NE(nullptr, header);
  const unsigned before = doc.generation();
  doc.setInnerHtml(*header, "Kestrow Settings <SUP><SPAN ID=small_changed>changed</SPAN></SUP>");
  EXPECT_EQ("Kestrow Settings <sup><span id=\"small_changed\">changed</span></sup>", InnerHtml(*header));
  EXPECT_NE(before, doc.generation());
  EXPECT_EQ(header, doc.findById("small_changed")->parent()->parent());
}

TEST(Document, SetInnerHtmlWithRowsInsideTable_KeepsTableStructure) {
  Document doc = Parse("<table id=t><tr><td>old</td></tr></table>");
  Node* table = doc.findById("t");
  doc.setInnerHtml(*table, "<td>a<td>b");
  EXPECT_EQ("<tr><td>a</td><td>b</td></tr>", InnerHtml(*table));
}

TEST(Document, PinnedNodeSurvivesRemoval_UntilUnpinned) {
  Document doc = Parse("<div id=outer><span id=inner>x</span></div>");
  Node* inner = doc.findById("inner");
  inner->use();
  doc.setInnerText(*doc.findById("outer"), "plain");
  EXPECT_EQ("x", InnerText(*inner)) << "a pinned handle stays readable after removal";
  EXPECT_EQ(nullptr, doc.findById("inner"));
  inner->unuse();
  doc.collectRemoved();
  EXPECT_EQ("plain", InnerText(*doc.findById("outer")));
}

TEST(Document, InnerText_WritesLineBreaksForBr) {
  const Document doc = Parse("<div id=d>a<br>b <b>c</b></div>");
  EXPECT_EQ("a\nb c", InnerText(*doc.findById("d")));
}

TEST(Serializer, EscapesTextAndAttributes) {
  const Document doc = Parse("<a title='say \"hi\" &amp; go&#13;' href=x>1 &lt; 2&nbsp;&#13;\r\n</a>");
  EXPECT_EQ("<a title=\"say &quot;hi&quot; &amp; go&#13;\" href=\"x\">1 &lt; 2&nbsp;&#13;\n</a>",
            OuterHtml(*doc.body()->children().at(0)))
      << "a carriage return of a reference stays one";
}

}  // namespace
}  // namespace ks::render
