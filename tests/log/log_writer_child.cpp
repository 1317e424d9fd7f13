// A second process for the log tests.
//   write <log path> <writer id> <lines> <go event>: turns logging on, waits for
//       the go event, writes its lines, turns logging off.
//   die-holding: takes the writers' lock and ends without giving it back.
#include <windows.h>

#include <cwchar>
#include <cstdlib>

#include "log/log_writer.h"

namespace ks {
ATOM& LogAtomSlot() {
  static ATOM atom = 0;
  return atom;
}
}  // namespace ks

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wcscmp(argv[1], L"die-holding") == 0) {
    HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, ks::kLogLockName);
    if (lock == nullptr || WaitForSingleObject(lock, 5000) != WAIT_OBJECT_0) return 3;
    ExitProcess(0);
  }
  if (argc != 6 || std::wcscmp(argv[1], L"write") != 0) return 2;
  const int writer = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  const int lines = static_cast<int>(std::wcstol(argv[4], nullptr, 10));
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, argv[5]);
  ks::LogStart(argv[2]);
  if (go == nullptr || WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) return 4;
  int failed = 0;
  for (int i = 0; i < lines; ++i) {
    wchar_t text[64];
    std::swprintf(text, 64, L"writer %d line %d", writer, i);
    if (ks::LogWriteLine(text) != 1) ++failed;
  }
  ks::LogStop();
  return failed == 0 ? 0 : 1;
}
