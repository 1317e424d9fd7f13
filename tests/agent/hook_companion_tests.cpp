// The x64 agent and its 32-bit companion: the wheel in 32-bit programs, the
// companion's life beside the agent's hook, and an installation whose
// companion is missing, broken or of another build. These tests run the
// 32-bit programs of the x86 tree beside this one.
#include <gtest/gtest.h>

#include "agent/core/hook_companion.h"
#include "agent/core/resource_ids.h"
#include "common/hook_flags.h"
#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

constexpr wchar_t kNotHooked[] = L"32-bit programs are not hooked: ";
constexpr char kAllRules[] =
    "HScrollOnShift=1\r\nHScrollOnCtrl=1\r\nHScrollOnLButton=1\r\nHScrollOnRButton=1\r\nNoWheelIfMiddle=1\r\n";

using Names = std::vector<std::string>;

// The companion hooks a 32-bit program's thread once its window exists; the
// program waits for that before it turns the wheel.
constexpr wchar_t kHooked[] = L" hookedby=TDX32.dll";

// A wheel over a list box of a 32-bit program while its focus is elsewhere.
bool WheelIsRedirectedIn32BitProgram(const wchar_t* wait) {
  const TargetReport report = RunWheelTarget(std::wstring(L"scenario=redirect over=list") + wait, X86BinDir());
  EXPECT_TRUE(report.ran);
  return report.ran && report.Windows() == Names{"list"};
}

bool ThirtyTwoBitProgramGetsTheWheel() { return WheelIsRedirectedIn32BitProgram(kHooked); }
bool ThirtyTwoBitProgramKeepsItsWheel() { return !WheelIsRedirectedIn32BitProgram(L""); }

class HookCompanionTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!FileExists(X86BinDir() + L"KSHook32.exe") || !FileExists(X86BinDir() + L"wheel_target.exe")) {
      GTEST_SKIP() << "the x86 tree (KSHook32.exe, TDX32.dll, wheel_target.exe) is not built beside this one";
    }
    ASSERT_TRUE(copy_.ready());
  }

  void Start(const std::string& settings) {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.WriteSettings("WriteLog=1\r\n" + settings));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
  }

  // Sent as the tray menu sends it; returns once carried out.
  void Command(WORD id) {
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window_, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  }

  // The reload the settings program's end brings, carried out when it returns.
  void Reload(const std::string& settings) {
    ASSERT_TRUE(copy_.WriteSettings("WriteLog=1\r\n" + settings));
    DWORD_PTR answer = 0;
    ASSERT_NE(
        SendMessageTimeoutW(window_, RegisterWindowMessageW(kReloadMessage), 0, 0, SMTO_ABORTIFHUNG, 10000, &answer),
        0);
  }

  std::vector<DWORD> Companions() const { return ChildProcessesNamed(agent_.Id(), L"KSHook32.exe"); }

  // The one companion of the agent; 0 (and a failure) when there is not
  // exactly one.
  DWORD OnlyCompanion() const {
    const std::vector<DWORD> companions = Companions();
    EXPECT_EQ(companions.size(), 1u);
    return companions.size() == 1 ? companions[0] : 0;
  }

  void Exit() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(agent_.WaitForExit(kEndMs));
  }

  FakeTray tray_;
  AgentCopy copy_;
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(HookCompanionTest, X64Agent_32BitProgramGetsTheWheelAndEveryRule) {
  ASSERT_TRUE(copy_.AddCompanion());
  Start(kAllRules);
  ASSERT_NE(OnlyCompanion(), 0u);
  // Both libraries report their install in the one log; no complaint.
  EXPECT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 2));
  EXPECT_EQ(CountOf(copy_.LogText(), kNotHooked), 0u);

  const TargetReport redirected =
      RunWheelTarget(std::wstring(L"scenario=redirect over=list delta=-120") + kHooked, X86BinDir());
  ASSERT_TRUE(redirected.ran);
  ASSERT_EQ(redirected.Windows(), Names{"list"});
  EXPECT_EQ(redirected.Of("list")[0].message, "WM_MOUSEWHEEL");
  EXPECT_EQ(redirected.Of("list")[0].wParam, WheelParam(0, -120));

  for (unsigned keys : {0x4u, 0x8u, 0x1u, 0x2u}) {  // Shift, Ctrl, left and right button
    SCOPED_TRACE(testing::Message() << "keys " << keys);
    const TargetReport report =
        RunWheelTarget(L"scenario=pane over=pane delta=120 keys=" + std::to_wstring(keys) + kHooked, X86BinDir());
    ASSERT_TRUE(report.ran);
    const std::vector<Received> pane = report.Of("pane");
    ASSERT_EQ(pane.size(), 2u);
    EXPECT_EQ(pane[0].message, "WM_HSCROLL");
    EXPECT_EQ(pane[1].message, "WM_MOUSEHWHEEL");
    EXPECT_EQ(pane[1].wParam, WheelParam(keys, -120));
  }

  const TargetReport middle =
      RunWheelTarget(std::wstring(L"scenario=redirect over=list keys=16") + kHooked, X86BinDir());
  ASSERT_TRUE(middle.ran);
  EXPECT_TRUE(middle.received.empty());

  const TargetReport sideways =
      RunWheelTarget(std::wstring(L"scenario=redirect over=list wheel=h") + kHooked, X86BinDir());
  ASSERT_TRUE(sideways.ran);
  ASSERT_EQ(sideways.Windows(), Names{"list"});
  EXPECT_EQ(sideways.Of("list")[0].message, "WM_MOUSEHWHEEL");

  // The programs left alone reach the 32-bit side too.
  Reload(std::string(kAllRules) + "ExcludePrograms=wheel_target.exe\r\n");
  const TargetReport excluded = RunWheelTarget(std::wstring(L"scenario=redirect over=list") + kHooked, X86BinDir());
  ASSERT_TRUE(excluded.ran);
  EXPECT_EQ(excluded.Windows(), Names{"edit"});

  const DWORD companion = OnlyCompanion();
  Exit();
  EXPECT_TRUE(WaitForProcessEnd(companion, kEndMs));
  EXPECT_TRUE(ThirtyTwoBitProgramKeepsItsWheel());
}

