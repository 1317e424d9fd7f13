#include "agent/localization/current_language.h"

#include "agent/localization/localization.h"
#include "agent/localization/menu_localizer.h"
#include "agent/localization/string_localizer.h"
#include "common/web_open.h"

namespace ks {

std::wstring CurrentLanguageFile() {
  if (const StringLocalizer* strings = InstalledStringLocalizer()) return strings->LanguageFile();
  if (const MenuLocalizer* menus = InstalledMenuLocalizer()) return menus->LanguageFile();
  return {};
}

std::wstring LanguagePrefix() { return WebLanguagePrefix(CurrentLanguageFile()); }

}  // namespace ks
