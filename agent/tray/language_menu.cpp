#include "agent/tray/language_menu.h"

#include <cwchar>

#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "agent/localization/language_files.h"
#include "agent/localization/localization.h"
#include "agent/tray/tray_icon.h"
#include "agent/tray/tray_menu.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/unique_handle.h"

namespace ks {

void BuildLanguageMenu(HMENU trayMenu) {
  RefreshLanguageFileList();
  const std::vector<std::wstring>& files = LanguageFileList();
  if (files.empty()) return;
  UniqueMenu languages(CreatePopupMenu());
  if (!languages) return;

  // Names, not paths: a setting that points at a copy elsewhere still marks
  // the file of the same name here.
  const std::wstring checkedName = FileNameOf(GetSettings().LangFile);
  for (size_t i = 0; i < files.size(); ++i) {
    const std::wstring name = FileNameOf(files[i]);
    const bool checked = !checkedName.empty() && _wcsicmp(name.c_str(), checkedName.c_str()) == 0;
    AppendMenuW(languages.get(), checked ? MF_CHECKED : MF_STRING, static_cast<UINT_PTR>(kFirstLanguageCommand + i),
                LanguageFileLabel(files[i]).c_str());
  }

  std::wstring label = LoadAgentString(IDS_LANGUAGE);
  MENUITEMINFOW item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_SUBMENU | MIIM_STRING;
  item.hSubMenu = languages.get();
  item.dwTypeData = label.data();
  // By command: wherever "Settings…" sits, the submenu goes right above it.
  if (InsertMenuItemW(trayMenu, ID_CMD_SETTINGS, FALSE, &item)) {
    // The tray menu owns it now and destroys it with itself.
    languages.release();
  }
}

bool ChooseLanguage(HWND window, UINT commandId) {
  if (commandId < kExampleLanguageCommand || commandId > kLastLanguageCommand) return false;
  const std::wstring path = LanguageFileForCommand(commandId);
  if (path.empty()) return true;

  GetSettings().LangFile = path;
  WriteLangFile();
  StopLocalization();
  StartLocalization(path);
  UpdateTrayIcon(TrayOperation::Modify, Balloon::No);
  ShowTrayMenu(window, RememberedMenuPoint());
  return true;
}

void LanguageItemTooltip(UINT commandId, std::wstring& title, std::wstring& text) {
  std::wstring name;
  if (commandId >= kExampleLanguageCommand && commandId <= kLastLanguageCommand) {
    name = FileNameOf(LanguageFileForCommand(commandId));
  }
  title = LoadAgentString(IDS_LANGUAGE_FILE) + L": " + name;
  text = LoadAgentString(IDS_LANGUAGE_FILE_HINT);
}

}  // namespace ks
