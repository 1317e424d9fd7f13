#include "agent/import_patcher/import_patcher.h"

#include <tlhelp32.h>

#include "agent/import_patcher/import_slot.h"
#include "agent/import_patcher/import_table.h"
#include "common/unique_handle.h"

namespace ks {

namespace {

// Registrations may come from any thread, and the replacements read the list
// on whatever thread calls them. One lock guards the list and every slot
// write. It is never held across a call into the loader, so a thread that
// loads a library from inside another library's start-up cannot deadlock
// against a registration.
SRWLOCK g_lock = SRWLOCK_INIT;
ImportHook* g_head = nullptr;

class ExclusiveLock {
 public:
  ExclusiveLock() { AcquireSRWLockExclusive(&g_lock); }
  ~ExclusiveLock() { ReleaseSRWLockExclusive(&g_lock); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;
};

class SharedLock {
 public:
  SharedLock() { AcquireSRWLockShared(&g_lock); }
  ~SharedLock() { ReleaseSRWLockShared(&g_lock); }
  SharedLock(const SharedLock&) = delete;
  SharedLock& operator=(const SharedLock&) = delete;
};

ULONG_PTR Address(FARPROC function) { return reinterpret_cast<ULONG_PTR>(function); }

// Taken once: the address space layout does not change while the process runs.
ULONG_PTR HighestApplicationAddress() {
  static const ULONG_PTR highest = [] {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return reinterpret_cast<ULONG_PTR>(info.lpMaximumApplicationAddress);
  }();
  return highest;
}

bool IsListed(const ImportHook* hook) {
  for (const ImportHook* at = g_head; at != nullptr; at = at->next) {
    if (at == hook) return true;
  }
  return false;
}

bool Unlink(ImportHook* hook) {
  for (ImportHook** link = &g_head; *link != nullptr; link = &(*link)->next) {
    if (*link == hook) {
      *link = hook->next;
      hook->next = nullptr;
      return true;
    }
  }
  return false;
}

int ReplaceLocked(HMODULE module, const char* calleeModule, FARPROC current, FARPROC replacement) {
  return ReplaceImportInImage(module, calleeModule, Address(current), Address(replacement),
                              HighestApplicationAddress());
}

UniqueFile ModuleSnapshot() {
  UniqueFile snapshot;
  // The system asks for a retry when a module loads or unloads mid-snapshot.
  for (int attempt = 0; attempt < 8; ++attempt) {
    snapshot.reset(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId()));
    if (snapshot || GetLastError() != ERROR_BAD_LENGTH) break;
  }
  return snapshot;
}

// Keeps a module of the snapshot loaded while its tables are rewritten, in
// case another thread frees it meanwhile; empty when it is gone already.
UniqueModule Pin(const MODULEENTRY32W& entry) {
  HMODULE pinned = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(entry.modBaseAddr),
                          &pinned)) {
    return UniqueModule();
  }
  UniqueModule module(pinned);
  if (pinned != entry.hModule) module.reset();
  return module;
}

}  // namespace

HMODULE ImportPatcherModule() {
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(reinterpret_cast<const void*>(&ImportPatcherModule), &region, sizeof region) == 0) {
    return nullptr;
  }
  return static_cast<HMODULE>(region.AllocationBase);
}

FARPROC RealGetProcAddress(HMODULE module, const char* name) { return GetProcAddress(module, name); }

FARPROC ResolveSystemFunction(const char* calleeModule, const char* functionName) {
  if (calleeModule == nullptr || functionName == nullptr) return nullptr;
  const HMODULE library = GetModuleHandleA(calleeModule);
  // A null module would make the lookup search the executable instead.
  if (library == nullptr) return nullptr;
  const FARPROC found = RealGetProcAddress(library, functionName);
  const ULONG_PTR pushed = FollowPushStub(Address(found), HighestApplicationAddress());
  return pushed != 0 ? reinterpret_cast<FARPROC>(pushed) : found;
}

