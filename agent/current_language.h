// The language of the agent's texts as far as other parts need to know it.
// Only the built-in English texts exist yet, so the prefix is always empty;
// choosing a language file will answer with that file's prefix here.
#pragma once

#include <string>

namespace ks {

// "LangPrefix" of the current language file ("Ru", "De", ...); empty for the
// built-in texts.
std::wstring CurrentLanguagePrefix();

}  // namespace ks
