#include "tests/agent/tooltips/tooltip_probe.h"

#include <commctrl.h>

#include <mutex>

namespace ks::test {
namespace {

std::mutex probeLock;
WNDPROC controlProcedure = nullptr;
std::wstring lastTitle;
std::vector<TipTitleSet> titles;
std::vector<TipActivation> activations;

LRESULT CALLBACK WatchingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    const std::lock_guard<std::mutex> guard(probeLock);
    if (message == TTM_SETTITLEW) {
      lastTitle = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
      titles.push_back({wParam, lastTitle});
    } else if (message == TTM_TRACKACTIVATE) {
      activations.push_back({wParam != 0, lastTitle});
    }
  } catch (...) {
    // The record is lost; the control still gets the message.
  }
  return CallWindowProcW(controlProcedure, window, message, wParam, lParam);
}

}  // namespace

TipState ReadTip(HWND tooltip, HWND owner) {
  TipState state;
  state.visible = IsWindowVisible(tooltip) != FALSE;
  GetWindowRect(tooltip, &state.rect);
  wchar_t title[512] = {};
  TTGETTITLE getTitle = {};
  getTitle.dwSize = sizeof getTitle;
  getTitle.cch = 512;
  getTitle.pszTitle = title;
  SendMessageW(tooltip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(&getTitle));
  state.title = title;
  if (state.title.empty()) {
    // Wine (8.0) answers TTM_GETTITLE with an empty title although one is
    // set; the last title the control was given stands in.
    const std::lock_guard<std::mutex> guard(probeLock);
    state.title = lastTitle;
  }
  wchar_t text[1024] = {};
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(owner);
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  state.text = text;
  return state;
}

void WatchTip(HWND tooltip) {
  if (controlProcedure != nullptr) return;
  controlProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(tooltip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchingProcedure)));
}

void ForgetTipMessages() {
  const std::lock_guard<std::mutex> guard(probeLock);
  titles.clear();
  activations.clear();
}

std::vector<TipTitleSet> TitlesSet() {
  const std::lock_guard<std::mutex> guard(probeLock);
  return titles;
}

std::vector<TipActivation> Activations() {
  const std::lock_guard<std::mutex> guard(probeLock);
  return activations;
}

}  // namespace ks::test
