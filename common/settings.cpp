#include "common/settings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "common/module_path.h"
#include "common/program_list.h"
#include "common/program_rules.h"
#include "common/settings_encoding.h"
#include "common/hook_flags.h"

namespace ks {

namespace {

constexpr wchar_t kSection[] = L"Misc";
constexpr wchar_t kProgramsSection[] = L"Programs";
constexpr wchar_t kFileName[] = L"settings.ini";
constexpr wchar_t kFirstRunKey[] = L"InstalledVersion_168";
constexpr wchar_t kLangFileKey[] = L"LangFile";
constexpr wchar_t kExcludeProgramsKey[] = L"ExcludePrograms";
constexpr wchar_t kLeaveFullScreenKey[] = L"LeaveFullScreen";
constexpr wchar_t kToggleHotkeyKey[] = L"ToggleHotkey";
// A hand-edited list may be far longer than the names in force; past this
// the rest cannot matter.
constexpr DWORD kMaxProgramListRead = 65536;
// The same for a hand-edited [Programs]: its rules in force come first.
constexpr DWORD kMaxProgramsSectionRead = 262144;

int ReadInt(const wchar_t* key, int fallback, const std::wstring& path) {
  return static_cast<int>(GetPrivateProfileIntW(kSection, key, fallback, path.c_str()));
}

bool WriteSectionText(const wchar_t* section, const wchar_t* key, const std::wstring& value, const std::wstring& path) {
  // A file that cannot be made ready is still written: its other values are
  // kept, only this one may lose characters. A program's name is a key, so
  // the key counts as much as the value.
  PrepareSettingsFileFor(path, std::wstring(section) + key + value);
  // Never a null value: that would delete the key instead of emptying it.
  return WritePrivateProfileStringW(section, key, value.c_str(), path.c_str()) != FALSE;
}

bool WriteText(const wchar_t* key, const std::wstring& value, const std::wstring& path) {
  return WriteSectionText(kSection, key, value, path);
}

void WriteInt(const wchar_t* key, int value, const std::wstring& path) { WriteText(key, std::to_wstring(value), path); }

// The whole value however long it is, up to kMaxProgramListRead characters;
// a value cut there loses its last, partial name.
std::vector<std::wstring> ReadProgramList(const std::wstring& path) {
  std::wstring buffer;
  for (DWORD size = 1024;; size *= 4) {
    buffer.assign(size, L'\0');
    const DWORD copied =
        GetPrivateProfileStringW(kSection, kExcludeProgramsKey, L"", buffer.data(), size, path.c_str());
    buffer.resize(copied);
    if (copied + 1 < size) break;
    if (size >= kMaxProgramListRead) {
      buffer.resize(
          buffer.find_last_of(kProgramSeparator) == std::wstring::npos ? 0 : buffer.find_last_of(kProgramSeparator));
      break;
    }
  }
  return ParseProgramList(buffer);
}

std::wstring ReadHotkeyText(const std::wstring& path) {
  wchar_t buffer[kMaxHotkeyText + 1] = {};
  GetPrivateProfileStringW(kSection, kToggleHotkeyKey, L"", buffer, static_cast<DWORD>(kMaxHotkeyText + 1),
                           path.c_str());
  return std::wstring(buffer, wcsnlen(buffer, kMaxHotkeyText));
}

// Every "key=value" line of [Programs] as a rule, in the file's order, up to
// kMaxProgramsSectionRead characters; a section cut there loses its last,
// partial line.
std::vector<ProgramRule> ReadProgramRules(const std::wstring& path) {
  std::wstring buffer;
  for (DWORD size = 4096;; size *= 4) {
    buffer.assign(size, L'\0');
    const DWORD copied = GetPrivateProfileSectionW(kProgramsSection, buffer.data(), size, path.c_str());
    // A buffer too small gives size - 2 characters, the last line cut.
    const bool cut = copied + 2 >= size;
    buffer.resize(std::min(copied, size));
    if (!cut) break;
    if (size >= kMaxProgramsSectionRead) {
      const size_t lastEnd = buffer.find_last_of(L'\0');
      buffer.resize(lastEnd == std::wstring::npos ? 0 : lastEnd);
      break;
    }
  }
  std::vector<ProgramRule> candidates;
  size_t start = 0;
  while (start < buffer.size()) {
    size_t end = buffer.find(L'\0', start);
    if (end == std::wstring::npos) end = buffer.size();
    const std::wstring_view line(buffer.data() + start, end - start);
    start = end + 1;
    const size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) continue;
    candidates.push_back(ParseProgramRule(line.substr(0, equals), line.substr(equals + 1)));
  }
  return RulesInForce(candidates);
}

void WriteRule(const ProgramRule& rule, const std::wstring& path) {
  WriteSectionText(kProgramsSection, rule.program.c_str(), FormatRuleOptions(rule), path);
}

void DeleteRule(const ProgramRule& rule, const std::wstring& path) {
  WritePrivateProfileStringW(kProgramsSection, rule.program.c_str(), nullptr, path.c_str());
}

}  // namespace

