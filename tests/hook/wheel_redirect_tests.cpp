// The wheel goes to the window under the pointer, in a real process that the
// system-wide hook has entered.
#include <gtest/gtest.h>

#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

using Names = std::vector<std::string>;

TEST(WheelRedirect, PointerOverListOfOtherWindow_ListGetsWheelUnchanged_EditNothing) {
  InstalledHook hook(0);
  ASSERT_EQ(hook.installResult(), 1);
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list keys=0 delta=-120");
  ASSERT_TRUE(report.ran);
  ASSERT_EQ(report.Windows(), Names{"list"});
  const std::vector<Received> list = report.Of("list");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].message, "WM_MOUSEWHEEL");
  EXPECT_EQ(list[0].wParam, WheelParam(0, -120));
  EXPECT_EQ(list[0].lParam, PointParam(report.cursor));
}

TEST(WheelRedirect, KeyStateTravelsWithRedirectedWheel) {
  InstalledHook hook(0);
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list keys=4 delta=240");
  ASSERT_TRUE(report.ran);
  ASSERT_EQ(report.Of("list").size(), 1u);
  EXPECT_EQ(report.Of("list")[0].wParam, WheelParam(MK_SHIFT, 240));
}

// Cases where the hook must leave the message to the window it was posted to.
TEST(WheelRedirect, MessageLeftUnchanged_WhenPointerOverFocusedWindow_NoFocus_OrTrayArea) {
  InstalledHook hook(0);
  const struct {
    const wchar_t* arguments;
    const char* pointed;
  } cases[] = {
      {L"scenario=redirect over=edit", "list"},
      {L"scenario=redirect over=list focus=none", "list"},
      {L"scenario=tray over=inner", "inner"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.arguments));
    const TargetReport report = RunWheelTarget(std::wstring(c.arguments) + L" keys=0 delta=120");
    ASSERT_TRUE(report.ran);
    ASSERT_EQ(report.Windows(), Names{"edit"});
    EXPECT_EQ(report.Of("edit")[0].message, "WM_MOUSEWHEEL");
    EXPECT_EQ(report.Of("edit")[0].wParam, WheelParam(0, 120));
    EXPECT_TRUE(report.Of(c.pointed).empty());
  }
}

TEST(WheelRedirect, WithoutHook_FocusedWindowGetsWheel) {
  // The target itself does not redirect: what the other tests see is the hook.
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list");
  ASSERT_TRUE(report.ran);
  EXPECT_EQ(report.Windows(), Names{"edit"});
}

TEST(WheelTarget, SmallestVisibleSiblingUnderPointWins) {
  InstalledHook hook(0);
  const struct {
    const wchar_t* layout;
    const wchar_t* over;
    const char* expected;
  } cases[] = {
      // A large frame drawn over a smaller control: the control gets it.
      {L"small", L"small", "small"},
      // An invisible smaller sibling is skipped for the visible one.
      {L"invisible", L"hidden", "medium"},
      // Of two equal siblings the one higher in Z-order wins.
      {L"equal", L"upper", "upper"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.layout));
    const TargetReport report =
        RunWheelTarget(std::wstring(L"scenario=siblings layout=") + c.layout + L" over=" + c.over);
    ASSERT_TRUE(report.ran);
    EXPECT_EQ(report.Windows(), Names{c.expected});
  }
}

}  // namespace
}  // namespace ks::test
