// The agent window: a hidden top-level window of class "KestrowTrayAgent".
// Everything the agent does after start-up arrives here as a message and runs
// on the main thread.
#pragma once

#include <windows.h>

namespace ks {

// Registers the class (once per process), creates the hidden window and pumps
// messages until WM_QUIT. False, without pumping, when the class cannot be
// registered or the window cannot be created.
bool RunAgentWindow(HINSTANCE instance);

}  // namespace ks
