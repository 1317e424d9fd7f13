// The agent's hook controller seen from outside: what the wheel does in other
// programs while the agent runs, and the lines the agent and the hook library
// leave in the shared log.
#include <gtest/gtest.h>

#include <regex>

#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/shared_section.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

constexpr wchar_t kInstalledReport[] = L"Log report installed\n=================================";
constexpr wchar_t kUninstalledReport[] = L"Log report uninstalled\n=================================";
constexpr wchar_t kNoneLeftAlone[] = L"Excluded programs: 0, full-screen programs left alone: yes";

class HookController : public testing::Test {
 protected:
  void Start(const std::string& settings, const std::wstring& workingDir = {}) {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(copy_.Start(agent_, {}, workingDir));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(tray_.WaitForRecords(1, kStartMs));  // the icon is in
  }

  // Posts the reload and waits until it has been handled: it ends by
  // refreshing the tray icon.
  void Reload(const std::string& settings) {
    ASSERT_TRUE(copy_.WriteSettings(settings));
    const size_t before = tray_.Records().size();
    ASSERT_TRUE(PostMessageW(window_, RegisterWindowMessageW(kReloadMessage), 0, 0));
    ASSERT_TRUE(tray_.WaitForRecords(before + 1, kStartMs));
  }

  void Exit() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(agent_.WaitForExit(kEndMs));
    EXPECT_EQ(agent_.ExitCode(), 0u);
  }

  FakeTray tray_;  // the shell's part, outside the test's concern
  AgentCopy copy_;
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(HookController, WriteLogOn_LogFramesTheInstalledPeriod) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  Exit();

  bool bom = false;
  const std::vector<std::wstring> lines = SplitCrLfLines(ReadUtf16(copy_.LogPath(), &bom));
  EXPECT_TRUE(bom);
  // The x64 agent also says that its 32-bit companion is not beside it.
  std::vector<std::wstring> texts = {kInstalledReport, kNoneLeftAlone, L"Program wheel rules: 0", kTdxSuccess,
                                     kUninstalledReport};
  if (sizeof(void*) == 8) texts.insert(texts.begin() + 4, L"32-bit programs are not hooked: KSHook32.exe is missing");
  ASSERT_EQ(lines.size(), texts.size());
  const std::wregex stamp(LR"(\d\d::\d\d::\d\d::\d{4} \d\d-\d\d-\d{4} )");
  for (size_t i = 0; i < texts.size(); ++i) {
    std::wsmatch match;
    ASSERT_TRUE(std::regex_search(lines[i], match, stamp, std::regex_constants::match_continuous)) << i;
    EXPECT_EQ(match.suffix().str(), texts[i]) << i;
  }
}

TEST_F(HookController, WriteLogOff_HookWorksAndNoLogIsWritten) {
  Start("WriteLog=0\r\nHScrollOnShift=1\r\n");
  EXPECT_TRUE(ShiftWheelScrollsHorizontally(HookExpected::Yes));
  Exit();
  EXPECT_FALSE(FileExists(copy_.LogPath()));
}

TEST_F(HookController, StartAsDisabled_InstallsNothing) {
  Start("WriteLog=1\r\nStartAsDisabled=1\r\nHScrollOnShift=1\r\n");
  EXPECT_FALSE(WheelIsRedirected(HookExpected::No));
  EXPECT_FALSE(ShiftWheelScrollsHorizontally(HookExpected::No));
  Exit();
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 0u);
}

TEST_F(HookController, Reload_ReinstallsWithTheNewFlags) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  EXPECT_FALSE(ShiftWheelScrollsHorizontally(HookExpected::No));

  Reload("WriteLog=1\r\nHScrollOnShift=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 2));
  EXPECT_TRUE(ShiftWheelScrollsHorizontally(HookExpected::Yes));
  Exit();

  // Installed, uninstalled by the reload, installed again, uninstalled at exit.
  const std::wstring log = copy_.LogText();
  EXPECT_EQ(CountOf(log, kInstalledReport), 2u);
  EXPECT_EQ(CountOf(log, kUninstalledReport), 2u);
  const size_t firstEnd = log.find(kUninstalledReport);
  const size_t secondStart = log.rfind(kInstalledReport);
  EXPECT_LT(log.find(kTdxSuccess), firstEnd);
  EXPECT_LT(firstEnd, secondStart);
  EXPECT_LT(secondStart, log.rfind(kTdxSuccess));
}

