// The global hotkey of "ToggleHotkey": pressed anywhere, it does what a click
// on the tray icon does. A text that cannot be read, or a hotkey another
// program holds, is logged each time it is applied and shown in a balloon
// once per text for the agent's run; nothing else changes.
#pragma once

#include <windows.h>

namespace ks {

// Registers the settings' hotkey on the agent window in place of the one
// before; an unchanged hotkey that is registered already stays as it is, an
// empty text leaves none. A problem's balloon waits for
// ShowPendingHotkeyProblem.
void ApplyToggleHotkey(HWND window);

// Unregisters the hotkey, if one is registered.
void RemoveToggleHotkey(HWND window);

// WM_HOTKEY: whether the hotkey with this id is the toggle hotkey.
bool IsToggleHotkey(WPARAM hotkeyId);

// Shows the balloon of a problem not shown yet, once the icon is there to
// carry it.
void ShowPendingHotkeyProblem();

// The log lines, the text as written in place of %s.
constexpr wchar_t kLogHotkeyRegistered[] = L"Toggle hotkey %s registered";
constexpr wchar_t kLogHotkeyUnreadable[] = L"Toggle hotkey %s cannot be read";
constexpr wchar_t kLogHotkeyTaken[] = L"Toggle hotkey %s is held by another program, error %d";

}  // namespace ks
