// Target program of the hook tests. It opens the windows one case needs,
// places the cursor, posts one WM_MOUSEWHEEL to its focused window as classic
// Windows does, and writes what each named window received to a report file.
// The hook library acts inside this process because the test installed it
// system-wide before starting it.
//
// Arguments: report=<file> scenario=<name> keys=<n> delta=<n> over=<name>
//            msgover=<name> hang=<ms> stale=<ms> peek=1 throw=1 wheel=h
//            pointed=<program> hookedby=<library> gate=<event> resize=1
//            turns=<name>:<delta>,... hungside=<scenario> scrolllock=on|off
// turns= posts one wheel per entry at that window's centre; hungside= is the
// hung thread's scenario; scrolllock= sets the light by the key before the
// wheel and back after it; scenario panes has two panes, layout owned popups.
// With wheel=h the message is WM_MOUSEHWHEEL, as a tilt wheel or a touchpad
// sends it. Scenario store puts a Store app's core window in its frame host
// on the right, storeframe an ordinary pane in such a frame host.
// With pointed= the pointed-at frame lives in that program (a copy of this
// one under another name), started with role=pointed; its report lines join
// this one's. With scenario=fullscreen the focused frame covers its monitor
// and holds the list beside the edit field.
// With scenario=hung the pointed-at windows live on a thread that sleeps for
// hang ms; the wheel comes stale ms into that sleep, and the report waits for
// the thread to wake and take what was queued for it. With throw=1 the
// windows throw on the wheel, and the message loop's handler catches it.
// With gate= it sets the event named <event>.made once its windows exist and
// waits for the event <event> before it goes on. With hookedby= the wheel waits until that hook library is in this
// process: a hook set on this thread from outside, once its window exists, arrives with the first message taken after
// it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT kDoneMessage = WM_APP + 1;

std::mutex g_recordLock;
std::vector<std::string> g_records;
std::map<std::wstring, std::wstring> g_args;

void Record(const char* line) {
  std::lock_guard<std::mutex> lock(g_recordLock);
  g_records.push_back(line);
}

std::wstring Arg(const wchar_t* name, const wchar_t* fallback = L"") {
  auto it = g_args.find(name);
  return it != g_args.end() ? it->second : fallback;
}
int IntArg(const wchar_t* name, int fallback) {
  auto it = g_args.find(name);
  return it != g_args.end() ? static_cast<int>(wcstol(it->second.c_str(), nullptr, 0)) : fallback;
}

const char* MessageName(UINT message) {
  switch (message) {
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_MOUSEHWHEEL: return "WM_MOUSEHWHEEL";
    case WM_HSCROLL: return "WM_HSCROLL";
    case WM_VSCROLL: return "WM_VSCROLL";
    default: return nullptr;
  }
}

// Records the wheel and scroll messages of a named window and swallows them,
// so no default handling forwards them to a parent and muddles the report.
LRESULT CALLBACK RecordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const char* name = MessageName(message)) {
    char line[200];
    std::snprintf(line, sizeof line, "%ls %s %08lx %08lx", static_cast<const wchar_t*>(GetPropW(window, L"ks.name")),
                  name, static_cast<unsigned long>(wParam & 0xFFFFFFFFu),
                  static_cast<unsigned long>(static_cast<unsigned long long>(lParam) & 0xFFFFFFFFu));
    {
      std::lock_guard<std::mutex> lock(g_recordLock);
      g_records.push_back(line);
    }
    if (message == WM_MOUSEWHEEL && IntArg(L"throw", 0) != 0) throw std::runtime_error("wheel");
    return 0;
  }
  auto original = reinterpret_cast<WNDPROC>(GetPropW(window, L"ks.proc"));
  return original != nullptr ? CallWindowProcW(original, window, message, wParam, lParam)
                             : DefWindowProcW(window, message, wParam, lParam);
}

std::map<std::wstring, HWND> g_windows;
std::mutex g_windowLock;

