// The settings page as the user works it: check boxes and the changed marker,
// OK, the close question, Escape, the log link and the list of programs left
// alone.
#include <gtest/gtest.h>

#include "tests/config/config_session.h"

namespace ks::test {
namespace {

constexpr UINT kChecked = 0x40;

class Page : public ConfigSession {
 protected:
  bool MarkerShown(HWND window) { return ElementSize(window, L"small_changed").has_value(); }

  // Asks to close through the title bar's button; the question box, or null.
  HWND CloseAndFindQuestion(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForConfigMessageBox(process.Id(), kReactMs);
  }

  // Clicks "Add program..." (of the list left alone, or of the rules) and
  // picks the file in the Open dialog that comes up, as a user types its path
  // and presses Open; true once the dialog has gone.
  bool AddProgram(HWND window, const std::wstring& path, const wchar_t* link = L"LINK_ADD_PROGRAM") {
    if (!ClickElement(window, link)) return false;
    HWND dialog = WaitForWindowOf(process.Id(), L"#32770", kWindowMs, [&](HWND w) { return w != window; });
    if (dialog == nullptr) return false;
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindFileNameEdit, reinterpret_cast<LPARAM>(&edit));
    if (edit == nullptr) return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    const ULONGLONG end = GetTickCount64() + kReactMs;
    while (IsWindow(dialog) && GetTickCount64() < end) PumpMessagesFor(20);
    return !IsWindow(dialog);
  }

  // A program file to pick, in the program's scratch directory.
  std::wstring ProgramFile(const std::wstring& name) {
    const std::wstring path = copy.File(name);
    EXPECT_TRUE(WriteBytes(path, "MZ"));
    return path;
  }

  bool RowShown(HWND window, int row, const wchar_t* remove = L"PROGRAM_REMOVE_") {
    return ElementSize(window, remove + std::to_wstring(row)).has_value();
  }
  bool RuleShown(HWND window, int row) { return RowShown(window, row, L"RULE_REMOVE_"); }
  void Toggle(HWND window, const wchar_t* box, bool on) {
    Click(window, box);
    EXPECT_TRUE(WaitForElementState(window, box, kChecked, on, kReactMs)) << Narrow(box);
  }

  std::wstring ListKey() {
    wchar_t value[2048] = {};
    GetPrivateProfileStringW(L"Misc", L"ExcludePrograms", L"?", value, 2048, copy.SettingsPath().c_str());
    return value;
  }

 private:
  // The dialog's only edit field is the file name's.
  static BOOL CALLBACK FindFileNameEdit(HWND child, LPARAM param) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
};

TEST_F(Page, SwitchingABoxOnAndOff_SetsAndClearsTheTitleStarAndMarker) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(MarkerShown(window));

  Click(window, L"CHECKBOX_HS_SHIFT");
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_HS_SHIFT", kChecked, true, kReactMs));
  EXPECT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  EXPECT_TRUE(MarkerShown(window));

  Click(window, L"CHECKBOX_HS_SHIFT");
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_HS_SHIFT", kChecked, false, kReactMs));
  EXPECT_TRUE(WaitForTitle(window, Title(false), kReactMs));
  EXPECT_FALSE(MarkerShown(window));
}

TEST_F(Page, AutorunBoxOnWithoutRunValue_CountsAsChanged) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, false, kReactMs));
  Click(window, L"CHECKBOX_AUTORUN");
  EXPECT_TRUE(WaitForTitle(window, Title(true), kReactMs));
}

TEST_F(Page, Ok_WritesEveryKeyAndTheRunValue) {
  ASSERT_TRUE(copy.WriteSettings("WriteLog=1\r\nShowBalloonOnStart=1\r\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  for (const wchar_t* id :
       {L"CHECKBOX_AUTORUN", L"CHECKBOX_HS_SHIFT", L"CHECKBOX_HS_CTRL", L"CHECKBOX_HS_LBUTTON", L"CHECKBOX_HS_RBUTTON",
        L"CHECKBOX_NO_MIDDLE", L"CHECKBOX_START_AS_DISABLED", L"CHECKBOX_BALLOON", L"CHECKBOX_WRITE_LOG"}) {
    const std::optional<UINT> before = ElementState(window, id);
    ASSERT_TRUE(before.has_value()) << Narrow(id);
    Click(window, id);
    EXPECT_TRUE(WaitForElementState(window, id, kChecked, (*before & kChecked) == 0, kReactMs)) << Narrow(id);
  }
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Key(L"HScrollOnShift"), 1);
  EXPECT_EQ(Key(L"HScrollOnCtrl"), 1);
  EXPECT_EQ(Key(L"HScrollOnLButton"), 1);
  EXPECT_EQ(Key(L"HScrollOnRButton"), 1);
  EXPECT_EQ(Key(L"NoWheelIfMiddle"), 1);
  EXPECT_EQ(Key(L"StartAsDisabled"), 1);
  EXPECT_EQ(Key(L"ShowBalloonOnStart"), 0);
  EXPECT_EQ(Key(L"WriteLog"), 0);
  EXPECT_EQ(RunValueGuard::Read(), std::optional<std::wstring>(copy.AgentPath()));
  // The Run value is written when the dialog ends, the file after it.
  const ULONGLONG runWritten = RunKeyLastWriteTime();
  ASSERT_NE(runWritten, 0u);
  EXPECT_LE(runWritten, FileLastWriteTime(copy.SettingsPath()));
}

