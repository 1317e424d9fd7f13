#include "agent/localization/localization.h"

#include <memory>
#include <new>

#include "agent/localization/menu_localizer.h"
#include "agent/localization/string_localizer.h"

namespace ks {

namespace {

std::unique_ptr<MenuLocalizer> g_menuLocalizer;
std::unique_ptr<StringLocalizer> g_stringLocalizer;

}  // namespace

bool StartLocalization(const std::wstring& languageFile) {
  if (g_menuLocalizer || !IsUsableLanguageFilePath(languageFile)) return false;
  try {
    auto menuLocalizer = std::make_unique<MenuLocalizer>(languageFile);
    // Should this one fail, the menu localizer goes again with the scope.
    auto stringLocalizer = std::make_unique<StringLocalizer>(languageFile);
    g_menuLocalizer = std::move(menuLocalizer);
    g_stringLocalizer = std::move(stringLocalizer);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool StopLocalization() {
  if (!g_menuLocalizer) return false;
  g_menuLocalizer.reset();
  g_stringLocalizer.reset();
  return true;
}

bool IsLocalizationStarted() { return static_cast<bool>(g_menuLocalizer); }

const MenuLocalizer* InstalledMenuLocalizer() { return g_menuLocalizer.get(); }

const StringLocalizer* InstalledStringLocalizer() { return g_stringLocalizer.get(); }

}  // namespace ks
