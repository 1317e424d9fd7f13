#include "common/web_open.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/web_links.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

// What the openers handed to the shell and how often they beeped.
struct ShellCall {
  HWND owner;
  std::wstring verb;
  std::wstring file;
  bool noParameters;
  bool noDirectory;
  INT show;
};

std::vector<ShellCall> g_shellCalls;
std::vector<UINT> g_beeps;
INT_PTR g_shellResult = 42;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                    INT show) {
  g_shellCalls.push_back(
      {owner, verb ? verb : L"<null>", file ? file : L"<null>", parameters == nullptr, directory == nullptr, show});
  return reinterpret_cast<HINSTANCE>(g_shellResult);
}

BOOL WINAPI RecordBeep(UINT type) {
  g_beeps.push_back(type);
  return TRUE;
}

class WebOpen : public testing::Test {
 protected:
  void SetUp() override {
    g_shellCalls.clear();
    g_beeps.clear();
    g_shellResult = 42;
    calls_.shellExecute = RecordShellExecute;
    calls_.messageBeep = RecordBeep;
  }

  std::wstring LanguageFile(const wchar_t* name, const wchar_t* prefix) {
    const std::wstring path = dir_.File(name);
    EXPECT_TRUE(WritePrivateProfileStringW(L"Main", L"LangPrefix", prefix, path.c_str()));
    return path;
  }

  test::TempDir dir_;
  WebOpenCalls calls_;
  const HWND owner_ = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  const std::wstring keymark_ = WebPageAddress(WebPage::Keymark, WebEdition::English);
};

TEST_F(WebOpen, LanguagePrefix_IsReadFromSectionMainAndCutToThreeCharacters) {
  EXPECT_EQ(WebLanguagePrefix(LanguageFile(L"Russian.lng", L"Ru")), L"Ru");
  EXPECT_EQ(WebLanguagePrefix(LanguageFile(L"Long.lng", L"Russian")), L"Rus");
  EXPECT_EQ(WebLanguagePrefix(dir_.File(L"Missing.lng")), L"");
  EXPECT_EQ(WebLanguagePrefix(L""), L"");
}

TEST_F(WebOpen, AgentOpener_HandsTheAddressToTheShell) {
  EXPECT_TRUE(OpenWebPage(owner_, keymark_, calls_));
  ASSERT_EQ(g_shellCalls.size(), 1u);
  const ShellCall& call = g_shellCalls[0];
  EXPECT_EQ(call.owner, owner_);
  EXPECT_EQ(call.verb, L"open");
  EXPECT_EQ(call.file, keymark_);
  EXPECT_TRUE(call.noParameters);
  EXPECT_TRUE(call.noDirectory);
  EXPECT_EQ(call.show, SW_SHOW);
  EXPECT_TRUE(g_beeps.empty());
}

TEST_F(WebOpen, AgentOpener_ShellFailure_BeepsAndAnswersFalse) {
  g_shellResult = SE_ERR_NOASSOC;
  EXPECT_FALSE(OpenWebPage(owner_, keymark_, calls_));
  EXPECT_EQ(g_shellCalls.size(), 1u);
  ASSERT_EQ(g_beeps.size(), 1u);
  EXPECT_EQ(g_beeps[0], 0xFFFFFFFFu);

  // 33 is the first value that counts as success.
  g_shellResult = 33;
  EXPECT_TRUE(OpenWebPage(owner_, keymark_, calls_));
  g_shellResult = 32;
  EXPECT_FALSE(OpenWebPage(owner_, keymark_, calls_));
}

TEST_F(WebOpen, AgentOpener_WithoutWininet_OpensNothingAndStaysQuiet) {
  calls_.wininetLibrary = L"kestrow_no_such_wininet.dll";
  EXPECT_FALSE(OpenWebPage(owner_, keymark_, calls_));
  EXPECT_TRUE(g_shellCalls.empty());
  EXPECT_TRUE(g_beeps.empty());
}

TEST_F(WebOpen, AgentOpener_WininetWithoutGoOnline_OpensAnyway) {
  // A library that loads but has no "InternetGoOnlineW".
  calls_.wininetLibrary = L"version.dll";
  EXPECT_TRUE(OpenWebPage(owner_, keymark_, calls_));
  EXPECT_EQ(g_shellCalls.size(), 1u);
}

TEST_F(WebOpen, AgentOpener_RefusesAnythingButWebAndMailAddresses) {
  for (const wchar_t* address : {L"C:\\Windows\\System32\\calc.exe", L"calc", L"file:///C:/Windows/notepad.exe", L""}) {
    EXPECT_FALSE(OpenWebPage(owner_, address, calls_)) << address;
  }
  EXPECT_TRUE(g_shellCalls.empty());
  EXPECT_TRUE(g_beeps.empty());
}

TEST_F(WebOpen, PageOpener_KnownLinkWithRussianLanguageFile_OpensTheRussianEdition) {
  const std::wstring russian = LanguageFile(L"Russian.lng", L"ru");
  EXPECT_TRUE(OpenPageLink(owner_, keymark_, russian, calls_));
  EXPECT_TRUE(OpenPageLink(owner_, WebPageAddress(WebPage::Forum, WebEdition::English), russian, calls_));
  ASSERT_EQ(g_shellCalls.size(), 2u);
  EXPECT_EQ(g_shellCalls[0].file, WebPageAddress(WebPage::Keymark, WebEdition::Russian));
  EXPECT_EQ(g_shellCalls[0].verb, L"open");
  EXPECT_EQ(g_shellCalls[0].show, SW_SHOW);
  EXPECT_EQ(g_shellCalls[1].file, WebPageAddress(WebPage::Forum, WebEdition::Russian));
}

TEST_F(WebOpen, PageOpener_NoOrOtherLanguageFile_OpensTheEnglishEdition) {
  EXPECT_TRUE(OpenPageLink(owner_, keymark_, L"", calls_));
  EXPECT_TRUE(OpenPageLink(owner_, keymark_, LanguageFile(L"German.lng", L"De"), calls_));
  EXPECT_TRUE(OpenPageLink(owner_, keymark_, dir_.File(L"Missing.lng"), calls_));
  ASSERT_EQ(g_shellCalls.size(), 3u);
  for (const ShellCall& call : g_shellCalls) EXPECT_EQ(call.file, keymark_);
}

TEST_F(WebOpen, PageOpener_UnknownLink_OpensUnchanged) {
  const std::wstring support = WebSiteAddress(L"/support.shtml");
  EXPECT_TRUE(OpenPageLink(owner_, support, LanguageFile(L"Russian.lng", L"Ru"), calls_));
  ASSERT_EQ(g_shellCalls.size(), 1u);
  EXPECT_EQ(g_shellCalls[0].file, support);
}

TEST_F(WebOpen, PageOpener_RefusesAnythingButWebAndMailAddresses) {
  const std::wstring russian = LanguageFile(L"Russian.lng", L"Ru");
  EXPECT_FALSE(OpenPageLink(owner_, L"C:\\Windows\\System32\\calc.exe", russian, calls_));
  EXPECT_FALSE(OpenPageLink(owner_, L"file:///C:/Windows/notepad.exe", russian, calls_));
  EXPECT_TRUE(OpenPageLink(owner_, L"mailto:kestrow@orlinworks.example", russian, calls_));
  ASSERT_EQ(g_shellCalls.size(), 1u);
  EXPECT_EQ(g_shellCalls[0].file, L"mailto:kestrow@orlinworks.example");
}

}  // namespace
}  // namespace ks
