// Windows of Store (UWP, WinUI) apps take their input through the system's
// own pointer routing and ignore a wheel message sent to them: a turn handed
// to one of them would be lost, so the hook leaves such a turn alone.
#pragma once

#include <windows.h>

namespace ks {

// Whether the window or its top-level ancestor is of a Store-app window class
// ("Windows.UI.Core.CoreWindow", "ApplicationFrameWindow" and the like).
bool IsStoreAppWindow(HWND window);

}  // namespace ks
