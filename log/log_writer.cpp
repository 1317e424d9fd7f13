#include "log/log_writer.h"

#include <stdarg.h>

namespace ks {
namespace {

// Per-process handles, held only by the process that turned logging on. The
// event is kept signalled for readers that wait on it; the mutex is the lock
// (taking a mutex is one step, and a writer that dies holding it leaves it
// abandoned instead of locked for good). Zero-initialised: no constructors.
HANDLE logEvent;
HANDLE logLock;

void CloseIf(HANDLE& h) {
  if (h != nullptr) {
    CloseHandle(h);
    h = nullptr;
  }
}

// Writes all bytes of the text at the end of the file; creates the file with a
// byte-order mark when it does not exist.
int AppendToFile(const wchar_t* path, const wchar_t* text, DWORD chars) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    file = CreateFileW(path, GENERIC_WRITE, share, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    static const unsigned char kBom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, kBom, sizeof kBom, &written, nullptr);
  }
  SetFilePointer(file, 0, nullptr, FILE_END);
  const DWORD bytes = chars * sizeof(wchar_t);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text, bytes, &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes ? 1 : 0;
}

}  // namespace

int LogIsOn() { return LogAtomSlot() != 0 ? 1 : 0; }

int LogStart(const wchar_t* path) {
  ATOM& atom = LogAtomSlot();
  if (atom != 0) return 0;
  // A path the writers cannot read back whole would send lines to a file of a
  // cut name, so it leaves logging off.
  if (path == nullptr || lstrlenW(path) > kLogPathMaxChars) return 0;
  atom = GlobalAddAtomW(path);
  if (atom != 0 && logEvent == nullptr) {
    logEvent = CreateEventW(nullptr, TRUE, TRUE, kLogSyncEventName);
    if (logEvent != nullptr) SetEvent(logEvent);
  }
  if (atom != 0 && logLock == nullptr) logLock = CreateMutexW(nullptr, FALSE, kLogLockName);
  return atom != 0 ? 1 : 0;
}

int LogStop() {
  ATOM& atom = LogAtomSlot();
  if (atom == 0) return 0;
  atom = GlobalDeleteAtom(atom);
  if (atom != 0) return 0;
  CloseIf(logEvent);
  CloseIf(logLock);
  return 1;
}

int LogAppendRaw(const wchar_t* text) {
  const ATOM atom = LogAtomSlot();
  if (atom == 0) return 0;
  wchar_t path[kLogPathMaxChars + 1];
  if (GlobalGetAtomNameW(atom, path, kLogPathMaxChars + 1) == 0) return 0;

  // Nothing is written while no process holds the lock object, that is while
  // no module has logging on.
  HANDLE lock = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLogLockName);
  if (lock == nullptr) return 0;
  const DWORD wait = WaitForSingleObject(lock, kLogLockTimeoutMs);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    CloseHandle(lock);
    return 0;
  }
  const int result = AppendToFile(path, text, static_cast<DWORD>(lstrlenW(text)));
  ReleaseMutex(lock);
  CloseHandle(lock);
  return result;
}

int LogWriteLine(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') return 0;
  if (LogAtomSlot() == 0) return 0;

  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t stamp[64];
  const int stampLen = wsprintfW(stamp, L"%.2d::%.2d::%.2d::%.4d %.2d-%.2d-%.4d ", t.wHour,
                                 t.wMinute, t.wSecond, t.wMilliseconds, t.wDay, t.wMonth, t.wYear);
  const int textLen = lstrlenW(text);
  const SIZE_T chars = static_cast<SIZE_T>(stampLen) + static_cast<SIZE_T>(textLen) + 3;
  HANDLE heap = GetProcessHeap();
  auto* line = static_cast<wchar_t*>(HeapAlloc(heap, 0, chars * sizeof(wchar_t)));
  if (line == nullptr) return LogAppendRaw(text);

  wchar_t* out = line;
  for (int i = 0; i < stampLen; ++i) *out++ = stamp[i];
  for (int i = 0; i < textLen; ++i) *out++ = text[i];
  *out++ = L'\r';
  *out++ = L'\n';
  *out = L'\0';
  const int result = LogAppendRaw(line);
  HeapFree(heap, 0, line);
  return result;
}

int LogWriteFormat(const wchar_t* format, ...) {
  if (LogAtomSlot() == 0) return 0;
  wchar_t text[1025];
  va_list args;
  va_start(args, format);
  wvsprintfW(text, format, args);
  va_end(args);
  return LogWriteLine(text);
}

}  // namespace ks
