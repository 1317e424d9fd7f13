#include "common/companion_command.h"

namespace ks {
namespace {

void AppendHex(std::wstring& out, const wchar_t* name, uint64_t value) {
  wchar_t digits[17];
  int n = 0;
  do {
    digits[n++] = L"0123456789abcdef"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  out += name;
  while (n > 0) out += digits[--n];
}

void AppendText(std::wstring& out, const wchar_t* name, const std::wstring& text) {
  if (!text.empty()) out += name + std::to_wstring(text.size()) + L":" + text;
}

bool ReadNumber(std::wstring_view& text, unsigned base, uint64_t limit, uint64_t& value) {
  value = 0;
  size_t used = 0;
  for (; used < text.size() && used < 16; ++used) {
    const wchar_t c = text[used];
    unsigned digit = 0;
    if (c >= L'0' && c <= L'9') {
      digit = static_cast<unsigned>(c - L'0');
    } else if (base == 16 && c >= L'a' && c <= L'f') {
      digit = static_cast<unsigned>(c - L'a' + 10);
    } else {
      break;
    }
    if (digit >= base || value > (limit - digit) / base) return false;
    value = value * base + digit;
  }
  text.remove_prefix(used);
  return used > 0;
}

}  // namespace

std::wstring FormatCompanionCommand(const CompanionCommand& command) {
  std::wstring out;
  AppendHex(out, L"/agent=", command.agentProcess);
  AppendHex(out, L" /ready=", command.readyEvent);
  AppendHex(out, L" /stop=", command.stopEvent);
  AppendHex(out, L" /flags=", command.hook.flags);
  AppendHex(out, L" /fullscreen=", command.hook.leaveFullScreen);
  AppendText(out, L" /log=", command.hook.logPath);
  AppendText(out, L" /programs=", command.hook.leftAlonePrograms);
  AppendText(out, L" /rules=", command.hook.programRules);
  return out;
}

bool ParseCompanionCommand(std::wstring_view text, CompanionCommand& command) {
  command = CompanionCommand();
  static constexpr std::wstring_view kNames[] = {L"/agent=", L"/ready=",      L"/stop=",     L"/flags=",
                                                 L"/log=",   L"/fullscreen=", L"/programs=", L"/rules="};
  constexpr size_t kCount = sizeof(kNames) / sizeof(kNames[0]);
  bool seen[kCount] = {};
  constexpr uint64_t kAny = ~uint64_t{0};
  while (!text.empty()) {
    if (text.front() == L' ') {
      text.remove_prefix(1);
      continue;
    }
    size_t which = 0;
    while (which < kCount && text.substr(0, kNames[which].size()) != kNames[which]) ++which;
    if (which == kCount || seen[which]) return false;
    seen[which] = true;
    text.remove_prefix(kNames[which].size());
    uint64_t value = 0;
    if (which == 4 || which == 6 || which == 7) {
      if (!ReadNumber(text, 10, 0x7FFF, value) || text.empty() || text.front() != L':') return false;
      text.remove_prefix(1);
      if (value > text.size()) return false;
      std::wstring& field = which == 4   ? command.hook.logPath
                            : which == 6 ? command.hook.leftAlonePrograms
                                         : command.hook.programRules;
      field.assign(text.substr(0, static_cast<size_t>(value)));
      text.remove_prefix(static_cast<size_t>(value));
      continue;
    }
    if (!ReadNumber(text, 16, which == 3 || which == 5 ? 0xFFFFFFFFu : kAny, value)) return false;
    if (!text.empty() && text.front() != L' ') return false;
    switch (which) {
      case 0: command.agentProcess = value; break;
      case 1: command.readyEvent = value; break;
      case 2: command.stopEvent = value; break;
      case 3: command.hook.flags = static_cast<uint32_t>(value); break;
      default: command.hook.leaveFullScreen = static_cast<uint32_t>(value); break;
    }
  }
  return seen[0] && seen[1] && seen[2] && seen[3] && seen[5] && command.agentProcess != 0 && command.readyEvent != 0 &&
         command.stopEvent != 0;
}

}  // namespace ks
