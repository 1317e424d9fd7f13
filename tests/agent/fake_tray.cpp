// A stand-in for the shell's notification area: a hidden "Shell_TrayWnd"
// window that takes the icon records Shell_NotifyIconW sends it (as Wine's
// shell32 sends them: WM_COPYDATA with the record in a fixed layout, followed
// by the icon's bitmap bits) and appends one line per record to a report.
//
// Arguments: report=<path> [refuse=<n>] (answer the first n adds with failure,
// as a shell that is not ready yet does).
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <set>
#include <string>
#include <utility>

namespace {

struct NotifyData {  // the layout Wine's shell32 sends
  LONG hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  WCHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  WCHAR szInfo[256];
  UINT uTimeout;
  WCHAR szInfoTitle[64];
  DWORD dwInfoFlags;
  GUID guidItem;
  UINT width;
  UINT height;
  UINT planes;
  UINT bpp;
};

std::wstring reportPath;
int refuseAdds = 0;
std::set<std::pair<LONG, UINT>> icons;

// Texts on one line: line feeds become "\n", tabs "\t".
std::wstring Escaped(const WCHAR* text, size_t capacity) {
  std::wstring out;
  for (size_t i = 0; i < capacity && text[i] != 0; ++i) {
    if (text[i] == L'\n') {
      out += L"\\n";
    } else if (text[i] == L'\t') {
      out += L"\\t";
    } else {
      out += text[i];
    }
  }
  return out;
}

void Append(const std::wstring& line) {
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
  HANDLE file = CreateFileW(reportPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// FNV-1a over the icon's bits: equal images give equal numbers.
unsigned long long Hash(const BYTE* bytes, size_t size) {
  unsigned long long h = 1469598103934665603ull;
  for (size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
  return h;
}

BOOL TakeRecord(DWORD operation, const COPYDATASTRUCT& copy) {
  if (copy.cbData < sizeof(NotifyData)) return FALSE;
  const auto* data = static_cast<const NotifyData*>(copy.lpData);
  const std::pair<LONG, UINT> key(data->hWnd, data->uID);
  BOOL ok = FALSE;
  switch (operation) {
    case NIM_ADD:
      if (refuseAdds > 0) {
        --refuseAdds;
      } else {
        ok = icons.insert(key).second;
      }
      break;
    case NIM_MODIFY: ok = icons.count(key) != 0; break;
    case NIM_DELETE: ok = icons.erase(key) != 0; break;
    default: break;
  }
  const bool hasIcon = (data->uFlags & NIF_ICON) != 0 && copy.cbData > sizeof(NotifyData);
  const unsigned long long iconHash =
      hasIcon ? Hash(static_cast<const BYTE*>(copy.lpData) + sizeof(NotifyData), copy.cbData - sizeof(NotifyData)) : 0;
  wchar_t head[256];
  swprintf(head, 256, L"%lu %d %ld %u 0x%x 0x%x 0x%x %ux%u %016llx", operation, ok ? 1 : 0,
           static_cast<long>(data->hWnd), data->uID, data->uFlags, data->uCallbackMessage, data->dwInfoFlags,
           hasIcon ? data->width : 0u, hasIcon ? data->height : 0u, iconHash);
  Append(std::wstring(head) + L"\t" + Escaped(data->szTip, 128) + L"\t" + Escaped(data->szInfo, 256) + L"\t" +
         Escaped(data->szInfoTitle, 64) + L"\r\n");
  return ok;
}

LRESULT CALLBACK TrayProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    return TakeRecord(static_cast<DWORD>(copy->dwData), *copy);
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg.rfind(L"report=", 0) == 0) reportPath = arg.substr(7);
    if (arg.rfind(L"refuse=", 0) == 0) refuseAdds = _wtoi(arg.c_str() + 7);
  }
  LocalFree(argv);
  if (reportPath.empty()) return 2;

  WNDCLASSW wc = {};
  wc.lpfnWndProc = TrayProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"Shell_TrayWnd";
  if (RegisterClassW(&wc) == 0) return 3;
  // Topmost, so a search for the taskbar finds this window before the real
  // shell's.
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return 4;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
