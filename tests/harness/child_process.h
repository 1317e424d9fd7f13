// Starting the programs under test and helper programs, and waiting for them
// the way a well-behaved GUI program waits: pumping its own messages, so a
// hook that calls back into the waiting thread is never starved.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace ks::test {

class ChildProcess {
 public:
  ChildProcess() = default;

  // Starts exe (a full path) with the command-line arguments; false when the
  // program could not be started.
  bool Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workingDir = {});

  // Waits for the process to end, pumping messages; false on time-out.
  bool WaitForExit(DWORD timeoutMs);

  // Exit code once ended, STILL_ACTIVE while running.
  DWORD ExitCode() const;
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.get(); }
  bool Running() const;

  // Ends a process that outlived its test.
  void Kill();

  ~ChildProcess();
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// The ids of the running processes started by `parent` from a file of this
// name (such as L"KSHook32.exe"), compared without regard to letter case.
std::vector<DWORD> ChildProcessesNamed(DWORD parent, const wchar_t* exeName);

// Waits, pumping, until the process with the id has ended; true also when it
// is gone already.
bool WaitForProcessEnd(DWORD processId, DWORD timeoutMs);

// Ends the process with the id, as a user ends it in the task manager.
bool KillProcess(DWORD processId);

// Dispatches this thread's messages until the time has passed.
void PumpMessagesFor(DWORD ms);

// Dispatches this thread's messages until done() says so; false when the
// time ran out first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Waits on a handle while dispatching this thread's messages; true when it
// was signalled.
bool WaitPumping(HANDLE handle, DWORD timeoutMs);

// Quotes one argument for a Windows command line.
std::wstring QuoteArgument(const std::wstring& argument);

}  // namespace ks::test
