// The window messages of the settings program: the agent's configuration
// probe, the watcher's autorun-changed message and the page-changed message.
#pragma once

#include <windows.h>

namespace ks {

// Sent by the agent to find an open settings window; lParam is the sender's
// thread id.
constexpr wchar_t kConfigProbeMessageName[] = L"{35A60373-25E2-4504-9C0F-67C9A5C1A10A}";
// Posted by the Run-key watcher to the settings window. The name has an
// opening brace and no closing one.
constexpr wchar_t kAutorunChangedMessageName[] = L"{D2F1F1D8-F65C-4388-8B8F-E2EC32E9E18D";

// Posted by the page's event handler after a check box changed.
constexpr UINT kPageChangedMessage = WM_APP + 1;

// Registers both names; called once at start-up.
void RegisterConfigMessages();

UINT ConfigProbeMessage();
UINT AutorunChangedMessage();

}  // namespace ks
