// The "Language" submenu of the tray menu as the user sees and uses it: the
// language files beside the agent, sorted and labelled, the chosen one
// checked, and a choice that is stored and shown at once.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/agent/agent_expectations.h"
#include "tests/agent/fake_tray_run.h"
#include "tests/agent/language_test_files.h"
#include "tests/agent/own_menu_picture.h"
#include "tests/agent/tray_user.h"
#include "tests/harness/agent_copy.h"

namespace ks::test {
namespace {

constexpr POINT kMenuPoint = {60, 60};

// From the menu's first state: up goes to the last item and on upwards over
// the separators, to "Language" right above "Settings…"; the right arrow
// opens it with its first item selected.
const std::vector<WORD> kOpenLanguage = {VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RIGHT};

class LanguageMenu : public testing::Test {
 protected:
  // Starts the agent with the language files beside it. The chosen file lies
  // elsewhere unless given, so the example file is not made beside the agent.
  void Start(const std::vector<std::pair<std::wstring, std::string>>& files, std::wstring langFile = {}) {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
    for (const auto& [name, text] : files) ASSERT_TRUE(WriteBytes(copy_.dir() + name, text));
    if (langFile.empty()) langFile = elsewhere_.File(L"none.lng");
    ASSERT_TRUE(copy_.WriteSettings("WriteLog=0\r\nShowBalloonOnStart=0\r\nLangFile=" + Narrow(langFile) + "\r\n"));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(tray_.WaitForRecords(1, kStartMs));
  }

  HWND OpenMenu() {
    EXPECT_TRUE(SetCursorPos(kMenuPoint.x, kMenuPoint.y));
    EXPECT_TRUE(PostTrayNotification(window_, WM_RBUTTONUP));
    HWND menu = WaitForPopupMenu(agent_.Id(), kStartMs);
    EXPECT_NE(menu, nullptr);
    PumpMessagesFor(300);
    return menu;
  }

  // The open "Language" submenu; null when it did not open.
  HWND OpenLanguageSubmenu() {
    HWND menu = OpenMenu();
    if (menu == nullptr) return nullptr;
    PressMenuKeys(menu, kOpenLanguage);
    const ULONGLONG end = GetTickCount64() + kStartMs;
    for (;;) {
      for (HWND popup : PopupMenusOf(agent_.Id())) {
        if (popup != menu) {
          PumpMessagesFor(300);  // drawn by then
          return popup;
        }
      }
      if (GetTickCount64() >= end) return nullptr;
      PumpMessagesFor(20);
    }
  }

  // Escape until no menu of the agent is open.
  bool CloseMenus() {
    const ULONGLONG end = GetTickCount64() + kStartMs;
    for (;;) {
      const std::vector<HWND> open = PopupMenusOf(agent_.Id());
      if (open.empty()) return true;
      if (GetTickCount64() >= end) return false;
      PressMenuKeys(open.front(), {VK_ESCAPE});
      PumpMessagesFor(200);
    }
  }

  std::vector<DWORD> SubmenuPicture(SIZE* size) {
    HWND submenu = OpenLanguageSubmenu();
    if (submenu == nullptr) return {};
    std::vector<DWORD> pixels = CaptureWindow(submenu, size);
    EXPECT_TRUE(CloseMenus());
    return pixels;
  }

  // Chooses the submenu item at the position with the keyboard.
  void ChooseItem(size_t position) {
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<WORD> keys = kOpenLanguage;
    keys.insert(keys.end(), position, static_cast<WORD>(VK_DOWN));
    keys.push_back(VK_RETURN);
    PressMenuKeys(menu, keys);
  }

  // The agent's pictures of its submenu and of a menu of this process with
  // the expected items must be the same.
  void ExpectSubmenuShows(const std::vector<OwnMenuItem>& items) {
    SIZE agentSize = {};
    const std::vector<DWORD> agentPicture = SubmenuPicture(&agentSize);
    ASSERT_FALSE(agentPicture.empty());
    SIZE ownSize = {};
    const std::vector<DWORD> ownPicture = OwnMenuPicture(items, &ownSize);
    ASSERT_FALSE(ownPicture.empty());
    EXPECT_EQ(agentSize.cx, ownSize.cx);
    EXPECT_EQ(agentSize.cy, ownSize.cy);
    EXPECT_TRUE(agentPicture == ownPicture) << "the submenu does not look as expected";
  }

