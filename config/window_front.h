// Bringing a window to the front of the desktop, as the settings window does
// when the agent asks for it.
#pragma once

#include <windows.h>

namespace ks {

// Makes the window the active foreground window; restores it when it is
// minimised. False only when the handle is not a window.
bool BringWindowToFront(HWND window);

}  // namespace ks
