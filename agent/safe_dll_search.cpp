#include "agent/safe_dll_search.h"

#include <windows.h>

namespace ks {
namespace {

// Older SDK headers declare it only for Windows 8 and later.
constexpr DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS

}  // namespace

void RemoveCurrentDirectoryFromDllSearch() {
  SetDllDirectoryW(L"");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  // kernel32 is always loaded; no reference is taken, so none is given back.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  // The application directory, System32 and added directories: never the
  // current directory or PATH.
  if (setDefault != nullptr) setDefault(kSearchDefaultDirs);
}

}  // namespace ks
