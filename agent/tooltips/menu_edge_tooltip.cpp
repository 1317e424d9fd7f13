#include "agent/tooltips/menu_edge_tooltip.h"

#include "agent/tooltips/menu_tooltip_placement.h"

namespace ks {

MenuEdgeTooltip::MenuEdgeTooltip() noexcept
    : screenWidth_(GetSystemMetrics(SM_CXSCREEN)), screenHeight_(GetSystemMetrics(SM_CYSCREEN)) {}

MenuEdgeTooltip::~MenuEdgeTooltip() = default;

void MenuEdgeTooltip::AdjustPosition(POINT& point, HMENU menu, UINT item) {
  RECT itemRect = {};
  for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
    if (GetMenuItemID(menu, position) == item) {
      GetMenuItemRect(MenuWindow(), menu, static_cast<UINT>(position), &itemRect);
      break;
    }
  }
  RECT tipRect = {};
  GetWindowRect(TooltipWindow(), &tipRect);
  const TipPoint at =
      TipAtScreenEdges({itemRect.left, itemRect.top, itemRect.right, itemRect.bottom},
                       {tipRect.right - tipRect.left, tipRect.bottom - tipRect.top}, {screenWidth_, screenHeight_});
  point = {at.x, at.y};
}

}  // namespace ks
