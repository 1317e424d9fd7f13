// Loading a page: what the renderer asks the host for, and when it says the
// document is complete.
#include <gtest/gtest.h>

#include <cstdio>

#include "page_window.h"

namespace ks::render::testing {
namespace {

const std::vector<std::string> kImages = {"bullet.gif",      "rss16.gif",        "leafnote_ico.gif",
                                          "keymark_ico.gif", "snipdrop_ico.gif", "ks_howto_settings.gif"};

TEST(LoadData, SettingsPage_AsksForBothSheetsThenEachImageOnceAndCompletesOnce) {
  PageWindow w;
  w.load(SettingsPage());
  std::vector<std::string> expected = {"styles.css", "?LOCALIZE_CSS_URL?"};
  expected.insert(expected.end(), kImages.begin(), kImages.end());
  EXPECT_EQ(expected, w.requests);
  EXPECT_EQ(1, w.completions);
  EXPECT_EQ(w.requests.size(), w.requestsAtCompletion) << "complete before every request was answered";
  // The placeholder found nothing, so it is the only one not reported loaded.
  std::vector<std::string> loaded = expected;
  loaded.erase(loaded.begin() + 1);
  EXPECT_EQ(loaded, w.loaded);

  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::printf(
      "[ figure ] load to document complete: %.2f ms\n",
      1000.0 * static_cast<double>(w.completeAt.QuadPart - w.loadStart.QuadPart) / static_cast<double>(freq.QuadPart));

  // Repainting and laying out again asks for nothing more.
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HTMLayoutUpdateElement(w.root(), TRUE);
  w.pump();
  EXPECT_EQ(expected.size(), w.requests.size());
  EXPECT_EQ(1, w.completions);
}

BOOL CALLBACK TakeFirst(HLELEMENT he, void* param) {
  *static_cast<HLELEMENT*>(param) = he;
  return TRUE;
}

TEST(LoadData, LocalisedPage_AsksForItsSheetAndTakesItsTexts) {
  PageWindow english;
  english.load(SettingsPage());
  PageWindow russian;
  russian.load(SettingsPage("localize_Ru.css"));
  ASSERT_GE(russian.requests.size(), 2u);
  EXPECT_EQ("styles.css", russian.requests[0]);
  EXPECT_EQ("localize_Ru.css", russian.requests[1]);
  EXPECT_EQ(1, russian.completions);
  // The Russian caption is longer than the English one; the element's own
  // text is unchanged, only what is shown.
  const HLELEMENT en = english.find("CHECKBOX_AUTORUN");
  const HLELEMENT ru = russian.find("CHECKBOX_AUTORUN");
  EXPECT_EQ(english.innerText(en), russian.innerText(ru));
  RECT enBox{}, ruBox{};
  HLELEMENT enSpan = nullptr, ruSpan = nullptr;
  HTMLayoutVisitElements(en, "span", nullptr, nullptr, TakeFirst, &enSpan, 0);
  HTMLayoutVisitElements(ru, "span", nullptr, nullptr, TakeFirst, &ruSpan, 0);
  ASSERT_EQ(HL_OK, HTMLayoutGetElementLocation(enSpan, &enBox, HL_ROOT_RELATIVE));
  ASSERT_EQ(HL_OK, HTMLayoutGetElementLocation(ruSpan, &ruBox, HL_ROOT_RELATIVE));
  EXPECT_GT(ruBox.right - ruBox.left, enBox.right - enBox.left + 40);
}

TEST(LoadData, DelayedAnswers_CompleteOnlyWithTheLastOne) {
  PageWindow w;
  w.answer = PageWindow::Answer::Delayed;
  w.load(SettingsPage());
  // Imports of the sheets are known only once the sheets arrive.
  EXPECT_EQ((std::vector<std::string>{"styles.css", "?LOCALIZE_CSS_URL?", "bullet.gif", "rss16.gif", "leafnote_ico.gif",
                                      "keymark_ico.gif", "snipdrop_ico.gif", "ks_howto_settings.gif"}),
            w.requests);
  EXPECT_EQ(0, w.completions);
  std::vector<std::string> pending;
  pending.swap(w.delayed);
  const std::string last = pending.back();
  pending.pop_back();
  w.delayed = pending;
  w.answerDelayed();
  EXPECT_EQ(0, w.completions) << "one request is still open";
  w.delayed = {last};
  w.answerDelayed();
  EXPECT_EQ(1, w.completions);
  // A late answer to a finished request changes nothing.
  w.delayed = {"styles.css"};
  w.answerDelayed();
  EXPECT_EQ(1, w.completions);
}

TEST(LoadData, UnansweredRequests_CountAsNotFoundAndThePageStillLaysOut) {
  PageWindow w;
  w.answer = PageWindow::Answer::Nothing;
  w.load(SettingsPage());
  EXPECT_EQ(1, w.completions);
  EXPECT_TRUE(w.loaded.empty());
  EXPECT_GT(HTMLayoutGetMinWidth(w.hwnd()), 0u);
  // Without images their width and height attributes still size them.
  const RECT howto = w.location("adv_could", HL_ROOT_RELATIVE | HL_CONTENT_BOX);
  EXPECT_GE(howto.bottom - howto.top, 233);
}

UINT CALLBACK AnswerInPlace(HLNotifyHeader* header, void* param) {
  if (header->code == HLN_LOAD_DATA) {
    auto* note = reinterpret_cast<HLLoadDataNotify*>(header);
    const std::string* bytes = static_cast<const std::string*>(param);
    note->outData = reinterpret_cast<const BYTE*>(bytes->data());
    note->outDataSize = static_cast<UINT>(bytes->size());
  }
  if (header->code == HLN_DOCUMENT_COMPLETE) SetPropW(header->window, L"complete", reinterpret_cast<HANDLE>(1));
  return 0;
}

TEST(LoadData, BrokenImagesAndSheets_GiveAPageWithoutThem) {
  PageWindow w;
  // Every request answered with the same garbage: no sheet rules, no images.
  const std::string garbage("\x89PNG\r\n\x1a\n\xff\xff{{{@import url(", 24);
  HTMLayoutSetCallback(w.hwnd(), AnswerInPlace, const_cast<std::string*>(&garbage));
  w.load(SettingsPage());
  EXPECT_EQ(reinterpret_cast<HANDLE>(1), GetPropW(w.hwnd(), L"complete"));
  RemovePropW(w.hwnd(), L"complete");
  EXPECT_GT(HTMLayoutGetMinWidth(w.hwnd()), 0u);
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(LoadData, EmptyAndBinaryPages_LoadWithoutRequests) {
  PageWindow w;
  w.load(std::string());
  EXPECT_TRUE(w.requests.empty());
  EXPECT_EQ(1, w.completions);
  w.load(std::string("\0\xff<html><img src=\0>", 19));
  EXPECT_EQ(2, w.completions);
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace
}  // namespace ks::render::testing
