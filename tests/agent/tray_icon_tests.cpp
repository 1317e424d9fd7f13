// The tray icon as the shell receives it: what the agent adds, modifies and
// removes on each occasion, with the exact tip and balloon texts. The shell
// is played by fake_tray.exe.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "common/unique_handle.h"
#include "common/web_links.h"
#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

constexpr UINT kFlagsPlain = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT kFlagsBalloon = kFlagsPlain | NIF_STATE | NIF_INFO;

std::wstring ProductLine() { return L"Kestrow Agent 1.7.0.121 - " + std::wstring(ks::WebSiteHost()); }

// The system scale that programs started from now on see (Wine reads it at
// each program's start), put back afterwards.
class SystemScaleForNewPrograms {
 public:
  explicit SystemScaleForNewPrograms(DWORD dpi) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, key_.put(), nullptr) != ERROR_SUCCESS) {
      return;
    }
    DWORD size = sizeof saved_;
    had_ = RegQueryValueExW(key_.get(), L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&saved_), &size) ==
           ERROR_SUCCESS;
    set_ = RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
           ERROR_SUCCESS;
  }
  ~SystemScaleForNewPrograms() {
    if (!set_) return;
    if (had_) {
      RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved_), sizeof saved_);
    } else {
      RegDeleteValueW(key_.get(), L"LogPixels");
    }
  }
  SystemScaleForNewPrograms(const SystemScaleForNewPrograms&) = delete;
  SystemScaleForNewPrograms& operator=(const SystemScaleForNewPrograms&) = delete;
  bool set() const { return set_; }

 private:
  UniqueKey key_;
  DWORD saved_ = 0;
  bool had_ = false;
  bool set_ = false;
};

class TrayIcon : public testing::Test {
 protected:
  void Start(const std::string& settings, int refuseAdds = 0) {
    ASSERT_TRUE(tray_.Start(refuseAdds));
    ASSERT_TRUE(copy_.ready());
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
  }

  // Waits for the next `count` records after the ones already seen.
  std::vector<TrayRecord> Next(size_t count) {
    EXPECT_TRUE(tray_.WaitForRecords(seen_ + count, kStartMs));
    std::vector<TrayRecord> all = tray_.Records();
    std::vector<TrayRecord> fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
    seen_ = all.size();
    return fresh;
  }

  // Closes the agent started off, starts it on and returns its new icon's
  // record.
  TrayRecord CloseThenStartEnabled() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(agent_.WaitForExit(kEndMs));
    Next(1);  // the removal
    EXPECT_TRUE(copy_.WriteSettings("WriteLog=0\r\n"));
    EXPECT_TRUE(copy_.Start(enabled_));
    EXPECT_NE(WaitForAgentWindow(enabled_.Id(), kStartMs), nullptr);
    return Next(1).at(0);
  }

  void ExpectFromAgent(const TrayRecord& r) {
    EXPECT_EQ(r.window, static_cast<long>(reinterpret_cast<LONG_PTR>(window_)));
    EXPECT_EQ(r.id, 1u);
  }

  FakeTray tray_;
  AgentCopy copy_;
  AgentProcess agent_;
  AgentProcess enabled_;
  HWND window_ = nullptr;
  size_t seen_ = 0;
};

TEST_F(TrayIcon, StartUp_AddsTheOnIconWithItsBalloon) {
  Start("WriteLog=0\r\n");
  const std::vector<TrayRecord> records = Next(1);
  ASSERT_EQ(records.size(), 1u);
  const TrayRecord& r = records[0];
  ExpectFromAgent(r);
  EXPECT_EQ(r.operation, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.flags, kFlagsBalloon);
  EXPECT_EQ(r.callbackMessage, RegisterWindowMessageW(L"{020A8F9B-DCDF-483f-8385-FB04571390D2}"));
  EXPECT_EQ(r.infoFlags, static_cast<DWORD>(NIIF_USER));
  EXPECT_EQ(r.iconSize, L"16x16");
  EXPECT_EQ(r.tip, ProductLine() + L"\n[On]\nScroll horizontally [disabled]");
  EXPECT_EQ(r.info, L"On, Scroll horizontally [disabled]");
  EXPECT_EQ(r.infoTitle, ProductLine());
}

TEST_F(TrayIcon, SystemAt150Percent_BothIconsComeAtItsSmallIconSize) {
  const SystemScaleForNewPrograms scale(144);
  ASSERT_TRUE(scale.set());
  // The off icon has only a 16 x 16 image: it is scaled to the same size.
  Start("WriteLog=0\r\nStartAsDisabled=1\r\n");
  EXPECT_EQ(Next(1).at(0).iconSize, L"24x24");
  EXPECT_EQ(CloseThenStartEnabled().iconSize, L"24x24");
}

TEST_F(TrayIcon, StartAsDisabledWithoutStartBalloon_AddsTheOffIconWithTwoLineTip) {
  Start("WriteLog=0\r\nStartAsDisabled=1\r\nShowBalloonOnStart=0\r\nHScrollOnShift=1\r\n");
  const std::vector<TrayRecord> records = Next(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].flags, kFlagsPlain);
  EXPECT_EQ(records[0].tip, ProductLine() + L"\n[OFF]");
  EXPECT_EQ(records[0].info, L"");
  EXPECT_EQ(records[0].infoTitle, L"");
}

