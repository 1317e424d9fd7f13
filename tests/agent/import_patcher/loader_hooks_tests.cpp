// The permanent redirections of the library-loading and lookup functions,
// seen from another module of the process (the loader library).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "agent/import_patcher/import_loader_hooks.h"
#include "agent/import_patcher/import_patcher.h"
#include "tests/agent/import_patcher/import_slot_reader.h"
#include "tests/agent/import_patcher/patch_helpers.h"
#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

using test::CallerDll;
using test::LoaderDll;
using test::ScopedImportHook;

const FARPROC kMarkedMulDiv = AsFarProc(&test::MarkedMulDiv);

class LoaderHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(loader.module, nullptr);
    ASSERT_FALSE(test::IsLoaded(test::kCallerDll)) << "an earlier test left the caller loaded";
    RegisterPermanentImportHooks();
  }
  void TearDown() override { UnregisterPermanentImportHooks(); }

  const LoaderDll& loader = LoaderDll::Get();
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const std::wstring callerPath = test::HelperPath(test::kCallerDll);
};

TEST_F(LoaderHooks, EveryLoadingFunction_RedirectsTheModuleItLoads) {
  ScopedImportHook mulDiv("Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);
  const std::string narrowPath = test::Narrow(callerPath);
  const std::vector<std::pair<const char*, std::function<HMODULE()>>> loads = {
      {"LoadLibraryA", [&] { return loader.loadLibraryA(narrowPath.c_str()); }},
      {"LoadLibraryW", [&] { return loader.loadLibraryW(callerPath.c_str()); }},
      {"LoadLibraryExA", [&] { return loader.loadLibraryExA(narrowPath.c_str(), 0); }},
      {"LoadLibraryExW", [&] { return loader.loadLibraryExW(callerPath.c_str(), 0); }},
  };
  for (const auto& [function, load] : loads) {
    SCOPED_TRACE(function);
    ASSERT_FALSE(test::IsLoaded(test::kCallerDll));
    const CallerDll caller(load());
    ASSERT_TRUE(caller.Loaded());
    EXPECT_EQ(caller.MulDivMagic(), test::kMulDivMarker);
    EXPECT_EQ(caller.MulDivMagicThroughThunk(), test::kMulDivMarker);
  }
}

// Loading a library that is already loaded as a data file or resource hands
// back the loaded module; that is no new module, and its tables stay.
TEST_F(LoaderHooks, ModuleLoadedAsDataOrResource_KeepsItsImports) {
  ScopedImportHook mulDiv("Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);
  const CallerDll caller;  // this program's own load is never redirected
  ASSERT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
  for (const DWORD flags :
       {static_cast<DWORD>(LOAD_LIBRARY_AS_DATAFILE), static_cast<DWORD>(LOAD_LIBRARY_AS_IMAGE_RESOURCE)}) {
    SCOPED_TRACE(flags);
    const UniqueModule again(loader.loadLibraryExW(callerPath.c_str(), flags));
    ASSERT_EQ(again.get(), caller.Handle());
    EXPECT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
  }
}

TEST_F(LoaderHooks, LookupFromAnotherModule_AnswersReplacementRealAddressOrNull) {
  ScopedImportHook mulDiv("Kernel32.dll", "MulDiv", kMarkedMulDiv, TRUE);

  EXPECT_EQ(loader.getProcAddress(kernel, "MulDiv"), kMarkedMulDiv);
  EXPECT_EQ(loader.getProcAddress(kernel, "LoadLibraryW"), AsFarProc(&HookedLoadLibraryW));
  EXPECT_EQ(loader.getProcAddress(kernel, "GetProcAddress"), AsFarProc(&HookedGetProcAddress));
  EXPECT_EQ(loader.getProcAddress(kernel, "GetTickCount"), GetProcAddress(kernel, "GetTickCount"));

  SetLastError(0);
  EXPECT_EQ(loader.getProcAddress(kernel, "NoSuchFunctionAnywhere"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST_F(LoaderHooks, LookupByOrdinal_AnswersTheReplacementToo) {
  const CallerDll caller;
  const HMODULE callee = GetModuleHandleW(test::kCalleeDll);
  ASSERT_NE(callee, nullptr);
  ScopedImportHook value("ks_patch_callee.dll", "CalleeValue", AsFarProc(&test::MarkedCalleeValue), TRUE);

  EXPECT_EQ(loader.getProcAddress(callee, MAKEINTRESOURCEA(1)), AsFarProc(&test::MarkedCalleeValue));
  EXPECT_EQ(loader.getProcAddress(callee, MAKEINTRESOURCEA(2)), GetProcAddress(callee, "CalleeOther"));
}

TEST_F(LoaderHooks, OwnModule_KeepsTheRealLoadingAndLookupFunctions) {
  const HMODULE own = GetModuleHandleW(nullptr);
  ASSERT_EQ(ImportPatcherModule(), own);
  // A library that loads the program itself gets back the own module.
  wchar_t ownPath[MAX_PATH * 4] = {};
  ASSERT_NE(GetModuleFileNameW(nullptr, ownPath, MAX_PATH * 4), 0u);
  const UniqueModule self(loader.loadLibraryW(ownPath));
  ASSERT_EQ(self.get(), own);

  for (const char* function : {"LoadLibraryW", "GetProcAddress"}) {
    SCOPED_TRACE(function);
    const FARPROC real = ResolveSystemFunction("Kernel32.dll", function);
    const auto ownSlots = test::ImportSlots(own, "Kernel32.dll", function);
    ASSERT_FALSE(ownSlots.empty());
    for (const ULONG_PTR* slot : ownSlots) EXPECT_EQ(*slot, reinterpret_cast<ULONG_PTR>(real));
    const auto loaderSlots = test::ImportSlots(loader.module, "Kernel32.dll", function);
    ASSERT_FALSE(loaderSlots.empty());
    for (const ULONG_PTR* slot : loaderSlots) EXPECT_NE(*slot, reinterpret_cast<ULONG_PTR>(real));
  }
}

TEST_F(LoaderHooks, MissingLibrary_GivesNullAndTheSystemError) {
  const test::TempDir dir;
  SetLastError(0);
  EXPECT_EQ(loader.loadLibraryW(dir.File(L"missing.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(LoaderHooks, AddressHandedOutEarlier_KeepsWorkingAfterUnregistration) {
  const auto load = reinterpret_cast<HMODULE(WINAPI*)(LPCWSTR)>(
      reinterpret_cast<void*>(loader.getProcAddress(kernel, "LoadLibraryW")));
  ASSERT_EQ(AsFarProc(load), AsFarProc(&HookedLoadLibraryW));

  UnregisterPermanentImportHooks();

  const CallerDll caller(load(callerPath.c_str()));
  EXPECT_TRUE(caller.Loaded());
  EXPECT_EQ(caller.MulDivMagic(), test::RealMagicMulDiv());
}

TEST(PermanentImportHooks, AreUndoneAtExitAfterLaterExitActions) {
  test::ChildProcess probe;
  ASSERT_TRUE(probe.Start(test::BinDir() + L"patch_exit_probe.exe", L""));
  ASSERT_TRUE(probe.WaitForExit(60000));
  EXPECT_EQ(probe.ExitCode(), 7u) << "3: not redirected, 4: not restored at exit";
}

}  // namespace
}  // namespace ks
