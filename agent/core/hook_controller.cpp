#include "agent/core/hook_controller.h"

#include <windows.h>

#include "agent/core/hook_companion.h"
#include "common/hook_exports.h"
#include "common/hook_library_calls.h"
#include "common/module_path.h"
#include "common/program_list.h"
#include "common/program_rules.h"
#include "common/settings.h"
#include "common/thread_hooks.h"
#include "log/log_writer.h"

namespace ks {
namespace {

// The result of the last install (1 or 0); a successful uninstall clears it.
int installed = 0;

// Only the x64 agent has a companion: on 32-bit Windows there are no 64-bit
// programs, and the x86 agent hooks the 32-bit ones itself. The x64 agent
// hooks the 64-bit programs' threads one by one, as the companion does the
// 32-bit ones: a system-wide hook would cost every 32-bit program a call into
// this process per message.
constexpr bool kServesOtherBitness = sizeof(void*) == 8;

// The portable rules speak the library's language.
static_assert(kRuleReverseBit == RULE_REVERSE && kRuleScrollBarsBit == RULE_SCROLLBARS);
static_assert(kMaxRuleSpeed == static_cast<int>(kMaxWheelSpeed) && kMaxListedPrograms == kMaxProgramRules);

ThreadHooks& OwnThreads() {
  static ThreadHooks threads;
  return threads;
}

// The x64 agent's hooks on the 64-bit programs' threads; the x86 agent's one
// system-wide hook. 1 when installed.
int InstallOwnHook(HMODULE library, const HookParameters& parameters) {
  if (!kServesOtherBitness) return CallHookInstall(library, parameters);
  const HookThreadFn hookThread = BindHookThread(library);
  if (hookThread == nullptr || CallHookInstall(library, parameters, HookReach::ChosenThreads) != 1) return 0;
  if (OwnThreads().Start(hookThread, ProgramBitness::SixtyFour)) return 1;
  CallHookUninstall(library);
  return 0;
}

HookCompanion& Companion() {
  static HookCompanion companion;
  return companion;
}

// The 32-bit side follows the 64-bit hook; when it cannot, the 64-bit hook
// works alone and the log says why, once per install.
void StartCompanion(const HookParameters& parameters) {
  if (!kServesOtherBitness) return;
  const CompanionStart started = Companion().Start(HookCompanionPath(), HookLibraryPath(), parameters);
  if (const wchar_t* problem = CompanionProblem(started)) {
    LogWriteFormat(L"32-bit programs are not hooked: %s", problem);
  }
}

void LogLeftAlone(const Settings& settings, const HookParameters& parameters) {
  LogWriteFormat(kLogLeftAloneFormat, static_cast<int>(ProgramsInForce(settings.ExcludePrograms).size()),
                 parameters.leaveFullScreen != 0 ? L"yes" : L"no");
  LogWriteFormat(kLogProgramRulesFormat, static_cast<int>(RulesInForce(settings.ProgramRules).size()));
}

void StopAgentLogWithReport() {
  if (LogIsOn()) {
    LogWriteLine(kLogReportUninstalled);
    LogStop();
  }
}

}  // namespace

std::wstring HookLibraryPath() { return ModuleDirectory() + L"TDX.dll"; }

std::wstring HookCompanionPath() { return ModuleDirectory() + L"KSHook32.exe"; }

std::wstring LogFilePath() { return ModuleDirectory() + L"LogFile.log"; }

HookParameters BuildHookParameters(const Settings& settings, const std::wstring& logPath) {
  HookParameters parameters;
  parameters.logPath = logPath;
  parameters.flags = BuildHookFlags(settings);
  parameters.leftAlonePrograms = JoinProgramList(ProgramsInForce(settings.ExcludePrograms));
  parameters.leaveFullScreen = settings.LeaveFullScreen != 0 ? 1 : 0;
  parameters.programRules = FormatRulesForHook(RulesInForce(settings.ProgramRules));
  return parameters;
}

bool IsWheelHookInstalled() { return installed == 1; }

int InstallWheelHook() {
  if (IsWheelHookInstalled()) return 0;
  const std::wstring libraryPath = HookLibraryPath();
  // This reference is the one the uninstall gives back; the library is found
  // again by its path then, so no handle is kept.
  HMODULE library = LoadLibraryW(libraryPath.c_str());
  if (library == nullptr) return 0;
  if (!HasHookInstall(library)) {
    FreeLibrary(library);
    return 0;
  }

  const Settings& settings = GetSettings();
  std::wstring passedPath;
  if (settings.WriteLog != 0) {
    // Restarting puts the log at the current path and opens the period.
    const std::wstring logPath = LogFilePath();
    if (LogIsOn()) LogStop();
    if (LogStart(logPath.c_str()) != 0) LogWriteLine(kLogReportInstalled);
    passedPath = logPath;
  } else {
    StopAgentLogWithReport();
  }

  const HookParameters parameters = BuildHookParameters(settings, passedPath);
  LogLeftAlone(settings, parameters);
  installed = InstallOwnHook(library, parameters);
  if (installed != 1) {
    FreeLibrary(library);
    return installed;
  }
  StartCompanion(parameters);
  return installed;
}

int UninstallWheelHook() {
  if (!IsWheelHookInstalled()) return 0;
  // The 32-bit side goes first, so its last lines come before the report.
  if (kServesOtherBitness) Companion().Stop();
  OwnThreads().Stop();
  HMODULE library = GetModuleHandleW(HookLibraryPath().c_str());
  if (library == nullptr) return 0;
  const int result = CallHookUninstall(library);
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
