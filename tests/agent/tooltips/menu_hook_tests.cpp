// The thread hook: menus that a child window of the owner tracks drive the
// owner's tooltip; menus of windows outside the owner's family do not.
#include <gtest/gtest.h>

#include <algorithm>

#include "agent/core/resource_ids.h"
#include "agent/tooltips/menu_tooltip_hook.h"
#include "tests/agent/tooltips/menu_host.h"
#include "tests/agent/tooltips/tooltip_probe.h"

namespace ks::test {
namespace {

class MenuHook : public testing::Test {
 protected:
  void SetUp() override { Host().ClearTextRequests(); }
  void TearDown() override {
    EXPECT_TRUE(Host().CloseMenu());
    EXPECT_TRUE(WaitFor([] { return Host().Tooltip().PendingShows() == 0; }));
  }

  static size_t SelectionsOf(HWND window, UINT item) {
    const std::vector<MenuSelection> all = Host().Selections();
    return static_cast<size_t>(std::count_if(
        all.begin(), all.end(), [&](const MenuSelection& s) { return s.window == window && s.item == item; }));
  }
};

TEST_F(MenuHook, ChildWindowMenu_DrivesOwnersTooltip) {
  ASSERT_TRUE(Host().OpenMenu(Host().Child(), {}));
  const size_t before = SelectionsOf(Host().Owner(), ID_CMD_ENABLE);
  ASSERT_TRUE(Host().SelectItem(ID_CMD_ENABLE));
  EXPECT_EQ(SelectionsOf(Host().Owner(), ID_CMD_ENABLE), before + 1);
  TipState state;
  EXPECT_TRUE(WaitFor([&] {
    state = ReadTip(Host().Tooltip().TooltipWindow(), Host().Owner());
    return state.visible && state.title == L"Enable";
  }));
  EXPECT_EQ(state.text, L"Enable or disable Kestrow");
}

TEST_F(MenuHook, UnrelatedWindowMenu_LeavesTooltipAlone) {
  ASSERT_TRUE(Host().OpenMenu(Host().Stranger(), {}));
  const size_t before = SelectionsOf(Host().Owner(), ID_CMD_ENABLE);
  // The hook runs before the window gets the message, so once the stranger
  // has it, a forward to the owner would already have happened.
  ASSERT_TRUE(Host().SelectItem(ID_CMD_ENABLE));
  EXPECT_EQ(SelectionsOf(Host().Owner(), ID_CMD_ENABLE), before);
  EXPECT_EQ(Host().Tooltip().CurrentItem(), 0u);
  EXPECT_EQ(Host().Tooltip().PendingShows(), 0);
}

TEST_F(MenuHook, SecondInstall_IsRefused) {
  // The host thread installed the one hook of the program at start-up.
  EXPECT_FALSE(InstallMenuHook(Host().Stranger()));
}

}  // namespace
}  // namespace ks::test
