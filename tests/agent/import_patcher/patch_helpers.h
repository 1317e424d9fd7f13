// The helper libraries of the patcher tests, their exports, and the
// replacements the tests register.
#pragma once

#include <windows.h>

#include <string>

#include "agent/import_patcher/import_patcher.h"
#include "common/unique_handle.h"

namespace ks::test {

// Full path of a helper library built beside the test program.
std::wstring HelperPath(const wchar_t* fileName);

constexpr const wchar_t* kCallerDll = L"ks_patch_caller.dll";
constexpr const wchar_t* kCalleeDll = L"ks_patch_callee.dll";
constexpr const wchar_t* kLoaderDll = L"ks_patch_loader.dll";

// Arguments no other code passes to MulDiv: the marked replacement answers
// them with kMulDivMarker and hands every other call to the system function,
// so the rest of the process keeps working while it is registered.
constexpr int kMagicNumber = 1000003;
constexpr int kMagicNumerator = 7;
constexpr int kMagicDenominator = 13;
constexpr int kMulDivMarker = 77;
int WINAPI MarkedMulDiv(int number, int numerator, int denominator);
// What the system answers for the magic arguments.
int RealMagicMulDiv();

// MulDiv with the magic arguments, called from this program's own module. It
// lives in a translation unit of its own: a caller in the same function as a
// registration could keep the table entry in a register across it.
int OwnMulDivMagic();

// Replaces the callee library's CalleeValue (which answers 1).
constexpr int kCalleeMarker = 101;
int MarkedCalleeValue();

// The caller library, loaded by this process's own (never redirected) import.
class CallerDll {
 public:
  CallerDll();
  explicit CallerDll(HMODULE loaded);  // takes over a handle loaded elsewhere
  bool Loaded() const { return static_cast<bool>(module_); }
  HMODULE Handle() const { return module_.get(); }
  int MulDivMagic() const;
  int MulDivMagicThroughThunk() const;
  int CalleeValue() const;

 private:
  UniqueModule module_;
};

// The loader library: stays loaded for the whole test program, from before
// the first registration, like any library of the agent's process.
struct LoaderDll {
  static const LoaderDll& Get();
  HMODULE module;
  HMODULE(__cdecl* loadLibraryA)(const char*);
  HMODULE(__cdecl* loadLibraryW)(const wchar_t*);
  HMODULE(__cdecl* loadLibraryExA)(const char*, DWORD);
  HMODULE(__cdecl* loadLibraryExW)(const wchar_t*, DWORD);
  FARPROC(__cdecl* getProcAddress)(HMODULE, const char*);
};

// A redirection for the length of a scope.
class ScopedImportHook {
 public:
  ScopedImportHook(const char* calleeModule, const char* functionName, FARPROC replacement, BOOL excludeOwnModule) {
    RegisterImportHook(&hook_, calleeModule, functionName, replacement, excludeOwnModule);
  }
  ~ScopedImportHook() { UnregisterImportHook(&hook_); }
  ScopedImportHook(const ScopedImportHook&) = delete;
  ScopedImportHook& operator=(const ScopedImportHook&) = delete;
  const ImportHook& Hook() const { return hook_; }

 private:
  ImportHook hook_;
};

// Whether a module with this file name is loaded in the process.
bool IsLoaded(const wchar_t* fileName);

}  // namespace ks::test
