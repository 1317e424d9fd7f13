// Loads libraries and looks up addresses through its own import tables, as
// any library of the agent's process does.
#include <windows.h>

extern "C" __declspec(dllexport) HMODULE LoaderLoadLibraryA(const char* name) { return LoadLibraryA(name); }

extern "C" __declspec(dllexport) HMODULE LoaderLoadLibraryW(const wchar_t* name) { return LoadLibraryW(name); }

extern "C" __declspec(dllexport) HMODULE LoaderLoadLibraryExA(const char* name, DWORD flags) {
  return LoadLibraryExA(name, nullptr, flags);
}

extern "C" __declspec(dllexport) HMODULE LoaderLoadLibraryExW(const wchar_t* name, DWORD flags) {
  return LoadLibraryExW(name, nullptr, flags);
}

extern "C" __declspec(dllexport) FARPROC LoaderGetProcAddress(HMODULE module, const char* name) {
  return GetProcAddress(module, name);
}
