#include "config/window_fit.h"

#include "config/page_elements.h"
#include "render/htmlayout_api.h"

namespace ks {
namespace {

void CentreInWorkArea(HWND window) {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT frame{};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = area.left + ((area.right - area.left) - width) / 2;
  const int y = area.top + ((area.bottom - area.top) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int GetMainTableHeight(HWND window) {
  const ElementRef table = FindElementById(window, L"MAIN_TABLE");
  if (!table) return 0;
  RECT box{};
  if (HTMLayoutGetElementLocation(table.get(), &box, HL_ROOT_RELATIVE | HL_CONTENT_BOX) != HL_OK) return 0;
  return box.bottom - box.top;
}

void FitWindowToPage(HWND window) {
  RECT area{};
  const bool haveArea = SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) != FALSE;
  SetWindowPos(window, nullptr, 0, 0, area.right - area.left, area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (const ElementRef root = RootElement(window)) HTMLayoutUpdateElement(root.get(), FALSE);

  const UINT minWidth = HTMLayoutGetMinWidth(window);
  const UINT minHeight = HTMLayoutGetMinHeight(window, minWidth);

  RECT client{};
  GetClientRect(window, &client);
  bool changed = false;
  if (static_cast<UINT>(client.right - client.left) > minWidth) {
    client.right = client.left + static_cast<LONG>(minWidth);
    changed = true;
  }
  if (static_cast<UINT>(client.bottom - client.top) < minHeight) {
    client.bottom = client.top + static_cast<LONG>(minHeight);
    changed = true;
  }
  if (!changed) {
    ShowWindow(window, SW_SHOW);
    return;
  }

  AdjustWindowRect(&client, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
  const int width = (client.right - client.left) + 60;
  int height = (client.bottom - client.top) + 40;
  if (haveArea && area.bottom - area.top < height) height = area.bottom - area.top;
  if (const int tableHeight = GetMainTableHeight(window)) {
    height = tableHeight + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYBORDER) + 40;
  }
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  CentreInWorkArea(window);

  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.flags = WPF_RESTORETOMAXIMIZED;
  placement.showCmd = SW_SHOWNORMAL;
  GetWindowRect(window, &placement.rcNormalPosition);
  placement.ptMinPosition = POINT{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
  placement.ptMaxPosition = placement.ptMinPosition;
  SetWindowPlacement(window, &placement);
}

}  // namespace ks
