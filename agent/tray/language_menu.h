// The "Language" submenu of the tray menu: one item per language file beside
// the agent, the chosen one checked; choosing an item stores the file as the
// "LangFile" setting and translates the agent at once.
#pragma once

#include <windows.h>

#include <string>

namespace ks {

// Rebuilds the language file list and inserts the submenu in front of
// "Settings…". Without language files the menu gets no "Language" item. The
// item of the file whose name (not path) is the "LangFile" setting's is
// checked.
void BuildLanguageMenu(HMENU trayMenu);

// A language command (41000 to 41099): stores the file, restarts the
// translation with it, refreshes the tip and opens the menu again where it
// was last opened, now in the new language. An id that names no file changes
// nothing. False for ids outside the range.
bool ChooseLanguage(HWND window, UINT commandId);

// Title ("Language file: Russian.lng") and body (the Notepad hint) of a
// language item's tooltip, both in the current language.
void LanguageItemTooltip(UINT commandId, std::wstring& title, std::wstring& text);

}  // namespace ks
