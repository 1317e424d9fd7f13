#include "tests/harness/shared_section.h"

#include <cstring>

namespace ks::test {

MappedSection SharedSectionOf(HMODULE image) {
  // A module loaded as a data file has its low bits set.
  auto* base = reinterpret_cast<BYTE*>(reinterpret_cast<ULONG_PTR>(image) & ~static_cast<ULONG_PTR>(3));
  if (base == nullptr) return {};
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (std::memcmp(section->Name, "Shared", 7) == 0) {
      return MappedSection{base + section->VirtualAddress, section->Misc.VirtualSize};
    }
  }
  return {};
}

}  // namespace ks::test
