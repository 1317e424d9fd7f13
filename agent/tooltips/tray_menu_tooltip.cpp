#include "agent/tooltips/tray_menu_tooltip.h"

#include <utility>

#include "agent/tooltips/menu_tooltip_text.h"

namespace ks {

TrayMenuTooltip::TrayMenuTooltip(TrayTooltipTexts texts) : texts_(std::move(texts)) {}

// The text sources must outlive every delay thread that may still call them.
TrayMenuTooltip::~TrayMenuTooltip() { WaitForPendingShows(); }

void TrayMenuTooltip::TextForItem(std::wstring& text, UINT item, HMENU, std::wstring& title) {
  if (item == 0) return;
  if (item >= kFirstLanguageItem && item <= kLastLanguageItem) {
    if (texts_.languageItem) texts_.languageItem(item, title, text);
    return;
  }
  if (texts_.loadString) text = TooltipBodyFromString(texts_.loadString(item));
}

}  // namespace ks
