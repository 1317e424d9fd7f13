// The library's entry point and its exports: install and remove the one
// system-wide message hook (or one installation whose hooks are set thread by
// thread), and the programs it leaves alone.
#include <windows.h>

#include "hook/excluded_programs.h"
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

bool StartTimeOf(HANDLE process, FILETIME& start) {
  FILETIME exited, kernel, user;
  return GetProcessTimes(process, &start, &exited, &kernel, &user) != FALSE;
}

// Whether the process recorded as the installer still runs. A process that
// exists but may not be opened counts as running: the installation stays.
bool InstallerRuns() {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, g_shared.installerProcessId);
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  FILETIME start = {};
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT && StartTimeOf(process, start) &&
                    start.dwLowDateTime == g_shared.installerStart.dwLowDateTime &&
                    start.dwHighDateTime == g_shared.installerStart.dwHighDateTime;
  CloseHandle(process);
  return runs;
}

bool Installed() { return g_shared.hookHandle != nullptr || g_shared.servesThreads != 0; }

void DropHooks() {
  if (g_shared.hookHandle != nullptr) UnhookWindowsHookEx(g_shared.hookHandle);
  g_shared.hookHandle = nullptr;
  g_shared.servesThreads = 0;
}

// The installer died without uninstalling: its hooks went with it, and the log
// it started has no lock holder any more, so both are dropped.
void ForgetDeadInstallation() {
  DropHooks();
  if (LogIsOn() && LogStop() == 0) LogAtomSlot() = 0;
}

// What both kinds of install do first: refuse while another live process's
// installation is in force, start the log, set the flags. False when refused.
bool BeginInstall(const wchar_t* logPath, DWORD flags) {
  if (Installed()) {
    if (InstallerRuns()) return false;
    ForgetDeadInstallation();
  }
  if (logPath != nullptr && !IsBadStringPtrW(logPath, static_cast<UINT_PTR>(-1))) {
    LogStart(logPath);
  }
  // The flags are in place before any copy of the procedure can run.
  g_shared.hookFlags = flags;
  return true;
}

void RecordInstaller() {
  FILETIME start = {};
  StartTimeOf(GetCurrentProcess(), start);
  g_shared.installerStart = start;
  g_shared.installerProcessId = GetCurrentProcessId();
}

int EndInstall(bool done) {
  if (done) RecordInstaller();
  LogWriteLine(done ? L"Success install TDX hook" : L"FAILURE  install TDX hook");
  return done ? 1 : 0;
}

}  // namespace
}  // namespace ks

extern "C" {

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ks::g_dllInstance = instance;
    // Every GUI program maps the library: its threads need not call in.
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

int WINAPI KS_TDXInstall(const wchar_t* logPath, DWORD flags) {
  using namespace ks;
  if (!BeginInstall(logPath, flags)) return 0;
  g_shared.hookHandle = SetWindowsHookExW(WH_GETMESSAGE, GetMsgProc, g_dllInstance, 0);
  return EndInstall(g_shared.hookHandle != nullptr);
}

// An installation without the system-wide hook: the caller then hooks the
// threads it chooses with KS_TDXHookThread and removes those hooks itself
// before KS_TDXUninstall.
int WINAPI KS_TDXInstallForThreads(const wchar_t* logPath, DWORD flags) {
  using namespace ks;
  if (!BeginInstall(logPath, flags)) return 0;
  g_shared.servesThreads = 1;
  return EndInstall(true);
}

// The hook on one thread of any process, for the process that made an
// installation for threads; null otherwise or when Windows refuses.
HHOOK WINAPI KS_TDXHookThread(DWORD threadId) {
  using namespace ks;
  if (g_shared.servesThreads == 0 || g_shared.installerProcessId != GetCurrentProcessId()) return nullptr;
  return SetWindowsHookExW(WH_GETMESSAGE, GetMsgProc, g_dllInstance, threadId);
}

int WINAPI KS_TDXUninstall() {
  using namespace ks;
  if (!Installed()) return 0;
  DropHooks();
  g_shared.installerProcessId = 0;
  BroadcastNullMessage();
  if (LogIsOn()) LogStop();
  return 1;
}

// Before an install, like its flags; an installation in force keeps its list.
int WINAPI KS_TDXLeaveAlone(const wchar_t* programs, DWORD leaveFullScreen) {
  using namespace ks;
  if (Installed() && InstallerRuns()) return 0;
  if (programs != nullptr && IsBadStringPtrW(programs, static_cast<UINT_PTR>(-1))) programs = nullptr;
  StoreLeftAlone(programs, leaveFullScreen);
  return 1;
}

}  // extern "C"
