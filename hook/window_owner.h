// Which thread and process own a window. For another program's window each
// question is a round trip to the window manager, so a turn asks once.
#pragma once

#include <windows.h>

namespace ks {

struct WindowOwner {
  DWORD thread;  // 0 for no window or one that is gone
  DWORD process;
};

inline WindowOwner OwnerOf(HWND window) {
  WindowOwner owner = {0, 0};
  if (window != nullptr) owner.thread = GetWindowThreadProcessId(window, &owner.process);
  return owner;
}

}  // namespace ks
