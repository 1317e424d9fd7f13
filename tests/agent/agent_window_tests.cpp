// The agent window as other programs meet it: found by its class, answering
// messages, and shutting the agent down in order when closed.
#include <gtest/gtest.h>

#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

constexpr wchar_t kUninstalledReport[] = L"Log report uninstalled\n=================================";

class AgentWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
    ASSERT_TRUE(copy_.WriteSettings("WriteLog=1\r\n"));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
  }

  FakeTray tray_;  // the shell's part, outside the test's concern
  AgentCopy copy_;
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(AgentWindow, IsHiddenTopLevelWindowNamedKestrowAgent) {
  EXPECT_EQ(WindowText(window_), L"Kestrow Agent");
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(GetAncestor(window_, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(FindAnyAgentWindow(), window_);
}

TEST_F(AgentWindow, CommandWithUnusedId_IsAnsweredOne) {
  DWORD_PTR answer = 0;
  ASSERT_NE(SendMessageTimeoutW(window_, WM_COMMAND, 12345, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  EXPECT_EQ(answer, 1u);
  EXPECT_TRUE(agent_.Running());
}

TEST_F(AgentWindow, ConfigurationProbe_IsAnsweredZero) {
  // Otherwise the agent would take its own window for the settings window.
  LRESULT answer = -1;
  ASSERT_TRUE(SendRegistered(window_, L"{35A60373-25E2-4504-9C0F-67C9A5C1A10A}", 0,
                             static_cast<LPARAM>(GetCurrentThreadId()), &answer));
  EXPECT_EQ(answer, 0);
}

TEST_F(AgentWindow, ExitMessage_IsAnsweredOneAfterTheAgentWoundDown) {
  LRESULT answer = 0;
  ASSERT_TRUE(SendRegistered(window_, L"9A439D73-5532-4903-AF38-B4586724D853", 0, 0, &answer));
  EXPECT_EQ(answer, 1);
  // The hook was removed before the answer came back.
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));
  EXPECT_EQ(agent_.ExitCode(), 0u);
}

TEST_F(AgentWindow, CloseFromAnotherProgram_ShutsTheAgentDownInOrder) {
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));
  EXPECT_EQ(agent_.ExitCode(), 0u);
  EXPECT_FALSE(IsWindow(window_));
  const std::wstring log = copy_.LogText();
  EXPECT_EQ(CountOf(log, kUninstalledReport), 1u);
  EXPECT_GT(log.rfind(kUninstalledReport), log.rfind(kTdxSuccess));

  // The instance mutex went with it: the next agent runs without a box.
  AgentProcess next;
  ASSERT_TRUE(copy_.Start(next));
  EXPECT_NE(WaitForAgentWindow(next.Id(), kStartMs), nullptr);
  EXPECT_EQ(WaitForMessageBox(next.Id(), 0), nullptr);
}

TEST(AgentFirstRun, FirstStart_WritesTheFirstRunMarkerOnce) {
  FakeTray tray;
  ASSERT_TRUE(tray.Start());
  AgentCopy copy;
  ASSERT_TRUE(copy.ready());
  ASSERT_TRUE(copy.WriteSettings("WriteLog=0\r\n", /*firstRun=*/true));
  AgentProcess agent;
  ASSERT_TRUE(copy.Start(agent));
  ASSERT_NE(WaitForAgentWindow(agent.Id(), kStartMs), nullptr);
  const std::string settings = ReadBytes(copy.SettingsPath());
  EXPECT_NE(settings.find("InstalledVersion_168=1"), std::string::npos) << settings;
}

}  // namespace
}  // namespace ks::test
