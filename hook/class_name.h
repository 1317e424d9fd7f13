// Window classes told by name, as Windows tells them: without regard to
// letter case. The hook library links no runtime, so it has its own.
#pragma once

#include <windows.h>

namespace ks {

// Whether the window's class is one of the names.
bool HasClassName(HWND window, const wchar_t* const* names, DWORD count);

template <DWORD N>
bool HasClassName(HWND window, const wchar_t* const (&names)[N]) {
  return HasClassName(window, names, N);
}

}  // namespace ks
