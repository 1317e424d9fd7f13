#include "agent/tooltips/menu_tooltip_placement.h"

namespace ks {
namespace {

// Room a tooltip needs on the right of an item, and the band above the
// bottom of the screen where it goes up instead of down.
constexpr int kRightRoom = 200;
constexpr int kBottomBand = 50;

}  // namespace

TipPoint TipBesideItem(const TipRect& item, TipSize tip, ScreenSize screen, int borderX, int borderY) {
  TipPoint at;
  at.y = item.top + borderY;
  if (item.right < (screen.width / 3) * 2) {
    at.x = item.right + borderX;
  } else {
    at.x = item.left - tip.width - borderX;
  }
  if (tip.height + at.y > screen.height) at.y = item.bottom - tip.height - borderY;
  return at;
}

TipPoint TipAtScreenEdges(const TipRect& item, TipSize tip, ScreenSize screen) {
  TipPoint at;
  at.x = item.right + kRightRoom <= screen.width ? item.right : item.left - tip.width;
  at.y = item.top + kBottomBand > screen.height ? item.bottom - tip.height : item.top;
  return at;
}

}  // namespace ks