int ReplaceImportInModule(const char* calleeModule, FARPROC current, FARPROC replacement, HMODULE module) {
  if (replacement == nullptr) return 0;
  ExclusiveLock lock;
  return ReplaceLocked(module, calleeModule, current, replacement);
}

int ReplaceImportInAllModules(const char* calleeModule, FARPROC current, FARPROC replacement, BOOL excludeOwnModule) {
  if (calleeModule == nullptr || current == nullptr || replacement == nullptr) return 0;
  const HMODULE own = excludeOwnModule ? ImportPatcherModule() : nullptr;
  const UniqueFile snapshot = ModuleSnapshot();
  if (!snapshot) return 0;
  int rewritten = 0;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot.get(), &entry); more; more = Module32NextW(snapshot.get(), &entry)) {
    if (own != nullptr && entry.hModule == own) continue;
    // Pinning goes through the loader, so it happens outside the lock.
    const UniqueModule pinned = Pin(entry);
    if (pinned) rewritten += ReplaceImportInModule(calleeModule, current, replacement, pinned.get());
  }
  return rewritten;
}

void RegisterImportHook(ImportHook* hook, const char* calleeModule, const char* functionName, FARPROC replacement,
                        BOOL excludeOwnModule) {
  if (hook == nullptr || calleeModule == nullptr || functionName == nullptr || replacement == nullptr) {
    return;
  }
  const FARPROC real = ResolveSystemFunction(calleeModule, functionName);
  {
    ExclusiveLock lock;
    // Linking a listed record again would close the list into a ring.
    if (IsListed(hook)) return;
    hook->calleeModule = calleeModule;
    hook->functionName = functionName;
    hook->realAddress = real;
    hook->replacement = replacement;
    hook->excludeOwnModule = excludeOwnModule;
    hook->next = g_head;
    g_head = hook;
  }
  // Listed before the walk: a module loaded meanwhile is either in the
  // snapshot or patched by its own load.
  if (real != nullptr) ReplaceImportInAllModules(calleeModule, real, replacement, excludeOwnModule);
}

void UnregisterImportHook(ImportHook* hook) {
  if (hook == nullptr) return;
  {
    ExclusiveLock lock;
    if (!Unlink(hook)) return;
  }
  // Unlisted before the walk: a module loaded meanwhile can no longer get the
  // replacement after the walk has passed it. The own module is walked too,
  // so a slot it got by any way comes back.
  if (hook->realAddress != nullptr) {
    ReplaceImportInAllModules(hook->calleeModule, hook->replacement, hook->realAddress, FALSE);
  }
}

void PatchNewModule(HMODULE module, DWORD loadFlags) {
  constexpr DWORD kMappedNotForRunning =
      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;
  // The loader tags handles of data and resource mappings in their low bits.
  constexpr ULONG_PTR kMappingTags = 3;
  if (module == nullptr || (loadFlags & kMappedNotForRunning) != 0 ||
      (reinterpret_cast<ULONG_PTR>(module) & kMappingTags) != 0) {
    return;
  }
  // A library may load the executable itself by name; a record that spares
  // the own module must spare it then too, or the own lookups would loop.
  const HMODULE own = ImportPatcherModule();
  ExclusiveLock lock;
  for (const ImportHook* hook = g_head; hook != nullptr; hook = hook->next) {
    if (hook->excludeOwnModule && module == own) continue;
    ReplaceLocked(module, hook->calleeModule, hook->realAddress, hook->replacement);
  }
}

FARPROC ImportReplacementFor(FARPROC address) {
  const ULONG_PTR pushed = FollowPushStub(Address(address), HighestApplicationAddress());
  const FARPROC real = pushed != 0 ? reinterpret_cast<FARPROC>(pushed) : address;
  SharedLock lock;
  for (const ImportHook* hook = g_head; hook != nullptr; hook = hook->next) {
    if (hook->realAddress != nullptr && hook->realAddress == real) return hook->replacement;
  }
  return address;
}

}  // namespace ks
