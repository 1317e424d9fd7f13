#include "hook/process_level.h"

namespace ks {
namespace {

struct TokenFunctions {
  BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, HANDLE*);
  BOOL(WINAPI* getTokenInformation)(HANDLE, TOKEN_INFORMATION_CLASS, void*, DWORD, DWORD*);
};

INIT_ONCE g_tokenOnce = INIT_ONCE_STATIC_INIT;
TokenFunctions g_token;

BOOL CALLBACK LookUpTokenFunctions(PINIT_ONCE, PVOID, PVOID*) {
  // Kept loaded for the life of the process: the functions are called on
  // later turns. Nearly every program has it loaded anyway.
  const HMODULE advapi32 = LoadLibraryW(L"advapi32.dll");
  if (advapi32 == nullptr) return TRUE;
  g_token.openProcessToken = reinterpret_cast<decltype(g_token.openProcessToken)>(
      reinterpret_cast<void*>(GetProcAddress(advapi32, "OpenProcessToken")));
  g_token.getTokenInformation = reinterpret_cast<decltype(g_token.getTokenInformation)>(
      reinterpret_cast<void*>(GetProcAddress(advapi32, "GetTokenInformation")));
  return TRUE;
}

INIT_ONCE g_ownLevelOnce = INIT_ONCE_STATIC_INIT;
DWORD g_ownLevel = kLevelUnknown;

BOOL CALLBACK ReadOwnLevel(PINIT_ONCE, PVOID, PVOID*) {
  g_ownLevel = ReadProcessLevel(GetCurrentProcessId());
  return TRUE;
}

ProcessLevels g_levels;

// The level in the label of a token opened for query.
DWORD LevelOfToken(HANDLE token) {
  // A label and its SID: the SID has one sub-authority, at most fifteen.
  alignas(void*) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE] = {};
  DWORD length = 0;
  if (!g_token.getTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &length)) return kLevelUnknown;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
  const BYTE* sid = static_cast<const BYTE*>(label->Label.Sid);
  // SID layout: revision, sub-authority count, 6 bytes of authority, then
  // the 32-bit sub-authorities; the level is the last one.
  if (sid < buffer || sid + 8 > buffer + sizeof buffer) return kLevelUnknown;
  const DWORD count = sid[1];
  if (count == 0 || sid + 8 + 4 * count > buffer + sizeof buffer) return kLevelUnknown;
  const BYTE* last = sid + 8 + 4 * (count - 1);
  return static_cast<DWORD>(last[0]) | static_cast<DWORD>(last[1]) << 8 | static_cast<DWORD>(last[2]) << 16 |
         static_cast<DWORD>(last[3]) << 24;
}

}  // namespace

DWORD CachedProcessLevel(ProcessLevels& cache, DWORD processId, HWND window, ReadLevelFn read) {
  DWORD level = kLevelUnknown;
  bool known = false;
  AcquireSRWLockShared(&cache.lock);
  for (const ProcessLevels::Entry& entry : cache.entries) {
    if (entry.processId == processId && (entry.window == window || OwnerOf(entry.window).process == processId)) {
      level = entry.level;
      known = true;
      break;
    }
  }
  ReleaseSRWLockShared(&cache.lock);
  if (known) return level;

  level = read(processId);
  AcquireSRWLockExclusive(&cache.lock);
  // An entry of the same id belonged to a process that has ended: replace it.
  constexpr DWORD kEntries = sizeof cache.entries / sizeof cache.entries[0];
  DWORD slot = cache.next % kEntries;
  bool reused = false;
  for (DWORD i = 0; i < kEntries; ++i) {
    if (cache.entries[i].processId == processId) {
      slot = i;
      reused = true;
    }
  }
  if (!reused) cache.next = (slot + 1) % kEntries;
  cache.entries[slot] = ProcessLevels::Entry{processId, window, level};
  ReleaseSRWLockExclusive(&cache.lock);
  return level;
}

bool OutranksThisProcess(DWORD ownLevel, DWORD targetLevel) {
  if (ownLevel == kLevelUnknown) return false;
  return targetLevel == kLevelUnknown || targetLevel > ownLevel;
}

DWORD ReadProcessLevel(DWORD processId) {
  InitOnceExecuteOnce(&g_tokenOnce, LookUpTokenFunctions, nullptr, nullptr);
  if (g_token.openProcessToken == nullptr || g_token.getTokenInformation == nullptr) return kLevelUnknown;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return kLevelUnknown;
  HANDLE token = nullptr;
  const bool opened = g_token.openProcessToken(process, TOKEN_QUERY, &token) != FALSE;
  CloseHandle(process);
  if (!opened) return kLevelUnknown;
  const DWORD level = LevelOfToken(token);
  CloseHandle(token);
  return level;
}

bool IsOutrankingWindow(HWND window, const WindowOwner& owner) {
  const DWORD processId = owner.process;
  if (processId == 0 || processId == GetCurrentProcessId()) return false;
  InitOnceExecuteOnce(&g_ownLevelOnce, ReadOwnLevel, nullptr, nullptr);
  if (g_ownLevel == kLevelUnknown) return false;
  return OutranksThisProcess(g_ownLevel, CachedProcessLevel(g_levels, processId, window, ReadProcessLevel));
}

}  // namespace ks
