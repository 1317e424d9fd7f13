// The paused state of "PauseWithScrollLock" in the tray: while the setting
// and the wheel are on and the Scroll Lock light is lit, the hook leaves every
// turn alone and the icon and its tip say so. A timer on the agent window
// reads the light, since no keyboard message reaches the agent.
#pragma once

#include <windows.h>

namespace ks {

// Starts the timer when the setting is on, stops it when it is off.
void UpdateScrollLockWatch(HWND window);

// WM_TIMER: on the watch's timer, refreshes the icon when the paused state
// differs from the one it shows.
void OnScrollLockTimer(HWND window, UINT_PTR timerId);

// Whether the wheel is paused now: the setting on, the hook installed and the
// Scroll Lock light on.
bool WheelPausedByScrollLock();

// How often the light is read: a change shows well within half a second.
constexpr UINT kScrollLockPollMs = 250;

}  // namespace ks
