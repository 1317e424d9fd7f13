// The language the settings page is shown in: the current language file of
// the settings and the prefix it names.
#pragma once

#include <string>

namespace ks {

// The chosen language file: "LangFile" of the settings (read again from the
// settings file when the record has none); a bare file name lies in the
// program directory. Empty when none is chosen.
std::wstring CurrentLanguageFile();

// "LangPrefix" of section "Main" of the file, at most 8 characters; empty
// for an empty path or a file without it.
std::wstring ReadPagePrefix(const std::wstring& languageFile);

}  // namespace ks
