// Shows a page the way the settings program does, for screenshots and for
// looking at pages by hand:
//   page_viewer <page.html> [localisation sheet]
// Sheets and images are read from the page's directory; a localisation
// sheet takes the place of the page's localisation import. The window is
// fitted to the page's minimum size at the screen's corner, and the time
// from load to document complete is printed.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "common/unique_handle.h"
#include "render/htmlayout_api.h"

namespace {

std::wstring g_dir;    // the page's directory with a trailing separator
std::wstring g_sheet;  // the localisation sheet's path, or empty
LARGE_INTEGER g_start;

std::string ReadWholeFile(const std::wstring& path) {
  ks::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > (64u << 20)) return {};
  std::string bytes(size, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size) return {};
  return bytes;
}

std::wstring FileName(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"/\\");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void FitToPage(HWND hwnd) {
  const UINT width = HTMLayoutGetMinWidth(hwnd) + 40;
  const UINT height = HTMLayoutGetMinHeight(hwnd, width);
  RECT r{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  AdjustWindowRect(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE);
  SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_SHOWWINDOW);
  POINT corner{0, 0};
  ClientToScreen(hwnd, &corner);
  std::printf("client %u x %u at %ld,%ld\n", width, height, corner.x, corner.y);
}

UINT CALLBACK OnNotify(HLNotifyHeader* header, void*) {
  if (header->code == HLN_LOAD_DATA) {
    const auto* note = reinterpret_cast<HLLoadDataNotify*>(header);
    const std::wstring uri = note->uri;
    const std::wstring path = !g_sheet.empty() && uri == FileName(g_sheet) ? g_sheet : g_dir + uri;
    const std::string bytes = uri.find(L'?') == std::wstring::npos ? ReadWholeFile(path) : std::string();
    HTMLayoutDataReady(header->window, note->uri, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<UINT>(bytes.size()));
  } else if (header->code == HLN_DOCUMENT_COMPLETE) {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    std::printf("load to document complete: %.2f ms\n",
                1000.0 * static_cast<double>(now.QuadPart - g_start.QuadPart) / static_cast<double>(freq.QuadPart));
    FitToPage(header->window);
  }
  std::fflush(stdout);
  return 0;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  BOOL handled = FALSE;
  const LRESULT result = HTMLayoutProcND(hwnd, msg, wp, lp, &handled);
  if (handled) return result;
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) {
    std::fprintf(stderr, "usage: page_viewer <page.html> [localisation sheet]\n");
    return 2;
  }
  const std::wstring page = argv[1];
  g_dir = page.substr(0, page.find_last_of(L"/\\") + 1);
  if (argc > 2) g_sheet = argv[2];
  LocalFree(argv);

  std::string html = ReadWholeFile(page);
  if (html.empty()) {
    std::fprintf(stderr, "cannot read the page\n");
    return 1;
  }
  if (!g_sheet.empty()) {
    // The rewrite the settings program makes for a language prefix.
    const std::string placeholder = "?LOCALIZE_CSS_URL?";
    const std::wstring name = FileName(g_sheet);
    const std::size_t at = html.find(placeholder);
    if (at != std::string::npos) html.replace(at, placeholder.size(), std::string(name.begin(), name.end()));
  }

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"KestrowPageViewer";
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Kestrow Config", WS_OVERLAPPEDWINDOW, 0, 0, 1400, 1000, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  HTMLayoutSetCallback(hwnd, OnNotify, nullptr);
  QueryPerformanceCounter(&g_start);
  HTMLayoutLoadHtml(hwnd, reinterpret_cast<const BYTE*>(html.data()), static_cast<UINT>(html.size()));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
