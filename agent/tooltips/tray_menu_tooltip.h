// The tooltips of the agent's tray menu: each item's body is the string with
// the item's own id (first line only), language items get a title and body of
// their own. Where the texts come from is handed in, so this module needs
// neither the agent's resources nor its language files.
#pragma once

#include <functional>
#include <string>

#include "agent/tooltips/menu_edge_tooltip.h"

namespace ks {

// Command ids of the language items.
constexpr UINT kFirstLanguageItem = 41000;
constexpr UINT kLastLanguageItem = 41099;

struct TrayTooltipTexts {
  // The string with this id, empty when there is none. Called on the delay
  // thread.
  std::function<std::wstring(UINT id)> loadString;
  // Title and body of a language item; left empty when not given.
  std::function<void(UINT id, std::wstring& title, std::wstring& text)> languageItem;
};

class TrayMenuTooltip : public MenuEdgeTooltip {
 public:
  explicit TrayMenuTooltip(TrayTooltipTexts texts);
  ~TrayMenuTooltip() override;

  void TextForItem(std::wstring& text, UINT item, HMENU menu, std::wstring& title) override;

 private:
  TrayTooltipTexts texts_;
};

}  // namespace ks
