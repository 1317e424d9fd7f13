#include "hook/program_rules.h"

namespace ks {
namespace {

constexpr DWORD kNameChars = kMaxExcludedProgramName + 1;
constexpr DWORD kKnownOptions = RULE_REVERSE | RULE_SCROLLBARS;

// A decimal number of at most four digits from p up to end; false for
// anything else, so no value can overflow.
bool ReadDecimal(const wchar_t* p, const wchar_t* end, DWORD& value) {
  if (p == end || end - p > 4) return false;
  value = 0;
  for (; p != end; ++p) {
    if (*p < L'0' || *p > L'9') return false;
    value = value * 10 + static_cast<DWORD>(*p - L'0');
  }
  return true;
}

// One entry "NAME|SPEED|OPTIONS" from begin up to end: where its name ends
// and its rule; false when it is malformed or out of range.
bool ParseEntry(const wchar_t* begin, const wchar_t* end, const wchar_t*& nameEnd, DWORD& rule) {
  const wchar_t* bar = begin;
  while (bar != end && *bar != L'|') ++bar;
  const wchar_t* second = bar == end ? end : bar + 1;
  while (second != end && *second != L'|') ++second;
  DWORD speed = 0;
  DWORD options = 0;
  const DWORD length = static_cast<DWORD>(bar - begin);
  if (length == 0 || length >= kNameChars || second == end || !ReadDecimal(bar + 1, second, speed) ||
      !ReadDecimal(second + 1, end, options) || speed < 1 || speed > kMaxWheelSpeed ||
      (options & ~kKnownOptions) != 0) {
    return false;
  }
  nameEnd = bar;
  rule = speed | (options << 8);
  return true;
}

}  // namespace

void StoreProgramRules(SessionSlot& slot, const wchar_t* rules) {
  ProgramRulesState& state = slot.programRules;
  const LONG started = __atomic_fetch_or(&state.generation, 1, __ATOMIC_SEQ_CST) | 1;
  DWORD count = 0;
  DWORD used = 0;
  for (const wchar_t* p = rules; p != nullptr && *p != 0 && count < kMaxProgramRules;) {
    const wchar_t* end = p;
    while (*end != 0 && *end != L';') ++end;
    const wchar_t* nameEnd = nullptr;
    DWORD rule = 0;
    if (ParseEntry(p, end, nameEnd, rule)) {
      if (!AppendPackedName(state.names, used, p, static_cast<DWORD>(nameEnd - p))) break;
      state.rules[count] = rule;
      ++count;
    }
    p = *end == 0 ? end : end + 1;
  }
  state.count = count;
  __atomic_store_n(&state.generation, started + 1, __ATOMIC_RELEASE);
}

DWORD RuleOfProgram(const ProgramRulesState& state, const wchar_t* name, LONG& generation) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const LONG before = __atomic_load_n(&state.generation, __ATOMIC_ACQUIRE);
    if ((before & 1) != 0) continue;
    const int index = IndexOfPackedName(state.names, state.count, name);
    const DWORD rule = index >= 0 ? state.rules[index] : kPlainRule;
    __atomic_thread_fence(__ATOMIC_ACQUIRE);
    if (__atomic_load_n(&state.generation, __ATOMIC_RELAXED) == before) {
      generation = before;
      // What another process wrote there may be out of range.
      const bool valid = RuleSpeed(rule) >= 1 && RuleSpeed(rule) <= kMaxWheelSpeed && (rule >> 8) <= kKnownOptions;
      return valid ? rule : kPlainRule;
    }
  }
  generation = -1;
  return kPlainRule;
}

short RuledDistance(short distance, DWORD rule, bool reverseWheel) {
  const bool reverse = reverseWheel != ((RuleOptions(rule) & RULE_REVERSE) != 0);
  int ruled = (reverse ? -distance : distance) * static_cast<int>(RuleSpeed(rule));
  if (ruled > 32767) ruled = 32767;
  if (ruled < -32768) ruled = -32768;
  return static_cast<short>(ruled);
}

}  // namespace ks
