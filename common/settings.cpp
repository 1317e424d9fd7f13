#include "common/settings.h"

#include <windows.h>

#include <cwchar>

#include "common/module_path.h"
#include "common/program_list.h"
#include "common/settings_encoding.h"
#include "common/hook_flags.h"

namespace ks {

namespace {

constexpr wchar_t kSection[] = L"Misc";
constexpr wchar_t kFileName[] = L"settings.ini";
constexpr wchar_t kFirstRunKey[] = L"InstalledVersion_168";
constexpr wchar_t kLangFileKey[] = L"LangFile";
constexpr wchar_t kExcludeProgramsKey[] = L"ExcludePrograms";
constexpr wchar_t kLeaveFullScreenKey[] = L"LeaveFullScreen";
// A hand-edited list may be far longer than the names in force; past this
// the rest cannot matter.
constexpr DWORD kMaxProgramListRead = 65536;

int ReadInt(const wchar_t* key, int fallback, const std::wstring& path) {
  return static_cast<int>(GetPrivateProfileIntW(kSection, key, fallback, path.c_str()));
}

bool WriteText(const wchar_t* key, const std::wstring& value, const std::wstring& path) {
  // A file that cannot be made ready is still written: its other values are
  // kept, only this one may lose characters.
  PrepareSettingsFileFor(path, value);
  // Never a null value: that would delete the key instead of emptying it.
  return WritePrivateProfileStringW(kSection, key, value.c_str(), path.c_str()) != FALSE;
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
                                  {L"NoWheelIfMiddle", &Settings::NoWheelIfMiddle}};

bool SwitchDiffers(int a, int b) { return (a != 0) != (b != 0); }

// Every key when there is no record to compare with; otherwise the keys whose
// values differ from it, LangFile aside.
void WriteKeys(const Settings* before, const Settings& settings, const std::wstring& path) {
  for (const IntKey& k : kSwitchKeys) {
    if (before == nullptr || SwitchDiffers(before->*k.field, settings.*k.field)) {
      WriteInt(k.key, settings.*k.field, path);
    }
  }
  WriteInt(kFirstRunKey, 1, path);
  if (before == nullptr) WriteLangFile(settings, path);
  if (before == nullptr || !SameProgramList(before->ExcludePrograms, settings.ExcludePrograms)) {
    WriteText(kExcludeProgramsKey, JoinProgramList(ProgramsInForce(settings.ExcludePrograms)), path);
  }
  if (before == nullptr || SwitchDiffers(before->LeaveFullScreen, settings.LeaveFullScreen)) {
    WriteInt(kLeaveFullScreenKey, settings.LeaveFullScreen, path);
  }
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
         SameProgramList(a.ExcludePrograms, b.ExcludePrograms);
}

uint32_t BuildHookFlags(const Settings& settings) {
  uint32_t flags = 0;
  if (settings.HScrollOnCtrl != 0) flags |= HOOK_HSCROLL_ON_CTRL;
  if (settings.HScrollOnShift != 0) flags |= HOOK_HSCROLL_ON_SHIFT;
  if (settings.HScrollOnLButton != 0) flags |= HOOK_HSCROLL_ON_LBUTTON;
  if (settings.HScrollOnRButton != 0) flags |= HOOK_HSCROLL_ON_RBUTTON;
  if (settings.NoWheelIfMiddle != 0) flags |= HOOK_NO_WHEEL_IF_MIDDLE;
  return flags;
}

}  // namespace ks
