// The optional rules: horizontal scrolling while a key or button is held,
// the middle button, and the scroll-bar jump.
#include <gtest/gtest.h>

#include "hook/hook_flags.h"
#include "tests/harness/test_files.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

using Names = std::vector<std::string>;

void ExpectHorizontalPair(const TargetReport& report, const std::string& window, unsigned keys, int distance) {
  const std::vector<Received> got = report.Of(window);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, "WM_HSCROLL");
  EXPECT_EQ(got[0].wParam,
            distance < 0 ? static_cast<unsigned long>(SB_LINERIGHT) : static_cast<unsigned long>(SB_LINELEFT));
  EXPECT_EQ(got[0].lParam, 0u);
  EXPECT_EQ(got[1].message, "WM_MOUSEHWHEEL");
  EXPECT_EQ(got[1].wParam, WheelParam(keys, -distance));
  EXPECT_EQ(got[1].lParam, PointParam(report.cursor));
}

TEST(HorizontalScroll, EachKeyOrButtonWithItsBit_SendsHScrollThenMouseHWheel) {
  const struct {
    DWORD flag;
    unsigned keys;
  } rules[] = {
      {HOOK_HSCROLL_ON_SHIFT, MK_SHIFT},
      {HOOK_HSCROLL_ON_CTRL, MK_CONTROL},
      {HOOK_HSCROLL_ON_LBUTTON, MK_LBUTTON},
      {HOOK_HSCROLL_ON_RBUTTON, MK_RBUTTON},
  };
  for (const auto& rule : rules) {
    InstalledHook hook(rule.flag);
    ASSERT_EQ(hook.installResult(), 1);
    for (int distance : {120, -120}) {
      SCOPED_TRACE(testing::Message() << "keys " << rule.keys << " distance " << distance);
      const TargetReport report = RunWheelTarget(L"scenario=pane over=pane keys=" + std::to_wstring(rule.keys) +
                                                 L" delta=" + std::to_wstring(distance));
      ASSERT_TRUE(report.ran);
      EXPECT_EQ(report.Windows(), Names{"pane"});
      ExpectHorizontalPair(report, "pane", rule.keys, distance);
    }
  }
}

TEST(HorizontalScroll, AppliesAlsoWhenPointerOverFocusedWindow) {
  InstalledHook hook(HOOK_HSCROLL_ON_CTRL);
  const TargetReport report = RunWheelTarget(L"scenario=pane over=edit keys=8 delta=120");
  ASSERT_TRUE(report.ran);
  EXPECT_EQ(report.Windows(), Names{"edit"});
  ExpectHorizontalPair(report, "edit", MK_CONTROL, 120);
}

TEST(HorizontalScroll, KeyHeldWithBitClear_WheelGoesOnUnchanged) {
  // Every other rule is on: only the bit of the held key matters.
  InstalledHook hook(HOOK_HSCROLL_ON_CTRL | HOOK_HSCROLL_ON_LBUTTON | HOOK_HSCROLL_ON_RBUTTON);
  const TargetReport report = RunWheelTarget(L"scenario=pane over=pane keys=4 delta=-120");
  ASSERT_TRUE(report.ran);
  ASSERT_EQ(report.Of("pane").size(), 1u);
  EXPECT_EQ(report.Of("pane")[0].message, "WM_MOUSEWHEEL");
  EXPECT_EQ(report.Of("pane")[0].wParam, WheelParam(MK_SHIFT, -120));
}

// What each window received, in order: a line or jump by its direction, a
// horizontal wheel by its distance.
std::string Describe(const TargetReport& report) {
  std::string out;
  for (const Received& r : report.received) {
    std::string what = r.message;
    if (r.message == "WM_HSCROLL") what = r.wParam == SB_LINELEFT ? "left" : "right";
    if (r.message == "WM_VSCROLL") what = r.wParam == SB_TOP ? "top" : "bottom";
    if (r.message == "WM_MOUSEHWHEEL") what = std::to_string(static_cast<short>(HIWORD(r.wParam)));
    out += (out.empty() ? "" : " ") + r.window + ":" + what;
  }
  return out;
}

