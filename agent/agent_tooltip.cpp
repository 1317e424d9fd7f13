#include "agent/agent_tooltip.h"

#include "agent/language_menu.h"
#include "agent/ui_text.h"

namespace ks {

TrayMenuTooltip& AgentTooltip() {
  static TrayMenuTooltip tooltip(TrayTooltipTexts{
      [](UINT id) { return LoadAgentString(id); },
      [](UINT id, std::wstring& title, std::wstring& text) { LanguageItemTooltip(id, title, text); }});
  return tooltip;
}

}  // namespace ks
