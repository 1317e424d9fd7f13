// Takes the current directory out of the process's DLL search path, so that a
// DLL planted where the agent happens to be started from is never loaded.
#pragma once

namespace ks {

// Called first thing at start. Uses SetDefaultDllDirectories where the system
// has it (looked up at run time: Windows 7 has it only with an update) and
// SetDllDirectoryW(L"") everywhere, which drops the current directory from the
// classic search order.
void RemoveCurrentDirectoryFromDllSearch();

}  // namespace ks
