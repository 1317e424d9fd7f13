#include "common/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "common/file_check.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

class SettingsFile : public testing::Test {
 protected:
  void Write(const std::string& text) { ASSERT_TRUE(test::WriteBytes(path_, text)) << test::Narrow(path_); }
  std::vector<std::wstring> Lines() const { return test::ReadTextLines(path_); }
  bool HasLine(const std::wstring& line) const {
    const std::vector<std::wstring> lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  test::TempDir dir_;
  const std::wstring path_ = dir_.File(L"settings.ini");
};

TEST_F(SettingsFile, NoFile_GivesInitialValuesAndCreatesNothing) {
  Settings settings;
  EXPECT_TRUE(LoadSettings(settings, path_));
  EXPECT_EQ(settings.ShowBalloonOnStart, 1);
  EXPECT_EQ(settings.StartAsDisabled, 0);
  EXPECT_EQ(settings.WriteLog, 1);
  EXPECT_EQ(BuildHookFlags(settings), 0u);
  EXPECT_EQ(settings.LangFile, L"");
  EXPECT_FALSE(FileExists(path_));
}

TEST_F(SettingsFile, ReloadAfterKeysRemoved_KeepsFirstThreeAndClearsTheRest) {
  Write(
      "[Misc]\r\nShowBalloonOnStart=0\r\nStartAsDisabled=1\r\nWriteLog=0\r\n"
      "HScrollOnShift=1\r\nHScrollOnCtrl=1\r\nHScrollOnRButton=1\r\nHScrollOnLButton=1\r\n"
      "NoWheelIfMiddle=1\r\nLangFile=C:\\Kestrow\\Russian.lng\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  ASSERT_EQ(BuildHookFlags(settings), 0x1Fu);
  ASSERT_EQ(settings.LangFile, L"C:\\Kestrow\\Russian.lng");

  Write("[Misc]\r\nInstalledVersion_168=1\r\n");
  LoadSettings(settings, path_);
  EXPECT_EQ(settings.ShowBalloonOnStart, 0);
  EXPECT_EQ(settings.StartAsDisabled, 1);
  EXPECT_EQ(settings.WriteLog, 0);
  EXPECT_EQ(BuildHookFlags(settings), 0u);
  EXPECT_EQ(settings.LangFile, L"");
}

TEST_F(SettingsFile, ShiftAndMiddleKeys_Give0x12_AndTwoCountsAsOn) {
  Write("[Misc]\r\nHScrollOnShift=1\r\nNoWheelIfMiddle=1\r\nHScrollOnCtrl=0\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  EXPECT_EQ(BuildHookFlags(settings), 0x12u);

  Write("[Misc]\r\nHScrollOnShift=2\r\nNoWheelIfMiddle=2\r\nHScrollOnCtrl=0\r\n");
  LoadSettings(settings, path_);
  EXPECT_EQ(BuildHookFlags(settings), 0x12u);
}

TEST_F(SettingsFile, AllWheelKeys_Give0x1F) {
  Write(
      "[Misc]\r\nHScrollOnShift=1\r\nHScrollOnCtrl=1\r\nHScrollOnRButton=1\r\n"
      "HScrollOnLButton=1\r\nNoWheelIfMiddle=1\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  EXPECT_EQ(BuildHookFlags(settings), 0x1Fu);
}

TEST(BuildHookFlags, LeftAndRightButtons_HaveTheirOwnBits) {
  Settings left;
  left.HScrollOnLButton = 1;
  EXPECT_EQ(BuildHookFlags(left), 0x04u);
  Settings right;
  right.HScrollOnRButton = -1;
  EXPECT_EQ(BuildHookFlags(right), 0x08u);
}

TEST_F(SettingsFile, CheckFirstRun_CreatesMarkerOnce) {
  EXPECT_TRUE(CheckFirstRun(path_));
  const std::vector<std::wstring> afterFirst = Lines();
  EXPECT_EQ(afterFirst, (std::vector<std::wstring>{L"[Misc]", L"InstalledVersion_168=1"}));

  EXPECT_FALSE(CheckFirstRun(path_));
  EXPECT_EQ(Lines(), afterFirst);
}

TEST_F(SettingsFile, CheckFirstRun_TakesZeroMarkerAsFirstRun) {
  Write("[Misc]\r\nInstalledVersion_168=0\r\n");
  EXPECT_TRUE(CheckFirstRun(path_));
  EXPECT_TRUE(HasLine(L"InstalledVersion_168=1"));
}

TEST_F(SettingsFile, SaveWithNothingChanged_WritesEveryKey) {
  Write("[Misc]\r\nWriteLog=0\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  EXPECT_TRUE(SaveSettings(settings, path_));

  for (const wchar_t* line :
       {L"ShowBalloonOnStart=1", L"StartAsDisabled=0", L"WriteLog=0", L"HScrollOnCtrl=0", L"HScrollOnShift=0",
        L"HScrollOnLButton=0", L"HScrollOnRButton=0", L"NoWheelIfMiddle=0", L"InstalledVersion_168=1", L"LangFile=",
        L"ReverseVertical=0", L"ReverseHorizontal=0", L"PauseWithScrollLock=0", L"ToggleHotkey="}) {
    EXPECT_TRUE(HasLine(line)) << line;
  }
}

TEST_F(SettingsFile, SaveThenLoad_GivesTheSameRecord) {
  Settings saved;
  saved.HScrollOnCtrl = 1;
  saved.HScrollOnRButton = 1;
  saved.ShowBalloonOnStart = 0;
  saved.StartAsDisabled = 1;
  saved.WriteLog = 0;
  saved.LangFile = L"C:\\Program Files\\Kestrow\\German.lng";
  SaveSettings(saved, path_);

  Settings loaded;
  LoadSettings(loaded, path_);
  EXPECT_TRUE(SettingsEqual(loaded, saved));
  EXPECT_EQ(BuildHookFlags(loaded), 0x09u);
  EXPECT_EQ(loaded.LangFile, saved.LangFile);
}

TEST_F(SettingsFile, EmptyLangFile_StaysInFileAsEmptyValue) {
  Settings settings;
  settings.LangFile = L"C:\\Kestrow\\Russian.lng";
  ASSERT_TRUE(WriteLangFile(settings, path_));
  settings.LangFile.clear();
  EXPECT_TRUE(WriteLangFile(settings, path_));
  EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"[Misc]", L"LangFile="}));
}

TEST_F(SettingsFile, LangFileOf300Characters_IsCutTo259) {
  const std::string longValue = "C:\\" + std::string(297, 'a');
  Write("[Misc]\r\nLangFile=" + longValue + "\r\nWriteLog=0\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  EXPECT_EQ(settings.LangFile, std::wstring(longValue.begin(), longValue.begin() + 259));
  EXPECT_EQ(settings.WriteLog, 0);

  // A record holding more writes no more than a read can take back.
  settings.LangFile.assign(300, L'b');
  EXPECT_TRUE(WriteLangFile(settings, path_));
  EXPECT_TRUE(HasLine(L"LangFile=" + std::wstring(259, L'b')));
}

TEST_F(SettingsFile, WriteIntoMissingFolder_FailsAndKeepsRecord) {
  const std::wstring unreachable = dir_.File(L"missing\\settings.ini");
  Settings settings;
  settings.LangFile = L"Russian.lng";
  EXPECT_FALSE(WriteLangFile(settings, unreachable));
  EXPECT_TRUE(SaveSettings(settings, unreachable));
  EXPECT_EQ(settings.LangFile, L"Russian.lng");
  EXPECT_FALSE(FileExists(unreachable));
}

TEST_F(SettingsFile, FileWithoutTheProgramKeys_ListsNoneAndLeavesFullScreenAlone) {
  Write("[Misc]\r\nWriteLog=0\r\nHScrollOnShift=1\r\nInstalledVersion_168=1\r\nLangFile=\r\n");
  Settings settings;
  settings.ExcludePrograms = {L"old.exe"};
  settings.LeaveFullScreen = 0;
  LoadSettings(settings, path_);
  EXPECT_TRUE(settings.ExcludePrograms.empty());
  EXPECT_EQ(settings.LeaveFullScreen, 1);
  EXPECT_EQ(BuildHookFlags(settings), 0x02u);
}

TEST_F(SettingsFile, HandEditedList_GivesTheFirst32ValidNamesAndSavesOnlyThem) {
  std::string list = "\"quoted.exe\";..\\;   ;" + std::string(2000, 'x') + "; mstsc.exe ;MSTSC.exe;";
  for (int i = 0; i < 500; ++i) list += "p" + std::to_string(i) + ".exe;";
  Write("[Misc]\r\nExcludePrograms=" + list + "\r\nLeaveFullScreen=0\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  ASSERT_EQ(settings.ExcludePrograms.size(), 32u);
  EXPECT_EQ(settings.ExcludePrograms[0], L"mstsc.exe");
  EXPECT_EQ(settings.ExcludePrograms[1], L"p0.exe");
  EXPECT_EQ(settings.ExcludePrograms[31], L"p30.exe");
  EXPECT_EQ(settings.LeaveFullScreen, 0);

  // Written back in force only.
  settings.ExcludePrograms.push_back(L"..\\bad.exe");
  SaveSettings(settings, path_);
  std::wstring inForce = L"ExcludePrograms=mstsc.exe";
  for (int i = 0; i < 31; ++i) inForce += L";p" + std::to_wstring(i) + L".exe";
  EXPECT_TRUE(HasLine(inForce));
  EXPECT_TRUE(HasLine(L"LeaveFullScreen=0"));
}

TEST_F(SettingsFile, ListLongerThanIsRead_LosesItsCutLastName) {
  // The read stops 65535 characters in, inside the last name.
  Write("[Misc]\r\nExcludePrograms=first.exe" + std::string(65530, ';') + "abcdefghij.exe\r\nWriteLog=0\r\n");
  Settings settings;
  LoadSettings(settings, path_);
  EXPECT_EQ(settings.ExcludePrograms, std::vector<std::wstring>{L"first.exe"});
  EXPECT_EQ(settings.WriteLog, 0);
}

TEST_F(SettingsFile, ProgramsAndSwitch_SurviveSaveAndLoad) {
  Settings saved;
  saved.ExcludePrograms = {L"mstsc.exe", L"Tom & Jerry's game.exe", L"vm player.exe"};
  saved.LeaveFullScreen = 0;
  SaveSettings(saved, path_);
  EXPECT_TRUE(HasLine(L"ExcludePrograms=mstsc.exe;Tom & Jerry's game.exe;vm player.exe"));
  // A new file gets the two keys after those it had before.
  const std::vector<std::wstring> lines = Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3].rfind(L"LangFile=", 0), 0u);
  EXPECT_EQ(lines[lines.size() - 2].rfind(L"ExcludePrograms=", 0), 0u);
  EXPECT_EQ(lines[lines.size() - 1], L"LeaveFullScreen=0");
  Settings loaded;
  LoadSettings(loaded, path_);
  EXPECT_EQ(loaded.ExcludePrograms, saved.ExcludePrograms);
  EXPECT_EQ(loaded.LeaveFullScreen, 0);

  saved.ExcludePrograms.clear();
  SaveSettings(saved, path_);
  EXPECT_TRUE(HasLine(L"ExcludePrograms="));
  LoadSettings(loaded, path_);
  EXPECT_TRUE(loaded.ExcludePrograms.empty());
}

// Names in scripts no Western code page holds, and one beyond the Basic
// Multilingual Plane, come back whole.
TEST_F(SettingsFile, NewFile_IsUnicodeAndKeepsEveryCharacter) {
  Settings saved;
  saved.ExcludePrograms = {L"\u041a\u043e\u043b\u0435\u0441\u043e.exe", L"\u753b\u50cf.exe", L"\U0001F600.exe"};
  saved.LangFile = L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439.lng";
  SaveSettings(saved, path_);
  EXPECT_EQ(test::ReadBytes(path_).compare(0, 2, "\xFF\xFE"), 0);
  Settings loaded;
  LoadSettings(loaded, path_);
  EXPECT_EQ(loaded.ExcludePrograms, saved.ExcludePrograms);
  EXPECT_EQ(loaded.LangFile, saved.LangFile);
}

TEST_F(SettingsFile, OldAnsiFile_StaysByteForByteUntilAValueNeedsUnicode_ThenKeepsEveryLine) {
  const std::string old =
      "; kept\r\n[Misc]\r\nWriteLog=0\r\nFutureKey=caf\xE9\r\nLangFile=German.lng\r\n[Other]\r\nx=1\r\n";
  Write(old);
  Settings settings;
  LoadSettings(settings, path_);
  EXPECT_EQ(settings.LangFile, L"German.lng");
  EXPECT_TRUE(WriteLangFile(settings, path_));
  EXPECT_EQ(test::ReadBytes(path_), old);

  settings.LangFile = L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439.lng";
  EXPECT_TRUE(WriteLangFile(settings, path_));
  EXPECT_EQ(test::ReadBytes(path_).compare(0, 2, "\xFF\xFE"), 0);
  EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"; kept", L"[Misc]", L"WriteLog=0", L"FutureKey=caf\u00e9",
                                                L"LangFile=" + settings.LangFile, L"[Other]", L"x=1"}));
  Settings loaded;
  LoadSettings(loaded, path_);
  EXPECT_EQ(loaded.LangFile, settings.LangFile);
  EXPECT_EQ(loaded.WriteLog, 0);
}

