// Where a wheel turn points. A program that Windows scales for DPI reads
// points in a space of its own, and a sent message is not converted: the
// window under the pointer is found from its physical position, and the point
// is sent in the target's space.
#pragma once

#include <windows.h>

namespace ks {

// user32's conversions, all null where this Windows lacks one of them.
struct DpiFunctions {
  BOOL(WINAPI* getPhysicalCursorPos)(POINT*);
  BOOL(WINAPI* logicalToPhysical)(HWND, POINT*);
  HWND(WINAPI* windowFromPhysicalPoint)(POINT);
  BOOL(WINAPI* physicalToLogical)(HWND, POINT*);
};

// This Windows' functions, looked up on the first wheel turn of the process.
const DpiFunctions& SystemDpiFunctions();

struct WheelPoint {
  POINT logical;   // as the message carries it, in the space of the thread that took it
  POINT physical;  // valid when hasPhysical
  bool hasPhysical;
};

// The message's point, and its physical position where it can be had: the
// physical cursor while the message is where the cursor is (a conversion
// through a window answers only for points inside it), else the conversion
// through the window that took the message.
WheelPoint LocateWheelPoint(const DpiFunctions& dpi, HWND taker, POINT logical, POINT cursor);

// The window at the point, the physical one where known.
HWND WindowAtWheelPoint(const DpiFunctions& dpi, const WheelPoint& point);

// The point as a wheel message's lParam in the target's own space; the
// message's own where the conversion cannot be had.
LPARAM WheelPointFor(const DpiFunctions& dpi, HWND target, const WheelPoint& point, LPARAM original);

}  // namespace ks
