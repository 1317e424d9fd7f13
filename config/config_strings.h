// The settings program's own texts, from its string table.
#pragma once

#include <windows.h>

#include <string>

namespace ks {

// The string with the id, empty when the table has none.
std::wstring LoadConfigString(UINT id);

// The program's file name without its extension ("KsConfig"), the caption of
// the box that reports a running instance.
std::wstring ProgramBaseName();

}  // namespace ks
