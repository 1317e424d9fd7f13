#include "hook/wheel_hook.h"

#include "common/ascii.h"
#include "hook/excluded_programs.h"
#include "hook/hook_flags.h"
#include "hook/shared_state.h"
#include "hook/store_app_window.h"
#include "log/log_writer.h"

namespace ks {
namespace {

short WheelDistance(WPARAM wParam) { return static_cast<short>(HIWORD(wParam)); }
WORD KeyState(WPARAM wParam) { return LOWORD(wParam); }

POINT PointOf(LPARAM lParam) {
  POINT p;
  p.x = static_cast<short>(LOWORD(lParam));
  p.y = static_cast<short>(HIWORD(lParam));
  return p;
}

LONG Area(const RECT& r) { return (r.bottom - r.top) * (r.right - r.left); }

// The target's own thread is the one that took the wheel: the window
// procedure runs at once. Any other thread gets the message queued without the
// sender waiting (it acts on it once, whenever it next takes messages), so a
// slow program never holds the one the user is working in, and a turn is
// never acted on by both. False when the message was not taken: the thread is
// hung, or the window gone or refusing.
bool SendToTarget(HWND target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (GetWindowThreadProcessId(target, nullptr) == GetCurrentThreadId()) {
    result = SendMessageW(target, message, wParam, lParam);
    return true;
  }
  // A thread Windows calls hung would take the turn only when it recovers.
  if (IsHungAppWindow(target)) return false;
  return SendNotifyMessageW(target, message, wParam, lParam) != FALSE;
}

// Windows may run a hook of the other bitness on the thread that installed
// it, with a message another process retrieved: the hook of that process's
// own bitness deals with it there.
bool RetrievedByThisThread(const MSG& msg) {
  return msg.hwnd != nullptr && GetWindowThreadProcessId(msg.hwnd, nullptr) == GetCurrentThreadId();
}

}  // namespace

LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only the retrieval that removes the message acts: a program that peeks at
  // the wheel before it takes it must not have it redirected twice.
  if (code >= 0 && lParam != 0 && (wParam & PM_REMOVE) != 0) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    // WM_MOUSEWHEEL (0x020A) and WM_MOUSEHWHEEL (0x020E) differ only in bit 2:
    // one comparison lets both wheels in and every other message past.
    static_assert((WM_MOUSEWHEEL | 0x4) == WM_MOUSEHWHEEL, "the two wheel messages differ in bit 2 only");
    if ((msg->message | 0x4) == WM_MOUSEHWHEEL && RetrievedByThisThread(*msg)) {
      HandleWheelMessage(*msg, SessionHookFlags());
    }
  }
  return CallNextHookEx(SessionHookHandle(), code, wParam, lParam);
}

void HandleWheelMessage(MSG& msg, DWORD flags) {
  // A program the user keeps out, or one full-screen in front, gets the wheel
  // as if Kestrow were off.
  if (IsWheelLeftAlone()) return;
  // The horizontal wheel only follows the pointer; the rules are the
  // vertical wheel's.
  const bool vertical = msg.message == WM_MOUSEWHEEL;
  if (vertical && (KeyState(msg.wParam) & MK_MBUTTON) != 0 && (flags & HOOK_NO_WHEEL_IF_MIDDLE) != 0) {
    if (!IsExcludedProgramAt(PointOf(msg.lParam))) msg.message = WM_NULL;
    return;
  }

  const HWND target = FindWheelTarget(PointOf(msg.lParam));
  if (IsExcludedProgramWindow(target)) return;
  if (LogIsOn()) {
    wchar_t className[100] = {};
    if (target != nullptr) GetClassNameW(target, className, 100);
    LogWriteFormat(L"Class detected %s", className);
  }

  // Windows' own routing reaches such a window; nothing sent does.
  if (IsStoreAppWindow(target)) return;

  if (vertical && (TryHorizontalScroll(target, msg.wParam, msg.lParam, flags) ||
                   TryScrollBarJump(target, msg.wParam, true) || TryScrollBarJump(target, msg.wParam, false))) {
    msg.message = WM_NULL;
    return;
  }

  if (target == nullptr || target == msg.hwnd || IsInTrayNotifyArea(target)) return;
  const HWND focus = GetFocus();
  if (focus == nullptr || focus == target) return;

  // A wheel turn is never lost: when the window under the pointer cannot be
  // reached, the focused window keeps it.
  LRESULT ignored = 0;
  if (SendToTarget(target, msg.message, msg.wParam, msg.lParam, ignored)) msg.message = WM_NULL;
}

