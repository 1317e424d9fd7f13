#include "agent/tray/scroll_lock_pause.h"

#include "agent/core/hook_controller.h"
#include "agent/tray/tray_icon.h"
#include "common/settings.h"

namespace ks {
namespace {

constexpr UINT_PTR kScrollLockTimerId = 1001;

}  // namespace

void UpdateScrollLockWatch(HWND window) {
  if (GetSettings().PauseWithScrollLock != 0) {
    SetTimer(window, kScrollLockTimerId, kScrollLockPollMs, nullptr);
  } else {
    KillTimer(window, kScrollLockTimerId);
  }
}

void OnScrollLockTimer(HWND window, UINT_PTR timerId) {
  (void)window;
  if (timerId != kScrollLockTimerId) return;
  if (WheelPausedByScrollLock() != TrayIconShowsPaused()) UpdateTrayIcon(TrayOperation::Modify, Balloon::No);
}

bool WheelPausedByScrollLock() {
  // The toggle bit as the hook reads it in the program that gets the turn.
  return GetSettings().PauseWithScrollLock != 0 && IsWheelHookInstalled() && (GetKeyState(VK_SCROLL) & 1) != 0;
}

}  // namespace ks
