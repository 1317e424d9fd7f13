// The settings program together with the real agent: the agent starts it,
// brings it forward when asked again, and reinstalls the hook with the new
// settings once it has saved and ended.
#include <gtest/gtest.h>

#include "tests/harness/agent_copy.h"
#include "tests/harness/config_copy.h"
#include "tests/harness/window_search.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

constexpr WPARAM kSettingsCommand = 40003;
const wchar_t kTitle[] = L"Kestrow Config 1.6.9.145";

int CountWindowsTitled(const wchar_t* title) {
  int count = 0;
  for (HWND w = FindWindowW(nullptr, title); w != nullptr; w = FindWindowExW(nullptr, w, nullptr, title)) {
    ++count;
  }
  return count;
}

size_t Count(const std::wstring& text, const std::wstring& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(WithAgent, AgentStartsSettings_OkWithShift_AgentReinstallsWithNewFlags) {
  RunValueGuard savedRun{true};
  AgentCopy agent;
  ASSERT_TRUE(agent.ready());
  ASSERT_TRUE(CopyFileW((BinDir() + L"KsConfig.exe").c_str(), (agent.dir() + L"KsConfig.exe").c_str(), FALSE));
  ASSERT_TRUE(agent.WriteSettings("WriteLog=1\r\nShowBalloonOnStart=0\r\n"));
  AgentProcess process;
  ASSERT_TRUE(agent.Start(process));
  HWND agentWindow = WaitForAgentWindow(process.Id(), 20000);
  ASSERT_NE(agentWindow, nullptr);

  // Settings from the tray: the agent starts the settings program.
  PostMessageW(agentWindow, WM_COMMAND, kSettingsCommand, 0);
  HWND settings = WaitForWindow(nullptr, kTitle, 30000);
  ASSERT_NE(settings, nullptr);
  DWORD configId = 0;
  GetWindowThreadProcessId(settings, &configId);
  UniqueKernelHandle config(OpenProcess(SYNCHRONIZE, FALSE, configId));
  ASSERT_TRUE(config);
  ASSERT_TRUE(WaitForElementState(settings, L"CHECKBOX_HS_SHIFT", 0x40, false, 10000));

  // Settings again while it is open: the same window, no second program.
  PostMessageW(agentWindow, WM_COMMAND, kSettingsCommand, 0);
  PumpMessagesFor(3000);
  EXPECT_EQ(CountWindowsTitled(kTitle), 1);
  EXPECT_TRUE(IsWindow(settings));

  // Shift on, OK: the program saves and ends, the agent reloads.
  ASSERT_TRUE(ClickElement(settings, L"CHECKBOX_HS_SHIFT"));
  ASSERT_TRUE(WaitForElementState(settings, L"CHECKBOX_HS_SHIFT", 0x40, true, 10000));
  ASSERT_TRUE(ClickElement(settings, L"BUTTON_OK"));
  ASSERT_TRUE(WaitPumping(config.get(), 20000));
  EXPECT_EQ(GetPrivateProfileIntW(L"Misc", L"HScrollOnShift", -1, agent.SettingsPath().c_str()), 1);

  // The reload shows in the log as a second installed period.
  const ULONGLONG end = GetTickCount64() + 20000;
  while (Count(agent.LogText(), L"Success install TDX hook") < 2 && GetTickCount64() < end) PumpMessagesFor(100);
  const std::wstring log = agent.LogText();
  EXPECT_EQ(Count(log, L"Success install TDX hook"), 2u);
  EXPECT_GE(Count(log, L"Log report uninstalled"), 1u);

  // And the new flags are in force: Shift and the wheel scroll horizontally.
  EXPECT_TRUE(ShiftWheelScrollsHorizontally(HookExpected::Yes));
}

}  // namespace
}  // namespace ks::test
