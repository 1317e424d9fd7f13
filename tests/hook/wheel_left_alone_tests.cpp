// Programs the wheel is left alone in: those on the list, whether they take
// the wheel or lie under the pointer, and any program while a full-screen one
// is in front.
#include <gtest/gtest.h>

#include "common/hook_flags.h"
#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

using Names = std::vector<std::string>;

constexpr DWORD kEveryRule = HOOK_HSCROLL_ON_SHIFT | HOOK_HSCROLL_ON_CTRL | HOOK_NO_WHEEL_IF_MIDDLE;

// The wheel target under another name, for the pointed-at frame in a program
// of its own.
class OtherProgram {
 public:
  explicit OtherProgram(const wchar_t* name = L"Pointed_Target.exe") : path_(dir_.File(name)) {
    EXPECT_TRUE(CopyFileW((BinDir() + L"wheel_target.exe").c_str(), path_.c_str(), FALSE));
  }
  std::wstring Argument() const { return L" pointed=" + QuoteArgument(path_); }

 private:
  TempDir dir_;
  const std::wstring path_;
};

std::wstring Turn(unsigned keys, int distance) {
  return L" keys=" + std::to_wstring(keys) + L" delta=" + std::to_wstring(distance);
}

// The focused edit field got the turn exactly as posted, and nothing else got
// anything.
void ExpectUnchanged(const TargetReport& report, unsigned keys, int distance) {
  ASSERT_TRUE(report.ran);
  ASSERT_EQ(report.Windows(), Names{"edit"});
  ASSERT_EQ(report.Of("edit").size(), 1u);
  EXPECT_EQ(report.Of("edit")[0].message, "WM_MOUSEWHEEL");
  EXPECT_EQ(report.Of("edit")[0].wParam, WheelParam(keys, distance));
}

void ExpectRedirectedToList(const TargetReport& report) {
  ASSERT_TRUE(report.ran);
  ASSERT_EQ(report.Windows(), Names{"list"});
  EXPECT_EQ(report.Of("list")[0].message, "WM_MOUSEWHEEL");
}

TEST(LeftAlone, ListedProgramTakingTheWheel_KeepsItWhateverRuleAndDirection) {
  // Letter case and folder do not count.
  InstalledHook hook(kEveryRule, nullptr, L"mstsc.exe;WHEEL_Target.EXE");
  ASSERT_EQ(hook.installResult(), 1);
  for (unsigned keys : {0u, unsigned{MK_SHIFT}, unsigned{MK_CONTROL}, unsigned{MK_MBUTTON}}) {
    for (int distance : {120, -120}) {
      SCOPED_TRACE(testing::Message() << "keys " << keys << " distance " << distance);
      ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + Turn(keys, distance)), keys, distance);
    }
  }
}

TEST(LeftAlone, ProgramsNotListed_AreStillRedirected) {
  // Names that are near the program's own but are not it.
  InstalledHook hook(0, nullptr, L"mstsc.exe;wheel_target.ex;heel_target.exe;wheel_target.exe.exe");
  ASSERT_EQ(hook.installResult(), 1);
  ExpectRedirectedToList(RunWheelTarget(L"scenario=redirect over=list"));
}

TEST(LeftAlone, ListedProgramUnderThePointer_GetsNothing_FocusedWindowKeepsTheTurn) {
  OtherProgram other;
  InstalledHook hook(kEveryRule, nullptr, L"notepad.exe;pointed_target.exe");
  ASSERT_EQ(hook.installResult(), 1);
  for (unsigned keys : {0u, unsigned{MK_SHIFT}, unsigned{MK_MBUTTON}}) {
    for (int distance : {120, -120}) {
      SCOPED_TRACE(testing::Message() << "keys " << keys << " distance " << distance);
      ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + other.Argument() + Turn(keys, distance)), keys,
                      distance);
    }
  }
}

// Cyrillic, CJK and a character beyond the Basic Multilingual Plane: the list
// holds every name whole.
TEST(LeftAlone, ListedProgramNamedInAnyScript_GetsNothing) {
  for (const wchar_t* name : {L"\u041a\u043e\u043b\u0435\u0441\u043e.exe", L"\u753b\u50cf\U0001F600.exe"}) {
    OtherProgram other(name);
    InstalledHook hook(0, nullptr, (std::wstring(L"notepad.exe;") + name).c_str());
    ASSERT_EQ(hook.installResult(), 1);
    ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + other.Argument() + Turn(0, 120)), 0, 120);
  }
}

// A listed program's rule changes nothing; of the others, the rule of the
// program whose window gets the turn counts.
TEST(LeftAlone, ListedProgramWithARule_StaysLeftAlone_OtherwiseTheRuleOfTheWindowGettingTheTurn) {
  OtherProgram other;
  const wchar_t* const rules = L"pointed_target.exe|3|1;wheel_target.exe|2|2";
  for (const wchar_t* listed : {L"pointed_target.exe", L"wheel_target.exe"}) {
    InstalledHook hook(HOOK_REVERSE_VERTICAL, nullptr, listed, 0, rules);
    ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + other.Argument() + Turn(0, 120)), 0, 120);
  }
  InstalledHook hook(HOOK_REVERSE_VERTICAL, nullptr, nullptr, 0, rules);
  const TargetReport pointed = RunWheelTarget(L"scenario=redirect over=list" + other.Argument());
  EXPECT_EQ(pointed.Of("list").at(0).wParam, WheelParam(0, 360));
  ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=edit" + other.Argument()), 0, -240);
}

