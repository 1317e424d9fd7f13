// Element lookup, attributes, states, control types and content edits
// through the C-style interface.
#include <gtest/gtest.h>

#include "page_window.h"

namespace ks::render::testing {
namespace {

class Elements : public ::testing::Test {
 protected:
  void SetUp() override { w.load(SettingsPage()); }
  PageWindow w;
};

BOOL CALLBACK CollectAll(HLELEMENT he, void* param) {
  static_cast<std::vector<HLELEMENT>*>(param)->push_back(he);
  return FALSE;
}

BOOL CALLBACK StopAtFirst(HLELEMENT he, void* param) {
  auto* seen = static_cast<std::vector<HLELEMENT>*>(param);
  seen->push_back(he);
  return TRUE;
}

TEST_F(Elements, VisitById_GivesElementsInDocumentOrderAndStopsWhenAsked) {
  const std::vector<HLELEMENT> copies = w.findAll("TEXT_COPY");
  ASSERT_EQ(2u, copies.size());
  EXPECT_NE(std::string::npos, w.innerText(copies[0]).find("Thanks to all our users"));
  EXPECT_NE(std::string::npos, w.innerText(copies[1]).find("Official Web Site"));

  const std::vector<HLELEMENT> blocks = w.findAll("adv_block");
  ASSERT_EQ(3u, blocks.size());
  EXPECT_NE(std::string::npos, w.innerText(blocks[0]).find("Leafnote"));
  EXPECT_NE(std::string::npos, w.innerText(blocks[1]).find("Keymark"));
  EXPECT_NE(std::string::npos, w.innerText(blocks[2]).find("Snipdrop"));

  std::vector<HLELEMENT> seen;
  EXPECT_EQ(HL_OK, HTMLayoutVisitElements(w.root(), nullptr, "id", L"adv_block", StopAtFirst, &seen, 0));
  EXPECT_EQ(1u, seen.size());
  EXPECT_EQ(blocks[0], seen[0]);

  // Ids compare exactly; an unknown id is visited never.
  EXPECT_TRUE(w.findAll("checkbox_autorun").empty());
  EXPECT_TRUE(w.findAll("NO_SUCH_ID").empty());
  for (const char* id :
       {"CHECKBOX_AUTORUN", "CHECKBOX_BALLOON", "CHECKBOX_START_AS_DISABLED", "CHECKBOX_WRITE_LOG",
        "CHECKBOX_NO_MIDDLE", "CHECKBOX_HS_SHIFT", "CHECKBOX_HS_CTRL", "CHECKBOX_HS_RBUTTON", "CHECKBOX_HS_LBUTTON",
        "CHECKBOX_FULLSCREEN", "CHECKBOX_REVERSE_VERTICAL", "CHECKBOX_REVERSE_HORIZONTAL", "CHECKBOX_PAUSE_SCROLL_LOCK",
        "BUTTON_OK", "BUTTON_CANCEL", "MAIN_TABLE", "theader"}) {
    EXPECT_EQ(1u, w.findAll(id).size()) << id;
  }
}

TEST_F(Elements, VisitWithDepthAndTag_LimitsWhatIsVisited) {
  std::vector<HLELEMENT> children;
  HTMLayoutVisitElements(w.root(), nullptr, nullptr, nullptr, CollectAll, &children, 1);
  ASSERT_EQ(2u, children.size());  // head and body
  std::vector<HLELEMENT> checkboxes;
  HTMLayoutVisitElements(w.root(), "widget", "type", L"checkbox", CollectAll, &checkboxes, 0);
  ASSERT_EQ(13u, checkboxes.size());
  EXPECT_EQ("CHECKBOX_AUTORUN", IdOf(checkboxes.front()));
  EXPECT_EQ("CHECKBOX_HS_LBUTTON", IdOf(checkboxes[8]));
  EXPECT_EQ("CHECKBOX_FULLSCREEN", IdOf(checkboxes[9]));
  EXPECT_EQ("CHECKBOX_PAUSE_SCROLL_LOCK", IdOf(checkboxes.back()));
}

TEST_F(Elements, Attributes_AreUtf16AndEmptyWhenAbsent) {
  const HLELEMENT link = w.find("LINK_TO_LOG_FILE");
  EXPECT_EQ(L"LINK_TO_LOG_FILE", w.attribute(link, "href"));
  EXPECT_EQ(L"LINK_TO_LOG_FILE", w.attribute(link, "ID"));
  EXPECT_EQ(L"", w.attribute(link, "lang"));
  const std::vector<HLELEMENT> sites = w.findAll("of_site");
  ASSERT_EQ(3u, sites.size());
  EXPECT_EQ(0u, w.attribute(sites[1], "title").find(L"\x041E\x0444\x0438\x0446"));  // "Офиц"
}

TEST_F(Elements, ControlTypes_TellCheckBoxesButtonsAndLinks) {
  UINT type = 99;
  ASSERT_EQ(HL_OK, HTMLayoutControlGetType(w.find("CHECKBOX_HS_CTRL"), &type));
  EXPECT_EQ(static_cast<UINT>(HL_CONTROL_CHECKBOX), type);
  HTMLayoutControlGetType(w.find("BUTTON_OK"), &type);
  EXPECT_EQ(static_cast<UINT>(HL_CONTROL_BUTTON), type);
  HTMLayoutControlGetType(w.find("LINK_TO_LOG_FILE"), &type);
  EXPECT_EQ(static_cast<UINT>(HL_CONTROL_HYPERLINK), type);
  HTMLayoutControlGetType(w.find("theader"), &type);
  EXPECT_EQ(static_cast<UINT>(HL_CONTROL_NONE), type);
  w.load("<widget type=radio id=r1 name=g>a</widget><widget type=radio id=r2 name=g>b</widget>");
  HTMLayoutControlGetType(w.find("r1"), &type);
  EXPECT_EQ(static_cast<UINT>(HL_CONTROL_RADIO), type);
}

TEST_F(Elements, States_SetAndClearOnlyTheGivenBits) {
  EXPECT_EQ(0u, w.state("CHECKBOX_HS_SHIFT") & HL_STATE_CHECKED);
  const HLELEMENT box = w.find("CHECKBOX_HS_SHIFT");
  ASSERT_EQ(HL_OK, HTMLayoutSetElementState(box, HL_STATE_CHECKED, 0, TRUE));
  EXPECT_EQ(static_cast<UINT>(HL_STATE_CHECKED), w.state("CHECKBOX_HS_SHIFT") & HL_STATE_CHECKED);
  EXPECT_EQ(0u, w.state("CHECKBOX_HS_CTRL") & HL_STATE_CHECKED);

  const HLELEMENT link = w.find("LINK_TO_LOG_FILE");
  HTMLayoutSetElementState(link, HL_STATE_VISITED, 0, TRUE);
  HTMLayoutSetElementState(box, 0, HL_STATE_CHECKED, FALSE);
  EXPECT_EQ(0u, w.state("CHECKBOX_HS_SHIFT") & HL_STATE_CHECKED);
  EXPECT_EQ(static_cast<UINT>(HL_STATE_VISITED), w.state("LINK_TO_LOG_FILE") & HL_STATE_VISITED);
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_F(Elements, SetHtml_ReplacesContentAndTheNewElementsCanBeFound) {
  const HLELEMENT heading = w.find("theader");
  EXPECT_EQ("Kestrow settings", w.innerHtml(heading));
  const RECT before = w.location("theader", HL_ROOT_RELATIVE);
  const std::string html = "Kestrow Settings <SUP><SPAN ID=small_changed>changed</SPAN></SUP>";
  ASSERT_EQ(HL_OK, HTMLayoutSetElementHtml(heading, reinterpret_cast<const BYTE*>(html.data()),
                                           static_cast<UINT>(html.size()), HL_SET_CONTENT));
  HTMLayoutUpdateElementEx(heading, HL_UPDATE_MEASURE);
  EXPECT_EQ("Kestrow Settings changed", w.innerText(heading));
  EXPECT_NE(std::string::npos, w.innerHtml(heading).find("small_changed"));
  EXPECT_NE(nullptr, w.find("small_changed"));
  const RECT after = w.location("theader", HL_ROOT_RELATIVE);
  EXPECT_GT(after.right - after.left, before.right - before.left);

  // Prepending keeps what was there, as the release line needs.
  const HLELEMENT copy = w.find("TEXT_COPY");
  const std::string old = w.innerHtml(copy);
  const std::string line = "Kestrow Config 1.6.9.145<BR>Release: Jan 15 2014 18:29:51<BR>";
  HTMLayoutSetElementHtml(copy, reinterpret_cast<const BYTE*>(line.data()), static_cast<UINT>(line.size()),
                          HL_PREPEND_CONTENT);
  const std::string now = w.innerHtml(copy);
  EXPECT_EQ(0u, now.find("Kestrow Config 1.6.9.145<br>"));
  EXPECT_NE(std::string::npos, now.find(old));
  EXPECT_EQ(copy, w.find("TEXT_COPY")) << "still the first of its id";
}

TEST_F(Elements, SetInnerText16_TakesTheTextLiterally) {
  const HLELEMENT heading = w.find("theader");
  const std::wstring text = L"<b>\x041D\x0430\x0441\x0442\x0440\x043E\x0439\x043A\x0438</b>";  // "<b>Настройки</b>"
  ASSERT_EQ(HL_OK, HTMLayoutSetElementInnerText16(heading, text.c_str(), static_cast<UINT>(text.size())));
  EXPECT_EQ("<b>\xD0\x9D\xD0\xB0\xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xB9\xD0\xBA\xD0\xB8</b>", w.innerText(heading));
  EXPECT_EQ("&lt;b&gt;", w.innerHtml(heading).substr(0, 9));
  HTMLayoutSetElementInnerText16(heading, L"", 0);
  EXPECT_EQ("", w.innerHtml(heading));
}

TEST_F(Elements, PinnedHandle_OutlivesItsRemovalAndUnpinnedOneIsRefused) {
  const HLELEMENT span = w.find("SPAN_LINK_TO_LOG_FILE");
  const HLELEMENT hint = w.find("hint");
  ASSERT_NE(nullptr, span);
  ASSERT_EQ(HL_OK, HTMLayout_UseElement(span));
  const std::string html = "<b>gone</b>";
  HTMLayoutSetElementHtml(w.find("LINK_TO_LOG_FILE"), reinterpret_cast<const BYTE*>(html.data()),
                          static_cast<UINT>(html.size()), HL_SET_CONTENT);
  HTMLayoutSetElementHtml(w.find("CHECKBOX_NO_MIDDLE"), reinterpret_cast<const BYTE*>(html.data()),
                          static_cast<UINT>(html.size()), HL_SET_CONTENT);
  // Still readable, but no longer part of the page.
  EXPECT_EQ(L"SPAN_LINK_TO_LOG_FILE", w.attribute(span, "id"));
  RECT r{};
  EXPECT_NE(HL_OK, HTMLayoutGetElementLocation(span, &r, HL_ROOT_RELATIVE));
  EXPECT_EQ(nullptr, w.find("SPAN_LINK_TO_LOG_FILE"));
  EXPECT_EQ(HL_OK, HTMLayout_UnuseElement(span));
  EXPECT_EQ(HL_INVALID_ELEMENT, HTMLayout_UnuseElement(span));
  UINT state = 0;
  EXPECT_EQ(HL_INVALID_ELEMENT, HTMLayoutGetElementState(span, &state));
  // An element of the page that was not touched keeps working.
  EXPECT_EQ(HL_OK, HTMLayoutGetElementState(hint, &state));
  EXPECT_EQ(HL_INVALID_ELEMENT, HTMLayoutGetElementState(nullptr, &state));
}

TEST_F(Elements, PinnedHandle_SurvivesLoadingAnotherPage) {
  const HLELEMENT ok = w.find("BUTTON_OK");
  ASSERT_EQ(HL_OK, HTMLayout_UseElement(ok));
  w.load("<p id=x>other</p>");
  EXPECT_EQ(L"BUTTON_OK", w.attribute(ok, "id"));
  EXPECT_EQ(nullptr, w.find("BUTTON_OK"));
  EXPECT_NE(nullptr, w.find("x"));
  EXPECT_EQ(HL_OK, HTMLayout_UnuseElement(ok));
  EXPECT_EQ(HL_INVALID_ELEMENT, HTMLayout_UseElement(ok));
}

}  // namespace
}  // namespace ks::render::testing
