// Runs the settings program and clicks elements of its window by id, the way
// the tests do, for the screenshot script:
//   settings_window_click <KsConfig.exe> <ready file> <done file> <id>...
// After the clicks it creates the ready file, waits (at most two minutes) for
// the done file to appear, and closes the page with Cancel. Started inside a
// Wine virtual desktop it puts the program into that desktop too.
// Exit code 0 when every element was clicked, 1 otherwise.
#include <windows.h>

#include <string>

#include "tests/harness/child_process.h"
#include "tests/harness/config_copy.h"
#include "tests/harness/test_files.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 1;
  ks::test::ChildProcess config;
  if (!config.Start(argv[1], L"")) return 1;
  HWND window = ks::test::WaitForSettingsWindow(config.Id(), 60000);
  if (window == nullptr) return 1;
  ks::test::PumpMessagesFor(1000);
  int result = 0;
  for (int i = 4; i < argc; ++i) {
    if (!ks::test::ClickElement(window, argv[i])) result = 1;
    ks::test::PumpMessagesFor(500);
  }
  ks::test::WriteBytes(argv[2], "ready\n");
  const ULONGLONG end = GetTickCount64() + 120000;
  while (!ks::test::FileExists(argv[3]) && GetTickCount64() < end) ks::test::PumpMessagesFor(100);
  ks::test::ClickElement(window, L"BUTTON_CANCEL");
  config.WaitForExit(10000);
  return result;
}
