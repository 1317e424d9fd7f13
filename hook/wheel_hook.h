// The WH_GETMESSAGE procedure that rewrites wheel messages inside every GUI
// thread of the desktop, and the steps it decides with.
#pragma once

#include <windows.h>

namespace ks {

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);

// Applies the wheel rules to one retrieved WM_MOUSEWHEEL, or hands one
// WM_MOUSEHWHEEL to the window under the pointer; turns it into WM_NULL when
// it acted.
void HandleWheelMessage(MSG& msg, DWORD flags);

// The window under the point, preferring the smallest visible sibling that
// also contains it.
HWND FindWheelTarget(POINT point);

bool TryHorizontalScroll(HWND target, WPARAM wParam, LPARAM lParam, DWORD flags);
bool TryScrollBarJump(HWND target, WPARAM wParam, bool vertical);
bool IsInTrayNotifyArea(HWND window);

}  // namespace ks