// The tray changed the language and another key while the window was open:
// OK writes what the page changed and undoes neither.
TEST_F(Page, OkAfterTheAgentWroteTheFile_WritesOnlyWhatThePageChanged) {
  ASSERT_TRUE(copy.WriteSettings("WriteLog=1\r\nStartAsDisabled=0\r\nLangFile=English.lng\r\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  const std::wstring path = copy.SettingsPath();
  ASSERT_TRUE(WritePrivateProfileStringW(L"Misc", L"LangFile", L"Russian.lng", path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Misc", L"StartAsDisabled", L"1", path.c_str()));
  Click(window, L"CHECKBOX_HS_SHIFT");
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_HS_SHIFT", kChecked, true, kReactMs));
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Key(L"HScrollOnShift"), 1);
  EXPECT_EQ(Key(L"StartAsDisabled"), 1);
  wchar_t language[64] = {};
  GetPrivateProfileStringW(L"Misc", L"LangFile", L"", language, 64, path.c_str());
  EXPECT_STREQ(language, L"Russian.lng");
}

TEST_F(Page, OkWithAutorunOff_RemovesTheRunValue) {
  ASSERT_TRUE(RunValueGuard::Write(copy.AgentPath()));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, true, kReactMs));
  Click(window, L"CHECKBOX_AUTORUN");
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, false, kReactMs));
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  EXPECT_FALSE(RunValueGuard::Read().has_value());
}

TEST_F(Page, CloseWithoutChange_ClosesAtOnceWithoutQuestion) {
  // The hotkey is not on the page: the page does not change it.
  ASSERT_TRUE(copy.WriteSettings("WriteLog=1\r\nToggleHotkey=Ctrl+Alt+W\r\n"));
  const std::string stored = ReadBytes(copy.SettingsPath());
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(ReadBytes(copy.SettingsPath()), stored);
}

TEST_F(Page, CloseAfterChange_AnsweredYes_SavesPageAndRunValue) {
  ASSERT_TRUE(copy.WriteSettings("HScrollOnCtrl=0\r\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_HS_CTRL");
  Click(window, L"CHECKBOX_AUTORUN");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  HWND box = CloseAndFindQuestion(window);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Setting is changed. Save?");
  AnswerMessageBox(box, IDYES);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Key(L"HScrollOnCtrl"), 1);
  EXPECT_EQ(RunValueGuard::Read(), std::optional<std::wstring>(copy.AgentPath()));
}

TEST_F(Page, CloseAfterChange_AnsweredNo_LeavesFileAndRunValue) {
  ASSERT_TRUE(copy.WriteSettings("HScrollOnCtrl=0\r\n"));
  const std::string stored = ReadBytes(copy.SettingsPath());
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_HS_CTRL");
  Click(window, L"CHECKBOX_AUTORUN");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  HWND box = CloseAndFindQuestion(window);
  ASSERT_NE(box, nullptr);
  AnswerMessageBox(box, IDNO);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(ReadBytes(copy.SettingsPath()), stored);
  EXPECT_FALSE(RunValueGuard::Read().has_value());
}

TEST_F(Page, CloseAfterChange_AnsweredNoWithoutFile_WritesTheLoadedDefaults) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_HS_CTRL");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  HWND box = CloseAndFindQuestion(window);
  ASSERT_NE(box, nullptr);
  AnswerMessageBox(box, IDNO);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Key(L"HScrollOnCtrl"), 0);
  EXPECT_EQ(Key(L"ShowBalloonOnStart"), 1);
}

TEST_F(Page, CloseAfterChange_AnsweredCancel_KeepsThePageOpenAndChanged) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_NO_MIDDLE");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  HWND box = CloseAndFindQuestion(window);
  ASSERT_NE(box, nullptr);
  AnswerMessageBox(box, IDCANCEL);
  EXPECT_FALSE(process.WaitForExit(1000));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_NO_MIDDLE", kChecked, true, kReactMs));
  EXPECT_EQ(WindowText(window), Title(true));
  EXPECT_FALSE(FileExists(copy.SettingsPath()));
}

