// Runs fake_tray.exe, the stand-in for the shell's notification area, and
// reads back the icon records it was sent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"

namespace ks::test {

struct TrayRecord {
  DWORD operation = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
  bool accepted = false;
  long window = 0;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  DWORD infoFlags = 0;
  std::wstring iconSize;  // "16x16", "0x0" without an icon
  std::wstring iconHash;  // equal for equal images
  std::wstring tip;
  std::wstring info;
  std::wstring infoTitle;
};

class FakeTray {
 public:
  // Starts the stand-in, which answers the first refuseAdds adds with failure,
  // and waits until it is the taskbar that a search by class finds.
  bool Start(int refuseAdds = 0);

  std::vector<TrayRecord> Records() const;

  // Waits until at least `count` records have arrived.
  bool WaitForRecords(size_t count, DWORD timeoutMs) const;

  // Ends the stand-in, as when the shell goes away.
  void Stop() { process_.Kill(); }

 private:
  TempDir dir_;
  ChildProcess process_;
};

}  // namespace ks::test
