// Windows drops, without an error, what a program sends to a window of a
// program with higher rights (an elevated one): a turn over such a window
// stays with the focused window, as when the target cannot be reached.
#pragma once

#include <windows.h>

#include "hook/window_owner.h"

namespace ks {

// An integrity level (the last sub-authority of the token's label), or this
// when it cannot be read.
constexpr DWORD kLevelUnknown = 0xFFFFFFFF;

using ReadLevelFn = DWORD (*)(DWORD processId);

// The levels of the last few processes asked about, zero-filled to start.
// An entry holds a window of its process: while that window still belongs to
// the id, the id was not given to another process.
struct ProcessLevels {
  struct Entry {
    DWORD processId;
    HWND window;
    DWORD level;
  };
  SRWLOCK lock;
  Entry entries[8];
  DWORD next;
};

// The level of the process that owns the window, read with read at most once
// while the cache remembers it.
DWORD CachedProcessLevel(ProcessLevels& cache, DWORD processId, HWND window, ReadLevelFn read);

// Whether a turn must stay with the focused window: the target's level is
// higher or unknown. Where this process's own level is unknown (a Windows
// without levels), nothing can be compared and nothing stays.
bool OutranksThisProcess(DWORD ownLevel, DWORD targetLevel);

// The level of a running process from its token; the token functions are
// advapi32's, looked up once per process.
DWORD ReadProcessLevel(DWORD processId);

// True when the window, of the owner given, belongs to another process whose
// level outranks this one's.
bool IsOutrankingWindow(HWND window, const WindowOwner& owner);

}  // namespace ks
