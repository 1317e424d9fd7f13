// Registrations, loads and lookups on several threads at once.
#include <gtest/gtest.h>

#include <thread>

#include "agent/import_patcher/import_loader_hooks.h"
#include "agent/import_patcher/import_patcher.h"
#include "tests/agent/import_patcher/import_slot_reader.h"
#include "tests/agent/import_patcher/patch_helpers.h"

namespace ks {
namespace {

constexpr int kRounds = 40;

void RegisterAndUnregister(const char* calleeModule, const char* functionName, FARPROC replacement) {
  for (int i = 0; i < kRounds; ++i) {
    ImportHook hook;
    RegisterImportHook(&hook, calleeModule, functionName, replacement, FALSE);
    UnregisterImportHook(&hook);
  }
}

TEST(ImportPatcherConcurrency, RegistrationsLoadsAndLookupsAtOnce_EndWithEveryTableReal) {
  const test::LoaderDll& loader = test::LoaderDll::Get();
  const test::CallerDll caller;
  ASSERT_TRUE(caller.Loaded());
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const FARPROC realMulDiv = ResolveSystemFunction("Kernel32.dll", "MulDiv");
  const FARPROC realCalleeValue = ResolveSystemFunction("ks_patch_callee.dll", "CalleeValue");
  const FARPROC markedMulDiv = AsFarProc(&test::MarkedMulDiv);
  RegisterPermanentImportHooks();

  std::thread mulDiv(RegisterAndUnregister, "Kernel32.dll", "MulDiv", markedMulDiv);
  std::thread calleeValue(RegisterAndUnregister, "ks_patch_callee.dll", "CalleeValue",
                          AsFarProc(&test::MarkedCalleeValue));
  int unexpected = 0;
  const std::wstring callerPath = test::HelperPath(test::kCallerDll);
  for (int i = 0; i < kRounds * 4; ++i) {
    // Loading the loaded caller again patches it again, beside the walks.
    const UniqueModule again(loader.loadLibraryW(callerPath.c_str()));
    const FARPROC found = loader.getProcAddress(kernel, "MulDiv");
    const int answer = caller.MulDivMagic();
    if (found != realMulDiv && found != markedMulDiv) ++unexpected;
    if (answer != test::RealMagicMulDiv() && answer != test::kMulDivMarker) ++unexpected;
  }
  mulDiv.join();
  calleeValue.join();
  UnregisterPermanentImportHooks();

  EXPECT_EQ(unexpected, 0);
  EXPECT_EQ(ImportReplacementFor(realMulDiv), realMulDiv);
  EXPECT_EQ(loader.getProcAddress(kernel, "MulDiv"), realMulDiv);
  for (const ULONG_PTR* slot : test::ImportSlots(caller.Handle(), "Kernel32.dll", "MulDiv")) {
    EXPECT_EQ(*slot, reinterpret_cast<ULONG_PTR>(realMulDiv));
  }
  for (const ULONG_PTR* slot : test::ImportSlots(caller.Handle(), "ks_patch_callee.dll", "CalleeValue")) {
    EXPECT_EQ(*slot, reinterpret_cast<ULONG_PTR>(realCalleeValue));
  }
}

}  // namespace
}  // namespace ks
