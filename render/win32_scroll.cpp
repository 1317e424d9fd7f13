#include "render/win32_scroll.h"

#include <algorithm>

#include "render/layout_saturating.h"

namespace ks::render {
namespace {

constexpr UINT kDefaultWheelLines = 3;

UINT WheelSetting(UINT action) {
  UINT value = kDefaultWheelLines;
  if (!SystemParametersInfoW(action, 0, &value, 0)) value = kDefaultWheelLines;
  return value;
}

bool BarShown(HWND hwnd, LONG style) { return (GetWindowLongW(hwnd, GWL_STYLE) & style) != 0; }

}  // namespace

bool Win32Scroll::setExtent(int pageWidth, int pageHeight, int viewWidth, int viewHeight) {
  if (pageWidth == pageWidth_ && pageHeight == pageHeight_ && viewWidth == viewWidth_ && viewHeight == viewHeight_) {
    return false;
  }
  pageWidth_ = std::max(0, pageWidth);
  pageHeight_ = std::max(0, pageHeight);
  viewWidth_ = std::max(0, viewWidth);
  viewHeight_ = std::max(0, viewHeight);
  x_ = std::clamp(x_, 0, maxX());
  y_ = std::clamp(y_, 0, maxY());
  const bool hadH = BarShown(hwnd_, WS_HSCROLL);
  const bool hadV = BarShown(hwnd_, WS_VSCROLL);
  // The range is the whole page and the page the view: the system shows a
  // bar while the view is smaller than the page and hides it otherwise.
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  si.nMax = maxX() > 0 ? pageWidth_ - 1 : 0;
  si.nPage = maxX() > 0 ? static_cast<UINT>(viewWidth_) : 0;
  si.nPos = x_;
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
  si.nMax = maxY() > 0 ? pageHeight_ - 1 : 0;
  si.nPage = maxY() > 0 ? static_cast<UINT>(viewHeight_) : 0;
  si.nPos = y_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  return hadH != BarShown(hwnd_, WS_HSCROLL) || hadV != BarShown(hwnd_, WS_VSCROLL);
}

void Win32Scroll::reset() {
  x_ = y_ = 0;
  showPositions();
}

void Win32Scroll::showPositions() {
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, x_, 0};
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
  si.nPos = y_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

bool Win32Scroll::scrollTo(int x, int y) {
  const int nx = std::clamp(x, 0, maxX());
  const int ny = std::clamp(y, 0, maxY());
  if (nx == x_ && ny == y_) return false;
  x_ = nx;
  y_ = ny;
  showPositions();
  return true;
}

int Win32Scroll::pageStep(bool horizontal) const {
  // A page keeps one line of the last one in view.
  const int view = horizontal ? viewWidth_ : viewHeight_;
  return std::max(kLine, view - kLine);
}

bool Win32Scroll::onScrollBar(int bar, WPARAM wParam) {
  const bool horizontal = bar == SB_HORZ;
  const int at = horizontal ? x_ : y_;
  int to = at;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: to = SubPx(at, kLine); break;
    case SB_LINEDOWN: to = AddPx(at, kLine); break;
    case SB_PAGEUP: to = SubPx(at, pageStep(horizontal)); break;
    case SB_PAGEDOWN: to = AddPx(at, pageStep(horizontal)); break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = horizontal ? maxX() : maxY(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The message carries 16 bits of the position; a longer page asks
      // the bar for the whole track position.
      to = static_cast<int>(HIWORD(wParam));
      if ((horizontal ? maxX() : maxY()) > 0xFFFF) {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(hwnd_, bar, &si)) to = si.nTrackPos;
      }
      break;
    }
    default: return false;
  }
  return horizontal ? scrollTo(to, y_) : scrollTo(x_, to);
}

bool Win32Scroll::onWheel(int delta, bool horizontal) {
  const UINT setting = WheelSetting(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES);
  if (setting == 0) return false;
  int& rest = wheelRest_[horizontal ? 1 : 0];
  rest = AddPx(rest, delta);
  const int notches = rest / WHEEL_DELTA;
  if (notches == 0) return false;  // a part notch waits for the rest of it
  rest -= notches * WHEEL_DELTA;
  // WM_MOUSEWHEEL turns forward (up) for a positive delta, WM_MOUSEHWHEEL
  // turns right for a positive one.
  const int sign = horizontal ? 1 : -1;
  const int step = setting == WHEEL_PAGESCROLL ? pageStep(horizontal) : MulPx(static_cast<int>(setting), kLine);
  const int by = MulPx(MulPx(sign, notches), step);
  return horizontal ? scrollBy(by, 0) : scrollBy(0, by);
}

bool Win32Scroll::onKey(WPARAM key, bool& moved) {
  switch (key) {
    case VK_PRIOR: moved = scrollBy(0, -pageStep(false)); return true;
    case VK_NEXT: moved = scrollBy(0, pageStep(false)); return true;
    case VK_HOME: moved = scrollTo(x_, 0); return true;
    case VK_END: moved = scrollTo(x_, maxY()); return true;
    case VK_UP: moved = scrollBy(0, -kLine); return true;
    case VK_DOWN: moved = scrollBy(0, kLine); return true;
    case VK_LEFT: moved = scrollBy(-kLine, 0); return true;
    case VK_RIGHT: moved = scrollBy(kLine, 0); return true;
    default: return false;
  }
}

bool Win32Scroll::reveal(int left, int top, int width, int height) {
  const auto axis = [](int at, int start, int size, int view) {
    if (AddPx(start, size) > AddPx(at, view)) at = SubPx(AddPx(start, size), view);
    if (start < at) at = start;
    return at;
  };
  return scrollTo(axis(x_, left, width, viewWidth_), axis(y_, top, height, viewHeight_));
}

}  // namespace ks::render