// The flags and rules the agent hands over reach the 32-bit library.
TEST_F(HookCompanionTest, CompanionHandsTheRulesToIts32BitLibrary) {
  ASSERT_TRUE(copy_.AddCompanion());
  HookParameters parameters;
  parameters.flags = HOOK_REVERSE_VERTICAL;
  parameters.programRules = L"notepad.exe|2|0;wheel_target.exe|3|0";
  HookCompanion companion;
  ASSERT_EQ(companion.Start(copy_.CompanionPath(), copy_.HookLibraryPath(), parameters), CompanionStart::Running);
  const TargetReport report = RunWheelTarget(std::wstring(L"scenario=redirect over=list") + kHooked, X86BinDir());
  EXPECT_EQ(report.Of("list").at(0).wParam, WheelParam(0, -360));
}

// Off and on from the tray, a settings change: a new companion each install,
// none while the hook is off, with the flags of the moment; a 32-bit program
// open all along is served by the companions started after it.
TEST_F(HookCompanionTest, CompanionFollowsTheHook_ThroughToggleReloadAndExit) {
  ASSERT_TRUE(copy_.AddCompanion());
  HeldWheelTarget openAllAlong;
  ASSERT_TRUE(openAllAlong.Start(std::wstring(L"scenario=redirect over=list") + kHooked, X86BinDir()));
  Start("");
  const DWORD first = OnlyCompanion();
  ASSERT_NE(first, 0u);

  Command(ID_CMD_ENABLE);
  EXPECT_TRUE(WaitForProcessEnd(first, kEndMs));
  EXPECT_TRUE(Companions().empty());
  EXPECT_TRUE(ThirtyTwoBitProgramKeepsItsWheel());

  Command(ID_CMD_ENABLE);
  const DWORD second = OnlyCompanion();
  EXPECT_NE(second, first);
  EXPECT_TRUE(ThirtyTwoBitProgramGetsTheWheel());

  Reload("HScrollOnShift=1\r\n");
  EXPECT_TRUE(WaitForProcessEnd(second, kEndMs));
  const DWORD third = OnlyCompanion();
  EXPECT_NE(third, second);
  const TargetReport shift = RunWheelTarget(std::wstring(L"scenario=pane over=pane keys=4") + kHooked, X86BinDir());
  ASSERT_TRUE(shift.ran);
  ASSERT_FALSE(shift.Of("pane").empty());
  EXPECT_EQ(shift.Of("pane")[0].message, "WM_HSCROLL");
  const TargetReport open = openAllAlong.Release();
  ASSERT_TRUE(open.ran);
  EXPECT_EQ(open.Windows(), Names{"list"});

  Exit();
  EXPECT_TRUE(WaitForProcessEnd(third, kEndMs));
  // Installed three times, so each library reported three installs.
  EXPECT_EQ(CountOf(copy_.LogText(), kTdxSuccess), 6u);
}

