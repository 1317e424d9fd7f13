#include "tests/harness/window_search.h"

#include "tests/harness/child_process.h"

namespace ks::test {
namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (pid == search->processId && lstrcmpW(className, search->className) == 0 && IsWindowVisible(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (HWND w = FindWindowW(className, title)) return w;
    if (GetTickCount64() >= end) return nullptr;
    PumpMessagesFor(20);
  }
}

std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindowOf(DWORD processId, const wchar_t* className, DWORD timeoutMs,
                     const std::function<bool(HWND)>& accept) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    for (HWND window : VisibleWindowsOf(processId, className)) {
      if (!accept || accept(window)) return window;
    }
    if (GetTickCount64() >= end) return nullptr;
    PumpMessagesFor(20);
  }
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) { return WaitForWindowOf(processId, L"#32770", timeoutMs); }

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring MessageBoxText(HWND box) {
  // The message of a message box is its static control with id 0xFFFF.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text != nullptr ? WindowText(text) : std::wstring();
}

bool AnswerMessageBox(HWND box, int buttonId) {
  HWND button = GetDlgItem(box, buttonId);
  if (button == nullptr) return false;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

}  // namespace ks::test
