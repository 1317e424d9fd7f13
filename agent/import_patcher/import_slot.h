// One import slot's rewrite: where the new address goes (the slot itself or,
// in a 32-bit process, the operand of a push stub the slot points to) and the
// write itself, with the page protection put back afterwards.
#pragma once

#include <windows.h>

namespace ks {

// An import address table entry: 4 bytes in a 32-bit process, 8 in a 64-bit one.
using ImportSlot = ULONG_PTR;

// Old 32-bit systems answer lookups of shared system functions with a stub
// above the application address range that starts by pushing the real address
// (opcode 0x68, then the 4-byte address). Only 32-bit processes can meet one.
constexpr bool kPushStubRule = sizeof(void*) == 4;

// The address a push stub at `address` pushes, when `address` lies above
// `highestApplicationAddress`, can be read and starts with 0x68; otherwise 0.
// Always 0 in a 64-bit process.
ULONG_PTR FollowPushStub(ULONG_PTR address, ULONG_PTR highestApplicationAddress);

// Where a rewrite of one slot from `current` goes.
struct ImportTarget {
  void* address = nullptr;  // null: the slot does not lead to `current`
  bool insideStub = false;  // the 4-byte operand of a push stub, in code
};

// The slot itself when it holds `current`; in a 32-bit process the operand of
// a push stub the slot points to when that stub pushes `current`; else none.
// A `current` of 0 matches nothing.
ImportTarget FindImportTarget(ImportSlot* slot, ULONG_PTR current, ULONG_PTR highestApplicationAddress);

// Writes `value` at the target. The page is made writable for the write and
// gets its previous protection back at once; false, with nothing written,
// when it cannot be made writable.
bool WriteImportTarget(const ImportTarget& target, ULONG_PTR value);

}  // namespace ks
