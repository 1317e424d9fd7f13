// String-table texts loaded while localisation runs: keyed by identifier,
// written when missing, cut to the caller's buffer.
#include <gtest/gtest.h>

#include "agent/localization/localization.h"
#include "tests/agent/localization/localization_helpers.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

using test::Entries;
using test::ScopedLocalization;
using test::TextsDll;

// "Агент Kestrow"
const std::wstring kRussianCaption = L"\u0410\u0433\u0435\u043d\u0442 Kestrow";

struct StringFixture : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(dll.Loaded()); }
  std::wstring Start(const std::wstring& name, const std::wstring& content) {
    const std::wstring file = dir.File(name);
    EXPECT_TRUE(test::WriteLanguageFile(file, content));
    EXPECT_TRUE(StartLocalization(file));
    return file;
  }
  void TearDown() override { StopLocalization(); }
  test::TempDir dir;
  TextsDll dll;
};

using StringLocalizer = StringFixture;

TEST_F(StringLocalizer, NewEmptyFile_GetsEachLoadedStringUnderItsIdentifier) {
  const std::wstring file = Start(L"New.lng", L"");
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), L"Kestrow Agent");
  EXPECT_EQ(dll.LoadString(IDS_LANGUAGE), L"Language");
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), L"Kestrow Agent");
  const Entries expected = {{L"2", L"Kestrow Agent"}, {L"57672", L"Language"}};
  EXPECT_EQ(test::SectionEntries(file, L"Strings"), expected);
}

TEST_F(StringLocalizer, StringsEntry_TranslatesAndReportsTheTranslatedLength) {
  Start(L"Russian.lng", L"[Strings]\r\n2=" + kRussianCaption + L"\r\n");
  int length = 0;
  EXPECT_EQ(dll.LoadString(IDS_CAPTION, 1024, &length), kRussianCaption);
  EXPECT_EQ(length, static_cast<int>(kRussianCaption.size()));
  EXPECT_EQ(dll.LoadString(IDS_ALREADY_RUNNING), L"Kestrow already work");
}

TEST_F(StringLocalizer, TranslationLongerThanBuffer_IsCutToBufferSizeLessOne) {
  Start(L"Long.lng", L"[Strings]\r\n2=" + kRussianCaption + L"\r\n");
  int length = 0;
  // Six units: five characters and the terminator; nothing written beyond.
  EXPECT_EQ(dll.LoadString(IDS_CAPTION, 6, &length), kRussianCaption.substr(0, 5));
  EXPECT_EQ(length, 5);
}

TEST_F(StringLocalizer, CutBetweenSurrogateHalves_DropsTheHalfCharacter) {
  Start(L"Emoji.lng", L"[Strings]\r\n2=ab\U0001F600c\r\n");
  int length = 0;
  EXPECT_EQ(dll.LoadString(IDS_CAPTION, 4, &length), L"ab");
  EXPECT_EQ(length, 2);
  EXPECT_EQ(dll.LoadString(IDS_CAPTION, 5, &length), L"ab\U0001F600");
  EXPECT_EQ(length, 4);
}

TEST_F(StringLocalizer, EmptyValue_CountsAsMissingAndIsWrittenAgain) {
  const std::wstring file = Start(L"Blank.lng", L"[Strings]\r\n2=\r\n");
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), L"Kestrow Agent");
  const Entries expected = {{L"2", L"Kestrow Agent"}};
  EXPECT_EQ(test::SectionEntries(file, L"Strings"), expected);
}

// A template made through a small buffer still holds whole texts.
TEST_F(StringLocalizer, MissWithSmallBuffer_WritesTheWholeBuiltInText) {
  const std::wstring file = Start(L"Small.lng", L"");
  int length = 0;
  EXPECT_EQ(dll.LoadString(IDS_TIP_ENABLE, 4, &length), L"Ena");
  EXPECT_EQ(length, 3);
  const Entries expected = {{L"40001", L"Enable or disable Kestrow"}};
  EXPECT_EQ(test::SectionEntries(file, L"Strings"), expected);
}

TEST_F(StringLocalizer, PointerFormAndMissingStrings_PassThroughUntouched) {
  const std::wstring file = Start(L"Untouched.lng", L"[Strings]\r\n2=" + kRussianCaption + L"\r\n");
  const wchar_t* resource = nullptr;
  const int length = dll.LoadStringRaw(IDS_CAPTION, reinterpret_cast<wchar_t*>(&resource), 0);
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(std::wstring(resource, static_cast<size_t>(length)), L"Kestrow Agent");
  EXPECT_EQ(dll.LoadString(IDS_MISSING), L"");
  const Entries expected = {{L"2", kRussianCaption}};
  EXPECT_EQ(test::SectionEntries(file, L"Strings"), expected);
}

// This program's own module is redirected too, and its string 6 has another
// built-in text: the identifier alone picks the translation.
TEST_F(StringLocalizer, SameIdentifierInAnotherModule_GetsTheSameTranslation) {
  const std::wstring translated = L"\u0423\u0436\u0435 \u0440\u0430\u0431\u043e\u0442\u0430\u0435\u0442";
  Start(L"Shared.lng", L"[Strings]\r\n6=" + translated + L"\r\n");
  EXPECT_EQ(dll.LoadString(IDS_ALREADY_RUNNING), translated);
  EXPECT_EQ(test::OwnModuleString(IDS_ALREADY_RUNNING), translated);
  StopLocalization();
  EXPECT_EQ(test::OwnModuleString(IDS_ALREADY_RUNNING), L"The test program's own text");
}

}  // namespace
}  // namespace ks
