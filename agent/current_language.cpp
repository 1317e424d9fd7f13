#include "agent/current_language.h"

#include "agent/localization.h"
#include "agent/menu_localizer.h"
#include "agent/string_localizer.h"
#include "common/web_open.h"

namespace ks {

std::wstring CurrentLanguageFile() {
  if (const StringLocalizer* strings = InstalledStringLocalizer()) return strings->LanguageFile();
  if (const MenuLocalizer* menus = InstalledMenuLocalizer()) return menus->LanguageFile();
  return {};
}

std::wstring LanguagePrefix() { return WebLanguagePrefix(CurrentLanguageFile()); }

}  // namespace ks
