// Which text source the tray tooltip asks for an item, and what it makes of
// the answer. No control is created: the texts are asked for directly.
#include <gtest/gtest.h>

#include <vector>

#include "agent/tooltips/tray_menu_tooltip.h"

namespace ks {
namespace {

// The ids each text source was asked for.
struct Calls {
  std::vector<UINT> strings;
  std::vector<UINT> languages;
};

TEST(TrayTooltipTexts, PlainItem_UsesFirstLineOfItsString) {
  Calls calls;
  TrayTooltipTexts texts;
  texts.loadString = [&calls](UINT id) {
    calls.strings.push_back(id);
    return std::wstring(L"Enable or disable Kestrow\nmore");
  };
  TrayMenuTooltip tooltip(std::move(texts));
  std::wstring text, title;
  tooltip.TextForItem(text, 40001, nullptr, title);
  EXPECT_EQ(text, L"Enable or disable Kestrow");
  EXPECT_EQ(title, L"");
  EXPECT_EQ(calls.strings, std::vector<UINT>{40001});
}

TEST(TrayTooltipTexts, LanguageRange_AsksLanguageSourceOnly) {
  Calls calls;
  TrayTooltipTexts texts;
  texts.loadString = [&calls](UINT id) {
    calls.strings.push_back(id);
    return std::wstring(L"string");
  };
  texts.languageItem = [&calls](UINT id, std::wstring& title, std::wstring& text) {
    calls.languages.push_back(id);
    title = L"Language file: x.lng";
    text = L"hint";
  };
  TrayMenuTooltip tooltip(std::move(texts));
  for (const UINT id : {41000u, 41001u, 41099u}) {
    std::wstring text, title;
    tooltip.TextForItem(text, id, nullptr, title);
    EXPECT_EQ(title, L"Language file: x.lng");
    EXPECT_EQ(text, L"hint");
  }
  EXPECT_EQ(calls.languages, (std::vector<UINT>{41000, 41001, 41099}));
  EXPECT_TRUE(calls.strings.empty());
  // Beyond the language range: an ordinary string id.
  std::wstring text, title;
  tooltip.TextForItem(text, 41100, nullptr, title);
  EXPECT_EQ(calls.strings, std::vector<UINT>{41100});
}

TEST(TrayTooltipTexts, ItemZeroOrMissingSources_GiveNothing) {
  Calls calls;
  TrayTooltipTexts texts;
  texts.loadString = [&calls](UINT id) {
    calls.strings.push_back(id);
    return std::wstring(L"string");
  };
  TrayMenuTooltip tooltip(std::move(texts));
  std::wstring text, title;
  tooltip.TextForItem(text, 0, nullptr, title);
  EXPECT_TRUE(calls.strings.empty());
  // No language source handed in: a language item has no text.
  tooltip.TextForItem(text, 41001, nullptr, title);
  EXPECT_EQ(text, L"");
  EXPECT_EQ(title, L"");
  TrayMenuTooltip empty{TrayTooltipTexts{}};
  empty.TextForItem(text, 40001, nullptr, title);
  EXPECT_EQ(text, L"");
}

}  // namespace
}  // namespace ks
