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

// Lines dropped because the lock was busy, in every process that maps this
// module, until a line of one of them is written.
__attribute__((section("Shared"), shared)) LONG droppedLines = 0;

void CloseIf(HANDLE& h) {
  if (h != nullptr) {
    CloseHandle(h);
    h = nullptr;
  }
}

bool EndsWithLog(const wchar_t* path, int length) { return length >= 4 && lstrcmpiW(path + length - 4, L".log") == 0; }

// "LogFile.log" becomes "LogFile.old.log"; a name without ".log" gets ".old".
void OldLogPath(const wchar_t* path, wchar_t* out) {
  const int length = lstrlenW(path);
  const int stem = EndsWithLog(path, length) ? length - 4 : length;
  int at = 0;
  for (; at < stem; ++at) out[at] = path[at];
  for (const wchar_t* tail = L".old"; *tail != L'\0'; ++tail) out[at++] = *tail;
  for (int i = stem; i < length; ++i) out[at++] = path[i];
  out[at] = L'\0';
}

#ifdef KS_LOG_ONLY_BESIDE_MODULE
// Any process that maps the module can rewrite its shared atom, so the path it
// names is trusted only when it is "LogFile.log" beside the module itself.
bool PathAllowed(const wchar_t* path) {
  HMODULE self = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<const wchar_t*>(&PathAllowed), &self)) {
    return false;
  }
  wchar_t expected[MAX_PATH + 12];
  const DWORD length = GetModuleFileNameW(self, expected, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  DWORD dir = length;
  while (dir > 0 && expected[dir - 1] != L'\\' && expected[dir - 1] != L'/') --dir;
  for (const wchar_t* name = L"LogFile.log"; *name != L'\0'; ++name) expected[dir++] = *name;
  expected[dir] = L'\0';
  return lstrcmpiW(path, expected) == 0;
}
#else
bool PathAllowed(const wchar_t*) { return true; }
#endif

HANDLE CreateWithBom(const wchar_t* path, DWORD share) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, share, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  static const unsigned char kBom[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(file, kBom, sizeof kBom, &written, nullptr);
  return file;
}

// Writes all bytes of the text at the end of the file; creates the file with a
// byte-order mark when it does not exist. A file the text would take past
// kLogMaxBytes is first renamed to the old log, replacing an older one; the
// caller holds the lock, so no other writer's line falls between.
int AppendToFile(const wchar_t* path, const wchar_t* text, DWORD chars) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const DWORD bytes = chars * sizeof(wchar_t);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file, &size) && size.QuadPart + bytes > kLogMaxBytes) {
      CloseHandle(file);
      wchar_t old[kLogPathMaxChars + 8];
      OldLogPath(path, old);
      // When the rename fails (the file is held open elsewhere), the lines
      // keep going to the full file rather than being lost.
      file = MoveFileExW(path, old, MOVEFILE_REPLACE_EXISTING)
                 ? CreateWithBom(path, share)
                 : CreateFileW(path, GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
      if (file == INVALID_HANDLE_VALUE) return 0;
    }
  } else {
    file = CreateWithBom(path, share);
    if (file == INVALID_HANDLE_VALUE) return 0;
  }
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text, bytes, &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes ? 1 : 0;
}

// The time stamp and the blank that begin every line, into at least 64
// characters; returns its length.
int FormatStamp(wchar_t* out) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return wsprintfW(out, L"%.2d::%.2d::%.2d::%.4d %.2d-%.2d-%.4d ", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds,
                   t.wDay, t.wMonth, t.wYear);
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
  if (GlobalGetAtomNameW(atom, path, kLogPathMaxChars + 1) == 0 || !PathAllowed(path)) return 0;

  // Nothing is written while no process holds the lock object, that is while
  // no module has logging on.
  HANDLE lock = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLogLockName);
  if (lock == nullptr) return 0;
  const DWORD wait = WaitForSingleObject(lock, kLogLockTimeoutMs);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    CloseHandle(lock);
    __atomic_fetch_add(&droppedLines, 1, __ATOMIC_RELAXED);
    return 0;
  }
  const LONG dropped = __atomic_exchange_n(&droppedLines, 0, __ATOMIC_RELAXED);
  if (dropped > 0) {
    wchar_t note[128];
    int length = FormatStamp(note);
    length += wsprintfW(note + length, kLogDroppedFormat, static_cast<unsigned>(dropped));
    note[length++] = L'\r';
    note[length++] = L'\n';
    AppendToFile(path, note, static_cast<DWORD>(length));
  }
  const int result = AppendToFile(path, text, static_cast<DWORD>(lstrlenW(text)));
  ReleaseMutex(lock);
  CloseHandle(lock);
  return result;
}

int LogWriteLine(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') return 0;
  if (LogAtomSlot() == 0) return 0;

  wchar_t stamp[64];
  const int stampLen = FormatStamp(stamp);
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
