#include "hook/wheel_point.h"

namespace ks {
namespace {

INIT_ONCE g_dpiOnce = INIT_ONCE_STATIC_INIT;
DpiFunctions g_dpi;

bool Complete(const DpiFunctions& dpi) {
  return dpi.getPhysicalCursorPos != nullptr && dpi.logicalToPhysical != nullptr &&
         dpi.windowFromPhysicalPoint != nullptr && dpi.physicalToLogical != nullptr;
}

template <typename Fn>
void Lookup(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

BOOL CALLBACK LookUpDpiFunctions(PINIT_ONCE, PVOID, PVOID*) {
  // Imported already, so loaded in every process the library is in.
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return TRUE;
  DpiFunctions found = {};
  Lookup(user32, "GetPhysicalCursorPos", found.getPhysicalCursorPos);
  Lookup(user32, "LogicalToPhysicalPointForPerMonitorDPI", found.logicalToPhysical);
  Lookup(user32, "WindowFromPhysicalPoint", found.windowFromPhysicalPoint);
  Lookup(user32, "PhysicalToLogicalPointForPerMonitorDPI", found.physicalToLogical);
  // The physical path needs all four; with fewer the turn takes today's.
  if (Complete(found)) g_dpi = found;
  return TRUE;
}

}  // namespace

const DpiFunctions& SystemDpiFunctions() {
  InitOnceExecuteOnce(&g_dpiOnce, LookUpDpiFunctions, nullptr, nullptr);
  return g_dpi;
}

WheelPoint LocateWheelPoint(const DpiFunctions& dpi, HWND taker, POINT logical, POINT cursor) {
  WheelPoint point = {logical, logical, false};
  if (!Complete(dpi)) return point;
  POINT physical = logical;
  if (logical.x == cursor.x && logical.y == cursor.y) {
    point.hasPhysical = dpi.getPhysicalCursorPos(&physical) != FALSE;
  }
  if (!point.hasPhysical) {
    physical = logical;
    point.hasPhysical = taker != nullptr && dpi.logicalToPhysical(taker, &physical) != FALSE;
  }
  if (point.hasPhysical) point.physical = physical;
  return point;
}

HWND WindowAtWheelPoint(const DpiFunctions& dpi, const WheelPoint& point) {
  if (point.hasPhysical && Complete(dpi)) return dpi.windowFromPhysicalPoint(point.physical);
  return WindowFromPoint(point.logical);
}

LPARAM WheelPointFor(const DpiFunctions& dpi, HWND target, const WheelPoint& point, LPARAM original) {
  if (!point.hasPhysical || target == nullptr || !Complete(dpi)) return original;
  POINT inTarget = point.physical;
  if (!dpi.physicalToLogical(target, &inTarget)) return original;
  return MAKELPARAM(static_cast<WORD>(inTarget.x), static_cast<WORD>(inTarget.y));
}

}  // namespace ks
