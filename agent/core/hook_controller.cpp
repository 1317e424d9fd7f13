#include "agent/core/hook_controller.h"

#include <windows.h>

#include "common/module_path.h"
#include "common/program_list.h"
#include "common/settings.h"
#include "hook/leave_alone_export.h"
#include "log/log_writer.h"

namespace ks {
namespace {

using InstallFn = int(WINAPI*)(const wchar_t* logPath, DWORD flags);
using UninstallFn = int(WINAPI*)();

// The result of the last install (1 or 0); a successful uninstall clears it.
int installed = 0;

template <typename Fn>
Fn Export(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The programs left alone and the full-screen switch go to the library before
// each install, as its flags do; a library without the export takes none.
void HandOverLeftAlone(HMODULE library, const Settings& settings) {
  const auto leaveAlone = Export<LeaveAloneFn>(library, kLeaveAloneExport);
  if (leaveAlone == nullptr) return;
  const std::vector<std::wstring> programs = ProgramsInForce(settings.ExcludePrograms);
  const DWORD leaveFullScreen = settings.LeaveFullScreen != 0 ? 1 : 0;
  leaveAlone(JoinProgramList(programs).c_str(), leaveFullScreen);
  LogWriteFormat(kLogLeftAloneFormat, static_cast<int>(programs.size()), leaveFullScreen != 0 ? L"yes" : L"no");
}

void StopAgentLogWithReport() {
  if (LogIsOn()) {
    LogWriteLine(kLogReportUninstalled);
    LogStop();
  }
}

}  // namespace

std::wstring HookLibraryPath() { return ModuleDirectory() + L"TDX.dll"; }

std::wstring LogFilePath() { return ModuleDirectory() + L"LogFile.log"; }

bool IsWheelHookInstalled() { return installed == 1; }

int InstallWheelHook() {
  if (IsWheelHookInstalled()) return 0;
  const std::wstring libraryPath = HookLibraryPath();
  // This reference is the one the uninstall gives back; the library is found
  // again by its path then, so no handle is kept.
  HMODULE library = LoadLibraryW(libraryPath.c_str());
  if (library == nullptr) return 0;
  const auto install = Export<InstallFn>(library, "KS_TDXInstall");
  if (install == nullptr) {
    FreeLibrary(library);
    return 0;
  }

  const Settings& settings = GetSettings();
  const std::wstring logPath = LogFilePath();
  const wchar_t* passedPath = nullptr;
  if (settings.WriteLog != 0) {
    // Restarting puts the log at the current path and opens the period.
    if (LogIsOn()) LogStop();
    if (LogStart(logPath.c_str()) != 0) LogWriteLine(kLogReportInstalled);
    passedPath = logPath.c_str();
  } else {
    StopAgentLogWithReport();
  }

  HandOverLeftAlone(library, settings);
  installed = install(passedPath, BuildHookFlags(settings));
  if (installed != 1) FreeLibrary(library);
  return installed;
}

int UninstallWheelHook() {
  if (!IsWheelHookInstalled()) return 0;
  HMODULE library = GetModuleHandleW(HookLibraryPath().c_str());
  if (library == nullptr) return 0;
  int result = 0;
  if (const auto uninstall = Export<UninstallFn>(library, "KS_TDXUninstall")) result = uninstall();
  if (result == 1) FreeLibrary(library);
  StopAgentLogWithReport();
  if (result == 1) installed = 0;
  return result;
}

void ApplyChangedSettings() {
  const bool wasInstalled = IsWheelHookInstalled();
  if (wasInstalled) UninstallWheelHook();
  LoadSettings();
  if (wasInstalled) InstallWheelHook();
}

void StartAgentLog() {
  if (GetSettings().WriteLog != 0) LogStart(LogFilePath().c_str());
}

}  // namespace ks
