// The tray icon's texts for each hook state and option set, and their cutting
// to the record's fixed fields.
#include <gtest/gtest.h>

#include "agent/tray/tray_texts.h"

namespace ks {
namespace {

TrayWords Words() {
  TrayWords w;
  w.caption = L"Kestrow Agent";
  w.stateOn = L"On";
  w.stateOff = L"OFF";
  w.scrollHorizontally = L"Scroll horizontally";
  w.onLeftButton = L"On left button";
  w.onRightButton = L"On right button";
  w.disabled = L"disabled";
  w.keyPrefix = L"on";
  return w;
}

TEST(TrayTexts, HookOff_TipHasTwoLinesAndBalloonOnlyTheStateWord) {
  Settings s;
  s.HScrollOnShift = 1;  // options do not show while the hook is off
  const std::wstring description = HScrollDescription(Words(), s, false);
  EXPECT_EQ(description, L"");
  EXPECT_EQ(TrayTip(L"P", StateWord(Words(), false), description), L"P\n[OFF]");
  EXPECT_EQ(BalloonText(L"OFF", description, L""), L"OFF");
  EXPECT_EQ(BalloonText(L"OFF", description, L"Exit from Kestrow"), L"OFF\nExit from Kestrow");
}

TEST(TrayTexts, HookOnWithoutOptions_SaysDisabled) {
  const std::wstring description = HScrollDescription(Words(), Settings(), true);
  EXPECT_EQ(description, L"Scroll horizontally [disabled]");
  EXPECT_EQ(TrayTip(L"P", L"On", description), L"P\n[On]\nScroll horizontally [disabled]");
  EXPECT_EQ(BalloonText(L"On", description, L""), L"On, Scroll horizontally [disabled]");
}

TEST(TrayTexts, Options_ListShiftCtrlLeftRightInThatOrder) {
  Settings s;
  s.HScrollOnShift = 1;
  s.HScrollOnRButton = 1;
  EXPECT_EQ(HScrollDescription(Words(), s, true), L"Scroll horizontally [on SHIFT, On right button]");
  s.HScrollOnCtrl = 1;
  s.HScrollOnLButton = 1;
  s.NoWheelIfMiddle = 1;  // not a horizontal option
  EXPECT_EQ(HScrollDescription(Words(), s, true),
            L"Scroll horizontally [on SHIFT, on CTRL, On left button, On right button]");
}

TEST(TrayTexts, ProductLine_LeavesOutAMissingVersion) {
  EXPECT_EQ(ProductLine(Words(), L"1.7.0.121", L"www.example"), L"Kestrow Agent 1.7.0.121 - www.example");
  EXPECT_EQ(ProductLine(Words(), L"", L"www.example"), L"Kestrow Agent - www.example");
}

TEST(TrayTexts, CopyCut_KeepsWhatFitsAndTerminatesInsideTheField) {
  wchar_t field[8];
  wmemset(field, L'#', 8);
  CopyCut(L"abc", field, 8);
  EXPECT_STREQ(field, L"abc");
  CopyCut(L"abcdefghijkl", field, 8);
  EXPECT_EQ(std::wstring(field), L"abcdefg");
  CopyCut(std::wstring(7, L'x'), field, 8);
  EXPECT_EQ(std::wstring(field), std::wstring(7, L'x'));

  wchar_t tip[128];
  CopyCut(std::wstring(300, L'y'), tip, 128);
  EXPECT_EQ(std::wstring(tip).size(), 127u);
}

}  // namespace
}  // namespace ks
