#include "agent/running_agent.h"

#include "agent/core/agent_messages.h"

namespace ks {

void SendToRunningAgent(UINT message) {
  HWND agent = FindWindowW(kAgentWindowClass, nullptr);
  if (agent == nullptr || !IsWindow(agent)) return;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(agent, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}

}  // namespace ks
