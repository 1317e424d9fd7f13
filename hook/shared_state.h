// State that exists once for every process that maps the hook library: set in
// the agent's process, read by the hook procedure everywhere else.
//
// An image's shared section is one object for the whole machine, whichever
// user or session maps it, so the state is kept per logon session: each
// session that installs takes a slot of its own, and the hook procedure reads
// only its own session's slot.
#pragma once

#include <windows.h>

#include "common/hook_exports.h"

namespace ks {

// How many sessions one copy of the library serves at once; a session that
// finds every slot held by another one that still runs is refused.
constexpr DWORD kSessionSlots = 16;
// The programs left alone as their names lie in a slot, each followed by a
// terminator: as much as the settings hold (common/program_list.h).
constexpr DWORD kLeftAloneChars = 1024;

// The programs the wheel is left alone in. The agent rewrites them only
// between installs, but a process may still be reading while it does: the
// generation is odd during a write and grows by two with each, so a reader
// that sees it change, or odd, knows its copy may be torn.
struct LeftAloneState {
  LONG generation;
  DWORD leaveFullScreen;
  DWORD count;
  wchar_t names[kLeftAloneChars];
};

// The per-program wheel rules, kept as the programs left alone are: the
// names one after another, each followed by a terminator, beside them each
// one's rule (hook/program_rules.h), under the same kind of generation word.
static_assert(kMaxProgramRules == kMaxExcludedPrograms, "both lists are packed and searched alike");
struct ProgramRulesState {
  LONG generation;
  DWORD count;
  DWORD rules[kMaxProgramRules];
  wchar_t names[kLeftAloneChars];
};

struct SessionSlot {
  // The session id plus one; 0 while the slot is free. Changed only by an
  // interlocked exchange, so two sessions never take the same slot.
  LONG sessionKey;
  // The last process of the session that wrote the slot, and when it started:
  // another session may take the slot once that process has ended.
  DWORD holderProcessId;
  FILETIME holderStart;
  ATOM logAtom;      // the log writer's atom; 0 while logging is off
  HHOOK hookHandle;  // the system-wide hook; null while it is not installed
  // Nonzero while the installer hooks chosen threads one by one instead (the
  // companion: a hook of the other bitness would cost every program of the
  // agent's bitness a call into another process per message).
  DWORD servesThreads;
  DWORD hookFlags;  // flags of the last install
  // The process that made the installation, and when it started: the hook
  // dies with that process, while this section lives on in every program
  // that still maps the library. The start time tells a recycled id apart.
  DWORD installerProcessId;
  FILETIME installerStart;
  LeftAloneState leftAlone;
  ProgramRulesState programRules;
};

// The whole shared section, and nothing else lies in it.
struct SharedState {
  SessionSlot slots[kSessionSlots];
};

extern SharedState g_shared;

// This process's module handle of the library.
extern HINSTANCE g_dllInstance;

// The slot of this process's session, found once per process; null while its
// session has none. Every process can write the section, so a caller reads
// the slot's fields as untrusted.
SessionSlot* OwnSessionSlot();

// The slot of this process's session, taken when it has none: a free one, or
// one whose holder in another session has ended. Null when every slot is held.
// Only the exports call it, from the agent's or the companion's thread.
SessionSlot* ClaimSessionSlot();

// Makes this process the slot's holder: called whenever it writes the slot.
void HoldSlot(SessionSlot& slot);

// Which slot a pointer from OwnSessionSlot is, for caches kept per process.
DWORD SlotIndex(const SessionSlot* slot);

// Whether a recorded process still runs. Unknown when it may not be opened
// for another reason than having ended (one of another user, say).
enum class ProcessFate { Running, Ended, Unknown };
ProcessFate FateOf(DWORD processId, const FILETIME& start);
// The start time of this process, which tells it apart from a later one of
// the same id.
FILETIME OwnStartTime();

// Where the name is among the first count names packed in a slot (at most 32,
// within kLeftAloneChars), letter case aside; -1 when it is not.
int IndexOfPackedName(const wchar_t (&names)[kLeftAloneChars], DWORD count, const wchar_t* name);
// Appends a name of that many characters and its terminator at used, which
// grows past them; false, and nothing written, when they do not fit.
bool AppendPackedName(wchar_t (&names)[kLeftAloneChars], DWORD& used, const wchar_t* name, DWORD length);

// What the hook procedure reads of its session's slot on a wheel message.
DWORD SessionHookFlags();

}  // namespace ks
