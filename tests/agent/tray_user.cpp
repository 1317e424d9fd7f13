#include "tests/agent/tray_user.h"

#include "common/unique_handle.h"
#include "tests/harness/child_process.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

constexpr wchar_t kTrayCallbackMessageName[] = L"{020A8F9B-DCDF-483f-8385-FB04571390D2}";
constexpr WPARAM kIconId = 1;

}  // namespace

bool SendTrayNotification(HWND agent, UINT mouseMessage) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(agent, RegisterWindowMessageW(kTrayCallbackMessageName), kIconId,
                             static_cast<LPARAM>(mouseMessage), SMTO_ABORTIFHUNG, 10000, &answer) != 0 &&
         answer == 1;
}

bool PostTrayNotification(HWND agent, UINT mouseMessage) {
  return PostMessageW(agent, RegisterWindowMessageW(kTrayCallbackMessageName), kIconId,
                      static_cast<LPARAM>(mouseMessage)) != 0;
}

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) { return WaitForWindowOf(processId, L"#32768", timeoutMs); }

std::vector<HWND> PopupMenusOf(DWORD processId) { return VisibleWindowsOf(processId, L"#32768"); }

void PressMenuKeys(HWND menu, const std::vector<WORD>& keys) {
  // The menu's loop takes key messages from its thread's queue, whatever
  // window they are addressed to.
  for (const WORD key : keys) {
    PostMessageW(menu, WM_KEYDOWN, key, 1);
    PostMessageW(menu, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  }
}

void PressKeysTogether(const std::vector<BYTE>& keys) {
  for (const BYTE key : keys) keybd_event(key, 0, 0, 0);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
}

std::vector<DWORD> CaptureWindow(HWND window, SIZE* size) {
  RECT rect = {};
  if (!GetWindowRect(window, &rect)) return {};
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  const ScopeExit releaseScreen([screen] { ReleaseDC(nullptr, screen); });
  HDC memory = CreateCompatibleDC(screen);
  const ScopeExit deleteMemory([memory] { DeleteDC(memory); });
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const UniqueGdiObject bitmap(CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  HGDIOBJ old = SelectObject(memory, bitmap.get());
  const ScopeExit deselect([memory, old] { SelectObject(memory, old); });
  if (!BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) return {};
  const DWORD* p = static_cast<const DWORD*>(bits);
  std::vector<DWORD> pixels(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
  for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
  if (size != nullptr) *size = SIZE{width, height};
  return pixels;
}

std::vector<HWND> MessageBoxesOf(DWORD processId) { return VisibleWindowsOf(processId, L"#32770"); }

}  // namespace ks::test
