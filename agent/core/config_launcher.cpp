#include "agent/core/config_launcher.h"

#include <memory>

#include "agent/core/agent_messages.h"
#include "agent/core/config_probe.h"
#include "agent/core/instance_mutex.h"
#include "agent/core/message_box.h"
#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "common/file_check.h"
#include "common/module_path.h"
#include "common/unique_handle.h"

namespace ks {
namespace {

struct LauncherParams {
  UniqueKernelHandle stopSignal;  // the thread's own handle on the instance mutex
  HWND agentWindow;
  UINT reloadMessage;
};

// The launch marker: the running launcher thread's handle, null while none
// runs. Stored before the thread may run and cleared (and closed) by the
// thread as its last act, so it never stays set after the thread is gone.
void* volatile launchMarker = nullptr;

bool Launching() { return InterlockedCompareExchangePointer(&launchMarker, nullptr, nullptr) != nullptr; }

void ShowLaunchError(HWND owner, UINT textId, const std::wstring& path) {
  ShowAgentMessageBox(owner, LoadAgentString(textId) + L"\n\n" + path, MB_ICONERROR);
}

void RunConfigProgram(const LauncherParams& params) {
  const std::wstring path = ConfigProgramPath();
  // A relative name (the agent's own path unknown) would be looked up from
  // the current directory: never start that.
  if (ModuleDirectory().empty() || !FileExists(path)) {
    ShowLaunchError(params.agentWindow, IDS_CONFIG_NOT_FOUND, path);
    return;
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  // The full path as the application name and no command line: nothing is
  // searched for.
  if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    ShowLaunchError(params.agentWindow, IDS_CONFIG_NO_PROCESS, path);
    return;
  }
  UniqueKernelHandle(started.hThread).reset();
  const UniqueKernelHandle process(started.hProcess);

  const HANDLE waits[2] = {process.get(), params.stopSignal.get()};
  const DWORD count = params.stopSignal ? 2 : 1;
  const DWORD wait = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
  if (wait == WAIT_OBJECT_0) {
    // Whatever way it ended, the settings file may have changed.
    PostMessageW(params.agentWindow, params.reloadMessage, 0, 0);
  } else if (wait == WAIT_OBJECT_0 + 1 || wait == WAIT_ABANDONED_0 + 1) {
    // The agent is ending and let go of its mutex; given back at once, so
    // nothing is left abandoned. Nothing is posted to a window on its way out.
    ReleaseMutex(params.stopSignal.get());
  }
}

DWORD WINAPI LauncherThread(void* parameter) noexcept {
  std::unique_ptr<LauncherParams> params(static_cast<LauncherParams*>(parameter));
  try {
    RunConfigProgram(*params);
  } catch (...) {
    // Out of memory for a path or a text: this launch is given up.
  }
  params.reset();
  // Back to idle; the marker was this thread's own handle, closed here.
  const UniqueKernelHandle self(InterlockedExchangePointer(&launchMarker, nullptr));
  return 0;
}

}  // namespace

std::wstring ConfigProgramPath() { return ModuleDirectory() + L"KsConfig.exe"; }

void OpenSettings(HWND agentWindow) {
  if (Launching()) {
    // Started by us and still running: its window comes to the front when it
    // answers the probe. No window yet (still starting, or an error box of
    // the launcher is open): say so.
    if (!ProbeConfigWindow()) {
      MessageBeep(0xFFFFFFFF);
      ShowAgentMessageBox(agentWindow, LoadAgentString(IDS_CONFIG_ALREADY_RUNNING), MB_ICONINFORMATION);
    }
    return;
  }

  auto params = std::make_unique<LauncherParams>(LauncherParams{DuplicateStopSignal(), agentWindow, ReloadMessage()});
  // Suspended, so the marker is stored before the thread can clear it.
  const HANDLE thread = CreateThread(nullptr, 0, LauncherThread, params.get(), CREATE_SUSPENDED, nullptr);
  if (thread == nullptr) {
    ShowAgentMessageBox(agentWindow, LoadAgentString(IDS_CANNOT_START_CONFIG_THREAD), MB_ICONERROR);
    return;
  }
  LauncherParams* const handedOver = params.release();
  InterlockedExchangePointer(&launchMarker, thread);
  if (ResumeThread(thread) == static_cast<DWORD>(-1)) {
    // It never ran: the marker, the handle and the block are still ours.
    InterlockedExchangePointer(&launchMarker, nullptr);
    TerminateThread(thread, 0);
    UniqueKernelHandle(thread).reset();
    params.reset(handedOver);
    ShowAgentMessageBox(agentWindow, LoadAgentString(IDS_CANNOT_START_CONFIG_THREAD), MB_ICONERROR);
  }
}

}  // namespace ks