TEST(LeftAlone, OtherProgramUnderThePointerNotListed_GetsTheTurn) {
  OtherProgram other;
  InstalledHook hook(HOOK_HSCROLL_ON_SHIFT, nullptr, L"notepad.exe");
  ASSERT_EQ(hook.installResult(), 1);
  ExpectRedirectedToList(RunWheelTarget(L"scenario=redirect over=list" + other.Argument() + Turn(0, -120)));
  const TargetReport shifted = RunWheelTarget(L"scenario=pane over=pane" + other.Argument() + Turn(MK_SHIFT, 120));
  ASSERT_TRUE(shifted.ran);
  ASSERT_EQ(shifted.Of("pane").size(), 2u);
  EXPECT_EQ(shifted.Of("pane")[0].message, "WM_HSCROLL");
}

TEST(LeftAlone, FullScreenInFront_StopsEveryRuleAndTheRedirect) {
  InstalledHook hook(kEveryRule, nullptr, nullptr, 1);
  ASSERT_EQ(hook.installResult(), 1);
  for (unsigned keys : {0u, unsigned{MK_SHIFT}, unsigned{MK_MBUTTON}}) {
    SCOPED_TRACE(testing::Message() << "keys " << keys);
    ExpectUnchanged(RunWheelTarget(L"scenario=fullscreen over=list" + Turn(keys, 120)), keys, 120);
  }
}

// The same window in front, no longer covering its monitor: the next turn
// is redirected.
TEST(LeftAlone, FullScreenWindowMadeSmaller_NextTurnIsRedirected) {
  InstalledHook hook(0, nullptr, nullptr, 1);
  ASSERT_EQ(hook.installResult(), 1);
  const TargetReport report = RunWheelTarget(L"scenario=fullscreen over=list resize=1");
  ASSERT_TRUE(report.ran);
  EXPECT_EQ(report.Windows(), (Names{"edit", "list"}));
}

TEST(LeftAlone, FullScreenWithTheSwitchOff_OrNormalSizedInFront_IsRedirected) {
  {
    InstalledHook hook(0, nullptr, nullptr, 0);
    ASSERT_EQ(hook.installResult(), 1);
    ExpectRedirectedToList(RunWheelTarget(L"scenario=fullscreen over=list"));
  }
  InstalledHook hook(0, nullptr, nullptr, 1);
  ASSERT_EQ(hook.installResult(), 1);
  ExpectRedirectedToList(RunWheelTarget(L"scenario=redirect over=list"));
}

TEST(LeftAlone, ListedProgram_LeavesNoLogLine) {
  LibraryLog libraryLog;
  {
    InstalledHook hook(0, libraryLog.path().c_str(), L"wheel_target.exe");
    ASSERT_EQ(hook.installResult(), 1);
    ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + Turn(0, 120)), 0, 120);
  }
  const std::wstring text = ReadUtf16(libraryLog.path());
  EXPECT_NE(text.find(L"Success install TDX hook"), std::wstring::npos);
  EXPECT_EQ(text.find(L"Class detected"), std::wstring::npos);
}

TEST(LeftAlone, NewListWhileInstalled_IsRefusedAndTheListInForceStays) {
  InstalledHook hook(0, nullptr, L"wheel_target.exe");
  ASSERT_EQ(hook.installResult(), 1);
  EXPECT_EQ(hook.library().LeaveAlone(nullptr, 0), 0);
  EXPECT_EQ(hook.library().ProgramRules(nullptr), 0);
  ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + Turn(0, 120)), 0, 120);
}

TEST(LeftAlone, BadParts_AreSkipped_AndNamesPastThe32ndIgnored) {
  std::wstring thirtyOne;
  for (int i = 1; i <= 31; ++i) thirtyOne += L"p" + std::to_wstring(i) + L".exe;";
  const std::wstring junk = L";;" + std::wstring(2000, L'a') + L";";
  {
    // Empty and overlong parts take no place: the program is the 32nd name.
    const std::wstring list = junk + thirtyOne + L"wheel_target.exe";
    InstalledHook hook(0, nullptr, list.c_str());
    ASSERT_EQ(hook.installResult(), 1);
    ExpectUnchanged(RunWheelTarget(L"scenario=redirect over=list" + Turn(0, 120)), 0, 120);
  }
  const std::wstring list = junk + thirtyOne + L"p32.exe;wheel_target.exe";
  InstalledHook hook(0, nullptr, list.c_str());
  ASSERT_EQ(hook.installResult(), 1);
  ExpectRedirectedToList(RunWheelTarget(L"scenario=redirect over=list"));
}

}  // namespace
}  // namespace ks::test
