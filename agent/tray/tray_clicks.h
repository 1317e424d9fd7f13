// Mouse clicks on the tray icon: a single left click toggles the smart wheel
// once the double-click time has passed without a second click, a double
// click opens the settings, a right click opens the tray menu.
#pragma once

#include <windows.h>

namespace ks {

// The tray callback message; lParam is the mouse message. Answers 1.
LRESULT OnTrayNotification(HWND window, LPARAM mouseMessage);

// WM_TIMER: acts on the click timer only.
void OnClickTimer(HWND window, UINT_PTR timerId);

}  // namespace ks
