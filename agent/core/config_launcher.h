// Opening the settings program: "KsConfig.exe" beside the agent is started on
// a launcher thread that waits for it to end and then asks the agent window
// to reload the settings. While one the agent started still runs, it is asked
// to come to the front instead of starting another.
#pragma once

#include <windows.h>

#include <string>

namespace ks {

// The agent directory + "KsConfig.exe": always a full path, so no program of
// that name elsewhere (current directory, search path) is started instead.
std::wstring ConfigProgramPath();

// The Settings command (main thread). Error boxes are owned by the window.
void OpenSettings(HWND agentWindow);

}  // namespace ks
