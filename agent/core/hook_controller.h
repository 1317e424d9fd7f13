// The agent's side of the hook library: loads "TDX.dll" from the agent's own
// directory, installs and removes the wheel hook with the flags and the
// programs left alone from the settings, and frames every installed period in
// the shared log with the agent's "Log report" lines; the per-program wheel
// rules go with every install. Runs on the agent
// window's thread only.
#pragma once

#include <string>

#include "common/hook_parameters.h"

namespace ks {

struct Settings;

// Agent directory + "TDX.dll": always a full path, so no file planted in the
// current directory or on the search path is loaded instead.
std::wstring HookLibraryPath();

// Agent directory + "KSHook32.exe": the x64 agent's 32-bit companion.
std::wstring HookCompanionPath();

// Agent directory + "LogFile.log".
std::wstring LogFilePath();

// What an install hands to the hook libraries, the 64-bit one and the
// companion's alike; logPath is empty when nothing is to be logged.
HookParameters BuildHookParameters(const Settings& settings, const std::wstring& logPath);

bool IsWheelHookInstalled();

// 1 when the hook library installed the hook with the current settings; 0 when
// it was installed already, or the library or its export is missing, or the
// library refused. The x64 agent then starts its 32-bit companion with the
// same parameters; when that fails it goes on alone and logs why.
int InstallWheelHook();

// 1 when the hook library removed the hook; the library is released then. The
// companion is stopped and the agent's log is stopped whatever the result.
int UninstallWheelHook();

// Reloads the settings file and, when the hook was on, reinstalls it so the new
// flags and log choice take effect; a hook that was off stays off.
void ApplyChangedSettings();

// Starts the agent's log when "WriteLog" is on; called once, before the first
// install.
void StartAgentLog();

// The line of each install that says what the wheel is left alone in.
constexpr wchar_t kLogLeftAloneFormat[] = L"Excluded programs: %d, full-screen programs left alone: %s";
// The line after it: how many per-program wheel rules the install hands over.
constexpr wchar_t kLogProgramRulesFormat[] = L"Program wheel rules: %d";

// The "Log report" lines that open and close an installed period in the log.
constexpr wchar_t kLogReportInstalled[] = L"Log report installed\n=================================";
constexpr wchar_t kLogReportUninstalled[] = L"Log report uninstalled\n=================================";

}  // namespace ks
