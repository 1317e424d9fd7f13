// The agent's log atom. It lives in a shared section of the executable, so
// every running copy of this program sees the same log state, as every process
// that maps the hook library sees the library's.
#include <windows.h>

#include "log/log_writer.h"

namespace ks {
namespace {

// Initialised data: the linker shares only sections that hold it.
__attribute__((section("Shared"), shared)) ATOM agentLogAtom = 0;

}  // namespace

ATOM& LogAtomSlot() { return agentLogAtom; }

}  // namespace ks
