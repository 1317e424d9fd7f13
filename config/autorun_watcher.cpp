#include "config/autorun_watcher.h"

#include <memory>

#include "common/autorun.h"

namespace ks {
namespace {

constexpr DWORD kStopWaitMs = 1000;

// Handed to the thread, which owns it from then on. The thread has its own
// handle to the stop mutex, so the window's thread may close its handle
// whenever it likes.
struct WatchBlock {
  UniqueKernelHandle stopMutex;
  UniqueKernelHandle armed;  // set once the first notification is armed
  HWND window = nullptr;
  UINT message = 0;
};

// True while the window's thread still holds the stop mutex, that is while
// the dialog has not ended.
bool StillWanted(HANDLE stopMutex) {
  const DWORD state = WaitForSingleObject(stopMutex, 0);
  if (state == WAIT_TIMEOUT) return true;
  if (state == WAIT_OBJECT_0 || state == WAIT_ABANDONED) ReleaseMutex(stopMutex);
  return false;
}

DWORD WINAPI WatchRunKey(void* param) {
  const std::unique_ptr<WatchBlock> block(static_cast<WatchBlock*>(param));
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_NOTIFY, key.put()) != ERROR_SUCCESS || !key) return 2;
  for (bool first = true;; first = false) {
    const UniqueKernelHandle changed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!changed) return 1;
    RegNotifyChangeKeyValue(key.get(), FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed.get(), TRUE);
    if (first) {
      SetEvent(block->armed.get());
    } else {
      // Told only now that the next change cannot be missed: a change made
      // between the wake-up and this arming is read with this one, so the box
      // always ends in the state the Run value has.
      if (!IsWindow(block->window) || !StillWanted(block->stopMutex.get())) break;
      PostMessageW(block->window, block->message, 0, 0);
    }
    const HANDLE handles[2] = {block->stopMutex.get(), changed.get()};
    const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 + 1) {
      // Stopped (or the mutex was abandoned, or the wait failed).
      if (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED_0) ReleaseMutex(block->stopMutex.get());
      break;
    }
  }
  return 0;
}

}  // namespace

bool AutorunWatcher::Start(HWND window, UINT message) {
  if (stopMutex_) return true;
  UniqueKernelHandle stop(CreateMutexW(nullptr, TRUE, nullptr));
  if (!stop) return false;
  auto block = std::make_unique<WatchBlock>();
  block->window = window;
  block->message = message;
  const UniqueKernelHandle armed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!armed) return false;
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, stop.get(), process, block->stopMutex.put(), SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
                       0) ||
      !DuplicateHandle(process, armed.get(), process, block->armed.put(), EVENT_MODIFY_STATE, FALSE, 0)) {
    return false;
  }
  UniqueKernelHandle thread(CreateThread(nullptr, 0, WatchRunKey, block.get(), 0, nullptr));
  if (!thread) return false;
  block.release();  // the thread frees it
  // Back only once a change is sure to be seen (or the thread gave up), so
  // the caller's next read of the value misses nothing.
  const HANDLE started[2] = {armed.get(), thread.get()};
  WaitForMultipleObjects(2, started, FALSE, kStopWaitMs);
  stopMutex_ = std::move(stop);
  thread_ = std::move(thread);
  return true;
}

void AutorunWatcher::Stop() {
  if (!stopMutex_) return;
  // Releasing the mutex wakes the thread's wait; it takes the mutex and ends.
  ReleaseMutex(stopMutex_.get());
  stopMutex_.reset();
  if (thread_) WaitForSingleObject(thread_.get(), kStopWaitMs);
  thread_.reset();
}

}  // namespace ks
