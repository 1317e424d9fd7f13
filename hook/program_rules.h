// The per-program wheel rules: set by the agent before each install, read by
// the hook procedure on wheel messages only.
#pragma once

#include <windows.h>

#include "hook/shared_state.h"

namespace ks {

// A program's rule in one word: its speed in the low byte (1 to
// kMaxWheelSpeed) and its RULE_* bits in the next. A program without a rule
// has the plain one: speed 1, no options.
constexpr DWORD kPlainRule = 1;
constexpr DWORD RuleSpeed(DWORD rule) { return rule & 0xFF; }
constexpr DWORD RuleOptions(DWORD rule) { return (rule >> 8) & 0xFF; }

// Puts the rules (KS_TDXProgramRules' text, null for none) in the session's
// slot, for every process of the session. Malformed entries are skipped, and
// names are kept within the bounds of the programs left alone.
void StoreProgramRules(SessionSlot& slot, const wchar_t* rules);

// The rule of the named program as of one whole generation, which is set;
// the plain rule when it has none, or when no whole copy could be read (the
// generation is then -1). Any process can write the rules, so every read
// stays inside them.
DWORD RuleOfProgram(const ProgramRulesState& state, const wchar_t* name, LONG& generation);

// A turn's distance under the rule: reversed when the wheel's switch or the
// rule says so (both: not), then multiplied, within the range of a short.
short RuledDistance(short distance, DWORD rule, bool reverseWheel);

}  // namespace ks
