// Where a menu item tooltip goes, as plain geometry: the item's rectangle,
// the tooltip's size and the screen in, the tooltip's top-left corner out.
// No Windows headers, so the rules are checked natively as well.
#pragma once

namespace ks {

struct TipRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct TipSize {
  int width = 0;
  int height = 0;
};

struct TipPoint {
  int x = 0;
  int y = 0;
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// Beside the item, one border away: on its right while the item ends in the
// left two thirds of the screen, else on its left; lifted to end at the
// item's bottom when it would run off the bottom of the screen.
TipPoint TipBesideItem(const TipRect& item, TipSize tip, ScreenSize screen, int borderX, int borderY);

// Flush with the item: on its right unless fewer than 200 pixels are left up
// to the right screen edge, and at its top unless that top lies within 50
// pixels of the bottom edge, where the tooltip's bottom meets the item's.
TipPoint TipAtScreenEdges(const TipRect& item, TipSize tip, ScreenSize screen);

}  // namespace ks
