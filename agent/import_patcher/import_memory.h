// Whether ranges of this process's memory can be read without a fault: the
// patcher reads headers, names and tables of modules it does not own.
#pragma once

#include <windows.h>

#include <cstddef>

namespace ks {

// Remembers the last region it asked the system about, so a run of nearby
// reads (an import table slot by slot) costs one query.
class ReadableMemory {
 public:
  // True when every byte of [address, address + size) is committed and
  // readable; false for an empty or wrapping range.
  bool Contains(const void* address, size_t size);

 private:
  ULONG_PTR regionStart_ = 0;
  ULONG_PTR regionEnd_ = 0;
};

}  // namespace ks
