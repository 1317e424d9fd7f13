#include "hook/shared_state.h"

#include "log/log_writer.h"

namespace ks {

// One section, shared by every process that maps the library; the linker keeps
// initialised data only, hence the explicit zeros.
__attribute__((section("Shared"), shared)) SharedState g_shared = {0, nullptr, 0, 0, 0, {0, 0}};

HINSTANCE g_dllInstance = nullptr;

ATOM& LogAtomSlot() { return g_shared.logAtom; }

}  // namespace ks
