// KSHook32.exe: the 32-bit companion of the x64 agent. Started by the agent
// at each install, it sets the same hook from TDX32.dll beside it on every
// GUI thread of a 32-bit program, with the agent's flags, log path, programs
// left alone and wheel rules, and holds the hooks until the agent tells it to stop
// or the agent's process ends. A system-wide hook would reach the 64-bit
// programs too, and each of their messages would then wait for a call into
// this process. It shows nothing and pumps messages all its life: window
// creation events come as messages.
#include <windows.h>

#include "common/companion_command.h"
#include "common/file_version.h"
#include "common/hook_library_calls.h"
#include "common/module_path.h"
#include "common/unique_handle.h"
#include "common/thread_hooks.h"

namespace {

HANDLE AsHandle(uint64_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

// The library must be of this companion's own build: another build may read
// the flags or the shared state differently.
bool SameBuild(const std::wstring& libraryPath) {
  ks::FileVersion own;
  ks::FileVersion library;
  return ks::ReadModuleVersion(nullptr, own) && ks::ReadFileVersion(libraryPath, library) &&
         ks::SameFileVersion(own, library);
}

// Serves until the agent sets the stop event or ends; a WM_QUIT posted to the
// thread ends it too.
void PumpUntilStopped(HANDLE agent, HANDLE stop) {
  const HANDLE waits[] = {stop, agent};
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(2, waits, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 2) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      DispatchMessageW(&msg);
    }
  }
}

uint32_t Serve(const ks::CompanionCommand& command) {
  const ks::UniqueKernelHandle agent(AsHandle(command.agentProcess));
  const ks::UniqueKernelHandle ready(AsHandle(command.readyEvent));
  const ks::UniqueKernelHandle stop(AsHandle(command.stopEvent));
  // Handles that are not what the agent hands over, or an agent already gone.
  if (WaitForSingleObject(agent.get(), 0) != WAIT_TIMEOUT || WaitForSingleObject(stop.get(), 0) != WAIT_TIMEOUT) {
    return ks::kCompanionBadCommand;
  }

  const std::wstring libraryPath = ks::ModuleDirectory() + L"TDX32.dll";
  if (GetFileAttributesW(libraryPath.c_str()) == INVALID_FILE_ATTRIBUTES) return ks::kCompanionLibraryMissing;
  if (!SameBuild(libraryPath)) return ks::kCompanionLibraryOtherBuild;
  const ks::UniqueModule library(LoadLibraryW(libraryPath.c_str()));
  const ks::HookThreadFn hookThread = library ? ks::BindHookThread(library.get()) : nullptr;
  if (hookThread == nullptr) return ks::kCompanionLibraryMissing;
  if (ks::CallHookInstall(library.get(), command.hook, ks::HookReach::ChosenThreads) != 1) {
    return ks::kCompanionHookRefused;
  }

  uint32_t exitCode = ks::kCompanionDone;
  {
    ks::ThreadHooks threads;
    if (!threads.Start(hookThread, ks::ProgramBitness::ThirtyTwo)) {
      exitCode = ks::kCompanionHookRefused;
    } else {
      // No message is taken before this: the agent waits for it without pumping.
      SetEvent(ready.get());
      PumpUntilStopped(agent.get(), stop.get());
    }
  }
  (void)ks::CallHookUninstall(library.get());
  return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  try {
    ks::CompanionCommand command;
    if (arguments == nullptr || !ks::ParseCompanionCommand(arguments, command)) return ks::kCompanionBadCommand;
    return static_cast<int>(Serve(command));
  } catch (...) {
    // Out of memory: the agent goes on with its own hook alone.
    return ks::kCompanionLibraryMissing;
  }
}
