// The 32-bit companion of the x64 agent: a process of its own that installs
// the same hook from TDX32.dll for the 32-bit programs of the desktop. One
// companion runs per installed period: started after the agent's own hook is
// in, stopped when the agent uninstalls. Nothing restarts a companion that
// ended between the two; the next install starts a new one.
#pragma once

#include <windows.h>

#include <string>

#include "common/hook_parameters.h"
#include "common/unique_handle.h"

namespace ks {

enum class CompanionStart {
  Running,            // the 32-bit hook is installed
  Missing,            // no companion program
  OtherBuild,         // the companion is of another build
  CannotStart,        // the program did not start
  LibraryMissing,     // its library is missing or cannot be loaded
  LibraryOtherBuild,  // its library is of another build
  HookRefused,        // the library did not install (another companion holds the hook)
  NoAnswer,           // it neither installed nor ended in time, and was ended
};

// Why the 32-bit programs go without the hook, for the log; null for Running.
const wchar_t* CompanionProblem(CompanionStart result);

class HookCompanion {
 public:
  HookCompanion() = default;
  HookCompanion(const HookCompanion&) = delete;
  HookCompanion& operator=(const HookCompanion&) = delete;
  ~HookCompanion() { Stop(); }

  // Starts the program at exePath with the parameters and waits until it has
  // installed its hook or given up. The program must carry the version of the
  // file at sameBuildAs (the agent's own hook library). A companion still
  // running from before is stopped first.
  CompanionStart Start(const std::wstring& exePath, const std::wstring& sameBuildAs, const HookParameters& parameters);

  // Tells the companion to uninstall and end, and waits for it; one that does
  // not end in time is ended. Nothing happens when none runs.
  void Stop();

  // The running companion's process id; 0 when none was started or it ended.
  DWORD ProcessId() const;

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle stop_;
  DWORD processId_ = 0;
};

}  // namespace ks
