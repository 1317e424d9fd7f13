// Registration and unregistration of redirections over the real modules of
// this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "agent/import_patcher/import_loader_hooks.h"
#include "agent/import_patcher/import_patcher.h"
#include "tests/agent/import_patcher/import_slot_reader.h"
#include "tests/agent/import_patcher/patch_helpers.h"

namespace ks {
namespace {

using test::CallerDll;
using test::ImportSlots;
using test::ScopedImportHook;

const FARPROC kMarkedMulDiv = AsFarProc(&test::MarkedMulDiv);
const FARPROC kMarkedCalleeValue = AsFarProc(&test::MarkedCalleeValue);

DWORD ProtectionOf(const void* address) {
  MEMORY_BASIC_INFORMATION region{};
  VirtualQuery(address, &region, sizeof region);
  return region.Protect;
}

// The caller's descriptor spells the library "KERNEL32.dll"; the record says
// "Kernel32.dll".
TEST(ImportPatcher, Registration_RedirectsLoadedModulesUntilUnregistration) {
  CallerDll caller;
  ASSERT_TRUE(caller.Loaded());
  const auto names = test::ImportedLibraryNames(caller.Handle());
  ASSERT_NE(std::find(names.begin(), names.end(), "KERNEL32.dll"), names.end());
  {
    ScopedImportHook hook("Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);
    ASSERT_NE(hook.Hook().realAddress, nullptr);
    EXPECT_EQ(caller.MulDivMagic(), test::kMulDivMarker);
    EXPECT_EQ(caller.MulDivMagicThroughThunk(), test::kMulDivMarker);
  }
  EXPECT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
  EXPECT_EQ(caller.MulDivMagicThroughThunk(), test::RealMagicMulDiv());
}

TEST(ImportPatcher, OwnModule_IsRedirectedOnlyWhenNotSpared) {
  {
    ScopedImportHook spared("Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);
    EXPECT_EQ(test::OwnMulDivMagic(), test::RealMagicMulDiv());
  }
  {
    ScopedImportHook everywhere("Kernel32.dll", "MulDiv", kMarkedMulDiv, FALSE);
    EXPECT_EQ(test::OwnMulDivMagic(), test::kMulDivMarker);
  }
  EXPECT_EQ(test::OwnMulDivMagic(), test::RealMagicMulDiv());
}

TEST(ImportPatcher, TablePage_KeepsItsProtectionThroughRedirectionAndUndo) {
  CallerDll caller;
  const auto slots = ImportSlots(caller.Handle(), "KERNEL32.dll", "MulDiv");
  ASSERT_EQ(slots.size(), 1u);
  const DWORD before = ProtectionOf(slots[0]);
  {
    ScopedImportHook hook("Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);
    ASSERT_EQ(*slots[0], reinterpret_cast<ULONG_PTR>(kMarkedMulDiv));
    EXPECT_EQ(ProtectionOf(slots[0]), before);
  }
  EXPECT_EQ(ProtectionOf(slots[0]), before);
}

TEST(ImportPatcher, Unregistration_PutsTheRealAddressBackInEverySlot) {
  const test::LoaderDll& loader = test::LoaderDll::Get();
  RegisterPermanentImportHooks();
  ImportHook mulDiv;
  ImportHook calleeValue;
  RegisterImportHook(&mulDiv, "Kernel32.dll", "MulDiv", kMarkedMulDiv, FALSE);
  // Loaded after the registrations, through a redirected call.
  CallerDll caller(loader.loadLibraryW(test::HelperPath(test::kCallerDll).c_str()));
  ASSERT_TRUE(caller.Loaded());
  RegisterImportHook(&calleeValue, "ks_patch_callee.dll", "CalleeValue", kMarkedCalleeValue, FALSE);

  const std::map<ULONG_PTR, FARPROC> realOf = {
      {reinterpret_cast<ULONG_PTR>(AsFarProc(&HookedLoadLibraryA)),
       ResolveSystemFunction("Kernel32.dll", "LoadLibraryA")},
      {reinterpret_cast<ULONG_PTR>(AsFarProc(&HookedLoadLibraryW)),
       ResolveSystemFunction("Kernel32.dll", "LoadLibraryW")},
      {reinterpret_cast<ULONG_PTR>(AsFarProc(&HookedLoadLibraryExA)),
       ResolveSystemFunction("Kernel32.dll", "LoadLibraryExA")},
      {reinterpret_cast<ULONG_PTR>(AsFarProc(&HookedLoadLibraryExW)),
       ResolveSystemFunction("Kernel32.dll", "LoadLibraryExW")},
      {reinterpret_cast<ULONG_PTR>(AsFarProc(&HookedGetProcAddress)),
       ResolveSystemFunction("Kernel32.dll", "GetProcAddress")},
      {reinterpret_cast<ULONG_PTR>(kMarkedMulDiv), mulDiv.realAddress},
      {reinterpret_cast<ULONG_PTR>(kMarkedCalleeValue), calleeValue.realAddress},
  };
  std::map<ULONG_PTR*, FARPROC> redirected;
  for (const HMODULE module : test::LoadedModules()) {
    for (ULONG_PTR* slot : test::AllImportSlots(module)) {
      const auto found = realOf.find(*slot);
      if (found != realOf.end()) redirected[slot] = found->second;
    }
  }
  ASSERT_EQ(ImportSlots(caller.Handle(), "KERNEL32.dll", "MulDiv").size(), 1u);
  ASSERT_EQ(redirected.count(ImportSlots(caller.Handle(), "KERNEL32.dll", "MulDiv")[0]), 1u);
  ASSERT_EQ(redirected.count(ImportSlots(caller.Handle(), "ks_patch_callee.dll", "CalleeValue")[0]), 1u);
  ASSERT_EQ(redirected.count(ImportSlots(loader.module, "KERNEL32.dll", "GetProcAddress")[0]), 1u);

  UnregisterImportHook(&calleeValue);
  UnregisterImportHook(&mulDiv);
  UnregisterPermanentImportHooks();

  for (const auto& [slot, real] : redirected) {
    EXPECT_EQ(*slot, reinterpret_cast<ULONG_PTR>(real));
  }
  for (const HMODULE module : test::LoadedModules()) {
    for (const ULONG_PTR* slot : test::AllImportSlots(module)) {
      EXPECT_EQ(realOf.count(*slot), 0u) << "a replacement is left in a module at " << module;
    }
  }
}

TEST(ImportPatcher, RecordRegisteredTwice_IsListedOnce) {
  CallerDll caller;
  ImportHook hook;
  RegisterImportHook(&hook, "Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);
  RegisterImportHook(&hook, "Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);

  UnregisterImportHook(&hook);

  EXPECT_EQ(ImportReplacementFor(hook.realAddress), hook.realAddress);
  EXPECT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
}

TEST(ImportPatcher, FunctionOrLibraryThatCannotBeFound_RedirectsNothing) {
  CallerDll caller;
  ImportHook missingFunction;
  ImportHook missingLibrary;
  RegisterImportHook(&missingFunction, "Kernel32.dll", "NoSuchFunctionAnywhere", kMarkedMulDiv, FALSE);
  RegisterImportHook(&missingLibrary, "ks_never_loaded.dll", "MulDiv", kMarkedMulDiv, FALSE);

  EXPECT_EQ(missingFunction.realAddress, nullptr);
  EXPECT_EQ(missingLibrary.realAddress, nullptr);
  EXPECT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
  EXPECT_EQ(ImportReplacementFor(nullptr), nullptr);

  UnregisterImportHook(&missingLibrary);
  UnregisterImportHook(&missingFunction);
  EXPECT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
}

}  // namespace
}  // namespace ks
