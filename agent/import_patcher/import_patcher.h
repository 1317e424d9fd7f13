// Redirection of chosen exported functions of system libraries inside this
// process: the import address tables of the loaded modules are rewritten so
// their calls reach a replacement, and written back on unregistration.
#pragma once

#include <windows.h>

namespace ks {

// One redirection. The record does not own the two names (string constants);
// it lives from its registration to its unregistration, as a static object
// or inside the object that owns the redirection.
struct ImportHook {
  ImportHook* next = nullptr;
  const char* calleeModule = nullptr;  // "Kernel32.dll"; letter case does not count
  const char* functionName = nullptr;
  FARPROC realAddress = nullptr;  // the system function, resolved at registration
  FARPROC replacement = nullptr;  // same parameters, result and calling convention
  BOOL excludeOwnModule = FALSE;  // nonzero: the module holding this code keeps its imports
};

// Any function as the code address the records hold.
template <typename F>
FARPROC AsFarProc(F* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

// Fills the record, puts it at the head of the hook list and redirects the
// function in every loaded module (less the own module when asked). A record
// already in the list, or a null record, name or replacement, changes
// nothing. A function that cannot be resolved is listed but redirects nothing.
void RegisterImportHook(ImportHook* hook, const char* calleeModule, const char* functionName, FARPROC replacement,
                        BOOL excludeOwnModule);

// Writes the real address back into every slot of every module that holds the
// replacement, then takes the record out of the list. A record that is not
// listed changes nothing. Once this returns, no thread of the patcher still
// reads the record, so its owner may destroy it.
void UnregisterImportHook(ImportHook* hook);

// In every loaded module, less the own module when asked, rewrites each slot
// that leads to `current` so it leads to `replacement`; the number of slots
// rewritten.
int ReplaceImportInAllModules(const char* calleeModule, FARPROC current, FARPROC replacement, BOOL excludeOwnModule);

// The same for one module; the number of slots rewritten.
int ReplaceImportInModule(const char* calleeModule, FARPROC current, FARPROC replacement, HMODULE module);

// Applies every listed record to a module just loaded with `loadFlags`. A
// null handle and modules mapped as data or resources (by flag or by a tagged
// handle) are left alone, and so is the own module for records that exclude it.
void PatchNewModule(HMODULE module, DWORD loadFlags);

// The system GetProcAddress, called through this module's own import, which the
// library-loading redirections never rewrite.
FARPROC RealGetProcAddress(HMODULE module, const char* name);

// The system function itself, found without any record: null when the
// library is not loaded or lacks the function. A replacement that may be
// reached after its record is gone falls back to this.
FARPROC ResolveSystemFunction(const char* calleeModule, const char* functionName);

// The replacement of the newest record whose real address is `address`;
// `address` itself when no record redirects it.
FARPROC ImportReplacementFor(FARPROC address);

// The module that holds the patcher's code.
HMODULE ImportPatcherModule();

}  // namespace ks
