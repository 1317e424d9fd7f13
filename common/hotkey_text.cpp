#include "common/hotkey_text.h"

#include "common/ascii.h"

namespace ks {
namespace {

struct NamedValue {
  const wchar_t* name;
  unsigned value;
};

constexpr NamedValue kModifiers[] = {{L"Ctrl", kHotkeyCtrl},
                                     {L"Control", kHotkeyCtrl},
                                     {L"Alt", kHotkeyAlt},
                                     {L"Shift", kHotkeyShift},
                                     {L"Win", kHotkeyWin}};

constexpr unsigned kF1 = 0x70;
constexpr unsigned kNumPad0 = 0x60;

constexpr NamedValue kNamedKeys[] = {{L"Space", 0x20}, {L"Enter", 0x0D},  {L"Return", 0x0D},     {L"Tab", 0x09},
                                     {L"Esc", 0x1B},   {L"Escape", 0x1B}, {L"Backspace", 0x08},  {L"Insert", 0x2D},
                                     {L"Ins", 0x2D},   {L"Delete", 0x2E}, {L"Del", 0x2E},        {L"Home", 0x24},
                                     {L"End", 0x23},   {L"PageUp", 0x21}, {L"PgUp", 0x21},       {L"PageDown", 0x22},
                                     {L"PgDn", 0x22},  {L"Left", 0x25},   {L"Up", 0x26},         {L"Right", 0x27},
                                     {L"Down", 0x28},  {L"Pause", 0x13},  {L"PrintScreen", 0x2C}};

std::wstring_view TrimBlanks(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  const size_t last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

// 0 unless the text is a decimal number from 1 to the largest, written
// without leading zeros.
unsigned SmallNumber(std::wstring_view text, unsigned largest) {
  if (text.empty() || text.size() > 2 || text[0] == L'0') return 0;
  unsigned value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return 0;
    value = value * 10 + static_cast<unsigned>(c - L'0');
  }
  return value <= largest ? value : 0;
}

bool IsFunctionKey(unsigned key) { return key >= kF1 && key < kF1 + 24; }

// The virtual-key code of a key's name; 0 for none.
unsigned KeyCode(std::wstring_view name) {
  if (name.size() == 1) {
    const wchar_t c = AsciiLower(name[0]);
    if (c >= L'a' && c <= L'z') return static_cast<unsigned>(c - L'a' + L'A');
    if (c >= L'0' && c <= L'9') return static_cast<unsigned>(c);
    return 0;
  }
  if (AsciiLower(name[0]) == L'f') {
    if (const unsigned n = SmallNumber(name.substr(1), 24)) return kF1 + n - 1;
  }
  if (StartsWithIgnoringAsciiCase(name, L"NumPad") && name.size() == 7) {
    const wchar_t digit = name[6];
    if (digit >= L'0' && digit <= L'9') return kNumPad0 + static_cast<unsigned>(digit - L'0');
  }
  for (const NamedValue& key : kNamedKeys) {
    if (EqualIgnoringAsciiCase(name, key.name)) return key.value;
  }
  return 0;
}

}  // namespace

std::optional<Hotkey> ParseHotkeyText(std::wstring_view text) {
  Hotkey hotkey;
  for (;;) {
    const size_t plus = text.find(L'+');
    const std::wstring_view part = TrimBlanks(text.substr(0, plus));
    if (part.empty()) return std::nullopt;
    if (plus == std::wstring_view::npos) {
      hotkey.virtualKey = KeyCode(part);
      break;
    }
    text.remove_prefix(plus + 1);
    unsigned modifier = 0;
    for (const NamedValue& m : kModifiers) {
      if (EqualIgnoringAsciiCase(part, m.name)) modifier = m.value;
    }
    if (modifier == 0 || (hotkey.modifiers & modifier) != 0) return std::nullopt;
    hotkey.modifiers |= modifier;
  }
  if (hotkey.virtualKey == 0) return std::nullopt;
  const bool guarded = (hotkey.modifiers & (kHotkeyCtrl | kHotkeyAlt | kHotkeyWin)) != 0;
  if (!guarded && !IsFunctionKey(hotkey.virtualKey)) return std::nullopt;
  return hotkey;
}

}  // namespace ks
