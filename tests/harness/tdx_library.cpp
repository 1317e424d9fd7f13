#include "tests/harness/tdx_library.h"

namespace ks::test {

bool TdxLibrary::Load(const std::wstring& path) {
  module_.reset(LoadLibraryW(path.c_str()));
  if (!module_) return false;
  install_ = reinterpret_cast<InstallFn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), kInstallExport)));
  uninstall_ = reinterpret_cast<UninstallFn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), kUninstallExport)));
  leaveAlone_ =
      reinterpret_cast<LeaveAloneFn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), kLeaveAloneExport)));
  programRules_ =
      reinterpret_cast<ProgramRulesFn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), kProgramRulesExport)));
  return install_ != nullptr && uninstall_ != nullptr && leaveAlone_ != nullptr && programRules_ != nullptr;
}

}  // namespace ks::test
