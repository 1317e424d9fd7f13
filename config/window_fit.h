// Sizing the settings window to its page: as wide as the page prefers, as
// tall as its main table, centred in the work area of its monitor and never
// larger than that work area (the page then reflows and scrolls), then shown.
#pragma once

#include <windows.h>

namespace ks {

// Lays the page out over the work area of the monitor the window is on (or
// opens on), sizes the window to the page's preferred width and the main
// table's height, keeps it within that work area, centres and shows it.
void FitWindowToPage(HWND window);
// The same within a given work area (screen coordinates), e.g. the one of
// the monitor a window moves to.
void FitWindowToPage(HWND window, const RECT& workArea);

// The work area of the monitor nearest to the window.
RECT WorkAreaOf(HWND window);

// A window rectangle of at most the work area's size that lies wholly in
// it: moved in where it sticks out, shrunk where it is larger.
RECT KeepInWorkArea(const RECT& window, const RECT& workArea);
// A window of that size centred in the work area and kept in it.
RECT CentreInWorkArea(SIZE window, const RECT& workArea);

// Height of the content box of "MAIN_TABLE" relative to the root; 0 when the
// page has no such element.
int GetMainTableHeight(HWND window);

}  // namespace ks
