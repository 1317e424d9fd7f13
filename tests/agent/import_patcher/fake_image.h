// A module image built in memory: headers, import descriptors, library names
// and import tables laid out as the loader leaves them, so the table walk can
// be given exact (and damaged) inputs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ks::test {

class FakeImage {
 public:
  struct Import {
    std::string library;
    std::vector<ULONG_PTR> slots;  // the table ends after them with a zero slot
  };

  // Headers, descriptors and names on the first page; the tables on the
  // second, with `tableProtection`. The image is exactly two pages long:
  // nothing follows it.
  explicit FakeImage(const std::vector<Import>& imports, DWORD tableProtection = PAGE_READONLY);
  ~FakeImage();
  FakeImage(const FakeImage&) = delete;
  FakeImage& operator=(const FakeImage&) = delete;

  HMODULE Module() const { return reinterpret_cast<HMODULE>(base_); }
  DWORD Size() const;
  ULONG_PTR Slot(size_t import, size_t index) const;
  DWORD TableProtection() const;

  // For damaging the image; the header page stays writable.
  IMAGE_DOS_HEADER& DosHeader();
  IMAGE_NT_HEADERS& NtHeaders();
  IMAGE_IMPORT_DESCRIPTOR& Descriptor(size_t import);

 private:
  BYTE* base_ = nullptr;
  std::vector<DWORD> tableRvas_;
};

}  // namespace ks::test
