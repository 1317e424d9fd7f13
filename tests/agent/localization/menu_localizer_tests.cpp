// Menus loaded by a library of the process while localisation runs: the
// template the language file grows into, and the translations it gives.
#include <gtest/gtest.h>

#include <algorithm>

#include "agent/localization/localization.h"
#include "tests/agent/localization/localization_helpers.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

using test::Entries;
using test::MenuTexts;
using test::ScopedLocalization;
using test::TextsDll;

const std::vector<std::wstring> kBuiltInTrayTexts = {L"_POPUP_", L"Kestrow On Internet",
                                                     L"-",       L"Leafnote - Notes Organizer",
                                                     L"-",       L"Settings\u2026",
                                                     L"-",       L"Start With Windows",
                                                     L"Enable",  L"-",
                                                     L"Exit"};

const Entries kTrayTemplate = {{L"KESTROW_ON_INTERNET", L"Kestrow On Internet"},
                               {L"LEAFNOTE_-_NOTES_ORGANIZER", L"Leafnote - Notes Organizer"},
                               {L"SETTINGS", L"Settings\u2026"},
                               {L"START_WITH_WINDOWS", L"Start With Windows"},
                               {L"Enable", L"Enable"},
                               {L"Exit", L"Exit"}};

std::vector<std::wstring> LoadTrayTexts(const TextsDll& dll) {
  const UniqueMenu menu = dll.LoadMenu(IDR_TRAY_LIKE_MENU);
  return menu ? MenuTexts(menu.get()) : std::vector<std::wstring>{};
}

TEST(MenuLocalizer, NewEmptyFile_GetsOneEntryPerItemTextAndMenuKeepsItsTexts) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"New.lng");
  ASSERT_TRUE(test::WriteLanguageFile(file, L""));
  TextsDll dll;
  ASSERT_TRUE(dll.Loaded());
  ScopedLocalization localization(file);
  ASSERT_TRUE(localization.Started());

  EXPECT_EQ(LoadTrayTexts(dll), kBuiltInTrayTexts);
  EXPECT_EQ(test::SectionEntries(file, L"Menu"), kTrayTemplate);
  // The pop-up's name and the separators never reach the file.
  const std::wstring text = test::FileText(file);
  EXPECT_EQ(text.find(L"_POPUP_"), std::wstring::npos);
  EXPECT_EQ(text.find(L"=\n"), std::wstring::npos);

  // A second opening finds every entry: nothing more is written.
  EXPECT_EQ(LoadTrayTexts(dll), kBuiltInTrayTexts);
  EXPECT_EQ(test::SectionEntries(file, L"Menu"), kTrayTemplate);
}

TEST(MenuLocalizer, FileThatDoesNotExist_IsCreatedAsTemplate) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"Missing.lng");
  TextsDll dll;
  ScopedLocalization localization(file);
  ASSERT_TRUE(localization.Started());
  EXPECT_FALSE(test::FileExists(file));

  EXPECT_EQ(LoadTrayTexts(dll), kBuiltInTrayTexts);
  const Entries entries = test::SectionEntries(file, L"Menu");
  ASSERT_EQ(entries.size(), kTrayTemplate.size());
  EXPECT_EQ(entries.front(), kTrayTemplate.front());
  EXPECT_EQ(entries.back(), kTrayTemplate.back());
}

TEST(MenuLocalizer, MenuEntries_TranslateItemsByKeyWithoutRegardToCase) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"Russian.lng");
  ASSERT_TRUE(
      test::WriteLanguageFile(file,
                              L"[Menu]\r\nstart_with_windows=\u0417\u0430\u043f\u0443\u0441\u043a\u0430\u0442\u044c "
                              L"\u0441 Windows\r\nSETTINGS=\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438\u2026"
                              L"\r\nExit=\u0412\u044b\u0445\u043e\u0434\r\n"));
  TextsDll dll;
  ScopedLocalization localization(file);

  const std::vector<std::wstring> texts = LoadTrayTexts(dll);
  ASSERT_EQ(texts.size(), kBuiltInTrayTexts.size());
  EXPECT_EQ(texts[5], L"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438\u2026");
  EXPECT_EQ(texts[7], L"\u0417\u0430\u043f\u0443\u0441\u043a\u0430\u0442\u044c \u0441 Windows");
  EXPECT_EQ(texts[10], L"\u0412\u044b\u0445\u043e\u0434");
  // Items the file lacks keep their texts.
  EXPECT_EQ(texts[1], L"Kestrow On Internet");
  EXPECT_EQ(texts[8], L"Enable");
}

