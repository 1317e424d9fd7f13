// Start and end of the settings program: one instance per session, what is
// saved after Cancel, the agent's probe, and the window moving to a monitor
// of another scale.
#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "tests/config/config_session.h"

namespace ks::test {
namespace {

using StartUp = ConfigSession;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The agent's probe as the agent sends it; the answer, or -1 after a time-out.
LRESULT Probe(HWND window, DWORD senderThread) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, RegisterWindowMessageW(L"{35A60373-25E2-4504-9C0F-67C9A5C1A10A}"), 0,
                           static_cast<LPARAM>(senderThread), SMTO_ABORTIFHUNG, 1000, &answer)) {
    return -1;
  }
  return static_cast<LRESULT>(answer);
}

// Whether upper lies above lower in the desktop's window order.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == upper) return true;
    if (w == lower) return false;
  }
  return false;
}

TEST_F(StartUp, SecondCopy_ShowsAlreadyWorkAndChangesNothing) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_FALSE(FileExists(copy.SettingsPath()));

  ChildProcess second;
  ASSERT_TRUE(copy.Start(second));
  HWND box = WaitForConfigMessageBox(second.Id(), kWindowMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Kestrow Config already work.");
  EXPECT_EQ(WindowText(box), L"KsConfig");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  ASSERT_TRUE(second.WaitForExit(kReactMs));
  EXPECT_EQ(second.ExitCode(), 1u);

  EXPECT_FALSE(FileExists(copy.SettingsPath()));
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(StartUp, TwoCopiesStartedTogether_OnlyOneShowsTheWindow) {
  ChildProcess first, second;
  ASSERT_TRUE(copy.Start(first));
  ASSERT_TRUE(copy.Start(second));
  // Exactly one of them says another instance works; the other shows the page.
  HWND firstBox = WaitForConfigMessageBox(first.Id(), 0);
  HWND secondBox = nullptr;
  const ULONGLONG end = GetTickCount64() + kWindowMs;
  while (firstBox == nullptr && secondBox == nullptr && GetTickCount64() < end) {
    firstBox = WaitForConfigMessageBox(first.Id(), 0);
    secondBox = WaitForConfigMessageBox(second.Id(), 50);
  }
  ASSERT_TRUE(firstBox != nullptr || secondBox != nullptr);
  ChildProcess& runner = firstBox != nullptr ? second : first;
  EXPECT_NE(WaitForSettingsWindow(runner.Id(), kWindowMs), nullptr);
  HWND box = firstBox != nullptr ? firstBox : secondBox;
  EXPECT_EQ(MessageBoxText(box), L"Kestrow Config already work.");
  AnswerMessageBox(box, IDOK);
}

TEST_F(StartUp, CancelWithoutSettingsFile_CreatesItWithTheDefaults) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  Click(window, L"BUTTON_CANCEL");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(process.ExitCode(), 0u);
  ASSERT_TRUE(FileExists(copy.SettingsPath()));
  EXPECT_EQ(Key(L"ShowBalloonOnStart"), 1);
  EXPECT_EQ(Key(L"WriteLog"), 1);
  EXPECT_EQ(Key(L"StartAsDisabled"), 0);
  EXPECT_EQ(Key(L"HScrollOnCtrl"), 0);
  EXPECT_EQ(Key(L"HScrollOnShift"), 0);
  EXPECT_EQ(Key(L"HScrollOnLButton"), 0);
  EXPECT_EQ(Key(L"HScrollOnRButton"), 0);
  EXPECT_EQ(Key(L"NoWheelIfMiddle"), 0);
  EXPECT_FALSE(RunValueGuard::Read().has_value());
}

TEST_F(StartUp, CancelWithSettingsFile_LeavesItByteForByte) {
  // Odd spacing and an unknown key: any rewrite would show.
  const std::string stored = "[Misc]\r\nHScrollOnShift = 1\r\nWriteLog=0\r\nSomethingElse=x\r\n";
  ASSERT_TRUE(WriteBytes(copy.SettingsPath(), stored));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  // The page shows the stored values.
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_HS_SHIFT", 0x40, true, kReactMs));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_WRITE_LOG", 0x40, false, kReactMs));
  Click(window, L"CHECKBOX_HS_CTRL");
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  Click(window, L"BUTTON_CANCEL");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(ReadBytes(copy.SettingsPath()), stored);
}

TEST_F(StartUp, ProbeMessage_AnswersOneAndBringsTheWindowToTheFront) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  // The window activates itself as it appears, and under X that lands a
  // while later: only then can another window stay above it.
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }, kReactMs));
  // Another window covers it first.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other && Above(other, window); }, kReactMs));

  EXPECT_EQ(Probe(window, GetCurrentThreadId()), 1);
  EXPECT_TRUE(PumpUntil([&] { return Above(window, other); }, kReactMs));
  DestroyWindow(other);
}

TEST_F(StartUp, ProbeWithNoSuchThread_StillAnswersOne) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Probe(window, 0), 1);
}

TEST_F(StartUp, DpiChange_ScalesThePageAndFitsTheWindowToItAgain) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  const std::optional<SIZE> button = ElementSize(window, L"BUTTON_OK");
  ASSERT_TRUE(button.has_value());
  // What the system sends when the window reaches a 150 % monitor: the new
  // scale and a rectangle there, here far too small for the page. The
  // rectangle lies in the program's memory, as the system's would: this
  // message's pointer is not carried across processes.
  const RECT suggested{40, 30, 340, 230};
  void* remote = VirtualAllocEx(process.Handle(), nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(remote, nullptr);
  const ScopeExit release([&] { VirtualFreeEx(process.Handle(), remote, 0, MEM_RELEASE); });
  ASSERT_TRUE(WriteProcessMemory(process.Handle(), remote, &suggested, sizeof suggested, nullptr));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(remote),
                                  SMTO_ABORTIFHUNG, kReactMs, &answer));
  const std::optional<SIZE> scaled = ElementSize(window, L"BUTTON_OK");
  ASSERT_TRUE(scaled.has_value());
  EXPECT_NEAR(scaled->cx, button->cx * 3 / 2, 1);
  EXPECT_NEAR(scaled->cy, button->cy * 3 / 2, 1);
  // Fitted again: larger than the suggestion, still shown.
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_GT(frame.right - frame.left, suggested.right - suggested.left);
  EXPECT_GT(frame.bottom - frame.top, suggested.bottom - suggested.top);
  EXPECT_TRUE(IsWindowVisible(window));
  // At this scale Cancel lies below the visible part of the page, where no
  // click can reach it: the key closes the window.
  PressKey(window, VK_ESCAPE);
  EXPECT_TRUE(Ended());
}

}  // namespace
}  // namespace ks::test
