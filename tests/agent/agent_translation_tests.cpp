// The agent's texts in the language of its language file: the example file
// that fills itself when none is chosen, the Russian file's menu, tip,
// balloon and boxes, and a chosen path too long to be used.
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
#include "tests/agent/tray_user.h"
#include "tests/harness/agent_copy.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

class AgentTranslation : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tray_.Start());
    ASSERT_TRUE(copy_.ready());
  }

  void Start(const std::string& settings) {
    ASSERT_TRUE(copy_.WriteSettings(settings));
    ASSERT_TRUE(copy_.Start(agent_));
    window_ = WaitForAgentWindow(agent_.Id(), kStartMs);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(tray_.WaitForRecords(1, kStartMs));
  }

  void OpenAndCloseMenu() {
    ASSERT_TRUE(SetCursorPos(60, 60));
    ASSERT_TRUE(PostTrayNotification(window_, WM_RBUTTONUP));
    HWND menu = WaitForPopupMenu(agent_.Id(), kStartMs);
    ASSERT_NE(menu, nullptr);
    PumpMessagesFor(300);
    PressMenuKeys(menu, {VK_ESCAPE});
    const ULONGLONG end = GetTickCount64() + kEndMs;
    while (!PopupMenusOf(agent_.Id()).empty() && GetTickCount64() < end) PumpMessagesFor(20);
  }

  std::wstring RussianBeside(const AgentCopy& copy) {
    const std::wstring path = copy.dir() + L"Russian.lng";
    EXPECT_TRUE(CopyFileW(ShippedRussianFile().c_str(), path.c_str(), FALSE));
    return path;
  }

  FakeTray tray_;
  AgentCopy copy_;
  AgentProcess agent_;
  HWND window_ = nullptr;
};

TEST_F(AgentTranslation, EmptyLangFile_ExampleFileGetsOneMenuEntryPerItemText) {
  Start("WriteLog=0\r\nLangFile=\r\n");
  const std::wstring example = copy_.dir() + L"LocalizationExample.lng";
  OpenAndCloseMenu();
  const std::vector<std::wstring> menu = SectionLines(example, L"Menu");
  // Eight items with text; the wrapping popup and the separators stay out.
  EXPECT_EQ(menu.size(), 8u);
  for (const wchar_t* entry :
       {L"KESTROW_ON_INTERNET=Kestrow On Internet", L"START_WITH_WINDOWS=Start With Windows", L"Enable=Enable",
        L"Exit=Exit", L"KEYMARK_-_KEYBOARD_LAYOUT_INDICATOR=Keymark - Keyboard Layout Indicator"}) {
    EXPECT_EQ(std::count(menu.begin(), menu.end(), entry), 1) << Narrow(entry);
  }
  for (const std::wstring& line : menu) EXPECT_NE(line.rfind(L"_POPUP_", 0), 0u);
  // The tip's words went to "Strings" at start, untranslated.
  const std::vector<std::wstring> strings = SectionLines(example, L"Strings");
  EXPECT_EQ(std::count(strings.begin(), strings.end(), L"7=On"), 1);
  EXPECT_NE(tray_.Records().back().tip.find(L"[On]"), std::wstring::npos);
}

TEST_F(AgentTranslation, RussianFile_GivesRussianTipBalloonAndSecondInstanceBox) {
  const std::wstring russian = RussianBeside(copy_);
  Start("WriteLog=0\r\nShowBalloonOnStart=1\r\nLangFile=" + Narrow(russian) + "\r\n");
  const TrayRecord added = tray_.Records().front();
  EXPECT_EQ(added.operation, static_cast<DWORD>(NIM_ADD));
  EXPECT_NE(added.tip.find(L"[Вкл.]"), std::wstring::npos) << Narrow(added.tip);
  EXPECT_NE(added.tip.find(L"Горизонтальная прокрутка [выключена]"), std::wstring::npos);
  EXPECT_EQ(added.info.rfind(L"Вкл.", 0), 0u) << Narrow(added.info);

  AgentCopy second;
  ASSERT_TRUE(second.ready());
  const std::wstring secondRussian = RussianBeside(second);
  ASSERT_TRUE(second.WriteSettings("WriteLog=0\r\nLangFile=" + Narrow(secondRussian) + "\r\n"));
  AgentProcess late;
  ASSERT_TRUE(second.Start(late));
  HWND box = WaitForMessageBox(late.Id(), kStartMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Kestrow уже работает");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  ASSERT_TRUE(late.WaitForExit(kEndMs));
  EXPECT_EQ(late.ExitCode(), 1u);
}

TEST_F(AgentTranslation, LangFileOf1024Characters_LeavesTheBuiltInTexts) {
  // The first 259 characters, all a settings read can hold, name a real
  // Russian file: a path cut there would translate.
  std::wstring cut = copy_.dir();
  cut += std::wstring(259 - cut.size() - 4, L'R') + L".lng";
  ASSERT_EQ(cut.size(), 259u);
  ASSERT_TRUE(CopyFileW(ShippedRussianFile().c_str(), cut.c_str(), FALSE));
  const std::wstring chosen = cut + L"\\" + std::wstring(1100, L'x') + L".lng";
  Start("WriteLog=0\r\nShowBalloonOnStart=1\r\nLangFile=" + Narrow(chosen) + "\r\n");
  const TrayRecord added = tray_.Records().front();
  EXPECT_NE(added.tip.find(L"[On]"), std::wstring::npos) << Narrow(added.tip);
  EXPECT_EQ(added.info.rfind(L"On", 0), 0u) << Narrow(added.info);
  // Nothing translates, so nothing is written anywhere either.
  OpenAndCloseMenu();
  EXPECT_FALSE(FileExists(copy_.dir() + L"LocalizationExample.lng"));
}

}  // namespace
}  // namespace ks::test
