// Clicks on the tray icon as the shell reports them: a single click toggles
// the smart wheel once the double-click time has passed, a double click opens
// the settings instead, a right click opens the tray menu at the cursor. The
// toggle hotkey does what a single click does; Scroll Lock shows as a pause.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_config_run.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/agent/tray_user.h"
#include "tests/harness/agent_copy.h"

namespace ks::test {
namespace {

constexpr UINT kFlagsBalloon = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;
constexpr wchar_t kUninstalledReport[] = L"Log report uninstalled\n=================================";

class TrayClicks : public testing::Test {
 protected:
  void Start(const std::string& settings) {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
    ASSERT_TRUE(config_.Install());
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(tray_.WaitForRecords(1, kStartMs));
    seen_ = tray_.Records().size();
  }

  // Posts the reload and waits for the records it makes.
  void Reload(const std::string& settings, size_t records) {
    seen_ = tray_.Records().size();
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(PostMessageW(window_, RegisterWindowMessageW(kReloadMessage), 0, 0));
    ASSERT_TRUE(tray_.WaitForRecords(seen_ + records, kStartMs));
  }

  std::vector<TrayRecord> Fresh() {
    std::vector<TrayRecord> all = tray_.Records();
    return std::vector<TrayRecord>(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
  }

  FakeTray tray_;
  AgentCopy copy_;
  FakeConfig config_{copy_.dir()};
  AgentProcess agent_;
  HWND window_ = nullptr;
  size_t seen_ = 0;
};

TEST_F(TrayClicks, SingleClick_TogglesTheWheelOnlyAfterTheDoubleClickTime) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));

  const ULONGLONG pressed = GetTickCount64();
  ASSERT_TRUE(SendTrayNotification(window_, WM_LBUTTONDOWN));
  ASSERT_TRUE(SendTrayNotification(window_, WM_LBUTTONUP));
  // Still waiting for a possible second click.
  EXPECT_TRUE(Fresh().empty());
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 0u);

  ASSERT_TRUE(tray_.WaitForRecords(seen_ + 1, kStartMs));
  EXPECT_GE(GetTickCount64() - pressed, 400u);
  const TrayRecord off = Fresh().at(0);
  EXPECT_EQ(off.operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(off.flags, kFlagsBalloon);
  EXPECT_EQ(off.info, L"OFF");
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 1u);

  // A second click turns it back on.
  seen_ = tray_.Records().size();
  ASSERT_TRUE(SendTrayNotification(window_, WM_LBUTTONDOWN));
  ASSERT_TRUE(tray_.WaitForRecords(seen_ + 1, kStartMs));
  EXPECT_EQ(Fresh().at(0).info, L"On, Scroll horizontally [disabled]");
  EXPECT_NE(Fresh().at(0).iconHash, off.iconHash);
  EXPECT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs, 2));
}

TEST_F(TrayClicks, DoubleClick_OpensTheSettingsAndLeavesTheWheelAlone) {
  Start("WriteLog=1\r\n");
  ASSERT_TRUE(WaitForFileText(copy_.LogPath(), kTdxSuccess, kStartMs));

  // What the shell reports for a double click.
  for (UINT mouse : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}, UINT{WM_LBUTTONDBLCLK}, UINT{WM_LBUTTONUP}}) {
    ASSERT_TRUE(SendTrayNotification(window_, mouse));
  }
  ASSERT_TRUE(config_.WaitForCount("start", 1, kStartMs));
  // Well past the click timer: the first click's toggle never comes.
  PumpMessagesFor(1500);
  EXPECT_TRUE(Fresh().empty());
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 0u);
  EXPECT_EQ(config_.Count("start"), 1u);
}

TEST_F(TrayClicks, OtherMouseNotifications_AreAnsweredOneAndChangeNothing) {
  Start("WriteLog=1\r\n");
  for (UINT mouse :
       {UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONUP}, UINT{WM_RBUTTONDOWN}, UINT{WM_MBUTTONDOWN}, UINT{WM_RBUTTONDBLCLK}}) {
    EXPECT_TRUE(SendTrayNotification(window_, mouse)) << mouse;
  }
  PumpMessagesFor(1000);
  EXPECT_TRUE(Fresh().empty());
  EXPECT_EQ(WaitForPopupMenu(agent_.Id(), 0), nullptr);
  EXPECT_EQ(config_.Count("start"), 0u);
}