TEST(MenuLocalizer, EmptyValue_CountsAsMissingAndIsWrittenAgain) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"Blank.lng");
  ASSERT_TRUE(test::WriteLanguageFile(file, L"[Menu]\r\nExit=\r\n"));
  TextsDll dll;
  ScopedLocalization localization(file);

  const std::vector<std::wstring> texts = LoadTrayTexts(dll);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), L"Exit");
  const Entries entries = test::SectionEntries(file, L"Menu");
  EXPECT_EQ(std::count(entries.begin(), entries.end(), Entries::value_type{L"Exit", L"Exit"}), 1);
  EXPECT_EQ(std::count(entries.begin(), entries.end(), Entries::value_type{L"Exit", L""}), 0);
}

TEST(MenuLocalizer, EnableValue_ShowsInRussian) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"Enable.lng");
  ASSERT_TRUE(test::WriteLanguageFile(file, L"[Menu]\r\nEnable=ENABLE\r\nExit=enable\r\n"));
  TextsDll dll;
  ScopedLocalization localization(file);

  const std::vector<std::wstring> texts = LoadTrayTexts(dll);
  ASSERT_EQ(texts.size(), kBuiltInTrayTexts.size());
  EXPECT_EQ(texts[8], test::kEnableInRussian);
  // Only the exact capitals count.
  EXPECT_EQ(texts[10], L"enable");
}

// The rule applies to the key itself after a miss: an item "ENABLE" shows in
// Russian and writes ENABLE=ENABLE, which the item "Enable" then finds,
// since keys match without regard to case. ("Enable" alone keys as itself
// and stays, as the new-file test shows.)
TEST(MenuLocalizer, EnableKeyAfterMiss_ShowsInRussianAndSoDoesEnableFindingIt) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"Rules.lng");
  ASSERT_TRUE(test::WriteLanguageFile(file, L""));
  TextsDll dll;
  ScopedLocalization localization(file);

  const UniqueMenu rules = dll.LoadMenu(IDR_RULES_MENU);
  ASSERT_TRUE(rules);
  EXPECT_EQ(MenuTexts(rules.get()).front(), test::kEnableInRussian);
  EXPECT_EQ(test::SectionEntries(file, L"Menu").front(), (Entries::value_type{L"ENABLE", L"ENABLE"}));
  EXPECT_EQ(LoadTrayTexts(dll)[8], test::kEnableInRussian);
}

TEST(MenuLocalizer, NestedItems_AreKeyedAndTranslatedDepthFirst) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"Nested.lng");
  ASSERT_TRUE(test::WriteLanguageFile(file, L"[Menu]\r\nDEEP_ITEM=Tief\r\nTOOLS=&Werkzeuge\r\n"));
  TextsDll dll;
  ScopedLocalization localization(file);

  const UniqueMenu rules = dll.LoadMenu(IDR_RULES_MENU);
  ASSERT_TRUE(rules);
  const std::vector<std::wstring> expected = {test::kEnableInRussian,
                                              L"&Werkzeuge",
                                              L"Open &File\u2026",
                                              L"Deeper",
                                              L"Tief",
                                              L"\u0412\u044b\u0445\u043e\u0434",
                                              L"Ratio a=b"};
  EXPECT_EQ(MenuTexts(rules.get()), expected);

  const Entries written = test::SectionEntries(file, L"Menu");
  const Entries expectedFile = {
      {L"DEEP_ITEM", L"Tief"}, {L"TOOLS", L"&Werkzeuge"},
      {L"ENABLE", L"ENABLE"},  {L"OPEN_FILE", L"Open &File\u2026"},
      {L"Deeper", L"Deeper"},  {L"\u0412\u042b\u0425\u041e\u0414", L"\u0412\u044b\u0445\u043e\u0434"}};
  // A text keyed with "=" could never be read back, so it is not written.
  EXPECT_EQ(written, expectedFile);
}

TEST(MenuLocalizer, MenuOfAMissingResource_IsNullAndWritesNothing) {
  test::TempDir dir;
  const std::wstring file = dir.File(L"None.lng");
  TextsDll dll;
  ScopedLocalization localization(file);
  EXPECT_FALSE(dll.LoadMenu(4242));
  EXPECT_FALSE(test::FileExists(file));
}

}  // namespace
}  // namespace ks
