#include "agent/tray/start_with_windows.h"

#include "common/autorun.h"
#include "common/module_path.h"

namespace ks {

bool StartsWithWindows() { return IsAutorunRegistered(ModulePath()); }

void ToggleStartWithWindows() {
  const std::wstring agentPath = ModulePath();
  // Without its own path the agent could only write an empty value, which
  // would start nothing yet count as registered.
  if (agentPath.empty()) return;
  SetAutorunRegistered(!IsAutorunRegistered(agentPath), agentPath);
}

}  // namespace ks
