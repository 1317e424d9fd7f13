// The calls into a loaded hook library (TDX.dll, or TDX32.dll in the 32-bit
// companion), bound by name as both callers bind them: the one place that
// turns a HookParameters record into the library's exports.
#pragma once

#include <windows.h>

#include "common/hook_exports.h"
#include "common/hook_parameters.h"

namespace ks {

// Whether the library exports the install call.
bool HasHookInstall(HMODULE library);

// Which programs one install serves: every thread on the desktop through one
// system-wide hook, or only the threads the caller then hooks one by one.
enum class HookReach { Desktop, ChosenThreads };

// The install export's result (1 installed, 0 not); 0 when it is missing.
// The programs left alone and the program rules are handed over first.
int CallHookInstall(HMODULE library, const HookParameters& parameters, HookReach reach = HookReach::Desktop);

// The export that hooks one thread after a HookReach::ChosenThreads install;
// null when the library has none.
HookThreadFn BindHookThread(HMODULE library);

// The uninstall export's result (1 removed, 0 not); 0 when it is missing.
int CallHookUninstall(HMODULE library);

}  // namespace ks
