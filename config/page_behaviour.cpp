#include "config/page_behaviour.h"

#include <array>

#include "config/build_stamp.h"
#include "common/autorun.h"
#include "common/file_check.h"
#include "common/file_version.h"
#include "common/module_path.h"
#include "common/web_open.h"
#include "config/config_messages.h"
#include "config/config_strings.h"
#include "config/excluded_programs_page.h"
#include "config/language_prefix.h"
#include "config/page_elements.h"
#include "config/program_rules_page.h"
#include "config/resource_ids.h"
#include "config/wide_utf8.h"

namespace ks {
namespace {

constexpr wchar_t kLogLink[] = L"LINK_TO_LOG_FILE";
constexpr UINT kControlCheckBox = 5;
constexpr UINT kControlRadio = 6;

struct BoxField {
  const wchar_t* id;
  int Settings::*field;
};

constexpr std::array<BoxField, 12> kSettingsBoxes = {{
    {L"CHECKBOX_BALLOON", &Settings::ShowBalloonOnStart},
    {L"CHECKBOX_START_AS_DISABLED", &Settings::StartAsDisabled},
    {L"CHECKBOX_WRITE_LOG", &Settings::WriteLog},
    {L"CHECKBOX_HS_SHIFT", &Settings::HScrollOnShift},
    {L"CHECKBOX_HS_CTRL", &Settings::HScrollOnCtrl},
    {L"CHECKBOX_HS_LBUTTON", &Settings::HScrollOnLButton},
    {L"CHECKBOX_HS_RBUTTON", &Settings::HScrollOnRButton},
    {L"CHECKBOX_NO_MIDDLE", &Settings::NoWheelIfMiddle},
    {L"CHECKBOX_FULLSCREEN", &Settings::LeaveFullScreen},
    {L"CHECKBOX_REVERSE_VERTICAL", &Settings::ReverseVertical},
    {L"CHECKBOX_REVERSE_HORIZONTAL", &Settings::ReverseHorizontal},
    {L"CHECKBOX_PAUSE_SCROLL_LOCK", &Settings::PauseWithScrollLock},
}};

bool ReadShortVersion(std::wstring& text) {
  FileVersion version;
  if (!ReadModuleVersion(nullptr, version)) return false;
  text = ShortProductVersion(version);
  return true;
}

// The id of a clicked button, or its text when it has none.
std::wstring ButtonName(HLELEMENT target) {
  std::wstring name = ElementAttribute(target, "id");
  if (name.empty()) name = FromUtf8(ElementInnerText(target));
  return name;
}

void OpenLink(HWND window, HLELEMENT target) {
  const std::wstring href = ElementAttribute(target, "href");
  // The lists' links change the page and open nothing.
  if (OnProgramLink(window, target, href) || OnRuleLink(window, target, href)) return;
  const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (href == kLogLink) {
    OpenLogFile(window);
  } else {
    // Only http, https and mailto reach the shell; anything else on the page
    // (or put there by a localisation sheet) is dropped.
    OpenPageLink(window, href, CurrentLanguageFile());
  }
  HTMLayoutSetElementState(target, HL_STATE_VISITED, 0, TRUE);
  SetCursor(previous);
}

}  // namespace

void FillCheckBoxes(HWND window) {
  const Settings& settings = GetSettings();
  for (const BoxField& box : kSettingsBoxes) SetCheckBox(window, box.id, settings.*box.field != 0);
  ShowProgramRows(window, settings.ExcludePrograms);
  ShowRuleRows(window, settings.ProgramRules);
}

void ReadCheckBoxes(HWND window, Settings& settings) {
  for (const BoxField& box : kSettingsBoxes) settings.*box.field = GetCheckBox(window, box.id) ? 1 : 0;
  ReadProgramRows(window, settings.ExcludePrograms);
  ReadRuleRows(window, settings.ProgramRules);
}

void RefreshAutorunBox(HWND window) {
  SetCheckBox(window, kAutorunBoxId, IsAutorunRegistered(AgentPathBesideModule()));
}

bool IsPageChanged(HWND window) {
  // What the page does not show (the lists on a page without them, the
  // hotkey) it does not change.
  Settings onPage = GetSettings();
  ReadCheckBoxes(window, onPage);
  if (!SettingsEqual(GetSettings(), onPage)) return true;
  return IsAutorunRegistered(AgentPathBesideModule()) != GetCheckBox(window, kAutorunBoxId);
}

void RefreshTitle(HWND window, std::wstring& versionText) {
  if (versionText.empty() && !ReadShortVersion(versionText)) return;
  const bool changed = IsPageChanged(window);
  const std::wstring title = LoadConfigString(IDS_CONFIG_NAME) + L" " + versionText + (changed ? L" *" : L"");
  SetWindowTextW(window, title.c_str());

  const ElementRef heading = FindElementById(window, L"theader");
  if (!heading) return;
  std::wstring html = LoadConfigString(IDS_SETTINGS_HEADING);
  if (changed) html += L" <SUP><SPAN ID=small_changed>" + LoadConfigString(IDS_CHANGED) + L"</SPAN></SUP>";
  ReplaceElementHtml(heading.get(), html, 1000);
  HTMLayoutUpdateElementEx(heading.get(), HL_UPDATE_MEASURE);
}

void ShowReleaseText(HWND window) {
  const ElementRef block = FindElementById(window, L"TEXT_COPY");
  if (!block) return;
  std::wstring version;
  if (!ReadShortVersion(version)) return;
  const std::wstring former = FromUtf8(ElementInnerHtml(block.get()));
  const std::wstring text = LoadConfigString(IDS_CONFIG_NAME) + L" " + version + L"<BR>Release: " KS_BUILD_DATE L" " +
                            KS_BUILD_TIME + L"<BR>" + former;
  ReplaceElementHtml(block.get(), text, 10000);
}

void OpenLogFile(HWND window) {
  const std::wstring path = ModuleDirectory() + L"LogFile.log";
  if (ShellSucceeded(ShellExecuteW(window, L"open", path.c_str(), nullptr, nullptr, SW_SHOW))) return;
  std::wstring text = LoadConfigString(IDS_CANNOT_OPEN_FILE) + L": " + path;
  if (!FileExists(path)) text += L"\n" + LoadConfigString(IDS_FILE_NOT_EXIST);
  MessageBeep(0xFFFFFFFF);
  const std::wstring caption = LoadConfigString(IDS_CONFIG_NAME);
  MessageBoxW(window, text.c_str(), caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
}

PageAction OnBehaviorEvent(HWND window, const HLBehaviorParams& event) {
  switch (event.cmd) {
    case HL_BUTTON_CLICK: {
      const std::wstring name = ButtonName(event.target);
      if (name == L"BUTTON_CANCEL") return PageAction::Discard;
      if (name == L"BUTTON_OK") return PageAction::Save;
      return OnRuleButton(window, name) ? PageAction::Handled : PageAction::NotHandled;
    }
    case HL_BUTTON_STATE_CHANGED: {
      // The title is refreshed once the renderer has finished with the click.
      UINT type = 0;
      if (HTMLayoutControlGetType(event.target, &type) == HL_OK &&
          (type == kControlCheckBox || type == kControlRadio)) {
        PostMessageW(window, kPageChangedMessage, 0, 0);
      }
      return PageAction::NotHandled;
    }
    case HL_HYPERLINK_CLICK | HL_SINKING: OpenLink(window, event.target); return PageAction::Handled;
    default: return PageAction::NotHandled;
  }
}

}  // namespace ks