TEST_F(HookCompanionTest, AgentKilled_CompanionEndsByItself) {
  ASSERT_TRUE(copy_.AddCompanion());
  Start("");
  const DWORD companion = OnlyCompanion();
  ASSERT_NE(companion, 0u);
  agent_.Kill();
  EXPECT_TRUE(WaitForProcessEnd(companion, kEndMs));
  EXPECT_TRUE(ThirtyTwoBitProgramKeepsItsWheel());
  // Under Wine the killed agent's own hook outlives it: take it over and
  // remove it, as the next agent would.
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(copy_.HookLibraryPath()));
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  EXPECT_EQ(tdx.Uninstall(), 1);
}

// A companion ended from outside is not brought back behind the user's back;
// the next install starts a new one.
TEST_F(HookCompanionTest, CompanionKilled_NextInstallStartsANewOne) {
  ASSERT_TRUE(copy_.AddCompanion());
  Start("");
  const DWORD killed = OnlyCompanion();
  ASSERT_TRUE(KillProcess(killed));
  // The agent has handled everything sent before this answer.
  DWORD_PTR answer = 0;
  ASSERT_NE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  EXPECT_TRUE(Companions().empty());

  Command(ID_CMD_ENABLE);
  Command(ID_CMD_ENABLE);
  const DWORD next = OnlyCompanion();
  EXPECT_NE(next, killed);
  EXPECT_TRUE(ThirtyTwoBitProgramGetsTheWheel());
  Exit();
}

// Whatever is wrong with the 32-bit side, the 64-bit hook works alone and the
// log says why in one line.
TEST_F(HookCompanionTest, CompanionMissingBrokenOrOfAnotherBuild_64BitHookAloneAndOneLogLine) {
  const struct {
    const char* name;
    bool addCompanion;
    void (*spoil)(const AgentCopy&);
    const wchar_t* reason;
  } cases[] = {
      {"no companion", false, nullptr, L"KSHook32.exe is missing"},
      {"no library", true, [](const AgentCopy& c) { DeleteFileW(c.CompanionLibraryPath().c_str()); },
       L"TDX32.dll is missing or cannot be loaded"},
      {"older companion", true, [](const AgentCopy& c) { EXPECT_TRUE(MakeOlderBuild(c.CompanionPath())); },
       L"KSHook32.exe is of another build"},
      {"older library", true, [](const AgentCopy& c) { EXPECT_TRUE(MakeOlderBuild(c.CompanionLibraryPath())); },
       L"TDX32.dll is of another build"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AgentCopy copy;
    ASSERT_TRUE(copy.ready());
    if (c.addCompanion) {
      ASSERT_TRUE(copy.AddCompanion());
    }
    if (c.spoil != nullptr) c.spoil(copy);
    ASSERT_TRUE(copy.WriteSettings("WriteLog=1\r\n"));
    FakeTray tray;
    ASSERT_TRUE(tray.Start());
    AgentProcess agent;
    ASSERT_TRUE(copy.Start(agent));
    HWND window = WaitForAgentWindow(agent.Id(), kStartMs);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ChildProcessesNamed(agent.Id(), L"KSHook32.exe").empty());
    EXPECT_TRUE(WheelIsRedirected(HookExpected::Yes));
    EXPECT_TRUE(ThirtyTwoBitProgramKeepsItsWheel());
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(agent.WaitForExit(kEndMs));

    const std::wstring log = copy.LogText();
    EXPECT_EQ(CountOf(log, kNotHooked), 1u);
    EXPECT_EQ(CountOf(log, std::wstring(kNotHooked) + c.reason + L"\r\n"), 1u) << Narrow(log);
    EXPECT_EQ(CountOf(log, kTdxSuccess), 1u);
  }
}

// A second companion for the same library, as a second agent would start: the
// library keeps the first one's hook and the second gives up.
TEST_F(HookCompanionTest, SecondCompanion_IsRefused_OneHookOfEachBitness) {
  ASSERT_TRUE(copy_.AddCompanion());
  Start("");
  const DWORD first = OnlyCompanion();
  ASSERT_NE(first, 0u);

  HookCompanion second;
  EXPECT_EQ(second.Start(copy_.CompanionPath(), copy_.HookLibraryPath(), HookParameters()),
            CompanionStart::HookRefused);
  EXPECT_EQ(second.ProcessId(), 0u);
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(copy_.HookLibraryPath()));
  EXPECT_EQ(tdx.Install(nullptr, 0), 0);

  EXPECT_EQ(Companions(), std::vector<DWORD>{first});
  EXPECT_TRUE(ThirtyTwoBitProgramGetsTheWheel());
  Exit();
}

}  // namespace
}  // namespace ks::test
