#include "agent/agent_handlers.h"

#include "agent/core/agent_messages.h"
#include "agent/core/app_instance.h"
#include "agent/core/hook_controller.h"
#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "agent/tray/agent_tooltip.h"
#include "agent/tray/scroll_lock_pause.h"
#include "agent/tray/toggle_hotkey.h"
#include "agent/tray/tray_icon.h"
#include "agent/tray/tray_install_thread.h"
#include "common/settings.h"
#include "log/log_writer.h"

namespace ks {
namespace {

constexpr DWORD kTrayRetryMs = 2000;
constexpr int kTrayAttempts = 200;
// Long enough to see the closing balloon, short enough for the sender's wait.
constexpr DWORD kExitBalloonMs = 500;

}  // namespace

void OnCreate(HWND window) {
  // The log first, so the install below is already framed by it.
  StartAgentLog();
  if (GetSettings().StartAsDisabled == 0) InstallWheelHook();
  // A problem with the hotkey waits for the icon to show its balloon.
  ApplyToggleHotkey(window);
  UpdateScrollLockWatch(window);
  // The thread's first request is served once the message loop runs.
  if (!StartTrayInstallThread(window, TrayInstallMessage(), kTrayRetryMs, kTrayAttempts)) {
    LogWriteLine(L"Cannnot create thread for tray installing\n");
    OnTrayInstall(window);
  }
  // A failed tooltip only means menu items without explanations.
  AgentTooltip().CreateTooltip(window, L"Ooops! Tooltip not found for this item...", AppInstance(), 0, nullptr);
  if (CheckFirstRun()) {
    // Posted, so the settings open as soon as the message loop runs.
    PostMessageW(window, WM_COMMAND, ID_CMD_SETTINGS, 0);
  }
}

void OnDestroy(HWND window) {
  RemoveToggleHotkey(window);
  RemoveTrayIcon();
  UninstallWheelHook();
  PostQuitMessage(0);
}

LRESULT OnReload(HWND window) {
  ApplyChangedSettings();
  // The tip shows the new settings; no balloon for a change the user just made.
  UpdateTrayIcon(TrayOperation::Modify, Balloon::No);
  // A problem with a new hotkey is news, though.
  ApplyToggleHotkey(window);
  ShowPendingHotkeyProblem();
  UpdateScrollLockWatch(window);
  return 1;
}

LRESULT OnExitRequest(HWND window) {
  UpdateTrayIcon(TrayOperation::Modify, Balloon::Yes, LoadAgentString(IDS_EXIT_BALLOON));
  Sleep(kExitBalloonMs);
  // WM_DESTROY runs before DestroyWindow returns, so the sender's wait ends
  // with the agent already wound down.
  DestroyWindow(window);
  return 1;
}

LRESULT OnShowRequest(HWND window) {
  (void)window;
  // The icon is usually there already; then the add fails and the balloon
  // comes with a modify.
  if (!UpdateTrayIcon(TrayOperation::Add, Balloon::Yes)) {
    UpdateTrayIcon(TrayOperation::Modify, Balloon::Yes);
  }
  return 1;
}

LRESULT OnTaskbarCreated(HWND window) {
  (void)window;
  UpdateTrayIcon(TrayOperation::Add, Balloon::No);
  return 1;
}

LRESULT OnTrayInstall(HWND window) {
  (void)window;
  const bool taskbarFound = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) != nullptr;
  const DWORD savedError = GetLastError();
  SetLastError(ERROR_SUCCESS);
  const Balloon balloon = GetSettings().ShowBalloonOnStart != 0 ? Balloon::Yes : Balloon::No;
  const BOOL added = UpdateTrayIcon(TrayOperation::Add, balloon);
  if (!added) {
    const DWORD error = GetLastError();
    LogWriteFormat(L"Cannot install tray icon. Last Error: %d, TrayWindow Is Finded=%d", static_cast<int>(error),
                   taskbarFound ? 1 : 0);
  }
  SetLastError(savedError);
  if (added) ShowPendingHotkeyProblem();
  return added;
}

}  // namespace ks
