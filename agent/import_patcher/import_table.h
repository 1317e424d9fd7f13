// The import address tables of one module mapped as an image: finding, by
// the headers, the tables through which the module calls a given library, and
// rewriting the slots that lead to a given function.
#pragma once

#include <windows.h>

namespace ks {

// In the module at `module`, rewrites every slot of every import descriptor
// naming `calleeModule` (ASCII letters compared without regard to case) that
// leads to `current` (see FindImportTarget) so that it leads to `replacement`.
// Headers, descriptors, names and tables are checked against the image size
// and readable memory: a damaged or foreign header rewrites nothing. Returns
// the number of slots rewritten. The caller serialises writers.
int ReplaceImportInImage(HMODULE module, const char* calleeModule, ULONG_PTR current, ULONG_PTR replacement,
                         ULONG_PTR highestApplicationAddress);

}  // namespace ks
