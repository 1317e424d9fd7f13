#include "agent/localization/localized_import_hook.h"

#include <algorithm>

namespace ks {

bool IsUsableLanguageFilePath(const std::wstring& path) {
  return !path.empty() && path.size() < kLanguageFilePathCapacity && path.find(L'\0') == std::wstring::npos;
}

LocalizedImportHook::LocalizedImportHook(const std::wstring& languageFile, const char* calleeModule,
                                         const char* functionName, FARPROC replacement) {
  if (IsUsableLanguageFilePath(languageFile)) {
    std::copy(languageFile.begin(), languageFile.end(), languageFile_);
  }
  RegisterImportHook(&record_, calleeModule, functionName, replacement, FALSE);
}

LocalizedImportHook::~LocalizedImportHook() { UnregisterImportHook(&record_); }

}  // namespace ks
