#include "agent/tooltips/menu_tooltip_hook.h"

#include "common/unique_handle.h"

namespace ks {
namespace {

UniqueHook menuHook;
HWND hookOwner = nullptr;

bool IsMenuMessage(const CWPSTRUCT& record) {
  return record.message == WM_MENUSELECT || (record.message == WM_ENTERIDLE && record.wParam == MSGF_MENU);
}

bool IsDescendantOfOwner(HWND window) {
  for (HWND ancestor = GetParent(window); ancestor != nullptr; ancestor = GetParent(ancestor)) {
    if (ancestor == hookOwner) return true;
  }
  return false;
}

LRESULT CALLBACK MenuMessageHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
  const CWPSTRUCT record = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (!IsMenuMessage(record) || record.hwnd == hookOwner || record.hwnd == nullptr ||
      !IsDescendantOfOwner(record.hwnd)) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  const LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
  SendMessageW(hookOwner, record.message, record.wParam, record.lParam);
  return result;
}

}  // namespace

bool InstallMenuHook(HWND owner) {
  if (menuHook) return false;
  hookOwner = owner;
  menuHook.reset(SetWindowsHookExW(WH_CALLWNDPROC, MenuMessageHook, nullptr, GetCurrentThreadId()));
  return static_cast<bool>(menuHook);
}

}  // namespace ks
