// What the agent's tests wait for and look for: how long the agent may take
// to start and to end under a loaded machine, the log line of a successful
// install, and the message that makes every agent reload its settings.
#pragma once

#include <windows.h>

namespace ks::test {

inline constexpr DWORD kStartMs = 20000;
inline constexpr DWORD kEndMs = 20000;
inline constexpr wchar_t kTdxSuccess[] = L"Success install TDX hook";
inline constexpr wchar_t kReloadMessage[] = L"886C2831-8951-4ec5-BFDE-369FE359B72E";

}  // namespace ks::test
