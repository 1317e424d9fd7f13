// The decisions that Wine cannot show through real programs, since every
// process there reads points in one DPI space and runs at one integrity
// level: the spaces and levels are given here instead.
#include <gtest/gtest.h>

#include <cstdint>

#include "common/unique_handle.h"
#include "hook/process_level.h"
#include "hook/wheel_point.h"
#include "hook/wheel_run.h"

namespace ks::test {
namespace {

// A 144-DPI monitor. A fake window handle is the DPI its program reads
// points in: 96 for a program Windows scales, 144 for a per-monitor one.
constexpr LONG kMonitorDpi = 144;
HWND Window(LONG dpi) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(dpi)); }
LONG DpiOf(HWND window) { return static_cast<LONG>(reinterpret_cast<std::uintptr_t>(window)); }

POINT g_physicalCursor;
POINT g_askedAt;
BOOL WINAPI PhysicalCursor(POINT* p) { return *p = g_physicalCursor, TRUE; }
BOOL WINAPI ToPhysical(HWND w, POINT* p) {
  return *p = {p->x * kMonitorDpi / DpiOf(w), p->y * kMonitorDpi / DpiOf(w)}, TRUE;
}
BOOL WINAPI ToLogical(HWND w, POINT* p) {
  return *p = {p->x * DpiOf(w) / kMonitorDpi, p->y * DpiOf(w) / kMonitorDpi}, TRUE;
}
HWND WINAPI WindowAtPhysical(POINT p) { return g_askedAt = p, Window(kMonitorDpi); }

TEST(WheelPoint, ScaledAndPerMonitorPrograms_TargetFoundPhysically_AndSentThePointInItsOwnSpace) {
  const DpiFunctions dpi = {PhysicalCursor, ToPhysical, WindowAtPhysical, ToLogical};
  // A scaled program took the turn where the cursor is, at (100, 60) of its
  // space: (150, 90) on the monitor.
  g_physicalCursor = {150, 90};
  const WheelPoint fromScaled = LocateWheelPoint(dpi, Window(96), {100, 60}, {100, 60});
  EXPECT_EQ(WindowAtWheelPoint(dpi, fromScaled), Window(kMonitorDpi));
  EXPECT_EQ(g_askedAt.x, 150);
  EXPECT_EQ(g_askedAt.y, 90);
  EXPECT_EQ(WheelPointFor(dpi, Window(kMonitorDpi), fromScaled, 0), MAKELPARAM(150, 90));
  // The other way, on a monitor left of the primary, with the cursor moved on
  // since: the point goes through the window that took it.
  const WheelPoint fromPerMonitor = LocateWheelPoint(dpi, Window(kMonitorDpi), {-300, 120}, {0, 0});
  EXPECT_EQ(WheelPointFor(dpi, Window(96), fromPerMonitor, 0), MAKELPARAM(static_cast<WORD>(-200), 80));
}

TEST(WheelPoint, WithoutTheFunctions_TheMessagesOwnPoint) {
  const DpiFunctions none = {};
  const WheelPoint point = LocateWheelPoint(none, Window(96), {100, 60}, {100, 60});
  EXPECT_FALSE(point.hasPhysical);
  EXPECT_EQ(WheelPointFor(none, Window(kMonitorDpi), point, 12345), 12345);
}

int g_reads;
DWORD CountedRead(DWORD) { return ++g_reads, 0x2000; }

TEST(ProcessLevel, ReadOncePerProcess_AgainOnceItsRememberedWindowIsGone) {
  ProcessLevels cache = {};
  g_reads = 0;
  const DWORD self = GetCurrentProcessId();
  UniqueWindow first(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  UniqueWindow second(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(CachedProcessLevel(cache, self, first.get(), CountedRead), 0x2000u);
  CachedProcessLevel(cache, self, second.get(), CountedRead);
  EXPECT_EQ(g_reads, 1);
  // With no window of it left, the id may be another process's now.
  first.reset();
  CachedProcessLevel(cache, self, second.get(), CountedRead);
  CachedProcessLevel(cache, self, second.get(), CountedRead);
  EXPECT_EQ(g_reads, 2);
}

TEST(ProcessLevel, HigherOrUnreadableTargetKeepsTheTurn_UnknownOwnLevelComparesNothing) {
  EXPECT_TRUE(OutranksThisProcess(0x2000, 0x3000));
  EXPECT_TRUE(OutranksThisProcess(0x2000, kLevelUnknown));
  EXPECT_FALSE(OutranksThisProcess(0x3000, 0x3000));
  EXPECT_FALSE(OutranksThisProcess(0x3000, 0x2000));
  EXPECT_FALSE(OutranksThisProcess(kLevelUnknown, 0x3000));
  // The reader on a real token, through the functions looked up at run time.
  EXPECT_NE(ReadProcessLevel(GetCurrentProcessId()), kLevelUnknown);
}

TEST(WheelRun, APauseStartsANewRun) {
  const WheelRun run = StepWheelRun(WheelRun{}, 1, kRunHorizontalScroll, 90, 1000).next;
  EXPECT_EQ(StepWheelRun(run, 1, kRunHorizontalScroll, 30, 1400).notches, 1);
  EXPECT_EQ(StepWheelRun(run, 1, kRunHorizontalScroll, 30, 1600).notches, 0);
}

}  // namespace
}  // namespace ks::test
