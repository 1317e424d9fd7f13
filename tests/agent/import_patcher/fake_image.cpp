#include "tests/agent/import_patcher/fake_image.h"

#include <cstring>

namespace ks::test {

namespace {

constexpr DWORD kPage = 0x1000;
constexpr DWORD kNtHeaders = 0x80;
constexpr DWORD kDescriptors = 0x200;
constexpr DWORD kNames = 0xC00;
constexpr DWORD kTables = kPage;

}  // namespace

FakeImage::FakeImage(const std::vector<Import>& imports, DWORD tableProtection)
    : base_(static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))) {
  DosHeader().e_magic = IMAGE_DOS_SIGNATURE;
  DosHeader().e_lfanew = kNtHeaders;
  IMAGE_NT_HEADERS& nt = NtHeaders();
  nt.Signature = IMAGE_NT_SIGNATURE;
  nt.FileHeader.SizeOfOptionalHeader = sizeof nt.OptionalHeader;
  nt.OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR_MAGIC;
  nt.OptionalHeader.SizeOfImage = 2 * kPage;
  nt.OptionalHeader.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
  nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress = kDescriptors;
  nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].Size =
      static_cast<DWORD>((imports.size() + 1) * sizeof(IMAGE_IMPORT_DESCRIPTOR));

  DWORD nameRva = kNames;
  DWORD tableRva = kTables;
  for (size_t i = 0; i < imports.size(); ++i) {
    IMAGE_IMPORT_DESCRIPTOR& d = Descriptor(i);
    std::memcpy(base_ + nameRva, imports[i].library.c_str(), imports[i].library.size() + 1);
    d.Name = nameRva;
    d.FirstThunk = tableRva;
    tableRvas_.push_back(tableRva);
    nameRva += static_cast<DWORD>(imports[i].library.size() + 1);
    for (const ULONG_PTR slot : imports[i].slots) {
      std::memcpy(base_ + tableRva, &slot, sizeof slot);
      tableRva += sizeof slot;
    }
    tableRva += sizeof(ULONG_PTR);  // the zero slot that ends the table
  }
  DWORD previous = 0;
  VirtualProtect(base_ + kTables, kPage, tableProtection, &previous);
}

FakeImage::~FakeImage() { VirtualFree(base_, 0, MEM_RELEASE); }

DWORD FakeImage::Size() const { return 2 * kPage; }

ULONG_PTR FakeImage::Slot(size_t import, size_t index) const {
  ULONG_PTR value = 0;
  std::memcpy(&value, base_ + tableRvas_[import] + index * sizeof value, sizeof value);
  return value;
}

DWORD FakeImage::TableProtection() const {
  MEMORY_BASIC_INFORMATION region{};
  VirtualQuery(base_ + kTables, &region, sizeof region);
  return region.Protect;
}

IMAGE_DOS_HEADER& FakeImage::DosHeader() { return *reinterpret_cast<IMAGE_DOS_HEADER*>(base_); }

IMAGE_NT_HEADERS& FakeImage::NtHeaders() { return *reinterpret_cast<IMAGE_NT_HEADERS*>(base_ + kNtHeaders); }

IMAGE_IMPORT_DESCRIPTOR& FakeImage::Descriptor(size_t import) {
  return reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base_ + kDescriptors)[import];
}

}  // namespace ks::test
