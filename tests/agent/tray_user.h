// The user at the tray icon: mouse notifications delivered to the agent as
// the shell delivers them, and the tray menu found on the screen and driven
// with the keyboard.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ks::test {

// The tray callback message for icon 1 with the mouse message, sent: returns
// once the agent has handled it; false when it did not answer 1.
bool SendTrayNotification(HWND agent, UINT mouseMessage);

// The same, posted: for the right click, whose handling lasts while the menu
// is open.
bool PostTrayNotification(HWND agent, UINT mouseMessage);

// The open popup menu (class "#32768") of the process, waiting up to
// timeoutMs; null when none is visible.
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs);

// Every visible popup menu of the process: the tray menu and its open
// submenus, in no particular order.
std::vector<HWND> PopupMenusOf(DWORD processId);

// Keys for the open menu, in order (VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE).
void PressMenuKeys(HWND menu, const std::vector<WORD>& keys);

// Keys pressed together as on the keyboard, through the system's input: down
// in order, then up in reverse order.
void PressKeysTogether(const std::vector<BYTE>& keys);

// The window's pixels as seen on the screen, one 0x00RRGGBB value each, row
// by row; empty when they cannot be read.
std::vector<DWORD> CaptureWindow(HWND window, SIZE* size);

// Message boxes (class "#32770") the process shows.
std::vector<HWND> MessageBoxesOf(DWORD processId);

}  // namespace ks::test
