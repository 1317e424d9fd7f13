// The agent's commands, as the tray menu, the clicks on the icon and the first
// run send them to the agent window in WM_COMMAND.
#pragma once

#include <windows.h>

namespace ks {

// Carries out the command; false for an id that is no command of the agent.
bool RunTrayCommand(HWND window, UINT commandId);

}  // namespace ks
