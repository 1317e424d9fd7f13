// Opens the agent's tray menu as the shell would after a right click on the
// icon at the given screen point, and optionally moves the selection up by
// some items, as the arrow key does; used by the screenshot script.
// Usage: tray_poke X Y [UP-COUNT]
#include <windows.h>

#include <cwchar>

namespace {

HWND WaitForMenuWindow(DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu != nullptr && IsWindowVisible(menu)) return menu;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(50);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const int x = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  const int y = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
  const int ups = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 0;
  HWND agent = FindWindowW(L"KestrowTrayAgent", nullptr);
  if (agent == nullptr) return 1;
  SetCursorPos(x, y);
  const UINT callback = RegisterWindowMessageW(L"{020A8F9B-DCDF-483f-8385-FB04571390D2}");
  if (!PostMessageW(agent, callback, 1, WM_RBUTTONUP)) return 1;
  if (ups == 0) return 0;
  HWND menu = WaitForMenuWindow(5000);
  if (menu == nullptr) return 1;
  Sleep(300);
  for (int i = 0; i < ups; ++i) {
    PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(menu, WM_KEYUP, VK_UP, static_cast<LPARAM>(0xC0000001u));
    Sleep(150);
  }
  return 0;
}
