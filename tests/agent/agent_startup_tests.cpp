// Start-up of the agent as the shell and the user see it: one agent per
// session, the "/exit" switch, and the exit codes 0, 1 and 2.
#include <gtest/gtest.h>

#include <vector>

#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

// Starts the copy and waits for its window; fails the test when it does not
// come up.
HWND StartAgent(const AgentCopy& copy, ChildProcess& agent) {
  if (!copy.Start(agent)) {
    ADD_FAILURE() << "agent did not start";
    return nullptr;
  }
  HWND window = WaitForAgentWindow(agent.Id(), kStartMs);
  if (window == nullptr) ADD_FAILURE() << "agent window did not appear";
  return window;
}

// Runs the copy with the argument text to its end; its exit code, or
// STILL_ACTIVE when it did not end.
DWORD RunToEnd(const AgentCopy& copy, const std::wstring& arguments) {
  ChildProcess process;
  if (!copy.Start(process, arguments)) return STILL_ACTIVE;
  if (!process.WaitForExit(kEndMs)) return STILL_ACTIVE;
  return process.ExitCode();
}

class ExitSwitch : public testing::TestWithParam<const wchar_t*> {};

TEST_P(ExitSwitch, EndsRunningAgentAndItselfWithCodeTwo) {
  FakeTray tray;  // the shell's part, outside the test\'s concern
  ASSERT_TRUE(tray.Start());
  AgentCopy copy;
  ASSERT_TRUE(copy.ready());
  ASSERT_TRUE(copy.WriteSettings("WriteLog=0\r\n"));
  AgentProcess agent;
  HWND window = StartAgent(copy, agent);
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(RunToEnd(copy, GetParam()), 2u);
  EXPECT_TRUE(WaitForWindowGone(window, kEndMs));
  ASSERT_TRUE(agent.WaitForExit(kEndMs));
  EXPECT_EQ(agent.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(AnyCaseOrEmbedded, ExitSwitch,
                         testing::Values(L"/exit", L"/EXIT", L"/eXiT", L"now/Exitplease", L"-x /exit -y"));

TEST(ExitSwitchAlone, WithNoAgentRunning_EndsWithTwoAndTouchesNothing) {
  FakeTray tray;  // the shell's part, outside the test\'s concern
  ASSERT_TRUE(tray.Start());
  AgentCopy copy;
  ASSERT_TRUE(copy.ready());
  ASSERT_EQ(FindAnyAgentWindow(), nullptr);
  ChildProcess process;
  ASSERT_TRUE(copy.Start(process, L"/exit"));
  ASSERT_TRUE(process.WaitForExit(kEndMs));
  EXPECT_EQ(process.ExitCode(), 2u);
  // No settings read means no first-run marker written; no box, no log.
  EXPECT_FALSE(FileExists(copy.SettingsPath()));
  EXPECT_FALSE(FileExists(copy.LogPath()));
  EXPECT_TRUE(tray.Records().empty());
}

TEST(ExitSwitchAlone, OtherArguments_AreIgnoredAndTheAgentRuns) {
  FakeTray tray;  // the shell's part, outside the test\'s concern
  ASSERT_TRUE(tray.Start());
  AgentCopy copy;
  ASSERT_TRUE(copy.ready());
  ASSERT_TRUE(copy.WriteSettings("WriteLog=0\r\n"));
  AgentProcess agent;
  ASSERT_TRUE(copy.Start(agent, L"/ex it /exi"));
  EXPECT_NE(WaitForAgentWindow(agent.Id(), kStartMs), nullptr);
  EXPECT_TRUE(agent.Running());
}

TEST(SingleInstance, SecondAgent_ShowsAlreadyWorkAndEndsWithOneAfterTheBox) {
  FakeTray tray;  // the shell's part, outside the test\'s concern
  ASSERT_TRUE(tray.Start());
  AgentCopy first;
  AgentCopy second;  // another directory: the guard is per session, not per path
  ASSERT_TRUE(first.ready());
  ASSERT_TRUE(second.ready());
  ASSERT_TRUE(first.WriteSettings("WriteLog=0\r\n"));
  ASSERT_TRUE(second.WriteSettings("WriteLog=0\r\n"));
  AgentProcess running;
  HWND window = StartAgent(first, running);
  ASSERT_NE(window, nullptr);

  AgentProcess late;
  ASSERT_TRUE(second.Start(late));
  HWND box = WaitForMessageBox(late.Id(), kStartMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Kestrow already work");
  EXPECT_EQ(WindowText(box), L"Kestrow Agent");
  // The box holds the second agent until the user answers it.
  PumpMessagesFor(300);
  EXPECT_TRUE(late.Running());
  EXPECT_EQ(WaitForAgentWindow(late.Id(), 0), nullptr);

  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  ASSERT_TRUE(late.WaitForExit(kEndMs));
  EXPECT_EQ(late.ExitCode(), 1u);
  EXPECT_TRUE(running.Running());
  EXPECT_TRUE(IsWindow(window));
}

TEST(SingleInstance, AgentsStartedBackToBack_OnlyOneRuns) {
  FakeTray tray;  // the shell's part, outside the test\'s concern
  ASSERT_TRUE(tray.Start());
  AgentCopy copy;
  ASSERT_TRUE(copy.ready());
  ASSERT_TRUE(copy.WriteSettings("WriteLog=0\r\n"));
  std::vector<AgentProcess> agents(3);
  for (AgentProcess& agent : agents) ASSERT_TRUE(copy.Start(agent));

  // Every agent that stepped back shows the box; answer each until the one
  // survivor is left.
  size_t ended = 0;
  const ULONGLONG end = GetTickCount64() + 30000;
  while (ended < agents.size() - 1 && GetTickCount64() < end) {
    ended = 0;
    for (AgentProcess& agent : agents) {
      if (!agent.Running()) {
        EXPECT_EQ(agent.ExitCode(), 1u);
        ++ended;
      } else if (HWND box = WaitForMessageBox(agent.Id(), 0)) {
        AnswerMessageBox(box, IDOK);
      }
    }
    PumpMessagesFor(50);
  }
  EXPECT_EQ(ended, agents.size() - 1);
  size_t withWindow = 0;
  for (AgentProcess& agent : agents) {
    if (agent.Running() && WaitForAgentWindow(agent.Id(), 2000) != nullptr) ++withWindow;
  }
  EXPECT_EQ(withWindow, 1u);
}

TEST(SingleInstance, AfterTheAgentEnded_ANewOneStartsNormally) {
  FakeTray tray;  // the shell's part, outside the test\'s concern
  ASSERT_TRUE(tray.Start());
  AgentCopy copy;
  ASSERT_TRUE(copy.ready());
  ASSERT_TRUE(copy.WriteSettings("WriteLog=0\r\n"));
  {
    AgentProcess agent;
    ASSERT_NE(StartAgent(copy, agent), nullptr);
    EXPECT_EQ(RunToEnd(copy, L"/exit"), 2u);
    ASSERT_TRUE(agent.WaitForExit(kEndMs));
  }
  AgentProcess next;
  ASSERT_TRUE(copy.Start(next));
  EXPECT_NE(WaitForAgentWindow(next.Id(), kStartMs), nullptr);
  EXPECT_EQ(WaitForMessageBox(next.Id(), 0), nullptr);
}

}  // namespace
}  // namespace ks::test
