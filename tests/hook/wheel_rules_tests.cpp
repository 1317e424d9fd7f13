// The optional rules: horizontal scrolling while a key or button is held,
// the middle button, and the scroll-bar jump.
#include <gtest/gtest.h>

#include "common/hook_flags.h"
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

// Each message received, in order: H and the code of a line (0 left, 1 right),
// V of a jump (6 top, 7 bottom), M and the distance of a horizontal wheel.
std::string Describe(const TargetReport& report) {
  std::string out;
  for (const Received& r : report.received) {
    const long value =
        r.message == "WM_MOUSEHWHEEL" ? static_cast<short>(HIWORD(r.wParam)) : static_cast<long>(r.wParam);
    out += " " + r.window + ":" + r.message.substr(3, 1) + std::to_string(value);
  }
  return out;
}

// A high-resolution wheel sends a notch in parts: a line or a jump per whole
// notch of a run that goes one way to one window.
TEST(HorizontalScroll, PartsOfANotch_OneLineOrJumpPerWholeNotchOfTheRun) {
  InstalledHook hook(HOOK_HSCROLL_ON_SHIFT);
  const struct {
    const wchar_t* arguments;
    const char* expected;
  } cases[] = {
      {L"pane over=pane keys=4 turns=pane:30,pane:30,pane:30,pane:30",
       " pane:M-30 pane:M-30 pane:M-30 pane:H0 pane:M-30"},
      // The turn goes back: what was left of the other way scrolls nothing.
      {L"pane over=pane keys=4 turns=pane:60,pane:-60,pane:-60", " pane:M-60 pane:M60 pane:H1 pane:M60"},
      {L"panes over=pane keys=4 turns=pane:90,pane2:90,pane2:30", " pane:M-90 pane2:M-90 pane2:H0 pane2:M-30"},
      {L"scrollbars over=vbar turns=vbar:30,vbar:30,vbar:30,vbar:30,vbar:-120", " pane:V6 pane:V7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.arguments));
    const TargetReport report = RunWheelTarget(std::wstring(L"scenario=") + c.arguments);
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
