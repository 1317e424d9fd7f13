#include "hook/wheel_hook.h"

// WHEEL_PAGESCROLL is UINT_MAX.
#include <climits>

#include "hook/class_name.h"
#include "hook/excluded_programs.h"
#include "common/hook_flags.h"
#include "hook/process_level.h"
#include "hook/program_rules.h"
#include "hook/shared_state.h"
#include "hook/store_app_window.h"
#include "hook/wheel_point.h"
#include "hook/wheel_run.h"
#include "hook/window_owner.h"
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
bool SendToTarget(HWND target, DWORD targetThread, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (targetThread == GetCurrentThreadId()) {
    result = SendMessageW(target, message, wParam, lParam);
    return true;
  }
  // A thread Windows calls hung would take the turn only when it recovers.
  if (IsHungAppWindow(target)) return false;
  return SendNotifyMessageW(target, message, wParam, lParam) != FALSE;
}

// The run the rules count in this process (see wheel_run.h); its threads take
// turns through the lock, each holding it only to read and write the run.
SRWLOCK g_runLock = SRWLOCK_INIT;
WheelRun g_run;

WheelRunStep CountWheelRun(HWND target, WheelRunRule rule, short distance, DWORD time) {
  AcquireSRWLockExclusive(&g_runLock);
  const WheelRunStep step = StepWheelRun(g_run, reinterpret_cast<std::uintptr_t>(target), rule, distance, time);
  g_run = step.next;
  ReleaseSRWLockExclusive(&g_runLock);
  return step;
}

// What the target did not take does not count: the next message starts anew.
void EndWheelRun() {
  AcquireSRWLockExclusive(&g_runLock);
  g_run = WheelRun{};
  ReleaseSRWLockExclusive(&g_runLock);
}

// The wheel parameter with the distance as the rule and the wheel's reverse
// switch make it; every other bit as it came.
WPARAM RuledParam(WPARAM wParam, DWORD rule, bool reverseWheel) {
  const WORD distance = static_cast<WORD>(RuledDistance(WheelDistance(wParam), rule, reverseWheel));
  return (wParam & ~static_cast<WPARAM>(0xFFFF0000u)) | (static_cast<WPARAM>(distance) << 16);
}

bool IsChildWindow(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0; }

// The window under the point, preferring the smallest visible, enabled
// sibling that also contains it: a frame drawn over the controls it groups is
// larger than they are. Only child windows have such siblings; a popup's
// owner is no parent whose other windows lie under it.
HWND SmallestSiblingAt(HWND first, POINT point) {
  if (first == nullptr || !IsChildWindow(first)) return first;
  const HWND parent = GetAncestor(first, GA_PARENT);
  if (parent == nullptr) return first;
  HWND best = first;
  RECT bestRect = {};
  GetWindowRect(first, &bestRect);
  for (HWND candidate = GetWindow(first, GW_HWNDNEXT); candidate != nullptr;
       candidate = GetWindow(candidate, GW_HWNDNEXT)) {
    RECT rect = {};
    if (!GetWindowRect(candidate, &rect) || !PtInRect(&rect, point)) continue;
    if (GetAncestor(candidate, GA_PARENT) != parent || !IsChildWindow(candidate)) continue;
    if (!IsWindowVisible(candidate) || !IsWindowEnabled(candidate)) continue;
    if (Area(rect) < Area(bestRect)) {
      best = candidate;
      bestRect = rect;
    }
  }
  return best;
}

