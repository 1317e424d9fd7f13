// State that exists once for every process that maps the hook library: set in
// the agent's process, read by the hook procedure everywhere else.
#pragma once

#include <windows.h>

namespace ks {

struct SharedState {
  ATOM logAtom;      // the log writer's atom; 0 while logging is off
  HHOOK hookHandle;  // the system-wide hook; null while it is not installed
  // Nonzero while the installer hooks chosen threads one by one instead (the
  // companion: a hook of the other bitness would cost every program of the
  // agent's bitness a call into another process per message).
  DWORD servesThreads;
  DWORD hookFlags;  // flags of the last install
  // The process that made the installation, and when it started: the hook
  // dies with that process, while this section lives on in every program
  // that still maps the library. The start time tells a recycled id apart.
  DWORD installerProcessId;
  FILETIME installerStart;
};

extern SharedState g_shared;

// This process's module handle of the library.
extern HINSTANCE g_dllInstance;

}  // namespace ks