TEST_F(Page, EscapeAfterChange_ClosesWithoutQuestionOrSaving) {
  ASSERT_TRUE(copy.WriteSettings("HScrollOnShift=0\r\n"));
  const std::string stored = ReadBytes(copy.SettingsPath());
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_HS_SHIFT");
  Click(window, L"CHECKBOX_AUTORUN");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  PressKey(window, VK_ESCAPE);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(WaitForConfigMessageBox(process.Id(), 0), nullptr);
  EXPECT_EQ(ReadBytes(copy.SettingsPath()), stored);
  EXPECT_FALSE(RunValueGuard::Read().has_value());
}

TEST_F(Page, EscapeReleaseAlone_ClosesAsCancelled) {
  // A key release the page leaves to the window (its press went elsewhere).
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_HS_SHIFT");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  PostMessageW(window, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001u));
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Key(L"HScrollOnShift"), 0);
}

TEST_F(Page, LogLinkWithoutLogFile_ShowsTheTwoLineMessage) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  const std::optional<UINT> before = ElementState(window, L"CHECKBOX_WRITE_LOG");
  ASSERT_TRUE(before.has_value());
  Click(window, L"LINK_TO_LOG_FILE");
  HWND box = WaitForConfigMessageBox(process.Id(), kWindowMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Cannot open file: " + copy.File(L"LogFile.log") + L"\nFile not exist");
  AnswerMessageBox(box, IDOK);
  // The link is shown as visited; the box around it did not change.
  EXPECT_TRUE(WaitForElementState(window, L"LINK_TO_LOG_FILE", 0x10, true, kReactMs));
  EXPECT_EQ(ElementState(window, L"CHECKBOX_WRITE_LOG").value_or(0) & kChecked, *before & kChecked);
  EXPECT_EQ(WindowText(window), Title(false));
}

TEST_F(Page, ProgramList_RemoveAndAddThenOk_WritesExactlyTheNewList) {
  ASSERT_TRUE(copy.WriteSettings("ExcludePrograms=mstsc.exe;vm.exe\r\n"));
  const std::wstring game = ProgramFile(L"Game & Co.exe");
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(RowShown(window, 2));
  EXPECT_FALSE(RowShown(window, 3));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_FULLSCREEN", kChecked, true, kReactMs));

  Click(window, L"PROGRAM_REMOVE_1");
  EXPECT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  EXPECT_FALSE(RowShown(window, 2));
  ASSERT_TRUE(AddProgram(window, game));
  ASSERT_TRUE(RowShown(window, 2));
  // The same program again is listed once.
  ASSERT_TRUE(AddProgram(window, game));
  EXPECT_FALSE(RowShown(window, 3));
  Click(window, L"CHECKBOX_FULLSCREEN");
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_FULLSCREEN", kChecked, false, kReactMs));
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(ListKey(), L"vm.exe;Game & Co.exe");
  EXPECT_EQ(Key(L"LeaveFullScreen"), 0);
}

TEST_F(Page, ProgramList_RemovedAndAddedBack_IsUnchanged_AndEscapeKeepsTheFile) {
  // The rules too: a speed step there and back, a bad speed that reads as 1.
  ASSERT_TRUE(
      copy.WriteSettings("ExcludePrograms=mstsc.exe\r\n[Programs]\r\nnote.exe=speed=3\r\nold.exe=speed=0;odd\r\n"));
  const std::string stored = ReadBytes(copy.SettingsPath());
  const std::wstring mstsc = ProgramFile(L"MSTSC.EXE");
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"PROGRAM_REMOVE_1");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  ASSERT_TRUE(AddProgram(window, mstsc));
  EXPECT_TRUE(WaitForTitle(window, Title(false), kReactMs));
  Click(window, L"RULE_FASTER_1");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  Click(window, L"RULE_SLOWER_1");
  EXPECT_TRUE(WaitForTitle(window, Title(false), kReactMs));
  Toggle(window, L"RULE_SCROLLBARS_2", true);
  Toggle(window, L"CHECKBOX_REVERSE_HORIZONTAL", true);
  Click(window, L"RULE_REMOVE_1");
  Click(window, L"PROGRAM_REMOVE_1");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  PressKey(window, VK_ESCAPE);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(ReadBytes(copy.SettingsPath()), stored);
}

