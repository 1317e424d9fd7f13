// The user's settings: the record, its INI file "settings.ini" beside the
// programs, and the hook flags word built from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/program_rules.h"

namespace ks {

struct Settings {
  // Integers: nonzero means on.
  int HScrollOnCtrl = 0;
  int HScrollOnShift = 0;
  int HScrollOnRButton = 0;
  int HScrollOnLButton = 0;
  int NoWheelIfMiddle = 0;
  int ShowBalloonOnStart = 1;
  int StartAsDisabled = 0;
  int WriteLog = 1;
  // Path of the chosen language file; at most kMaxLangFile characters are read
  // or written.
  std::wstring LangFile;
  // Programs the wheel is left alone in, by file name (common/program_list.h
  // says which names are in force).
  std::vector<std::wstring> ExcludePrograms;
  // Nonzero: every wheel turn goes on unchanged while a full-screen program
  // is in front.
  int LeaveFullScreen = 1;
  // Nonzero: every turn of that wheel goes the other way.
  int ReverseVertical = 0;
  int ReverseHorizontal = 0;
  // Nonzero: the wheel is left alone while the Scroll Lock light is on.
  int PauseWithScrollLock = 0;
  // A global hotkey that switches the wheel on or off, such as "Ctrl+Alt+W"
  // (common/hotkey_text.h); empty for none. At most kMaxHotkeyText
  // characters are read.
  std::wstring ToggleHotkey;
  // The rules of [Programs] in force (common/program_rules.h).
  std::vector<ProgramRule> ProgramRules;
};

constexpr size_t kMaxLangFile = 259;
constexpr size_t kMaxHotkeyText = 63;

// Module directory + "settings.ini".
std::wstring SettingsFilePath();

// The process-wide record: loaded from SettingsFilePath() on the first call,
// held in memory afterwards. Not for use before main() or from several threads
// at once.
Settings& GetSettings();

// The file operations on the process-wide record and SettingsFilePath().
bool LoadSettings();
void ReadLangFile();
bool SaveSettings();
bool WriteLangFile();
bool CheckFirstRun();

// The same operations on any record and settings file.
//
// Reads every key; "ShowBalloonOnStart", "StartAsDisabled" and "WriteLog" keep
// the record's value when missing, the wheel keys fall back to 0,
// "ExcludePrograms" to none, "LeaveFullScreen" to 1, "ToggleHotkey" to empty
// and [Programs] to no rules. Returns true.
bool LoadSettings(Settings& settings, const std::wstring& path);
// "LangFile", at most kMaxLangFile characters; empty when missing or empty.
void ReadLangFile(Settings& settings, const std::wstring& path);
// Writes every key, the first-run marker as 1, "LangFile", the names in force
// of "ExcludePrograms", "LeaveFullScreen", the reverse, Scroll Lock and hotkey
// keys, and a [Programs] key for every rule in force; other keys of
// [Programs] are left as they are. Write failures are ignored; returns true.
bool SaveSettings(const Settings& settings, const std::wstring& path);
// Writes only the keys whose values differ between before and after (the
// switches compared as on or off, the program lists as sets), and the
// first-run marker as 1; never "LangFile". A rule's key is written when the
// rule is new or changed and deleted when it was removed; keys neither record
// holds (those past the rules in force) are left as they are. So a window that shows the
// settings for a while undoes nothing another program wrote meanwhile.
// Write failures are ignored; returns true.
bool SaveChangedSettings(const Settings& before, const Settings& after, const std::wstring& path);
// Writes "LangFile" (an empty value when empty). Returns whether it was written.
bool WriteLangFile(const Settings& settings, const std::wstring& path);
// True only when the first-run marker is missing or 0; it is then written as 1.
bool CheckFirstRun(const std::wstring& path);

// Compares every field but LangFile; the program lists as sets of names, the
// rules as sets of rules.
bool SettingsEqual(const Settings& a, const Settings& b);

// HOOK_* bits of common/hook_flags.h, one per nonzero wheel field.
uint32_t BuildHookFlags(const Settings& settings);

}  // namespace ks
