#include "agent/import_patcher/import_loader_hooks.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>

#include "agent/import_patcher/import_patcher.h"

namespace ks {

namespace {

constexpr const char* kKernel32 = "Kernel32.dll";
constexpr size_t kPermanentCount = 5;

struct PermanentHook {
  const char* functionName;
  ImportHook record;
  std::atomic<bool> registered;
  bool exitActionScheduled;
};

PermanentHook g_permanent[kPermanentCount] = {
    {"LoadLibraryA", {}, {false}, false},   {"LoadLibraryW", {}, {false}, false},
    {"LoadLibraryExA", {}, {false}, false}, {"LoadLibraryExW", {}, {false}, false},
    {"GetProcAddress", {}, {false}, false},
};

// Runs at most once per registration, whether at exit or before.
void UnregisterPermanent(size_t index) {
  PermanentHook& hook = g_permanent[index];
  if (hook.registered.exchange(false)) UnregisterImportHook(&hook.record);
}

template <size_t Index>
void UnregisterAtExit() {
  UnregisterPermanent(Index);
}

using ExitAction = void (*)();
constexpr ExitAction kExitActions[kPermanentCount] = {&UnregisterAtExit<0>, &UnregisterAtExit<1>, &UnregisterAtExit<2>,
                                                      &UnregisterAtExit<3>, &UnregisterAtExit<4>};

// The caller's error stays readable after a successful load, too.
HMODULE PatchKeepingError(HMODULE module, DWORD loadFlags) {
  const DWORD error = GetLastError();
  PatchNewModule(module, loadFlags);
  SetLastError(error);
  return module;
}

}  // namespace

void RegisterPermanentImportHooks() {
  const FARPROC replacements[kPermanentCount] = {AsFarProc(&HookedLoadLibraryA), AsFarProc(&HookedLoadLibraryW),
                                                 AsFarProc(&HookedLoadLibraryExA), AsFarProc(&HookedLoadLibraryExW),
                                                 AsFarProc(&HookedGetProcAddress)};
  for (size_t i = 0; i < kPermanentCount; ++i) {
    PermanentHook& hook = g_permanent[i];
    if (hook.registered.exchange(true)) continue;
    RegisterImportHook(&hook.record, kKernel32, hook.functionName, replacements[i], TRUE);
    if (!hook.exitActionScheduled) {
      hook.exitActionScheduled = std::atexit(kExitActions[i]) == 0;
    }
  }
}

void UnregisterPermanentImportHooks() {
  for (size_t i = kPermanentCount; i-- > 0;) UnregisterPermanent(i);
}

HMODULE WINAPI HookedLoadLibraryA(LPCSTR fileName) { return PatchKeepingError(LoadLibraryA(fileName), 0); }

HMODULE WINAPI HookedLoadLibraryW(LPCWSTR fileName) { return PatchKeepingError(LoadLibraryW(fileName), 0); }

HMODULE WINAPI HookedLoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags) {
  return PatchKeepingError(LoadLibraryExA(fileName, file, flags), flags);
}

HMODULE WINAPI HookedLoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags) {
  return PatchKeepingError(LoadLibraryExW(fileName, file, flags), flags);
}

FARPROC WINAPI HookedGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC found = RealGetProcAddress(module, name);
  if (found == nullptr) return nullptr;
  return ImportReplacementFor(found);
}

}  // namespace ks
