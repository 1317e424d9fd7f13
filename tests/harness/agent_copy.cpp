#include "tests/harness/agent_copy.h"

namespace ks::test {

AgentProcess::~AgentProcess() {
  if (!Running()) return;
  if (HWND window = WaitForAgentWindow(Id(), 0)) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForExit(10000);
  }
}

AgentCopy::AgentCopy() {
  ready_ = CopyFileW((BinDir() + L"KSAgent.exe").c_str(), Exe().c_str(), FALSE) &&
           CopyFileW((BinDir() + L"TDX.dll").c_str(), HookLibraryPath().c_str(), FALSE);
}

bool AgentCopy::AddCompanion() const {
  return CopyFileW((X86BinDir() + L"KSHook32.exe").c_str(), CompanionPath().c_str(), FALSE) &&
         CopyFileW((X86BinDir() + L"TDX32.dll").c_str(), CompanionLibraryPath().c_str(), FALSE);
}

bool AgentCopy::WriteSettings(const std::string& keyLines, bool firstRun) const {
  std::string text = "[Misc]\r\n" + keyLines;
  if (!firstRun) text += "InstalledVersion_168=1\r\n";
  return WriteBytes(SettingsPath(), text);
}

bool AgentCopy::Start(ChildProcess& process, const std::wstring& arguments, const std::wstring& workingDir) const {
  return process.Start(Exe(), arguments, workingDir);
}

HWND WaitForAgentWindow(DWORD processId, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"KestrowTrayAgent", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"KestrowTrayAgent", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      // The window is listed while its creation still runs; once it answers a
      // sent message the agent's message loop runs and its start-up is done.
      DWORD_PTR answer = 0;
      if (owner == processId && SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0) {
        return w;
      }
    }
    if (GetTickCount64() >= end) return nullptr;
    PumpMessagesFor(20);
  }
}

HWND FindAnyAgentWindow() { return FindWindowW(L"KestrowTrayAgent", nullptr); }

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (IsWindow(window)) {
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(20);
  }
  return true;
}

bool SendRegistered(HWND window, const wchar_t* name, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  const LRESULT sent =
      SendMessageTimeoutW(window, RegisterWindowMessageW(name), wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer);
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return sent != 0;
}

size_t CountOf(const std::wstring& haystack, const std::wstring& text) {
  size_t count = 0;
  for (size_t at = haystack.find(text); at != std::wstring::npos; at = haystack.find(text, at + text.size())) {
    ++count;
  }
  return count;
}

bool WaitForFileText(const std::wstring& path, const std::wstring& text, DWORD timeoutMs, size_t occurrences) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (CountOf(ReadUtf16(path), text) >= occurrences) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(50);
  }
}

}  // namespace ks::test
