// Starting and stopping localisation: refused paths, the import slots of the
// process, modules loaded later, and replacements reached through addresses
// looked up before a language change.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "agent/import_patcher/import_loader_hooks.h"
#include "agent/import_patcher/import_patcher.h"
#include "agent/localization/localization.h"
#include "agent/localization/menu_localizer.h"
#include "agent/localization/string_localizer.h"
#include "tests/agent/import_patcher/import_slot_reader.h"
#include "tests/agent/localization/localization_helpers.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

using test::TextsDll;

using LoadStringFunction = int(WINAPI*)(HINSTANCE, UINT, LPWSTR, int);
using LoadMenuFunction = HMENU(WINAPI*)(HINSTANCE, LPCWSTR);

const std::wstring kGermanCaption = L"Kestrow-Agent";
const std::wstring kFrenchCaption = L"Agent de Kestrow";

ULONG_PTR Address(FARPROC function) { return reinterpret_cast<ULONG_PTR>(function); }

// Every slot through which the module calls the function.
std::vector<ULONG_PTR> SlotValues(HMODULE module, const char* function) {
  std::vector<ULONG_PTR> values;
  for (const ULONG_PTR* slot : test::ImportSlots(module, "user32.dll", function)) {
    values.push_back(*slot);
  }
  return values;
}

std::wstring CallLoadString(FARPROC address, HMODULE module, UINT id) {
  wchar_t buffer[256] = {};
  const int length = reinterpret_cast<LoadStringFunction>(reinterpret_cast<void*>(address))(module, id, buffer, 256);
  return std::wstring(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

struct LocalizationLifetime : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(dll.Loaded());
    german = dir.File(L"German.lng");
    french = dir.File(L"French.lng");
    ASSERT_TRUE(test::WriteLanguageFile(german, L"[Strings]\r\n2=" + kGermanCaption + L"\r\n"));
    ASSERT_TRUE(test::WriteLanguageFile(french, L"[Strings]\r\n2=" + kFrenchCaption + L"\r\n"));
  }
  void TearDown() override { StopLocalization(); }
  test::TempDir dir;
  TextsDll dll;
  std::wstring german;
  std::wstring french;
};

TEST_F(LocalizationLifetime, StartWhileStarted_IsRefusedAndKeepsTheFirstFile) {
  EXPECT_FALSE(IsLocalizationStarted());
  ASSERT_TRUE(StartLocalization(german));
  EXPECT_FALSE(StartLocalization(french));
  EXPECT_TRUE(IsLocalizationStarted());
  EXPECT_EQ(InstalledMenuLocalizer()->LanguageFile(), german);
  EXPECT_EQ(InstalledStringLocalizer()->LanguageFile(), german);
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), kGermanCaption);
}

TEST_F(LocalizationLifetime, StopWhenStopped_ReportsFalse) {
  EXPECT_FALSE(StopLocalization());
  ASSERT_TRUE(StartLocalization(german));
  EXPECT_TRUE(StopLocalization());
  EXPECT_FALSE(StopLocalization());
  EXPECT_FALSE(IsLocalizationStarted());
  EXPECT_EQ(InstalledMenuLocalizer(), nullptr);
  EXPECT_EQ(InstalledStringLocalizer(), nullptr);
}

// A cut path would name another file; the texts stay built in instead.
TEST_F(LocalizationLifetime, PathOf1024Units_IsRefusedAndTextsStayBuiltIn) {
  const std::wstring tooLong = test::PathOfLength(dir.path(), 1024);
  ASSERT_EQ(tooLong.size(), 1024u);
  EXPECT_FALSE(StartLocalization(tooLong));
  EXPECT_FALSE(IsLocalizationStarted());
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), L"Kestrow Agent");

  const std::wstring longest = test::PathOfLength(dir.path(), 1023);
  ASSERT_TRUE(StartLocalization(longest));
  EXPECT_EQ(InstalledStringLocalizer()->LanguageFile(), longest);
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), L"Kestrow Agent");
}

TEST_F(LocalizationLifetime, EmptyPathOrEmbeddedNull_IsRefused) {
  EXPECT_FALSE(StartLocalization(L""));
  EXPECT_FALSE(StartLocalization(german + std::wstring(1, L'\0') + L"x"));
  EXPECT_FALSE(IsLocalizationStarted());
}

TEST_F(LocalizationLifetime, ImportSlots_LeadToTheReplacementsOnlyWhileStarted) {
  const HMODULE program = GetModuleHandleW(nullptr);
  const ULONG_PTR realMenu = Address(ResolveSystemFunction("user32.dll", "LoadMenuW"));
  const ULONG_PTR realString = Address(ResolveSystemFunction("user32.dll", "LoadStringW"));
  const ULONG_PTR localizedMenu = Address(AsFarProc(&LocalizedLoadMenuW));
  const ULONG_PTR localizedString = Address(AsFarProc(&LocalizedLoadStringW));
  for (const HMODULE module : {dll.Handle(), program}) {
    ASSERT_FALSE(SlotValues(module, "LoadStringW").empty());
  }
  ASSERT_FALSE(SlotValues(dll.Handle(), "LoadMenuW").empty());

  ASSERT_TRUE(StartLocalization(german));
  for (const HMODULE module : {dll.Handle(), program}) {
    for (const ULONG_PTR value : SlotValues(module, "LoadStringW")) EXPECT_EQ(value, localizedString);
    for (const ULONG_PTR value : SlotValues(module, "LoadMenuW")) EXPECT_EQ(value, localizedMenu);
  }
  ASSERT_TRUE(StopLocalization());
  for (const HMODULE module : {dll.Handle(), program}) {
    for (const ULONG_PTR value : SlotValues(module, "LoadStringW")) EXPECT_EQ(value, realString);
    for (const ULONG_PTR value : SlotValues(module, "LoadMenuW")) EXPECT_EQ(value, realMenu);
  }
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), L"Kestrow Agent");
}

