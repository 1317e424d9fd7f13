// A library of the process that loads its own menus and strings through its
// own imports of LoadMenuW, LoadStringW and GetProcAddress, as every module
// of the agent's process does.
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE OwnInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace

extern "C" __declspec(dllexport) HMENU TextsLoadMenu(UINT id) { return LoadMenuW(OwnInstance(), MAKEINTRESOURCEW(id)); }

extern "C" __declspec(dllexport) int TextsLoadString(UINT id, wchar_t* buffer, int bufferSize) {
  return LoadStringW(OwnInstance(), id, buffer, bufferSize);
}

extern "C" __declspec(dllexport) FARPROC TextsGetProcAddress(HMODULE module, const char* name) {
  return GetProcAddress(module, name);
}
