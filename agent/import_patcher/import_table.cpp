#include "agent/import_patcher/import_table.h"

#include <cstddef>
#include <cstdint>

#include "agent/import_patcher/import_memory.h"
#include "agent/import_patcher/import_slot.h"
#include "common/ascii.h"

namespace ks {

namespace {

// A module's image, addressed by relative virtual addresses that are checked
// against its size and against readable memory before each read.
class ImageView {
 public:
  ImageView(HMODULE module, DWORD size) : base_(reinterpret_cast<BYTE*>(module)), size_(size) {}

  bool Readable(DWORD rva, size_t length) {
    const uint64_t end = uint64_t{rva} + length;
    return end <= size_ && memory_.Contains(base_ + rva, length);
  }

  template <typename T>
  T* At(DWORD rva) const {
    return reinterpret_cast<T*>(base_ + rva);
  }

 private:
  BYTE* base_;
  DWORD size_;
  ReadableMemory memory_;
};

// Library names compare in ASCII letter case.
bool NameMatches(ImageView& image, DWORD rva, const char* wanted) {
  for (DWORD i = 0;; ++i) {
    if (!image.Readable(rva + i, 1)) return false;
    const char c = *image.At<const char>(rva + i);
    if (AsciiLower(c) != AsciiLower(wanted[i])) return false;
    if (c == '\0') return true;
  }
}

// The image size and the import directory's address from the headers of a
// module of this process's own kind (32- or 64-bit); false for anything else.
bool ReadImportDirectory(HMODULE module, DWORD* imageSize, DWORD* importRva) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  ReadableMemory memory;
  if (!memory.Contains(dos, sizeof *dos) || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0) {
    return false;
  }
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  if (!memory.Contains(nt, sizeof *nt) || nt->Signature != IMAGE_NT_SIGNATURE ||
      nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC ||
      nt->FileHeader.SizeOfOptionalHeader < sizeof nt->OptionalHeader ||
      nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT) {
    return false;
  }
  const DWORD size = nt->OptionalHeader.SizeOfImage;
  if (static_cast<uint64_t>(dos->e_lfanew) + sizeof *nt > size) return false;
  *imageSize = size;
  *importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  return *importRva != 0;
}

int ReplaceInTable(ImageView& image, DWORD tableRva, ULONG_PTR current, ULONG_PTR replacement,
                   ULONG_PTR highestApplicationAddress) {
  int rewritten = 0;
  for (DWORD rva = tableRva; image.Readable(rva, sizeof(ImportSlot)); rva += sizeof(ImportSlot)) {
    auto* slot = image.At<ImportSlot>(rva);
    if (*slot == 0) break;
    const ImportTarget target = FindImportTarget(slot, current, highestApplicationAddress);
    if (target.address != nullptr && WriteImportTarget(target, replacement)) ++rewritten;
  }
  return rewritten;
}

}  // namespace

int ReplaceImportInImage(HMODULE module, const char* calleeModule, ULONG_PTR current, ULONG_PTR replacement,
                         ULONG_PTR highestApplicationAddress) {
  DWORD imageSize = 0;
  DWORD importRva = 0;
  if (module == nullptr || calleeModule == nullptr || current == 0 ||
      !ReadImportDirectory(module, &imageSize, &importRva)) {
    return 0;
  }
  ImageView image(module, imageSize);
  int rewritten = 0;
  // Every descriptor is looked at: a module may import one library through
  // several, and each of its slots must change, or an undo could miss one.
  for (DWORD rva = importRva; image.Readable(rva, sizeof(IMAGE_IMPORT_DESCRIPTOR));
       rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* descriptor = image.At<const IMAGE_IMPORT_DESCRIPTOR>(rva);
    if (descriptor->Name == 0) break;
    if (descriptor->FirstThunk == 0 || !NameMatches(image, descriptor->Name, calleeModule)) continue;
    rewritten += ReplaceInTable(image, descriptor->FirstThunk, current, replacement, highestApplicationAddress);
  }
  return rewritten;
}

}  // namespace ks
