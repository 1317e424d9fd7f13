// The user's settings: the record, its INI file "settings.ini" beside the
// programs, and the hook flags word built from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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
};

constexpr size_t kMaxLangFile = 259;

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
// "ExcludePrograms" to none and "LeaveFullScreen" to 1. Returns true.
bool LoadSettings(Settings& settings, const std::wstring& path);
// "LangFile", at most kMaxLangFile characters; empty when missing or empty.
void ReadLangFile(Settings& settings, const std::wstring& path);
// Writes every key, the first-run marker as 1, "LangFile" and then the names
// in force of "ExcludePrograms" and "LeaveFullScreen". Write failures are
// ignored; returns true.
bool SaveSettings(const Settings& settings, const std::wstring& path);
// Writes only the keys whose values differ between before and after (the
// switches compared as on or off, the program lists as sets), and the
// first-run marker as 1; never "LangFile". So a window that shows the
// settings for a while undoes nothing another program wrote meanwhile.
// Write failures are ignored; returns true.
bool SaveChangedSettings(const Settings& before, const Settings& after, const std::wstring& path);
// Writes "LangFile" (an empty value when empty). Returns whether it was written.
bool WriteLangFile(const Settings& settings, const std::wstring& path);
// True only when the first-run marker is missing or 0; it is then written as 1.
bool CheckFirstRun(const std::wstring& path);

// Compares every field but LangFile; the program lists as sets of names.
bool SettingsEqual(const Settings& a, const Settings& b);

// HOOK_* bits of common/hook_flags.h, one per nonzero wheel field.
uint32_t BuildHookFlags(const Settings& settings);

}  // namespace ks
