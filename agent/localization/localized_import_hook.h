// One redirection of a user32 function for the time a language file is in
// use, with the path of that file.
#pragma once

#include <windows.h>

#include <string>

#include "agent/import_patcher/import_patcher.h"

namespace ks {

// Room for a language file path and its terminator. A longer path is refused
// rather than cut, since a cut path names another file.
constexpr size_t kLanguageFilePathCapacity = 1024;

// Whether a path can be a localizer's language file: not empty, shorter than
// kLanguageFilePathCapacity and without an embedded null.
bool IsUsableLanguageFilePath(const std::wstring& path);

class LocalizedImportHook {
 public:
  LocalizedImportHook(const LocalizedImportHook&) = delete;
  LocalizedImportHook& operator=(const LocalizedImportHook&) = delete;
  // Puts the system function back in every module.
  virtual ~LocalizedImportHook();

  // The language file; empty when the path given was not usable.
  const wchar_t* LanguageFile() const { return languageFile_; }

 protected:
  // Redirects the function in every module, this program's own included, so
  // its own texts are translated too. An unusable path leaves the language
  // file empty, and the localizers then translate nothing.
  LocalizedImportHook(const std::wstring& languageFile, const char* calleeModule, const char* functionName,
                      FARPROC replacement);

 private:
  ImportHook record_;
  wchar_t languageFile_[kLanguageFilePathCapacity] = {};
};

}  // namespace ks
