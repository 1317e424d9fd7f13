// The five permanent redirections of the library-loading and lookup functions
// of "Kernel32.dll": every module loaded later through them, and every address
// looked up through them, is subject to the redirections that exist then.
#pragma once

#include <windows.h>

namespace ks {

// Registers, in this order, LoadLibraryA, LoadLibraryW, LoadLibraryExA,
// LoadLibraryExW and GetProcAddress, each sparing the module that holds this
// code, and schedules for each an exit-time action that unregisters it, so at
// exit they go in reverse order. Records already registered stay as they are.
void RegisterPermanentImportHooks();

// Runs the pending exit-time actions now, GetProcAddress first; at exit they
// then find nothing to do.
void UnregisterPermanentImportHooks();

// The replacements; each has the parameters and result of the function it
// replaces, calls the system function through this module's own import and
// applies the listed records to the module it returns.
HMODULE WINAPI HookedLoadLibraryA(LPCSTR fileName);
HMODULE WINAPI HookedLoadLibraryW(LPCWSTR fileName);
HMODULE WINAPI HookedLoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags);
HMODULE WINAPI HookedLoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags);

// A lookup answers with the replacement of a redirected function, with the
// real address of any other and with null (and the system's error) when the
// system finds nothing.
FARPROC WINAPI HookedGetProcAddress(HMODULE module, LPCSTR name);

}  // namespace ks
