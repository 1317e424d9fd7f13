// The text of a global hotkey as the settings file holds it, such as
// "Ctrl+Alt+W": modifiers and one key joined by "+". Portable, so it is
// tested natively.
#pragma once

#include <optional>
#include <string_view>

namespace ks {

// The modifier bits and key codes RegisterHotKey takes.
constexpr unsigned kHotkeyAlt = 0x1;
constexpr unsigned kHotkeyCtrl = 0x2;
constexpr unsigned kHotkeyShift = 0x4;
constexpr unsigned kHotkeyWin = 0x8;

struct Hotkey {
  unsigned modifiers = 0;   // kHotkey* bits
  unsigned virtualKey = 0;  // the Windows virtual-key code
};

// Modifiers "Ctrl" (or "Control"), "Alt", "Shift" and "Win", each at most
// once, in any order and letter case, blanks around the parts ignored, then
// the key: A to Z, 0 to 9, F1 to F24, NumPad0 to NumPad9 or one of the named
// keys (Space, Enter, Tab, Esc, Backspace, Insert, Delete, Home, End, PageUp,
// PageDown, Up, Down, Left, Right, Pause, PrintScreen). A key other than a
// function key needs Ctrl, Alt or Win, so typing is never taken over.
// Nothing for any other text, the empty one included.
std::optional<Hotkey> ParseHotkeyText(std::wstring_view text);

}  // namespace ks