TEST_F(SettingsFile, WheelOptionsAndRules_SurviveSaveAndLoad_WithCyrillicAndCjkKeys) {
  Settings saved;
  saved.ReverseVertical = saved.ReverseHorizontal = saved.PauseWithScrollLock = 1;
  saved.ToggleHotkey = L"Ctrl+Alt+W";
  saved.ProgramRules = {ParseProgramRule(L"notepad.exe", L"speed=3;reverse"),
                        ParseProgramRule(L"old.exe", L"scrollbars;speed=2;future-option"),
                        ParseProgramRule(L"\u041a\u043e\u043b\u0435\u0441\u043e.exe", L"reverse"),
                        ParseProgramRule(L"\u753b\u50cf.exe", L"speed=10")};
  SaveSettings(saved, path_);
  EXPECT_TRUE(HasLine(L"[Programs]") && HasLine(L"notepad.exe=speed=3;reverse"));
  EXPECT_TRUE(HasLine(L"old.exe=speed=2;scrollbars;future-option"));
  Settings loaded;
  LoadSettings(loaded, path_);
  EXPECT_TRUE(SettingsEqual(loaded, saved));
  EXPECT_EQ(BuildHookFlags(loaded), 0xE0u);
  ASSERT_EQ(loaded.ProgramRules.size(), 4u);
  EXPECT_EQ(loaded.ProgramRules[2].program, saved.ProgramRules[2].program);
}

