// Menu text keys, with a stand-in for the system's upper-casing that knows
// Latin and Cyrillic letters.
#include <gtest/gtest.h>

#include "agent/localization/menu_text_key.h"

namespace ks {
namespace {

void TestUpperCase(std::wstring& text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c >= L'\u0430' && c <= L'\u044f') c = static_cast<wchar_t>(c - 0x20);
  }
}

std::wstring Key(const std::wstring& text) { return MenuTextKey(text, &TestUpperCase); }

TEST(MenuTextKey, TrayMenuTexts_GiveTheKeysTranslatorsSee) {
  EXPECT_EQ(Key(L"Start With Windows"), L"START_WITH_WINDOWS");
  EXPECT_EQ(Key(L"Settings\u2026"), L"SETTINGS");
  EXPECT_EQ(Key(L"Leafnote - Notes Organizer"), L"LEAFNOTE_-_NOTES_ORGANIZER");
}

TEST(MenuTextKey, TextThatOnlyChangesCase_IsItsOwnKeyInItsOwnCase) {
  EXPECT_EQ(Key(L"Exit"), L"Exit");
  EXPECT_EQ(Key(L"Enable"), L"Enable");
  EXPECT_EQ(Key(L"eXiT"), L"eXiT");
  EXPECT_EQ(Key(L"ENABLE"), L"ENABLE");
}

TEST(MenuTextKey, AcceleratorMarks_AreDroppedAfterUpperCasing) {
  EXPECT_EQ(Key(L"&Enable"), L"ENABLE");
  EXPECT_EQ(Key(L"Open &File\u2026"), L"OPEN_FILE");
  EXPECT_EQ(Key(L"A && B"), L"A__B");
}

TEST(MenuTextKey, EveryEllipsisAndBlank_IsHandled) {
  EXPECT_EQ(Key(L"\u2026Wait\u2026 for it\u2026"), L"WAIT_FOR_IT");
  EXPECT_EQ(Key(L"  two  blanks "), L"__TWO__BLANKS_");
}

// Only A to Z count as equal in either case, so a Cyrillic text whose
// capitals differ keys under its capitals.
TEST(MenuTextKey, NonLatinLetters_KeyUnderTheirCapitals) {
  EXPECT_EQ(Key(L"\u0412\u044b\u0445\u043e\u0434"), L"\u0412\u042b\u0425\u041e\u0414");
  EXPECT_EQ(Key(L"\u0412\u042b\u0425\u041e\u0414"), L"\u0412\u042b\u0425\u041e\u0414");
}

TEST(MenuTextKey, EmptyAndMarkOnlyTexts_StayDefined) {
  EXPECT_EQ(Key(L""), L"");
  EXPECT_EQ(Key(L"\u2026"), L"");
  EXPECT_EQ(Key(L"&"), L"");
  EXPECT_EQ(MenuTextKey(L"Exit Now", nullptr), L"Exit_Now");
}

}  // namespace
}  // namespace ks
