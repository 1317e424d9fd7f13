// A wheel turn acts once, is never lost, and never holds the program that
// took it for long.
#include <gtest/gtest.h>

#include "common/hook_flags.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

using Names = std::vector<std::string>;

TEST(WheelRobustness, TargetThreadBusy_SenderGoesOnAndTheTurnActsOnceWhereItPoints) {
  InstalledHook hook(0);
  // The list's thread sleeps for 2 s, too short for Windows to call it hung:
  // the wheel waits in its queue and is taken when it wakes. An unbounded
  // send would hold the focused program as long; a fallback to the focused
  // window would make the turn act twice.
  const TargetReport report = RunWheelTarget(L"scenario=hung over=list hang=2000");
  ASSERT_TRUE(report.ran);
  EXPECT_LT(report.elapsedMs, 1500u);
  EXPECT_EQ(report.Windows(), Names{"list"});
  ASSERT_EQ(report.Of("list").size(), 1u);
  EXPECT_EQ(report.Of("list")[0].message, "WM_MOUSEWHEEL");
}

TEST(WheelRobustness, TargetThreadHung_FocusedWindowKeepsTheWheel) {
  // Six seconds into a sleep of nine, Windows calls the list's thread hung:
  // the turn cannot reach it and stays with the focused window, and the list
  // finds nothing of it when it wakes; also when a rule would scroll it.
  const std::pair<DWORD, const wchar_t*> cases[] = {
      {0, L"over=list"}, {HOOK_HSCROLL_ON_SHIFT, L"over=list keys=4"}, {0, L"hungside=scrollbars over=vbar"}};
  for (const auto& [flags, arguments] : cases) {
    SCOPED_TRACE(Narrow(arguments));
    InstalledHook hook(flags);
    const TargetReport report = RunWheelTarget(L"scenario=hung hang=9000 stale=6000 " + std::wstring(arguments));
    ASSERT_TRUE(report.ran);
    EXPECT_LT(report.elapsedMs, 1500u);
    EXPECT_EQ(report.Windows(), Names{"edit"});
    ASSERT_EQ(report.Of("edit").size(), 1u);
    EXPECT_EQ(report.Of("edit")[0].message, "WM_MOUSEWHEEL");
  }
}

// The list's window procedure runs inside the hook's frames when both live in
// one thread: its exception unwinds through them, and the program lives on.
TEST(WheelRobustness, TargetThrowsDuringARedirectedTurn_ProgramLivesOn) {
  // A 32-bit MinGW program unwinds by tables that no system frame has either.
  if (sizeof(void*) == 4) GTEST_SKIP() << "x86 MinGW programs cannot unwind through system frames";
  InstalledHook hook(0);
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list throw=1");
  ASSERT_TRUE(report.ran);
  ASSERT_FALSE(report.Of("list").empty());
  EXPECT_EQ(report.Of("list")[0].message, "WM_MOUSEWHEEL");
}

TEST(WheelRobustness, ProgramPeeksBeforeGetting_ListScrollsOnce) {
  InstalledHook hook(0);
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list peek=1");
  ASSERT_TRUE(report.ran);
  EXPECT_EQ(report.Windows(), Names{"list"});
  EXPECT_EQ(report.Of("list").size(), 1u);
}

}  // namespace
}  // namespace ks::test
