// Under Wine every process has one DPI space and one integrity level: given here.
#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "hook/process_level.h"
#include "hook/wheel_point.h"
#include "hook/wheel_run.h"

namespace ks::test {
namespace {

// A 144-DPI monitor; a fake window handle is the DPI its program reads points in.
const HWND kScaled = reinterpret_cast<HWND>(INT_PTR{96});
const HWND kPerMonitor = reinterpret_cast<HWND>(INT_PTR{144});
LONG DpiOf(HWND w) { return static_cast<LONG>(reinterpret_cast<INT_PTR>(w)); }
BOOL WINAPI PhysicalCursor(POINT* p) { return *p = {150, 90}, TRUE; }
BOOL WINAPI ToPhysical(HWND w, POINT* p) { return *p = {p->x * 144 / DpiOf(w), p->y * 144 / DpiOf(w)}, TRUE; }
BOOL WINAPI ToLogical(HWND w, POINT* p) { return *p = {p->x * DpiOf(w) / 144, p->y * DpiOf(w) / 144}, TRUE; }
HWND WINAPI WindowAt(POINT p) { return p.x == 150 && p.y == 90 ? kPerMonitor : nullptr; }

TEST(WheelPoint, TargetFoundPhysically_GetsThePointInItsOwnSpace_OrTheMessagesWithoutTheFunctions) {
  const DpiFunctions dpi = {PhysicalCursor, ToPhysical, WindowAt, ToLogical};
  // A scaled program took the turn where the cursor is: (100, 60) of its space, (150, 90) of the monitor's.
  const WheelPoint fromScaled = LocateWheelPoint(dpi, kScaled, {100, 60}, {100, 60});
  EXPECT_EQ(WindowAtWheelPoint(dpi, fromScaled), kPerMonitor);
  EXPECT_EQ(WheelPointFor(dpi, kPerMonitor, fromScaled, 0), MAKELPARAM(150, 90));
  // The other way, left of the primary monitor, after the cursor moved on.
  const WheelPoint fromPerMonitor = LocateWheelPoint(dpi, kPerMonitor, {-300, 120}, {0, 0});
  EXPECT_EQ(WheelPointFor(dpi, kScaled, fromPerMonitor, 0), MAKELPARAM(static_cast<WORD>(-200), 80));
  EXPECT_FALSE(LocateWheelPoint(DpiFunctions{}, kScaled, {100, 60}, {100, 60}).hasPhysical);
}

int g_reads;
DWORD CountedRead(DWORD) { return ++g_reads, 0x2000; }

TEST(ProcessLevel, ReadOncePerProcessWhileAWindowShowsTheIdIsItsOwn_HigherOrUnknownOutranks) {
  ProcessLevels cache = {};
  const DWORD self = GetCurrentProcessId();
  UniqueWindow first(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  UniqueWindow second(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(CachedProcessLevel(cache, self, first.get(), CountedRead), 0x2000u);
  CachedProcessLevel(cache, self, second.get(), CountedRead);
  EXPECT_EQ(g_reads, 1);
  first.reset();
  CachedProcessLevel(cache, self, second.get(), CountedRead);
  EXPECT_EQ(g_reads, 2);
  EXPECT_TRUE(OutranksThisProcess(0x2000, 0x3000) && OutranksThisProcess(0x2000, kLevelUnknown));
  EXPECT_FALSE(OutranksThisProcess(0x3000, 0x3000) || OutranksThisProcess(kLevelUnknown, 0x3000));
  EXPECT_NE(ReadProcessLevel(GetCurrentProcessId()), kLevelUnknown);
}

TEST(WheelRun, APauseStartsANewRun) {
  const WheelRun run = StepWheelRun(WheelRun{}, 1, kRunHorizontalScroll, 90, 1000).next;
  EXPECT_EQ(StepWheelRun(run, 1, kRunHorizontalScroll, 30, 1400).notches, 1);
  EXPECT_EQ(StepWheelRun(run, 1, kRunHorizontalScroll, 30, 1600).notches, 0);
}

}  // namespace
}  // namespace ks::test
