#include "hook/full_screen.h"

#include <windows.h>

#include "hook/class_name.h"

namespace ks {
namespace {

// The desktop the shell draws: Explorer's "Progman" and the "WorkerW" that
// takes its place behind the icons.
bool IsShellDesktop(HWND window) {
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  static constexpr const wchar_t* kShellClasses[] = {L"Progman", L"WorkerW"};
  return HasClassName(window, kShellClasses);
}

// The client area, not the frame: a maximised window with a caption is no
// full-screen program, even when the taskbar hides itself.
bool CoversItsMonitor(HWND front) {
  const HMONITOR monitor = MonitorFromWindow(front, MONITOR_DEFAULTTONULL);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return false;
  RECT client = {};
  if (!GetClientRect(front, &client)) return false;
  MapWindowPoints(front, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const RECT& screen = info.rcMonitor;
  const bool covers = client.left <= screen.left && client.top <= screen.top && client.right >= screen.right &&
                      client.bottom >= screen.bottom;
  return covers && !IsIconic(front) && !IsShellDesktop(front);
}

// The last answer of this process, for one foreground window at one place
// and size. A window that keeps its frame can still change what decides (its
// style, the monitor's mode), so an answer is also worked out again after
// a while.
constexpr ULONGLONG kAnswerLifeMs = 1000;
SRWLOCK g_answerLock = SRWLOCK_INIT;
struct FrontAnswer {
  HWND front;
  RECT frame;
  ULONGLONG at;
  bool fullScreen;
};
FrontAnswer g_answer;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

// Every wheel turn asks, so the monitor is looked at only when the window in
// front, or its frame, is not the one of the last answer.
bool ForegroundIsFullScreen() {
  const HWND front = GetForegroundWindow();
  RECT frame = {};
  if (front == nullptr || !GetWindowRect(front, &frame)) return false;
  const ULONGLONG now = GetTickCount64();
  AcquireSRWLockShared(&g_answerLock);
  const FrontAnswer known = g_answer;
  ReleaseSRWLockShared(&g_answerLock);
  if (known.front == front && SameRect(known.frame, frame) && now - known.at < kAnswerLifeMs) return known.fullScreen;

  const bool fullScreen = CoversItsMonitor(front);
  AcquireSRWLockExclusive(&g_answerLock);
  g_answer = FrontAnswer{front, frame, now, fullScreen};
  ReleaseSRWLockExclusive(&g_answerLock);
  return fullScreen;
}

}  // namespace ks
