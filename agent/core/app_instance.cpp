#include "agent/core/app_instance.h"

namespace ks {
namespace {

HINSTANCE appInstance = nullptr;
HWND agentWindow = nullptr;

}  // namespace

void SetAppInstance(HINSTANCE instance) { appInstance = instance; }

HINSTANCE AppInstance() { return appInstance != nullptr ? appInstance : GetModuleHandleW(nullptr); }

void SetAgentWindow(HWND window) { agentWindow = window; }

HWND AgentWindow() { return agentWindow; }

}  // namespace ks
