// The DPI a window is drawn at: its own monitor's where the system tells it
// (GetDpiForWindow, Windows 10 and later), the system DPI before that.
#pragma once

#include <windows.h>

namespace ks::render {

UINT WindowDpi(HWND window);

}  // namespace ks::render
