// A window with a tray-like popup menu on a thread of its own, driving a
// TrayMenuTooltip as the agent does: the tests on the main thread open the
// menu, move its selection with keys and the mouse, and watch the tooltip.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "agent/tooltips/tray_menu_tooltip.h"
#include "common/unique_handle.h"

namespace ks::test {

// Body of items without a text, as the agent passes it.
constexpr wchar_t kDefaultBody[] = L"Ooops! Tooltip not found for this item...";
// Generous limit for anything the tests wait for.
constexpr DWORD kWaitMs = 10000;

// One WM_MENUSELECT as a window of the host received it.
struct MenuSelection {
  HWND window;
  UINT item;
  UINT flags;
  HMENU menu;
};

struct MenuSetup {
  POINT at = {20, 20};
  // Replaces the text of "Kestrow On Internet" when not empty.
  std::wstring homePageText;
};

// Polls condition until it holds or kWaitMs pass; answers whether it held.
template <typename Condition>
bool WaitFor(Condition condition) {
  const ULONGLONG end = GetTickCount64() + kWaitMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
}

class MenuHost {
 public:
  // The agent-like owner window, a child of it, and an unrelated window, all
  // on the host thread with the tooltip and its thread hook.
  bool Start();
  void Stop();

  TrayMenuTooltip& Tooltip() { return *tooltip_; }
  HWND Owner() const { return owner_; }
  HWND Child() const { return child_; }
  HWND Stranger() const { return stranger_; }

  // Opens the tray menu (with a "Language" sub-menu before "Settings…")
  // tracked by window `from`, and waits until the menu window shows.
  bool OpenMenu(HWND from, const MenuSetup& setup);
  // Closes the menu with Escape and waits until tracking has ended.
  bool CloseMenu();
  bool MenuOpen() const;
  HWND MenuWindow() const { return menuWindow_; }
  HMENU Popup() const { return popup_; }

  // Posts a key to the open menu and waits until the tracking window answers
  // with WM_MENUSELECT.
  bool PressKey(WORD key);
  // Presses `key` until the tracking window reports `item` selected.
  bool SelectItem(UINT item, WORD key = VK_DOWN);
  // Moves the mouse over the item at this position of the popup and waits for
  // the menu to answer.
  bool HoverPosition(int position);

  std::vector<MenuSelection> Selections() const;
  int EnterIdleCount() const;

  // A text for an id instead of the string table's; an empty text stands for
  // a missing string.
  void OverrideText(UINT id, const std::wstring& text);
  void ClearOverrides();
  // The ids whose texts the tooltip asked for, in order.
  std::vector<UINT> TextRequests() const;
  void ClearTextRequests();

  // Called on the host thread.
  void OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunMenu();
  std::wstring LoadText(UINT id);
  void LanguageText(UINT id, std::wstring& title, std::wstring& text);

 private:
  static DWORD WINAPI ThreadMain(void* parameter) noexcept;
  void ThreadBody();
  size_t SelectionCountFrom(HWND window) const;
  bool WaitForSelectionFrom(HWND window, size_t before);

  UniqueKernelHandle thread_;
  UniqueKernelHandle ready_;
  DWORD threadId_ = 0;
  std::unique_ptr<TrayMenuTooltip> tooltip_;
  mutable std::mutex lock_;
  std::vector<MenuSelection> selections_;
  std::vector<std::pair<UINT, std::wstring>> overrides_;
  std::vector<UINT> textRequests_;
  int enterIdles_ = 0;
  HWND owner_ = nullptr;
  HWND child_ = nullptr;
  HWND stranger_ = nullptr;
  HWND tracking_ = nullptr;
  MenuSetup setup_;
  HWND volatile menuWindow_ = nullptr;
  HMENU volatile popup_ = nullptr;
  LONG volatile open_ = 0;
};

MenuHost& Host();

}  // namespace ks::test
