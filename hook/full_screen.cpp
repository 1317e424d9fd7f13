#include "hook/full_screen.h"

#include <windows.h>

#include "common/ascii.h"

namespace ks {
namespace {

// The desktop the shell draws: Explorer's "Progman" and the "WorkerW" that
// takes its place behind the icons.
bool IsShellDesktop(HWND window) {
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  char name[16] = {};
  GetClassNameA(window, name, 16);
  return SameTerminatedString(name, "Progman") || SameTerminatedString(name, "WorkerW");
}

}  // namespace

// Every wheel turn asks: the tests that rule most windows out come first.
bool ForegroundIsFullScreen() {
  const HWND front = GetForegroundWindow();
  if (front == nullptr) return false;
  const HMONITOR monitor = MonitorFromWindow(front, MONITOR_DEFAULTTONULL);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return false;
  // The client area, not the frame: a maximised window with a caption is no
  // full-screen program, even when the taskbar hides itself.
  RECT client = {};
  if (!GetClientRect(front, &client)) return false;
  MapWindowPoints(front, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const RECT& screen = info.rcMonitor;
  const bool covers = client.left <= screen.left && client.top <= screen.top && client.right >= screen.right &&
                      client.bottom >= screen.bottom;
  return covers && !IsIconic(front) && !IsShellDesktop(front);
}

}  // namespace ks
