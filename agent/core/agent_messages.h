// The registered window messages through which the shell, other copies of the
// agent, the settings program and the agent's own threads talk to the agent
// window. Every party registers the same string and so gets the same number.
#pragma once

#include <windows.h>

namespace ks {

// The agent window's class: other processes find the running agent by it.
constexpr wchar_t kAgentWindowClass[] = L"KestrowTrayAgent";

constexpr wchar_t kTrayCallbackMessageName[] = L"{020A8F9B-DCDF-483f-8385-FB04571390D2}";
constexpr wchar_t kReloadMessageName[] = L"886C2831-8951-4ec5-BFDE-369FE359B72E";
constexpr wchar_t kExitMessageName[] = L"9A439D73-5532-4903-AF38-B4586724D853";
// 37 characters without a closing brace: every sender and receiver uses
// exactly this string.
constexpr wchar_t kShowMessageName[] = L"{C8530FA2-25AA-4f3a-A869-655E25113A2D";
constexpr wchar_t kTaskbarCreatedMessageName[] = L"TaskbarCreated";
constexpr wchar_t kTrayInstallMessageName[] = L"A3003B49D0AE44bbAD410169BDCC5287";
constexpr wchar_t kConfigProbeMessageName[] = L"{35A60373-25E2-4504-9C0F-67C9A5C1A10A}";

// Each registers its string on first use and then returns the same number;
// 0 when the registration failed.
UINT TrayCallbackMessage();
UINT ReloadMessage();
UINT ExitMessage();
UINT ShowMessage();
UINT TaskbarCreatedMessage();
UINT TrayInstallMessage();
UINT ConfigProbeMessage();

// Registers the two messages the agent must know before anything else runs:
// "TaskbarCreated" and the tray-install message.
void RegisterStartupMessages();

}  // namespace ks
