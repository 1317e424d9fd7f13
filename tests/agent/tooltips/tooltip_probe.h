// Reading a tooltip control from outside: what it shows now (title, body,
// place) and what it has been told since the last reset (titles with their
// icons, activations).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ks::test {

struct TipState {
  bool visible = false;
  RECT rect = {};
  std::wstring title;
  std::wstring text;
};

// The control's state; the tool is the one named by the owner window. Where
// the control cannot report its title, the title last given to it (WatchTip).
TipState ReadTip(HWND tooltip, HWND owner);

struct TipTitleSet {
  WPARAM icon;
  std::wstring title;
};

struct TipActivation {
  bool on;
  // The title the control held when it was told to show.
  std::wstring title;
};

// Watches the messages the control receives; installed once per control.
void WatchTip(HWND tooltip);
void ForgetTipMessages();
std::vector<TipTitleSet> TitlesSet();
std::vector<TipActivation> Activations();

}  // namespace ks::test