std::wstring SettingsFilePath() { return ModuleDirectory() + kFileName; }

Settings& GetSettings() {
  static Settings settings = [] {
    Settings loaded;
    LoadSettings(loaded, SettingsFilePath());
    return loaded;
  }();
  return settings;
}

bool LoadSettings() { return LoadSettings(GetSettings(), SettingsFilePath()); }
void ReadLangFile() { ReadLangFile(GetSettings(), SettingsFilePath()); }
bool SaveSettings() { return SaveSettings(GetSettings(), SettingsFilePath()); }
bool WriteLangFile() { return WriteLangFile(GetSettings(), SettingsFilePath()); }
bool CheckFirstRun() { return CheckFirstRun(SettingsFilePath()); }

bool LoadSettings(Settings& settings, const std::wstring& path) {
  // A key deleted from the file between two loads keeps its earlier value for
  // these three; the wheel keys fall back to off.
  settings.ShowBalloonOnStart = ReadInt(L"ShowBalloonOnStart", settings.ShowBalloonOnStart, path);
  settings.StartAsDisabled = ReadInt(L"StartAsDisabled", settings.StartAsDisabled, path);
  settings.WriteLog = ReadInt(L"WriteLog", settings.WriteLog, path);
  settings.HScrollOnShift = ReadInt(L"HScrollOnShift", 0, path);
  settings.HScrollOnCtrl = ReadInt(L"HScrollOnCtrl", 0, path);
  settings.HScrollOnRButton = ReadInt(L"HScrollOnRButton", 0, path);
  settings.HScrollOnLButton = ReadInt(L"HScrollOnLButton", 0, path);
  settings.NoWheelIfMiddle = ReadInt(L"NoWheelIfMiddle", 0, path);
  ReadLangFile(settings, path);
  settings.ExcludePrograms = ReadProgramList(path);
  settings.LeaveFullScreen = ReadInt(kLeaveFullScreenKey, 1, path);
  settings.ReverseVertical = ReadInt(L"ReverseVertical", 0, path);
  settings.ReverseHorizontal = ReadInt(L"ReverseHorizontal", 0, path);
  settings.PauseWithScrollLock = ReadInt(L"PauseWithScrollLock", 0, path);
  settings.ToggleHotkey = ReadHotkeyText(path);
  settings.ProgramRules = ReadProgramRules(path);
  return true;
}

void ReadLangFile(Settings& settings, const std::wstring& path) {
  settings.LangFile.clear();
  wchar_t buffer[kMaxLangFile + 1] = {};
  const DWORD copied =
      GetPrivateProfileStringW(kSection, kLangFileKey, L"", buffer, static_cast<DWORD>(kMaxLangFile + 1), path.c_str());
  // A longer value comes back cut to the buffer.
  if (copied >= 1) settings.LangFile.assign(buffer, wcsnlen(buffer, kMaxLangFile));
}

