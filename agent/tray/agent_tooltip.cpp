#include "agent/tray/agent_tooltip.h"

#include "agent/core/ui_text.h"
#include "agent/tray/language_menu.h"

namespace ks {

TrayMenuTooltip& AgentTooltip() {
  static TrayMenuTooltip tooltip(
      TrayTooltipTexts{[](UINT id) { return LoadAgentString(id); },
                       [](UINT id, std::wstring& title, std::wstring& text) { LanguageItemTooltip(id, title, text); }});
  return tooltip;
}

}  // namespace ks
