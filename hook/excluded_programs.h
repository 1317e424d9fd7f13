// The programs the wheel is left alone in, and the full-screen switch: set by
// the agent before each install, read by the hook procedure on wheel
// messages only.
#pragma once

#include <windows.h>

#include "hook/shared_state.h"

namespace ks {

// Puts the list (names separated by ";", null for none) and the switch in
// the session's slot, for every process of the session. Names that do not
// fit the slot any more are left out, as the settings leave them out.
void StoreLeftAlone(SessionSlot& slot, const wchar_t* programs, DWORD leaveFullScreen);

// True when this program is on the list, or a full-screen program is in
// front while the switch is on: the wheel then goes on unchanged.
bool IsWheelLeftAlone();

// True when the window belongs to another program on the list.
bool IsExcludedProgramWindow(HWND window);

// True when the list is not empty and the window the wheel would go to at the
// point belongs to a program on it.
bool IsExcludedProgramAt(POINT point);

}  // namespace ks