TEST_F(SettingsFile, BadProgramValues_KeepTheValidRulesAndTheDefaults) {
  std::string file =
      "[Misc]\r\nReverseVertical=1\r\n[Programs]\r\nzero.exe=speed=0;reverse\r\nbig.exe=speed=99\r\n"
      "words.exe=make it scroll faster please\r\ngood.exe=speed=4\r\nbad\\name.exe=speed=2\r\n";
  for (int i = 0; i < 500; ++i) file += "p" + std::to_string(i) + ".exe=speed=2\r\n";
  Write(file);
  Settings settings;
  LoadSettings(settings, path_);
  ASSERT_EQ(settings.ProgramRules.size(), 32u);
  EXPECT_EQ(FormatRuleOptions(settings.ProgramRules[0]), L"speed=1;reverse");
  EXPECT_EQ(FormatRuleOptions(settings.ProgramRules[1]), L"speed=1");
  EXPECT_EQ(settings.ProgramRules[2].otherOptions, std::vector<std::wstring>{L"make it scroll faster please"});
  EXPECT_EQ(settings.ProgramRules[3].speed, 4);
  EXPECT_EQ(settings.ProgramRules[4].program, L"p0.exe");
  EXPECT_EQ(settings.ProgramRules[31].program, L"p27.exe");
  EXPECT_EQ(BuildHookFlags(settings), 0x20u);
}

