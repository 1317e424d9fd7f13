// The agent's module instance and its window: each set once at start, read
// wherever resources or windows need them.
#pragma once

#include <windows.h>

namespace ks {

void SetAppInstance(HINSTANCE instance);

// The instance given at start; the executable's own module before that.
HINSTANCE AppInstance();

void SetAgentWindow(HWND window);

// The agent window, stored as its creation begins; null before that.
HWND AgentWindow();

}  // namespace ks
