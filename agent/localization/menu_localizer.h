// Translation of the menus the process loads: while a menu localizer lives,
// every LoadMenuW of "user32.dll" in the process reaches LocalizedLoadMenuW,
// which gives each item the text of the language file's "Menu" section and
// writes the built-in text of every item the file lacks.
#pragma once

#include <windows.h>

#include <string>

#include "agent/localization/localized_import_hook.h"

namespace ks {

class MenuLocalizer : public LocalizedImportHook {
 public:
  // Redirects LoadMenuW and becomes the current menu localizer.
  explicit MenuLocalizer(const std::wstring& languageFile);
  // Stops being current once no load still uses it, then puts LoadMenuW back.
  ~MenuLocalizer() override;

  // Gives every item of the menu and of its sub-menus, depth first, its
  // translated text.
  void TranslateMenu(HMENU menu) const;

  // Replaces `text` (a zero-terminated buffer of kMenuTextCapacity units) by
  // its translation and reports whether there is one. A text the file lacks,
  // or has with an empty value, is written to the file with the item's own
  // text; the buffer then holds the key. Either way a buffer that ends up
  // "ENABLE" shows as "Включить". Empty texts and "_POPUP_" are left alone.
  bool TranslateMenuText(wchar_t* text) const;
};

// Room for one menu item text and its terminator.
constexpr int kMenuTextCapacity = 1024;

// LoadMenuW with the texts of the current menu localizer; with none (during
// a language change, or reached after localisation stopped through an address
// looked up earlier) it is LoadMenuW itself.
HMENU WINAPI LocalizedLoadMenuW(HINSTANCE instance, LPCWSTR menuName);

}  // namespace ks
