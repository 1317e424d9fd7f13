// A stand-in for the settings program, copied beside an agent as
// "KsConfig.exe". It keeps a journal, "fake_config.txt" beside itself, that
// the tests read: "start <pid>" when it starts, "probe <thread id>" each time
// it answers the configuration probe (after trying to come to the front, as
// the settings window does), and "end" when it is closed. It shows a
// top-level window of class "KestrowFakeConfig" and ends when that window is
// closed.
#include <windows.h>

#include <string>

namespace {

std::wstring journalPath;
UINT probeMessage = 0;

void Journal(const std::string& line) {
  HANDLE file = CreateFileW(journalPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == probeMessage && probeMessage != 0) {
    SetForegroundWindow(window);
    Journal("probe " + std::to_string(static_cast<unsigned long>(lParam)));
    return 1;
  }
  switch (message) {
    case WM_CLOSE:
      Journal("end");
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  journalPath = self;
  journalPath.erase(journalPath.find_last_of(L'\\') + 1);
  journalPath += L"fake_config.txt";
  probeMessage = RegisterWindowMessageW(L"{35A60373-25E2-4504-9C0F-67C9A5C1A10A}");

  WNDCLASSW wc = {};
  wc.lpfnWndProc = WindowProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"KestrowFakeConfig";
  if (RegisterClassW(&wc) == 0) return 3;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Kestrow fake settings", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 4;
  // Journaled once the window can answer the probe.
  Journal("start " + std::to_string(GetCurrentProcessId()));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
