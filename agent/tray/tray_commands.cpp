#include "agent/tray/tray_commands.h"

#include "agent/core/config_launcher.h"
#include "agent/core/hook_controller.h"
#include "agent/core/resource_ids.h"
#include "agent/tray/language_menu.h"
#include "agent/tray/start_with_windows.h"
#include "agent/tray/tray_icon.h"
#include "agent/tray/web_page_commands.h"
#include "common/web_open.h"

namespace ks {
namespace {

// Not stored: the next start follows "StartAsDisabled" again.
void ToggleWheel() {
  if (IsWheelHookInstalled()) {
    UninstallWheelHook();
  } else {
    InstallWheelHook();
  }
  // The balloon shows the state that resulted, failures included.
  UpdateTrayIcon(TrayOperation::Modify, Balloon::Yes);
}

}  // namespace

bool RunTrayCommand(HWND window, UINT commandId) {
  if (const auto page = WebPageForCommand(commandId)) {
    // A failure is told by the opener's beep only.
    OpenWebPage(window, AgentWebPageAddress(*page));
    return true;
  }
  if (ChooseLanguage(window, commandId)) return true;
  switch (commandId) {
    case ID_CMD_ENABLE: ToggleWheel(); return true;
    case ID_CMD_START_WITH_WINDOWS: ToggleStartWithWindows(); return true;
    case ID_CMD_SETTINGS: OpenSettings(window); return true;
    case ID_CMD_EXIT:
      // The window's own wind-down (icon, hook, message loop); the window
      // itself goes with the process.
      SendMessageW(window, WM_DESTROY, 0, 0);
      return true;
    default: return false;
  }
}

}  // namespace ks
