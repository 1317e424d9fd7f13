// One settings program under test: its own copy in a scratch directory, the
// Run value "KestrowAgent" saved and cleared for the test and restored after
// it, the process started and its window found.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/harness/config_copy.h"
#include "tests/harness/window_search.h"

namespace ks::test {

constexpr DWORD kWindowMs = 30000;
constexpr DWORD kReactMs = 10000;

// "Kestrow Config 1.6.9.145", with " *" when the page is changed.
inline std::wstring Title(bool changed) { return std::wstring(L"Kestrow Config 1.6.9.145") + (changed ? L" *" : L""); }

class ConfigSession : public testing::Test {
 protected:
  // Starts the copy and waits for its window; null (and a failure) when the
  // window did not come up.
  HWND StartConfig() {
    if (!copy.ready() || !copy.Start(process)) {
      ADD_FAILURE() << "KsConfig did not start";
      return nullptr;
    }
    HWND window = WaitForSettingsWindow(process.Id(), kWindowMs);
    if (window == nullptr) {
      ADD_FAILURE() << "settings window did not appear";
      return nullptr;
    }
    // The first title refresh comes right after the page is loaded.
    if (!WaitForTitle(window, Title(false), kReactMs) && !WaitForTitle(window, Title(true), 0)) {
      ADD_FAILURE() << "unexpected title " << Narrow(WindowText(window));
    }
    return window;
  }

  bool Ended() { return process.WaitForExit(kReactMs); }

  // Clicks the element and fails the test when it is not on the page.
  void Click(HWND window, const std::wstring& id) { EXPECT_TRUE(ClickElement(window, id)) << Narrow(id); }

  // A settings key as the file holds it, -1 when missing.
  int Key(const wchar_t* name) const {
    return static_cast<int>(GetPrivateProfileIntW(L"Misc", name, -1, copy.SettingsPath().c_str()));
  }

  // A rule's value as the file holds it, "?" when the key is missing.
  std::wstring RuleValue(const wchar_t* program) const {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Programs", program, L"?", value, 256, copy.SettingsPath().c_str());
    return value;
  }

  RunValueGuard savedRun{true};  // first made, last gone
  ConfigCopy copy;
  ChildProcess process;
};

}  // namespace ks::test
