// Identifiers of the test library's menus and strings. Plain macros, because
// the resource compiler reads this file too.
#pragma once

// The tray menu's shape: items inside a pop-up named "_POPUP_", separators.
#define IDR_TRAY_LIKE_MENU 101
// Texts that test the key rules: accelerators, ellipses, nesting, a text in
// capitals, a text that is not Latin and one the profile format cannot key.
#define IDR_RULES_MENU 102

#define IDS_CAPTION 2
#define IDS_ALREADY_RUNNING 6
#define IDS_TIP_ENABLE 40001
#define IDS_LANGUAGE 57672
// Not in the table.
#define IDS_MISSING 999
