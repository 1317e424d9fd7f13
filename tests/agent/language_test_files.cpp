#include "tests/agent/language_test_files.h"

#include <vector>

#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"

namespace ks::test {

std::wstring ShippedRussianFile() { return BinDir() + L"agent_lang\\Russian.lng"; }

std::wstring StoredLangFile(const AgentCopy& copy) {
  // Read as text: the profile functions of this process may cache the file.
  const std::wstring key = L"LangFile=";
  for (const std::wstring& line : ReadTextLines(copy.SettingsPath())) {
    if (line.compare(0, key.size(), key) == 0) return line.substr(key.size());
  }
  return {};
}

bool WaitForStoredLangFile(const AgentCopy& copy, const std::wstring& value, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (StoredLangFile(copy) != value) {
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(50);
  }
  return true;
}

std::vector<std::wstring> SectionLines(const std::wstring& file, const std::wstring& section) {
  std::vector<std::wstring> lines;
  bool inside = false;
  for (const std::wstring& line : ReadTextLines(file)) {
    if (!line.empty() && line.front() == L'[') {
      inside = line == L"[" + section + L"]";
    } else if (inside && line.find(L'=') != std::wstring::npos) {
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace ks::test
