// The language file the agent starts with.
#pragma once

#include <string>

namespace ks {

// The "LangFile" setting, or the example file when it is empty. Empty (the
// built-in texts) when the stored value is longer than the setting holds:
// the settings read cuts it, and a cut path names some other file, which the
// translation would then read and fill.
std::wstring StartupLanguageFile();

}  // namespace ks
