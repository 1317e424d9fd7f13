// The hook library's exports as its callers bind them by name: names,
// signatures and the limits of what they take. With the flags word
// (common/hook_flags.h) this is all the library and its callers share: header
// only, no runtime, so the library includes it too and nothing else of
// common/.
#pragma once

#include <windows.h>

namespace ks {

// KS_TDXInstall(logPath, flags): one system-wide hook with the flags word,
// logging to logPath (null: no log). KS_TDXInstallForThreads: the same
// installation, its hook then set by the caller on the threads it picks with
// KS_TDXHookThread. 1 installed, 0 refused.
using InstallFn = int(WINAPI*)(const wchar_t* logPath, DWORD flags);
constexpr char kInstallExport[] = "KS_TDXInstall";
constexpr char kInstallForThreadsExport[] = "KS_TDXInstallForThreads";

// KS_TDXHookThread(threadId): the hook on one thread, for the process that
// made an installation for threads; null otherwise.
using HookThreadFn = HHOOK(WINAPI*)(DWORD threadId);
constexpr char kHookThreadExport[] = "KS_TDXHookThread";

// KS_TDXUninstall(): 1 when this process's installation was removed.
using UninstallFn = int(WINAPI*)();
constexpr char kUninstallExport[] = "KS_TDXUninstall";

// The most names the library takes, and the longest name: the settings keep
// no more (common/program_list.h).
constexpr DWORD kMaxExcludedPrograms = 32;
constexpr DWORD kMaxExcludedProgramName = 259;

// KS_TDXLeaveAlone(programs, leaveFullScreen): programs is a zero-terminated
// list of program file names separated by ";" (null for none); names that
// are empty or too long are skipped, names past the 32nd ignored, and so is
// every name from the first that would take the kept names, each with one
// separator, past 1023 characters (as the settings keep them).
// leaveFullScreen nonzero leaves every wheel turn alone while a full-screen
// program is in front. Returns 1 when the list is in place, 0 while another
// live agent's hook is installed in this session (the values of an
// installation never change under it) or every session slot is held. The
// agent calls it before every install.
using LeaveAloneFn = int(WINAPI*)(const wchar_t* programs, DWORD leaveFullScreen);
constexpr char kLeaveAloneExport[] = "KS_TDXLeaveAlone";

// The most program rules the library takes (names within the same bounds as
// the programs left alone), the largest speed, and a rule's option bits.
constexpr DWORD kMaxProgramRules = 32;
constexpr DWORD kMaxWheelSpeed = 10;
constexpr DWORD RULE_REVERSE = 0x1;     // the program's turns go the other way
constexpr DWORD RULE_SCROLLBARS = 0x2;  // turns become scroll bar line messages

// KS_TDXProgramRules(rules): rules is a zero-terminated list of entries
// separated by ";" (null for none), each "NAME|SPEED|OPTIONS": a program file
// name, its speed in decimal (1 to kMaxWheelSpeed) and its RULE_* bits in
// decimal. Entries that are malformed or out of range are skipped; names count
// against the same limits as KS_TDXLeaveAlone's. Returns 1 when the rules are
// in place, 0 when refused as KS_TDXLeaveAlone is. The agent calls it before
// every install.
using ProgramRulesFn = int(WINAPI*)(const wchar_t* rules);
constexpr char kProgramRulesExport[] = "KS_TDXProgramRules";

}  // namespace ks
