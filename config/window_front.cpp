#include "config/window_front.h"

namespace ks {

bool BringWindowToFront(HWND window) {
  if (!IsWindow(window)) return false;
  // Not linked by name: older systems do not export it.
  using SwitchFn = void(WINAPI*)(HWND, BOOL);
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    if (FARPROC found = GetProcAddress(user32, "SwitchToThisWindow")) {
      auto switchTo = reinterpret_cast<SwitchFn>(reinterpret_cast<void*>(found));
      switchTo(window, TRUE);
      return true;
    }
  }
  SetActiveWindow(window);
  SetForegroundWindow(window);
  // Topmost for a moment lifts it over every normal window; it does not stay
  // topmost.
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

}  // namespace ks
