#include "agent/tray/tray_clicks.h"

#include "agent/core/resource_ids.h"
#include "agent/tray/tray_menu.h"

namespace ks {
namespace {

constexpr UINT_PTR kClickTimerId = 1000;
// About the system's double-click time: a second click inside it cancels the
// toggle of the first.
constexpr UINT kClickTimerMs = 500;

bool doubleClicked = false;

}  // namespace

LRESULT OnTrayNotification(HWND window, LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
      doubleClicked = false;
      SetTimer(window, kClickTimerId, kClickTimerMs, nullptr);
      break;
    case WM_LBUTTONDBLCLK:
      // The pending timer sees the flag and leaves the wheel alone.
      doubleClicked = true;
      SendMessageW(window, WM_COMMAND, ID_CMD_SETTINGS, 0);
      break;
    case WM_RBUTTONUP: ShowTrayMenuAtCursor(window); break;
    default: break;
  }
  return 1;
}

void OnClickTimer(HWND window, UINT_PTR timerId) {
  if (timerId != kClickTimerId) return;
  KillTimer(window, kClickTimerId);
  if (doubleClicked) {
    doubleClicked = false;
    return;
  }
  SendMessageW(window, WM_COMMAND, ID_CMD_ENABLE, 0);
}

}  // namespace ks
