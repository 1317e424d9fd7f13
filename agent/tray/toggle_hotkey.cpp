#include "agent/tray/toggle_hotkey.h"

#include <algorithm>
#include <string>
#include <vector>

#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "agent/tray/tray_icon.h"
#include "common/hotkey_text.h"
#include "common/settings.h"
#include "log/log_writer.h"

namespace ks {
namespace {

static_assert(kHotkeyAlt == MOD_ALT && kHotkeyCtrl == MOD_CONTROL && kHotkeyShift == MOD_SHIFT &&
              kHotkeyWin == MOD_WIN);

constexpr int kToggleHotkeyId = 1;

struct HotkeyState {
  std::wstring text;  // of the registered hotkey
  bool registered = false;
  // Texts whose problem has had its balloon in this run.
  std::vector<std::wstring> reported;
  std::wstring pendingBalloon;
};

HotkeyState& State() {
  static HotkeyState state;
  return state;
}

// The string-table text with the hotkey's text in place of its "%s".
std::wstring ProblemText(UINT id, const std::wstring& hotkeyText) {
  std::wstring text = LoadAgentString(id);
  const size_t mark = text.find(L"%s");
  if (mark != std::wstring::npos) text.replace(mark, 2, hotkeyText);
  return text;
}

void ReportOnce(UINT id, const std::wstring& hotkeyText) {
  HotkeyState& state = State();
  if (std::find(state.reported.begin(), state.reported.end(), hotkeyText) != state.reported.end()) return;
  state.reported.push_back(hotkeyText);
  state.pendingBalloon = ProblemText(id, hotkeyText);
}

}  // namespace

void ApplyToggleHotkey(HWND window) {
  HotkeyState& state = State();
  const std::wstring& text = GetSettings().ToggleHotkey;
  if (state.registered && state.text == text) return;
  RemoveToggleHotkey(window);
  if (text.empty()) return;
  const std::optional<Hotkey> hotkey = ParseHotkeyText(text);
  if (!hotkey) {
    LogWriteFormat(kLogHotkeyUnreadable, text.c_str());
    ReportOnce(IDS_HOTKEY_UNREADABLE, text);
  } else if (!RegisterHotKey(window, kToggleHotkeyId, hotkey->modifiers | MOD_NOREPEAT, hotkey->virtualKey)) {
    LogWriteFormat(kLogHotkeyTaken, text.c_str(), static_cast<int>(GetLastError()));
    ReportOnce(IDS_HOTKEY_TAKEN, text);
  } else {
    state.registered = true;
    state.text = text;
    LogWriteFormat(kLogHotkeyRegistered, text.c_str());
  }
}

void RemoveToggleHotkey(HWND window) {
  HotkeyState& state = State();
  if (!state.registered) return;
  UnregisterHotKey(window, kToggleHotkeyId);
  state.registered = false;
  state.text.clear();
}

bool IsToggleHotkey(WPARAM hotkeyId) { return State().registered && hotkeyId == kToggleHotkeyId; }

void ShowPendingHotkeyProblem() {
  HotkeyState& state = State();
  if (state.pendingBalloon.empty()) return;
  // Before the icon is added the modify fails; the add shows it then.
  if (UpdateTrayIcon(TrayOperation::Modify, Balloon::Yes, state.pendingBalloon)) state.pendingBalloon.clear();
}

}  // namespace ks
