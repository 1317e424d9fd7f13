#include "common/hook_library_calls.h"

namespace ks {
namespace {

template <typename Fn>
Fn Export(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool HasHookInstall(HMODULE library) { return Export<InstallFn>(library, kInstallExport) != nullptr; }

int CallHookInstall(HMODULE library, const HookParameters& parameters, HookReach reach) {
  const auto install =
      Export<InstallFn>(library, reach == HookReach::Desktop ? kInstallExport : kInstallForThreadsExport);
  if (install == nullptr) return 0;
  // The programs left alone and the rules are in place before the hook is;
  // a library without an export takes none of its kind.
  if (const auto leaveAlone = Export<LeaveAloneFn>(library, kLeaveAloneExport)) {
    leaveAlone(parameters.leftAlonePrograms.c_str(), parameters.leaveFullScreen != 0 ? 1 : 0);
  }
  if (const auto programRules = Export<ProgramRulesFn>(library, kProgramRulesExport)) {
    programRules(parameters.programRules.c_str());
  }
  // The path stays valid for the whole call; an empty one means no log.
  return install(parameters.logPath.empty() ? nullptr : parameters.logPath.c_str(), parameters.flags);
}

HookThreadFn BindHookThread(HMODULE library) { return Export<HookThreadFn>(library, kHookThreadExport); }

int CallHookUninstall(HMODULE library) {
  const auto uninstall = Export<UninstallFn>(library, kUninstallExport);
  return uninstall != nullptr ? uninstall() : 0;
}

}  // namespace ks
