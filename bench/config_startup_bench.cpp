// Benchmark, not a test: how long the settings program takes from process
// start to a visible, fitted window, and its peak memory, over several runs
// of a private copy; and, in turns with it, how long a program that only
// opens one plain window takes to show it (plain_window.exe), so that the
// ratio of the two says what the settings program costs on this machine
// whatever its load. Prints its figures.
//   config_startup_bench [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "tests/harness/config_copy.h"
#include "tests/harness/test_files.h"
#include "tests/harness/window_search.h"

namespace {

double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Process start to the plain window shown, in ms; negative when it failed.
double MeasurePlainWindow() {
  LARGE_INTEGER start;
  ks::test::ChildProcess process;
  QueryPerformanceCounter(&start);
  if (!process.Start(ks::test::BinDir() + L"plain_window.exe", L"")) return -1;
  HWND window = ks::test::WaitForWindowOf(process.Id(), L"KestrowPlainWindow", 60000);
  const double ms = MsSince(start);
  if (window == nullptr) return -1;
  PostMessageW(window, WM_CLOSE, 0, 0);
  return process.WaitForExit(10000) ? ms : -1;
}

struct Run {
  double startToWindowMs = 0;
  double peakWorkingSetMb = 0;
  double peakPrivateMb = 0;
};

bool Measure(const ks::test::ConfigCopy& copy, Run& run) {
  LARGE_INTEGER start;
  ks::test::ChildProcess process;
  QueryPerformanceCounter(&start);
  if (!copy.Start(process)) return false;
  // The window is hidden until it has been fitted to the page.
  HWND window = ks::test::WaitForSettingsWindow(process.Id(), 60000);
  run.startToWindowMs = MsSince(start);
  if (window == nullptr) return false;
  ks::test::PumpMessagesFor(500);  // let it paint once
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process.Handle(), &counters, sizeof counters)) {
    run.peakWorkingSetMb = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    run.peakPrivateMb = static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
  }
  ks::test::ClickElement(window, L"BUTTON_CANCEL");
  return process.WaitForExit(10000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 10;
  ks::test::ConfigCopy copy;
  if (!copy.ready()) {
    std::printf("KsConfig.exe not found beside the benchmark\n");
    return 1;
  }
  std::vector<Run> results;
  std::vector<double> plain;
  for (int i = 0; i < runs; ++i) {
    Run run;
    if (!Measure(copy, run)) {
      std::printf("run %d: the settings window did not show or end\n", i + 1);
      return 1;
    }
    results.push_back(run);
    plain.push_back(MeasurePlainWindow());
    if (plain.back() < 0) {
      std::printf("run %d: the plain window did not show or end\n", i + 1);
      return 1;
    }
  }
  std::vector<double> times;
  double peakSet = 0, peakPrivate = 0;
  for (const Run& r : results) {
    times.push_back(r.startToWindowMs);
    peakSet = std::max(peakSet, r.peakWorkingSetMb);
    peakPrivate = std::max(peakPrivate, r.peakPrivateMb);
  }
  std::sort(times.begin(), times.end());
  std::printf("KsConfig (%d-bit), %d runs\n", static_cast<int>(sizeof(void*) * 8), runs);
  std::printf("process start to visible fitted window: median %.0f ms, min %.0f ms, max %.0f ms\n",
              times[times.size() / 2], times.front(), times.back());
  std::printf("peak working set %.1f MB, peak private bytes %.1f MB\n", peakSet, peakPrivate);
  std::sort(plain.begin(), plain.end());
  std::printf("plain window program, start to visible window: median %.0f ms, min %.0f ms, max %.0f ms\n",
              plain[plain.size() / 2], plain.front(), plain.back());
  std::printf("KsConfig start / plain window start (medians): %.2f\n",
              times[times.size() / 2] / plain[plain.size() / 2]);
  return 0;
}
