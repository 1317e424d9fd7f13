// The process-wide settings and the module paths depend on where the program
// lies, so these tests copy this test program into a scratch directory, start
// the copy with only the InCopy tests selected, and read its exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/file_check.h"
#include "common/module_path.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/unique_handle.h"
#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

// Set for the copy only: the path the copy was started from.
constexpr wchar_t kCopyVariable[] = L"KS_COMMON_TESTS_COPY";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() &&
         CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                              static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

// Copies this program to `exe`, runs it there and returns its exit code; -1
// when it could not be copied or started. (Programs cannot be started from
// paths longer than MAX_PATH, so a cut module path cannot be produced here.)
int RunCopy(const std::wstring& exe) {
  if (!CopyFileW(ModulePath().c_str(), exe.c_str(), FALSE)) {
    ADD_FAILURE() << "copy failed, error " << GetLastError();
    return -1;
  }
  SetEnvironmentVariableW(kCopyVariable, exe.c_str());
  const ScopeExit clearVariable([] { SetEnvironmentVariableW(kCopyVariable, nullptr); });

  test::ChildProcess copy;
  if (!copy.Start(exe, L"--gtest_filter=InCopy.* --gtest_color=no")) {
    ADD_FAILURE() << "start failed, error " << GetLastError();
    return -1;
  }
  if (!copy.WaitForExit(60000)) {
    ADD_FAILURE() << "copy did not end";  // ChildProcess ends it on the way out.
    return -1;
  }
  return static_cast<int>(copy.ExitCode());
}

TEST(ProgramCopy, SettingsStoreUsesTheFileBesideTheProgram) {
  test::TempDir dir;
  const std::wstring settingsFile = dir.File(L"settings.ini");
  ASSERT_TRUE(test::WriteBytes(settingsFile,
                               "[Misc]\r\nWriteLog=0\r\nHScrollOnShift=1\r\nNoWheelIfMiddle=2\r\n"
                               "LangFile=Russian.lng\r\n"));

  EXPECT_EQ(RunCopy(dir.File(L"common_tests.exe")), 0);

  const std::vector<std::wstring> lines = test::ReadTextLines(settingsFile);
  for (const wchar_t* line : {L"HScrollOnCtrl=1", L"HScrollOnShift=1", L"NoWheelIfMiddle=2", L"WriteLog=0",
                              L"InstalledVersion_168=1", L"LangFile="}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
}

// The side of the test above that runs inside the copy.
TEST(InCopy, SettingsStore) {
  const std::wstring exe = Variable(kCopyVariable);
  if (exe.empty()) GTEST_SKIP() << "runs only in the copy that ProgramCopy starts";
  const std::wstring dir = DirectoryOf(exe, TrailingSeparator::With);

  EXPECT_EQ(CompareStringOrdinal(ModulePath().c_str(), -1, exe.c_str(), -1, TRUE), CSTR_EQUAL);
  EXPECT_EQ(ModuleDirectory().size(), dir.size());
  EXPECT_TRUE(StartsWithIgnoringCase(ModuleDirectory(), dir));
  EXPECT_EQ(ModuleDirectoryWithoutSeparator().size(), dir.size() - 1);
  EXPECT_TRUE(StartsWithIgnoringCase(SettingsFilePath(), dir));
  EXPECT_TRUE(FileExists(SettingsFilePath()));
  EXPECT_EQ(FileNameOf(SettingsFilePath()), L"settings.ini");

  Settings& settings = GetSettings();
  EXPECT_EQ(&settings, &GetSettings());
  EXPECT_EQ(BuildHookFlags(settings), 0x12u);
  EXPECT_EQ(settings.WriteLog, 0);
  EXPECT_EQ(settings.ShowBalloonOnStart, 1);
  EXPECT_EQ(settings.LangFile, L"Russian.lng");

  EXPECT_TRUE(CheckFirstRun());
  EXPECT_FALSE(CheckFirstRun());

  // Changes stay in memory until saved; later calls do not reread the file.
  settings.HScrollOnCtrl = 1;
  settings.LangFile.clear();
  EXPECT_EQ(GetSettings().HScrollOnCtrl, 1);
  EXPECT_TRUE(SaveSettings());
  settings.HScrollOnCtrl = 0;
  EXPECT_TRUE(LoadSettings());
  EXPECT_EQ(BuildHookFlags(GetSettings()), 0x13u);
}

}  // namespace
}  // namespace ks
