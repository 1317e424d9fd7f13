#include "agent/tray/tray_menu.h"

#include "agent/core/hook_controller.h"
#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "agent/tray/agent_tooltip.h"
#include "agent/tray/language_menu.h"
#include "agent/tray/start_with_windows.h"
#include "common/unique_handle.h"

namespace ks {
namespace {

POINT menuPoint = {};

UINT CheckedIf(bool on) { return static_cast<UINT>(MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); }

}  // namespace

void ShowTrayMenuAtCursor(HWND window) {
  POINT cursor = {};
  GetCursorPos(&cursor);
  menuPoint = cursor;
  ShowTrayMenu(window, cursor);
}

void ShowTrayMenu(HWND window, POINT at) {
  // Loaded anew each time, in the current language.
  const UniqueMenu menu = LoadAgentMenu(IDR_TRAY_MENU);
  if (!menu) return;
  // The tooltip measures items against this window; a menu reopened after a
  // language change shows the tip where it was.
  TrayMenuTooltip& tooltip = AgentTooltip();
  tooltip.SetMenuWindow(window);
  if (tooltip.PlacedItem() != 0) tooltip.PlaceTip(tooltip.PlacedMenu(), tooltip.PlacedItem());
  HMENU popup = GetSubMenu(menu.get(), 0);
  if (popup == nullptr) return;
  // Without the foreground the menu would stay open after a click elsewhere.
  SetForegroundWindow(window);
  // The item drawn bold is a product page, by command, not by position.
  SetMenuDefaultItem(popup, ID_CMD_KEYMARK, FALSE);
  // Built at every opening, so files added or removed meanwhile count.
  BuildLanguageMenu(popup);
  TrackPopupMenu(popup, 0, at.x, at.y, 0, window, nullptr);
  // Windows switches tasks only once the owner gets a message after the menu
  // ends; without it the next right click on the icon closes the menu at once.
  PostMessageW(window, WM_NULL, 0, 0);
}

POINT RememberedMenuPoint() { return menuPoint; }

void SetMenuCheckMarks(HMENU popup) {
  CheckMenuItem(popup, ID_CMD_ENABLE, CheckedIf(IsWheelHookInstalled()));
  CheckMenuItem(popup, ID_CMD_START_WITH_WINDOWS, CheckedIf(StartsWithWindows()));
}

}  // namespace ks
