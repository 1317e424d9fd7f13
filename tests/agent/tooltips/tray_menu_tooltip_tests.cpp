// The tray menu's tooltips as the user meets them: the menu is open, its
// selection moves with keys and the mouse, and the tooltip control is read.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "agent/core/resource_ids.h"
#include "tests/agent/tooltips/menu_host.h"
#include "tests/agent/tooltips/tooltip_probe.h"

namespace ks::test {
namespace {

// For failure messages: the tooltip texts are ASCII.
std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t c : text) narrow.push_back(c < 128 ? static_cast<char>(c) : '?');
  return narrow;
}

class TrayMenuTooltips : public testing::Test {
 protected:
  void SetUp() override {
    Host().ClearOverrides();
    Host().ClearTextRequests();
    ForgetTipMessages();
  }

  void TearDown() override {
    EXPECT_TRUE(Host().CloseMenu());
    EXPECT_TRUE(WaitFor([] { return Host().Tooltip().PendingShows() == 0; }));
  }

  HWND Tip() const { return Host().Tooltip().TooltipWindow(); }
  TipState Read() const { return ReadTip(Tip(), Host().Owner()); }

  // Waits until the tooltip shows with this title; the last state read.
  bool WaitShown(const std::wstring& title, TipState& state) {
    return WaitFor([&] {
      state = Read();
      return state.visible && state.title == title;
    });
  }

  bool WaitHidden() {
    return WaitFor([&] { return !IsWindowVisible(Tip()); });
  }

  int PositionOf(UINT item) const {
    const int count = GetMenuItemCount(Host().Popup());
    for (int position = 0; position < count; ++position) {
      if (GetMenuItemID(Host().Popup(), position) == item) return position;
    }
    return -1;
  }

  RECT ItemRect(UINT item) const {
    RECT rect = {};
    GetMenuItemRect(Host().MenuWindow(), Host().Popup(), static_cast<UINT>(PositionOf(item)), &rect);
    return rect;
  }

  void OpenAndRestOn(UINT item, const std::wstring& title, TipState& state, const MenuSetup& setup = {}) {
    ASSERT_TRUE(Host().OpenMenu(Host().Owner(), setup));
    ASSERT_TRUE(Host().SelectItem(item));
    ASSERT_TRUE(WaitShown(title, state)) << "visible " << state.visible << " title \"" << Narrow(state.title)
                                         << "\" text \"" << Narrow(state.text) << "\"";
  }
};

TEST_F(TrayMenuTooltips, RestingOnEnable_ShowsTitleWithInfoIconAndItsString) {
  TipState state;
  OpenAndRestOn(ID_CMD_ENABLE, L"Enable", state);
  EXPECT_EQ(state.text, L"Enable or disable Kestrow");
  const std::vector<TipTitleSet> titles = TitlesSet();
  ASSERT_FALSE(titles.empty());
  EXPECT_EQ(titles.back().title, L"Enable");
  EXPECT_EQ(titles.back().icon, static_cast<WPARAM>(TTI_INFO));
}

TEST_F(TrayMenuTooltips, MovingOnQuickly_ShowsOnlyTheItemRestedOn) {
  TipState state;
  // Eight items pass by, one key each, far quicker than the delay.
  OpenAndRestOn(ID_CMD_ENABLE, L"Enable", state);
  ASSERT_TRUE(WaitFor([] { return Host().Tooltip().PendingShows() == 0; }));
  EXPECT_EQ(Host().TextRequests(), std::vector<UINT>{ID_CMD_ENABLE});
  for (const TipActivation& activation : Activations()) {
    if (activation.on) {
      EXPECT_EQ(activation.title, L"Enable");
    }
  }
}

TEST_F(TrayMenuTooltips, SubMenuItem_HidesTheTip) {
  TipState state;
  OpenAndRestOn(ID_CMD_SETTINGS, L"Settings\u2026", state);
  ASSERT_TRUE(Host().PressKey(VK_UP));
  const MenuSelection last = Host().Selections().back();
  ASSERT_NE(last.flags & MF_POPUP, 0u) << "the Language item is right above Settings";
  EXPECT_TRUE(WaitHidden());
  EXPECT_EQ(Host().Tooltip().CurrentItem(), 0u);
}

TEST_F(TrayMenuTooltips, Separator_HidesTheTip) {
  TipState state;
  OpenAndRestOn(ID_CMD_ENABLE, L"Enable", state);
  // The separator between "Enable" and "Exit".
  ASSERT_TRUE(Host().HoverPosition(PositionOf(ID_CMD_ENABLE) + 1));
  const MenuSelection last = Host().Selections().back();
  EXPECT_TRUE(last.item == 0 || (last.flags & MF_SEPARATOR) != 0) << last.item << " " << last.flags;
  EXPECT_TRUE(WaitHidden());
  EXPECT_EQ(Host().Tooltip().CurrentItem(), 0u);
}

TEST_F(TrayMenuTooltips, ClosingTheMenu_HidesTheTip) {
  TipState state;
  OpenAndRestOn(ID_CMD_ENABLE, L"Enable", state);
  ASSERT_TRUE(Host().CloseMenu());
  EXPECT_TRUE(WaitHidden());
  EXPECT_EQ(Host().Tooltip().CurrentItem(), 0u);
}

