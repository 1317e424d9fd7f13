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

bool ForegroundIsFullScreen() {
  const HWND front = GetForegroundWindow();
  if (front == nullptr || IsIconic(front) || IsShellDesktop(front)) return false;
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
  return client.left <= screen.left && client.top <= screen.top && client.right >= screen.right &&
         client.bottom >= screen.bottom;
}

}  // namespace ks
