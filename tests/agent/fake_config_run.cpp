#include "tests/agent/fake_config_run.h"

#include "common/unique_handle.h"
#include "tests/harness/child_process.h"
#include "tests/harness/window_search.h"

namespace ks::test {

FakeConfig::~FakeConfig() {
  while (CloseWindowAndWait(5000)) {
  }
}

bool FakeConfig::Install() const {
  return CopyFileW((BinDir() + L"fake_config.exe").c_str(), Exe().c_str(), FALSE) != 0;
}

std::vector<std::string> FakeConfig::Journal() const {
  std::vector<std::string> lines;
  for (const std::wstring& line : SplitCrLfLines(Widen(ReadBytes(dir_ + L"fake_config.txt")))) {
    lines.push_back(Narrow(line));
  }
  return lines;
}

size_t FakeConfig::Count(const std::string& word) const {
  size_t count = 0;
  for (const std::string& line : Journal()) {
    if (line == word || line.rfind(word + " ", 0) == 0) ++count;
  }
  return count;
}

bool FakeConfig::WaitForCount(const std::string& word, size_t count, DWORD timeoutMs) const {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (Count(word) >= count) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(50);
  }
}

HWND FakeConfig::WaitForWindow(DWORD timeoutMs) {
  return ks::test::WaitForWindow(L"KestrowFakeConfig", nullptr, timeoutMs);
}

bool FakeConfig::CloseWindowAndWait(DWORD timeoutMs) {
  HWND window = FindWindowW(L"KestrowFakeConfig", nullptr);
  if (window == nullptr) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  PostMessageW(window, WM_CLOSE, 0, 0);
  return process && WaitPumping(process.get(), timeoutMs);
}

}  // namespace ks::test
