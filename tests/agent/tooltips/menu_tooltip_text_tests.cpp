// Titles and bodies derived from menu texts and strings.
#include <gtest/gtest.h>

#include "agent/tooltips/menu_tooltip_text.h"

namespace ks {
namespace {

TEST(TooltipTitle, Ampersands_AreRemoved) { EXPECT_EQ(TooltipTitleFromMenuText(L"&Enable && go"), L"Enable  go"); }

TEST(TooltipTitle, ShortcutAfterTab_IsBracketed) {
  EXPECT_EQ(TooltipTitleFromMenuText(L"&Open\tCtrl+O"), L"Open\t[Ctrl+O]");
  // Only the first tab splits.
  EXPECT_EQ(TooltipTitleFromMenuText(L"A\tB\tC"), L"A\t[B\tC]");
}

TEST(TooltipTitle, LeadingTab_KeepsTextAsItIs) {
  EXPECT_EQ(TooltipTitleFromMenuText(L"\tCtrl+O"), L"\tCtrl+O");
  EXPECT_EQ(TooltipTitleFromMenuText(L"&\tCtrl+O"), L"\tCtrl+O");
}

TEST(TooltipTitle, UpTo97Characters_StaysWhole) {
  const std::wstring title(97, L'x');
  EXPECT_EQ(ShortenTooltipTitle(title), title);
  EXPECT_EQ(ShortenTooltipTitle(L""), L"");
}

TEST(TooltipTitle, LongerTitle_Keeps97CharactersAndEllipsis) {
  std::wstring title;
  for (int i = 0; i < 120; ++i) title.push_back(static_cast<wchar_t>(L'0' + i % 10));
  const std::wstring shown = ShortenTooltipTitle(title);
  EXPECT_EQ(shown.size(), 98u);
  EXPECT_EQ(shown, title.substr(0, 97) + L"\u2026");
  EXPECT_EQ(ShortenTooltipTitle(std::wstring(98, L'y')), std::wstring(97, L'y') + L"\u2026");
}

TEST(TooltipBody, StringWithLineBreak_ShowsFirstLine) { EXPECT_EQ(TooltipBodyFromString(L"One\nTwo\nThree"), L"One"); }

TEST(TooltipBody, StringStartingWithLineBreak_ShowsWhole) {
  EXPECT_EQ(TooltipBodyFromString(L"\nTwo"), L"\nTwo");
  EXPECT_EQ(TooltipBodyFromString(L"No break"), L"No break");
}

}  // namespace
}  // namespace ks
