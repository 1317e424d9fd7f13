// A private copy of the agent for one test: KSAgent.exe and TDX.dll copied
// from beside the test program into a fresh directory, because the agent
// keeps its settings file and log beside itself. Started, found and spoken to
// the way the shell and other programs reach it.
#pragma once

#include <windows.h>

#include <string>

#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"

namespace ks::test {

// An agent process that is ended the way a user ends it when the test is
// over: its window is closed, so it removes its hook and its icon. Only an
// agent that does not end then is killed (under Wine a killed agent's
// system-wide hook outlives it and would act in the next test).
class AgentProcess : public ChildProcess {
 public:
  AgentProcess() = default;
  ~AgentProcess();
  AgentProcess(const AgentProcess&) = delete;
  AgentProcess& operator=(const AgentProcess&) = delete;
};

class AgentCopy {
 public:
  // Copies the two files; ready() tells whether both arrived.
  AgentCopy();

  bool ready() const { return ready_; }
  const std::wstring& dir() const { return dir_.path(); }
  std::wstring Exe() const { return dir_.File(L"KSAgent.exe"); }
  std::wstring SettingsPath() const { return dir_.File(L"settings.ini"); }
  std::wstring LogPath() const { return dir_.File(L"LogFile.log"); }
  std::wstring HookLibraryPath() const { return dir_.File(L"TDX.dll"); }
  std::wstring CompanionPath() const { return dir_.File(L"KSHook32.exe"); }
  std::wstring CompanionLibraryPath() const { return dir_.File(L"TDX32.dll"); }

  // Adds the 32-bit companion and its library from the x86 tree, as an x64
  // installation has them; false when that tree has not built them.
  bool AddCompanion() const;

  // Writes settings.ini: the given "Key=value" lines under "[Misc]", with the
  // first-run marker set unless firstRun is true.
  bool WriteSettings(const std::string& keyLines, bool firstRun = false) const;

  // Starts the copy with the argument text.
  bool Start(ChildProcess& process, const std::wstring& arguments = {}, const std::wstring& workingDir = {}) const;

  // The log as text; empty while there is no log file.
  std::wstring LogText() const { return ReadUtf16(LogPath()); }

 private:
  TempDir dir_;
  bool ready_ = false;
};

// The agent window (class "KestrowTrayAgent") of the process once the agent
// has finished starting (its window answers messages), waiting up to
// timeoutMs while pumping this thread's messages; null when none appeared.
HWND WaitForAgentWindow(DWORD processId, DWORD timeoutMs);

// Any agent window on the desktop, or null.
HWND FindAnyAgentWindow();

// Waits until the window no longer exists.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// Sends a message registered under the name, as other programs do; false when
// the send timed out. The answer goes to *result when given.
bool SendRegistered(HWND window, const wchar_t* name, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT* result = nullptr,
                    DWORD timeoutMs = 5000);

// Waits until the file holds the text, polling; true when it appeared.
bool WaitForFileText(const std::wstring& path, const std::wstring& text, DWORD timeoutMs, size_t occurrences = 1);

// How often the text occurs in the haystack.
size_t CountOf(const std::wstring& haystack, const std::wstring& text);

}  // namespace ks::test
