// The autorun box follows the Run value while the page is open, whoever
// changes it.
#include <gtest/gtest.h>

#include "tests/config/config_session.h"

namespace ks::test {
namespace {

constexpr UINT kChecked = 0x40;

using AutorunWatch = ConfigSession;

TEST_F(AutorunWatch, RunValueWrittenAndRemovedByAnotherProgram_TurnsTheBoxOnAndOff) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, false, kReactMs));

  ASSERT_TRUE(RunValueGuard::Write(copy.AgentPath()));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, true, kReactMs));
  // The watcher's change does not recompute the marker.
  EXPECT_EQ(WindowText(window), Title(false));

  RunValueGuard::Remove();
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, false, kReactMs));
}

TEST_F(AutorunWatch, RunValueNamingAnotherProgram_ShowsTheBoxOff) {
  ASSERT_TRUE(RunValueGuard::Write(copy.AgentPath()));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, true, kReactMs));
  ASSERT_TRUE(RunValueGuard::Write(L"C:\\Elsewhere\\Other.exe"));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, false, kReactMs));
}

TEST_F(AutorunWatch, PageClosedWithOk_EndsPromptlyAfterItsOwnRunWrite) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"CHECKBOX_AUTORUN");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  const ULONGLONG start = GetTickCount64();
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  // The watcher is woken and never holds the process.
  EXPECT_LT(GetTickCount64() - start, 5000u);
  EXPECT_EQ(RunValueGuard::Read(), std::optional<std::wstring>(copy.AgentPath()));
}

}  // namespace
}  // namespace ks::test
