// At logon the agent often starts before the shell: a worker thread keeps
// asking the agent window to add the tray icon until it is added, the agent
// ends, or the attempts run out.
#pragma once

#include <windows.h>

namespace ks {

// Starts the thread: it sends `message` to `window` (which answers nonzero once
// the icon is added), waits `waitMs` on the instance mutex between attempts
// (its release at the agent's end stops the thread at once), and gives up after
// `attempts` failures. False when the thread could not be created.
bool StartTrayInstallThread(HWND window, UINT message, DWORD waitMs, int attempts);

}  // namespace ks