// A high-resolution wheel sends a notch in parts: a line or a jump per whole
// notch of a run that goes one way to one window, the horizontal wheel with
// each part's own distance.
TEST(HorizontalScroll, PartsOfANotch_OneLineOrJumpPerWholeNotchOfTheRun) {
  InstalledHook hook(HOOK_HSCROLL_ON_SHIFT);
  const struct {
    const wchar_t* arguments;
    const char* expected;
  } cases[] = {
      {L"scenario=pane over=pane keys=4 turns=pane:30,pane:30,pane:30,pane:30",
       "pane:-30 pane:-30 pane:-30 pane:left pane:-30"},
      {L"scenario=pane over=pane keys=4 turns=pane:120,pane:-120", "pane:left pane:-120 pane:right pane:120"},
      // The turn goes back: what was left of the other way scrolls nothing.
      {L"scenario=pane over=pane keys=4 turns=pane:60,pane:-60,pane:-60", "pane:-60 pane:60 pane:right pane:60"},
      // Another window counts its own notch.
      {L"scenario=panes over=pane keys=4 turns=pane:90,pane2:90,pane2:30", "pane:-90 pane2:-90 pane2:left pane2:-30"},
      {L"scenario=scrollbars over=vbar turns=vbar:30,vbar:30,vbar:30,vbar:30,vbar:-120", "pane:top pane:bottom"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.arguments));
    const TargetReport report = RunWheelTarget(c.arguments);
    ASSERT_TRUE(report.ran);
    EXPECT_EQ(Describe(report), c.expected);
  }
}

TEST(MiddleButton, WithBit_WheelSwallowedAndNothingLogged) {
  LibraryLog libraryLog;
  const std::wstring& log = libraryLog.path();
  {
    InstalledHook hook(HOOK_NO_WHEEL_IF_MIDDLE, log.c_str());
    const TargetReport report = RunWheelTarget(L"scenario=redirect over=list keys=16");
    ASSERT_TRUE(report.ran);
    EXPECT_TRUE(report.received.empty());
  }
  const std::wstring text = ReadUtf16(log);
  EXPECT_NE(text.find(L"Success install TDX hook"), std::wstring::npos);
  EXPECT_EQ(text.find(L"Class detected"), std::wstring::npos);
}

TEST(MiddleButton, WithoutBit_WheelRedirectedAsUsual) {
  InstalledHook hook(HOOK_HSCROLL_ON_SHIFT);
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list keys=16");
  ASSERT_TRUE(report.ran);
  EXPECT_EQ(report.Windows(), Names{"list"});
}

TEST(ScrollBarJump, CursorOverEitherBar_SendsItsStartOrEnd) {
  InstalledHook hook(0);
  const struct {
    const wchar_t* bar;
    const char* message;
  } bars[] = {{L"vbar", "WM_VSCROLL"}, {L"hbar", "WM_HSCROLL"}};
  for (const auto& b : bars) {
    for (int distance : {120, -120}) {
      SCOPED_TRACE(testing::Message() << Narrow(b.bar) << " distance " << distance);
      const TargetReport report =
          RunWheelTarget(std::wstring(L"scenario=scrollbars over=") + b.bar + L" delta=" + std::to_wstring(distance));
      ASSERT_TRUE(report.ran);
      ASSERT_EQ(report.Windows(), Names{"pane"});
      ASSERT_EQ(report.Of("pane").size(), 1u);
      EXPECT_EQ(report.Of("pane")[0].message, b.message);
      // SB_TOP and SB_LEFT, SB_BOTTOM and SB_RIGHT share their values.
      EXPECT_EQ(report.Of("pane")[0].wParam, static_cast<unsigned long>(distance > 0 ? SB_TOP : SB_BOTTOM));
      EXPECT_EQ(report.Of("pane")[0].lParam, 0u);
    }
  }
}

TEST(ScrollBarJump, UsesLiveCursorNotMessagePoint) {
  InstalledHook hook(0);
  // Message point in the pane's client area, cursor on its vertical bar.
  const TargetReport jump = RunWheelTarget(L"scenario=scrollbars over=vbar msgover=pane");
  ASSERT_TRUE(jump.ran);
  ASSERT_EQ(jump.Of("pane").size(), 1u);
  EXPECT_EQ(jump.Of("pane")[0].message, "WM_VSCROLL");

  // Message point on the bar, cursor elsewhere: an ordinary redirect.
  const TargetReport redirect = RunWheelTarget(L"scenario=scrollbars over=edit msgover=vbar");
  ASSERT_TRUE(redirect.ran);
  ASSERT_EQ(redirect.Of("pane").size(), 1u);
  EXPECT_EQ(redirect.Of("pane")[0].message, "WM_MOUSEWHEEL");
}

TEST(ScrollBarJump, HorizontalRuleComesFirst) {
  InstalledHook hook(HOOK_HSCROLL_ON_SHIFT);
  const TargetReport report = RunWheelTarget(L"scenario=scrollbars over=vbar keys=4");
  ASSERT_TRUE(report.ran);
  ASSERT_EQ(report.Of("pane").size(), 2u);
  EXPECT_EQ(report.Of("pane")[0].message, "WM_HSCROLL");
  EXPECT_EQ(report.Of("pane")[1].message, "WM_MOUSEHWHEEL");
}

}  // namespace
}  // namespace ks::test