HWND FindWheelTarget(POINT point) {
  const HWND first = WindowFromPoint(point);
  if (first == nullptr) return nullptr;
  HWND best = first;
  RECT bestRect = {};
  GetWindowRect(first, &bestRect);
  const HWND parent = GetParent(first);
  if (parent == nullptr) return first;

  for (HWND candidate = GetWindow(first, GW_HWNDNEXT); candidate != nullptr;
       candidate = GetWindow(candidate, GW_HWNDNEXT)) {
    RECT rect = {};
    if (!GetWindowRect(candidate, &rect) || !PtInRect(&rect, point)) continue;
    if (GetParent(candidate) != parent || !IsWindowVisible(candidate)) continue;
    if (Area(rect) < Area(bestRect)) {
      best = candidate;
      bestRect = rect;
    }
  }
  return best;
}

bool TryHorizontalScroll(HWND target, WPARAM wParam, LPARAM lParam, DWORD flags) {
  if (target == nullptr) return false;
  const WORD keys = KeyState(wParam);
  const bool applies = ((keys & MK_SHIFT) && (flags & HOOK_HSCROLL_ON_SHIFT)) ||
                       ((keys & MK_CONTROL) && (flags & HOOK_HSCROLL_ON_CTRL)) ||
                       ((keys & MK_LBUTTON) && (flags & HOOK_HSCROLL_ON_LBUTTON)) ||
                       ((keys & MK_RBUTTON) && (flags & HOOK_HSCROLL_ON_RBUTTON));
  if (!applies) return false;

  const short distance = WheelDistance(wParam);
  LogWriteFormat(L"HS delta=%d\n", static_cast<int>(distance));
  LRESULT hscroll = 0;
  LRESULT hwheel = 0;
  SendToTarget(target, WM_HSCROLL, distance < 0 ? SB_LINERIGHT : SB_LINELEFT, 0, hscroll);
  const WPARAM hwheelParam = MAKEWPARAM(keys, static_cast<WORD>(-static_cast<int>(distance)));
  SendToTarget(target, WM_MOUSEHWHEEL, hwheelParam, lParam, hwheel);
  LogWriteFormat(L"WM_HSCROLL lResult=%d, WM_MOUSEHWHEEL lResult=%d\n", static_cast<int>(hscroll),
                 static_cast<int>(hwheel));
  return true;
}

bool TryScrollBarJump(HWND target, WPARAM wParam, bool vertical) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  if (target == nullptr || !GetScrollBarInfo(target, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) {
    return false;
  }
  POINT cursor = {};
  GetCursorPos(&cursor);
  const bool inside = PtInRect(&info.rcScrollBar, cursor) != FALSE;
  if (inside) {
    LRESULT ignored = 0;
    const WPARAM edge = WheelDistance(wParam) > 0 ? SB_TOP : SB_BOTTOM;
    SendToTarget(target, vertical ? WM_VSCROLL : WM_HSCROLL, edge, 0, ignored);
  }
  LogWriteFormat(L"left=%d top=%d, right=%d bottom=%d. x=%d, y=%d PtInRect=%d vertical=%d", info.rcScrollBar.left,
                 info.rcScrollBar.top, info.rcScrollBar.right, info.rcScrollBar.bottom, cursor.x, cursor.y,
                 inside ? 1 : 0, vertical ? 1 : 0);
  return inside;
}

bool IsInTrayNotifyArea(HWND window) {
  for (HWND w = window; w != nullptr; w = GetParent(w)) {
    char name[16] = {};
    GetClassNameA(w, name, 16);
    if (SameTerminatedString(name, "TrayNotifyWnd")) return true;
  }
  return false;
}

}  // namespace ks
