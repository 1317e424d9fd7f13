#include "agent/core/instance_mutex.h"

#include <utility>

#include "common/unique_handle.h"

namespace ks {
namespace {

UniqueKernelHandle& Mutex() {
  static UniqueKernelHandle mutex;
  return mutex;
}

}  // namespace

bool AnotherAgentRuns() {
  const UniqueKernelHandle other(OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName));
  return static_cast<bool>(other);
}

InstanceClaim ClaimInstanceMutex() {
  if (Mutex()) return InstanceClaim::Claimed;
  UniqueKernelHandle created(CreateMutexW(nullptr, TRUE, kInstanceMutexName));
  if (!created) return InstanceClaim::Unguarded;
  // Two agents started together can both find no mutex; the second to create
  // it gets the first one's object, not owned, and must step back.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return InstanceClaim::AlreadyHeld;
  Mutex() = std::move(created);
  return InstanceClaim::Claimed;
}

HANDLE InstanceMutex() { return Mutex().get(); }

UniqueKernelHandle DuplicateStopSignal() {
  UniqueKernelHandle copy;
  if (Mutex()) {
    const HANDLE process = GetCurrentProcess();
    DuplicateHandle(process, Mutex().get(), process, copy.put(), SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, 0);
  }
  return copy;
}

void ReleaseInstanceMutex() {
  if (Mutex()) {
    ReleaseMutex(Mutex().get());
    Mutex().reset();
  }
}

}  // namespace ks
