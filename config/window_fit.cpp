#include "config/window_fit.h"

#include <algorithm>

#include "config/page_elements.h"
#include "render/htmlayout_api.h"

namespace ks {
namespace {

// Room beside the page that the window has always had.
constexpr int kExtraWidth = 60;
constexpr int kExtraHeight = 40;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
  RECT area{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return area;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT KeepInWorkArea(const RECT& window, const RECT& area) {
  const int width = std::clamp(Width(window), 0, std::max(0, Width(area)));
  const int height = std::clamp(Height(window), 0, std::max(0, Height(area)));
  // An empty or inverted area leaves a window of no size at its corner.
  const auto left = static_cast<int>(area.left), top = static_cast<int>(area.top);
  const int x = std::clamp(static_cast<int>(window.left), left, std::max(left, static_cast<int>(area.right) - width));
  const int y = std::clamp(static_cast<int>(window.top), top, std::max(top, static_cast<int>(area.bottom) - height));
  return RECT{x, y, x + width, y + height};
}

RECT CentreInWorkArea(SIZE window, const RECT& area) {
  const int x = area.left + (Width(area) - window.cx) / 2;
  const int y = area.top + (Height(area) - window.cy) / 2;
  return KeepInWorkArea(RECT{x, y, x + window.cx, y + window.cy}, area);
}

int GetMainTableHeight(HWND window) {
  const ElementRef table = FindElementById(window, L"MAIN_TABLE");
  if (!table) return 0;
  RECT box{};
  if (HTMLayoutGetElementLocation(table.get(), &box, HL_ROOT_RELATIVE | HL_CONTENT_BOX) != HL_OK) return 0;
  return box.bottom - box.top;
}

void FitWindowToPage(HWND window) { FitWindowToPage(window, WorkAreaOf(window)); }

void FitWindowToPage(HWND window, const RECT& area) {
  SetWindowPos(window, nullptr, area.left, area.top, Width(area), Height(area), SWP_NOZORDER | SWP_NOACTIVATE);
  if (const ElementRef root = RootElement(window)) HTMLayoutUpdateElement(root.get(), FALSE);

  // The width the page prefers: there its fixed widths all hold, as the
  // window has always been sized. A narrower work area reflows the page.
  const UINT preferred = HTMLayoutGetMaxWidth(window);
  const UINT minHeight = HTMLayoutGetMinHeight(window, preferred);

  RECT client{};
  GetClientRect(window, &client);
  bool changed = false;
  if (static_cast<UINT>(Width(client)) > preferred) {
    client.right = client.left + static_cast<LONG>(preferred);
    changed = true;
  }
  if (static_cast<UINT>(Height(client)) < minHeight) {
    client.bottom = client.top + static_cast<LONG>(minHeight);
    changed = true;
  }
  if (!changed) {
    ShowWindow(window, SW_SHOW);
    return;
  }

  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  RECT frame{0, 0, 0, 0};
  AdjustWindowRect(&frame, style, FALSE);
  AdjustWindowRect(&client, style, FALSE);
  const int width = std::min(Width(client) + kExtraWidth, Width(area));
  int height = Height(client) + kExtraHeight;
  // The table as tall as it is at the width the page gets now: narrower, it
  // has wrapped and grown.
  const int pageWidth = std::max(0, width - Width(frame));
  HTMLayoutGetMinHeight(window, static_cast<UINT>(pageWidth));
  if (const int tableHeight = GetMainTableHeight(window)) {
    height = tableHeight + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYBORDER) + kExtraHeight;
  }
  // Beyond the work area the page scrolls.
  height = std::min(height, Height(area));
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  RECT now{};
  GetWindowRect(window, &now);
  const RECT placed = CentreInWorkArea(SIZE{Width(now), Height(now)}, area);
  SetWindowPos(window, nullptr, placed.left, placed.top, Width(placed), Height(placed), SWP_NOZORDER | SWP_NOACTIVATE);

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
