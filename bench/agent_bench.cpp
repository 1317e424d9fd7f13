// Prints what the tray agent costs: the time from starting KSAgent.exe until
// its tray icon is there, and its working set and private bytes after
// start-up and after 100 enable/disable toggles, and how soon the icon shows
// a Scroll Lock pause once the key is pressed. The notification area is
// the tests' stand-in taskbar, so the figures do not depend on a shell.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/agent/fake_tray_run.h"
#include "tests/harness/agent_copy.h"

namespace {

constexpr WPARAM kEnableCommand = 40001;

double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct Memory {
  double workingSetKiB = 0;
  double privateKiB = 0;
};

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  // Private bytes are the commit charge; Wine leaves PrivateUsage at 0 but
  // fills PagefileUsage, which Windows reports as the same value.
  const SIZE_T privateBytes = std::max(counters.PrivateUsage, counters.PagefileUsage);
  return {static_cast<double>(counters.WorkingSetSize) / 1024.0, static_cast<double>(privateBytes) / 1024.0};
}

// Presses Scroll Lock and returns the milliseconds until the agent's next
// icon update; negative when none came.
double ScrollLockToIconMs(const ks::test::FakeTray& tray) {
  const size_t before = tray.Records().size();
  const double t0 = NowMs();
  keybd_event(VK_SCROLL, 0, 0, 0);
  keybd_event(VK_SCROLL, 0, KEYEVENTF_KEYUP, 0);
  return tray.WaitForRecords(before + 1, 5000) ? NowMs() - t0 : -1.0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  using namespace ks::test;
  constexpr int kRuns = 5;
  std::vector<double> startMs, startWs, startPrivate, toggledWs, toggledPrivate, pauseMs;
  for (int run = 0; run < kRuns; ++run) {
    FakeTray tray;
    AgentCopy copy;
    if (!tray.Start() || !copy.ready() ||
        !copy.WriteSettings("ShowBalloonOnStart=0\r\nWriteLog=0\r\nPauseWithScrollLock=1\r\n")) {
      std::printf("agent_bench: cannot prepare the agent or the stand-in taskbar\n");
      return 1;
    }
    AgentProcess agent;
    const double t0 = NowMs();
    if (!copy.Start(agent) || !tray.WaitForRecords(1, 20000)) {
      std::printf("agent_bench: the agent showed no tray icon\n");
      return 1;
    }
    startMs.push_back(NowMs() - t0);
    HWND window = WaitForAgentWindow(agent.Id(), 10000);
    PumpMessagesFor(1000);  // let start-up settle
    const Memory started = MemoryOf(agent.Handle());
    for (int i = 0; i < 100; ++i) SendMessageW(window, WM_COMMAND, kEnableCommand, 0);
    PumpMessagesFor(500);
    const Memory toggled = MemoryOf(agent.Handle());
    startWs.push_back(started.workingSetKiB);
    startPrivate.push_back(started.privateKiB);
    toggledWs.push_back(toggled.workingSetKiB);
    toggledPrivate.push_back(toggled.privateKiB);
    // On, then off again, so the next run starts with the light off.
    for (int press = 0; press < 2; ++press) pauseMs.push_back(ScrollLockToIconMs(tray));
  }
  std::printf("Kestrow agent benchmark (%d-bit), median of %d runs\n", static_cast<int>(sizeof(void*) * 8), kRuns);
  std::printf("  start to tray icon          %8.1f ms\n", Median(startMs));
  std::printf("  after start-up              working set %8.0f KiB, private %8.0f KiB\n", Median(startWs),
              Median(startPrivate));
  std::printf("  after 100 enable/disable    working set %8.0f KiB, private %8.0f KiB\n", Median(toggledWs),
              Median(toggledPrivate));
  std::printf("  Scroll Lock to paused icon  %8.1f ms (longest %.1f ms, goal 500)\n", Median(pauseMs),
              *std::max_element(pauseMs.begin(), pauseMs.end()));
  return 0;
}
