// The settings program's log atom. Only this process writes through it, and
// only for the moment of one line, so it needs no shared section.
#include <windows.h>

#include "log/log_writer.h"

namespace ks {
namespace {

ATOM configLogAtom = 0;

}  // namespace

ATOM& LogAtomSlot() { return configLogAtom; }

}  // namespace ks