// Windows may run a hook of the other bitness on the thread that installed
// it, with a message another process retrieved: the hook of that process's
// own bitness deals with it there.
bool RetrievedByThisThread(const MSG& msg) { return OwnerOf(msg.hwnd).thread == GetCurrentThreadId(); }

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
  // Windows ignores the handle here: no message pays for finding its session.
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void HandleWheelMessage(MSG& msg, DWORD flags) {
  // Scroll Lock pauses Kestrow: the key state is read only when the user
  // asked for that.
  if ((flags & HOOK_PAUSE_WITH_SCROLL_LOCK) != 0 && (GetKeyState(VK_SCROLL) & 1) != 0) return;
  // A program the user keeps out, or one full-screen in front, gets the wheel
  // as if Kestrow were off.
  if (IsWheelLeftAlone()) return;
  // The horizontal wheel follows the pointer and the program rules; the key,
  // button and scroll-bar jump rules are the vertical wheel's.
  const bool vertical = msg.message == WM_MOUSEWHEEL;
  if (vertical && (KeyState(msg.wParam) & MK_MBUTTON) != 0 && (flags & HOOK_NO_WHEEL_IF_MIDDLE) != 0) {
    if (!IsExcludedProgramAt(PointOf(msg.lParam))) msg.message = WM_NULL;
    return;
  }

  // The pointer's physical position finds the window, and the target reads
  // the point in its own space, whatever DPI scaling each side runs under.
  const DpiFunctions& dpi = SystemDpiFunctions();
  POINT cursor = {};
  if (dpi.getPhysicalCursorPos != nullptr) GetCursorPos(&cursor);
  const WheelPoint where = LocateWheelPoint(dpi, msg.hwnd, PointOf(msg.lParam), cursor);
  const HWND target = SmallestSiblingAt(WindowAtWheelPoint(dpi, where), where.logical);
  const WindowOwner owner = OwnerOf(target);
  const ProgramFacts pointed = ProgramOfWindow(target, owner);
  if (pointed.leftAlone) return;
  if (LogIsOn()) {
    wchar_t className[100] = {};
    if (target != nullptr) GetClassNameW(target, className, 100);
    LogWriteFormat(L"Class detected %s", className);
  }

  // The turn as the program whose window gets it wants it: the pointed one's
  // when it goes there, else this one's, in the message itself.
  const bool reverseWheel = (flags & (vertical ? HOOK_REVERSE_VERTICAL : HOOK_REVERSE_HORIZONTAL)) != 0;
  const WPARAM param = RuledParam(msg.wParam, pointed.rule, reverseWheel);
  msg.wParam = RuledParam(msg.wParam, OwnProgramRule(), reverseWheel);

  // Windows' own routing reaches such a window; nothing sent does.
  if (IsStoreAppWindow(target)) return;
  // Windows drops what is sent to a program with higher rights.
  if (IsOutrankingWindow(target, owner)) return;
  const LPARAM targetPoint = WheelPointFor(dpi, target, where, msg.lParam);

  RuleOutcome outcome = RuleOutcome::NotApplied;
  if (vertical) {
    outcome = TryHorizontalScroll(target, param, targetPoint, flags, msg.time);
    if (outcome == RuleOutcome::NotApplied) outcome = TryScrollBarJump(target, param, true, msg.time);
    if (outcome == RuleOutcome::NotApplied) outcome = TryScrollBarJump(target, param, false, msg.time);
  }
  if (outcome == RuleOutcome::NotApplied && (RuleOptions(pointed.rule) & RULE_SCROLLBARS) != 0) {
    outcome = TryScrollLines(target, param, vertical, msg.time);
  }
  if (outcome == RuleOutcome::NotApplied) EndWheelRun();
  if (outcome == RuleOutcome::Taken) msg.message = WM_NULL;
  // Not taken: the focused window keeps the turn, as below.
  if (outcome != RuleOutcome::NotApplied) return;

  if (target == nullptr || target == msg.hwnd || IsInTrayNotifyArea(target)) return;
  const HWND focus = GetFocus();
  if (focus == nullptr || focus == target) return;

  // A wheel turn is never lost: when the window under the pointer cannot be
  // reached, the focused window keeps it.
  LRESULT ignored = 0;
  if (SendToTarget(target, owner.thread, msg.message, param, targetPoint, ignored)) msg.message = WM_NULL;
}

HWND FindWheelTarget(POINT point) { return SmallestSiblingAt(WindowFromPoint(point), point); }

RuleOutcome TryHorizontalScroll(HWND target, WPARAM wParam, LPARAM lParam, DWORD flags, DWORD time) {
  if (target == nullptr) return RuleOutcome::NotApplied;
  const WORD keys = KeyState(wParam);
  const bool applies = ((keys & MK_SHIFT) && (flags & HOOK_HSCROLL_ON_SHIFT)) ||
                       ((keys & MK_CONTROL) && (flags & HOOK_HSCROLL_ON_CTRL)) ||
                       ((keys & MK_LBUTTON) && (flags & HOOK_HSCROLL_ON_LBUTTON)) ||
                       ((keys & MK_RBUTTON) && (flags & HOOK_HSCROLL_ON_RBUTTON));
  if (!applies) return RuleOutcome::NotApplied;

  const short distance = WheelDistance(wParam);
  LogWriteFormat(L"HS delta=%d\n", static_cast<int>(distance));
  // One line per whole notch of the run; the horizontal wheel carries each
  // message's own part, so a program that reads it scrolls smoothly.
  const WheelRunStep step = CountWheelRun(target, kRunHorizontalScroll, distance, time);
  const DWORD thread = OwnerOf(target).thread;
  LRESULT hscroll = 0;
  LRESULT hwheel = 0;
  bool taken = false;
  for (int line = 0; line < step.notches; ++line) {
    if (!SendToTarget(target, thread, WM_HSCROLL, distance < 0 ? SB_LINERIGHT : SB_LINELEFT, 0, hscroll)) break;
    taken = true;
  }
  const WPARAM hwheelParam = MAKEWPARAM(keys, static_cast<WORD>(-static_cast<int>(distance)));
  if (SendToTarget(target, thread, WM_MOUSEHWHEEL, hwheelParam, lParam, hwheel)) taken = true;
  LogWriteFormat(L"WM_HSCROLL lResult=%d, WM_MOUSEHWHEEL lResult=%d\n", static_cast<int>(hscroll),
                 static_cast<int>(hwheel));
  if (!taken) EndWheelRun();
  return taken ? RuleOutcome::Taken : RuleOutcome::NotTaken;
}

