// The per-program wheel rules as the settings file holds them: one key per
// program file name in [Programs], its value a ";" list of options such as
// "speed=3;reverse;scrollbars". Portable, so it is tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/program_list.h"

namespace ks {

struct ProgramRule {
  std::wstring program;  // the key: a program file name
  int speed = 1;         // 1 to kMaxRuleSpeed
  bool reverse = false;
  bool scrollBars = false;
  std::vector<std::wstring> otherOptions;  // unknown options, as written
};

constexpr int kMinRuleSpeed = 1;
constexpr int kMaxRuleSpeed = 10;
// A rule's option bits in the text the hook library takes.
constexpr unsigned kRuleReverseBit = 0x1;
constexpr unsigned kRuleScrollBarsBit = 0x2;

// The rule a key and its value give. Options are separated by ";", blanks
// around them ignored, their names in any letter case; a "speed=" outside
// kMinRuleSpeed to kMaxRuleSpeed leaves the speed at 1 and is not kept, an
// empty option is dropped, any other unknown option is kept as written.
ProgramRule ParseProgramRule(std::wstring_view program, std::wstring_view value);

// The value written to the file: "speed=N", then "reverse" and "scrollbars"
// when set, then the unknown options in their order.
std::wstring FormatRuleOptions(const ProgramRule& rule);

// Whether a program name can be a key of the settings file: a program name
// (IsProgramName) that an INI line keeps whole, so with no "=" and not
// starting with "[".
bool IsRuleProgramName(std::wstring_view name);

// The rules in force from any candidates: names trimmed, in order, rules whose
// names are no key names and repeats dropped, stopping before the first whose
// name would pass kMaxListedPrograms names or kMaxProgramListText characters
// (as the programs left alone).
std::vector<ProgramRule> RulesInForce(const std::vector<ProgramRule>& candidates);

// The rules as the hook library takes them: "NAME|SPEED|OPTIONS" entries
// separated by ";", speed and option bits in decimal; the speed kept within
// its range.
std::wstring FormatRulesForHook(const std::vector<ProgramRule>& rules);

// Whether two rules say the same (the program's letter case aside).
bool SameRule(const ProgramRule& a, const ProgramRule& b);

// The same rules in any order, one per program.
bool SameRules(const std::vector<ProgramRule>& a, const std::vector<ProgramRule>& b);

// The rule of the program, or null.
const ProgramRule* FindRule(const std::vector<ProgramRule>& rules, std::wstring_view program);

// Appends a rule with the defaults for the name (trimmed), as AddProgram adds
// a name; NotAProgramName also for a name that can be no key.
AddProgramResult AddRule(std::vector<ProgramRule>& rules, std::wstring_view program);

// Removes the program's rule; false when it had none.
bool RemoveRule(std::vector<ProgramRule>& rules, std::wstring_view program);

}  // namespace ks
