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

// The window under the point, preferring the smallest visible, enabled
// sibling of a child window that also contains it.
HWND FindWheelTarget(POINT point);

// What a rule did with a turn: it did not apply; the target took what it was
// sent; or the target took nothing (hung, gone, refusing), and the focused
// window keeps the turn.
enum class RuleOutcome { NotApplied, Taken, NotTaken };

// time is the message's, for the runs of a high-resolution wheel.
RuleOutcome TryHorizontalScroll(HWND target, WPARAM wParam, LPARAM lParam, DWORD flags, DWORD time);
RuleOutcome TryScrollBarJump(HWND target, WPARAM wParam, bool vertical, DWORD time);
// For a program whose rule says so: a turn over a window with the wheel's
// scroll bar becomes line messages (SB_LINEUP/SB_LINEDOWN, SB_LINELEFT/
// SB_LINERIGHT), the system's lines or characters per notch, or a page per
// notch when it scrolls by pages.
RuleOutcome TryScrollLines(HWND target, WPARAM wParam, bool vertical, DWORD time);
// The most lines one message turns into: more would only fill the target's
// queue.
constexpr UINT kMaxScrollLinesPerTurn = 1000;
bool IsInTrayNotifyArea(HWND window);

}  // namespace ks
