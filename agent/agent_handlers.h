// What the agent does for each message of its window: bringing the agent into
// its running state, winding it down, and the requests of the shell, of other
// processes and of its own threads.
#pragma once

#include <windows.h>

namespace ks {

// WM_CREATE: starts the log, installs the hook unless the settings say to
// start disabled, registers the toggle hotkey, starts the Scroll Lock watch
// and the tray-install thread, and on the first run asks for the settings
// program.
void OnCreate(HWND window);

// WM_DESTROY: the one place where the agent winds down; removes the hotkey,
// the icon and the hook and ends the message loop.
void OnDestroy(HWND window);

// The reload message, posted when the settings program the agent started has
// ended: rereads the settings, reinstalls the hook with them, refreshes the
// tip and applies the hotkey and the Scroll Lock watch again. Answers 1.
LRESULT OnReload(HWND window);

// The exit message from an agent started with "/exit": a closing balloon, a
// moment to see it, then the window is destroyed. Answers 1.
LRESULT OnExitRequest(HWND window);

// The show message from a second agent: the icon with a balloon. Answers 1.
LRESULT OnShowRequest(HWND window);

// "TaskbarCreated": the shell started again and lost every icon. Answers 1.
LRESULT OnTaskbarCreated(HWND window);

// The tray-install thread's request: adds the icon; nonzero when it was added.
LRESULT OnTrayInstall(HWND window);

}  // namespace ks