TEST_F(HookController, Reload_HandsTheProgramsLeftAloneToTheLibraryAndLogsThem) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  EXPECT_TRUE(WheelIsRedirected(HookExpected::Yes));

  Reload(
      "WriteLog=1\r\nExcludePrograms=mstsc.exe;..\\bad.exe;WHEEL_TARGET.exe\r\nLeaveFullScreen=0\r\n"
      "[Programs]\r\nwheel_target.exe=speed=3\r\nbad\\name.exe=reverse\r\nold.exe=scrollbars;later\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 2));
  EXPECT_FALSE(WheelIsRedirected(HookExpected::No));
  Reload("WriteLog=1\r\nExcludePrograms=mstsc.exe\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 3));
  EXPECT_TRUE(WheelIsRedirected(HookExpected::Yes));
  Exit();

  // One line per install, before the library's own.
  const std::wstring log = copy_.LogText();
  EXPECT_EQ(CountOf(log, L"Excluded programs: "), 3u);
  const size_t two = log.find(L"Excluded programs: 2, full-screen programs left alone: no");
  ASSERT_NE(two, std::wstring::npos);
  EXPECT_LT(log.find(kTdxSuccess, log.find(kNoneLeftAlone)), two);
  EXPECT_LT(two, log.find(L"Excluded programs: 1, full-screen programs left alone: yes"));
  // The rules go with each install too, the excluded program's included.
  EXPECT_EQ(CountOf(log, L"Program wheel rules: 0"), 2u);
  EXPECT_LT(two, log.find(L"Program wheel rules: 2"));
}

TEST_F(HookController, Reload_WhileDisabled_LeavesTheHookOff) {
  Start("WriteLog=1\r\nStartAsDisabled=1\r\n");
  Reload("WriteLog=1\r\nStartAsDisabled=0\r\nHScrollOnShift=1\r\n");
  EXPECT_FALSE(ShiftWheelScrollsHorizontally(HookExpected::No));
  Exit();
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 0u);
}

TEST_F(HookController, Reload_TurningLoggingOff_ClosesTheLogAndKeepsTheHook) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  Reload("WriteLog=0\r\nHScrollOnShift=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kUninstalledReport, kStartMs));
  EXPECT_TRUE(ShiftWheelScrollsHorizontally(HookExpected::Yes));
  Exit();

  // Nothing after the report: neither the reinstall, nor the hooked wheel
  // target, nor the exit.
  const std::wstring log = copy_.LogText();
  EXPECT_EQ(CountOf(log, kTdxSuccess), 1u);
  EXPECT_EQ(log.size() - log.rfind(kUninstalledReport), wcslen(kUninstalledReport) + 2);
}

// The word in the shared section of KSAgent.exe mapped into this process
// that holds the value; null when there is none.
ATOM* SharedWordOf(HMODULE image, ATOM value) {
  const MappedSection shared = SharedSectionOf(image);
  auto* words = reinterpret_cast<ATOM*>(shared.data);
  for (DWORD k = 0; words != nullptr && k < shared.size / sizeof(ATOM); ++k) {
    if (words[k] == value) return &words[k];
  }
  return nullptr;
}

// Any program can map KSAgent.exe and so rewrite the log atom the agent keeps
// in its shared section: the agent still writes nowhere but beside itself.
TEST_F(HookController, LogAtomPointedElsewhere_AgentWritesOnlyBesideItself) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  const ATOM own = GlobalFindAtomW(copy_.LogPath().c_str());
  ASSERT_NE(own, 0);
  const UniqueModule image(LoadLibraryExW(copy_.Exe().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
  ASSERT_TRUE(image);
  ATOM* slot = SharedWordOf(image.get(), own);
  ASSERT_NE(slot, nullptr);
  const std::wstring elsewhere = copy_.dir() + L"\\elsewhere.txt";
  *slot = GlobalAddAtomW(elsewhere.c_str());
  Reload("WriteLog=1\r\n");
  Exit();
  EXPECT_FALSE(FileExists(elsewhere));
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 2u);
}

// Every hooked program keeps the library, and so its shared state, mapped
// after the agent is killed: the next agent must still install.
TEST_F(HookController, AgentKilled_NextAgentInstallsAgainWhileProgramsStillMapTheLibrary) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  const UniqueModule mapped(LoadLibraryW(copy_.HookLibraryPath().c_str()));
  ASSERT_TRUE(mapped);
  agent_.Kill();
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));

  AgentProcess next;
  ASSERT_TRUE(copy_.Start(next));
  HWND nextWindow = WaitForAgentWindow(next.Id(), kStartMs);
  ASSERT_NE(nextWindow, nullptr);
  EXPECT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 2));
  EXPECT_TRUE(WheelIsRedirected(HookExpected::Yes));
  PostMessageW(nextWindow, WM_CLOSE, 0, 0);
  ASSERT_TRUE(next.WaitForExit(kEndMs));
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);
}

TEST_F(HookController, MissingHookLibrary_AgentRunsWithTheWheelUntouched) {
  ASSERT_TRUE(DeleteFileW(copy_.HookLibraryPath().c_str()));
  Start("WriteLog=1\r\n");
  EXPECT_FALSE(WheelIsRedirected(HookExpected::No));
  Exit();
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 0u);
}

TEST_F(HookController, HookLibraryInTheCurrentDirectoryOnly_IsNeverLoaded) {
  TempDir planted;
  ASSERT_TRUE(CopyFileW((BinDir() + L"TDX.dll").c_str(), planted.File(L"TDX.dll").c_str(), FALSE));
  ASSERT_TRUE(DeleteFileW(copy_.HookLibraryPath().c_str()));
  Start("WriteLog=1\r\n", planted.path());
  EXPECT_FALSE(WheelIsRedirected(HookExpected::No));
  Exit();
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 0u);
}

}  // namespace
}  // namespace ks::test
