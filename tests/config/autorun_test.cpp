// The autorun box follows the Run value while the page is open, whoever
// changes it.
#include <gtest/gtest.h>

#include "config/autorun_watcher.h"
#include "tests/config/config_session.h"
#include "tests/harness/run_value_guard.h"

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

// The value is another copy's: OK with the box off leaves it to that copy.
TEST_F(AutorunWatch, RunValueNamingAnotherProgram_ShowsTheBoxOff_AndOkKeepsIt) {
  ASSERT_TRUE(RunValueGuard::Write(copy.AgentPath()));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, true, kReactMs));
  ASSERT_TRUE(RunValueGuard::Write(L"C:\\Elsewhere\\Other.exe"));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_AUTORUN", kChecked, false, kReactMs));
  Click(window, L"BUTTON_OK");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(RunValueGuard::Read(), std::optional<std::wstring>(L"C:\\Elsewhere\\Other.exe"));
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

// The watcher on its own, in this process: a message-only window counts what
// it is told.
class WatcherInProcess : public testing::Test {
 protected:
  static constexpr UINT kChangedMessage = WM_APP + 7;

  void SetUp() override {
    ASSERT_TRUE(run_.saved());
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    watcher_.Stop();
    if (window_ != nullptr) DestroyWindow(window_);
  }

  // Waits up to timeoutMs for the watcher's next message.
  bool TakeMessage(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
      MSG msg;
      if (PeekMessageW(&msg, window_, kChangedMessage, kChangedMessage, PM_REMOVE)) return true;
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
    }
  }

  RunValueGuard run_{true};
  AutorunWatcher watcher_;
  HWND window_ = nullptr;
};

// The page reads the value again once Start returns: a change made right
// after it must reach the page, and so must the next one; nothing comes
// without a change, so the user's click on the box is never undone.
TEST_F(WatcherInProcess, ChangeRightAfterStart_ReachesThePage_NothingWithoutAChange_NothingAfterStop) {
  ASSERT_TRUE(watcher_.Start(window_, kChangedMessage));
  ASSERT_TRUE(RunValueGuard::Write(L"C:\\Before\\KSAgent.exe"));
  EXPECT_TRUE(TakeMessage(kReactMs));
  EXPECT_FALSE(TakeMessage(500));

  ASSERT_TRUE(RunValueGuard::Remove());
  EXPECT_TRUE(TakeMessage(kReactMs));

  watcher_.Stop();
  ASSERT_TRUE(RunValueGuard::Write(L"C:\\After\\KSAgent.exe"));
  EXPECT_FALSE(TakeMessage(1000));
}

}  // namespace
}  // namespace ks::test
