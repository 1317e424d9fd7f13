// The language files beside the agent: found, sorted and labelled for the
// "Language" submenu, and kept in a list whose positions the language
// commands name (41001 is position 0).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ks {

// Command of the example file; the menu never gives it to an item.
constexpr UINT kExampleLanguageCommand = 41000;
// Command of list position 0; the commands end at kLastLanguageCommand.
constexpr UINT kFirstLanguageCommand = 41001;
constexpr UINT kLastLanguageCommand = 41099;

// Appends the full path of every "*.lng" of the directory to the list, sorts
// the whole list by UTF-16 code units (upper case before lower case) and
// answers its length. A directory that cannot be searched adds nothing.
size_t FindLanguageFiles(std::wstring directory, std::vector<std::wstring>& list);

// The file used while no language is chosen: "LocalizationExample.lng" in the
// agent's directory. It need not exist; the translation fills it.
std::wstring ExampleLanguageFilePath();

// The text of a language file's menu item: its file name without the last
// extension ("notes.old.lng" gives "notes.old").
std::wstring LanguageFileLabel(const std::wstring& path);

// The list the menu was last built from, and its rebuild from the agent's
// directory. Main thread only (the only one that changes the list).
const std::vector<std::wstring>& LanguageFileList();
void RefreshLanguageFileList();

// The file a language command names: the example file for 41000, list
// position id - 41001 otherwise; empty for an id outside the range or beyond
// the end of the list. Safe on any thread while the main thread rebuilds.
std::wstring LanguageFileForCommand(UINT id);

}  // namespace ks
