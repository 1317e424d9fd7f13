// Translation of the string-table texts the process loads: while a string
// localizer lives, every LoadStringW of "user32.dll" in the process reaches
// LocalizedLoadStringW, which answers with the text of the language file's
// "Strings" section and writes the built-in text of every string the file
// lacks.
#pragma once

#include <windows.h>

#include <string>

#include "agent/localization/localized_import_hook.h"

namespace ks {

class StringLocalizer : public LocalizedImportHook {
 public:
  // Redirects LoadStringW and becomes the current string localizer.
  explicit StringLocalizer(const std::wstring& languageFile);
  // Stops being current once no load still uses it, then puts LoadStringW back.
  ~StringLocalizer() override;

  // Replaces the `loaded` characters that string `id` of `instance` left in
  // `buffer` (room for `bufferSize` units) by the translation, keyed by the
  // identifier alone, cut to fit the buffer; the number of characters now in
  // the buffer. A string the file lacks, or has with an empty value, is
  // written to the file with its whole built-in text and stays as loaded.
  int TranslateString(HINSTANCE instance, UINT id, wchar_t* buffer, int bufferSize, int loaded) const;
};

// LoadStringW with the texts of the current string localizer; with none
// (during a language change, or reached after localisation stopped through
// an address looked up earlier) it is LoadStringW itself. The form with a
// buffer size of 0, which answers with a pointer into the resource, and
// strings that do not exist pass through untouched.
int WINAPI LocalizedLoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferSize);

}  // namespace ks
