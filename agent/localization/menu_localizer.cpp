#include "agent/localization/menu_localizer.h"

#include <cwchar>

#include "agent/localization/localizer_slot.h"
#include "agent/localization/menu_text_key.h"
#include "common/ascii.h"

namespace ks {

namespace {

constexpr wchar_t kMenuSection[] = L"Menu";
// The resource wraps the tray menu's items in a pop-up of this name; the
// items inside are translated, the pop-up's own name is not.
constexpr wchar_t kPopupName[] = L"_POPUP_";
// A key that stands for "Enable" in Russian whatever the file says.
constexpr wchar_t kEnableKey[] = L"ENABLE";
constexpr wchar_t kEnableInRussian[] = L"\u0412\u043a\u043b\u044e\u0447\u0438\u0442\u044c";

using LoadMenuFunction = HMENU(WINAPI*)(HINSTANCE, LPCWSTR);

// Constant-initialised, so usable before any constructor of this program runs.
LocalizerSlot<const MenuLocalizer> g_current;

void SystemUpperCase(std::wstring& text) {
  if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

// A key the profile format cannot hold: it would be read back as another key,
// and every load would write it again.
bool IsStorableKey(const std::wstring& key) {
  return key.find(L'=') == std::wstring::npos && key[0] != L';' && key[0] != L'[';
}

void CopyText(wchar_t* target, const wchar_t* source) {
  wcsncpy(target, source, kMenuTextCapacity - 1);
  target[kMenuTextCapacity - 1] = L'\0';
}

}  // namespace

MenuLocalizer::MenuLocalizer(const std::wstring& languageFile)
    : LocalizedImportHook(languageFile, "user32.dll", "LoadMenuW", AsFarProc(&LocalizedLoadMenuW)) {
  g_current.Become(this);
}

MenuLocalizer::~MenuLocalizer() { g_current.Withdraw(this); }

void MenuLocalizer::TranslateMenu(HMENU menu) const {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    const UINT item = static_cast<UINT>(position);
    wchar_t text[kMenuTextCapacity] = {};
    GetMenuStringW(menu, item, text, kMenuTextCapacity, MF_BYPOSITION);
    if (text[0] != L'\0' && TranslateMenuText(text)) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STRING;
      info.dwTypeData = text;
      SetMenuItemInfoW(menu, item, TRUE, &info);
    }
    if (const HMENU subMenu = GetSubMenu(menu, position)) TranslateMenu(subMenu);
  }
}

bool MenuLocalizer::TranslateMenuText(wchar_t* text) const {
  if (text[0] == L'\0' || EqualIgnoringAsciiCase(text, kPopupName)) return false;
  const std::wstring itemText(text);
  const std::wstring key = MenuTextKey(itemText, &SystemUpperCase);
  CopyText(text, key.c_str());
  bool translated = false;
  const wchar_t* const file = LanguageFile();
  if (file[0] != L'\0' && IsStorableKey(key)) {
    wchar_t value[kMenuTextCapacity] = {};
    if (GetPrivateProfileStringW(kMenuSection, key.c_str(), L"", value, kMenuTextCapacity - 1, file) > 0) {
      CopyText(text, value);
      translated = true;
    } else {
      // A new or incomplete file grows into a template for translators.
      WritePrivateProfileStringW(kMenuSection, key.c_str(), itemText.c_str(), file);
    }
  }
  if (wcscmp(text, kEnableKey) == 0) {
    CopyText(text, kEnableInRussian);
    translated = true;
  }
  return translated;
}

HMENU WINAPI LocalizedLoadMenuW(HINSTANCE instance, LPCWSTR menuName) {
  const auto loadMenu =
      reinterpret_cast<LoadMenuFunction>(reinterpret_cast<void*>(ResolveSystemFunction("user32.dll", "LoadMenuW")));
  if (loadMenu == nullptr) return nullptr;
  const HMENU menu = loadMenu(instance, menuName);
  if (menu == nullptr) return nullptr;
  const DWORD error = GetLastError();
  try {
    g_current.With([menu](const MenuLocalizer& localizer) { localizer.TranslateMenu(menu); });
  } catch (...) {
    // Out of memory mid-way: the items not reached keep their built-in texts.
  }
  SetLastError(error);
  return menu;
}

}  // namespace ks
