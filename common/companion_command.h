// The command line on which the agent starts the 32-bit companion, and the
// exit codes by which the companion says why it could not serve.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/hook_parameters.h"

namespace ks {

// Handle values are inherited by the companion, so they mean the same there.
struct CompanionCommand {
  uint64_t agentProcess = 0;  // the companion ends when this process ends
  uint64_t readyEvent = 0;    // set once the hook is installed
  uint64_t stopEvent = 0;     // set by the agent to end the companion
  HookParameters hook;
};

// "/agent=<hex> /ready=<hex> /stop=<hex> /flags=<hex> /fullscreen=<hex>
// /log=<count>:<text> /programs=<count>:<text> /rules=<count>:<text>": a
// text carries its length, so no character in it (blank, quote) needs
// escaping; an empty text is left out.
std::wstring FormatCompanionCommand(const CompanionCommand& command);

// False for anything the agent would not have written: an unknown or
// repeated switch, a missing handle, a bad number or a text that runs short.
[[nodiscard]] bool ParseCompanionCommand(std::wstring_view text, CompanionCommand& command);

// How a companion ends.
enum CompanionExit : uint32_t {
  kCompanionDone = 0,               // served until told to stop, or its agent ended
  kCompanionBadCommand = 2,         // not started by an agent
  kCompanionLibraryMissing = 3,     // its hook library is missing or cannot be loaded
  kCompanionLibraryOtherBuild = 4,  // its hook library is of another build
  kCompanionHookRefused = 5,        // the library did not install the hook
};

}  // namespace ks