TEST_F(TrayMenuTooltips, LongItemText_ShowsAsTitleOf97CharactersAndEllipsis) {
  std::wstring text;
  for (int i = 0; i < 120; ++i) text.push_back(static_cast<wchar_t>(L'a' + i % 26));
  MenuSetup setup;
  setup.homePageText = text;
  TipState state;
  OpenAndRestOn(ID_CMD_HOME_PAGE, text.substr(0, 97) + L"\u2026", state, setup);
  EXPECT_EQ(state.text, L"Visit to official web site of Kestrow");
}

TEST_F(TrayMenuTooltips, ItemWithoutString_ShowsDefaultBody) {
  Host().OverrideText(ID_CMD_HOME_PAGE, L"");
  TipState state;
  OpenAndRestOn(ID_CMD_HOME_PAGE, L"Kestrow On Internet", state);
  EXPECT_EQ(state.text, kDefaultBody);
}

TEST_F(TrayMenuTooltips, MultiLineString_ShowsItsFirstLine) {
  Host().OverrideText(ID_CMD_HOME_PAGE, L"First line\nSecond line");
  TipState state;
  OpenAndRestOn(ID_CMD_HOME_PAGE, L"Kestrow On Internet", state);
  EXPECT_EQ(state.text, L"First line");
}

TEST_F(TrayMenuTooltips, LanguageItem_ShowsFileNameTitleAndNotepadHint) {
  ASSERT_TRUE(Host().OpenMenu(Host().Owner(), {}));
  ASSERT_TRUE(Host().SelectItem(ID_CMD_SETTINGS));
  ASSERT_TRUE(Host().PressKey(VK_UP));
  // Into the sub-menu: its first item, Zulu.
  ASSERT_TRUE(Host().PressKey(VK_RIGHT));
  ASSERT_EQ(Host().Selections().back().item, 41001u);
  TipState state;
  ASSERT_TRUE(WaitShown(L"Language file: Zulu.lng", state)) << "title " << state.title.size();
  EXPECT_EQ(state.text, L"You may change this language to Your language on Windows Notepad ");
}

// Placement: the expected corner comes from the item's rectangle, the
// tooltip's size and the screen, and each case first checks that its item
// really lies where the rule it tests applies. The control anchors either its
// frame (Windows) or its text area (Wine, which puts the border outside the
// tracked point) at the point it is given; either counts.
class TooltipPlacement : public TrayMenuTooltips {
 protected:
  void ExpectPlacedAt(UINT item, const std::wstring& title, POINT menuAt, bool nearRight, bool nearBottom) {
    MenuSetup setup;
    setup.at = menuAt;
    TipState state;
    OpenAndRestOn(item, title, state, setup);
    if (HasFatalFailure()) return;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = ItemRect(item);
    ASSERT_EQ(r.right + 200 > screenWidth, nearRight) << r.right << " of " << screenWidth;
    ASSERT_EQ(r.top + 50 > screenHeight, nearBottom) << r.top << " of " << screenHeight;
    POINT expected = {};
    POINT window = {};
    POINT client = {};
    const bool placed = WaitFor([&] {
      state = Read();
      const int width = state.rect.right - state.rect.left;
      const int height = state.rect.bottom - state.rect.top;
      expected.x = nearRight ? r.left - width : r.right;
      expected.y = nearBottom ? r.bottom - height : r.top;
      window = {state.rect.left, state.rect.top};
      client = {0, 0};
      ClientToScreen(Tip(), &client);
      const auto at = [&](POINT p) { return p.x == expected.x && p.y == expected.y; };
      return state.visible && (at(window) || at(client));
    });
    EXPECT_TRUE(placed) << "tooltip frame at " << window.x << "," << window.y << ", text area at " << client.x << ","
                        << client.y << ", expected " << expected.x << "," << expected.y << "; item " << r.left << ","
                        << r.top << "-" << r.right << "," << r.bottom;
  }
};

TEST_F(TooltipPlacement, ItemFarFromEdges_GetsTipAtItsRightTop) {
  ExpectPlacedAt(ID_CMD_ENABLE, L"Enable", {20, 20}, false, false);
}

TEST_F(TooltipPlacement, ItemNearRightEdge_GetsTipOnItsLeft) {
  ExpectPlacedAt(ID_CMD_ENABLE, L"Enable", {GetSystemMetrics(SM_CXSCREEN) - 1, 20}, true, false);
}

TEST_F(TooltipPlacement, ItemNearBottomEdge_GetsTipBottomAtItsBottom) {
  ExpectPlacedAt(ID_CMD_EXIT, L"Exit", {20, GetSystemMetrics(SM_CYSCREEN) - 1}, false, true);
}

TEST_F(TooltipPlacement, ItemInBottomRightCorner_GetsTipAboveLeft) {
  ExpectPlacedAt(ID_CMD_EXIT, L"Exit", {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1}, true,
                 true);
}

}  // namespace
}  // namespace ks::test
