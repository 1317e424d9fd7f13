// The settings program's stand-in (fake_config.exe) put beside an agent copy
// as "KsConfig.exe", and its journal read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/harness/agent_copy.h"

namespace ks::test {

class FakeConfig {
 public:
  // Journal in `dir` (with trailing separator), where the stand-in runs from.
  explicit FakeConfig(std::wstring dir) : dir_(std::move(dir)) {}
  // Closes every stand-in still open, so none outlives its test.
  ~FakeConfig();
  FakeConfig(const FakeConfig&) = delete;
  FakeConfig& operator=(const FakeConfig&) = delete;

  // Copies fake_config.exe into the directory as "KsConfig.exe".
  bool Install() const;
  std::wstring Exe() const { return dir_ + L"KsConfig.exe"; }

  // Journal lines: "start <pid>", "probe <thread id>", "end".
  std::vector<std::string> Journal() const;
  size_t Count(const std::string& word) const;
  bool WaitForCount(const std::string& word, size_t count, DWORD timeoutMs) const;

  // The stand-in's window (class "KestrowFakeConfig"), waiting up to timeoutMs.
  static HWND WaitForWindow(DWORD timeoutMs);

  // Closes the stand-in's window, as the user closes the settings, and waits
  // until its process has ended; false when it did not.
  static bool CloseWindowAndWait(DWORD timeoutMs);

 private:
  std::wstring dir_;
};

}  // namespace ks::test