HWND Named(const std::wstring& name) {
  std::lock_guard<std::mutex> lock(g_windowLock);
  auto it = g_windows.find(name);
  return it != g_windows.end() ? it->second : nullptr;
}

// A recorded child window, or with WS_POPUP one the parent owns. Names live as
// long as the process.
HWND Child(HWND parent, const wchar_t* className, const wchar_t* name, int x, int y, int w, int h,
           DWORD style = WS_VISIBLE) {
  HWND window = CreateWindowExW(0, className, name, (style & WS_POPUP) != 0 ? style : WS_CHILD | style, x, y, w, h,
                                parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetPropW(window, L"ks.name", const_cast<wchar_t*>(name));
  SetPropW(window, L"ks.proc",
           reinterpret_cast<HANDLE>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordProc))));
  std::lock_guard<std::mutex> lock(g_windowLock);
  g_windows[name] = window;
  return window;
}

HWND Frame(const wchar_t* className, const wchar_t* title, int x, int y) {
  HWND window = CreateWindowExW(0, className, title, WS_POPUP | WS_BORDER | WS_VISIBLE, x, y, 300, 220, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  std::lock_guard<std::mutex> lock(g_windowLock);
  g_windows[title] = window;
  return window;
}

void RegisterClasses() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  for (const wchar_t* name :
       {L"KsTestFrame", L"KsTestPane", L"TrayNotifyWnd", L"ApplicationFrameWindow", L"Windows.UI.Core.CoreWindow"}) {
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
}

// The focused side: a frame on the left with an edit field.
HWND MakeEditFrame(const std::wstring& scenario) {
  if (scenario == L"fullscreen") {
    // No border: the client area is the whole frame, which is the whole monitor.
    HWND frame = CreateWindowExW(0, L"KsTestFrame", L"left", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(frame, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& r = info.rcMonitor;
    SetWindowPos(frame, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
    {
      std::lock_guard<std::mutex> lock(g_windowLock);
      g_windows[L"left"] = frame;
    }
    Child(frame, L"LISTBOX", L"list", 360, 20, 280, 200, WS_VISIBLE | WS_BORDER);
    return Child(frame, L"EDIT", L"edit", 0, 0, 280, 200, WS_VISIBLE | WS_BORDER);
  }
  HWND frame = Frame(L"KsTestFrame", L"left", 20, 20);
  return Child(frame, L"EDIT", L"edit", 0, 0, 280, 200, WS_VISIBLE | WS_BORDER);
}

// The pointed-at side: a frame on the right whose children the case chooses.
void MakePointedFrame(const std::wstring& scenario) {
  if (scenario == L"fullscreen") return;
  if (scenario == L"tray") {
    HWND tray = Frame(L"TrayNotifyWnd", L"tray", 360, 20);
    Child(tray, L"KsTestPane", L"inner", 20, 20, 200, 150);
    return;
  }
  if (scenario == L"store" || scenario == L"storeframe") {
    HWND host = Frame(L"ApplicationFrameWindow", L"right", 360, 20);
    if (scenario == L"store") {
      Child(host, L"Windows.UI.Core.CoreWindow", L"core", 0, 0, 280, 200);
    } else {
      Child(host, L"KsTestPane", L"pane", 10, 10, 260, 180);
    }
    return;
  }
  HWND right = Frame(L"KsTestFrame", L"right", 360, 20);
  if (scenario == L"redirect" || scenario == L"hung") {
    Child(right, L"LISTBOX", L"list", 0, 0, 280, 200, WS_VISIBLE | WS_BORDER);
  } else if (scenario == L"pane") {
    Child(right, L"KsTestPane", L"pane", 10, 10, 260, 180);
  } else if (scenario == L"panes") {
    Child(right, L"KsTestPane", L"pane", 10, 10, 120, 180);
    Child(right, L"KsTestPane", L"pane2", 140, 10, 120, 180);
  } else if (scenario == L"scrollbars") {
    HWND pane = Child(right, L"KsTestPane", L"pane", 10, 10, 260, 180, WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
    SetScrollRange(pane, SB_VERT, 0, 100, FALSE);
    SetScrollRange(pane, SB_HORZ, 0, 100, TRUE);
  } else if (scenario == L"siblings") {
    // Z-order is set explicitly: the large frame on top, the rest below it in
    // the order they are listed.
    const std::wstring layout = Arg(L"layout");
    std::vector<HWND> order;
    order.push_back(Child(right, L"KsTestPane", L"frame", 10, 10, 260, 180));
    if (layout == L"small") {
      order.push_back(Child(right, L"KsTestPane", L"small", 50, 50, 80, 60));
    } else if (layout == L"invisible") {
      order.push_back(Child(right, L"KsTestPane", L"hidden", 60, 60, 40, 40, 0));
      order.push_back(Child(right, L"KsTestPane", L"medium", 40, 40, 120, 100));
    } else if (layout == L"disabled") {
      order.push_back(Child(right, L"KsTestPane", L"off", 60, 60, 40, 40, WS_VISIBLE | WS_DISABLED));
      order.push_back(Child(right, L"KsTestPane", L"medium", 40, 40, 120, 100));
    } else if (layout == L"owned") {
      Child(right, L"KsTestPane", L"under", 420, 80, 60, 40, WS_POPUP | WS_VISIBLE);
      Child(right, L"KsTestPane", L"popup", 380, 40, 200, 150, WS_POPUP | WS_VISIBLE);
    } else if (layout == L"equal") {
      order.push_back(Child(right, L"KsTestPane", L"upper", 50, 50, 80, 60));
      order.push_back(Child(right, L"KsTestPane", L"lower", 50, 50, 80, 60));
    }
    SetWindowPos(order[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (size_t i = 1; i < order.size(); ++i) {
      SetWindowPos(order[i], order[i - 1], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The screen point a name stands for: a window's centre, or the centre of a
// scroll bar of "pane", asked of our own window as only that is reliable.
POINT PointOf(const std::wstring& name) {
  RECT rect = {};
  if (name == L"vbar" || name == L"hbar") {
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    GetScrollBarInfo(Named(L"pane"), name == L"vbar" ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
    return Center(info.rcScrollBar);
  }
  GetWindowRect(Named(name), &rect);
  return Center(rect);
}

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void WaitAtGate(const std::wstring& gate) {
  HANDLE made = OpenEventW(EVENT_MODIFY_STATE, FALSE, (gate + L".made").c_str());
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, gate.c_str());
  if (made == nullptr || go == nullptr) return;
  SetEvent(made);
  while (MsgWaitForMultipleObjects(1, &go, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Drain();
  CloseHandle(made);
  CloseHandle(go);
}

// Until the library is loaded, or 10 s; each round takes a message, so a hook
// on this thread is called and its library brought in.
void WaitForLibrary(const std::wstring& name) {
  const ULONGLONG until = GetTickCount64() + 10000;
  for (;;) {
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    Drain();
    if (GetModuleHandleW(name.c_str()) != nullptr || GetTickCount64() >= until) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PressScrollLock() {
  INPUT keys[2] = {};
  for (INPUT& key : keys) key.type = INPUT_KEYBOARD, key.ki.wVk = VK_SCROLL;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  Drain();
}

struct HungSide {
  HANDLE ready;
  DWORD hangMs;
};

// The pointed-at window lives on a thread that stops answering for a while.
DWORD WINAPI HungThread(void* param) {
  auto* side = static_cast<HungSide*>(param);
  MakePointedFrame(Arg(L"hungside", L"hung"));
  Drain();
  SetEvent(side->ready);
  Sleep(side->hangMs);
  Drain();
  return 0;
}

bool WriteReport(const std::wstring& path, const std::string& head) {
  FILE* report = _wfopen(path.c_str(), L"w");
  if (report == nullptr) return false;
  std::fputs(head.c_str(), report);
  {
    std::lock_guard<std::mutex> lock(g_recordLock);
    for (const std::string& line : g_records) std::fprintf(report, "%s\n", line.c_str());
  }
  std::fclose(report);
  return true;
}

// role=pointed: the pointed-at frame in a program of its own. It is ready once
// its windows are up, and ends when the marker reaches its frame.
int RunPointedProgram() {
  MakePointedFrame(Arg(L"scenario", L"redirect"));
  Drain();
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, Arg(L"ready").c_str());
  if (ready == nullptr) return 3;
  SetEvent(ready);
  CloseHandle(ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != kDoneMessage) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return WriteReport(Arg(L"report"), "") ? 0 : 2;
}

// The pointed-at program of pointed=, started and waited for until its
// windows are up; its windows are then known here by their names too.
struct PointedProgram {
  PROCESS_INFORMATION process = {};
  std::wstring report;
  HWND frame = nullptr;
};

bool StartPointedProgram(PointedProgram& pointed) {
  const std::wstring readyName = L"ks_wheel_pointed_" + std::to_wstring(GetCurrentProcessId());
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
  pointed.report = Arg(L"report") + L".pointed";
  std::wstring command = L"\"" + Arg(L"pointed") + L"\" role=pointed ready=" + readyName + L" \"report=" +
                         pointed.report + L"\" scenario=" + Arg(L"scenario", L"redirect");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                      &pointed.process) != FALSE;
  const bool up = started && WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0;
  CloseHandle(ready);
  if (!up) return false;
  pointed.frame = FindWindowW(L"KsTestFrame", L"right");
  if (pointed.frame == nullptr) return false;
  std::lock_guard<std::mutex> lock(g_windowLock);
  g_windows[L"right"] = pointed.frame;
  g_windows[L"list"] = FindWindowExW(pointed.frame, nullptr, L"ListBox", nullptr);
  g_windows[L"pane"] = FindWindowExW(pointed.frame, nullptr, L"KsTestPane", nullptr);
  return true;
}

// Ends the pointed-at program once what was queued for it has been taken, and
// takes its report lines over.
bool FinishPointedProgram(PointedProgram& pointed) {
  if (pointed.process.hProcess == nullptr) return true;
  PostMessageW(pointed.frame, kDoneMessage, 0, 0);
  const bool ended = WaitForSingleObject(pointed.process.hProcess, 20000) == WAIT_OBJECT_0;
  CloseHandle(pointed.process.hProcess);
  CloseHandle(pointed.process.hThread);
  FILE* report = _wfopen(pointed.report.c_str(), L"r");
  if (!ended || report == nullptr) return false;
  char line[256];
  while (std::fgets(line, sizeof line, report) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    Record(text.c_str());
  }
  std::fclose(report);
  DeleteFileW(pointed.report.c_str());
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    const size_t eq = a.find(L'=');
    if (eq != std::wstring::npos) g_args[a.substr(0, eq)] = a.substr(eq + 1);
  }
  const std::wstring scenario = Arg(L"scenario", L"redirect");
  RegisterClasses();
  if (Arg(L"role") == L"pointed") return RunPointedProgram();

  HWND edit = MakeEditFrame(scenario);
  HungSide hung{CreateEventW(nullptr, TRUE, FALSE, nullptr), static_cast<DWORD>(IntArg(L"hang", 0))};
  HANDLE hungThread = nullptr;
  PointedProgram pointed;
  if (scenario == L"hung") {
    hungThread = CreateThread(nullptr, 0, HungThread, &hung, 0, nullptr);
    WaitForSingleObject(hung.ready, 10000);
  } else if (g_args.count(L"pointed") != 0) {
    if (!StartPointedProgram(pointed)) return 4;
  } else {
    MakePointedFrame(scenario);
  }

  // Held, it takes the foreground and the focus only once let go: both went to
  // whatever was opened meanwhile.
  if (g_args.count(L"gate") != 0) WaitAtGate(Arg(L"gate"));
  SetForegroundWindow(GetParent(edit));
  SetFocus(Arg(L"focus") == L"none" ? nullptr : edit);
  Drain();
  // With scrolllock= the light is set by the key, as the program in front
  // takes it, and at the end pressed as often again, back as it was.
  int presses = 0;
  const bool lit = Arg(L"scrolllock") == L"on";
  for (; !Arg(L"scrolllock").empty() && presses < 2 && ((GetKeyState(VK_SCROLL) & 1) != 0) != lit; ++presses) {
    PressScrollLock();
  }

  const POINT cursor = PointOf(Arg(L"over", L"list"));
  const POINT messagePoint = g_args.count(L"msgover") ? PointOf(Arg(L"msgover")) : cursor;
  SetCursorPos(cursor.x, cursor.y);
  Drain();
  if (g_args.count(L"hookedby") != 0) WaitForLibrary(Arg(L"hookedby"));

  const UINT wheel = Arg(L"wheel") == L"h" ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
  const WPARAM wParam =
      MAKEWPARAM(static_cast<WORD>(IntArg(L"keys", 0)), static_cast<WORD>(static_cast<short>(IntArg(L"delta", 120))));
  const LPARAM lParam = MAKELPARAM(static_cast<WORD>(messagePoint.x), static_cast<WORD>(messagePoint.y));
  // Long enough and Windows calls the sleeping thread hung.
  const ULONGLONG stale = static_cast<ULONGLONG>(IntArg(L"stale", 0));
  if (stale != 0) {
    const ULONGLONG until = GetTickCount64() + stale;
    while (GetTickCount64() < until) {
      Drain();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  const ULONGLONG start = GetTickCount64();
  const std::wstring turns = Arg(L"turns");
  if (turns.empty()) PostMessageW(edit, wheel, wParam, lParam);
  wchar_t name[16];
  int delta = 0, used = 0;
  for (const wchar_t* t = turns.c_str(); swscanf(t, L"%15l[^:]:%d%n", name, &delta, &used) == 2;
       t += used + (t[used] == L',' ? 1 : 0)) {
    const POINT p = PointOf(name);
    PostMessageW(edit, wheel, MAKEWPARAM(LOWORD(wParam), static_cast<WORD>(delta)), MAKELPARAM(p.x, p.y));
  }
  PostMessageW(edit, kDoneMessage, 0, 0);

  // Take messages as the case says until the marker posted after the wheel
  // arrives; redirected sends are synchronous, so by then all have happened.
  const bool peekFirst = IntArg(L"peek", 0) != 0;
  int resize = IntArg(L"resize", 0);
  ULONGLONG elapsed = 0;
  for (;;) {
    MSG msg;
    if (peekFirst && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      continue;
    }
    try {
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
      // With resize=1 a second wheel follows once the frame is smaller than
      // its monitor: what held for the first turn may not be kept for it.
      if (msg.message == kDoneMessage && resize-- > 0) {
        SetWindowPos(GetParent(edit), nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageW(edit, wheel, wParam, lParam);
        PostMessageW(edit, kDoneMessage, 0, 0);
        continue;
      }
      if (msg.message == kDoneMessage) {
        elapsed = GetTickCount64() - start;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } catch (const std::exception&) {
      Record("program caught 0 0");
    }
  }
  // What was queued for the sleeping thread arrives once it wakes.
  if (hungThread != nullptr) {
    WaitForSingleObject(hungThread, static_cast<DWORD>(IntArg(L"hang", 0)) + 10000);
    CloseHandle(hungThread);
  }

  if (!FinishPointedProgram(pointed)) return 5;
  for (; presses > 0; --presses) PressScrollLock();

  char head[100];
  std::snprintf(head, sizeof head, "elapsed %llu\ncursor %ld %ld\n", elapsed, cursor.x, cursor.y);
  if (!WriteReport(Arg(L"report"), head)) return 2;
  ExitProcess(0);
}
