#include "common/hotkey_text.h"

#include <gtest/gtest.h>

namespace ks {
namespace {

unsigned Code(const wchar_t* text) {
  const std::optional<Hotkey> hotkey = ParseHotkeyText(text);
  return hotkey ? hotkey->modifiers << 16 | hotkey->virtualKey : 0;
}

TEST(HotkeyText, ModifiersInAnyOrderAndCase_ThenOneKey_AnythingElseCannotBeParsed) {
  EXPECT_EQ(Code(L"Ctrl+Alt+W"), (kHotkeyCtrl | kHotkeyAlt) << 16 | 'W');
  EXPECT_EQ(Code(L" alt + CONTROL + w "), Code(L"Ctrl+Alt+W"));
  EXPECT_EQ(Code(L"Win+Shift+7"), (kHotkeyWin | kHotkeyShift) << 16 | '7');
  EXPECT_EQ(Code(L"F1"), 0x70u);
  EXPECT_EQ(Code(L"shift+f24"), kHotkeyShift << 16 | 0x87);
  EXPECT_EQ(Code(L"Ctrl+NumPad5"), kHotkeyCtrl << 16 | 0x65);
  EXPECT_EQ(Code(L"Ctrl+PageDown"), kHotkeyCtrl << 16 | 0x22);
  EXPECT_EQ(Code(L"Alt+space"), kHotkeyAlt << 16 | 0x20);
  for (const wchar_t* text :
       {L"", L" ", L"W", L"Shift+W", L"Ctrl", L"Ctrl+", L"+W", L"Ctrl++W", L"Ctrl+Ctrl+W", L"Ctrl+Alt", L"Ctrl+WW",
        L"Ctrl+F0", L"Ctrl+F25", L"Ctrl+F01", L"Hyper+W", L"Ctrl+Ж", L"Ctrl+NumPad10", L"W+Ctrl", L"Ctrl-Alt-W"}) {
    EXPECT_EQ(Code(text), 0u) << testing::PrintToString(std::wstring(text));
  }
}

}  // namespace
}  // namespace ks
