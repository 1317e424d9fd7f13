// Run-time translation of the agent's menus and string-table texts from a
// language file. While it runs, LoadMenuW and LoadStringW of every module of
// the process, modules loaded later included, give translated texts.
#pragma once

#include <string>

namespace ks {

class MenuLocalizer;
class StringLocalizer;

// Starts translating with the language file at `languageFile`, which need
// not exist yet: every text it lacks is written into it. False, changing
// nothing, when localisation already runs, when the path is empty, holds a
// null or is 1024 units or longer (the texts then stay built in), or when
// memory runs out.
bool StartLocalization(const std::wstring& languageFile);

// Stops translating: the menu localizer goes, then the string localizer, and
// every module calls the system functions again. False when it was not
// running. A replacement reached afterwards, through an address looked up
// earlier, gives the built-in texts.
bool StopLocalization();

bool IsLocalizationStarted();

// The installed localizers, null while localisation is stopped; their
// LanguageFile() is the file in use. For the main thread, which alone starts
// and stops localisation.
const MenuLocalizer* InstalledMenuLocalizer();
const StringLocalizer* InstalledStringLocalizer();

}  // namespace ks
