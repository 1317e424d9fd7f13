#include "agent/agent_window.h"

#include "agent/agent_handlers.h"
#include "agent/core/agent_messages.h"
#include "agent/core/app_instance.h"
#include "agent/core/resource_ids.h"
#include "agent/tray/agent_tooltip.h"
#include "agent/tray/scroll_lock_pause.h"
#include "agent/tray/toggle_hotkey.h"
#include "agent/tray/tray_clicks.h"
#include "agent/tray/tray_commands.h"
#include "agent/tray/tray_menu.h"

namespace ks {
namespace {

ATOM windowClass = 0;

LRESULT OnRegisteredMessage(HWND window, UINT message, LPARAM lParam, bool& handled) {
  handled = true;
  // Compared in this order; a message whose registration failed is 0 and
  // never matches, because 0 is not a registered message number.
  if (message == TrayCallbackMessage()) return OnTrayNotification(window, lParam);
  if (message == ReloadMessage()) return OnReload(window);
  if (message == ExitMessage()) return OnExitRequest(window);
  if (message == ShowMessage()) return OnShowRequest(window);
  if (message == TaskbarCreatedMessage()) return OnTaskbarCreated(window);
  if (message == TrayInstallMessage()) return OnTrayInstall(window);
  handled = false;
  return 0;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (message >= 0xC000) {
      bool handled = false;
      const LRESULT result = OnRegisteredMessage(window, message, lParam, handled);
      if (handled) return result;
    }
    switch (message) {
      case WM_CREATE: {
        SetAgentWindow(window);
        DefWindowProcW(window, message, wParam, lParam);
        OnCreate(window);
        return 0;
      }
      case WM_DESTROY: OnDestroy(window); return DefWindowProcW(window, message, wParam, lParam);
      case WM_COMMAND:
        // Every command, known or not, is answered 1 without default
        // processing.
        RunTrayCommand(window, LOWORD(wParam));
        return 1;
      case WM_TIMER:
        OnClickTimer(window, wParam);
        OnScrollLockTimer(window, wParam);
        return 1;
      case WM_HOTKEY:
        // What a click on the icon does.
        if (IsToggleHotkey(wParam)) RunTrayCommand(window, ID_CMD_ENABLE);
        return 0;
      case WM_INITMENUPOPUP: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        SetMenuCheckMarks(reinterpret_cast<HMENU>(wParam));
        return result;
      }
      case WM_MENUSELECT:
        AgentTooltip().OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return DefWindowProcW(window, message, wParam, lParam);
      case WM_ENTERIDLE:
        AgentTooltip().OnEnterIdle(wParam, reinterpret_cast<HWND>(lParam));
        return DefWindowProcW(window, message, wParam, lParam);
      default: return DefWindowProcW(window, message, wParam, lParam);
    }
  } catch (...) {
    // Out of memory while building a text: the message is dropped, the agent
    // goes on.
    return 0;
  }
}

bool RegisterAgentClass(HINSTANCE instance) {
  if (windowClass != 0) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = WindowProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kAgentWindowClass;
  windowClass = RegisterClassExW(&wc);
  return windowClass != 0;
}

}  // namespace

bool RunAgentWindow(HINSTANCE instance) {
  if (!RegisterAgentClass(instance)) return false;
  // Never shown: other programs find it by its class, the shell sends it the
  // tray icon's notifications.
  HWND window = CreateWindowExW(0, kAgentWindowClass, L"Kestrow Agent", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr || !IsWindow(window)) return false;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace ks
