#include "hook/excluded_programs.h"

#include "hook/full_screen.h"
#include "hook/leave_alone_export.h"
#include "hook/wheel_hook.h"

namespace ks {
namespace {

constexpr DWORD kNameChars = kMaxExcludedProgramName + 1;
// Paths longer than this name programs that no list entry can match often
// enough to matter; their program counts as not listed.
constexpr DWORD kPathChars = 1024;

// Shared by every process that maps the library. The agent rewrites it only
// between installs, but a process may still be reading while it does: the
// generation is odd during a write and grows by two with each, so a reader
// that sees it change, or odd, knows its copy may be torn.
struct LeftAloneState {
  LONG generation;
  DWORD leaveFullScreen;
  DWORD count;
  wchar_t names[kMaxExcludedPrograms][kNameChars];
};

__attribute__((section("Shared"), shared)) LeftAloneState g_leftAlone = {0, 0, 0, {{0}}};

// Per process: this program's file name, worked out once.
INIT_ONCE g_ownNameOnce = INIT_ONCE_STATIC_INIT;
wchar_t g_ownName[kNameChars];
// Whether this program is listed, for one generation: bit 31 set once
// known, bit 0 the answer, the generation's low bits in between. One word,
// so threads of this process never see half of it.
LONG g_ownAnswer;

// The last other program a wheel went to, and whether it is listed.
SRWLOCK g_targetLock = SRWLOCK_INIT;
struct TargetAnswer {
  DWORD processId;
  HWND window;  // a window of that process, alive while the process is
  LONG generation;
  bool listed;
};
TargetAnswer g_target;

LONG ReadGeneration() { return __atomic_load_n(&g_leftAlone.generation, __ATOMIC_ACQUIRE); }

bool SameName(const wchar_t* a, const wchar_t* b) { return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL; }

// Whether the name is on the list as of one whole generation, and which.
// False when no whole copy could be read: the wheel then works as usual.
bool ListHolds(const wchar_t* name, LONG& generation) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const LONG before = ReadGeneration();
    if ((before & 1) != 0) continue;
    DWORD count = g_leftAlone.count;
    if (count > kMaxExcludedPrograms) count = kMaxExcludedPrograms;
    bool found = false;
    for (DWORD i = 0; i < count && !found; ++i) found = SameName(g_leftAlone.names[i], name);
    __atomic_thread_fence(__ATOMIC_ACQUIRE);
    if (__atomic_load_n(&g_leftAlone.generation, __ATOMIC_RELAXED) == before) {
      generation = before;
      return found;
    }
  }
  generation = -1;
  return false;
}

// The part after the last "\" of a zero-terminated path into a name buffer;
// empty when it does not fit, since no listed name is that long.
void StoreFileName(const wchar_t* path, wchar_t (&name)[kNameChars]) {
  const wchar_t* start = path;
  for (const wchar_t* p = path; *p != 0; ++p) {
    if (*p == L'\\' || *p == L'/') start = p + 1;
  }
  DWORD length = 0;
  while (start[length] != 0 && length < kNameChars) ++length;
  if (length >= kNameChars) length = 0;
  for (DWORD i = 0; i < length; ++i) name[i] = start[i];
  name[length] = 0;
}

BOOL CALLBACK FindOwnName(PINIT_ONCE, PVOID, PVOID*) {
  wchar_t path[kPathChars] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, kPathChars);
  if (length != 0 && length < kPathChars) StoreFileName(path, g_ownName);
  return TRUE;
}

bool OwnProgramListed() {
  const LONG generation = ReadGeneration();
  const LONG known = __atomic_load_n(&g_ownAnswer, __ATOMIC_RELAXED);
  const LONG key = static_cast<LONG>(0x80000000u | ((static_cast<DWORD>(generation) & 0x3FFFFFFFu) << 1));
  if ((known & ~1L) == key) return (known & 1) != 0;

  InitOnceExecuteOnce(&g_ownNameOnce, FindOwnName, nullptr, nullptr);
  if (g_ownName[0] == 0) return false;
  LONG read = 0;
  const bool listed = ListHolds(g_ownName, read);
  if (read == generation) __atomic_store_n(&g_ownAnswer, key | (listed ? 1 : 0), __ATOMIC_RELAXED);
  return listed;
}

DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

// A program whose name cannot be had (one that may not be opened, or with a
// path too long) counts as not listed, and is remembered so.
bool ProgramListed(DWORD processId, LONG& generation) {
  generation = ReadGeneration();
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return false;
  wchar_t path[kPathChars] = {};
  DWORD length = kPathChars;
  const bool named = QueryFullProcessImageNameW(process, 0, path, &length) != FALSE;
  CloseHandle(process);
  if (!named) return false;
  wchar_t name[kNameChars] = {};
  StoreFileName(path, name);
  return name[0] != 0 && ListHolds(name, generation);
}

}  // namespace

void StoreLeftAlone(const wchar_t* programs, DWORD leaveFullScreen) {
  const LONG started = __atomic_fetch_or(&g_leftAlone.generation, 1, __ATOMIC_SEQ_CST) | 1;
  DWORD count = 0;
  for (const wchar_t* p = programs; p != nullptr && *p != 0 && count < kMaxExcludedPrograms;) {
    const wchar_t* end = p;
    while (*end != 0 && *end != L';') ++end;
    const DWORD length = static_cast<DWORD>(end - p);
    if (length != 0 && length < kNameChars) {
      for (DWORD i = 0; i < length; ++i) g_leftAlone.names[count][i] = p[i];
      g_leftAlone.names[count][length] = 0;
      ++count;
    }
    p = *end == 0 ? end : end + 1;
  }
  g_leftAlone.count = count;
  g_leftAlone.leaveFullScreen = leaveFullScreen != 0 ? 1 : 0;
  __atomic_store_n(&g_leftAlone.generation, started + 1, __ATOMIC_RELEASE);
}

bool IsWheelLeftAlone() {
  if (g_leftAlone.count != 0 && OwnProgramListed()) return true;
  return g_leftAlone.leaveFullScreen != 0 && ForegroundIsFullScreen();
}

bool IsExcludedProgramWindow(HWND window) {
  if (window == nullptr || g_leftAlone.count == 0) return false;
  const DWORD processId = ProcessOf(window);
  // This program's own windows: it is not listed, or the wheel was left alone.
  if (processId == 0 || processId == GetCurrentProcessId()) return false;

  const LONG generation = ReadGeneration();
  AcquireSRWLockShared(&g_targetLock);
  const TargetAnswer known = g_target;
  ReleaseSRWLockShared(&g_targetLock);
  // A window of the process outlives no process, so while the remembered one
  // still belongs to that id, the id was not given to another process.
  if (known.processId == processId && known.generation == generation &&
      (known.window == window || ProcessOf(known.window) == processId)) {
    return known.listed;
  }

  LONG read = -1;
  const bool listed = ProgramListed(processId, read);
  if (read == generation) {
    AcquireSRWLockExclusive(&g_targetLock);
    g_target = TargetAnswer{processId, window, generation, listed};
    ReleaseSRWLockExclusive(&g_targetLock);
  }
  return listed;
}

bool IsExcludedProgramAt(POINT point) {
  return g_leftAlone.count != 0 && IsExcludedProgramWindow(FindWheelTarget(point));
}

}  // namespace ks
