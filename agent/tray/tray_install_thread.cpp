#include "agent/tray/tray_install_thread.h"

#include <memory>

#include "agent/core/instance_mutex.h"
#include "common/unique_handle.h"

namespace ks {
namespace {

struct TrayInstallParams {
  HWND window;
  UINT message;
  DWORD waitMs;
  int attempts;
  UniqueKernelHandle stopSignal;  // the thread's own, closed when it ends
};

DWORD WINAPI TrayInstallThread(void* parameter) noexcept {
  // The block is the thread's from here on; freed when the thread ends.
  const std::unique_ptr<TrayInstallParams> params(static_cast<TrayInstallParams*>(parameter));
  const HANDLE stopSignal = params->stopSignal.get();
  for (int attempt = 0; attempt < params->attempts; ++attempt) {
    // Sent, so the icon is added on the main thread, which owns all tray work.
    if (SendMessageW(params->window, params->message, 0, 0) != 0) break;
    if (stopSignal == nullptr) {
      // An agent without its mutex has no stop signal: plain waits.
      Sleep(params->waitMs);
      continue;
    }
    const DWORD wait = WaitForSingleObject(stopSignal, params->waitMs);
    // Acquired: the agent released it on its way out. Given back at once, so
    // nothing is left abandoned. A failed wait means the same end.
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
      ReleaseMutex(stopSignal);
      break;
    }
    if (wait == WAIT_FAILED) break;
  }
  return 0;
}

}  // namespace

bool StartTrayInstallThread(HWND window, UINT message, DWORD waitMs, int attempts) {
  auto params =
      std::make_unique<TrayInstallParams>(TrayInstallParams{window, message, waitMs, attempts, DuplicateStopSignal()});
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, TrayInstallThread, params.get(), 0, nullptr));
  if (!thread) return false;
  params.release();  // now owned by the thread
  return true;
}

}  // namespace ks
