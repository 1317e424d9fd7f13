// TDX.dll loaded from beside the running program, with its exports bound by
// name and called with their stdcall convention, as the agent calls them.
#pragma once

#include <windows.h>

#include <string>

#include "common/hook_exports.h"
#include "common/unique_handle.h"

namespace ks::test {

class TdxLibrary {
 public:
  // Loads the library by full path; false when it or an export is missing.
  bool Load(const std::wstring& path);

  int Install(const wchar_t* logPath, DWORD flags) const { return install_(logPath, flags); }
  int Uninstall() const { return uninstall_(); }
  int LeaveAlone(const wchar_t* programs, DWORD leaveFullScreen) const {
    return leaveAlone_(programs, leaveFullScreen);
  }
  int ProgramRules(const wchar_t* rules) const { return programRules_(rules); }

 private:
  UniqueModule module_;
  InstallFn install_ = nullptr;
  UninstallFn uninstall_ = nullptr;
  LeaveAloneFn leaveAlone_ = nullptr;
  ProgramRulesFn programRules_ = nullptr;
};

}  // namespace ks::test
