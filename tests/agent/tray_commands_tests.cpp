// The agent's commands as the tray menu sends them (WM_COMMAND to the agent
// window): the smart wheel switch, start with Windows through the Run value,
// the web pages and Exit.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "agent/core/resource_ids.h"
#include "agent/tray/web_page_commands.h"
#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/run_value_guard.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

constexpr UINT kFlagsBalloon = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;
constexpr wchar_t kInstalledReport[] = L"Log report installed\n=================================";
constexpr wchar_t kUninstalledReport[] = L"Log report uninstalled\n=================================";

std::wstring UpperCase(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

class TrayCommands : public testing::Test {
 protected:
  void Start(const std::string& settings) {
    ASSERT_TRUE(run_.saved());
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(tray_.WaitForRecords(1, kStartMs));
  }

  // Sent as the menu's owner receives it; returns once carried out.
  void Command(WORD id) {
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window_, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
    EXPECT_EQ(answer, 1u);
  }

  RunValueGuard run_;  // the Run value is put back as it was
  FakeTray tray_;
  AgentCopy copy_;
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(TrayCommands, Enable_TogglesTheHookAndTheIconEachTime) {
  Start("WriteLog=1\r\nHScrollOnShift=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  const TrayRecord started = tray_.Records().back();

  Command(ID_CMD_ENABLE);
  const TrayRecord off = tray_.Records().back();
  EXPECT_EQ(off.operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(off.flags, kFlagsBalloon);
  EXPECT_EQ(off.info, L"OFF");
  EXPECT_NE(off.iconHash, started.iconHash);
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);
  EXPECT_FALSE(ShiftWheelScrollsHorizontally(HookExpected::No));

  Command(ID_CMD_ENABLE);
  const TrayRecord on = tray_.Records().back();
  EXPECT_EQ(on.info, L"On, Scroll horizontally [on SHIFT]");
  EXPECT_EQ(on.iconHash, started.iconHash);
  EXPECT_EQ(CountOf(copy_.LogText(), kInstalledReport), 2u);
  EXPECT_TRUE(ShiftWheelScrollsHorizontally(HookExpected::Yes));
}

TEST_F(TrayCommands, Enable_WithoutTheHookLibrary_ShowsTheWheelStillOff) {
  ASSERT_TRUE(DeleteFileW(copy_.HookLibraryPath().c_str()));
  Start("WriteLog=0\r\n");
  Command(ID_CMD_ENABLE);
  EXPECT_EQ(tray_.Records().back().info, L"OFF");
}

TEST_F(TrayCommands, StartWithWindows_WritesTheAgentPathWhenAbsent) {
  Start("WriteLog=0\r\n");
  ASSERT_TRUE(RunValueGuard::Remove());
  Command(ID_CMD_START_WITH_WINDOWS);
  EXPECT_EQ(RunValueGuard::Read().value_or(L"<absent>"), copy_.Exe());
}

TEST_F(TrayCommands, StartWithWindows_RemovesTheAgentPathInAnyLetterCase) {
  Start("WriteLog=0\r\n");
  ASSERT_TRUE(RunValueGuard::Write(UpperCase(copy_.Exe())));
  Command(ID_CMD_START_WITH_WINDOWS);
  EXPECT_FALSE(RunValueGuard::Read().has_value());
  // And back again.
  Command(ID_CMD_START_WITH_WINDOWS);
  EXPECT_EQ(RunValueGuard::Read().value_or(L"<absent>"), copy_.Exe());
}

TEST_F(TrayCommands, StartWithWindows_OverwritesAnotherProgramsPath) {
  Start("WriteLog=0\r\n");
  ASSERT_TRUE(RunValueGuard::Write(L"C:\\Program Files\\Other\\KSAgent.exe"));
  Command(ID_CMD_START_WITH_WINDOWS);
  EXPECT_EQ(RunValueGuard::Read().value_or(L"<absent>"), copy_.Exe());
}

TEST_F(TrayCommands, Exit_WindsTheAgentDownBeforeAnsweringAndEndsIt) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  Command(ID_CMD_EXIT);
  // Icon and hook are gone by the time the command returns.
  EXPECT_EQ(tray_.Records().back().operation, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));
  EXPECT_EQ(agent_.ExitCode(), 0u);
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);
}

TEST(WebPageCommands, OpenTheirPagesInTheEnglishEdition) {
  const std::wstring site = L"https://" + std::wstring(WebSiteHost());
  EXPECT_EQ(AgentWebPageAddress(*WebPageForCommand(ID_CMD_HOME_PAGE)).rfind(site, 0), 0u);
  EXPECT_EQ(AgentWebPageAddress(*WebPageForCommand(ID_CMD_LEAFNOTE)), site + L"/about.shtml");
  EXPECT_EQ(AgentWebPageAddress(*WebPageForCommand(ID_CMD_KEYMARK)), site + L"/keymark.shtml");
  EXPECT_EQ(AgentWebPageAddress(*WebPageForCommand(ID_CMD_SNIPDROP)), site + L"/snipdrop.shtml");
  for (unsigned other : {40001u, 40002u, 40003u, 57665u, 41000u, 0u}) {
    EXPECT_FALSE(WebPageForCommand(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace ks::test
