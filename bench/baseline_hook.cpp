// The least any message hook can cost: a WH_GETMESSAGE procedure that only
// passes the message on. The hook benchmark compares TDX against it.
#include <windows.h>

namespace {

HINSTANCE g_instance;
__attribute__((section("Shared"), shared)) HHOOK g_hook = nullptr;

LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) { return CallNextHookEx(g_hook, code, wParam, lParam); }

}  // namespace

extern "C" {

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

int WINAPI BaselineInstall() {
  if (g_hook != nullptr) return 0;
  g_hook = SetWindowsHookExW(WH_GETMESSAGE, PassOn, g_instance, 0);
  return g_hook != nullptr ? 1 : 0;
}

int WINAPI BaselineUninstall() {
  if (g_hook == nullptr) return 0;
  UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  return 1;
}

}  // extern "C"
