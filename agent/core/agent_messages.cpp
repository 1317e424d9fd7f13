#include "agent/core/agent_messages.h"

namespace ks {
namespace {

// Registers once per process; a failed registration is tried again next time.
UINT Registered(UINT& slot, const wchar_t* name) {
  if (slot == 0) slot = RegisterWindowMessageW(name);
  return slot;
}

UINT trayCallback, reload, exitAgent, show, taskbarCreated, trayInstall, configProbe;

}  // namespace

UINT TrayCallbackMessage() { return Registered(trayCallback, kTrayCallbackMessageName); }
UINT ReloadMessage() { return Registered(reload, kReloadMessageName); }
UINT ExitMessage() { return Registered(exitAgent, kExitMessageName); }
UINT ShowMessage() { return Registered(show, kShowMessageName); }
UINT TaskbarCreatedMessage() { return Registered(taskbarCreated, kTaskbarCreatedMessageName); }
UINT TrayInstallMessage() { return Registered(trayInstall, kTrayInstallMessageName); }
UINT ConfigProbeMessage() { return Registered(configProbe, kConfigProbeMessageName); }

void RegisterStartupMessages() {
  TaskbarCreatedMessage();
  TrayInstallMessage();
}

}  // namespace ks
