#include "config/language_prefix.h"

#include <windows.h>

#include "common/module_path.h"
#include "common/settings.h"

namespace ks {

std::wstring CurrentLanguageFile() {
  Settings& settings = GetSettings();
  if (settings.LangFile.empty()) ReadLangFile();
  const std::wstring& value = settings.LangFile;
  if (value.empty()) return std::wstring();
  if (value.find(L'\\') == std::wstring::npos) return ModuleDirectory() + value;
  return value;
}

std::wstring ReadPagePrefix(const std::wstring& languageFile) {
  if (languageFile.empty()) return std::wstring();
  // A size of 9 reads at most 8 characters.
  wchar_t prefix[10] = {};
  const DWORD length = GetPrivateProfileStringW(L"Main", L"LangPrefix", L"", prefix, 9, languageFile.c_str());
  return std::wstring(prefix, length);
}

}  // namespace ks
