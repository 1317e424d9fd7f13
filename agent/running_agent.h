// How another copy of the agent (a second start, or one started with "/exit")
// reaches the agent that already runs: by its window's class name.
#pragma once

#include <windows.h>

namespace ks {

// Sends a registered message with wParam and lParam 0 to the running agent's
// window, giving up on a hung agent and waiting at most 2000 ms. Nothing is
// sent when no agent window exists.
void SendToRunningAgent(UINT message);

}  // namespace ks
