// A wheel turn acts once, is never lost, and never holds the program that
// took it for long.
#include <gtest/gtest.h>

#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

using Names = std::vector<std::string>;

TEST(WheelRobustness, TargetThreadHung_SenderStaysResponsiveAndFocusedWindowKeepsWheel) {
  InstalledHook hook(0);
  // The list's thread sleeps for 8 s; an unbounded send would hold the
  // target's main thread as long.
  const TargetReport report = RunWheelTarget(L"scenario=hung over=list hang=8000");
  ASSERT_TRUE(report.ran);
  EXPECT_LT(report.elapsedMs, 4000u);
  ASSERT_EQ(report.Of("edit").size(), 1u);
  EXPECT_EQ(report.Of("edit")[0].message, "WM_MOUSEWHEEL");
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
