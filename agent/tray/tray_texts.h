// The texts of the tray icon: its tip, its balloon and the balloon's title,
// composed from the loaded words, the settings and the hook state. Pure string
// work, so every combination can be checked without a shell.
#pragma once

#include <cstddef>
#include <string>

#include "common/settings.h"

namespace ks {

// The words the texts are made of, as the string table (or a translation)
// gives them.
struct TrayWords {
  std::wstring caption;             // 2 "Kestrow Agent"
  std::wstring stateOn;             // 7 "On"
  std::wstring stateOff;            // 8 "OFF"
  std::wstring statePaused;         // 9 "Paused by Scroll Lock"
  std::wstring scrollHorizontally;  // 57666
  std::wstring onLeftButton;        // 57669
  std::wstring onRightButton;       // 57670
  std::wstring disabled;            // 57671
  std::wstring keyPrefix;           // 57675 "on"
};

// Caption, then " " and the version when there is one, then " - " and the
// host of the product's web site.
std::wstring ProductLine(const TrayWords& words, const std::wstring& shortVersion, const std::wstring& webHost);

// The paused word while the hook is installed but paused by Scroll Lock.
std::wstring StateWord(const TrayWords& words, bool hookInstalled, bool paused = false);

// "Scroll horizontally [on SHIFT, On left button]" for the horizontal-scroll
// options that are on, "[disabled]" for none; empty while the hook is off.
std::wstring HScrollDescription(const TrayWords& words, const Settings& settings, bool hookInstalled);

// Product line, "\n[", state word, "]", and "\n" with the description when
// there is one.
std::wstring TrayTip(const std::wstring& productLine, const std::wstring& stateWord, const std::wstring& description);

// State word, ", " with the description when there is one, "\n" with the extra
// line when there is one.
std::wstring BalloonText(const std::wstring& stateWord, const std::wstring& description, const std::wstring& extraLine);

// The first capacity - 1 characters of the text and a terminator, in a field
// of `capacity` characters.
void CopyCut(const std::wstring& text, wchar_t* field, size_t capacity);

}  // namespace ks
