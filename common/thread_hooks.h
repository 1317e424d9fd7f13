// A hook set thread by thread on the GUI threads of the programs of one
// bitness: those that own a window when it starts, then each one whose window
// is created later (window-creation events, which come as messages: the
// thread that starts it must pump). A system-wide hook would reach programs
// of the other bitness too, and each of their messages would pay a call into
// the installing process for it. One per process.
#pragma once

#include <windows.h>

#include <unordered_map>

#include "common/hook_library_calls.h"
#include "common/unique_handle.h"

namespace ks {

// The programs a hook library can enter: its own bitness.
enum class ProgramBitness { ThirtyTwo, SixtyFour };

class ThreadHooks {
 public:
  ThreadHooks() = default;
  ~ThreadHooks() { Stop(); }
  ThreadHooks(const ThreadHooks&) = delete;
  ThreadHooks& operator=(const ThreadHooks&) = delete;

  // Hooks every such thread now and from now on; false when the creation
  // events cannot be had (then nothing is hooked).
  bool Start(HookThreadFn hookThread, ProgramBitness served);

  // Removes every hook; harmless when not started.
  void Stop();

  // The thread of a window; a thread seen before costs one lookup.
  void ServeThreadOf(HWND window);

  // Drops the entries of threads that have ended (their ids get reused).
  void ForgetEndedThreads();

  // How many windows the last Start looked at: each open window once.
  size_t WindowsVisitedAtStart() const { return visitedAtStart_; }

 private:
  struct Entry {
    UniqueHook hook;            // null: not a served program's thread, or refused
    UniqueKernelHandle thread;  // tells a reused thread id apart
  };

  static BOOL CALLBACK OnTopLevelWindow(HWND window, LPARAM self);
  static BOOL CALLBACK OnChildWindow(HWND window, LPARAM self);
  bool IsServed(DWORD processId) const;

  std::unordered_map<DWORD, Entry> threads_;
  HookThreadFn hookThread_ = nullptr;
  ProgramBitness served_ = ProgramBitness::SixtyFour;
  UniqueWinEvent created_;
  UINT_PTR timer_ = 0;
  size_t visitedAtStart_ = 0;
};

}  // namespace ks
