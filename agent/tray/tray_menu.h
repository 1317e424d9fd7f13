// The tray menu: shown at the cursor on a right click on the icon, with the
// check marks set as each popup opens. The chosen command comes back to the
// agent window as WM_COMMAND.
#pragma once

#include <windows.h>

namespace ks {

// Remembers the cursor position and shows the menu there.
void ShowTrayMenuAtCursor(HWND window);

// Shows the menu at a screen point and returns when it has closed. The agent
// window comes to the foreground first, so a click elsewhere closes the menu.
void ShowTrayMenu(HWND window, POINT at);

// Where the last right click opened the menu; reopening it there after a
// change keeps it under the user's pointer.
POINT RememberedMenuPoint();

// WM_INITMENUPOPUP, after default processing: "Enable" checked while the hook
// is installed, "Start With Windows" while the Run value names this agent.
// Popups without those items are left as they are.
void SetMenuCheckMarks(HMENU popup);

}  // namespace ks