  FakeTray tray_;
  AgentCopy copy_;
  TempDir elsewhere_;
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(LanguageMenu, Files_AreListedByCodeUnitsWithoutExtension) {
  Start({{L"Zulu.lng", ""},
         {L"english.lng", ""},
         {L"LocalizationExample.lng", ""},
         {L"notes.old.lng", ""},
         {L"readme.txt", ""}});
  ExpectSubmenuShows({{L"LocalizationExample"}, {L"Zulu"}, {L"english"}, {L"notes.old"}});
}

TEST_F(LanguageMenu, Items_CarryCommandsFrom41001InListOrder) {
  Start({{L"Zulu.lng", ""}, {L"english.lng", ""}, {L"LocalizationExample.lng", ""}});
  const std::vector<std::wstring> order = {L"LocalizationExample.lng", L"Zulu.lng", L"english.lng"};
  for (size_t position = 0; position < order.size(); ++position) {
    ChooseItem(position);
    EXPECT_TRUE(WaitForStoredLangFile(copy_, copy_.dir() + order[position], kStartMs)) << position;
    // The menu comes back after each choice.
    EXPECT_NE(WaitForPopupMenu(agent_.Id(), kStartMs), nullptr);
    ASSERT_TRUE(CloseMenus());
  }

  // The commands themselves, as the menu sends them.
  ASSERT_TRUE(PostMessageW(window_, WM_COMMAND, 41002, 0));
  EXPECT_TRUE(WaitForStoredLangFile(copy_, copy_.dir() + L"Zulu.lng", kStartMs));
  EXPECT_NE(WaitForPopupMenu(agent_.Id(), kStartMs), nullptr);
  ASSERT_TRUE(CloseMenus());
  ASSERT_TRUE(PostMessageW(window_, WM_COMMAND, 41000, 0));
  EXPECT_TRUE(WaitForStoredLangFile(copy_, copy_.dir() + L"LocalizationExample.lng", kStartMs));
  EXPECT_NE(WaitForPopupMenu(agent_.Id(), kStartMs), nullptr);
  ASSERT_TRUE(CloseMenus());

  // Past the end of the list: nothing stored, no menu (a menu would hold the
  // answer back).
  DWORD_PTR answer = 0;
  ASSERT_NE(SendMessageTimeoutW(window_, WM_COMMAND, 41004, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  EXPECT_EQ(StoredLangFile(copy_), copy_.dir() + L"LocalizationExample.lng");
  EXPECT_TRUE(PopupMenusOf(agent_.Id()).empty());
}

TEST_F(LanguageMenu, LangFileInAnotherDirectory_ChecksTheItemOfTheSameName) {
  // Only the name counts, in any letter case; the file elsewhere is the one
  // in use.
  const std::wstring chosen = elsewhere_.File(L"RUSSIAN.lng");
  ASSERT_TRUE(WriteBytes(chosen, ""));
  Start({{L"Russian.lng", ""}, {L"Zulu.lng", ""}}, chosen);
  ExpectSubmenuShows({{L"Russian", true}, {L"Zulu"}});
}

TEST_F(LanguageMenu, NoChosenFileOfThatName_ChecksNothing) {
  Start({{L"Russian.lng", ""}, {L"Zulu.lng", ""}});
  ExpectSubmenuShows({{L"Russian"}, {L"Zulu"}});
}

TEST_F(LanguageMenu, ChoosingALanguage_StoresItAndShowsMenuAndTipInItAtOnce) {
  // The translated "Enable" gets a mnemonic, so the reopened menu answers a
  // key that the built-in one ignores.
  Start({{L"Zulu.lng",
          "[Menu]\r\nEnable=&Qwerty\r\n[Strings]\r\n7=Zulu-On\r\n8=Zulu-Off\r\n57672=Zulu-"
          "Language\r\n"}});
  const std::wstring firstTip = tray_.Records().back().tip;
  ASSERT_NE(firstTip.find(L"[On]"), std::wstring::npos) << Narrow(firstTip);

  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  RECT first = {};
  ASSERT_TRUE(GetWindowRect(menu, &first));
  // "Q" means nothing to the built-in menu.
  PressMenuKeys(menu, {'Q'});
  PumpMessagesFor(300);
  ASSERT_EQ(PopupMenusOf(agent_.Id()).size(), 1u);
  const size_t records = tray_.Records().size();
  std::vector<WORD> keys = kOpenLanguage;
  keys.push_back(VK_RETURN);
  PressMenuKeys(menu, keys);

  EXPECT_TRUE(WaitForStoredLangFile(copy_, copy_.dir() + L"Zulu.lng", kStartMs));
  ASSERT_TRUE(tray_.WaitForRecords(records + 1, kStartMs));
  const TrayRecord refresh = tray_.Records()[records];
  EXPECT_EQ(refresh.operation, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_NE(refresh.tip.find(L"[Zulu-On]"), std::wstring::npos) << Narrow(refresh.tip);
  EXPECT_EQ(refresh.flags & NIF_INFO, 0u);

  // Reopened where it was, now in the new language.
  HWND reopened = WaitForPopupMenu(agent_.Id(), kStartMs);
  ASSERT_NE(reopened, nullptr);
  PumpMessagesFor(300);
  RECT again = {};
  ASSERT_TRUE(GetWindowRect(reopened, &again));
  EXPECT_EQ(again.left, first.left);
  EXPECT_EQ(again.top, first.top);
  PressMenuKeys(reopened, {'Q'});
  ASSERT_TRUE(tray_.WaitForRecords(records + 2, kStartMs));
  EXPECT_EQ(tray_.Records().back().info, L"Zulu-Off");
  EXPECT_TRUE(CloseMenus());
}

}  // namespace
}  // namespace ks::test
