// Opening the settings program from the agent, with fake_config.exe standing
// in for "KsConfig.exe": started once on the first run, brought forward
// instead of started twice, and the settings reloaded when it ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
// After windows.h, which it needs.
#include <shellapi.h>

#include "agent/core/resource_ids.h"
#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_config_run.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/agent/tray_user.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/window_search.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

constexpr wchar_t kUninstalledReport[] = L"Log report uninstalled\n=================================";
constexpr wchar_t kNotFound[] = L"Cannot start config. File not found\n\n";
constexpr wchar_t kAlreadyRunning[] = L"The config module already running.";

// The message box of the process with this text, waiting up to timeoutMs.
HWND WaitForBoxWithText(DWORD processId, const std::wstring& text, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    for (HWND box : MessageBoxesOf(processId)) {
      if (MessageBoxText(box) == text) return box;
    }
    if (GetTickCount64() >= end) return nullptr;
    PumpMessagesFor(20);
  }
}

class ConfigLauncher : public testing::Test {
 protected:
  void Start(const std::wstring& workingDir = {}) {
    ASSERT_TRUE(copy_.Start(agent_, {}, workingDir));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
  }

  void SetUp() override {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
  }

  // The Settings command; posted, because its error boxes hold the sender.
  void Settings() { ASSERT_TRUE(PostMessageW(window_, WM_COMMAND, ID_CMD_SETTINGS, 0)); }

  // Served after everything posted before it.
  void Settle() {
    ASSERT_TRUE(PostMessageW(window_, WM_NULL, 0, 0));
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  }

  void Exit() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(agent_.WaitForExit(kEndMs));
    EXPECT_EQ(agent_.ExitCode(), 0u);
  }

  FakeTray tray_;  // the shell's part, outside the test's concern
  AgentCopy copy_;
  FakeConfig config_{copy_.dir()};
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(ConfigLauncher, FirstStart_MarksTheInstallAndStartsTheSettingsOnlyThatOnce) {
  ASSERT_TRUE(config_.Install());
  ASSERT_FALSE(FileExists(copy_.SettingsPath()));
  Start();
  ASSERT_TRUE(config_.WaitForCount("start", 1, kStartMs));
  // The agent made the file, so it is Unicode.
  EXPECT_EQ(ReadBytes(copy_.SettingsPath()).compare(0, 2, "\xFF\xFE"), 0);
  const std::vector<std::wstring> lines = ReadTextLines(copy_.SettingsPath());
  EXPECT_NE(std::find(lines.begin(), lines.end(), L"InstalledVersion_168=1"), lines.end());
  ASSERT_TRUE(FakeConfig::CloseWindowAndWait(kEndMs));
  Exit();

  AgentProcess next;
  ASSERT_TRUE(copy_.Start(next));
  ASSERT_NE(WaitForAgentWindow(next.Id(), kStartMs), nullptr);
  // The first run's request would have been served by now.
  PumpMessagesFor(2000);
  EXPECT_EQ(config_.Count("start"), 1u);
}

TEST_F(ConfigLauncher, SettingsWhileTheyRun_BringsThemForwardInsteadOfStartingAnother) {
  ASSERT_TRUE(config_.Install());
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=0\r\n"));
  Start();
  Settings();
  ASSERT_TRUE(config_.WaitForCount("start", 1, kStartMs));
  Settings();
  Settle();
  ASSERT_TRUE(config_.WaitForCount("probe", 1, kStartMs));
  EXPECT_EQ(config_.Count("start"), 1u);
  // Asked by the agent's window thread, with that thread's id.
  const DWORD agentThread = GetWindowThreadProcessId(window_, nullptr);
  EXPECT_EQ(config_.Journal().back(), "probe " + std::to_string(agentThread));
  EXPECT_TRUE(MessageBoxesOf(agent_.Id()).empty());
}

