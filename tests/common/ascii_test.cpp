#include "common/ascii.h"

#include <gtest/gtest.h>

namespace ks {
namespace {

TEST(EqualIgnoringAsciiCase, FoldsOnlyLatinLetters) {
  EXPECT_TRUE(EqualIgnoringAsciiCase(L"_popup_", L"_POPUP_"));
  EXPECT_FALSE(EqualIgnoringAsciiCase(L"_POPUP", L"_POPUP_"));
  EXPECT_FALSE(EqualIgnoringAsciiCase(L"\u0432", L"\u0412"));
  EXPECT_FALSE(EqualIgnoringAsciiCase(L"@", L"`"));
  // The neighbours of A to Z and a to z stay themselves.
  EXPECT_FALSE(EqualIgnoringAsciiCase("[", "{"));
  EXPECT_TRUE(EqualIgnoringAsciiCase("KERNEL32.dll", "kernel32.DLL"));
  EXPECT_EQ(AsciiLower('Z'), 'z');
  EXPECT_EQ(AsciiLower(L'\u00c9'), L'\u00c9');
}

TEST(EqualIgnoringAsciiCase, PrefixAndTerminatedStrings) {
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(L"HTTPS://www.x", L"https://"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(L"http", L"https://"));
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(L"", L""));
  EXPECT_TRUE(SameTerminatedString("TrayNotifyWnd", "TrayNotifyWnd"));
  EXPECT_FALSE(SameTerminatedString("traynotifywnd", "TrayNotifyWnd"));
  EXPECT_FALSE(SameTerminatedString("TrayNotify", "TrayNotifyWnd"));
  EXPECT_FALSE(SameTerminatedString("TrayNotifyWnd", "TrayNotify"));
}

}  // namespace
}  // namespace ks
