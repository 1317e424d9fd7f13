#include "common/program_rules.h"

#include <algorithm>

#include "common/ascii.h"

namespace ks {
namespace {

constexpr wchar_t kOptionSeparator = L';';
constexpr wchar_t kSpeedOption[] = L"speed";
constexpr wchar_t kReverseOption[] = L"reverse";
constexpr wchar_t kScrollBarsOption[] = L"scrollbars";

// 0 unless the text is a decimal speed within the range; a long run of digits
// is no speed however it would end.
int ParseSpeed(std::wstring_view text) {
  if (text.empty() || text.size() > 4) return 0;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return 0;
    value = value * 10 + (c - L'0');
  }
  return value >= kMinRuleSpeed && value <= kMaxRuleSpeed ? value : 0;
}

// Whether the option is a "speed=" one, with blanks around "=" allowed.
bool IsSpeedOption(std::wstring_view option, std::wstring_view& number) {
  const size_t equals = option.find(L'=');
  if (equals == std::wstring_view::npos) return false;
  if (!EqualIgnoringAsciiCase(TrimProgramName(option.substr(0, equals)), kSpeedOption)) return false;
  number = TrimProgramName(option.substr(equals + 1));
  return true;
}

int ClampedSpeed(int speed) { return std::clamp(speed, kMinRuleSpeed, kMaxRuleSpeed); }

std::vector<std::wstring> RuleNames(const std::vector<ProgramRule>& rules) {
  std::vector<std::wstring> names;
  names.reserve(rules.size());
  for (const ProgramRule& rule : rules) names.push_back(rule.program);
  return names;
}

}  // namespace

ProgramRule ParseProgramRule(std::wstring_view program, std::wstring_view value) {
  ProgramRule rule;
  rule.program = TrimProgramName(program);
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(kOptionSeparator, start);
    if (end == std::wstring_view::npos) end = value.size();
    const std::wstring_view option = TrimProgramName(value.substr(start, end - start));
    start = end + 1;
    std::wstring_view number;
    if (option.empty()) continue;
    if (IsSpeedOption(option, number)) {
      // The last valid speed counts; an invalid one changes nothing.
      if (const int speed = ParseSpeed(number); speed != 0) rule.speed = speed;
    } else if (EqualIgnoringAsciiCase(option, kReverseOption)) {
      rule.reverse = true;
    } else if (EqualIgnoringAsciiCase(option, kScrollBarsOption)) {
      rule.scrollBars = true;
    } else {
      rule.otherOptions.emplace_back(option);
    }
  }
  return rule;
}

std::wstring FormatRuleOptions(const ProgramRule& rule) {
  std::wstring text = std::wstring(kSpeedOption) + L'=' + std::to_wstring(ClampedSpeed(rule.speed));
  if (rule.reverse) text += std::wstring(1, kOptionSeparator) + kReverseOption;
  if (rule.scrollBars) text += std::wstring(1, kOptionSeparator) + kScrollBarsOption;
  for (const std::wstring& option : rule.otherOptions) {
    // A kept option is one option again when read back.
    const std::wstring_view trimmed = TrimProgramName(option);
    if (trimmed.empty() || trimmed.find(kOptionSeparator) != std::wstring_view::npos) continue;
    text += kOptionSeparator;
    text += trimmed;
  }
  return text;
}

bool IsRuleProgramName(std::wstring_view name) {
  return IsProgramName(name) && name.find(L'=') == std::wstring_view::npos && name.front() != L'[';
}

std::vector<ProgramRule> RulesInForce(const std::vector<ProgramRule>& candidates) {
  std::vector<ProgramRule> rules;
  std::vector<std::wstring> names;
  for (const ProgramRule& candidate : candidates) {
    const std::wstring_view name = TrimProgramName(candidate.program);
    if (!IsRuleProgramName(name)) continue;
    const AddProgramResult added = AddProgram(names, name);
    if (added == AddProgramResult::ListFull) break;
    if (added != AddProgramResult::Added) continue;
    rules.push_back(candidate);
    rules.back().program = std::wstring(name);
  }
  return rules;
}

std::wstring FormatRulesForHook(const std::vector<ProgramRule>& rules) {
  std::wstring text;
  for (const ProgramRule& rule : rules) {
    if (!text.empty()) text += L';';
    const unsigned options = (rule.reverse ? kRuleReverseBit : 0u) | (rule.scrollBars ? kRuleScrollBarsBit : 0u);
    text += rule.program + L'|' + std::to_wstring(ClampedSpeed(rule.speed)) + L'|' + std::to_wstring(options);
  }
  return text;
}

bool SameRule(const ProgramRule& a, const ProgramRule& b) {
  return SameProgram(a.program, b.program) && ClampedSpeed(a.speed) == ClampedSpeed(b.speed) &&
         a.reverse == b.reverse && a.scrollBars == b.scrollBars && a.otherOptions == b.otherOptions;
}

const ProgramRule* FindRule(const std::vector<ProgramRule>& rules, std::wstring_view program) {
  const auto it = std::find_if(rules.begin(), rules.end(),
                               [&](const ProgramRule& rule) { return SameProgram(rule.program, program); });
  return it == rules.end() ? nullptr : &*it;
}

bool SameRules(const std::vector<ProgramRule>& a, const std::vector<ProgramRule>& b) {
  if (a.size() != b.size()) return false;
  const auto allIn = [](const std::vector<ProgramRule>& from, const std::vector<ProgramRule>& in) {
    return std::all_of(from.begin(), from.end(), [&](const ProgramRule& rule) {
      const ProgramRule* other = FindRule(in, rule.program);
      return other != nullptr && SameRule(rule, *other);
    });
  };
  return allIn(a, b) && allIn(b, a);
}

AddProgramResult AddRule(std::vector<ProgramRule>& rules, std::wstring_view program) {
  const std::wstring_view name = TrimProgramName(program);
  if (!IsRuleProgramName(name)) return AddProgramResult::NotAProgramName;
  std::vector<std::wstring> names = RuleNames(rules);
  const AddProgramResult added = AddProgram(names, name);
  if (added == AddProgramResult::Added) {
    rules.emplace_back();
    rules.back().program = std::wstring(name);
  }
  return added;
}

bool RemoveRule(std::vector<ProgramRule>& rules, std::wstring_view program) {
  const auto it = std::find_if(rules.begin(), rules.end(),
                               [&](const ProgramRule& rule) { return SameProgram(rule.program, program); });
  if (it == rules.end()) return false;
  rules.erase(it);
  return true;
}

}  // namespace ks
