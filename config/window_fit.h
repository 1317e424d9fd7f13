// Sizing the settings window to its page: as narrow as the page allows, as
// tall as its main table, centred in the work area, then shown.
#pragma once

#include <windows.h>

namespace ks {

// Lays the page out over the whole work area, shrinks the window to the
// page's minimum width and the main table's height, centres and shows it.
void FitWindowToPage(HWND window);

// Height of the content box of "MAIN_TABLE" relative to the root; 0 when the
// page has no such element.
int GetMainTableHeight(HWND window);

}  // namespace ks
