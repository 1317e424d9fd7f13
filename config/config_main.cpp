// Entry of KsConfig: one instance per logon session, the settings dialog run
// modally, and the settings saved once it has ended. Exit code 0, or 1 when
// another instance was running.
#include <windows.h>

#include "common/file_check.h"
#include "common/settings.h"
#include "config/config_messages.h"
#include "config/instance_guard.h"
#include "config/settings_dialog.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ks::RegisterConfigMessages();
  if (ks::ClaimConfigInstance() == ks::ConfigInstance::Second) {
    // Nothing else is touched: no settings read or written.
    ks::ShowAlreadyWorkMessage();
    return 1;
  }
  // Loads the file, or the defaults without one.
  const ks::Settings shown = ks::GetSettings();
  INT_PTR ended = IDCANCEL;
  {
    ks::SettingsDialog dialog(instance);
    ended = dialog.Run();
  }
  // After OK the page's values are in the record, and only what the user
  // changed is written: the agent may have written the file meanwhile (a
  // language chosen from the tray). Without a file the record (the page's
  // values, or the defaults) creates it.
  const std::wstring path = ks::SettingsFilePath();
  if (!ks::FileExists(path)) {
    ks::SaveSettings();
  } else if (ended == IDOK) {
    ks::SaveChangedSettings(shown, ks::GetSettings(), path);
  }
  return 0;
}