namespace {

struct IntKey {
  const wchar_t* key;
  int Settings::*field;
};

// In the order a new file gets them.
constexpr IntKey kSwitchKeys[] = {{L"ShowBalloonOnStart", &Settings::ShowBalloonOnStart},
                                  {L"StartAsDisabled", &Settings::StartAsDisabled},
                                  {L"WriteLog", &Settings::WriteLog},
                                  {L"HScrollOnCtrl", &Settings::HScrollOnCtrl},
                                  {L"HScrollOnShift", &Settings::HScrollOnShift},
                                  {L"HScrollOnLButton", &Settings::HScrollOnLButton},
                                  {L"HScrollOnRButton", &Settings::HScrollOnRButton},
                                  {L"NoWheelIfMiddle", &Settings::NoWheelIfMiddle},
                                  {L"ReverseVertical", &Settings::ReverseVertical},
                                  {L"ReverseHorizontal", &Settings::ReverseHorizontal},
                                  {L"PauseWithScrollLock", &Settings::PauseWithScrollLock}};

bool SwitchDiffers(int a, int b) { return (a != 0) != (b != 0); }

// The rules' keys as WriteKeys writes the others; a rule removed from the
// record is deleted from the file.
void WriteRules(const Settings* before, const Settings& settings, const std::wstring& path) {
  const std::vector<ProgramRule> rules = RulesInForce(settings.ProgramRules);
  const std::vector<ProgramRule> oldRules =
      before == nullptr ? std::vector<ProgramRule>{} : RulesInForce(before->ProgramRules);
  for (const ProgramRule& rule : rules) {
    const ProgramRule* old = FindRule(oldRules, rule.program);
    if (old == nullptr || !SameRule(*old, rule)) WriteRule(rule, path);
  }
  for (const ProgramRule& old : oldRules) {
    if (FindRule(rules, old.program) == nullptr) DeleteRule(old, path);
  }
}

// Every key when there is no record to compare with; otherwise the keys whose
// values differ from it, LangFile aside.
void WriteKeys(const Settings* before, const Settings& settings, const std::wstring& path) {
  for (const IntKey& k : kSwitchKeys) {
    if (before == nullptr || SwitchDiffers(before->*k.field, settings.*k.field)) {
      WriteInt(k.key, settings.*k.field, path);
    }
  }
  if (before == nullptr || before->ToggleHotkey != settings.ToggleHotkey) {
    WriteText(kToggleHotkeyKey, settings.ToggleHotkey.substr(0, kMaxHotkeyText), path);
  }
  WriteInt(kFirstRunKey, 1, path);
  if (before == nullptr) WriteLangFile(settings, path);
  if (before == nullptr || !SameProgramList(before->ExcludePrograms, settings.ExcludePrograms)) {
    WriteText(kExcludeProgramsKey, JoinProgramList(ProgramsInForce(settings.ExcludePrograms)), path);
  }
  if (before == nullptr || SwitchDiffers(before->LeaveFullScreen, settings.LeaveFullScreen)) {
    WriteInt(kLeaveFullScreenKey, settings.LeaveFullScreen, path);
  }
  WriteRules(before, settings, path);
}

}  // namespace

bool SaveSettings(const Settings& settings, const std::wstring& path) {
  WriteKeys(nullptr, settings, path);
  return true;
}

bool SaveChangedSettings(const Settings& before, const Settings& after, const std::wstring& path) {
  WriteKeys(&before, after, path);
  return true;
}

bool WriteLangFile(const Settings& settings, const std::wstring& path) {
  // Never more than a later read can take back.
  return WriteText(kLangFileKey, settings.LangFile.substr(0, kMaxLangFile), path);
}

bool CheckFirstRun(const std::wstring& path) {
  if (ReadInt(kFirstRunKey, 0, path) != 0) return false;
  WriteInt(kFirstRunKey, 1, path);
  return true;
}

bool SettingsEqual(const Settings& a, const Settings& b) {
  return a.HScrollOnCtrl == b.HScrollOnCtrl && a.HScrollOnShift == b.HScrollOnShift &&
         a.HScrollOnLButton == b.HScrollOnLButton && a.HScrollOnRButton == b.HScrollOnRButton &&
         a.ShowBalloonOnStart == b.ShowBalloonOnStart && a.StartAsDisabled == b.StartAsDisabled &&
         a.WriteLog == b.WriteLog && a.NoWheelIfMiddle == b.NoWheelIfMiddle && a.LeaveFullScreen == b.LeaveFullScreen &&
         a.ReverseVertical == b.ReverseVertical && a.ReverseHorizontal == b.ReverseHorizontal &&
         a.PauseWithScrollLock == b.PauseWithScrollLock && a.ToggleHotkey == b.ToggleHotkey &&
         SameProgramList(a.ExcludePrograms, b.ExcludePrograms) && SameRules(a.ProgramRules, b.ProgramRules);
}

uint32_t BuildHookFlags(const Settings& settings) {
  uint32_t flags = 0;
  if (settings.HScrollOnCtrl != 0) flags |= HOOK_HSCROLL_ON_CTRL;
  if (settings.HScrollOnShift != 0) flags |= HOOK_HSCROLL_ON_SHIFT;
  if (settings.HScrollOnLButton != 0) flags |= HOOK_HSCROLL_ON_LBUTTON;
  if (settings.HScrollOnRButton != 0) flags |= HOOK_HSCROLL_ON_RBUTTON;
  if (settings.NoWheelIfMiddle != 0) flags |= HOOK_NO_WHEEL_IF_MIDDLE;
  if (settings.ReverseVertical != 0) flags |= HOOK_REVERSE_VERTICAL;
  if (settings.ReverseHorizontal != 0) flags |= HOOK_REVERSE_HORIZONTAL;
  if (settings.PauseWithScrollLock != 0) flags |= HOOK_PAUSE_WITH_SCROLL_LOCK;
  return flags;
}

}  // namespace ks
