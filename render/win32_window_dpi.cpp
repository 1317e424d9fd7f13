#include "render/win32_window_dpi.h"

namespace ks::render {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: older systems lack the function. user32 stays loaded for
// the life of any process with windows, so the address stays good.
GetDpiForWindowFn FindGetDpiForWindow() {
  static const GetDpiForWindowFn fn = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
               : nullptr;
  }();
  return fn;
}

UINT SystemDpi(HWND window) {
  HDC dc = GetDC(window);
  if (!dc) return 0;
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(window, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 0;
}

}  // namespace

UINT WindowDpi(HWND window) {
  UINT dpi = 0;
  if (const GetDpiForWindowFn fn = FindGetDpiForWindow()) dpi = fn(window);
  if (dpi == 0) dpi = SystemDpi(window);
  return dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi;
}

}  // namespace ks::render
