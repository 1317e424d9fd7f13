// The library's third export, which tells it which programs to leave alone:
// the agent calls it before every install. Header only, no runtime.
#pragma once

#include <windows.h>

namespace ks {

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
// installation never change under it) or every session slot is held.
using LeaveAloneFn = int(WINAPI*)(const wchar_t* programs, DWORD leaveFullScreen);
constexpr char kLeaveAloneExport[] = "KS_TDXLeaveAlone";

}  // namespace ks
