// Runs the wheel target program under an installed hook and reads back what
// its windows received.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/harness/child_process.h"
#include "tests/harness/tdx_library.h"
#include "tests/harness/test_files.h"

namespace ks::test {

struct Received {
  std::string window;
  std::string message;
  unsigned long wParam = 0;
  unsigned long lParam = 0;
};

struct TargetReport {
  bool ran = false;                  // the target started, ended and wrote its report
  unsigned long long elapsedMs = 0;  // from posting the wheel until its marker was taken
  POINT cursor = {};
  std::vector<Received> received;

  // Messages received by one window, in order.
  std::vector<Received> Of(const std::string& window) const;
  // Every window that received anything.
  std::vector<std::string> Windows() const;
};

// The point in the wheel message's lParam form.
unsigned long PointParam(POINT p);
// A wheel wParam: key state in the low word, distance in the high word.
unsigned long WheelParam(unsigned keys, int distance);

// Starts wheel_target.exe with the arguments (e.g. L"scenario=pane keys=4"),
// waits for it and parses its report. programDir names another build of it,
// such as the 32-bit one in X86BinDir().
TargetReport RunWheelTarget(const std::wstring& arguments, const std::wstring& programDir = BinDir());

// What a wheel target started now shows of the hook an agent installed. A hook
// set thread by thread (the x64 agent's) reaches a new program once its first
// window exists, so where the hook is expected the target first waits for
// TDX.dll to be brought in; where it is not, no wait.
enum class HookExpected { No, Yes };
// Shift and the wheel over a plain pane scroll it horizontally.
bool ShiftWheelScrollsHorizontally(HookExpected expected);
// A wheel over a list box while the focus is elsewhere reaches the list box.
bool WheelIsRedirected(HookExpected expected);

// A wheel target whose windows exist before it may turn the wheel: for a hook
// installed while a program is already open.
class HeldWheelTarget {
 public:
  HeldWheelTarget();
  HeldWheelTarget(const HeldWheelTarget&) = delete;
  HeldWheelTarget& operator=(const HeldWheelTarget&) = delete;

  // Starts it as RunWheelTarget would; true once its windows exist.
  bool Start(const std::wstring& arguments, const std::wstring& programDir = BinDir());
  // Lets it turn the wheel, waits for its end and parses its report.
  TargetReport Release();

 private:
  std::wstring gate_;
  UniqueKernelHandle made_;
  UniqueKernelHandle go_;
  TempDir dir_;
  ChildProcess target_;
};

// "LogFile.log" beside the TDX.dll under test, the one file its writer may
// append to; removed when made and when gone.
class LibraryLog {
 public:
  LibraryLog();
  ~LibraryLog();
  LibraryLog(const LibraryLog&) = delete;
  LibraryLog& operator=(const LibraryLog&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// Loads TDX.dll from beside the test program and installs it for the life of
// the object, leaving alone the programs named (";" between them) and, with
// leaveFullScreen, full-screen programs, with the rules as KS_TDXProgramRules
// takes them. The library's state outlives the object in every process that
// maps it, so each install sets both anew.
class InstalledHook {
 public:
  explicit InstalledHook(DWORD flags, const wchar_t* logPath = nullptr, const wchar_t* programs = nullptr,
                         DWORD leaveFullScreen = 0, const wchar_t* rules = nullptr);
  ~InstalledHook();
  InstalledHook(const InstalledHook&) = delete;
  InstalledHook& operator=(const InstalledHook&) = delete;

  int installResult() const { return installResult_; }
  const TdxLibrary& library() const { return tdx_; }

 private:
  TdxLibrary tdx_;
  int installResult_ = 0;
};

}  // namespace ks::test
