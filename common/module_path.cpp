#include "common/module_path.h"

#include <windows.h>

#include <cwchar>

#include "common/paths.h"

namespace ks {

std::wstring ModulePath() {
  wchar_t buffer[MAX_PATH];
  const DWORD copied = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  // A cut result fills the whole buffer and, on older systems, carries no
  // terminating NUL: take at most what was copied.
  return std::wstring(buffer, wcsnlen(buffer, copied));
}

std::wstring ModuleDirectory() { return DirectoryOf(ModulePath(), TrailingSeparator::With); }

std::wstring ModuleDirectoryWithoutSeparator() { return StripTrailingSeparators(ModuleDirectory()); }

}  // namespace ks
