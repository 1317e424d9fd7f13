#include "tests/agent/import_patcher/patch_helpers.h"

#include "agent/import_patcher/import_patcher.h"
#include "tests/harness/test_files.h"

namespace ks::test {

namespace {

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using MulDivFn = int(WINAPI*)(int, int, int);
using MulDivCaller = int (*)(int, int, int);
using IntFn = int (*)();

MulDivFn SystemMulDiv() {
  static const auto real =
      reinterpret_cast<MulDivFn>(reinterpret_cast<void*>(ResolveSystemFunction("Kernel32.dll", "MulDiv")));
  return real;
}

}  // namespace

std::wstring HelperPath(const wchar_t* fileName) { return BinDir() + fileName; }

int WINAPI MarkedMulDiv(int number, int numerator, int denominator) {
  if (number == kMagicNumber && numerator == kMagicNumerator && denominator == kMagicDenominator) {
    return kMulDivMarker;
  }
  return SystemMulDiv()(number, numerator, denominator);
}

int RealMagicMulDiv() { return SystemMulDiv()(kMagicNumber, kMagicNumerator, kMagicDenominator); }

int OwnMulDivMagic() { return MulDiv(kMagicNumber, kMagicNumerator, kMagicDenominator); }

int MarkedCalleeValue() { return kCalleeMarker; }

CallerDll::CallerDll() : module_(LoadLibraryW(HelperPath(kCallerDll).c_str())) {}

CallerDll::CallerDll(HMODULE loaded) : module_(loaded) {}

int CallerDll::MulDivMagic() const {
  return Export<MulDivCaller>(module_.get(), "CallMulDiv")(kMagicNumber, kMagicNumerator, kMagicDenominator);
}

int CallerDll::MulDivMagicThroughThunk() const {
  return Export<MulDivCaller>(module_.get(), "CallMulDivThroughThunk")(kMagicNumber, kMagicNumerator,
                                                                       kMagicDenominator);
}

int CallerDll::CalleeValue() const { return Export<IntFn>(module_.get(), "CallCalleeValue")(); }

const LoaderDll& LoaderDll::Get() {
  static const LoaderDll loader = [] {
    LoaderDll dll{};
    // Never freed: the process keeps it to the end, as the agent keeps its libraries.
    dll.module = LoadLibraryW(HelperPath(kLoaderDll).c_str());
    dll.loadLibraryA = Export<decltype(dll.loadLibraryA)>(dll.module, "LoaderLoadLibraryA");
    dll.loadLibraryW = Export<decltype(dll.loadLibraryW)>(dll.module, "LoaderLoadLibraryW");
    dll.loadLibraryExA = Export<decltype(dll.loadLibraryExA)>(dll.module, "LoaderLoadLibraryExA");
    dll.loadLibraryExW = Export<decltype(dll.loadLibraryExW)>(dll.module, "LoaderLoadLibraryExW");
    dll.getProcAddress = Export<decltype(dll.getProcAddress)>(dll.module, "LoaderGetProcAddress");
    return dll;
  }();
  return loader;
}

bool IsLoaded(const wchar_t* fileName) { return GetModuleHandleW(fileName) != nullptr; }

}  // namespace ks::test
