#include "agent/core/hook_companion.h"

#include <utility>
#include <vector>

#include "common/companion_command.h"
#include "common/file_version.h"

namespace ks {
namespace {

// A companion is up in well under a second; the bound is for a machine under
// load, and for one that hangs at start.
constexpr DWORD kStartMs = 10000;
constexpr DWORD kStopMs = 5000;

bool SameBuild(const std::wstring& a, const std::wstring& b) {
  FileVersion first;
  FileVersion second;
  return ReadFileVersion(a, first) && ReadFileVersion(b, second) && SameFileVersion(first, second);
}

UniqueKernelHandle InheritableEvent() {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return UniqueKernelHandle(CreateEventW(&inherit, TRUE, FALSE, nullptr));
}

uint64_t HandleValue(const UniqueKernelHandle& handle) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle.get()));
}

CompanionStart FromExitCode(DWORD code) {
  switch (code) {
    case kCompanionLibraryMissing: return CompanionStart::LibraryMissing;
    case kCompanionLibraryOtherBuild: return CompanionStart::LibraryOtherBuild;
    case kCompanionHookRefused: return CompanionStart::HookRefused;
    default: return CompanionStart::CannotStart;
  }
}

}  // namespace

const wchar_t* CompanionProblem(CompanionStart result) {
  switch (result) {
    case CompanionStart::Running: return nullptr;
    case CompanionStart::Missing: return L"KSHook32.exe is missing";
    case CompanionStart::OtherBuild: return L"KSHook32.exe is of another build";
    case CompanionStart::CannotStart: return L"KSHook32.exe cannot start";
    case CompanionStart::LibraryMissing: return L"TDX32.dll is missing or cannot be loaded";
    case CompanionStart::LibraryOtherBuild: return L"TDX32.dll is of another build";
    case CompanionStart::HookRefused: return L"TDX32.dll did not install the hook";
    case CompanionStart::NoAnswer: return L"KSHook32.exe did not answer";
  }
  return L"";
}

CompanionStart HookCompanion::Start(const std::wstring& exePath, const std::wstring& sameBuildAs,
                                    const HookParameters& parameters) {
  Stop();
  if (GetFileAttributesW(exePath.c_str()) == INVALID_FILE_ATTRIBUTES) return CompanionStart::Missing;
  if (!SameBuild(exePath, sameBuildAs)) return CompanionStart::OtherBuild;

  // The companion inherits these three: it waits on the agent's process and
  // the stop event, and sets the ready event once its hook is in.
  UniqueKernelHandle agent;
  const HANDLE self = GetCurrentProcess();
  if (!DuplicateHandle(self, self, self, agent.put(), SYNCHRONIZE, TRUE, 0)) return CompanionStart::CannotStart;
  const UniqueKernelHandle ready = InheritableEvent();
  UniqueKernelHandle stop = InheritableEvent();
  if (!ready || !stop) return CompanionStart::CannotStart;

  CompanionCommand command;
  command.agentProcess = HandleValue(agent);
  command.readyEvent = HandleValue(ready);
  command.stopEvent = HandleValue(stop);
  command.hook = parameters;
  const std::wstring line = L"\"" + exePath + L"\" " + FormatCompanionCommand(command);
  std::vector<wchar_t> mutableLine(line.begin(), line.end());
  mutableLine.push_back(L'\0');

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(exePath.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return CompanionStart::CannotStart;
  }
  CloseHandle(started.hThread);
  UniqueKernelHandle process(started.hProcess);

  // The companion takes no message before it sets the event, so this thread
  // may wait without pumping.
  const HANDLE waits[] = {ready.get(), process.get()};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kStartMs);
  if (woke == WAIT_OBJECT_0) {
    process_ = std::move(process);
    stop_ = std::move(stop);
    processId_ = started.dwProcessId;
    return CompanionStart::Running;
  }
  if (woke == WAIT_OBJECT_0 + 1) {
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return FromExitCode(code);
  }
  TerminateProcess(process.get(), 1);
  WaitForSingleObject(process.get(), kStopMs);
  return CompanionStart::NoAnswer;
}

void HookCompanion::Stop() {
  if (!process_) return;
  SetEvent(stop_.get());
  if (WaitForSingleObject(process_.get(), kStopMs) != WAIT_OBJECT_0) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), kStopMs);
  }
  process_.reset();
  stop_.reset();
  processId_ = 0;
}

DWORD HookCompanion::ProcessId() const {
  if (!process_ || WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) return 0;
  return processId_;
}

}  // namespace ks
