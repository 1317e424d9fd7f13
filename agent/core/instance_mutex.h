// One agent per logon session: the named mutex the running agent owns for its
// whole life. Its release at the very end is also the stop signal that the
// agent's worker threads wait on.
#pragma once

#include <windows.h>

#include "common/unique_handle.h"

namespace ks {

constexpr wchar_t kInstanceMutexName[] = L"Orlin_Works_Kestrow_Agent_Mutex_D845705A-49AE-40f4-A80D-679C395147E6";

// True when another agent of this logon session holds the mutex.
bool AnotherAgentRuns();

enum class InstanceClaim {
  Claimed,      // this process created and owns the mutex
  AlreadyHeld,  // another agent created it first, in the same instant
  Unguarded,    // the mutex could not be created; the agent runs without it
};

// Creates the mutex owned by the calling thread and keeps its handle for
// InstanceMutex(). A mutex that exists already means another agent won the
// race since AnotherAgentRuns() looked: its handle is closed at once.
InstanceClaim ClaimInstanceMutex();

// The handle kept by ClaimInstanceMutex(), or null.
HANDLE InstanceMutex();

// A worker thread's own handle on the mutex, its stop signal: it stays valid
// until the worker closes it, however early the main thread closes its own.
// Empty while the agent runs without the mutex.
UniqueKernelHandle DuplicateStopSignal();

// Releases and closes the mutex; waiting worker threads wake up.
void ReleaseInstanceMutex();

}  // namespace ks
