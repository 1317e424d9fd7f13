// Registers the permanent redirections and ends normally. An exit-time action
// registered before them runs after theirs and reports through the exit code
// whether the loader library's tables hold the system functions again.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "agent/import_patcher/import_loader_hooks.h"
#include "agent/import_patcher/import_patcher.h"
#include "tests/agent/import_patcher/import_slot_reader.h"

namespace {

constexpr int kNotRedirected = 3;
constexpr int kNotRestored = 4;
constexpr int kRestored = 7;

constexpr const char* kFunctions[] = {"LoadLibraryA", "LoadLibraryW", "LoadLibraryExA", "LoadLibraryExW",
                                      "GetProcAddress"};

HMODULE g_loader = nullptr;

bool LoaderSlotsHoldSystemFunctions() {
  for (const char* function : kFunctions) {
    const FARPROC real = ks::ResolveSystemFunction("Kernel32.dll", function);
    const auto slots = ks::test::ImportSlots(g_loader, "Kernel32.dll", function);
    if (slots.empty()) return false;
    for (const ULONG_PTR* slot : slots) {
      if (*slot != reinterpret_cast<ULONG_PTR>(real)) return false;
    }
  }
  return true;
}

void ReportAtExit() { std::_Exit(LoaderSlotsHoldSystemFunctions() ? kRestored : kNotRestored); }

std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  const std::wstring full(path, n);
  return full.substr(0, full.find_last_of(L"\\/") + 1);
}

}  // namespace

int main() {
  g_loader = LoadLibraryW((ProgramDirectory() + L"ks_patch_loader.dll").c_str());
  if (g_loader == nullptr) return 1;
  std::atexit(ReportAtExit);
  ks::RegisterPermanentImportHooks();
  const auto slots = ks::test::ImportSlots(g_loader, "Kernel32.dll", "LoadLibraryW");
  if (slots.empty() || *slots.front() != reinterpret_cast<ULONG_PTR>(ks::AsFarProc(&ks::HookedLoadLibraryW))) {
    std::_Exit(kNotRedirected);  // the exit-time report would hide this
  }
  return 0;
}