TEST_F(SettingsFile, SaveChanged_WritesOnlyTheChangedRuleKeys_EvenIntoAnAnsiFile) {
  std::string file =
      "[Misc]\r\nWriteLog=0\r\n[Programs]\r\nkeep.exe=Reverse ; SPEED=2\r\nchange.exe=speed=2\r\n"
      "gone.exe=reverse\r\n";
  for (int i = 0; i < 40; ++i) file += "p" + std::to_string(i) + ".exe=speed=3\r\n";
  Write(file);
  Settings before;
  LoadSettings(before, path_);
  ASSERT_EQ(before.ProgramRules.size(), 32u);
  Settings after = before;
  after.ProgramRules[1].speed = 5;
  ASSERT_TRUE(RemoveRule(after.ProgramRules, L"gone.exe"));
  ASSERT_EQ(AddRule(after.ProgramRules, L"\u041a\u043e\u043b\u0435\u0441\u043e.exe"), AddProgramResult::Added);
  SaveChangedSettings(before, after, path_);

  EXPECT_EQ(test::ReadBytes(path_).compare(0, 2, "\xFF\xFE"), 0);
  EXPECT_TRUE(HasLine(L"keep.exe=Reverse ; SPEED=2"));
  EXPECT_TRUE(HasLine(L"change.exe=speed=5"));
  EXPECT_TRUE(HasLine(L"\u041a\u043e\u043b\u0435\u0441\u043e.exe=speed=1"));
  EXPECT_TRUE(HasLine(L"p39.exe=speed=3"));
  for (const std::wstring& line : Lines()) EXPECT_NE(line.rfind(L"gone.exe", 0), 0u);
  EXPECT_FALSE(HasLine(L"ReverseVertical=0"));
}

