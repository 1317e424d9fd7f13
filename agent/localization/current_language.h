// The language of the agent's texts as far as other parts need to know it:
// the language file in use and its prefix.
#pragma once

#include <string>

namespace ks {

// The file the running translation reads; empty while the texts are the
// built-in ones.
std::wstring CurrentLanguageFile();

// "LangPrefix" of section "Main" of the current language file ("Ru"), at most
// three characters; empty without a current file or without the key.
std::wstring LanguagePrefix();

}  // namespace ks
