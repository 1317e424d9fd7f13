// The page in the user's language: the prefix of the chosen language file
// selects a localisation sheet beside the program, the root's lang attribute
// and the language of the Leafnote download. Each sheet here makes a rule
// visible in the size of an element, so the page the program built can be
// read back from its layout.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/paths.h"
#include "common/web_links.h"
#include "tests/config/config_session.h"

namespace ks::test {
namespace {

// Wider than the button's own 120 px by far.
constexpr LONG kWideButton = 250;
// Taller than the Leafnote block ever is without the rule.
constexpr LONG kTallBlock = 300;

std::string DownloadRule(const char* language) {
  const std::string address = Narrow(WebSiteAddress(std::wstring(L"/Source/leafnote_") + Widen(language) + L".zip"));
  return "a[href=\"" + address + "\"] { display: block; height: 320px; }\n";
}

std::string LangRule(const char* lang) {
  return std::string("html[lang=\"") + lang + "\"] #BUTTON_OK { width: 301px; }\n";
}

class Localisation : public ConfigSession {
 protected:
  // A language file in the program directory with the prefix, chosen in the
  // settings by its bare name.
  void ChooseLanguage(const std::string& prefix) {
    ASSERT_TRUE(WriteBytes(copy.File(L"Test.lng"), "[Main]\r\nLangPrefix=" + prefix + "\r\n"));
    ASSERT_TRUE(copy.WriteSettings("LangFile=Test.lng\r\n"));
  }

  LONG Width(HWND window, const wchar_t* id) { return ElementSize(window, id).value_or(SIZE{-1, -1}).cx; }
  LONG Height(HWND window, const wchar_t* id) { return ElementSize(window, id).value_or(SIZE{-1, -1}).cy; }
};

TEST_F(Localisation, PrefixRu_ImportsItsSheetSetsLangAndLinksTheRussianDownload) {
  ChooseLanguage("Ru");
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_Ru.css"), LangRule("ru") + DownloadRule("ru")));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_GT(Width(window, L"BUTTON_OK"), kWideButton);
  EXPECT_GT(Height(window, L"adv_block"), kTallBlock);
}

TEST_F(Localisation, PrefixEn_ImportsItsSheetAndKeepsTheEnglishDownload) {
  ChooseLanguage("en");
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_en.css"), LangRule("en") + DownloadRule("en")));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_GT(Width(window, L"BUTTON_OK"), kWideButton);
  EXPECT_GT(Height(window, L"adv_block"), kTallBlock);
}

TEST_F(Localisation, NoPrefix_LeavesThePageAsBuiltIn) {
  // A sheet lies there, but nothing names it.
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_Ru.css"), "#BUTTON_OK { width: 301px; }\n"));
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_.css"), "#BUTTON_OK { width: 301px; }\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  const LONG width = Width(window, L"BUTTON_OK");
  EXPECT_GT(width, 0);
  EXPECT_LT(width, kWideButton);
}

TEST_F(Localisation, PrefixLongerThanEight_UsesTheFirstEightCharacters) {
  ChooseLanguage("abcdefghij");
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_abcdefgh.css"), LangRule("abcdefgh")));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_GT(Width(window, L"BUTTON_OK"), kWideButton);
}

TEST_F(Localisation, LanguageFileByFullPath_IsRead) {
  TempDir elsewhere;
  const std::wstring file = elsewhere.File(L"Other.lng");
  ASSERT_TRUE(WriteBytes(file, "[Main]\r\nLangPrefix=Ru\r\n"));
  ASSERT_TRUE(copy.WriteSettings("LangFile=" + Narrow(file) + "\r\n"));
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_Ru.css"), LangRule("ru")));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_GT(Width(window, L"BUTTON_OK"), kWideButton);
}

TEST_F(Localisation, SheetsImportedByPathOrDeviceName_AreNotReadButLoggedWhileBareNamesAre) {
  ChooseLanguage("Ru");
  ASSERT_TRUE(copy.WriteSettings("LangFile=Test.lng\r\nWriteLog=1\r\n"));
  // The same sheet beside the program and in a folder next to it; only the
  // bare name may load it.
  TempDir elsewhere;
  const std::string wide = "#BUTTON_OK { width: 301px; }\n";
  ASSERT_TRUE(WriteBytes(copy.File(L"wide.css"), wide));
  ASSERT_TRUE(WriteBytes(elsewhere.File(L"wide.css"), wide));
  ASSERT_TRUE(WriteBytes(copy.File(L"tall.css"), "#adv_block { height: 320px; }\n"));
  std::string absolute = Narrow(elsewhere.File(L"wide.css"));
  std::replace(absolute.begin(), absolute.end(), '\\', '/');
  const std::string sibling = "../" + Narrow(FileNameOf(StripTrailingSeparators(elsewhere.path()))) + "/wide.css";
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_Ru.css"),
                         "@import url(\"tall.css\");\n"
                         "@import url(\"./wide.css\");\n"
                         "@import url(\".\\\\wide.css\");\n"
                         "@import url(\"" +
                             sibling +
                             "\");\n"
                             "@import url(\"" +
                             absolute +
                             "\");\n"
                             "@import url(\"CON.css\");\n"
                             "@import url(\"nul .CSS\");\n"
                             "@import url(\"wide.css:x\");\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_GT(Height(window, L"adv_block"), kTallBlock);
  const LONG width = Width(window, L"BUTTON_OK");
  EXPECT_GT(width, 0);
  EXPECT_LT(width, kWideButton);
  const std::wstring log = ReadUtf16(copy.File(L"LogFile.log"));
  for (const std::wstring& name :
       std::initializer_list<std::wstring>{Widen(sibling), L"CON.css", L"nul .CSS", L"wide.css:x"}) {
    EXPECT_NE(log.find(L"Page file refused: " + name + L"\r\n"), std::wstring::npos) << Narrow(name) << Narrow(log);
  }
  EXPECT_EQ(log.find(L"tall.css"), std::wstring::npos) << Narrow(log);
}

TEST_F(Localisation, StylesCssBesideTheProgram_IsIgnoredWhileTheResourceExists) {
  ASSERT_TRUE(WriteBytes(copy.File(L"styles.css"), "#BUTTON_OK { width: 301px; }\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  const LONG width = Width(window, L"BUTTON_OK");
  EXPECT_GT(width, 0);
  EXPECT_LT(width, kWideButton);
}

TEST_F(Localisation, Utf16Sheet_ContributesNothing) {
  ChooseLanguage("Ru");
  const std::wstring rule = Widen(LangRule("ru"));
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(rule.data()), rule.size() * sizeof(wchar_t));
  ASSERT_TRUE(WriteBytes(copy.File(L"localize_Ru.css"), bytes));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  const LONG width = Width(window, L"BUTTON_OK");
  EXPECT_GT(width, 0);
  EXPECT_LT(width, kWideButton);
}

TEST_F(Localisation, ShippedRussianFiles_TranslateTheHeadingKeepingTheMarker) {
  // The Russian language file and sheet shipped beside the programs.
  ASSERT_TRUE(CopyFileW((BinDir() + L"Russian.lng").c_str(), copy.File(L"Russian.lng").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((BinDir() + L"localize_Ru.css").c_str(), copy.File(L"localize_Ru.css").c_str(), FALSE));
  ASSERT_TRUE(copy.WriteSettings("LangFile=Russian.lng\r\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_HS_CTRL");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  EXPECT_TRUE(ElementSize(window, L"small_changed").has_value());
}

}  // namespace
}  // namespace ks::test
