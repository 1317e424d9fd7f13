// The language files as the agent finds and names them, and the language
// prefix that picks the edition of the web pages, checked in the test
// process against real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "agent/localization/current_language.h"
#include "agent/localization/language_files.h"
#include "agent/localization/localization.h"
#include "agent/tray/web_page_commands.h"
#include "common/web_links.h"
#include "tests/harness/test_files.h"

namespace ks::test {
namespace {

bool Touch(const TempDir& dir, const std::wstring& name, const std::string& text = {}) {
  return WriteBytes(dir.File(name), text);
}

TEST(FindLanguageFiles, ListsFullPathsSortedByCodeUnits) {
  TempDir dir;
  for (const wchar_t* name :
       {L"Zulu.lng", L"english.lng", L"LocalizationExample.lng", L"notes.old.lng", L"readme.txt", L"lng"}) {
    ASSERT_TRUE(Touch(dir, name));
  }
  std::vector<std::wstring> list;
  EXPECT_EQ(FindLanguageFiles(dir.path(), list), 4u);
  const std::vector<std::wstring> expected = {dir.File(L"LocalizationExample.lng"), dir.File(L"Zulu.lng"),
                                              dir.File(L"english.lng"), dir.File(L"notes.old.lng")};
  EXPECT_EQ(list, expected);
}

// The menu tooltip's delay threads name language files while the main thread
// rebuilds the list for a reopened menu.
TEST(LanguageFileList, LookedUpOnAnotherThreadWhileRebuilt_AnswersWholeNamesOnly) {
  RefreshLanguageFileList();
  ASSERT_FALSE(LanguageFileList().empty()) << "the shipped language file lies beside the tests";
  const std::wstring expected = LanguageFileList().front();
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::thread reader([&] {
    while (!stop) {
      const std::wstring name = LanguageFileForCommand(kFirstLanguageCommand);
      if (name != expected) ++wrong;
    }
  });
  for (int i = 0; i < 300; ++i) RefreshLanguageFileList();
  stop = true;
  reader.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(FindLanguageFiles, AddsTheSeparatorAndSortsWithWhatTheListHeld) {
  TempDir dir;
  ASSERT_TRUE(Touch(dir, L"b.lng"));
  std::wstring withoutSeparator = dir.path();
  withoutSeparator.pop_back();
  std::vector<std::wstring> list = {L"Z:\\zz.lng", L"A:\\aa.lng"};
  EXPECT_EQ(FindLanguageFiles(withoutSeparator, list), 3u);
  const std::vector<std::wstring> expected = {L"A:\\aa.lng", dir.File(L"b.lng"), L"Z:\\zz.lng"};
  EXPECT_EQ(list, expected);
}

TEST(FindLanguageFiles, DirectoryWithoutFilesOrMissing_AddsNothing) {
  TempDir dir;
  std::vector<std::wstring> list = {L"kept"};
  EXPECT_EQ(FindLanguageFiles(dir.path(), list), 1u);
  EXPECT_EQ(FindLanguageFiles(dir.File(L"missing\\"), list), 1u);
  EXPECT_EQ(list, std::vector<std::wstring>{L"kept"});
}

TEST(LanguageFileLabel, DropsOnlyTheLastExtension) {
  EXPECT_EQ(LanguageFileLabel(L"C:\\a.b\\notes.old.lng"), L"notes.old");
  EXPECT_EQ(LanguageFileLabel(L"C:\\dir\\Zulu.lng"), L"Zulu");
  EXPECT_EQ(LanguageFileLabel(L"C:\\dir.x\\plain"), L"plain");
}

TEST(LanguageFileForCommand, ExampleFileAndNothingOutsideTheList) {
  EXPECT_EQ(LanguageFileForCommand(kExampleLanguageCommand), ExampleLanguageFilePath());
  EXPECT_EQ(ExampleLanguageFilePath(), BinDir() + L"LocalizationExample.lng");
  // Just past the end of the list, however long another test made it.
  EXPECT_EQ(LanguageFileForCommand(kFirstLanguageCommand + static_cast<UINT>(LanguageFileList().size())), L"");
  EXPECT_EQ(LanguageFileForCommand(40999), L"");
  EXPECT_EQ(LanguageFileForCommand(41100), L"");
}

// Translation runs in this process for the length of one test.
class LanguagePrefixTest : public testing::Test {
 protected:
  void TearDown() override { StopLocalization(); }
  TempDir dir_;
};

TEST_F(LanguagePrefixTest, RussianFile_PicksTheRussianEditionOfThePages) {
  const std::wstring file = dir_.File(L"Russian.lng");
  ASSERT_TRUE(WriteBytes(file, "[Main]\r\nLangPrefix=Ru\r\n"));
  EXPECT_EQ(LanguagePrefix(), L"");
  EXPECT_EQ(AgentWebPageAddress(WebPage::Keymark), WebPageAddress(WebPage::Keymark, WebEdition::English));

  ASSERT_TRUE(StartLocalization(file));
  EXPECT_EQ(CurrentLanguageFile(), file);
  EXPECT_EQ(LanguagePrefix(), L"Ru");
  for (WebPage page : {WebPage::Home, WebPage::Leafnote, WebPage::Keymark, WebPage::Snipdrop}) {
    EXPECT_EQ(AgentWebPageAddress(page), WebPageAddress(page, WebEdition::Russian));
  }

  ASSERT_TRUE(StopLocalization());
  EXPECT_EQ(CurrentLanguageFile(), L"");
  EXPECT_EQ(AgentWebPageAddress(WebPage::Keymark), WebPageAddress(WebPage::Keymark, WebEdition::English));
}

TEST_F(LanguagePrefixTest, LongPrefixIsCutToThreeAndMissingOneIsEmpty) {
  const std::wstring longPrefix = dir_.File(L"long.lng");
  ASSERT_TRUE(WriteBytes(longPrefix, "[Main]\r\nLangPrefix=Russian\r\n"));
  ASSERT_TRUE(StartLocalization(longPrefix));
  EXPECT_EQ(LanguagePrefix(), L"Rus");
  ASSERT_TRUE(StopLocalization());

  const std::wstring without = dir_.File(L"none.lng");
  ASSERT_TRUE(WriteBytes(without, "[Menu]\r\nExit=Quit\r\n"));
  ASSERT_TRUE(StartLocalization(without));
  EXPECT_EQ(LanguagePrefix(), L"");
}

TEST_F(LanguagePrefixTest, PathOf1024Units_IsRefusedAndLeavesNoLanguage) {
  const std::wstring tooLong = dir_.path() + std::wstring(1024 - dir_.path().size() - 4, L'a') + L".lng";
  ASSERT_EQ(tooLong.size(), 1024u);
  EXPECT_FALSE(StartLocalization(tooLong));
  EXPECT_EQ(CurrentLanguageFile(), L"");
  EXPECT_EQ(LanguagePrefix(), L"");
}

}  // namespace
}  // namespace ks::test
