// Reading import tables by imported name, written apart from the patcher
// (which matches slots by address) so the tests check it against an
// independent view of the same tables.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ks::test {

// Library names of the module's import descriptors, spelled as in the file.
std::vector<std::string> ImportedLibraryNames(HMODULE module);

// The slots through which the module calls `function` of `library` (library
// name without regard to case), one per descriptor that imports it.
std::vector<ULONG_PTR*> ImportSlots(HMODULE module, const char* library, const char* function);

// Every import slot of the module.
std::vector<ULONG_PTR*> AllImportSlots(HMODULE module);

// The modules of this process, from a fresh snapshot.
std::vector<HMODULE> LoadedModules();

}  // namespace ks::test
