// The library's entry point and its exports: install and remove the one
// system-wide message hook (or one installation whose hooks are set thread by
// thread), the programs it leaves alone and the per-program wheel rules.
#include <windows.h>

#include "hook/excluded_programs.h"
#include "hook/program_rules.h"
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

bool Installed(const SessionSlot& slot) { return slot.hookHandle != nullptr || slot.servesThreads != 0; }

// An installation of this session holds while its installer provably runs.
// One whose installer cannot be opened (another user's, started in this
// session) is not known to run, so it does not shut this session out.
bool InForce(const SessionSlot& slot) {
  return Installed(slot) && FateOf(slot.installerProcessId, slot.installerStart) == ProcessFate::Running;
}

bool MadeHere(const SessionSlot& slot) {
  const FILETIME start = OwnStartTime();
  return slot.installerProcessId == GetCurrentProcessId() && slot.installerStart.dwLowDateTime == start.dwLowDateTime &&
         slot.installerStart.dwHighDateTime == start.dwHighDateTime;
}

void DropHooks(SessionSlot& slot) {
  if (slot.hookHandle != nullptr) UnhookWindowsHookEx(slot.hookHandle);
  slot.hookHandle = nullptr;
  slot.servesThreads = 0;
}

// The installer died without uninstalling: its hooks went with it, and the log
// it started has no lock holder any more, so both are dropped.
void ForgetDeadInstallation(SessionSlot& slot) {
  DropHooks(slot);
  if (LogIsOn() && LogStop() == 0) LogAtomSlot() = 0;
}

// What both kinds of install do first: take this session's slot, refuse while
// another live process's installation is in force there (or every slot is
// another running session's), start the log, set the flags. Null when refused.
SessionSlot* BeginInstall(const wchar_t* logPath, DWORD flags) {
  SessionSlot* slot = ClaimSessionSlot();
  if (slot == nullptr || InForce(*slot)) return nullptr;
  if (Installed(*slot)) ForgetDeadInstallation(*slot);
  HoldSlot(*slot);
  if (logPath != nullptr && !IsBadStringPtrW(logPath, static_cast<UINT_PTR>(-1))) {
    LogStart(logPath);
  }
  // The flags are in place before any copy of the procedure can run.
  slot->hookFlags = flags;
  return slot;
}

int EndInstall(SessionSlot& slot, bool done) {
  if (done) {
    slot.installerStart = OwnStartTime();
    slot.installerProcessId = GetCurrentProcessId();
  }
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
  SessionSlot* slot = BeginInstall(logPath, flags);
  if (slot == nullptr) return 0;
  slot->hookHandle = SetWindowsHookExW(WH_GETMESSAGE, GetMsgProc, g_dllInstance, 0);
  return EndInstall(*slot, slot->hookHandle != nullptr);
}

// An installation without the system-wide hook: the caller then hooks the
// threads it chooses with KS_TDXHookThread and removes those hooks itself
// before KS_TDXUninstall.
int WINAPI KS_TDXInstallForThreads(const wchar_t* logPath, DWORD flags) {
  using namespace ks;
  SessionSlot* slot = BeginInstall(logPath, flags);
  if (slot == nullptr) return 0;
  slot->servesThreads = 1;
  return EndInstall(*slot, true);
}

// The hook on one thread of any process, for the process that made an
// installation for threads; null otherwise or when Windows refuses.
HHOOK WINAPI KS_TDXHookThread(DWORD threadId) {
  using namespace ks;
  const SessionSlot* slot = OwnSessionSlot();
  if (slot == nullptr || slot->servesThreads == 0 || !MadeHere(*slot)) return nullptr;
  return SetWindowsHookExW(WH_GETMESSAGE, GetMsgProc, g_dllInstance, threadId);
}

// Only the process that made the installation removes it: one that took over
// from an installer it could not open must not be undone by that installer.
int WINAPI KS_TDXUninstall() {
  using namespace ks;
  SessionSlot* slot = OwnSessionSlot();
  if (slot == nullptr || !Installed(*slot) || !MadeHere(*slot)) return 0;
  DropHooks(*slot);
  slot->installerProcessId = 0;
  BroadcastNullMessage();
  if (LogIsOn()) LogStop();
  return 1;
}

// Before an install, like its flags; an installation in force keeps its list.
int WINAPI KS_TDXLeaveAlone(const wchar_t* programs, DWORD leaveFullScreen) {
  using namespace ks;
  SessionSlot* slot = ClaimSessionSlot();
  if (slot == nullptr || InForce(*slot)) return 0;
  HoldSlot(*slot);
  if (programs != nullptr && IsBadStringPtrW(programs, static_cast<UINT_PTR>(-1))) programs = nullptr;
  StoreLeftAlone(*slot, programs, leaveFullScreen);
  return 1;
}

// Before an install as well; an installation in force keeps its rules.
int WINAPI KS_TDXProgramRules(const wchar_t* rules) {
  using namespace ks;
  SessionSlot* slot = ClaimSessionSlot();
  if (slot == nullptr || InForce(*slot)) return 0;
  HoldSlot(*slot);
  if (rules != nullptr && IsBadStringPtrW(rules, static_cast<UINT_PTR>(-1))) rules = nullptr;
  StoreProgramRules(*slot, rules);
  return 1;
}

}  // extern "C"
