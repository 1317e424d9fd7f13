// The settings window moving to a monitor of another scale: the page has
// taken the new scale already (the renderer sees the message first); the
// window takes the rectangle the system suggests there and is fitted to the
// page again.
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace ks {

// The WM_DPICHANGED handler; suggested is the message's lParam (may be null).
void OnDpiChanged(HWND window, const RECT* suggested);

}  // namespace ks
