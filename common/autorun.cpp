#include "common/autorun.h"

#include <windows.h>

#include <cwchar>

#include "common/ascii.h"
#include "common/module_path.h"
#include "common/unique_handle.h"

namespace ks {

namespace {

constexpr DWORD kValueChars = 260;

}  // namespace

std::wstring AgentPathBesideModule() { return ModuleDirectory() + L"KSAgent.exe"; }

bool IsAutorunRegistered(const std::wstring& expectedPath, const AutorunLocation& where) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, where.keyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  wchar_t stored[kValueChars] = {};
  DWORD bytes = sizeof(stored);
  const LSTATUS status =
      RegQueryValueExW(key.get(), where.valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &bytes);
  key.reset();
  if (status != ERROR_SUCCESS) return false;
  // A value that fills the whole buffer has no terminator of its own.
  size_t length = wcsnlen(stored, kValueChars);
  // Written in quotes, or plain as earlier versions wrote it: both count.
  const wchar_t* path = stored;
  if (length >= 2 && stored[0] == L'"' && stored[length - 1] == L'"') {
    ++path;
    length -= 2;
  }
  for (size_t i = 0; i < length; ++i) {
    // Past the end of the expected path the stored value is longer: no match.
    if (i >= expectedPath.size() || AsciiLower(path[i]) != AsciiLower(expectedPath[i])) {
      return false;
    }
  }
  return true;
}

bool SetAutorunRegistered(bool registered, const std::wstring& agentPath, const AutorunLocation& where) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, where.keyPath.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  if (!registered) return RegDeleteValueW(key.get(), where.valueName.c_str()) == ERROR_SUCCESS;
  // Windows reads the value as a command line: a path with a blank would be
  // cut at it, so such a path goes in quotes.
  const std::wstring data = agentPath.find(L' ') != std::wstring::npos ? L"\"" + agentPath + L"\"" : agentPath;
  // The terminating NUL is not part of the stored data.
  const DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  return RegSetValueExW(key.get(), where.valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace ks
