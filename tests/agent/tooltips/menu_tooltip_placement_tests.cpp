// Where the tooltip goes for an item rectangle, a tooltip size and a screen:
// the boundaries of each rule.
#include <gtest/gtest.h>

#include "agent/tooltips/menu_tooltip_placement.h"

namespace ks {
namespace {

constexpr ScreenSize kScreen = {1000, 600};
constexpr TipSize kTip = {150, 40};

TEST(TipBesideItem, ItemInLeftTwoThirds_TipRightOfItBelowBorder) {
  const TipPoint at = TipBesideItem({100, 50, 300, 70}, kTip, kScreen, 1, 2);
  EXPECT_EQ(at.x, 301);
  EXPECT_EQ(at.y, 52);
}

TEST(TipBesideItem, ItemEndingAtTwoThirds_TipLeftOfIt) {
  // Two thirds of 1000 with integer division: 666.
  EXPECT_EQ(TipBesideItem({400, 50, 665, 70}, kTip, kScreen, 1, 1).x, 666);
  EXPECT_EQ(TipBesideItem({400, 50, 666, 70}, kTip, kScreen, 1, 1).x, 400 - 150 - 1);
}

TEST(TipBesideItem, TipRunningOffBottom_EndsAtItemBottom) {
  // 40 + 560 + 1 = 601 > 600.
  EXPECT_EQ(TipBesideItem({100, 560, 300, 580}, kTip, kScreen, 1, 1).y, 580 - 40 - 1);
  // 40 + 559 + 1 = 600 fits.
  EXPECT_EQ(TipBesideItem({100, 559, 300, 579}, kTip, kScreen, 1, 1).y, 560);
}

TEST(TipAtScreenEdges, Room200Pixels_TipFlushRight) {
  EXPECT_EQ(TipAtScreenEdges({600, 50, 800, 70}, kTip, kScreen).x, 800);
  EXPECT_EQ(TipAtScreenEdges({600, 50, 801, 70}, kTip, kScreen).x, 600 - 150);
}

TEST(TipAtScreenEdges, TopWithin50OfBottom_TipBottomAtItemBottom) {
  EXPECT_EQ(TipAtScreenEdges({100, 550, 300, 570}, kTip, kScreen).y, 550);
  EXPECT_EQ(TipAtScreenEdges({100, 551, 300, 571}, kTip, kScreen).y, 571 - 40);
}

TEST(TipAtScreenEdges, BottomRightCorner_TipAboveLeft) {
  const TipPoint at = TipAtScreenEdges({850, 570, 1000, 590}, kTip, kScreen);
  EXPECT_EQ(at.x, 700);
  EXPECT_EQ(at.y, 550);
}

}  // namespace
}  // namespace ks
