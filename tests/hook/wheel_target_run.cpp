#include "tests/hook/wheel_target_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/harness/child_process.h"

namespace ks::test {

std::vector<Received> TargetReport::Of(const std::string& window) const {
  std::vector<Received> out;
  for (const Received& r : received) {
    if (r.window == window) out.push_back(r);
  }
  return out;
}

std::vector<std::string> TargetReport::Windows() const {
  std::vector<std::string> out;
  for (const Received& r : received) {
    if (out.empty() || out.back() != r.window) out.push_back(r.window);
  }
  return out;
}

unsigned long PointParam(POINT p) {
  return (static_cast<unsigned long>(static_cast<WORD>(p.y)) << 16) | static_cast<WORD>(p.x);
}

unsigned long WheelParam(unsigned keys, int distance) {
  return (static_cast<unsigned long>(static_cast<WORD>(static_cast<short>(distance))) << 16) | static_cast<WORD>(keys);
}

namespace {

TargetReport ReadReport(ChildProcess& target, const std::wstring& reportPath) {
  TargetReport report;
  if (!target.WaitForExit(30000) || target.ExitCode() != 0) return report;
  std::istringstream lines(ReadBytes(reportPath));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "elapsed") {
      words >> report.elapsedMs;
      report.ran = true;
    } else if (first == "cursor") {
      words >> report.cursor.x >> report.cursor.y;
    } else if (!first.empty()) {
      Received r;
      r.window = first;
      words >> r.message >> std::hex >> r.wParam >> r.lParam;
      report.received.push_back(r);
    }
  }
  return report;
}

bool StartTarget(ChildProcess& target, const std::wstring& programDir, const std::wstring& reportPath,
                 const std::wstring& arguments) {
  return target.Start(programDir + L"wheel_target.exe", QuoteArgument(L"report=" + reportPath) + L" " + arguments);
}

}  // namespace

TargetReport RunWheelTarget(const std::wstring& arguments, const std::wstring& programDir) {
  TempDir dir;
  const std::wstring reportPath = dir.File(L"report.txt");
  ChildProcess target;
  if (!StartTarget(target, programDir, reportPath, arguments)) return TargetReport();
  return ReadReport(target, reportPath);
}

namespace {

std::wstring Awaiting(HookExpected expected) { return expected == HookExpected::Yes ? L" hookedby=TDX.dll" : L""; }

}  // namespace

bool ShiftWheelScrollsHorizontally(HookExpected expected) {
  const TargetReport report = RunWheelTarget(L"scenario=pane over=pane keys=4" + Awaiting(expected));
  EXPECT_TRUE(report.ran);
  return report.ran && !report.Of("pane").empty() && report.Of("pane")[0].message == "WM_HSCROLL";
}

bool WheelIsRedirected(HookExpected expected) {
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list" + Awaiting(expected));
  EXPECT_TRUE(report.ran);
  return report.ran && !report.Of("list").empty();
}

HeldWheelTarget::HeldWheelTarget()
    : gate_(L"ks-wheel-gate-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64())),
      made_(CreateEventW(nullptr, TRUE, FALSE, (gate_ + L".made").c_str())),
      go_(CreateEventW(nullptr, TRUE, FALSE, gate_.c_str())) {}

bool HeldWheelTarget::Start(const std::wstring& arguments, const std::wstring& programDir) {
  return made_ && go_ && StartTarget(target_, programDir, dir_.File(L"report.txt"), arguments + L" gate=" + gate_) &&
         WaitPumping(made_.get(), 30000);
}

TargetReport HeldWheelTarget::Release() {
  SetEvent(go_.get());
  return ReadReport(target_, dir_.File(L"report.txt"));
}

LibraryLog::LibraryLog() : path_(BinDir() + L"LogFile.log") { DeleteFileW(path_.c_str()); }

LibraryLog::~LibraryLog() { DeleteFileW(path_.c_str()); }

InstalledHook::InstalledHook(DWORD flags, const wchar_t* logPath, const wchar_t* programs, DWORD leaveFullScreen,
                             const wchar_t* rules) {
  if (!tdx_.Load(BinDir() + L"TDX.dll") || tdx_.LeaveAlone(programs, leaveFullScreen) != 1 ||
      tdx_.ProgramRules(rules) != 1) {
    return;
  }
  installResult_ = tdx_.Install(logPath, flags);
}

InstalledHook::~InstalledHook() {
  if (installResult_ == 1) tdx_.Uninstall();
  // Installs that set no list of their own find none.
  if (installResult_ == 1) tdx_.LeaveAlone(nullptr, 0);
  if (installResult_ == 1) tdx_.ProgramRules(nullptr);
}

}  // namespace ks::test
