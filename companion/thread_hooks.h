// The companion's hooks, one per GUI thread of a 32-bit program: found among
// the windows that exist when it starts and then as windows are created.
// Threads of 64-bit programs are never hooked, so they never pay for a hook
// of the other bitness.
#pragma once

#include <windows.h>

#include <unordered_map>

#include "common/hook_library_calls.h"
#include "common/unique_handle.h"

namespace ks {

class ThreadHooks {
 public:
  explicit ThreadHooks(HookThreadFn hookThread) : hookThread_(hookThread) {}
  ThreadHooks(const ThreadHooks&) = delete;
  ThreadHooks& operator=(const ThreadHooks&) = delete;

  // Every thread that owns a window now (top-level or child).
  void ServeExistingWindows();

  // The thread of a window just created; a thread seen before costs one
  // lookup.
  void ServeThreadOf(HWND window);

  // Drops the entries of threads that have ended (their ids get reused).
  void ForgetEndedThreads();

 private:
  struct Entry {
    UniqueHook hook;            // null: not a 32-bit program's thread, or refused
    UniqueKernelHandle thread;  // tells a reused thread id apart
  };

  static BOOL CALLBACK OnWindow(HWND window, LPARAM self);

  std::unordered_map<DWORD, Entry> threads_;
  HookThreadFn hookThread_;
};

}  // namespace ks
