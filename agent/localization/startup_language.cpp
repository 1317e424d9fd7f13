#include "agent/localization/startup_language.h"

#include <windows.h>

#include "agent/localization/language_files.h"
#include "agent/localization/localized_import_hook.h"
#include "common/settings.h"

namespace ks {
namespace {

// Whether the stored "LangFile" runs past what the settings record holds; read
// again with room for any path a localizer could take, and one unit more.
bool StoredLangFileWasCut() {
  wchar_t stored[kLanguageFilePathCapacity + 1] = {};
  const DWORD length = GetPrivateProfileStringW(L"Misc", L"LangFile", L"", stored, kLanguageFilePathCapacity + 1,
                                                SettingsFilePath().c_str());
  return length > kMaxLangFile;
}

}  // namespace

std::wstring StartupLanguageFile() {
  const std::wstring& chosen = GetSettings().LangFile;
  if (chosen.empty()) return ExampleLanguageFilePath();
  // Only a value that fills the record can have been cut.
  if (chosen.size() >= kMaxLangFile && StoredLangFileWasCut()) return {};
  return chosen;
}

}  // namespace ks
