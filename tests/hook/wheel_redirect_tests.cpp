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

TEST(HorizontalWheel, FollowsPointer_UnchangedAndNeverTurnedIntoAnythingElse) {
  // Every rule is on: none of them may touch the horizontal wheel.
  InstalledHook hook(0x1F);
  ASSERT_EQ(hook.installResult(), 1);
  const struct {
    const wchar_t* arguments;
    const char* pointed;
    unsigned keys;
  } cases[] = {
      {L"scenario=redirect over=list", "list", 0},
      // Shift and Ctrl would scroll a vertical wheel sideways, the middle
      // button would swallow it, a scroll bar would jump.
      {L"scenario=redirect over=list", "list", MK_SHIFT | MK_CONTROL},
      {L"scenario=redirect over=list", "list", MK_MBUTTON | MK_LBUTTON | MK_RBUTTON},
      {L"scenario=scrollbars over=vbar", "pane", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << Narrow(c.arguments) << " keys " << c.keys);
    const TargetReport report =
        RunWheelTarget(std::wstring(c.arguments) + L" wheel=h delta=-120 keys=" + std::to_wstring(c.keys));
    ASSERT_TRUE(report.ran);
    ASSERT_EQ(report.Windows(), Names{c.pointed});
    const std::vector<Received> got = report.Of(c.pointed);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, "WM_MOUSEHWHEEL");
    EXPECT_EQ(got[0].wParam, WheelParam(c.keys, -120));
    EXPECT_EQ(got[0].lParam, PointParam(report.cursor));
  }
}

TEST(HorizontalWheel, LeftUnchanged_InTheCasesTheVerticalWheelIs) {
  InstalledHook hook(0);
  for (const wchar_t* arguments :
       {L"scenario=redirect over=edit", L"scenario=redirect over=list focus=none", L"scenario=tray over=inner"}) {
    SCOPED_TRACE(Narrow(arguments));
    const TargetReport report = RunWheelTarget(std::wstring(arguments) + L" wheel=h delta=120");
    ASSERT_TRUE(report.ran);
    ASSERT_EQ(report.Windows(), Names{"edit"});
    EXPECT_EQ(report.Of("edit")[0].message, "WM_MOUSEHWHEEL");
    EXPECT_EQ(report.Of("edit")[0].wParam, WheelParam(0, 120));
  }
}

// A Store app's window ignores a sent wheel: the turn stays on Windows' own
// road, whichever rule would apply and whichever wheel it is.
TEST(StoreAppWindow, UnderPointerOrAsTopLevelAncestor_WheelLeftUnchanged) {
  InstalledHook hook(0x1F);
  const struct {
    const wchar_t* arguments;
    const char* pointed;
    unsigned keys;
  } cases[] = {
      {L"scenario=store over=core", "core", 0},
      {L"scenario=store over=core", "core", MK_SHIFT},
      {L"scenario=store over=core wheel=h", "core", 0},
      {L"scenario=storeframe over=pane", "pane", 0},
      {L"scenario=storeframe over=pane", "pane", MK_CONTROL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << Narrow(c.arguments) << " keys " << c.keys);
    const TargetReport report =
        RunWheelTarget(std::wstring(c.arguments) + L" delta=120 keys=" + std::to_wstring(c.keys));
    ASSERT_TRUE(report.ran);
    ASSERT_EQ(report.Windows(), Names{"edit"});
    ASSERT_EQ(report.Of("edit").size(), 1u);
    EXPECT_EQ(report.Of("edit")[0].wParam, WheelParam(c.keys, 120));
    EXPECT_TRUE(report.Of(c.pointed).empty());
  }
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
      // A disabled smaller sibling is skipped for the enabled one.
      {L"disabled", L"off", "medium"},
      // An owned popup gets it, not another popup of its owner below it.
      {L"owned", L"under", "popup"},
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