TEST(SettingsEqual, ProgramListAsASet_AndTheFullScreenSwitchCount) {
  Settings a;
  a.ExcludePrograms = {L"a.exe", L"b.exe"};
  Settings b = a;
  b.ExcludePrograms = {L"B.EXE", L"a.exe"};
  EXPECT_TRUE(SettingsEqual(a, b));
  b.ExcludePrograms.pop_back();
  EXPECT_FALSE(SettingsEqual(a, b));
  Settings c = a;
  c.LeaveFullScreen = 0;
  EXPECT_FALSE(SettingsEqual(a, c));
}

TEST(SettingsEqual, EachComparedFieldCounts_LangFileDoesNot) {
  int Settings::*const fields[] = {
      &Settings::HScrollOnCtrl,     &Settings::HScrollOnShift,     &Settings::HScrollOnRButton,
      &Settings::HScrollOnLButton,  &Settings::NoWheelIfMiddle,    &Settings::ShowBalloonOnStart,
      &Settings::StartAsDisabled,   &Settings::WriteLog,           &Settings::ReverseVertical,
      &Settings::ReverseHorizontal, &Settings::PauseWithScrollLock};
  const Settings base;
  for (size_t i = 0; i < std::size(fields); ++i) {
    Settings changed = base;
    changed.*fields[i] = 7;
    EXPECT_FALSE(SettingsEqual(base, changed)) << "field " << i;
  }
  Settings changed = base;
  changed.ToggleHotkey = L"Ctrl+W";
  EXPECT_FALSE(SettingsEqual(base, changed));
  changed = base;
  AddRule(changed.ProgramRules, L"a.exe");
  EXPECT_FALSE(SettingsEqual(base, changed));
  Settings otherLanguage = base;
  otherLanguage.LangFile = L"Russian.lng";
  EXPECT_TRUE(SettingsEqual(base, otherLanguage));
}

}  // namespace
}  // namespace ks
