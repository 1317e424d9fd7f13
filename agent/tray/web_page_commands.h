// The tray menu's four web-page commands and the addresses they open, in the
// edition that follows the agent's language. No Windows headers: the mapping
// is tested anywhere.
#pragma once

#include <optional>
#include <string>

#include "common/web_links.h"

namespace ks {

// The page a command opens; nothing for any other command.
std::optional<WebPage> WebPageForCommand(unsigned commandId);

// Full address of the page in the edition of the current language.
std::wstring AgentWebPageAddress(WebPage page);

}  // namespace ks