TEST_F(Page, ProgramList_HandEditedWithBadNames_ShowsWhatIsInForce_AndRefusesThe33rd) {
  std::string list = "\"quoted.exe\";..\\;   ;" + std::string(2000, 'x') + ";";
  for (int i = 1; i <= 500; ++i) list += "p" + std::to_string(i) + ".exe;";
  // The rules likewise: a foldered name dropped, then the first 32 of 40.
  std::string rules = "[Programs]\r\nbin\\x.exe=reverse\r\n";
  for (int i = 1; i <= 40; ++i) rules += "r" + std::to_string(i) + ".exe=speed=99;odd\r\n";
  ASSERT_TRUE(copy.WriteSettings("ExcludePrograms=" + list + "\r\n" + rules));
  const std::wstring extra = ProgramFile(L"extra.exe");
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), Title(false));
  ASSERT_TRUE(RowShown(window, 32));
  EXPECT_FALSE(RowShown(window, 33));
  const LONG quiet = ElementSize(window, L"PROGRAM_LIST_MESSAGE").value_or(SIZE{-1, -1}).cy;

  ASSERT_TRUE(AddProgram(window, extra));
  EXPECT_FALSE(RowShown(window, 33));
  EXPECT_GT(ElementSize(window, L"PROGRAM_LIST_MESSAGE").value_or(SIZE{0, 0}).cy, quiet);
  ASSERT_TRUE(RuleShown(window, 32));
  EXPECT_FALSE(RuleShown(window, 33));
  ASSERT_TRUE(AddProgram(window, extra, L"LINK_ADD_RULE"));
  EXPECT_FALSE(RuleShown(window, 33));
  EXPECT_GT(ElementSize(window, L"RULE_LIST_MESSAGE").value_or(SIZE{0, 0}).cy, quiet);
  EXPECT_EQ(WindowText(window), Title(false));
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  for (const wchar_t* key : {L"r1.exe", L"r40.exe"}) EXPECT_EQ(RuleValue(key), L"speed=99;odd") << Narrow(key);
  EXPECT_EQ(RuleValue(L"bin\\x.exe"), L"reverse");
  // The page changed no name, so OK leaves the hand-edited value as it was;
  // it reads back as the same 32 names.
  EXPECT_EQ(ListKey(), std::wstring(list.begin(), list.begin() + 2047));
}

TEST_F(Page, ProgramRules_SetRemovedAndAddedThenOk_WritesExactlyTheRulesSet) {
  ASSERT_TRUE(
      copy.WriteSettings("[Programs]\r\nnotepad.exe=speed=9;reverse\r\n"
                         "old.exe=scrollbars;speed=2;future-option\r\ncalc.exe=speed=5\r\n"));
  const std::wstring tool = ProgramFile(L"New & Tool.exe");
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(RuleShown(window, 3));
  EXPECT_TRUE(WaitForElementState(window, L"RULE_REVERSE_1", kChecked, true, kReactMs));
  EXPECT_TRUE(WaitForElementState(window, L"RULE_SCROLLBARS_2", kChecked, true, kReactMs));

  // Each speed button also pressed once past its end of the range.
  Click(window, L"RULE_FASTER_1");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  Click(window, L"RULE_FASTER_1");
  Toggle(window, L"RULE_REVERSE_1", false);
  Toggle(window, L"RULE_SCROLLBARS_1", true);
  Click(window, L"RULE_SLOWER_2");
  Click(window, L"RULE_SLOWER_2");
  Toggle(window, L"RULE_REVERSE_2", true);
  // The box above the rows is switched once the removal is done.
  Click(window, L"RULE_REMOVE_3");
  Toggle(window, L"CHECKBOX_REVERSE_VERTICAL", true);
  EXPECT_FALSE(RuleShown(window, 3));
  ASSERT_TRUE(AddProgram(window, tool, L"LINK_ADD_RULE"));
  ASSERT_TRUE(RuleShown(window, 3));
  // The rows drawn anew keep what was set in them.
  EXPECT_TRUE(WaitForElementState(window, L"RULE_SCROLLBARS_1", kChecked, true, kReactMs));
  EXPECT_TRUE(WaitForElementState(window, L"RULE_REVERSE_1", kChecked, false, kReactMs));
  Toggle(window, L"CHECKBOX_PAUSE_SCROLL_LOCK", true);
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(RuleValue(L"notepad.exe"), L"speed=10;scrollbars");
  EXPECT_EQ(RuleValue(L"old.exe"), L"speed=1;reverse;scrollbars;future-option");
  EXPECT_EQ(RuleValue(L"New & Tool.exe"), L"speed=1");
  EXPECT_EQ(RuleValue(L"calc.exe"), L"?");
  EXPECT_EQ(Key(L"ReverseVertical"), 1);
  EXPECT_EQ(Key(L"PauseWithScrollLock"), 1);
  EXPECT_NE(Key(L"ReverseHorizontal"), 1);
}

}  // namespace
}  // namespace ks::test
