// The tray menu as the user sees and uses it: opened by a right click on the
// icon, its check marks following the hook and the Run value, its items
// chosen with the keyboard.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>

#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_config_run.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/run_value_guard.h"
#include "tests/agent/tray_user.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

constexpr wchar_t kUninstalledReport[] = L"Log report uninstalled\n=================================";

// Keys from the menu's first state (nothing selected): up goes to the last
// item and on upwards over the separators.
const std::vector<WORD> kChooseExit = {VK_UP, VK_RETURN};
const std::vector<WORD> kChooseEnable = {VK_UP, VK_UP, VK_RETURN};
const std::vector<WORD> kChooseStartWithWindows = {VK_UP, VK_UP, VK_UP, VK_RETURN};
const std::vector<WORD> kChooseSettings = {VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN};

struct Picture {
  SIZE size = {};
  std::vector<DWORD> pixels;
};

// The rectangle where two pictures of the same menu differ; empty when they
// are the same.
RECT Difference(const Picture& a, const Picture& b) {
  RECT box = {LONG_MAX, LONG_MAX, -1, -1};
  for (LONG y = 0; y < a.size.cy; ++y) {
    for (LONG x = 0; x < a.size.cx; ++x) {
      const size_t at = static_cast<size_t>(y) * static_cast<size_t>(a.size.cx) + static_cast<size_t>(x);
      if (a.pixels[at] == b.pixels[at]) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box.right < 0 ? RECT{} : box;
}

class TrayMenu : public testing::Test {
 protected:
  void Start(const std::string& settings) {
    ASSERT_TRUE(run_.saved());
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
    ASSERT_TRUE(config_.Install());
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(tray_.WaitForRecords(1, kStartMs));
  }

  // Right click on the icon with the cursor at a fixed point.
  HWND OpenMenu() {
    EXPECT_TRUE(SetCursorPos(60, 60));
    EXPECT_TRUE(PostTrayNotification(window_, WM_RBUTTONUP));
    HWND menu = WaitForPopupMenu(agent_.Id(), kStartMs);
    EXPECT_NE(menu, nullptr);
    // Drawn by the time the agent answers again.
    PumpMessagesFor(300);
    return menu;
  }

  void Choose(const std::vector<WORD>& keys) {
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    PressMenuKeys(menu, keys);
    ASSERT_TRUE(WaitForMenuClosed(menu));
  }

  bool WaitForMenuClosed(HWND menu) {
    const ULONGLONG end = GetTickCount64() + kEndMs;
    while (IsWindow(menu) && IsWindowVisible(menu)) {
      if (GetTickCount64() >= end) return false;
      PumpMessagesFor(20);
    }
    return true;
  }

  Picture MenuPicture() {
    Picture picture;
    HWND menu = OpenMenu();
    if (menu == nullptr) return picture;
    picture.pixels = CaptureWindow(menu, &picture.size);
    PressMenuKeys(menu, {VK_ESCAPE});
    EXPECT_TRUE(WaitForMenuClosed(menu));
    return picture;
  }

  void Command(WORD id) {
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window_, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  }

  RunValueGuard run_;  // the Run value is put back as it was
  FakeTray tray_;
  AgentCopy copy_;
  FakeConfig config_{copy_.dir()};
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(TrayMenu, CheckMarks_FollowTheHookAndTheRunValue) {
  Start("WriteLog=0\r\n");
  ASSERT_TRUE(RunValueGuard::Remove());
  const Picture hookOn = MenuPicture();
  ASSERT_FALSE(hookOn.pixels.empty());
  // Nothing else changes between two openings in the same state.
  const Picture again = MenuPicture();
  ASSERT_EQ(again.pixels.size(), hookOn.pixels.size());
  EXPECT_EQ(Difference(hookOn, again).right, 0);

  Command(40001);  // Enable: the hook goes off
  const Picture hookOff = MenuPicture();
  ASSERT_EQ(hookOff.pixels.size(), hookOn.pixels.size());
  const RECT enableMark = Difference(hookOn, hookOff);

  ASSERT_TRUE(RunValueGuard::Write(copy_.Exe()));
  const Picture autorun = MenuPicture();
  ASSERT_EQ(autorun.pixels.size(), hookOn.pixels.size());
  const RECT autorunMark = Difference(hookOff, autorun);

  // Each mark is one small glyph in the check column at the left, in the
  // lower half of the menu; "Start With Windows" sits right above "Enable".
  const LONG width = hookOn.size.cx;
  const LONG height = hookOn.size.cy;
  for (const RECT& mark : {enableMark, autorunMark}) {
    EXPECT_GT(mark.right, mark.left);
    EXPECT_LT(mark.right, width / 4);
    EXPECT_LT(mark.bottom - mark.top, height / 8);
    EXPECT_GT(mark.top, height / 2);
  }
  EXPECT_LE(autorunMark.bottom, enableMark.top);
  EXPECT_LT(enableMark.top - autorunMark.bottom, height / 8);
}

TEST_F(TrayMenu, ChoosingEnable_TurnsTheWheelOffAndShowsIt) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  const size_t before = tray_.Records().size();
  Choose(kChooseEnable);
  ASSERT_TRUE(tray_.WaitForRecords(before + 1, kStartMs));
  EXPECT_EQ(tray_.Records().back().info, L"OFF");
  EXPECT_TRUE(WaitForFileText(copy_.LogPath(), kUninstalledReport, kStartMs));
}

TEST_F(TrayMenu, ChoosingStartWithWindows_WritesTheAgentPath) {
  Start("WriteLog=0\r\n");
  ASSERT_TRUE(RunValueGuard::Remove());
  Choose(kChooseStartWithWindows);
  // The command is carried out after the menu has closed.
  EXPECT_TRUE(RunValueGuard::WaitFor(copy_.Exe(), kEndMs)) << Narrow(RunValueGuard::Read().value_or(L"<absent>"));
}

TEST_F(TrayMenu, ChoosingSettings_StartsTheSettingsProgram) {
  Start("WriteLog=0\r\n");
  Choose(kChooseSettings);
  EXPECT_TRUE(config_.WaitForCount("start", 1, kStartMs));
}

TEST_F(TrayMenu, ChoosingExit_RemovesTheIconAndTheHookAndEndsTheAgent) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));
  Choose(kChooseExit);
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));
  EXPECT_EQ(agent_.ExitCode(), 0u);
  EXPECT_EQ(tray_.Records().back().operation, static_cast<DWORD>(NIM_DELETE));
  EXPECT_TRUE(tray_.Records().back().accepted);
  const std::wstring log = copy_.LogText();
  EXPECT_EQ(CountOf(log, kUninstalledReport), 1u);
  EXPECT_GT(log.rfind(kUninstalledReport), log.rfind(kTdxSuccess));
}

}  // namespace
}  // namespace ks::test

namespace ks::test {
namespace {

// Waits up to timeoutMs for the agent's tooltip to be on the screen (or,
// with shown false, to be gone).
bool WaitForTip(DWORD processId, bool shown, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (VisibleWindowsOf(processId, L"tooltips_class32").empty() != shown) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(50);
  }
}

TEST_F(TrayMenu, RestingOnEnable_ShowsItsTooltipUntilTheMenuCloses) {
  Start("WriteLog=0\r\n");
  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(WaitForTip(agent_.Id(), false, 0));
  PressMenuKeys(menu, {VK_UP, VK_UP});  // Exit, then Enable
  EXPECT_TRUE(WaitForTip(agent_.Id(), true, 5000));
  PressMenuKeys(menu, {VK_ESCAPE});
  ASSERT_TRUE(WaitForMenuClosed(menu));
  EXPECT_TRUE(WaitForTip(agent_.Id(), false, 5000));
}

}  // namespace
}  // namespace ks::test
