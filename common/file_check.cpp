#include "common/file_check.h"

#include <windows.h>

#include "common/unique_handle.h"

namespace ks {

namespace detail {

PathProbe ProbePathFileExists(const std::wstring& path) {
  // shlwapi is optional on old systems, so it is never imported.
  const UniqueModule shlwapi(LoadLibraryW(L"shlwapi.dll"));
  if (!shlwapi) return PathProbe::Unavailable;
  const FARPROC proc = GetProcAddress(shlwapi.get(), "PathFileExistsW");
  if (proc == nullptr) return PathProbe::Unavailable;
  using PathFileExistsFn = BOOL(WINAPI*)(LPCWSTR);
  // Through a generic function pointer: a direct cast trips -Wcast-function-type.
  const auto pathFileExists = reinterpret_cast<PathFileExistsFn>(reinterpret_cast<void (*)()>(proc));
  return pathFileExists(path.c_str()) ? PathProbe::Exists : PathProbe::Missing;
}

bool FileExistsAfterProbe(const std::wstring& path, PathProbe probe) {
  if (probe == PathProbe::Missing) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace detail

bool FileExists(const std::wstring& path) {
  // A missing drive or medium must not raise a system error box.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const ScopeExit restoreMode([previousMode] { SetErrorMode(previousMode); });
  return detail::FileExistsAfterProbe(path, detail::ProbePathFileExists(path));
}

}  // namespace ks
