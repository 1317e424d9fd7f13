// The calls into a loaded hook library (TDX.dll, or TDX32.dll in the 32-bit
// companion), bound by name as both callers bind them: the one place that
// turns a HookParameters record into the library's exports.
#pragma once

#include <windows.h>

#include "common/hook_parameters.h"

namespace ks {

// Whether the library exports the install call.
bool HasHookInstall(HMODULE library);

// The install export's result (1 installed, 0 not); 0 when it is missing.
int CallHookInstall(HMODULE library, const HookParameters& parameters);

// The uninstall export's result (1 removed, 0 not); 0 when it is missing.
int CallHookUninstall(HMODULE library);

}  // namespace ks
