// A tooltip beside the menu item under the pointer. The owner window's
// procedure feeds it WM_MENUSELECT and WM_ENTERIDLE; it shows the item's
// title (with an icon) and a longer body once the user has rested on one item
// for half a second, and hides on separators, sub-menu items and when the
// menu closes. Derived classes supply the texts and may move the tooltip.
#pragma once

#include <windows.h>

#include <string>

namespace ks {

// How long the pointer rests on an item before its tooltip shows.
constexpr DWORD kTooltipDelayMs = 500;

class MenuTooltip {
 public:
  MenuTooltip() noexcept;
  MenuTooltip(const MenuTooltip&) = delete;
  MenuTooltip& operator=(const MenuTooltip&) = delete;

  // The icon beside the title: TTI_INFO for every item.
  virtual int IconForItem(UINT item);
  // Waits until every delay thread has finished with this object.
  virtual ~MenuTooltip();
  // Shows title (cut to 97 characters and "…") with the item's icon.
  virtual void SetTitle(const std::wstring& title, UINT item);
  virtual void Activate(bool on);
  // Moves the point computed beside the item; the base leaves it.
  virtual void AdjustPosition(POINT& point, HMENU menu, UINT item);
  // Whether an item's tooltip skips the delay; never here.
  virtual bool ShowAtOnce(UINT item);
  // Body and, when it should replace the item text, title of an item; both
  // stay empty when there is nothing to say. Runs on a delay thread.
  virtual void TextForItem(std::wstring& text, UINT item, HMENU menu, std::wstring& title) = 0;

  // Creates the tracking tooltip control for owner's menus and the thread
  // hook that lets menus of owner's child windows drive it as well. defaultText
  // is the body of items without a text (null: "No Text associated"). Returns
  // whether the control exists.
  bool CreateTooltip(HWND owner, const wchar_t* defaultText, HINSTANCE instance, DWORD extraStyle,
                     const wchar_t* title);

  // WM_MENUSELECT: the low and high word of wParam, and lParam.
  void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  // WM_ENTERIDLE: wParam and lParam. For a menu, lParam is the window that
  // shows it, which is measured from now on and which the tooltip follows.
  void OnEnterIdle(WPARAM reason, HWND window);

  // Before a menu is tracked: the window to measure items with until the menu
  // loop names the menu's own window.
  void SetMenuWindow(HWND window) noexcept { menuWindow_ = window; }
  // Moves the tooltip beside the item of menu.
  void PlaceTip(HMENU menu, UINT item);
  HMENU PlacedMenu() const noexcept { return placedMenu_; }
  UINT PlacedItem() const noexcept { return placedItem_; }

  HWND TooltipWindow() const noexcept { return tooltipWindow_; }
  HWND MenuWindow() const noexcept { return menuWindow_; }
  HWND Owner() const noexcept { return owner_; }
  // The item the user is on (0: none) and the delay threads still running.
  UINT CurrentItem() const noexcept;
  LONG PendingShows() const noexcept;

 protected:
  // Every destructor that a delay thread could reach through a virtual call
  // waits first, so no thread ever calls into a half-destroyed object.
  void WaitForPendingShows() noexcept;

 private:
  struct DelayRequest;
  static DWORD WINAPI DelayedShow(void* parameter) noexcept;

  void ShowTip(HMENU menu, UINT item);
  void Hide();
  void StartDelayedShow(UINT item, HMENU menu);

  LONG volatile pendingShows_ = 0;
  LONG volatile currentItem_ = 0;
  HMENU placedMenu_ = nullptr;
  UINT placedItem_ = 0;
  HWND menuWindow_ = nullptr;
  HWND tooltipWindow_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HWND owner_ = nullptr;
  wchar_t defaultText_[260] = {};
};

}  // namespace ks
