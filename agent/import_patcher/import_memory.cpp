#include "agent/import_patcher/import_memory.h"

namespace ks {

namespace {

constexpr DWORD kReadableProtection = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                      PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

bool IsReadableRegion(const MEMORY_BASIC_INFORMATION& region) {
  return region.State == MEM_COMMIT && (region.Protect & kReadableProtection) != 0 &&
         (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
}

}  // namespace

bool ReadableMemory::Contains(const void* address, size_t size) {
  const auto start = reinterpret_cast<ULONG_PTR>(address);
  const ULONG_PTR end = start + size;
  if (size == 0 || end < start) return false;
  for (ULONG_PTR at = start; at < end;) {
    if (at >= regionStart_ && at < regionEnd_) {
      at = regionEnd_;
      continue;
    }
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof region) == 0) return false;
    if (!IsReadableRegion(region)) return false;
    regionStart_ = reinterpret_cast<ULONG_PTR>(region.BaseAddress);
    regionEnd_ = regionStart_ + region.RegionSize;
    if (regionEnd_ <= at) return false;  // a region that ends before it starts: give up
  }
  return true;
}

}  // namespace ks