RuleOutcome TryScrollBarJump(HWND target, WPARAM wParam, bool vertical, DWORD time) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof info;
  if (target == nullptr || !GetScrollBarInfo(target, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) {
    return RuleOutcome::NotApplied;
  }
  POINT cursor = {};
  GetCursorPos(&cursor);
  const bool inside = PtInRect(&info.rcScrollBar, cursor) != FALSE;
  bool taken = false;
  if (inside) {
    // The jump acts once per notch: the rest of a notch's messages were taken
    // with its first.
    const short distance = WheelDistance(wParam);
    const WheelRunStep step =
        CountWheelRun(target, vertical ? kRunVerticalBarJump : kRunHorizontalBarJump, distance, time);
    taken = !step.startsNotch;
    if (step.startsNotch) {
      LRESULT ignored = 0;
      taken = SendToTarget(target, OwnerOf(target).thread, vertical ? WM_VSCROLL : WM_HSCROLL,
                           distance > 0 ? SB_TOP : SB_BOTTOM, 0, ignored);
    }
    if (!taken) EndWheelRun();
  }
  LogWriteFormat(L"left=%d top=%d, right=%d bottom=%d. x=%d, y=%d PtInRect=%d vertical=%d", info.rcScrollBar.left,
                 info.rcScrollBar.top, info.rcScrollBar.right, info.rcScrollBar.bottom, cursor.x, cursor.y,
                 inside ? 1 : 0, vertical ? 1 : 0);
  if (!inside) return RuleOutcome::NotApplied;
  return taken ? RuleOutcome::Taken : RuleOutcome::NotTaken;
}

RuleOutcome TryScrollLines(HWND target, WPARAM wParam, bool vertical, DWORD time) {
  if (target == nullptr || (GetWindowLongW(target, GWL_STYLE) & (vertical ? WS_VSCROLL : WS_HSCROLL)) == 0) {
    return RuleOutcome::NotApplied;
  }
  UINT perNotch = 0;
  if (!SystemParametersInfoW(vertical ? SPI_GETWHEELSCROLLLINES : SPI_GETWHEELSCROLLCHARS, 0, &perNotch, 0)) {
    perNotch = 3;
  }
  // No lines at all: the program's own handling follows the setting too.
  if (perNotch == 0) return RuleOutcome::NotApplied;
  // More lines than a turn is ever given are a page too: Wine hands the page
  // setting to other programs as the largest int.
  const bool page = perNotch == WHEEL_PAGESCROLL || perNotch > kMaxScrollLinesPerTurn;
  const short distance = WheelDistance(wParam);
  const WheelRunStep step = CountWheelRun(target, vertical ? kRunVerticalLines : kRunHorizontalLines, distance, time);
  // Up and right are the turns of positive distance; a line and a page code
  // of each side of a bar share their values.
  const bool forward = distance > 0;
  const WPARAM code = vertical == forward ? (page ? SB_PAGEUP : SB_LINEUP) : (page ? SB_PAGEDOWN : SB_LINEDOWN);
  // A part of a notch is taken into the run while the window can take what
  // the notch brings; the lines of a turn are bounded, as the program's own
  // queue is.
  const UINT notches = static_cast<UINT>(step.notches);
  UINT count = page ? notches : notches * perNotch;
  if (count > kMaxScrollLinesPerTurn) count = kMaxScrollLinesPerTurn;
  const DWORD thread = OwnerOf(target).thread;
  bool taken = count == 0 && (thread == GetCurrentThreadId() || !IsHungAppWindow(target));
  for (UINT line = 0; line < count; ++line) {
    LRESULT ignored = 0;
    if (!SendToTarget(target, thread, vertical ? WM_VSCROLL : WM_HSCROLL, code, 0, ignored)) break;
    taken = true;
  }
  if (!taken) EndWheelRun();
  return taken ? RuleOutcome::Taken : RuleOutcome::NotTaken;
}

bool IsInTrayNotifyArea(HWND window) {
  for (HWND w = window; w != nullptr; w = GetParent(w)) {
    static constexpr const wchar_t* kTrayClass[] = {L"TrayNotifyWnd"};
    if (HasClassName(w, kTrayClass)) return true;
  }
  return false;
}

}  // namespace ks