TEST_F(TrayIcon, Icons_DifferBetweenOnAndOff) {
  Start("WriteLog=0\r\nStartAsDisabled=1\r\n");
  const std::wstring offIcon = Next(1).at(0).iconHash;
  const std::wstring onIcon = CloseThenStartEnabled().iconHash;
  EXPECT_NE(offIcon, onIcon);
  EXPECT_NE(onIcon, L"0000000000000000");
}

TEST_F(TrayIcon, ShiftAndRightButton_AreListedInTipAndBalloon) {
  Start("WriteLog=0\r\nHScrollOnShift=1\r\nHScrollOnRButton=1\r\n");
  const std::vector<TrayRecord> records = Next(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].tip, ProductLine() + L"\n[On]\nScroll horizontally [on SHIFT, On right button]");
  EXPECT_EQ(records[0].info, L"On, Scroll horizontally [on SHIFT, On right button]");
}

TEST_F(TrayIcon, ExitSwitch_ShowsClosingBalloonThenRemovesTheIcon) {
  Start("WriteLog=0\r\n");
  Next(1);
  ChildProcess exiter;
  ASSERT_TRUE(copy_.Start(exiter, L"/exit"));
  ASSERT_TRUE(exiter.WaitForExit(kEndMs));
  EXPECT_EQ(exiter.ExitCode(), 2u);
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));

  const std::vector<TrayRecord> records = Next(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(records[0].flags, kFlagsBalloon);
  EXPECT_EQ(records[0].info, L"On, Scroll horizontally [disabled]\nExit from Kestrow");
  EXPECT_EQ(records[1].operation, static_cast<DWORD>(NIM_DELETE));
  EXPECT_TRUE(records[1].accepted);
  ExpectFromAgent(records[1]);
}

TEST_F(TrayIcon, SecondAgent_FirstShowsItsBalloonOnlyAfterTheBoxIsClosed) {
  Start("WriteLog=0\r\nShowBalloonOnStart=0\r\n");
  Next(1);
  AgentProcess second;
  ASSERT_TRUE(copy_.Start(second));
  HWND box = WaitForMessageBox(second.Id(), kStartMs);
  ASSERT_NE(box, nullptr);
  PumpMessagesFor(300);
  EXPECT_EQ(tray_.Records().size(), seen_);

  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  ASSERT_TRUE(second.WaitForExit(kEndMs));
  EXPECT_EQ(second.ExitCode(), 1u);
  // The add finds the icon there; the balloon comes with a modify.
  const std::vector<TrayRecord> records = Next(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].operation, static_cast<DWORD>(NIM_ADD));
  EXPECT_FALSE(records[0].accepted);
  EXPECT_EQ(records[1].operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(records[1].accepted);
  EXPECT_EQ(records[1].flags, kFlagsBalloon);
  EXPECT_EQ(records[1].info, L"On, Scroll horizontally [disabled]");
}

TEST_F(TrayIcon, TaskbarCreated_AddsTheIconAgainWithoutBalloon) {
  Start("WriteLog=0\r\n");
  Next(1);
  // The shell restarts: a new taskbar that knows no icons.
  tray_.Stop();
  FakeTray restarted;
  ASSERT_TRUE(restarted.Start());
  LRESULT answer = 0;
  ASSERT_TRUE(SendRegistered(window_, L"TaskbarCreated", 0, 0, &answer));
  EXPECT_EQ(answer, 1);
  ASSERT_TRUE(restarted.WaitForRecords(1, kStartMs));
  const TrayRecord r = restarted.Records().at(0);
  EXPECT_EQ(r.operation, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.flags, kFlagsPlain);
  EXPECT_EQ(r.tip, ProductLine() + L"\n[On]\nScroll horizontally [disabled]");
}

TEST_F(TrayIcon, TaskbarNotReady_AddIsRetriedAndTheFailureLogged) {
  Start("WriteLog=1\r\nShowBalloonOnStart=0\r\n", /*refuseAdds=*/1);
  const std::vector<TrayRecord> records = Next(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_FALSE(records[0].accepted);
  EXPECT_EQ(records[1].operation, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(records[1].accepted);
  EXPECT_NE(copy_.LogText().find(L"Cannot install tray icon. Last Error: "), std::wstring::npos);
  EXPECT_NE(copy_.LogText().find(L", TrayWindow Is Finded=1"), std::wstring::npos);
}

TEST_F(TrayIcon, Reload_RefreshesTheTipWithoutBalloon) {
  Start("WriteLog=0\r\n");
  Next(1);
  ASSERT_TRUE(copy_.WriteSettings("WriteLog=0\r\nHScrollOnCtrl=1\r\n"));
  PostMessageW(window_, RegisterWindowMessageW(kReloadMessage), 0, 0);
  const std::vector<TrayRecord> records = Next(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(records[0].flags, kFlagsPlain);
  EXPECT_EQ(records[0].tip, ProductLine() + L"\n[On]\nScroll horizontally [on CTRL]");
}

TEST_F(TrayIcon, CloseFromAnotherProgram_RemovesTheIcon) {
  Start("WriteLog=0\r\n");
  Next(1);
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(agent_.WaitForExit(kEndMs));
  const std::vector<TrayRecord> records = Next(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].operation, static_cast<DWORD>(NIM_DELETE));
  EXPECT_TRUE(records[0].accepted);
}

}  // namespace
}  // namespace ks::test
