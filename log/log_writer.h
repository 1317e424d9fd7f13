// The shared diagnostic log: one UTF-16 file appended to by the agent and by
// the hook library from inside every hooked process.
//
// The file's path travels as the name of a global atom, so a writer in any
// process finds it without shared memory of its own. This code links no C or
// C++ runtime because the hook library is mapped into every GUI process.
#pragma once

#include <windows.h>

namespace ks {

// Where the calling module keeps its log atom: a field of that module's shared
// data section, defined by each module that links the writer.
ATOM& LogAtomSlot();

// Turns logging on with the full path of the log file. In the hook library,
// lines reach the file only when it is "LogFile.log" beside the library. 1 when this call turned
// it on; 0 when it was on already (the path in force stays) or the path is
// longer than kLogPathMaxChars.
int LogStart(const wchar_t* path);

// 1 when logging was on and is now off.
int LogStop();

int LogIsOn();

// Appends the time stamp, a blank, the text and CR LF. 1 when the whole line
// reached the file; 0 when logging is off, the text is empty, the write
// failed or the lock was not had in time (the line is then counted, and the
// module's next line that is written is preceded by how many were dropped).
int LogWriteLine(const wchar_t* text);

// Appends the text unchanged; 1 when every byte was written.
int LogAppendRaw(const wchar_t* text);

// wsprintf-style formatting into a line of at most 1024 characters; formats
// nothing while logging is off, so callers on hot paths pay one atom check.
int LogWriteFormat(const wchar_t* format, ...);

// The longest log path: writers read it back from the atom into a buffer of
// 255 characters with its terminator.
constexpr int kLogPathMaxChars = 254;

// A line that would take the file past this size first moves it to the old
// log ("LogFile.old.log" beside "LogFile.log"), so the log stays bounded.
constexpr long long kLogMaxBytes = 1024 * 1024;

// How long a writer waits for another writer before it drops its line. The
// hook library writes from GUI threads of other programs on every wheel
// turn, and any program of the user can hold the lock: it never waits.
#ifdef KS_LOG_NEVER_WAITS
constexpr DWORD kLogLockTimeoutMs = 0;
#else
constexpr DWORD kLogLockTimeoutMs = 500;
#endif

// Names of the objects every writer in every process shares. The lock is the
// logon session's own, so another signed-in user can neither hold it nor
// take turns with this one.
constexpr const wchar_t* kLogSyncEventName = L"Global\\LogKestrowSyncEvent";
constexpr const wchar_t* kLogLockName = L"Local\\LogKestrowSyncMutex";

// The line written before the next one after lines were dropped for a busy
// lock; %u is how many.
constexpr const wchar_t* kLogDroppedFormat = L"%u log lines dropped: the log was busy";

}  // namespace ks
