// The worker thread that watches the current user's Run key while the
// settings page is open and tells the settings window of every change, so
// that the autorun box follows the agent's tray menu.
#pragma once

#include <windows.h>

#include "common/unique_handle.h"

namespace ks {

class AutorunWatcher {
 public:
  AutorunWatcher() = default;
  ~AutorunWatcher() { Stop(); }
  AutorunWatcher(const AutorunWatcher&) = delete;
  AutorunWatcher& operator=(const AutorunWatcher&) = delete;

  // Starts the thread, which posts message to window after each change of a
  // value of the Run key, and returns once it watches: a change made after
  // Start returns is never missed, so the caller reads the value again then.
  // Called on the window's thread; false when no watcher runs.
  bool Start(HWND window, UINT message);

  // Wakes the thread and waits a short while for it to end. After this
  // returns the thread posts nothing more, even if it has not ended yet; it
  // never keeps the process alive.
  void Stop();

 private:
  // Owned by the calling thread while the watcher runs; released to stop it.
  UniqueKernelHandle stopMutex_;
  UniqueKernelHandle thread_;
};

}  // namespace ks
