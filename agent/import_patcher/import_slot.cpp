#include "agent/import_patcher/import_slot.h"

#include <cstdint>
#include <cstring>

#include "agent/import_patcher/import_memory.h"

namespace ks {

namespace {

constexpr unsigned char kPushImmediate = 0x68;
constexpr size_t kPushStubSize = 5;
constexpr size_t kStubOperandSize = 4;

}  // namespace

ULONG_PTR FollowPushStub(ULONG_PTR address, ULONG_PTR highestApplicationAddress) {
  if (!kPushStubRule || address <= highestApplicationAddress) return 0;
  const auto* code = reinterpret_cast<const unsigned char*>(address);
  ReadableMemory memory;
  if (!memory.Contains(code, kPushStubSize) || code[0] != kPushImmediate) return 0;
  uint32_t operand = 0;
  std::memcpy(&operand, code + 1, sizeof operand);
  return static_cast<ULONG_PTR>(operand);
}

ImportTarget FindImportTarget(ImportSlot* slot, ULONG_PTR current, ULONG_PTR highestApplicationAddress) {
  ImportTarget target;
  if (current == 0) return target;
  const ImportSlot value = *slot;
  if (value == current) {
    target.address = slot;
  } else if (FollowPushStub(value, highestApplicationAddress) == current) {
    target.address = reinterpret_cast<void*>(value + 1);
    target.insideStub = true;
  }
  return target;
}

bool WriteImportTarget(const ImportTarget& target, ULONG_PTR value) {
  if (target.address == nullptr) return false;
  const SIZE_T size = target.insideStub ? kStubOperandSize : sizeof(ImportSlot);
  // Execute stays allowed: a slot may share its page with code another thread runs.
  DWORD previous = 0;
  if (!VirtualProtect(target.address, size, PAGE_EXECUTE_READWRITE, &previous)) return false;
  if (target.insideStub) {
    const auto operand = static_cast<uint32_t>(value);
    std::memcpy(target.address, &operand, sizeof operand);
    FlushInstructionCache(GetCurrentProcess(), target.address, size);
  } else if (reinterpret_cast<ULONG_PTR>(target.address) % sizeof(ImportSlot) == 0) {
    // Other threads call through the slot while it changes: they see the old
    // or the new address, never half of each.
    InterlockedExchangePointer(static_cast<PVOID volatile*>(target.address), reinterpret_cast<PVOID>(value));
  } else {
    std::memcpy(target.address, &value, sizeof value);
  }
  DWORD ignored = 0;
  VirtualProtect(target.address, size, previous, &ignored);
  return true;
}

}  // namespace ks