// As the agent loads its libraries: through the redirected loader.
TEST_F(LocalizationLifetime, ModuleLoadedAfterStart_IsTranslated) {
  dll = TextsDll(HMODULE{});
  ASSERT_EQ(GetModuleHandleW(test::kTextsDll), nullptr);
  ASSERT_TRUE(StartLocalization(french));
  const TextsDll late(HookedLoadLibraryW(test::TextsDllPath().c_str()));
  ASSERT_TRUE(late.Loaded());
  EXPECT_EQ(late.LoadString(IDS_CAPTION), kFrenchCaption);
}

TEST_F(LocalizationLifetime, LanguageChange_TranslatesFromTheNewFile) {
  ASSERT_TRUE(StartLocalization(german));
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), kGermanCaption);
  ASSERT_TRUE(StopLocalization());
  ASSERT_TRUE(StartLocalization(french));
  EXPECT_EQ(dll.LoadString(IDS_CAPTION), kFrenchCaption);
}

// An address looked up while localisation ran stays with whoever asked for
// it; once its localizer is gone it behaves as the system function, and it
// follows whichever localizer is current.
TEST_F(LocalizationLifetime, HeldReplacementAddress_FallsBackAfterStopAndFollowsTheNextStart) {
  RegisterPermanentImportHooks();
  const ScopeExit undo([] { UnregisterPermanentImportHooks(); });
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  ASSERT_TRUE(StartLocalization(german));
  const FARPROC loadString = dll.GetProcAddress(user32, "LoadStringW");
  const FARPROC loadMenu = dll.GetProcAddress(user32, "LoadMenuW");
  ASSERT_EQ(loadString, AsFarProc(&LocalizedLoadStringW));
  ASSERT_EQ(loadMenu, AsFarProc(&LocalizedLoadMenuW));
  ASSERT_TRUE(StopLocalization());
  const std::string germanBytes = test::ReadBytes(german);

  EXPECT_EQ(CallLoadString(loadString, dll.Handle(), IDS_CAPTION), L"Kestrow Agent");
  EXPECT_EQ(CallLoadString(loadString, dll.Handle(), IDS_TIP_ENABLE), L"Enable or disable Kestrow");
  const UniqueMenu menu(reinterpret_cast<LoadMenuFunction>(reinterpret_cast<void*>(loadMenu))(
      dll.Handle(), MAKEINTRESOURCEW(IDR_TRAY_LIKE_MENU)));
  ASSERT_TRUE(menu);
  EXPECT_EQ(test::MenuTexts(menu.get()).back(), L"Exit");
  // The stopped localizer's file is not written to.
  EXPECT_EQ(test::ReadBytes(german), germanBytes);

  ASSERT_TRUE(StartLocalization(french));
  EXPECT_EQ(CallLoadString(loadString, dll.Handle(), IDS_CAPTION), kFrenchCaption);
}

// Another thread keeps loading through a held address while the language
// changes back and forth: every answer is one of the three texts, and no
// load touches a localizer that is being destroyed.
TEST_F(LocalizationLifetime, LoadsDuringLanguageChanges_GiveWholeTextsOfSomeLanguage) {
  ASSERT_TRUE(StartLocalization(german));
  const FARPROC loadString = HookedGetProcAddress(GetModuleHandleW(L"user32.dll"), "LoadStringW");
  ASSERT_EQ(loadString, AsFarProc(&LocalizedLoadStringW));
  const std::set<std::wstring> allowed = {L"Kestrow Agent", kGermanCaption, kFrenchCaption};
  std::atomic<bool> done{false};
  std::atomic<int> loads{0};
  std::atomic<int> unexpected{0};
  std::thread loader([&] {
    while (!done.load()) {
      if (allowed.count(CallLoadString(loadString, dll.Handle(), IDS_CAPTION)) == 0) ++unexpected;
      ++loads;
    }
  });
  while (loads.load() == 0) Sleep(1);
  for (int change = 0; change < 60; ++change) {
    StopLocalization();
    StartLocalization(change % 2 == 0 ? french : german);
  }
  done = true;
  loader.join();
  EXPECT_EQ(unexpected.load(), 0);
  EXPECT_TRUE(StopLocalization());
  EXPECT_EQ(CallLoadString(loadString, dll.Handle(), IDS_CAPTION), L"Kestrow Agent");
}

}  // namespace
}  // namespace ks