TEST_F(TrayClicks, RightClick_OpensTheMenuAtTheCursorUntilEscape) {
  Start("WriteLog=0\r\n");
  ASSERT_TRUE(SetCursorPos(120, 140));
  ASSERT_TRUE(PostTrayNotification(window_, WM_RBUTTONUP));
  HWND menu = WaitForPopupMenu(agent_.Id(), kStartMs);
  ASSERT_NE(menu, nullptr);
  RECT rect = {};
  ASSERT_TRUE(GetWindowRect(menu, &rect));
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 140);
  // Twelve entries, four of them separators: clearly taller than wide is not
  // required, but it holds more than a few lines.
  EXPECT_GT(rect.bottom - rect.top, 100);
  EXPECT_EQ(GetForegroundWindow(), window_);

  PressMenuKeys(menu, {VK_ESCAPE});
  EXPECT_TRUE(WaitForWindowGone(menu, kEndMs) || !IsWindowVisible(menu));
  // The agent's loop runs again.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
}

TEST_F(TrayClicks, ToggleHotkey_TakenOrUnreadable_IsLoggedAndBalloonedOnce_AFreeOneTogglesAsAClick) {
  // Another program holds Ctrl+Alt+K.
  ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'K'));
  Start("WriteLog=1\r\nShowBalloonOnStart=0\r\nToggleHotkey=Ctrl+Alt+K\r\n");
  // The add, then the balloon.
  ASSERT_TRUE(tray_.WaitForRecords(2, kStartMs));
  EXPECT_EQ(tray_.Records().at(1).info,
            L"On, Scroll horizontally [disabled]\nThe hotkey Ctrl+Alt+K is used by another program");
  Reload("WriteLog=1\r\nToggleHotkey=Ctrl+Oops\r\n", 2);
  EXPECT_EQ(Fresh().at(1).info,
            L"On, Scroll horizontally [disabled]\nThe hotkey Ctrl+Oops cannot be read: write it like Ctrl+Alt+W");
  Reload("WriteLog=1\r\nToggleHotkey=Ctrl+Alt+K\r\n", 1);
  Reload("WriteLog=1\r\nToggleHotkey=Ctrl+Alt+J\r\n", 1);
  // Only the first time of each text, and every plain refresh without one.
  size_t balloons = 0;
  for (const TrayRecord& r : tray_.Records()) balloons += r.flags == kFlagsBalloon ? 1 : 0;
  EXPECT_EQ(balloons, 2u);
  UnregisterHotKey(nullptr, 7);
  const std::wstring log = copy_.LogText();
  EXPECT_EQ(CountOf(log, L"Toggle hotkey Ctrl+Alt+K is held by another program, error 1409"), 2u);
  EXPECT_EQ(CountOf(log, L"Toggle hotkey Ctrl+Oops cannot be read"), 1u);
  ASSERT_EQ(CountOf(log, L"Toggle hotkey Ctrl+Alt+J registered"), 1u);

  seen_ = tray_.Records().size();
  PressKeysTogether({VK_CONTROL, VK_MENU, 'J'});
  ASSERT_TRUE(tray_.WaitForRecords(seen_ + 1, kStartMs));
  EXPECT_EQ(Fresh().at(0).info, L"OFF");
  // One uninstall for each of the three reloads, one for the hotkey.
  EXPECT_EQ(CountOf(copy_.LogText(), kUninstalledReport), 4u);
}

TEST_F(TrayClicks, ScrollLockWithThePauseOn_ShowsThePausedTipUntilItGoesOff) {
  Start("WriteLog=0\r\nShowBalloonOnStart=0\r\nPauseWithScrollLock=1\r\n");
  const TrayRecord on = tray_.Records().back();
  ASSERT_NE(on.tip.find(L"\n[On]\n"), std::wstring::npos);
  PressKeysTogether({VK_SCROLL});
  ASSERT_TRUE(tray_.WaitForRecords(seen_ + 1, kStartMs));
  const TrayRecord paused = Fresh().at(0);
  EXPECT_EQ(paused.tip.substr(paused.tip.find(L'\n')), L"\n[Paused by Scroll Lock]");
  EXPECT_NE(paused.iconHash, on.iconHash);
  seen_ = tray_.Records().size();
  PressKeysTogether({VK_SCROLL});
  ASSERT_TRUE(tray_.WaitForRecords(seen_ + 1, kStartMs));
  EXPECT_EQ(Fresh().at(0).tip, on.tip);
  EXPECT_EQ(Fresh().at(0).iconHash, on.iconHash);
}

}  // namespace
}  // namespace ks::test
