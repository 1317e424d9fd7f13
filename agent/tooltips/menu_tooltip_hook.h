// The thread hook that lets menus of an owner window's child windows drive the
// owner's menu tooltip: their WM_MENUSELECT and menu WM_ENTERIDLE are sent on
// to the owner. One per program, on the thread that installs it, kept until
// that thread ends.
#pragma once

#include <windows.h>

namespace ks {

// False when a hook is already installed (for any owner) or cannot be.
bool InstallMenuHook(HWND owner);

}  // namespace ks
