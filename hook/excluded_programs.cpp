#include "hook/excluded_programs.h"

#include "hook/full_screen.h"
#include "common/hook_exports.h"
#include "hook/wheel_hook.h"

namespace ks {
namespace {

constexpr DWORD kNameChars = kMaxExcludedProgramName + 1;
// Paths longer than this name programs that no list entry can match often
// enough to matter; their program counts as not listed.
constexpr DWORD kPathChars = 1024;
// How many other programs' answers a process keeps: the few a user turns
// the wheel over in turn.
constexpr DWORD kKnownPrograms = 8;

// Per process: this program's file name, worked out once.
INIT_ONCE g_ownNameOnce = INIT_ONCE_STATIC_INIT;
wchar_t g_ownName[kNameChars];
// Whether this program is listed, for one slot and generation: bit 31 set
// once known, bits 30 to 27 the slot, the generation's low bits below them,
// bit 0 the answer. One word, so threads of this process never see half of it.
LONG g_ownAnswer;
static_assert(kSessionSlots <= 16, "the slot takes four bits of the answer");
// This program's rule the same way: bit 31, the slot, the rules' generation
// in bits 26 to 10 (it only ever stands even), the rule in the ten below.
LONG g_ownRule;
constexpr DWORD kRuleBits = 0x3FF;
static_assert(((kMaxWheelSpeed | ((RULE_REVERSE | RULE_SCROLLBARS) << 8)) & ~kRuleBits) == 0,
              "a rule fits its ten bits");

// Other programs a wheel went to lately, whether each is listed and its
// rule, so a program's name is looked up once.
SRWLOCK g_knownLock = SRWLOCK_INIT;
struct KnownProgram {
  DWORD processId;  // 0 for an empty entry
  HWND window;      // a window of that process, alive while the process is
  DWORD slot;
  LONG generation;       // of the programs left alone
  LONG rulesGeneration;  // of the rules
  bool listed;
  DWORD rule;
};
KnownProgram g_known[kKnownPrograms];
DWORD g_nextKnown;

LONG ReadGeneration(const LeftAloneState& list) { return __atomic_load_n(&list.generation, __ATOMIC_ACQUIRE); }
LONG ReadGeneration(const ProgramRulesState& rules) { return __atomic_load_n(&rules.generation, __ATOMIC_ACQUIRE); }

// Whether the name is on the list as of one whole generation, and which.
// False when no whole copy could be read: the wheel then works as usual. Any
// process can write the list, so every read stays inside it.
bool ListHolds(const LeftAloneState& list, const wchar_t* name, LONG& generation) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const LONG before = ReadGeneration(list);
    if ((before & 1) != 0) continue;
    const bool found = IndexOfPackedName(list.names, list.count, name) >= 0;
    __atomic_thread_fence(__ATOMIC_ACQUIRE);
    if (__atomic_load_n(&list.generation, __ATOMIC_RELAXED) == before) {
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

bool OwnProgramListed(const SessionSlot& slot) {
  const LONG generation = ReadGeneration(slot.leftAlone);
  const LONG known = __atomic_load_n(&g_ownAnswer, __ATOMIC_RELAXED);
  const DWORD tag = 0x80000000u | (SlotIndex(&slot) << 27) | ((static_cast<DWORD>(generation) & 0x03FFFFFFu) << 1);
  const LONG key = static_cast<LONG>(tag);
  if ((known & ~1L) == key) return (known & 1) != 0;

  InitOnceExecuteOnce(&g_ownNameOnce, FindOwnName, nullptr, nullptr);
  if (g_ownName[0] == 0) return false;
  LONG read = 0;
  const bool listed = ListHolds(slot.leftAlone, g_ownName, read);
  if (read == generation) __atomic_store_n(&g_ownAnswer, key | (listed ? 1 : 0), __ATOMIC_RELAXED);
  return listed;
}

DWORD OwnRule(const SessionSlot& slot) {
  const LONG generation = ReadGeneration(slot.programRules);
  const LONG known = __atomic_load_n(&g_ownRule, __ATOMIC_RELAXED);
  const DWORD tag = 0x80000000u | (SlotIndex(&slot) << 27) | (((static_cast<DWORD>(generation) >> 1) & 0x1FFFFu) << 10);
  if ((static_cast<DWORD>(known) & ~kRuleBits) == tag) return static_cast<DWORD>(known) & kRuleBits;

  InitOnceExecuteOnce(&g_ownNameOnce, FindOwnName, nullptr, nullptr);
  if (g_ownName[0] == 0) return kPlainRule;
  LONG read = 0;
  const DWORD rule = RuleOfProgram(slot.programRules, g_ownName, read);
  if (read == generation) __atomic_store_n(&g_ownRule, static_cast<LONG>(tag | rule), __ATOMIC_RELAXED);
  return rule;
}

// What the lists say of another program, as of the generations read. A
// program whose name cannot be had (one that may not be opened, or with a
// path too long) counts as not listed and without a rule, and is remembered
// so.
KnownProgram LookUpProgram(const SessionSlot& slot, DWORD processId, HWND window) {
  KnownProgram found = {
      processId, window,    SlotIndex(&slot), ReadGeneration(slot.leftAlone), ReadGeneration(slot.programRules),
      false,     kPlainRule};
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return found;
  wchar_t path[kPathChars] = {};
  DWORD length = kPathChars;
  const bool named = QueryFullProcessImageNameW(process, 0, path, &length) != FALSE;
  CloseHandle(process);
  if (!named) return found;
  wchar_t name[kNameChars] = {};
  StoreFileName(path, name);
  if (name[0] == 0) return found;
  const LONG generation = found.generation;
  const LONG rulesGeneration = found.rulesGeneration;
  if (slot.leftAlone.count != 0) found.listed = ListHolds(slot.leftAlone, name, found.generation);
  if (slot.programRules.count != 0) found.rule = RuleOfProgram(slot.programRules, name, found.rulesGeneration);
  // A torn read is not remembered: the mark stays off the generations of now.
  if (found.generation != generation || found.rulesGeneration != rulesGeneration) found.processId = 0;
  return found;
}

// Whether another program is listed and its rule: remembered per process id
// while a window shows the id is still that program's.
KnownProgram KnownProgramOf(const SessionSlot& slot, DWORD processId, HWND window) {
  const DWORD index = SlotIndex(&slot);
  const LONG generation = ReadGeneration(slot.leftAlone);
  const LONG rulesGeneration = ReadGeneration(slot.programRules);
  KnownProgram known = {};
  AcquireSRWLockShared(&g_knownLock);
  for (const KnownProgram& k : g_known) {
    if (k.processId == processId && k.slot == index && k.generation == generation &&
        k.rulesGeneration == rulesGeneration) {
      known = k;
    }
  }
  ReleaseSRWLockShared(&g_knownLock);
  // A window of the process outlives no process, so while the remembered one
  // still belongs to that id, the id was not given to another process.
  if (known.processId != 0 && (known.window == window || OwnerOf(known.window).process == processId)) return known;

  const KnownProgram found = LookUpProgram(slot, processId, window);
  if (found.processId != 0) {
    AcquireSRWLockExclusive(&g_knownLock);
    DWORD at = g_nextKnown;
    for (DWORD i = 0; i < kKnownPrograms; ++i) {
      if (g_known[i].processId == processId) at = i;
    }
    if (at == g_nextKnown) g_nextKnown = (g_nextKnown + 1) % kKnownPrograms;
    g_known[at] = found;
    ReleaseSRWLockExclusive(&g_knownLock);
  }
  return found;
}

}  // namespace

void StoreLeftAlone(SessionSlot& slot, const wchar_t* programs, DWORD leaveFullScreen) {
  LeftAloneState& list = slot.leftAlone;
  const LONG started = __atomic_fetch_or(&list.generation, 1, __ATOMIC_SEQ_CST) | 1;
  DWORD count = 0;
  DWORD used = 0;
  for (const wchar_t* p = programs; p != nullptr && *p != 0 && count < kMaxExcludedPrograms;) {
    const wchar_t* end = p;
    while (*end != 0 && *end != L';') ++end;
    const DWORD length = static_cast<DWORD>(end - p);
    if (length != 0 && length < kNameChars) {
      if (!AppendPackedName(list.names, used, p, length)) break;
      ++count;
    }
    p = *end == 0 ? end : end + 1;
  }
  list.count = count;
  list.leaveFullScreen = leaveFullScreen != 0 ? 1 : 0;
  __atomic_store_n(&list.generation, started + 1, __ATOMIC_RELEASE);
}

bool IsWheelLeftAlone() {
  const SessionSlot* slot = OwnSessionSlot();
  if (slot == nullptr) return false;
  if (slot->leftAlone.count != 0 && OwnProgramListed(*slot)) return true;
  return slot->leftAlone.leaveFullScreen != 0 && ForegroundIsFullScreen();
}

bool IsExcludedProgramWindow(HWND window) { return ProgramOfWindow(window, OwnerOf(window)).leftAlone; }

ProgramFacts ProgramOfWindow(HWND window, const WindowOwner& owner) {
  const SessionSlot* slot = OwnSessionSlot();
  ProgramFacts facts = {false, kPlainRule};
  const bool anyList = slot != nullptr && (slot->leftAlone.count != 0 || slot->programRules.count != 0);
  const DWORD processId = owner.process;
  if (window == nullptr || !anyList || processId == 0) return facts;
  // This program's own windows: it is not listed, or the wheel was left alone.
  if (processId == GetCurrentProcessId()) {
    facts.rule = OwnProgramRule();
    return facts;
  }
  const KnownProgram known = KnownProgramOf(*slot, processId, window);
  facts.leftAlone = known.listed;
  facts.rule = known.rule;
  return facts;
}

DWORD OwnProgramRule() {
  const SessionSlot* slot = OwnSessionSlot();
  return slot != nullptr && slot->programRules.count != 0 ? OwnRule(*slot) : kPlainRule;
}

bool IsExcludedProgramAt(POINT point) {
  const SessionSlot* slot = OwnSessionSlot();
  return slot != nullptr && slot->leftAlone.count != 0 && IsExcludedProgramWindow(FindWheelTarget(point));
}

}  // namespace ks