TEST_F(ConfigLauncher, SettingsEnd_MakesTheAgentReloadAndReinstallWithTheNewFlags) {
  ASSERT_TRUE(config_.Install());
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=1\r\n"));
  Start();
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  Settings();
  ASSERT_TRUE(config_.WaitForCount("start", 1, kStartMs));
  EXPECT_FALSE(ShiftWheelScrollsHorizontally(HookExpected::No));
  const size_t recordsBefore = tray_.Records().size();

  // What the settings program does on OK: writes the file, then ends.
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=1\r\nHScrollOnShift=1\r\n"));
  ASSERT_TRUE(FakeConfig::CloseWindowAndWait(kEndMs));
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 2));
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);
  EXPECT_TRUE(ShiftWheelScrollsHorizontally(HookExpected::Yes));
  ASSERT_TRUE(tray_.WaitForRecords(recordsBefore + 1, kStartMs));
  const TrayRecord refreshed = tray_.Records().back();
  EXPECT_EQ(refreshed.operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(refreshed.info, L"");
  EXPECT_NE(refreshed.tip.find(L"[on SHIFT]"), std::wstring::npos) << Narrow(refreshed.tip);

  // Idle again: the next Settings starts a new one.
  Settings();
  EXPECT_TRUE(config_.WaitForCount("start", 2, kStartMs));
}

TEST_F(ConfigLauncher, SettingsStartedByHand_CauseNoReloadWhenTheyEnd) {
  ASSERT_TRUE(config_.Install());
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=1\r\n"));
  Start();
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  ChildProcess byHand;
  ASSERT_TRUE(byHand.Start(config_.Exe(), {}));
  ASSERT_TRUE(config_.WaitForCount("start", 1, kStartMs));
  ASSERT_TRUE(FakeConfig::CloseWindowAndWait(kEndMs));
  PumpMessagesFor(1000);
  Settle();
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 0u);
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 1u);
}

TEST_F(ConfigLauncher, MissingSettingsProgram_ShowsItsPathAndCanBeTriedAgain) {
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=0\r\n"));
  Start();
  const std::wstring notFound = kNotFound + copy_.dir() + L"KsConfig.exe";
  Settings();
  HWND box = WaitForBoxWithText(agent_.Id(), notFound, kStartMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Kestrow Agent");
  EXPECT_NE(GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE, 0);

  // While that box is open the launch still runs, and no settings window
  // answers: the agent says the module already runs.
  Settings();
  HWND already = WaitForBoxWithText(agent_.Id(), kAlreadyRunning, kStartMs);
  ASSERT_NE(already, nullptr);
  ASSERT_TRUE(AnswerMessageBox(already, IDOK));
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  ASSERT_TRUE(WaitForWindowGone(box, kEndMs));

  // The launch ended with the box: the next Settings tries again.
  Settle();
  PumpMessagesFor(300);
  Settings();
  HWND again = WaitForBoxWithText(agent_.Id(), notFound, kStartMs);
  ASSERT_NE(again, nullptr);
  AnswerMessageBox(again, IDOK);
}

TEST_F(ConfigLauncher, SettingsProgramOnlyInTheCurrentDirectory_IsNeverStarted) {
  TempDir planted;
  FakeConfig elsewhere(planted.path());
  ASSERT_TRUE(elsewhere.Install());
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=0\r\n"));
  Start(planted.path());
  Settings();
  HWND box = WaitForBoxWithText(agent_.Id(), kNotFound + copy_.dir() + L"KsConfig.exe", kStartMs);
  ASSERT_NE(box, nullptr);
  AnswerMessageBox(box, IDOK);
  PumpMessagesFor(500);
  EXPECT_EQ(elsewhere.Count("start"), 0u);
}

TEST_F(ConfigLauncher, AgentExitWhileTheSettingsRun_LeavesThemRunning) {
  ASSERT_TRUE(config_.Install());
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=0\r\n"));
  Start();
  Settings();
  ASSERT_TRUE(config_.WaitForCount("start", 1, kStartMs));
  // The launcher's wait does not hold the agent up.
  Exit();
  EXPECT_NE(FakeConfig::WaitForWindow(0), nullptr);
  EXPECT_EQ(config_.Count("end"), 0u);
}

}  // namespace
}  // namespace ks::test
