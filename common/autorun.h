// "Start with Windows": the agent's path as a string value under the current
// user's Run key, tested, written and removed the same way by both programs.
#pragma once

#include <string>

namespace ks {

constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAutorunValueName[] = L"KestrowAgent";

// Where the value lives, under HKEY_CURRENT_USER. The programs use the
// defaults; tests point it at a scratch key.
struct AutorunLocation {
  std::wstring keyPath = kRunKeyPath;
  std::wstring valueName = kAutorunValueName;
};

// The agent's path as the settings program registers it: its own directory
// with "KSAgent.exe". (The agent itself registers its module path.)
std::wstring AgentPathBesideModule();

// True when the value exists and, ignoring the case of "a" to "z", equals the
// expected path over the stored value's length, so an empty value or one
// that is the start of the expected path also counts. A value in quotes is
// compared without them. A value too long for a 260-character buffer never
// counts.
bool IsAutorunRegistered(const std::wstring& expectedPath, const AutorunLocation& where = {});

// Registered: writes agentPath (REG_SZ), in quotes when it holds a blank. Not registered:
// deletes the value and ignores agentPath. False when the key cannot be opened
// or the write or delete fails, deleting a missing value included.
bool SetAutorunRegistered(bool registered, const std::wstring& agentPath, const AutorunLocation& where = {});

}  // namespace ks
