// The programs the wheel is left alone in, and the full-screen switch: set by
// the agent before each install, read by the hook procedure on wheel
// messages only. One lookup of a program's name answers both whether it is
// left alone and which rule it has (hook/program_rules.h).
#pragma once

#include <windows.h>

#include "hook/program_rules.h"
#include "hook/shared_state.h"
#include "hook/window_owner.h"

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

// What the lists say of the program of a window: whether it is another
// program on the list, and its rule (this program's for its own windows, the
// plain rule for none). owner is the window's, asked once for the turn.
struct ProgramFacts {
  bool leftAlone;
  DWORD rule;
};
ProgramFacts ProgramOfWindow(HWND window, const WindowOwner& owner);

// This program's rule, looked up once per generation of the rules.
DWORD OwnProgramRule();

// True when the list is not empty and the window the wheel would go to at the
// point belongs to a program on it.
bool IsExcludedProgramAt(POINT point);

}  // namespace ks
