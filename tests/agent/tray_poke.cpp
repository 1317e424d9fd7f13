// Opens the agent's tray menu as the shell would after a right click on the
// icon at the given screen point; used by the screenshot script.
// Usage: tray_poke X Y
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const int x = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  const int y = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
  HWND agent = FindWindowW(L"KestrowTrayAgent", nullptr);
  if (agent == nullptr) return 1;
  SetCursorPos(x, y);
  const UINT callback = RegisterWindowMessageW(L"{020A8F9B-DCDF-483f-8385-FB04571390D2}");
  return PostMessageW(agent, callback, 1, WM_RBUTTONUP) ? 0 : 1;
}
