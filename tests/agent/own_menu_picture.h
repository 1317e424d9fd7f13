// A popup menu of the test process itself, drawn by the same system that
// draws the agent's menus: its picture is what an agent menu with the same
// items must look like.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ks::test {

struct OwnMenuItem {
  std::wstring text;
  bool checked = false;
};

// Shows a popup menu with the items, selects the first with the keyboard (as
// a submenu opened with the right arrow key shows it), and returns its
// pixels as CaptureWindow gives them; empty when it could not be shown.
std::vector<DWORD> OwnMenuPicture(const std::vector<OwnMenuItem>& items, SIZE* size);

}  // namespace ks::test
