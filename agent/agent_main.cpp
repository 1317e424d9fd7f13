// Entry of KSAgent: process initialisation, the "/exit" switch, the single
// instance check, the agent window's run and the teardown in fixed order.
// The returned value is the exit code: 0 normal end, 1 another agent runs,
// 2 the "/exit" switch was handled.
#include <windows.h>

#include "agent/agent_window.h"
#include "agent/core/agent_messages.h"
#include "agent/core/app_instance.h"
#include "agent/core/instance_mutex.h"
#include "agent/core/message_box.h"
#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "agent/exit_switch.h"
#include "agent/import_patcher/import_loader_hooks.h"
#include "agent/localization/localization.h"
#include "agent/localization/startup_language.h"
#include "agent/running_agent.h"
#include "agent/safe_dll_search.h"
#include "common/settings.h"

namespace {

constexpr int kExitNormal = 0;
constexpr int kExitAlreadyRunning = 1;
constexpr int kExitSwitchHandled = 2;

// A system without the wide-character API cannot run the agent: a fixed ANSI
// text, because nothing else can be shown there.
void RequireWideApi() {
  if (GetWindowsDirectoryW(nullptr, 0) != 0) return;
  char modulePath[128] = {};
  GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
  MessageBoxA(GetActiveWindow(), "This application requires an OS that supports Unicode.", modulePath, MB_OK);
  ExitProcess(0);
}

void InitialiseProcess() {
  RequireWideApi();
  ks::RemoveCurrentDirectoryFromDllSearch();
  // Every library loaded and every address looked up from here on is subject
  // to the redirections of the moment, the translation's included.
  ks::RegisterPermanentImportHooks();
  ks::RegisterStartupMessages();
}

// The box goes first; the running agent is asked to show itself only once the
// user has closed it.
int StepBackForRunningAgent() {
  ks::ShowAgentMessageBox(GetDesktopWindow(), ks::LoadAgentString(IDS_ALREADY_RUNNING), MB_ICONINFORMATION);
  ks::SendToRunningAgent(ks::ShowMessage());
  return kExitAlreadyRunning;
}

int RunAgent(HINSTANCE instance, const wchar_t* arguments) {
  if (ks::HasExitSwitch(arguments)) {
    // Nothing else: no settings, no language, no mutex, nothing shown.
    ks::SendToRunningAgent(ks::ExitMessage());
    return kExitSwitchHandled;
  }

  // First use of the settings loads the file. Translation starts before
  // anything is shown, so even the box of a second agent is translated.
  ks::StartLocalization(ks::StartupLanguageFile());

  if (ks::AnotherAgentRuns()) return StepBackForRunningAgent();
  if (ks::ClaimInstanceMutex() == ks::InstanceClaim::AlreadyHeld) return StepBackForRunningAgent();

  // A window that cannot be made ends the agent at once, through the same
  // teardown.
  ks::RunAgentWindow(instance);
  ks::StopLocalization();
  ks::ReleaseInstanceMutex();
  return kExitNormal;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  InitialiseProcess();
  ks::SetAppInstance(instance);
  try {
    return RunAgent(instance, arguments);
  } catch (...) {
    // Out of memory at start: end as after a normal run, never with an
    // unhandled exception box.
    ks::StopLocalization();
    ks::ReleaseInstanceMutex();
    return kExitNormal;
  }
}
