// The library's entry point and its two exports: install and remove the one
// system-wide message hook.
#include <windows.h>

#include "hook/shared_state.h"
#include "hook/wheel_hook.h"
#include "log/log_writer.h"

namespace ks {
namespace {

// Lets every process drop the library soon after the hook is gone. Looked up
// at run time because the broadcast is optional on older systems.
LONG BroadcastNullMessage() {
  HMODULE user32 = LoadLibraryW(L"user32.dll");
  if (user32 == nullptr) return -1;
  using BroadcastFn = LONG(WINAPI*)(DWORD, LPDWORD, UINT, WPARAM, LPARAM);
  auto broadcast =
      reinterpret_cast<BroadcastFn>(reinterpret_cast<void*>(GetProcAddress(user32, "BroadcastSystemMessage")));
  LONG result = -1;
  if (broadcast != nullptr) {
    DWORD recipients = BSM_ALLCOMPONENTS;
    result = broadcast(BSF_POSTMESSAGE | BSF_ALLOWSFW, &recipients, WM_NULL, 0, 0);
  }
  FreeLibrary(user32);
  return result;
}

}  // namespace
}  // namespace ks

extern "C" {

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) ks::g_dllInstance = instance;
  return TRUE;
}

int WINAPI KS_TDXInstall(const wchar_t* logPath, DWORD flags) {
  using namespace ks;
  if (g_shared.hookHandle != nullptr) return 0;
  if (logPath != nullptr && !IsBadStringPtrW(logPath, static_cast<UINT_PTR>(-1))) {
    LogStart(logPath);
  }
  // The flags are in place before any copy of the procedure can run.
  g_shared.hookFlags = flags;
  g_shared.hookHandle = SetWindowsHookExW(WH_GETMESSAGE, GetMsgProc, g_dllInstance, 0);
  LogWriteLine(g_shared.hookHandle != nullptr ? L"Success install TDX hook"
                                              : L"FAILURE  install TDX hook");
  return g_shared.hookHandle != nullptr ? 1 : 0;
}

int WINAPI KS_TDXUninstall() {
  using namespace ks;
  if (g_shared.hookHandle == nullptr) return 0;
  UnhookWindowsHookEx(g_shared.hookHandle);
  g_shared.hookHandle = nullptr;
  BroadcastNullMessage();
  if (LogIsOn()) LogStop();
  return 1;
}

}  // extern "C"
