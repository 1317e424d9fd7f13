#include "agent/tray/web_page_commands.h"

#include "agent/core/resource_ids.h"
#include "agent/localization/current_language.h"

namespace ks {

std::optional<WebPage> WebPageForCommand(unsigned commandId) {
  switch (commandId) {
    case ID_CMD_HOME_PAGE: return WebPage::Home;
    case ID_CMD_LEAFNOTE: return WebPage::Leafnote;
    case ID_CMD_KEYMARK: return WebPage::Keymark;
    case ID_CMD_SNIPDROP: return WebPage::Snipdrop;
    default: return std::nullopt;
  }
}

std::wstring AgentWebPageAddress(WebPage page) {
  // Looked up at every opening, so a language chosen meanwhile counts.
  return WebPageAddress(page, EditionForPrefix(LanguagePrefix()));
}

}  // namespace ks
