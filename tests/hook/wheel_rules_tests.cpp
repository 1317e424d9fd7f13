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
// V of a jump (6 top, 7 bottom) or a line, M and the distance of either wheel.
std::string Describe(const TargetReport& report) {
  std::string out;
  for (const Received& r : report.received) {
    const long value =
        r.message.rfind("WM_MOUSE", 0) == 0 ? static_cast<short>(HIWORD(r.wParam)) : static_cast<long>(r.wParam);
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

// The wheel's lines and characters per notch as they were, back at the end;
// only this session's values change, not the user's file.
struct WheelSettingRestored {
  UINT lines = 3, chars = 3;
  WheelSettingRestored() {
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
  }
  ~WheelSettingRestored() {
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
    SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, chars, nullptr, 0);
  }
};

// The switches and a program's rule, in place or redirected, what the other
// rules make of the ruled turn, malformed rules and those past the 32nd; the
// target sets the Scroll Lock light by the key and back.
TEST(ProgramRules, ReverseSpeedScrollBarsAndThePause_ShapeEveryTurn) {
  constexpr DWORD kRev = HOOK_REVERSE_VERTICAL;
  constexpr DWORD kPause = HOOK_PAUSE_WITH_SCROLL_LOCK | HOOK_REVERSE_VERTICAL | HOOK_NO_WHEEL_IF_MIDDLE;
  std::wstring past32nd;
  for (int i = 1; i <= 32; ++i) past32nd += L"p" + std::to_wstring(i) + L".exe|2|0;";
  past32nd += L"wheel_target.exe|3|0";
  const struct {
    DWORD flags;
    const wchar_t* rules;
    UINT lines;
    const wchar_t* arguments;
    const char* expected;
  } cases[] = {
      {kRev, nullptr, 3, L"redirect over=list", " list:M-120"},
      {kRev, nullptr, 3, L"redirect over=edit", " edit:M-120"},
      {HOOK_REVERSE_HORIZONTAL, nullptr, 3, L"redirect over=list wheel=h", " list:M-120"},
      {HOOK_REVERSE_HORIZONTAL, nullptr, 3, L"redirect over=edit wheel=h delta=-120", " edit:M120"},
      {HOOK_HSCROLL_ON_SHIFT | kRev, L"wheel_target.exe|2|0", 3, L"pane over=pane keys=4",
       " pane:H1 pane:H1 pane:M240"},
      {0, L"wheel_target.exe|3|0", 3, L"redirect over=list", " list:M360"},
      {0, L"WHEEL_TARGET.EXE|3|0", 3, L"redirect over=edit", " edit:M360"},
      {kRev, L"wheel_target.exe|2|1", 3, L"redirect over=list wheel=h", " list:M-240"},
      {kRev, L"wheel_target.exe|2|1", 3, L"redirect over=list", " list:M240"},
      {0, L"wheel_target.exe|10|0", 3, L"redirect over=list delta=-30000", " list:M-32768"},
      {0, L"other.exe|3|1", 3, L"redirect over=list", " list:M120"},
      {0,
       L"wheel_target.exe|0|0;wheel_target.exe|11|0;wheel_target.exe|3x|0;wheel_target.exe|3;|3|0;"
       L"wheel_target.exe|3|4;wheel_target.exe|3|0",
       3, L"redirect over=list", " list:M360"},
      {0, past32nd.c_str(), 3, L"redirect over=list", " list:M120"},
      {0, L"wheel_target.exe|1|2", 3, L"scrollbars over=pane", " pane:V0 pane:V0 pane:V0"},
      {0, L"wheel_target.exe|1|2", 3, L"scrollbars over=pane delta=-120 wheel=h", " pane:H0 pane:H0 pane:H0"},
      {0, L"wheel_target.exe|1|2", 1, L"scrollbars over=pane turns=pane:-30,pane:-30,pane:-30,pane:-30", " pane:V1"},
      {0, L"wheel_target.exe|1|2", WHEEL_PAGESCROLL, L"scrollbars over=pane delta=-120", " pane:V3"},
      {0, L"wheel_target.exe|1|2", 3, L"pane over=pane", " pane:M120"},
      {kPause, L"wheel_target.exe|3|2", 3, L"redirect over=list scrolllock=on", " edit:M120"},
      {kPause, L"wheel_target.exe|3|2", 3, L"redirect over=list keys=16 scrolllock=on", " edit:M120"},
      {kPause, L"wheel_target.exe|3|2", 3, L"scrollbars over=pane scrolllock=on", " edit:M120"},
      {kPause, L"wheel_target.exe|3|2", 3, L"redirect over=list scrolllock=off", " list:M-360"},
      {kRev, nullptr, 3, L"redirect over=list scrolllock=on", " list:M-120"},
  };
  WheelSettingRestored restored;
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.arguments) + " " + (c.rules != nullptr ? Narrow(c.rules) : ""));
    InstalledHook hook(c.flags, nullptr, nullptr, 0, c.rules);
    ASSERT_EQ(hook.installResult(), 1);
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, c.lines, nullptr, 0));
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, 3, nullptr, 0));
    const TargetReport report = RunWheelTarget(std::wstring(L"scenario=") + c.arguments);
    ASSERT_TRUE(report.ran);
    EXPECT_EQ(Describe(report), c.expected);
  }
}

}  // namespace
}  // namespace ks::test
