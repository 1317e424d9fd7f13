#include "companion/thread_hooks.h"

namespace ks {
namespace {

// This companion is 32-bit and runs on 64-bit Windows only, so a 32-bit
// program is one that runs under WOW64. Unknown counts as not ours.
bool Is32BitProgram(DWORD processId) {
  const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  BOOL wow64 = FALSE;
  return process && IsWow64Process(process.get(), &wow64) && wow64;
}

bool HasEnded(const UniqueKernelHandle& thread) { return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0; }

}  // namespace

BOOL CALLBACK ThreadHooks::OnWindow(HWND window, LPARAM self) {
  auto* hooks = reinterpret_cast<ThreadHooks*>(self);
  hooks->ServeThreadOf(window);
  EnumChildWindows(window, OnWindow, self);
  return TRUE;
}

void ThreadHooks::ServeExistingWindows() { EnumWindows(OnWindow, reinterpret_cast<LPARAM>(this)); }

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
  if (Is32BitProgram(processId)) entry.hook.reset(hookThread_(threadId));
  threads_.emplace(threadId, std::move(entry));
}

void ThreadHooks::ForgetEndedThreads() {
  for (auto it = threads_.begin(); it != threads_.end();) {
    it = HasEnded(it->second.thread) ? threads_.erase(it) : std::next(it);
  }
}

}  // namespace ks
