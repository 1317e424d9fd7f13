#include "tests/agent/import_patcher/import_slot_reader.h"

#include <tlhelp32.h>

#include <cstring>

#include "common/unique_handle.h"

namespace ks::test {

namespace {

BYTE* Base(HMODULE module) { return reinterpret_cast<BYTE*>(module); }

const IMAGE_IMPORT_DESCRIPTOR* FirstDescriptor(HMODULE module) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(Base(module) + dos->e_lfanew);
  const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  return rva == 0 ? nullptr : reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Base(module) + rva);
}

template <typename Visit>
void ForEachDescriptor(HMODULE module, Visit visit) {
  for (const IMAGE_IMPORT_DESCRIPTOR* d = FirstDescriptor(module); d != nullptr && d->Name != 0; ++d) {
    visit(*d, reinterpret_cast<const char*>(Base(module) + d->Name));
  }
}

}  // namespace

std::vector<std::string> ImportedLibraryNames(HMODULE module) {
  std::vector<std::string> names;
  ForEachDescriptor(module, [&](const IMAGE_IMPORT_DESCRIPTOR&, const char* name) { names.emplace_back(name); });
  return names;
}

std::vector<ULONG_PTR*> ImportSlots(HMODULE module, const char* library, const char* function) {
  std::vector<ULONG_PTR*> slots;
  ForEachDescriptor(module, [&](const IMAGE_IMPORT_DESCRIPTOR& d, const char* name) {
    if (_stricmp(name, library) != 0 || d.OriginalFirstThunk == 0) return;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(Base(module) + d.OriginalFirstThunk);
    auto* table = reinterpret_cast<ULONG_PTR*>(Base(module) + d.FirstThunk);
    for (size_t i = 0; names[i].u1.AddressOfData != 0; ++i) {
      if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(Base(module) + names[i].u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
        slots.push_back(&table[i]);
      }
    }
  });
  return slots;
}

std::vector<ULONG_PTR*> AllImportSlots(HMODULE module) {
  std::vector<ULONG_PTR*> slots;
  ForEachDescriptor(module, [&](const IMAGE_IMPORT_DESCRIPTOR& d, const char*) {
    for (auto* slot = reinterpret_cast<ULONG_PTR*>(Base(module) + d.FirstThunk); *slot != 0; ++slot) {
      slots.push_back(slot);
    }
  });
  return slots;
}

std::vector<HMODULE> LoadedModules() {
  std::vector<HMODULE> modules;
  const UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId()));
  if (!snapshot) return modules;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot.get(), &entry); more; more = Module32NextW(snapshot.get(), &entry)) {
    modules.push_back(entry.hModule);
  }
  return modules;
}

}  // namespace ks::test
