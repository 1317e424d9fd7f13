#include "config/instance_guard.h"

#include <windows.h>

#include "common/unique_handle.h"
#include "config/config_strings.h"
#include "config/resource_ids.h"

namespace ks {

ConfigInstance ClaimConfigInstance() {
  // Never closed: the process holds the mutex until it ends.
  static UniqueKernelHandle held;
  UniqueKernelHandle created(CreateMutexW(nullptr, TRUE, kConfigMutexName));
  if (created) {
    if (GetLastError() == ERROR_ALREADY_EXISTS) return ConfigInstance::Second;
    held = std::move(created);
    return ConfigInstance::First;
  }
  // Creation can fail because the mutex exists but is not ours to own (made
  // with other rights); it is still there to be found.
  const UniqueKernelHandle other(OpenMutexW(SYNCHRONIZE, FALSE, kConfigMutexName));
  return other ? ConfigInstance::Second : ConfigInstance::Unguarded;
}

void ShowAlreadyWorkMessage() {
  const std::wstring text = LoadConfigString(IDS_CONFIG_NAME) + L" " + LoadConfigString(IDS_ALREADY_WORK) + L".";
  const std::wstring caption = ProgramBaseName();
  MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONINFORMATION | MB_OK);
}

}  // namespace ks
