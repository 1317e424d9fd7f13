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
  ks::GetSettings();  // loads the file, or the defaults without one
  INT_PTR ended = IDCANCEL;
  {
    ks::SettingsDialog dialog(instance);
    ended = dialog.Run();
  }
  // After OK the page's values are in the record; without a file the loaded
  // values (the defaults) create it.
  if (ended == IDOK || !ks::FileExists(ks::SettingsFilePath())) ks::SaveSettings();
  return 0;
}
