#include "common/thread_hooks.h"

namespace ks {
namespace {

// Ended threads are dropped this often; a thread id seen again is checked then.
constexpr UINT kForgetEndedMs = 30000;

ThreadHooks* g_running = nullptr;

void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_WINDOW && child == CHILDID_SELF && window != nullptr && g_running != nullptr) {
    g_running->ServeThreadOf(window);
  }
}

void CALLBACK OnForgetTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_running != nullptr) g_running->ForgetEndedThreads();
}

bool HasEnded(const UniqueKernelHandle& thread) { return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0; }

// Thread hooks are used on 64-bit Windows only, where a 32-bit program runs
// under WOW64. Unknown counts as neither.
bool RunsUnderWow64(DWORD processId, bool& wow64) {
  const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  BOOL is = FALSE;
  if (!process || !IsWow64Process(process.get(), &is)) return false;
  wow64 = is != FALSE;
  return true;
}

}  // namespace

bool ThreadHooks::Start(HookThreadFn hookThread, ProgramBitness served) {
  Stop();
  if (hookThread == nullptr || g_running != nullptr) return false;
  hookThread_ = hookThread;
  served_ = served;
  // Watching creation first: a window made while the others are counted is
  // not missed.
  created_.reset(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowCreated, 0, 0,
                                 WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
  if (!created_) return false;
  g_running = this;
  visitedAtStart_ = 0;
  EnumWindows(OnTopLevelWindow, reinterpret_cast<LPARAM>(this));
  timer_ = SetTimer(nullptr, 0, kForgetEndedMs, OnForgetTimer);
  return true;
}

void ThreadHooks::Stop() {
  if (g_running == this) g_running = nullptr;
  if (timer_ != 0) KillTimer(nullptr, timer_);
  timer_ = 0;
  created_.reset();
  threads_.clear();
}

// EnumChildWindows already walks every descendant, so a top-level window
// asks for its children once and a child asks for nothing: each window of the
// desktop is visited once, however deep it is nested.
BOOL CALLBACK ThreadHooks::OnTopLevelWindow(HWND window, LPARAM self) {
  OnChildWindow(window, self);
  EnumChildWindows(window, OnChildWindow, self);
  return TRUE;
}

BOOL CALLBACK ThreadHooks::OnChildWindow(HWND window, LPARAM self) {
  auto* hooks = reinterpret_cast<ThreadHooks*>(self);
  ++hooks->visitedAtStart_;
  hooks->ServeThreadOf(window);
  return TRUE;
}

bool ThreadHooks::IsServed(DWORD processId) const {
  bool wow64 = false;
  if (!RunsUnderWow64(processId, wow64)) return false;
  return served_ == ProgramBitness::SixtyFour ? !wow64 : wow64;
}

void ThreadHooks::ServeThreadOf(HWND window) {
  DWORD processId = 0;
  const DWORD threadId = GetWindowThreadProcessId(window, &processId);
  if (threadId == 0 || processId == GetCurrentProcessId()) return;  // gone already, or ours
  const auto known = threads_.find(threadId);
  if (known != threads_.end()) {
    if (!HasEnded(known->second.thread)) return;
    threads_.erase(known);
  }
  Entry entry;
  entry.thread.reset(OpenThread(SYNCHRONIZE, FALSE, threadId));
  // Without a handle a reused id could not be told apart: try again next time.
  if (!entry.thread) return;
  if (IsServed(processId)) entry.hook.reset(hookThread_(threadId));
  threads_.emplace(threadId, std::move(entry));
}

void ThreadHooks::ForgetEndedThreads() {
  for (auto it = threads_.begin(); it != threads_.end();) {
    it = HasEnded(it->second.thread) ? threads_.erase(it) : std::next(it);
  }
}

}  // namespace ks
