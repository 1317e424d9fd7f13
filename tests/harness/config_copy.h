// A private copy of the settings program for one test: KsConfig.exe copied
// from beside the test program into a fresh directory, because the program
// keeps its settings file beside itself. Its window is found, asked about its
// page's elements and given mouse and key input the way a user's input
// arrives: as window messages at computed positions.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "tests/harness/child_process.h"
#include "tests/harness/run_value_guard.h"
#include "tests/harness/test_files.h"

namespace ks::test {

class ConfigCopy {
 public:
  // Copies the program; ready() tells whether it arrived.
  ConfigCopy();

  bool ready() const { return ready_; }
  const std::wstring& dir() const { return dir_.path(); }
  std::wstring Exe() const { return dir_.File(L"KsConfig.exe"); }
  std::wstring File(const std::wstring& name) const { return dir_.File(name); }
  std::wstring SettingsPath() const { return dir_.File(L"settings.ini"); }
  // The agent path the program registers for start with Windows.
  std::wstring AgentPath() const { return dir_.File(L"KSAgent.exe"); }

  // Writes settings.ini with the given "Key=value" lines under "[Misc]".
  bool WriteSettings(const std::string& keyLines) const;

  bool Start(ChildProcess& process) const { return process.Start(Exe(), L""); }

 private:
  TempDir dir_;
  bool ready_ = false;
};

// The settings window of the process once it is visible, or null.
HWND WaitForSettingsWindow(DWORD processId, DWORD timeoutMs);

// A message box of the process (not its settings window), or null.
HWND WaitForConfigMessageBox(DWORD processId, DWORD timeoutMs);

// Waits until the window's title satisfies the test: equal to text, or ending
// with " *" when marked is given. True when it did in time.
bool WaitForTitle(HWND window, const std::wstring& text, DWORD timeoutMs);

// Questions to the settings window about its page (see config/element_query.h).
std::optional<POINT> ElementPoint(HWND window, const std::wstring& id);
std::optional<SIZE> ElementSize(HWND window, const std::wstring& id);
std::optional<UINT> ElementState(HWND window, const std::wstring& id);

// Waits until the element's state has (or lacks) the bits.
bool WaitForElementState(HWND window, const std::wstring& id, UINT bits, bool set, DWORD timeoutMs);

// A left click at a client point, as the mouse delivers it.
void ClickAt(HWND window, POINT point);
// A left click inside the element; false when it is not on the page.
bool ClickElement(HWND window, const std::wstring& id);
// A key pressed and released while the window has the focus.
void PressKey(HWND window, UINT virtualKey);

// When the Run key was last written, as a file time; 0 when unknown.
ULONGLONG RunKeyLastWriteTime();
// When the file was last written, as a file time; 0 when unknown.
ULONGLONG FileLastWriteTime(const std::wstring& path);

}  // namespace ks::test
