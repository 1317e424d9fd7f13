#include "hook/shared_state.h"

#include "log/log_writer.h"

namespace ks {

// One section, shared by every process that maps the library.
__attribute__((section("Shared"), shared)) SharedState g_shared = {};

HINSTANCE g_dllInstance = nullptr;

namespace {

// Per process: the session key (0 until known) and where its slot was last
// found.
LONG g_ownKey = 0;
LONG g_ownIndex = -1;
// The log atom of a process whose session has no slot: logging stays off.
ATOM g_noSlotAtom = 0;

LONG Load(const LONG& value) { return __atomic_load_n(&value, __ATOMIC_ACQUIRE); }

LONG OwnSessionKey() {
  LONG key = __atomic_load_n(&g_ownKey, __ATOMIC_RELAXED);
  if (key != 0) return key;
  DWORD session = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return 0;
  key = static_cast<LONG>(session + 1);
  __atomic_store_n(&g_ownKey, key, __ATOMIC_RELAXED);
  return key;
}

SessionSlot* FirstSlotOf(LONG key) {
  for (DWORD i = 0; i < kSessionSlots; ++i) {
    if (Load(g_shared.slots[i].sessionKey) == key) return &g_shared.slots[i];
  }
  return nullptr;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// A slot taken anew holds nothing of its last session. Its generation moves
// on, so no process's cached answer for the slot's earlier life still fits.
void Clear(SessionSlot& slot) {
  slot.logAtom = 0;
  slot.hookHandle = nullptr;
  slot.servesThreads = 0;
  slot.hookFlags = 0;
  slot.installerProcessId = 0;
  slot.installerStart = FILETIME{};
  LeftAloneState& list = slot.leftAlone;
  const LONG generation = (__atomic_load_n(&list.generation, __ATOMIC_RELAXED) | 1) + 1;
  list.count = 0;
  list.leaveFullScreen = 0;
  list.names[0] = 0;
  __atomic_store_n(&list.generation, generation, __ATOMIC_RELEASE);
  ProgramRulesState& rules = slot.programRules;
  const LONG rulesGeneration = (__atomic_load_n(&rules.generation, __ATOMIC_RELAXED) | 1) + 1;
  rules.count = 0;
  rules.names[0] = 0;
  __atomic_store_n(&rules.generation, rulesGeneration, __ATOMIC_RELEASE);
  HoldSlot(slot);
}

}  // namespace

void HoldSlot(SessionSlot& slot) {
  slot.holderStart = OwnStartTime();
  slot.holderProcessId = GetCurrentProcessId();
}

ATOM& LogAtomSlot() {
  SessionSlot* slot = OwnSessionSlot();
  return slot != nullptr ? slot->logAtom : g_noSlotAtom;
}

SessionSlot* OwnSessionSlot() {
  const LONG key = OwnSessionKey();
  if (key == 0) return nullptr;
  const LONG cached = __atomic_load_n(&g_ownIndex, __ATOMIC_RELAXED);
  if (cached >= 0 && cached < static_cast<LONG>(kSessionSlots) && Load(g_shared.slots[cached].sessionKey) == key) {
    return &g_shared.slots[cached];
  }
  SessionSlot* slot = FirstSlotOf(key);
  if (slot != nullptr) __atomic_store_n(&g_ownIndex, static_cast<LONG>(SlotIndex(slot)), __ATOMIC_RELAXED);
  return slot;
}

SessionSlot* ClaimSessionSlot() {
  const LONG key = OwnSessionKey();
  if (key == 0) return nullptr;
  if (SessionSlot* own = OwnSessionSlot()) return own;
  SessionSlot* taken = nullptr;
  for (DWORD i = 0; i < kSessionSlots && taken == nullptr; ++i) {
    SessionSlot& slot = g_shared.slots[i];
    LONG held = Load(slot.sessionKey);
    // A holder that cannot be opened may still run: its slot stays its own.
    if (held != 0 && FateOf(slot.holderProcessId, slot.holderStart) != ProcessFate::Ended) continue;
    if (__atomic_compare_exchange_n(&slot.sessionKey, &held, key, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) {
      Clear(slot);
      taken = &slot;
    }
  }
  if (taken == nullptr) return nullptr;
  // Another process of this session may have taken a slot at the same time:
  // the first one counts for both.
  SessionSlot* first = FirstSlotOf(key);
  if (first != taken) __atomic_store_n(&taken->sessionKey, 0, __ATOMIC_RELEASE);
  return OwnSessionSlot();
}

DWORD SlotIndex(const SessionSlot* slot) { return static_cast<DWORD>(slot - g_shared.slots); }

ProcessFate FateOf(DWORD processId, const FILETIME& start) {
  if (processId == 0) return ProcessFate::Ended;
  // Limited query rights are granted on an elevated process of the same user.
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER ? ProcessFate::Ended : ProcessFate::Unknown;
  FILETIME started = {}, exited = {}, kernel = {}, user = {};
  const bool timed = GetProcessTimes(process, &started, &exited, &kernel, &user) != FALSE;
  CloseHandle(process);
  if (!timed) return ProcessFate::Unknown;
  // An exit time is set once the process has ended; another start time is a
  // later process that got the same id.
  const bool running = exited.dwLowDateTime == 0 && exited.dwHighDateTime == 0;
  return running && SameTime(started, start) ? ProcessFate::Running : ProcessFate::Ended;
}

FILETIME OwnStartTime() {
  FILETIME started = {}, exited = {}, kernel = {}, user = {};
  GetProcessTimes(GetCurrentProcess(), &started, &exited, &kernel, &user);
  return started;
}

int IndexOfPackedName(const wchar_t (&names)[kLeftAloneChars], DWORD count, const wchar_t* name) {
  const wchar_t* const end = names + kLeftAloneChars;
  const wchar_t* entry = names;
  for (DWORD i = 0; i < count && i < kMaxExcludedPrograms && entry < end; ++i) {
    int length = 0;
    while (entry + length < end && entry[length] != 0) ++length;
    if (CompareStringOrdinal(entry, length, name, -1, TRUE) == CSTR_EQUAL) return static_cast<int>(i);
    entry += length + 1;
  }
  return -1;
}

bool AppendPackedName(wchar_t (&names)[kLeftAloneChars], DWORD& used, const wchar_t* name, DWORD length) {
  if (used + length + 1 > kLeftAloneChars) return false;
  for (DWORD i = 0; i < length; ++i) names[used + i] = name[i];
  names[used + length] = 0;
  used += length + 1;
  return true;
}

DWORD SessionHookFlags() {
  const SessionSlot* slot = OwnSessionSlot();
  return slot != nullptr ? slot->hookFlags : 0;
}

}  // namespace ks
