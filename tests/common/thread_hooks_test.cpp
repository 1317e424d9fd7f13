// The thread-by-thread hook's first look at the desktop: every open window is
// visited once, so a program with deeply nested panels costs no more than
// its window count.
#include "common/thread_hooks.h"

#include <gtest/gtest.h>

#include <vector>

namespace ks {
namespace {

HHOOK WINAPI RefuseEveryThread(DWORD) { return nullptr; }

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<size_t*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  CountChild(window, count);
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

TEST(ThreadHooks, TwentyDeepNest_EveryWindowIsVisitedOnce) {
  std::vector<UniqueWindow> nest;
  nest.emplace_back(
      CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(nest.back());
  for (int depth = 1; depth < 20; ++depth) {
    nest.emplace_back(
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 100, 100, nest.back().get(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(nest.back());
  }
  size_t open = 0;
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&open));

  ThreadHooks hooks;
  ASSERT_TRUE(hooks.Start(RefuseEveryThread, ProgramBitness::SixtyFour));
  // Visited once each, give or take windows other programs open or close
  // meanwhile; a window at depth 20 visited once per ancestor path would be
  // half a million visits.
  EXPECT_GE(hooks.WindowsVisitedAtStart(), nest.size());
  EXPECT_LT(hooks.WindowsVisitedAtStart(), open + 50);
  hooks.Stop();
  // Children go with their parent.
  for (auto it = nest.begin() + 1; it != nest.end(); ++it) it->release();
}

}  // namespace
}  // namespace ks
